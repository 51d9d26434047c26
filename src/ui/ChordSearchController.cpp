#include "ui/ChordSearchController.h"

#include <QPoint>

#include "state/AppState.h"
#include "ui/BusyGuard.h"
#include "ui/ChordDesignTab.h"
#include "ui/FretboardPanel.h"
#include "ui/LibraryMessages.h"
#include "ui/RecordText.h"
#include "ui/ToolBarPanel.h"

ChordSearchController::ChordSearchController(Parts parts, QObject* parent)
    : QObject(parent), P(parts) {
  setObjectName(QStringLiteral("ChordSearch"));
  P.Tab.connectSearch();
  connect(&P.Tab, &ChordDesignTab::searchClicked, this, &ChordSearchController::btnSearchClick);
  connect(&P.Tab, &ChordDesignTab::pointerOverSearch, &P.Fretboard,
          &FretboardPanel::clearHoverReadout);
}

void ChordSearchController::btnSearchClick() {
  if (P.Guard.active()) return;
  const ChordSearch::Outcome found = Search.search(
      P.State.EditChord, rootSounded(P.State.EditChord),
      {P.Tab.intervalOption(), P.Tab.rootOption()}, P.State.shownNames(), P.State.ExeDir);
  if (!found.Searched) {
    P.Tab.clearSearchResults();
    return;
  }
  // The radio groups show the options the search switched to.
  P.Tab.setIntervalOption(found.Used.Interval);
  P.Tab.setRootOption(found.Used.Root);
  // A dictionary that cannot be read leaves the lines of the last search,
  // whose pairs the search keeps too, so a line still drops as it says.
  if (!libraryReadOk(P.Ask, &P.Tab, found.Read, QStringLiteral("Could Not Find Chord Data Files.")))
    return;
  P.Tab.clearSearchResults();
  for (const ChordSearch::Line& line : found.Lines)
    P.Tab.addSearchResult(qs(line.Text), qs(line.Why), QPoint(line.Chord.Root, line.Chord.Index));
  if (found.Lines.empty()) P.Tab.addSearchResult(QStringLiteral("No Chords Found"), {}, {});
  P.ToolBar.focusStrumSpeed();
}
