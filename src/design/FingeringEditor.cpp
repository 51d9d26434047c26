#include "design/FingeringEditor.h"

#include <algorithm>

#include "design/IntervalDisplay.h"
#include "design/UserChords.h"
#include "library/ChordLibrary.h"
#include "library/ChordSearch.h"
#include "library/LibraryFiles.h"

namespace {

// Whether every played string sounds a note of `type` over `root`.
bool soundsOnly(const TChordDiagram& chord, const TChordFormula& type, int root) {
  for (int s = 0; s < StringCount; ++s) {
    if (chord.Strings[s].Finger == FingerCode::Muted) continue;
    const int interval = pitchClass(chord.Tuning[s] + chord.Strings[s].Fret - root);
    bool held = false;
    for (std::int8_t e : type.Intervals) {
      if (e == ChordIntervalEnd) break;
      if (pitchClass(e) == interval) held = true;
    }
    if (!held) return false;
  }
  return true;
}

}  // namespace

FingeringEditor::FingeringEditor(TChordDiagram& chord, ExtensionFlagSet& extensionFlags,
                                 const NameTables& names)
    : Chord(chord), Flags(extensionFlags), Names(names) {}

void FingeringEditor::press(int s, int f, int finger, bool rootPress) {
  if (s < 0 || s >= StringCount || f < 0 || f > HighestFret) return;
  auto& string = Chord.Strings[s];
  string.Fret = static_cast<std::uint8_t>(f);
  Chord.Notes[s] = static_cast<std::uint8_t>(Chord.Tuning[s] + f);
  if (f == 0) {
    if (string.Finger == FingerCode::Muted || rootPress) {
      string.Finger = FingerCode::Open;
    } else {
      string.Finger = FingerCode::Muted;
      Chord.Notes[s] = 0;
    }
  } else {
    string.Finger = static_cast<std::uint8_t>(finger);
  }
  if (rootPress) setRoot(Chord.Tuning[s] + f);
  Chord.BaseFret = static_cast<std::uint8_t>(baseFretFor(Chord));
  ComputeIntervals(Chord, Flags);
}

void FingeringEditor::typeFret(int s, std::optional<int> fret, int finger) {
  if (s < 0 || s >= StringCount || (fret && (*fret < 0 || *fret > HighestFret))) return;
  if (fret && *fret > 0) {
    press(s, *fret, finger, false);
    return;
  }
  // A press at the nut toggles, so the string starts as the other one.
  Chord.Strings[s].Finger = fret ? FingerCode::Muted : FingerCode::Open;
  press(s, 0, finger, false);
}

void FingeringEditor::setRoot(int root) {
  root = pitchClass(root);
  Chord.Root = static_cast<std::uint8_t>(root);
  Chord.Bass = static_cast<std::uint8_t>(root + 24);
}

void FingeringEditor::setBass(int bass) {
  Chord.Bass = static_cast<std::uint8_t>(pitchClass(bass) + 24);
}

void FingeringEditor::retune(const Tuning& tuning, std::string_view tuningName) {
  std::copy(tuning.begin(), tuning.end(), Chord.Tuning);
  Chord.TuningName = tuningName;
  for (int s = 0; s < StringCount; ++s)
    if (Chord.Notes[s] != 0)
      Chord.Notes[s] = static_cast<std::uint8_t>(Chord.Tuning[s] + Chord.Strings[s].Fret);
  ComputeIntervals(Chord, Flags);
}

void FingeringEditor::setExtension(int interval, bool raised) {
  if (interval < 0 || interval > 11) return;
  Flags[static_cast<std::size_t>(interval)] = raised;
  ComputeIntervals(Chord, Flags);
}

void FingeringEditor::recomputeIntervals() {
  ComputeIntervals(Chord, Flags);
}

void FingeringEditor::rebuildFormula(const TChordFormula* compared) {
  std::array<std::string, 7> captions;
  // An empty record shows no labels at all.
  const std::int8_t* shown = compared         ? compared->Intervals
                             : isEmpty(Chord) ? nullptr
                                              : Chord.Intervals;
  if (shown)
    for (int i = 0; i < 7; ++i) captions[static_cast<std::size_t>(i)] = intervalCaption(shown[i]);
  Chord.Formula = formulaFromLabels(captions);
}

