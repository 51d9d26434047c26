#include "ui/PageCommands.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

#include "music/DiagramConvert.h"
#include "state/AppState.h"
#include "state/Workbench.h"
#include "ui/BusyGuard.h"
#include "ui/ChordDesignTab.h"
#include "ui/ChordsTab.h"
#include "ui/DesignGroupController.h"
#include "ui/FretboardPanel.h"
#include "ui/PlayPageTab.h"
#include "ui/PrintPageTab.h"
#include "ui/Prompter.h"
#include "ui/ScalesTab.h"

PageCommands::PageCommands(Parts parts, QObject* parent) : QObject(parent), P(parts) {}

void PageCommands::showPageCaption(PlayTab tab) {
  P.Window.setWindowTitle(QStringLiteral("Strumbo!   ") +
                          QString::fromStdString(P.State.lastPageFile(tab)));
}

void PageCommands::scrollToTop(PlayTab tab) {
  if (QScrollArea* scroll = P.Scrolls[static_cast<int>(tab)])
    scroll->verticalScrollBar()->setValue(0);
}

void PageCommands::PageControl1Change(bool byUser) {
  // A diagram waiting to be placed stays in its buffer; a diagram being
  // moved goes back where it came from.
  P.Group.cancelPointers();
  P.PlayPage.cancelPointers();
  P.Print.cancelPointers();
  P.Scales.setPlacing(false);
  P.Fretboard.resetIntervalColours();
  const PlayTab tab = P.ActiveTab();
  P.Fretboard.setTuningEnabled(tab == PlayTab::ChordDesign || tab == PlayTab::Scales);
  showPageCaption(tab);
  // A command that switches tabs shows what it has in hand itself (Show
  // Scale keeps the tuning name typed for the new scale).
  if (byUser) showTabContents(tab);
}

void PageCommands::switchTo(PlayTab tab) {
  P.ShowTab(tab);
  showTabContents(tab);
}

void PageCommands::showTabContents(PlayTab tab) {
  AppState& st = P.State;
  switch (tab) {
    case PlayTab::Chords:
      P.Fretboard.ShowDiagram(st.SelectedChord);
      break;
    case PlayTab::ChordDesign:
      // With Show Intervals down the chord type is laid over the fingering
      // again, in place of its arpeggio.
      P.Fretboard.showEditChordDisplay();
      break;
    case PlayTab::PlayPage: {
      // The neck is tuned as the page's first chord, column by column.
      for (int c = 0; c < PlayPageColumns; ++c) {
        const TChordDiagram* first = nullptr;
        for (int r = 0; r < PlayPageRows && !first; ++r)
          if (!isEmpty(st.PlayPage[c][r])) first = &st.PlayPage[c][r];
        if (first) {
          Tuning tuning;
          std::copy(std::begin(first->Tuning), std::end(first->Tuning), tuning.begin());
          P.Fretboard.showTuning(tuning);
          break;
        }
      }
      P.Fretboard.ShowDiagram(st.SelectedPlayChord);
      break;
    }
    case PlayTab::Scales:
      P.Fretboard.ShowScaleOnFretboard(st.CurrentScale);
      break;
    case PlayTab::Print:
      P.Fretboard.showPrintItem(st.SelectedPrintItem);
      break;
  }
}

TChordDiagram PageCommands::pressedChord(PlayTab tab) const {
  const AppState& st = P.State;
  TChordDiagram chord{};
  chord.Empty = 1;
  switch (tab) {
    case PlayTab::Chords:
      if (const TChordDiagram* d = P.Chords.diagramToSend()) chord = *d;
      break;
    case PlayTab::ChordDesign: {
      const int s = P.Group.pressedSlot();
      if (s >= 0 && s < DesignGroupSize) chord = st.DesignGroup[s];
      break;
    }
    case PlayTab::PlayPage: {
      const int c = st.Play.PlaySelColumn, r = st.Play.PlaySelRow;
      if (c >= 0 && c < PlayPageColumns && r >= 0 && r < PlayPageRows) chord = st.PlayPage[c][r];
      break;
    }
    case PlayTab::Print:
      // A scale item has no chord to give.
      if (const TPrintDiagram* item = P.Print.itemToSend(); item && item->IsChord)
        printItemToChord(*item, chord);
      break;
    case PlayTab::Scales:
      break;
  }
  return chord;
}

void PageCommands::pmenu1SendtoPrintClick() {
  const PlayTab tab = P.ActiveTab();
  if (P.Guard.active() || tab == PlayTab::Print) return;
  TPrintDiagram item{};
  item.Empty = 1;
  if (tab == PlayTab::Scales) {
    const QPoint cell = P.Scales.pressedCell();
    if (cell.y() >= 0 && cell.y() < ScalePageSize && cell.x() >= 0 && cell.x() < 6) {
      const TScaleDiagram& scale = P.State.ScalePage[cell.y()];
      scaleToPrintItem(scale, item);
      // The position that was pressed.
      item.BaseFret = scale.StartFrets[cell.x()];
    }
  } else {
    chordToPrintItem(pressedChord(tab), item);
  }
  if (isEmpty(item)) return;
  P.State.PrintMoveBuffer = item;
  switchTo(PlayTab::Print);
  P.Print.setPlacing(true);
}

