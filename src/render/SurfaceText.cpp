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

void drawText(QPainter& p, QPoint topLeft, std::string_view text, const QFont& font) {
  const QString line = fromRecord(text);
  const QFontMetrics metrics(font);
  p.save();
  p.fillRect(lineBox(metrics, topLeft, line), Qt::white);
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(topLeft + QPoint(0, metrics.ascent()), line);
  p.restore();
}

void drawLines(QPainter& p, int x, const std::array<int, 4>& ys,
               const std::array<std::string, 4>& lines, const QFont& font) {
  const QFontMetrics metrics(font);
  p.save();
  for (std::size_t i = 0; i < lines.size(); ++i)
    p.fillRect(lineBox(metrics, QPoint(x, ys[i]), fromRecord(lines[i])), Qt::white);
  p.setFont(font);
  p.setPen(Qt::black);
  for (std::size_t i = 0; i < lines.size(); ++i)
    p.drawText(QPoint(x, ys[i] + metrics.ascent()), fromRecord(lines[i]));
  p.restore();
}

void drawChordSetHeader(QPainter& p, const TChordDiagram& chord, int row, const NameTables& names) {
  drawText(p, QPoint(SmallGeometry::GridLeft, SmallGeometry::headerY(row)),
           DiagramText::chordSetHeader(chord, names), pageFont());
}

void drawChordSetHeader(QPainter& p, const TChordDiagram& chord, std::string_view chordType,
                        int row, const NameTables& names) {
  drawText(p, QPoint(SmallGeometry::GridLeft, SmallGeometry::headerY(row)),
           DiagramText::chordSetHeader(chord, chordType, names), pageFont());
}

void drawScaleRowHeader(QPainter& p, const TScaleDiagram& scale, int row, const NameTables& names) {
  drawText(p, QPoint(SmallGeometry::GridLeft, SmallGeometry::headerY(row)),
           DiagramText::scaleRowHeader(scale, names), pageFont());
}

void drawPrintCaptions(QPainter& p, const TPrintDiagram& item, int column, int row,
                       const NameTables& names) {
  const int top = SmallGeometry::rowPitch(SmallPage::Print) * row;
  drawLines(p, SmallGeometry::diagramX(column), {top + 1, top + 11, top + 20, top + 29},
            DiagramText::printCaptions(item, names), printFont());
}

void drawDesignGroupLines(QPainter& p, const TChordDiagram& chord, int slot,
                          const NameTables& names) {
  drawLines(p, 76 * slot, {0, 8, 16, 24}, DiagramText::designGroupLines(chord, names), smallFont());
}

void drawPlayPageCaption(QPainter& p, const TChordDiagram& chord, int column, int row,
                         const NameTables& names) {
  drawText(
      p, QPoint(PlayGeometry::slotX(column), PlayGeometry::rowTop(row) + PlayGeometry::CaptionTop),
      DiagramText::playPageCaption(chord, names), smallFont());
}

// The surface calls open a painter on the surface and paint through the
// calls above.

void drawText(QImage& surface, QPoint topLeft, std::string_view text, const QFont& font) {
  QPainter p(&surface);
  drawText(p, topLeft, text, font);
}

void drawLines(QImage& surface, int x, const std::array<int, 4>& ys,
               const std::array<std::string, 4>& lines, const QFont& font) {
  QPainter p(&surface);
  drawLines(p, x, ys, lines, font);
}

void drawChordSetHeader(QImage& surface, const TChordDiagram& chord, int row,
                        const NameTables& names) {
  QPainter p(&surface);
  drawChordSetHeader(p, chord, row, names);
}

void drawChordSetHeader(QImage& surface, const TChordDiagram& chord, std::string_view chordType,
                        int row, const NameTables& names) {
  QPainter p(&surface);
  drawChordSetHeader(p, chord, chordType, row, names);
}

void drawScaleRowHeader(QImage& surface, const TScaleDiagram& scale, int row,
                        const NameTables& names) {
  QPainter p(&surface);
  drawScaleRowHeader(p, scale, row, names);
}

void drawPrintCaptions(QImage& surface, const TPrintDiagram& item, int column, int row,
                       const NameTables& names) {
  QPainter p(&surface);
  drawPrintCaptions(p, item, column, row, names);
}

void drawDesignGroupLines(QImage& surface, const TChordDiagram& chord, int slot,
                          const NameTables& names) {
  QPainter p(&surface);
  drawDesignGroupLines(p, chord, slot, names);
}

void drawPlayPageCaption(QImage& surface, const TChordDiagram& chord, int column, int row,
                         const NameTables& names) {
  QPainter p(&surface);
  drawPlayPageCaption(p, chord, column, row, names);
}

}  // namespace SurfaceText
