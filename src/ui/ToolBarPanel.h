#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolButton;

// The tool bar panel: the page commands, the transport toggles of the play
// page, the chosen key and chord type, and the strum speed. It only holds the
// controls; the main window routes their signals to the pages that own them.
class ToolBarPanel : public QFrame {
  Q_OBJECT

 public:
  explicit ToolBarPanel(QWidget* parent = nullptr);

  // Toggles.
  QToolButton* sbtnBassNote;
  QToolButton* sbtnLeftHanded;
  QToolButton* sbtnFlip;
  QToolButton* sbtnTime;
  QToolButton* sbtnPlay;
  QToolButton* sbtnPause;
  QToolButton* sbtnCount;
  QToolButton* sbtnClick;
  QToolButton* sbtnLoop;
  QToolButton* sbtnStep;
  QToolButton* sbShowArp;
  // Push buttons.
  QToolButton* sbtnPrintPage;
  QToolButton* sbtnErase;
  QToolButton* sbtnStop;
  QToolButton* sbtnOpen;
  QToolButton* sbtnSave;
  QPushButton* btnShowChords;
  // Read-only fields with their captions.
  QLineEdit* editChordRoot;
  QLineEdit* editChordName;
  QLabel* Label4;
  QScrollBar* sbStrumSpeed;
};
