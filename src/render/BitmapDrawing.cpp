#include "render/BitmapDrawing.h"

#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>

#include "render/DrawingFont.h"

namespace BitmapDrawing {

QImage blankImage(int w, int h, QColor fill) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

QImage blankSurface(QSize logical, qreal ratio) {
  QImage image(logical * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  return image;
}

QImage copyLogical(const QImage& surface, const QRect& logical) {
  const qreal r = surface.devicePixelRatio();
  const QRect device(
      QPoint(qRound(logical.left() * r), qRound(logical.top() * r)),
      QPoint(qRound((logical.right() + 1) * r) - 1, qRound((logical.bottom() + 1) * r) - 1));
  QImage part = surface.copy(device);
  part.setDevicePixelRatio(r);
  return part;
}

bool pixelExact(const QPainter& p) {
  const QTransform t = p.deviceTransform();
  return t.type() <= QTransform::TxTranslate && t.dx() == qRound(t.dx()) &&
         t.dy() == qRound(t.dy());
}

void fillCrisp(QPainter& p, const QRect& logical, const QColor& colour) {
  const QTransform t = p.deviceTransform();
  if (pixelExact(p) || t.type() > QTransform::TxScale || logical.isEmpty()) {
    p.fillRect(logical, colour);
    return;
  }
  const QRectF device = t.mapRect(QRectF(logical));
  const QRectF snapped(std::round(device.left()), std::round(device.top()),
                       std::max<qreal>(1, std::round(device.width())),
                       std::max<qreal>(1, std::round(device.height())));
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(t.inverted().mapRect(snapped), colour);
  p.restore();
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
