#include "render/BitmapDrawing.h"

#include <QPainterPath>

#include "render/DrawingFont.h"

namespace BitmapDrawing {

QImage blankImage(int w, int h, QColor fill) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

QImage transparentImage(int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void fillCentredText(QPainter& p, QPointF centre, const QString& text, const QFont& font,
                     QColor colour) {
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF box = path.boundingRect();
  path.translate(centre - box.center());
  p.fillPath(path, colour);
}

QFont boldFont(int pixelSize) {
  QFont font = drawingFontPx(QStringLiteral("Ariel"), pixelSize);
  font.setBold(true);
  return font;
}

}  // namespace BitmapDrawing
