#include "ui/SurfaceView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

#include "ui/Cursors.h"

namespace {

// A drawn surface as assistive technology sees it: a focusable picture whose
// description and value are the text the page gave it.
class SurfaceAccessible : public QAccessibleWidget {
 public:
  explicit SurfaceAccessible(SurfaceView* view) : QAccessibleWidget(view, QAccessible::Graphic) {}

  QString text(QAccessible::Text t) const override {
    const auto* view = static_cast<const SurfaceView*>(widget());
    if (t == QAccessible::Value) return view->spokenText();
    if (t == QAccessible::Description && !view->spokenText().isEmpty()) return view->spokenText();
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* surfaceAccessible(const QString&, QObject* object) {
  if (auto* view = qobject_cast<SurfaceView*>(object)) return new SurfaceAccessible(view);
  return nullptr;
}

}  // namespace

SurfaceView::SurfaceView(const QString& objectName, QSize size, QWidget* parent)
    : QWidget(parent), Image(size, QImage::Format_RGB32) {
  static const bool factoryInstalled = (QAccessible::installFactory(&surfaceAccessible), true);
  (void)factoryInstalled;
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

void SurfaceView::setSpokenText(const QString& text) {
  if (text == SpokenText) return;
  SpokenText = text;
  QAccessibleEvent description(this, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&description);
  QAccessibleValueChangeEvent value(this, text);
  QAccessible::updateAccessibility(&value);
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
