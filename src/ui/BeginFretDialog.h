#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// Asks for the first fret (1 to 17) of one position of a scale. An empty
// entry is accepted and means "leave it as it was".
class BeginFretDialog : public QDialog {
  Q_OBJECT

 public:
  explicit BeginFretDialog(QWidget* parent = nullptr);

  void setFret(int fret);
  // The number entered, or -1 when the entry is empty.
  int fret() const;

  // The OK button: closes only on an empty entry or a number 1 to 17.
  void OKBtnClick();

  QLabel* Label1;
  QLineEdit* meditBeginFret;

 protected:
  void showEvent(QShowEvent* event) override;
};