bool FingeringEditor::keepNameTrue(const std::string& dictionaryDir) {
  TChordFormula dictionary[ChordLibrary::ChordTypeCount];
  for (int t = 0; t < ChordLibrary::ChordTypeCount; ++t)
    if (readChordFormula(dictionaryDir, t, dictionary[t]).Status != LibraryStatus::Ok) return false;
  const std::string_view name = Chord.ChordName.view();
  const auto named = std::find_if(std::begin(dictionary), std::end(dictionary),
                                  [&](const TChordFormula& f) { return f.Name == name; });
  if (!name.empty() && named == std::end(dictionary)) return false;

  ChordSearch search;
  const bool sounded = rootSounded(Chord);
  ChordSearch::Outcome found =
      search.search(Chord, sounded, {ChordSearch::TheseNotesOnly, ChordSearch::CurrentRoot}, Names,
                    dictionaryDir);
  if (found.Read.Status != LibraryStatus::Ok) return false;
  const bool overRoot = found.Searched && found.Used.Root == ChordSearch::CurrentRoot;
  if (!name.empty()) {
    const int index = static_cast<int>(named - std::begin(dictionary));
    const bool exactly =
        overRoot &&
        std::any_of(found.Lines.begin(), found.Lines.end(), [&](const ChordSearch::Line& line) {
          return line.Chord.Index == index && line.Chord.Root == root();
        });
    // Notes that are exactly the named type keep it; so do notes that are
    // part of it (a voicing that leaves the fifth out), unless they are
    // exactly another type over the same root: C E G taken from a C maj7 is
    // a C major.
    if (exactly) return false;
    if (soundsOnly(Chord, *named, root()) && (!overRoot || found.Lines.empty())) return false;
  }
  // A fingering built up from nothing is named once its notes make a chord
  // over the root the player chose; its root never moves under the player's
  // hands.
  if (name.empty() && (!overRoot || found.Lines.empty())) return false;
  if (found.Lines.empty() && overRoot)
    found = search.search(Chord, sounded, {ChordSearch::TheseNotesOnly, ChordSearch::EachNote},
                          Names, dictionaryDir);
  if (found.Read.Status != LibraryStatus::Ok) return false;
  if (found.Lines.empty()) {
    Chord.ChordName = std::string_view();
    return false;
  }
  const ChordSearch::Pair first = found.Lines.front().Chord;
  Chord.ChordName = dictionary[first.Index].Name;
  if (first.Root == root()) return false;
  const bool bassWithRoot = bass() == root();
  Chord.Root = first.Root;
  if (bassWithRoot) setBass(first.Root);
  ComputeIntervals(Chord, Flags);
  return true;
}

bool FingeringEditor::typeChordName(std::string_view typed) {
  const auto type = typedChordType(typed);
  if (!type || Chord.ChordName.view() == *type) return false;
  Chord.ChordName = *type;
  return true;
}

void FingeringEditor::showString(int s, int note) {
  if (s >= 0 && s < StringCount)
    StringsShown[static_cast<std::size_t>(s)] = static_cast<std::uint8_t>(note);
}

void FingeringEditor::nameForGroup() {
  std::string name;
  if (TuningNameShown.empty()) {
    // The string boxes hold three characters at most.
    for (int s = StringCount - 1; s >= 0; --s) {
      name +=
          std::string(Names.noteName(StringsShown[static_cast<std::size_t>(s)]).substr(0, 3)) + ' ';
      name.resize(std::min<std::size_t>(name.size(), 15));
    }
  } else {
    name = TuningNameShown.substr(0, 15);
  }
  Chord.TuningName = name;
  rebuildFormula(nullptr);
}

int FingeringEditor::root() const {
  return pitchClass(Chord.Root);
}

int FingeringEditor::bass() const {
  return pitchClass(Chord.Bass);
}

std::string FingeringEditor::chordName() const {
  std::string name(Names.pitchName(root()));
  name += ' ';
  name += Chord.ChordName.view();
  if (bass() != root()) {
    name += " /";
    name += Names.pitchName(bass());
  }
  return name;
}

std::array<std::string, 6> FingeringEditor::tabTexts() const {
  std::array<std::string, 6> texts;
  for (int s = 0; s < StringCount; ++s)
    if (Chord.Notes[s] != 0)
      texts[static_cast<std::size_t>(s)] = std::to_string(Chord.Strings[s].Fret);
  return texts;
}

void retuneScale(TScaleDiagram& scale, const Tuning& tuning, std::string_view tuningName) {
  std::copy(tuning.begin(), tuning.end(), scale.Tuning);
  scale.TuningName = tuningName;
}
