#include "music/DiagramConvert.h"

#include <algorithm>
#include <cstring>

void chordToPrintItem(const TChordDiagram& chord, TPrintDiagram& item) {
  item.Empty = chord.Empty;
  item.IsChord = 1;
  item.Name = chord.ChordName;
  item.TuningName = chord.TuningName;
  item.Formula = chord.Formula;
  std::memcpy(item.Tuning, chord.Tuning, sizeof item.Tuning);
  std::memcpy(item.Strings, chord.Strings, sizeof item.Strings);
  std::copy_n(chord.Intervals, 7, item.Intervals);
  std::fill(item.Intervals + 7, item.Intervals + 10, ChordIntervalEnd);
  std::memcpy(item.Notes, chord.Notes, sizeof item.Notes);
  item.BaseFret = chord.BaseFret;
  item.Root = chord.Root;
  item.Bass = chord.Bass;
}

void printItemToChord(const TPrintDiagram& item, TChordDiagram& chord) {
  chord.Empty = item.Empty;
  chord.ChordName = item.Name;  // cut to 15
  chord.TuningName = item.TuningName;
  chord.Formula = item.Formula;  // cut to 20
  std::memcpy(chord.Tuning, item.Tuning, sizeof chord.Tuning);
  std::memcpy(chord.Strings, item.Strings, sizeof chord.Strings);
  std::copy_n(item.Intervals, 7, chord.Intervals);
  std::memcpy(chord.Notes, item.Notes, sizeof chord.Notes);
  chord.BaseFret = item.BaseFret;
  chord.Root = item.Root;
  chord.Bass = item.Bass;
}

void scaleToPrintItem(const TScaleDiagram& scale, TPrintDiagram& item) {
  item.Empty = scale.Empty;
  item.IsChord = 0;
  item.Name = scale.ScaleName;
  item.TuningName = scale.TuningName;
  item.Formula = scale.Formula;
  std::memcpy(item.Tuning, scale.Tuning, sizeof item.Tuning);
  std::memcpy(item.Intervals, scale.Intervals, sizeof item.Intervals);
  item.Root = scale.Root;
}

void printItemToScale(const TPrintDiagram& item, TScaleDiagram& scale) {
  scale.Empty = item.Empty;
  scale.ScaleName = item.Name;
  scale.TuningName = item.TuningName;
  scale.Formula = item.Formula;
  std::memcpy(scale.Tuning, item.Tuning, sizeof scale.Tuning);
  std::memcpy(scale.Intervals, item.Intervals, sizeof scale.Intervals);
  std::fill(std::begin(scale.StartFrets), std::end(scale.StartFrets), item.BaseFret);
  scale.Root = item.Root;
}

void soundNotes(TChordDiagram& chord) {
  for (int s = 0; s < 6; ++s)
    chord.Notes[s] = chord.Strings[s].Finger == FingerCode::Muted
                         ? 0
                         : static_cast<std::uint8_t>(chord.Tuning[s] + chord.Strings[s].Fret);
}
