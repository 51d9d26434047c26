#pragma once

#include <QWidget>

class QToolButton;

// A pair of small arrow buttons that step a position between a minimum and a
// maximum, optionally wrapping around. The value is shown by a field of its
// own beside it. stepped() follows each step (the "click"); released() comes
// when the mouse is let go over the control, where the new value is committed.
class UpDown : public QWidget {
  Q_OBJECT

 public:
  UpDown(const QString& objectName, int minimum, int maximum, int position, bool wrap,
         QWidget* parent = nullptr);

  int position() const { return Position; }
  void setPosition(int position);
  int minimum() const { return Minimum; }
  int maximum() const { return Maximum; }

  // Steps as one press of an arrow would (+1 up, -1 down).
  void step(int delta);

 signals:
  void stepped();
  void released();

 private:
  QToolButton* Up;
  QToolButton* Down;
  int Minimum, Maximum, Position;
  bool Wrap;
};