void PageCommands::pmenu1SendtoPlayClick() {
  const PlayTab tab = P.ActiveTab();
  if (P.Guard.active() || tab == PlayTab::PlayPage || tab == PlayTab::Scales) return;
  const TChordDiagram chord = pressedChord(tab);
  if (isEmpty(chord)) return;
  switchTo(PlayTab::PlayPage);
  P.PlayPage.takeInHand(chord);
}

void PageCommands::pmenu1SendtoDesignClick() {
  const PlayTab tab = P.ActiveTab();
  if (P.Guard.active() || tab == PlayTab::ChordDesign || tab == PlayTab::Scales) return;
  // An empty source is sent as it is: placing it is refused.
  const TChordDiagram sent = pressedChord(tab);
  // Taking it in hand shows the fingering as the tab change would.
  P.ShowTab(PlayTab::ChordDesign);
  P.Group.receive(sent);
}

void PageCommands::pmenu3SendtoScaleClick() {
  if (P.Guard.active() || P.ActiveTab() != PlayTab::Print) return;
  const TPrintDiagram* item = P.Print.itemToSend();
  // Only a scale goes to the Scales page.
  if (!item || item->IsChord) return;
  P.State.PrintMoveBuffer = *item;
  switchTo(PlayTab::Scales);
  P.Scales.setPlacing(true);
}

void PageCommands::sbtnEraseClick() {
  eraseActivePage("Erase Page");
}

void PageCommands::mnuNewClick() {
  eraseActivePage("New Page");
}

void PageCommands::eraseActivePage(std::string_view label) {
  if (P.Guard.active()) return;
  const PlayTab tab = P.ActiveTab();
  if (tab == PlayTab::ChordDesign && P.State.DesignGroupChanged &&
      !P.Ask.ask(
          &P.Window,
          QStringLiteral("This Design Group has changed. Do you want to erase without saving it?"),
          false))
    return;
  if (tab == PlayTab::PlayPage && P.State.Play.PlayPageChanged &&
      !P.Ask.ask(
          &P.Window,
          QStringLiteral("This Play Page has changed. Do you want to erase without saving it?"),
          false))
    return;
  if (tab == PlayTab::Print && P.State.PrintPageChanged &&
      !P.Ask.ask(
          &P.Window,
          QStringLiteral("This Print Page has changed. Do you want to erase without saving it?"),
          false))
    return;
  // The erased page is a new page: nothing to save until the next edit, and
  // Undo brings the old one back.
  P.Bench.edit(tab, label, [this, tab] { erasePage(tab); });
  P.Bench.markSaved(tab);
}

void PageCommands::erasePage(PlayTab tab) {
  AppState& st = P.State;
  switch (tab) {
    case PlayTab::Chords:
      P.Chords.erase();
      P.Fretboard.ClearFretboard();
      st.SelectedChord.Empty = 1;
      break;
    case PlayTab::Print:
      P.Print.erase();
      P.Fretboard.ClearFretboard();
      break;
    case PlayTab::ChordDesign:
      // The fingering in hand and the fretboard stay.
      P.Group.erase();
      P.Design.showFilePath(QString());
      break;
    case PlayTab::Scales:
      P.Scales.erase();
      P.Fretboard.ClearFretboard();
      st.CurrentScale.Empty = 1;
      break;
    case PlayTab::PlayPage:
      P.PlayPage.erase();
      P.Fretboard.ClearFretboard();
      st.SelectedPlayChord.Empty = 1;
      break;
  }
  if (tab != PlayTab::ChordDesign) scrollToTop(tab);
  st.lastPageFile(tab).clear();
  P.Window.setWindowTitle(QStringLiteral("Strumbo!"));
}

void PageCommands::undoClick() {
  stepHistory(false);
}

void PageCommands::redoClick() {
  stepHistory(true);
}

void PageCommands::stepHistory(bool forward) {
  if (P.Guard.active()) return;
  const PlayTab tab = P.ActiveTab();
  // A diagram being moved goes back before the page is stepped; one sent
  // here waits no longer either.
  switch (tab) {
    case PlayTab::ChordDesign:
      P.Group.cancelPointers();
      break;
    case PlayTab::PlayPage:
      P.PlayPage.cancelPointers();
      break;
    case PlayTab::Print:
      P.Print.cancelPointers();
      break;
    case PlayTab::Scales:
      P.Scales.setPlacing(false);
      break;
    case PlayTab::Chords:
      break;
  }
  if (!(forward ? P.Bench.redo(tab) : P.Bench.undo(tab))) return;
  pageRestored(tab);
}

void PageCommands::pageRestored(PlayTab tab) {
  switch (tab) {
    case PlayTab::Chords:
      P.Chords.showRestored();
      break;
    case PlayTab::Scales:
      P.Scales.showRestored();
      break;
    case PlayTab::Print:
      P.Print.showRestored();
      break;
    case PlayTab::PlayPage:
      P.PlayPage.showRestored();
      break;
    case PlayTab::ChordDesign:
      P.Group.showRestored();
      break;
  }
  if (tab != PlayTab::ChordDesign) showTabContents(tab);
}
