#include "render/CursorBitmaps.h"

#include <QPainter>
#include <QPixmap>

#include "render/BitmapDrawing.h"

namespace Bitmaps {

using namespace BitmapDrawing;

QImage cursorImage(int number, qreal ratio) {
  if (number != CursorFret && number != CursorMove) return {};
  if (!(ratio > 0 && ratio <= 8)) ratio = 1;
  QImage image(QSize(32, 32) * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  QPainter p(&image);
  // The arrow, black with a white rim, tip at the hot spot (0, 0).
  const QPoint arrow[] = {{0, 0}, {0, 15}, {4, 11}, {7, 18}, {9, 17}, {6, 10}, {11, 10}};
  p.setPen(White);
  p.setBrush(Black);
  if (pixelExact(p)) {
    p.drawPolygon(arrow, 7);
  } else {
    // On a dense screen the slanted edges are drawn smooth. A stepped rim
    // covers the pixels right of and below its corners; the smooth one is
    // moved half a pixel to lie where that one lies.
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(0.5, 0.5);
    p.drawPolygon(arrow, 7);
    p.restore();
  }
  if (number == CursorFret) {
    // A little chord box: a diagram is in hand. Filled rectangles only, so
    // every line falls on whole pixels.
    const int left = 14, top = 12;
    p.fillRect(left, top, 14, 18, Black);
    p.fillRect(left + 1, top + 1, 12, 16, White);
    for (int x = left + 2; x <= left + 11; x += 3) p.fillRect(x, top + 2, 1, 14, Black);
    for (int y = top + 3; y <= top + 15; y += 4) p.fillRect(left + 2, y, 10, 1, Black);
    p.fillRect(left + 2, top + 2, 10, 1, Black);  // the nut, doubled
    for (const QPoint dot :
         {QPoint(left + 5, top + 5), QPoint(left + 11, top + 9), QPoint(left + 8, top + 9)})
      p.fillRect(dot.x() - 1, dot.y() - 1, 3, 3, Black);
  } else {
    // Four arrows: the diagram is being moved.
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c(21.5, 21.5);
    p.setPen(QPen(White, 4.0));
    p.drawLine(QPointF(c.x() - 8, c.y()), QPointF(c.x() + 8, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - 8), QPointF(c.x(), c.y() + 8));
    p.setPen(QPen(Black, 1.6));
    p.drawLine(QPointF(c.x() - 8, c.y()), QPointF(c.x() + 8, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - 8), QPointF(c.x(), c.y() + 8));
    p.setPen(QPen(White, 1.0));
    p.setBrush(Black);
    for (int k = 0; k < 4; ++k) {
      p.save();
      p.translate(c);
      p.rotate(90.0 * k);
      const QPointF head[] = {{10.0, 0.0}, {5.5, -4.0}, {5.5, 4.0}};
      p.drawPolygon(head, 3);
      p.restore();
    }
  }
  return image;
}

QCursor cursor(int number, qreal ratio) {
  const QImage image = cursorImage(number, ratio);
  if (image.isNull()) return QCursor(Qt::ArrowCursor);
  QPixmap pixmap = QPixmap::fromImage(image);
  pixmap.setDevicePixelRatio(image.devicePixelRatio());
  // The hot spot is the arrow's tip, in logical pixels.
  return QCursor(pixmap, 0, 0);
}

}  // namespace Bitmaps
