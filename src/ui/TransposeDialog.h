#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QRadioButton;
class QSpinBox;

// Transpose: a step of -11 to +11 semitones, shown as the key it leads to
// when the page has one to start from, and whether the result is named with
// flats or sharps.
class TransposeDialog : public QDialog {
  Q_OBJECT

 public:
  // `fromKey` is the root of the page's first chord, when it has one.
  TransposeDialog(std::optional<int> fromKey, bool sharps, QWidget* parent = nullptr);

  int steps() const;
  bool sharps() const;

  QSpinBox* spinSteps;
  QRadioButton* rbFlats;
  QRadioButton* rbSharps;
  QLabel* lblKey;

 private:
  void showKey();
  std::optional<int> FromKey;
};
