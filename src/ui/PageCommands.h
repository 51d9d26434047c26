#pragma once

#include <QObject>
#include <functional>
#include <string_view>

#include "music/Records.h"
#include "play/PlayTab.h"

struct AppState;
class Workbench;
class BusyGuard;
class ChordDesignTab;
class ChordsTab;
class DesignGroupController;
class FretboardPanel;
class PlayPageTab;
class PrintPageTab;
class Prompter;
class QScrollArea;
class QWidget;
class ScalesTab;

// What the five pages do together: a change of tab (pointers back to
// normal, the tuning controls, the caption and the chord or scale of the new
// tab on the fretboard), sending a diagram from one page to another, and
// erasing the page of the active tab with its questions.
class PageCommands : public QObject {
  Q_OBJECT

 public:
  struct Parts {
    Workbench& Bench;
    AppState& State;
    const BusyGuard& Guard;
    Prompter& Ask;
    QWidget& Window;
    FretboardPanel& Fretboard;
    ChordsTab& Chords;
    ChordDesignTab& Design;
    DesignGroupController& Group;
    PlayPageTab& PlayPage;
    PrintPageTab& Print;
    ScalesTab& Scales;
    // The scrolling area of each tab, by PlayTab.
    QScrollArea* const* Scrolls;
    std::function<PlayTab()> ActiveTab;
    // Makes a tab active, as a command does.
    std::function<void(PlayTab)> ShowTab;
  };

  explicit PageCommands(Parts parts, QObject* parent = nullptr);

  // After another tab became active: by the user's choice, which shows the
  // tab's chord or scale on the fretboard, or by a command.
  void PageControl1Change(bool byUser);

  // The send-to commands of the pop-up menus; each takes the diagram under
  // the last press on the active tab.
  void pmenu1SendtoPrintClick();
  void pmenu1SendtoPlayClick();
  void pmenu1SendtoDesignClick();
  void pmenu3SendtoScaleClick();

  // Erase Page and File > New: the active tab's page, after asking when
  // unsaved work would be lost.
  void sbtnEraseClick();
  void mnuNewClick();
  // Empties the page of `tab` without asking and without a history step;
  // the caller records it and marks the page saved.
  void erasePage(PlayTab tab);

  // Edit > Undo and Redo on the active tab's page: a move in progress ends
  // first, then the page is put back and drawn anew.
  void undoClick();
  void redoClick();

 private:
  // "Strumbo!   " and the file of the tab's page.
  void showPageCaption(PlayTab tab);
  // The chord under the last press on `tab`'s page (empty when none).
  TChordDiagram pressedChord(PlayTab tab) const;
  // Makes `tab` active and shows its chord or scale, as the user's change does.
  void switchTo(PlayTab tab);
  void showTabContents(PlayTab tab);
  void scrollToTop(PlayTab tab);
  // Erase Page and New: one history step named `label`.
  void eraseActivePage(std::string_view label);
  void stepHistory(bool forward);
  // Draws `tab`'s page anew from the state after its history put it back.
  void pageRestored(PlayTab tab);

  Parts P;
};
