#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

#include "pages/KeyStep.h"

// A drawing surface: a persistent picture shown at its exact size. Pages draw
// into image() and call refresh(); presses, moves and releases are reported in
// picture pixels. The picture holds the screen's device pixels (its device
// pixel ratio is the screen's), so a painter on it draws in the same logical
// pixels at any density and lines and text come out sharp. It also carries the pointer shapes used
// while a diagram is being placed (5) or moved (6), and the text a screen reader reads of the
// picture, since the pixels say nothing to one.
class SurfaceView : public QWidget {
  Q_OBJECT

 public:
  SurfaceView(const QString& objectName, QSize size, QWidget* parent = nullptr);

  QImage& image() { return Image; }
  const QImage& image() const { return Image; }
  // Replaces the picture (same logical size expected) and repaints.
  void setImage(const QImage& image);
  // Device pixels per picture pixel: what a picture drawn for this surface
  // is made with.
  qreal pixelRatio() const { return Ratio; }
  // A white picture of the surface's size at its ratio.
  QImage blankImage() const;
  void refresh() { update(); }

  // Shows the picture mirrored left to right (the left-handed fretboard).
  // Its pixels and every position reported stay the picture's own, so a
  // press lands on what is shown under the pointer.
  void setMirrored(bool mirrored);
  bool mirrored() const { return Mirrored; }

  // What assistive technology reads of the picture (its description and
  // value); a change is announced.
  void setSpokenText(const QString& text);
  const QString& spokenText() const { return SpokenText; }

  // Where a step key presses: the page's rule for the cell a key moves its
  // choice to. With one set, the surface can be reached with Tab, and a step
  // key while it has the focus is a left click at that point.
  using KeyStepper = std::function<std::optional<PagePoint>(KeyStep::Key)>;
  void setKeyStepper(KeyStepper stepper);
  // Whether a key pressed now is one of the surface's own step keys.
  bool takesKey(int key) const;

  // 0 = the normal arrow; 5 = placing a sent diagram; 6 = moving a diagram.
  void setPointerShape(int number);
  int pointerShape() const { return PointerShape; }

 signals:
  void pressed(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void moved(QPoint at, Qt::MouseButtons buttons);
  void released(QPoint at, Qt::MouseButton button);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPoint toPicture(QPointF at) const;

  qreal Ratio = 1;
  QImage Image;
  QString SpokenText;
  KeyStepper Stepper;
  int PointerShape = 0;
  bool Mirrored = false;
};
