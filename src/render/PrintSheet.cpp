#include "render/PrintSheet.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "pages/PrintGeometry.h"

namespace {

QRect toRect(long long left, long long top, long long right, long long bottom) {
  return QRect(QPoint(int(left), int(top)), QPoint(int(right - 1), int(bottom - 1)));
}

}  // namespace

namespace {

// Writes the title and subtitle and says where the picture goes.
PrintedSheet titled(QPainter& painter, const PrintLayout& layout, const QString& title,
                    const QString& subtitle) {
  PrintedSheet sheet;
  if (layout.Picture.width() <= 0 || layout.Picture.height() <= 0) return sheet;
  const QFontMetrics metrics = painter.fontMetrics();
  const int textHeight = metrics.height();
  sheet.Title = toRect(layout.TitleLeft, layout.TitleBottom - textHeight,
                       layout.TitleLeft + metrics.horizontalAdvance(title), layout.TitleBottom);
  painter.setPen(Qt::black);
  painter.drawText(sheet.Title, Qt::AlignLeft | Qt::AlignBottom | Qt::TextDontClip, title);
  if (!subtitle.isEmpty()) {
    sheet.Subtitle = sheet.Title.translated(0, textHeight);
    sheet.Subtitle.setWidth(metrics.horizontalAdvance(subtitle));
    painter.drawText(sheet.Subtitle, Qt::AlignLeft | Qt::AlignBottom | Qt::TextDontClip, subtitle);
  }
  const PrintRect& p = layout.Picture;
  sheet.Picture = toRect(p.Left, p.Top, p.Right, p.Bottom);
  return sheet;
}

}  // namespace

PrintedSheet printSheet(QPainter& painter, int dpiX, int dpiY, const QImage& surface,
                        const QString& title, const QString& subtitle, SheetScaling scaling) {
  const PrintLayout layout = printLayout(dpiX, dpiY, surface.width(), surface.height());
  const PrintedSheet sheet = titled(painter, layout, title, subtitle);
  if (sheet.Picture.isEmpty()) return sheet;
  painter.setRenderHint(QPainter::SmoothPixmapTransform, scaling == SheetScaling::Preview);
  painter.drawImage(sheet.Picture, surface.convertToFormat(QImage::Format_RGB32));
  return sheet;
}

PrintedSheet printSheet(QPainter& painter, int dpiX, int dpiY, const SheetArt& art,
                        const QString& title, const QString& subtitle) {
  const PrintLayout layout = printLayout(dpiX, dpiY, art.Size.width(), art.Size.height());
  const PrintedSheet sheet = titled(painter, layout, title, subtitle);
  if (sheet.Picture.isEmpty() || !art.Paint) return sheet;
  const PrintRect& r = layout.Picture;
  painter.save();
  painter.translate(double(r.Left), double(r.Top));
  painter.scale(double(r.Right - r.Left) / art.Size.width(),
                double(r.Bottom - r.Top) / art.Size.height());
  painter.setClipRect(QRect(QPoint(0, 0), art.Size));
  art.Paint(painter);
  painter.restore();
  return sheet;
}

QImage withoutSelectionFrame(const QImage& surface, const SelectionFrame& frame) {
  QImage copy = surface.copy();
  WipeSelectionFrame(copy, frame);
  return copy;
}

PdfSheet pdfSheet(const SheetArt& art, const QString& title, const QString& subtitle) {
  PdfSheet sheet;
  QBuffer buffer(&sheet.Bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    const bool usPaper = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    writer.setPageSize(QPageSize(usPaper ? QPageSize::Letter : QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    // The sheet's places are measured from the paper's edges, not the margins.
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(title);
    QPainter painter;
    if (!painter.begin(&writer)) return {};
    sheet.Drawn =
        printSheet(painter, writer.logicalDpiX(), writer.logicalDpiY(), art, title, subtitle);
    if (!painter.end()) return {};
  }
  return sheet;
}
