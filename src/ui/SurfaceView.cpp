#include "ui/SurfaceView.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/Cursors.h"

SurfaceView::SurfaceView(const QString& objectName, QSize size, QWidget* parent)
    : QWidget(parent), Image(size, QImage::Format_RGB32) {
  setObjectName(objectName);
  Image.fill(Qt::white);
  setFixedSize(size);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceView::setImage(const QImage& image) {
  Image = image.convertToFormat(QImage::Format_RGB32);
  update();
}

void SurfaceView::setPointerShape(int number) {
  PointerShape = number;
  if (number == 0)
    unsetCursor();
  else
    setCursor(programCursor(number));
}

void SurfaceView::setMirrored(bool mirrored) {
  Mirrored = mirrored;
  update();
}

QPoint SurfaceView::toPicture(QPointF at) const {
  const QPoint p = at.toPoint();
  return Mirrored ? QPoint(Image.width() - 1 - p.x(), p.y()) : p;
}

void SurfaceView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  if (Mirrored)
    p.drawImage(event->rect(), Image.mirrored(true, false), event->rect());
  else
    p.drawImage(event->rect(), Image, event->rect());
}

void SurfaceView::mousePressEvent(QMouseEvent* event) {
  emit pressed(toPicture(event->position()), event->button(), event->modifiers());
}

void SurfaceView::mouseMoveEvent(QMouseEvent* event) {
  emit moved(toPicture(event->position()), event->buttons());
}

void SurfaceView::mouseReleaseEvent(QMouseEvent* event) {
  emit released(toPicture(event->position()), event->button());
}
