#pragma once

#include <QDialog>

#include "play/PlayPageModel.h"

class QCheckBox;
class QLabel;
class QLineEdit;

// The repeat markers of one bar: a return mark at its start, a repeat sign
// with a count at its end, and whether loop play goes back from its end.
class RepeatDialog : public QDialog {
  Q_OBJECT

 public:
  explicit RepeatDialog(QWidget* parent = nullptr);

  // Shows bar `bar` (0-based) of the choice given; remembers whether Loop was
  // ticked on opening.
  void load(int bar, const RepeatChoice& choice);
  RepeatChoice choice() const;
  bool loopWasOn() const { return LoopWasOn; }
  int bar() const { return Bar; }

  // OK: a count that is not a whole number is refused with a message and the
  // dialog stays open.
  void OKBtnClick();
  void editRepeatClick();
  void cbRepeatClick();

  QLabel* lblNum;
  QCheckBox* cbReturn;
  QCheckBox* cbRepeat;
  QLineEdit* editRepeat;
  QCheckBox* cbLoop;
  QLabel* lblError;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int Bar = 0;
  bool LoopWasOn = false;
  int Count = 0;
};
