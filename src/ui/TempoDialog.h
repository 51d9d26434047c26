#pragma once

#include <QDialog>
#include <cstdint>

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

  void FormShow();
  void OKBtnClick();
  void scrollTempoScroll(int position);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::int32_t& PlayPageTempo;
  bool& PlayPageChanged;
};
