#include "render/SurfaceText.h"

#include <QFontMetrics>
#include <QPainter>

#include "music/Windows1252.h"
#include "pages/DiagramText.h"
#include "play/PlayPageGeometry.h"
#include "play/SmallPageGeometry.h"
#include "render/DrawingFont.h"

namespace SurfaceText {

QFont pageFont() {
  return drawingFontPx(QStringLiteral("Ariel"), pointsToPixels(8));
}
QFont printFont() {
  return drawingFontPx(QStringLiteral("Ariel"), pointsToPixels(7));
}
QFont smallFont() {
  return drawingFontPx(QStringLiteral("Ariel"), pointsToPixels(6));
}

QString fromRecord(std::string_view text) {
  return QString::fromStdU16String(Windows1252::decode(text));
}

namespace {

QRect lineBox(const QFontMetrics& metrics, QPoint topLeft, const QString& text) {
  return QRect(topLeft, QSize(metrics.horizontalAdvance(text), metrics.height()));
}

}  // namespace

void drawText(QImage& surface, QPoint topLeft, std::string_view text, const QFont& font) {
  const QString line = fromRecord(text);
  const QFontMetrics metrics(font);
  QPainter p(&surface);
  p.fillRect(lineBox(metrics, topLeft, line), Qt::white);
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(topLeft + QPoint(0, metrics.ascent()), line);
}

void drawLines(QImage& surface, int x, const std::array<int, 4>& ys,
               const std::array<std::string, 4>& lines, const QFont& font) {
  const QFontMetrics metrics(font);
  QPainter p(&surface);
  for (std::size_t i = 0; i < lines.size(); ++i)
    p.fillRect(lineBox(metrics, QPoint(x, ys[i]), fromRecord(lines[i])), Qt::white);
  p.setFont(font);
  p.setPen(Qt::black);
  for (std::size_t i = 0; i < lines.size(); ++i)
    p.drawText(QPoint(x, ys[i] + metrics.ascent()), fromRecord(lines[i]));
}

void drawChordSetHeader(QImage& surface, const TChordDiagram& chord, int row,
                        const NameTables& names) {
  drawText(surface, QPoint(SmallGeometry::GridLeft, SmallGeometry::headerY(row)),
           DiagramText::chordSetHeader(chord, names), pageFont());
}

void drawChordSetHeader(QImage& surface, const TChordDiagram& chord, std::string_view chordType,
                        int row, const NameTables& names) {
  drawText(surface, QPoint(SmallGeometry::GridLeft, SmallGeometry::headerY(row)),
           DiagramText::chordSetHeader(chord, chordType, names), pageFont());
}

void drawScaleRowHeader(QImage& surface, const TScaleDiagram& scale, int row,
                        const NameTables& names) {
  drawText(surface, QPoint(SmallGeometry::GridLeft, SmallGeometry::headerY(row)),
           DiagramText::scaleRowHeader(scale, names), pageFont());
}

void drawPrintCaptions(QImage& surface, const TPrintDiagram& item, int column, int row,
                       const NameTables& names) {
  const int top = SmallGeometry::rowPitch(SmallPage::Print) * row;
  drawLines(surface, SmallGeometry::diagramX(column), {top + 1, top + 11, top + 20, top + 29},
            DiagramText::printCaptions(item, names), printFont());
}

void drawDesignGroupLines(QImage& surface, const TChordDiagram& chord, int slot,
                          const NameTables& names) {
  drawLines(surface, 76 * slot, {0, 8, 16, 24}, DiagramText::designGroupLines(chord, names),
            smallFont());
}

void drawPlayPageCaption(QImage& surface, const TChordDiagram& chord, int column, int row,
                         const NameTables& names) {
  drawText(
      surface,
      QPoint(PlayGeometry::slotX(column), PlayGeometry::rowTop(row) + PlayGeometry::CaptionTop),
      DiagramText::playPageCaption(chord, names), smallFont());
}

}  // namespace SurfaceText
