#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "design/UserChords.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

// "Add User Chord": the user ticks up to six intervals besides the root and
// names the new chord type. The dialog only collects; whoever opened it
// stores the result when it was accepted.
class AddUserChordDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AddUserChordDialog(QWidget* parent = nullptr);

  std::array<QCheckBox*, IntervalBoxes.size()> cbInterval{};
  QLineEdit* editUserFormula = nullptr;
  QLineEdit* editUserName = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* HelpBtn = nullptr;

  static constexpr int HelpContext = 450;
  static constexpr int IntervalsHelpContext = 910;
  // Opens the help at a context; the Help button stays disabled without it.
  void setHelp(std::function<void(int)> showHelp);

  IntervalTicks ticked() const;

  void FormShow();
  void cbInterval1MouseUp(int box);
  void OKBtnClick();
  void HelpBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void enableOK();

  int Count = 0;
  std::function<void(int)> ShowHelp;
};
