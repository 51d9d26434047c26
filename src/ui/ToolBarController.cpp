#include "ui/ToolBarController.h"

#include "library/MenuTables.h"
#include "library/RootField.h"
#include "state/AppState.h"
#include "ui/BusyGuard.h"
#include "ui/ChordsTab.h"
#include "ui/RecordText.h"
#include "ui/ScalesTab.h"
#include "ui/ToolBarPanel.h"

ToolBarController::ToolBarController(AppState& state, const BusyGuard& guard, ToolBarPanel& toolBar,
                                     ChordsTab& chords, ScalesTab& scales,
                                     std::function<void(PlayTab)> showTab, QObject* parent)
    : QObject(parent),
      State(state),
      Guard(guard),
      ToolBar(toolBar),
      Chords(chords),
      Scales(scales),
      ShowTab(std::move(showTab)) {
  connect(&ToolBar, &ToolBarPanel::showChordsClicked, this, &ToolBarController::btnShowChordsClick);
  connect(&ToolBar, &ToolBarPanel::rootEdited, this, &ToolBarController::editChordRootExit);
}

void ToolBarController::mnuCClick(int key) {
  State.Key = key;
  ToolBar.showRoot(qs(State.Names.pitchName(key)));
}

void ToolBarController::chooseChordType(int family, int type) {
  State.ChordFamily = static_cast<std::uint8_t>(family);
  State.ChordType = type;
  ToolBar.showChoice(qs(ChordFamilies[family - 1].types[type]), false);
}

void ToolBarController::chooseScale(int index) {
  State.ScaleChoice = index;
  State.ChordFamily = 0;
  ToolBar.showChoice(qs(ScaleMenuNames[index]), true);
}

void ToolBarController::btnShowChordsClick() {
  ToolBar.focusStrumSpeed();
  if (ToolBar.root().isEmpty() || ToolBar.choiceName().isEmpty() || Guard.active()) return;
  if (ToolBar.scaleChosen()) {
    ShowTab(PlayTab::Scales);
    Scales.showScale();
    return;
  }
  // The tab changes only for a set that was added: a refusal leaves the
  // window as it was.
  if (Chords.showChords()) ShowTab(PlayTab::Chords);
}

void ToolBarController::editChordRootExit() {
  ToolBar.showRoot(qs(tidyRootText(ToolBar.root().toStdString())));
}

void ToolBarController::namingChanged() {
  if (State.Key >= 0 && State.Key < 12 && !ToolBar.root().isEmpty())
    ToolBar.showRoot(qs(State.Names.pitchName(State.Key)));
}
