#include "state/AppState.h"

#include <algorithm>
#include <cstring>

AppState::AppState()
    : ChordPage{},
      DesignGroup{},
      PlayPage{},
      PrintPage{},
      ScalePage{},
      ChordSetCount(0),
      ScaleCount(0),
      SelectedChord{},
      EditChord{},
      SelectedPlayChord{},
      MoveBuffer{},
      CurrentScale{},
      SelectedPrintItem{},
      PrintMoveBuffer{},
      CurrentTuning(StandardTuning),
      LastRoot(0),
      ExtensionFlags{},
      HoverString(0),
      HoverFret(0),
      Key(-1),
      ChordFamily(0),
      ChordType(0),
      ScaleChoice(0),
      ChosenFormula{} {
  unitStart();
  windowStart();
}

void AppState::unitStart() {
  ChordSetCount = 0;
  ScaleCount = 0;
  LastRoot = 0;
  SelectedChord.Empty = 1;
  SelectedPlayChord.Empty = 1;
  CurrentScale.Empty = 1;
  SelectedPrintItem.Empty = 1;
}

void AppState::windowStart() {
  Key = -1;
  ChordFamily = 0;
  EditChord = startFingering();
  for (auto& d : DesignGroup) d.Empty = 1;
  for (auto& column : ChordPage)
    for (auto& d : column) d.Empty = 1;
  for (auto& column : PrintPage)
    for (auto& d : column) d.Empty = 1;
  for (auto& d : ScalePage) d.Empty = 1;
  for (auto& column : PlayPage)
    for (auto& d : column) d.Empty = 1;
  Names.setSharps(false);
  CurrentTuning = StandardTuning;
}

TChordDiagram startFingering() {
  TChordDiagram d{};
  d.Empty = 0;
  d.ChordName = "";
  d.TuningName = "Standard";
  d.Formula = "";
  std::copy(StandardTuning.begin(), StandardTuning.end(), d.Tuning);
  for (auto& s : d.Strings) s = {0, FingerCode::Muted};
  d.Intervals[0] = 0;
  std::fill(d.Intervals + 1, d.Intervals + 7, ChordIntervalEnd);
  std::fill(std::begin(d.Notes), std::end(d.Notes), 0);
  d.BaseFret = 1;
  d.Root = 0;
  d.Bass = 24;
  return d;
}
