#pragma once

#include <QObject>
#include <functional>
#include <string_view>

#include "play/PlayTab.h"
#include "ui/PageViews.h"

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

// The tabs that draw the five pages.
struct PageTabs {
  ChordsTab& Chords;
  ChordDesignTab& Design;
  DesignGroupController& Group;
  PlayPageTab& PlayPage;
  PrintPageTab& Print;
  ScalesTab& Scales;
};

// Carries out what the five pages do together, as the Workbench decides it:
// a change of tab, sending a diagram from one page to another, erasing the
// page of the active tab with its questions, Undo and Redo; and draws what
// each gives back on the tabs, the fretboard and the caption.
class PageCommands : public QObject, public PageViews {
  Q_OBJECT

 public:
  struct Parts {
    Workbench& Bench;
    const BusyGuard& Guard;
    Prompter& Ask;
    QWidget& Window;
    FretboardPanel& Fretboard;
    PageTabs Tabs;
    // The scrolling area of each tab, by PlayTab.
    QScrollArea* const* Scrolls;
    // Makes a tab active, as a command does.
    std::function<void(PlayTab)> ShowTab;
  };

  explicit PageCommands(Parts parts, QObject* parent = nullptr);

  // After `tab` became active: by the user's choice, which shows the tab's
  // chord or scale on the fretboard, or by a command.
  void PageControl1Change(PlayTab tab, bool byUser);

  // The send-to commands of the pop-up menus; each takes the diagram under
  // the last press on the active tab.
  void pmenu1SendtoPrintClick() { sendTo(PlayTab::Print); }
  void pmenu1SendtoPlayClick() { sendTo(PlayTab::PlayPage); }
  void pmenu1SendtoDesignClick() { sendTo(PlayTab::ChordDesign); }
  void pmenu3SendtoScaleClick() { sendTo(PlayTab::Scales); }

  // Erase Page and File > New: the active tab's page, after asking when
  // unsaved work would be lost.
  void sbtnEraseClick() { eraseActivePage("Erase Page"); }
  void mnuNewClick() { eraseActivePage("New Page"); }
  // Empties the page of `tab` without asking and without a history step;
  // the caller records it and marks the page saved.
  void erasePage(PlayTab tab);

  // Edit > Undo and Redo on the active tab's page.
  void undoClick();
  void redoClick();
  // Smooth Fingerings... (Edit menu and the PlayPage pop-up): the dialog,
  // then the PlayPage re-fingered as one edit.
  void smoothClick();
  // Transpose... (Edit menu): the dialog, then the active tab's page (the
  // PlayPage, the Print page or the design group) moved as one edit.
  void transposeClick();

 signals:
  // The naming of notes the Transpose dialog chose.
  void namingChosen(bool sharps);

 public:
  void apply(const BenchUpdate& u) override;
  void pageLoaded(PageKind kind, const PageContents& page,
                  const std::optional<TRepeatSet>& companion, const std::string& path) override;
  void pageSaved(PageKind kind, const std::string& path) override;
  void selectPressed(PlayTab tab) override;

 private:
  void sendTo(PlayTab to);
  void eraseActivePage(std::string_view label);
  // "Strumbo!   " and the file of the tab's page.
  void showPageCaption(PlayTab tab);
  void showTabContents(PlayTab tab);
  void scrollToTop(PlayTab tab);
  void showErased(PlayTab tab, const BenchUpdate& u);
  void showRestored(PlayTab tab, const BenchUpdate& u);
  void showSent(PlayTab tab, const BenchUpdate& u);

  Parts P;
  PageTabs& T = P.Tabs;
};
