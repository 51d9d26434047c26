#include "ui/SurfaceView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>

#include "render/BitmapDrawing.h"
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

std::optional<KeyStep::Key> stepKey(int key) {
  switch (key) {
    case Qt::Key_Left:
      return KeyStep::Key::Left;
    case Qt::Key_Right:
      return KeyStep::Key::Right;
    case Qt::Key_Up:
      return KeyStep::Key::Up;
    case Qt::Key_Down:
      return KeyStep::Key::Down;
    case Qt::Key_Home:
      return KeyStep::Key::Home;
    case Qt::Key_End:
      return KeyStep::Key::End;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return KeyStep::Key::Enter;
    default:
      return std::nullopt;
  }
}

// The densest screen's ratio: a window dragged to another screen keeps its
// sharp pictures, scaled down smoothly where the screen has fewer pixels.
qreal screenRatio() {
  return qApp ? qApp->devicePixelRatio() : 1.0;
}

QAccessibleInterface* surfaceAccessible(const QString&, QObject* object) {
  if (auto* view = qobject_cast<SurfaceView*>(object)) return new SurfaceAccessible(view);
  return nullptr;
}

}  // namespace

SurfaceView::SurfaceView(const QString& objectName, QSize size, QWidget* parent)
    : QWidget(parent), Ratio(screenRatio()) {
  static const bool factoryInstalled = (QAccessible::installFactory(&surfaceAccessible), true);
  (void)factoryInstalled;
  setObjectName(objectName);
  setFixedSize(size);
  Image = blankImage();
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage SurfaceView::blankImage() const {
  return BitmapDrawing::blankSurface(size(), Ratio);
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

void SurfaceView::setKeyStepper(KeyStepper stepper) {
  Stepper = std::move(stepper);
  // Clicks keep the focus where it was, so the window's keys stay as they
  // were for the mouse; Tab reaches the picture.
  setFocusPolicy(Stepper ? Qt::TabFocus : Qt::NoFocus);
}

bool SurfaceView::takesKey(int key) const {
  return Stepper && stepKey(key).has_value();
}

void SurfaceView::keyPressEvent(QKeyEvent* event) {
  const std::optional<KeyStep::Key> key = stepKey(event->key());
  if (!Stepper || !key || event->modifiers() != Qt::NoModifier) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  const std::optional<PagePoint> at = Stepper(*key);
  if (!at) return;
  const QPoint p(at->X, at->Y);
  emit pressed(p, Qt::LeftButton, Qt::NoModifier);
  emit released(p, Qt::LeftButton);
  // The scroll area the picture lies in follows the choice.
  if (QWidget* viewport = parentWidget())
    if (auto* scroll = qobject_cast<QScrollArea*>(viewport->parentWidget()))
      scroll->ensureVisible(Mirrored ? width() - 1 - p.x() : p.x(), p.y(), 80, 90);
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
  return Mirrored ? QPoint(width() - 1 - p.x(), p.y()) : p;
}

void SurfaceView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.setClipRect(event->rect());
  // A picture of another density (a screen of fewer pixels) is scaled to
  // the surface smoothly; one of the screen's own is copied pixel for pixel.
  p.setRenderHint(QPainter::SmoothPixmapTransform, Image.devicePixelRatio() != devicePixelRatioF());
  p.drawImage(QRectF(QPointF(0, 0), QSizeF(size())),
              Mirrored ? Image.mirrored(true, false) : Image);
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
