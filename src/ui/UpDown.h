#pragma once

#include <QWidget>

class QToolButton;

// A pair of small arrow buttons that step a position between a minimum and a
// maximum, optionally wrapping around. The value is shown by a field of its
// own beside it. Each step, by a click or by the arrow's auto-repeat, emits
// stepped() (show the new position) and then committed() (act on it), so
// what is acted on is always the position shown. The arrows' own released
// signal is no use for this: Qt emits it before clicked, one step early.
class UpDown : public QWidget {
  Q_OBJECT

 public:
  UpDown(const QString& objectName, int minimum, int maximum, int position, bool wrap,
         QWidget* parent = nullptr);

  int position() const { return Position; }
  void setPosition(int position);
  int minimum() const { return Minimum; }
  int maximum() const { return Maximum; }

  // The names a screen reader gives the pair and its arrows ("Root" makes
  // "Root up" and "Root down").
  void nameFor(const QString& what);

  // Steps as one press of an arrow would (+1 up, -1 down).
  void step(int delta);

 signals:
  void stepped();
  void committed();

 private:
  QToolButton* Up;
  QToolButton* Down;
  int Minimum, Maximum, Position;
  bool Wrap;
};
