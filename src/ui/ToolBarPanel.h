#pragma once

#include <QFrame>

#include "play/PlayerSettings.h"

class FretboardPanel;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolButton;

// The tool bar panel: the page commands, the transport toggles of the play
// page, the chosen key and chord type, and the strum speed. It holds its
// controls to itself: others ask it for the state of a toggle or the choice
// shown, set them through intent methods, and hear its clicks as signals.
class ToolBarPanel : public QFrame {
  Q_OBJECT

 public:
  // The toggle buttons, by what they switch.
  enum class Toggle { BassNote, Flip, Time, Play, Pause, Count, Click, Loop, Step, ShowArp };

  explicit ToolBarPanel(QWidget* parent = nullptr);

  bool isOn(Toggle toggle) const;
  // Sets a toggle without it counting as a click.
  void setOn(Toggle toggle, bool on);
  // Puts a toggle back where it was before a click that was refused.
  void undoClick(Toggle toggle) { setOn(toggle, !isOn(toggle)); }
  // Count Off and Click as the players read them; Loop and Bass Note are
  // the play page's, in the state.
  PlayOptions playOptions() const;
  void setPlayButtons(bool playDown, bool pauseDown);

  // The key and the chord type or scale chosen in the menus.
  void showChoice(const QString& name, bool isScale);
  void showRoot(const QString& root);
  QString root() const;
  QString choiceName() const;
  bool scaleChosen() const;

  // Shows a strum speed without it counting as a change.
  void setStrumSpeed(int position);
  void focusStrumSpeed();

 signals:
  void playClicked();
  void pauseClicked();
  void stopClicked();
  void stepClicked();
  void loopClicked();
  void timeClicked();
  void bassNoteClicked();
  void flipClicked();
  // Click is read again by the page player whenever it changes.
  void clickToggled();
  void showChordsClicked();
  void printPageClicked();
  void openClicked();
  void saveClicked();
  void eraseClicked();
  void rootEdited();
  void showArpClicked();
  // The strum speed bar moved by the user.
  void strumSpeedChanged(int position);

 private:
  // The fretboard panel still reads Show Arpeggio and Play directly; it is
  // moving to asking through methods.

  QToolButton* button(Toggle toggle) const;

  // Toggles.
  QToolButton* sbtnBassNote;
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
