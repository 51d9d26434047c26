#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

class QLineEdit;
class QScrollBar;
class QPushButton;

// "Change PlayPage Tempo": edits the play page's tempo, kept in microseconds
// per quarter note and shown in beats per minute (10 to 250).
class TempoDialog : public QDialog {
  Q_OBJECT

 public:
  TempoDialog(std::int32_t& playPageTempo, bool& playPageChanged, QWidget* parent = nullptr);

  QLineEdit* meditTempo = nullptr;
  QScrollBar* scrollTempo = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* HelpBtn = nullptr;

  // Opens the help at a context; the Help button stays disabled without it.
  void setHelp(std::function<void(int)> showHelp);
  static constexpr int HelpContext = 440;

  void FormShow();
  void OKBtnClick();
  void scrollTempoScroll(int position);
  void HelpBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::int32_t& PlayPageTempo;
  bool& PlayPageChanged;
  std::function<void(int)> ShowHelp;
};
