#include "library/ChordSearch.h"

#include <algorithm>

#include "library/ChordLibrary.h"

namespace {

// The entries of an interval list from `first` up to the end marker.
std::vector<int> entriesFrom(const std::int8_t (&intervals)[7], int first) {
  std::vector<int> out;
  for (int i = first; i < 7 && intervals[i] != ChordIntervalEnd; ++i) out.push_back(intervals[i]);
  return out;
}

bool contains(const std::vector<int>& v, int x) {
  return std::find(v.begin(), v.end(), x) != v.end();
}

// The tool tip of a line: the formula's notes beyond the sounded ones (named
// as in the formula, so a ninth stays "9"), and "rootless" when the root is
// not among them.
std::string whyText(const std::vector<int>& entries, const std::vector<int>& sounded, int root,
                    bool rootless) {
  std::string adds;
  for (int e : entries) {
    if (contains(sounded, pitchClass(root + e))) continue;
    adds += adds.empty() ? "adds " : ", ";
    adds += intervalName(e);
  }
  if (rootless) return adds.empty() ? "rootless" : adds + "; rootless";
  return adds.empty() ? "these notes only" : adds;
}

}  // namespace

ChordSearch::ChordSearch() : SearchResults(1) {}

bool rootSounded(const TChordDiagram& chord) {
  for (int s = 0; s < 6; ++s) {
    if (chord.Strings[s].Finger == FingerCode::Muted) continue;
    if (pitchClass(chord.Tuning[s] + chord.Strings[s].Fret) == pitchClass(chord.Root)) return true;
  }
  return false;
}

ChordSearch::Outcome ChordSearch::search(const TChordDiagram& chord, bool rootIsSounded,
                                         Options options, const NameTables& names,
                                         const std::string& dictionaryDir) {
  Outcome out;
  out.Used = options;

  // The root entry is left out when no played string sounds it.
  const std::vector<int> notes = entriesFrom(chord.Intervals, rootIsSounded ? 0 : 1);
  const int n = static_cast<int>(notes.size());
  if (n <= 1) return out;
  out.Searched = true;
  if (n == 2) out.Used.Interval = AllContaining;
  const int root = pitchClass(chord.Root);
  std::vector<int> sounded;
  for (int e : notes) sounded.push_back(pitchClass(root + e));
  if (!rootIsSounded && out.Used.Root == CurrentRoot) out.Used.Root = EachNote;

  std::vector<int> roots;
  if (out.Used.Root == CurrentRoot)
    roots = {root};
  else if (out.Used.Root == EachNote)
    roots = sounded;
  else
    for (int r = 0; r < 12; ++r) roots.push_back(r);

  TChordFormula dictionary[ChordLibrary::ChordTypeCount];
  for (int t = 0; t < ChordLibrary::ChordTypeCount; ++t) {
    out.Read = readChordFormula(dictionaryDir, t, dictionary[t]);
    if (out.Read.Status != LibraryStatus::Ok) return out;
  }

  for (int r : roots) {
    // A root that is not sounded takes no part: rootless voicings are found.
    const int k0 = contains(sounded, r) ? 0 : 1;
    for (int t = 0; t < ChordLibrary::ChordTypeCount; ++t) {
      const TChordFormula& f = dictionary[t];
      const std::vector<int> entries = entriesFrom(f.Intervals, k0);
      if (out.Used.Interval == TheseNotesOnly && static_cast<int>(entries.size()) != n) continue;
      // Intervals named an octave up (13..21) match as their simple ones.
      const bool all = std::all_of(sounded.begin(), sounded.end(), [&](int p) {
        return std::any_of(entries.begin(), entries.end(),
                           [&](int e) { return pitchClass(p - r) == pitchClass(e); });
      });
      if (!all) continue;
      Line line;
      line.Chord = {static_cast<std::uint8_t>(t), static_cast<std::uint8_t>(r)};
      line.Text = std::string(names.pitchName(r)) + " " + f.Name.str() + "\t" + f.Formula.str();
      line.Why = whyText(entries, sounded, r, k0 == 1);
      out.Lines.push_back(std::move(line));
    }
  }

  // Each line's pair sits at the line's index; the table keeps no pairs
  // beyond the last line, and a search that lists nothing leaves it alone.
  for (std::size_t i = 0; i < out.Lines.size(); ++i) {
    SearchResults.resize(i + 1);
    SearchResults[i] = out.Lines[i].Chord;
  }
  return out;
}
