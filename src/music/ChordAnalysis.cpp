#include "music/ChordAnalysis.h"

#include <algorithm>

#include "music/FretboardGeometry.h"

void ComputeIntervals(TChordDiagram& chord, const ExtensionFlagSet& flags) {
  std::fill(std::begin(chord.Intervals), std::end(chord.Intervals), ChordIntervalEnd);
  chord.Intervals[0] = 0;
  bool present[12] = {};
  for (int s = 0; s < 6; ++s)
    if (chord.Notes[s] != 0) present[pitchClass(chord.Notes[s] - chord.Root)] = true;

  // Only intervals with an octave name (b9, 9, #9, 11, #11, b13, 13) move up.
  auto raised = [&flags](int i) { return flags[i] && !intervalName(i + 12).empty(); };
  int n = 1;
  for (int i = 1; i <= 11 && n < 7; ++i)
    if (present[i] && !raised(i)) chord.Intervals[n++] = static_cast<std::int8_t>(i);
  for (int i = 1; i <= 9 && n < 7; ++i)
    if (present[i] && raised(i)) chord.Intervals[n++] = static_cast<std::int8_t>(i + 12);
}

int baseFretFor(const TChordDiagram& chord) {
  int lowest = 99, highest = 0;
  for (const auto& s : chord.Strings) {
    if (s.Fret == 0 || s.Finger == FingerCode::Muted) continue;
    lowest = std::min<int>(lowest, s.Fret);
    highest = std::max<int>(highest, s.Fret);
  }
  if (highest <= 4) return 1;
  if (lowest >= 17) return 17;
  return lowest;
}

std::string formulaFromLabels(const std::array<std::string, 7>& labels) {
  std::string text;
  for (const auto& l : labels) text += l + ' ';
  if (text.size() > 20) text.resize(20);
  return text;
}

namespace FretboardHit {

bool inside(int x, int y) {
  return x >= 5 && x <= 744 && y >= 9 && y <= 105;
}

int stringAt(int y) {
  if (y < 25) return 0;
  return std::clamp((y - 26) / 16 + 1, 0, 5);
}

int fretAt(int x) {
  for (int f = 0; f < FretboardFretCount; ++f)
    if (x <= FretSpaceEnd[f]) return f;
  return FretboardFretCount - 1;
}

std::string intervalReadout(int i) {
  i = pitchClass(i);
  std::string text(intervalName(i));
  const std::string_view octave = intervalName(i + 12);
  if (!octave.empty()) {
    text += " / ";
    text += octave;
  }
  return text;
}

}  // namespace FretboardHit
