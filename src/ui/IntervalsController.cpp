#include "ui/IntervalsController.h"

#include <QLineEdit>

#include "design/FingeringEditor.h"
#include "design/IntervalDisplay.h"
#include "design/UserChords.h"
#include "library/LibraryFiles.h"
#include "music/DiagramConvert.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "settings/UserChordStore.h"
#include "state/AppState.h"
#include "ui/AddUserChordDialog.h"
#include "ui/BusyGuard.h"
#include "ui/ChordDesignTab.h"
#include "ui/ChordsTab.h"
#include "ui/FretboardPanel.h"
#include "ui/LibraryMessages.h"
#include "ui/Prompter.h"
#include "ui/RecordText.h"
#include "ui/ToolBarPanel.h"

namespace {

constexpr int FirstUserItem = Settings::FirstUserChordSection;

}  // namespace

IntervalsController::IntervalsController(Parts parts, QObject* parent)
    : QObject(parent), P(std::move(parts)) {
  P.Design.enableChordTypeCommands();
  connect(&P.Design, &ChordDesignTab::intervalsClicked, this,
          &IntervalsController::sbDisplayIntervalsClick);
  connect(&P.Design, &ChordDesignTab::chordTypeChosen, this, &IntervalsController::ComboBox1Click);
  connect(&P.Design, &ChordDesignTab::addUserChordChosen, this,
          &IntervalsController::pmenu6AddClick);
  connect(&P.Design, &ChordDesignTab::deleteUserChordChosen, this,
          &IntervalsController::pmenu6DeleteClick);
  connect(&P.Fretboard, &FretboardPanel::intervalLabelClicked, this,
          &IntervalsController::editIntervals0Click);
  connect(&P.Fretboard, &FretboardPanel::chordNameKeyReleased, this,
          &IntervalsController::editChordNameUserKeyUp);
  connect(&P.ToolBar, &ToolBarPanel::showArpClicked, this, &IntervalsController::sbShowArpClick);
  P.Chords.enableArpeggioCommand();
  connect(&P.Chords, &ChordsTab::arpeggioChosen, this, &IntervalsController::menu1ArpeggioClick);
}

void IntervalsController::sbDisplayIntervalsClick() {
  // The button shows the state; a refused click leaves both as they were.
  if (!P.Guard.active()) P.State.IntervalsShown = !P.State.IntervalsShown;
  P.Design.setIntervalsShown(P.State.IntervalsShown);
  if (!P.Guard.active()) showIntervals();
}

void IntervalsController::showIntervals() {
  if (!P.State.IntervalsShown) {
    P.Fretboard.ShowDiagram(P.State.EditChord);
    return;
  }
  // A failed read leaves the picture as it was.
  if (!loadChosenFormula()) return;
  P.Fretboard.showEditChordDisplay();
}

bool IntervalsController::loadChosenFormula() {
  const int item = P.Design.chordTypeIndex();
  if (item < 0) return true;
  if (item < FirstUserItem) {
    TChordFormula read{};
    if (!libraryReadOk(P.Ask, P.Window, readChordFormula(P.State.ExeDir, item, read),
                       QStringLiteral("Could Not Find Chord Data Files.")))
      return false;
    P.State.ChosenFormula = read;
    return true;
  }
  if (!P.SettingsFile) return true;
  const ProfileFile::Contents file = P.SettingsFile->read();
  if (file.readInteger("UserChords", "Number", 0) > 0)
    P.State.ChosenFormula = UserChordStore::read(file, item);
  return true;
}

void IntervalsController::ComboBox1Click() {
  if (P.State.IntervalsShown && !P.Guard.active()) {
    P.Fretboard.ShowDiagram(P.State.EditChord);
    showIntervals();
  }
  P.ToolBar.focusStrumSpeed();
}

