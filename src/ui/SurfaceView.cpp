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

void SurfaceView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.drawImage(event->rect(), Image, event->rect());
}

void SurfaceView::mousePressEvent(QMouseEvent* event) {
  emit pressed(event->position().toPoint(), event->button(), event->modifiers());
}

void SurfaceView::mouseMoveEvent(QMouseEvent* event) {
  emit moved(event->position().toPoint(), event->buttons());
}

void SurfaceView::mouseReleaseEvent(QMouseEvent* event) {
  emit released(event->position().toPoint(), event->button());
}