void IntervalsController::pmenu6AddClick() {
  AddUserChordDialog dialog(P.Window);
  if (P.ShowHelp) dialog.setHelp(P.ShowHelp);
  if (!P.Ask.execDialog(dialog)) return;
  const IntervalTicks ticked = dialog.ticked();
  if (!anyIntervalTicked(ticked)) return;
  if (!P.SettingsFile) {
    P.Ask.error(P.Window, QStringLiteral("There is no settings file to keep user chords in."));
    return;
  }
  try {
    const std::string name = UserChordStore::add(
        *P.SettingsFile, P.Design.chordTypeCount(), recordText(dialog.editUserName->text()),
        recordText(dialog.editUserFormula->text()), userChordIntervals(ticked));
    P.Design.appendChordType(name);
  } catch (const ProfileWriteError& error) {
    // Nothing was written, so the list stays as the file is.
    P.Ask.error(P.Window, QString::fromStdString(error.what()));
  }
}

void IntervalsController::pmenu6DeleteClick() {
  const int item = P.Design.chordTypeIndex();
  if (item < FirstUserItem) {
    P.Ask.message(P.Window,
                  QStringLiteral("Cannot delete this chord. Please select a User Chord."));
    return;
  }
  if (!P.SettingsFile) return;
  try {
    if (!UserChordStore::remove(*P.SettingsFile, item, P.Design.chordTypeCount())) return;
  } catch (const ProfileWriteError& error) {
    P.Ask.error(P.Window, QString::fromStdString(error.what()));
    return;
  }
  P.Design.removeChordType(item);
  P.Design.chooseChordType(0);
  if (!P.Guard.active()) showIntervals();
}

void IntervalsController::editIntervals0Click(int tag) {
  if (!P.ActiveTab || P.ActiveTab() != PlayTab::ChordDesign) return;
  if (P.State.IntervalsShown || P.Guard.active()) return;
  if (!raisableInterval(tag)) return;
  P.Fretboard.toggleExtension(tag);
}

void IntervalsController::editChordNameUserKeyUp(const QString& text) {
  if (!P.ActiveTab || P.ActiveTab() != PlayTab::ChordDesign) return;
  P.Fretboard.typeChordName(text);
}

void IntervalsController::sbShowArpClick() {
  if (P.Guard.active()) {
    P.ToolBar.undoClick(ToolBarPanel::Toggle::ShowArp);
    return;
  }
  const PlayTab tab = P.ActiveTab ? P.ActiveTab() : PlayTab::Chords;
  TChordDiagram chord{};
  switch (tab) {
    case PlayTab::Chords:
      chord = P.State.SelectedChord;
      break;
    case PlayTab::ChordDesign:
      // The chord type of Show Intervals already covers the neck.
      if (P.State.IntervalsShown) return;
      chord = P.State.EditChord;
      break;
    case PlayTab::PlayPage:
      chord = P.State.SelectedPlayChord;
      break;
    case PlayTab::Print:
      if (!P.State.SelectedPrintItem.IsChord) return;
      printItemToChord(P.State.SelectedPrintItem, chord);
      break;
    default:
      return;
  }
  if (!P.ToolBar.isOn(ToolBarPanel::Toggle::ShowArp) || isEmpty(chord)) {
    P.Fretboard.ShowDiagram(chord);
    if (tab == PlayTab::ChordDesign) showIntervals();
    return;
  }
  TChordFormula formula{};
  std::copy(std::begin(chord.Intervals), std::end(chord.Intervals), formula.Intervals);
  formula.Name.assign(chord.ChordName.view().substr(0, UserChordNameLength));
  formula.Formula.assign(chord.Formula.view().substr(0, UserChordFormulaLength));
  P.Fretboard.ShowArpeggio(formula, chord.Root, Qt::black);
}

void IntervalsController::menu1ArpeggioClick() {
  const QPoint pressed = P.Chords.currentCell();
  if (pressed != P.Chords.framedCell()) P.Chords.selectCell(pressed.x(), pressed.y());
  P.ToolBar.setOn(ToolBarPanel::Toggle::ShowArp, true);
  sbShowArpClick();
}
