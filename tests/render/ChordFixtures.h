#pragma once

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "music/Records.h"
#include "music/Tuning.h"
#include "pages/PageFile.h"

// Chords and scales for the drawing tests and samples, written as a player
// reads them: frets and fingers from the low E string to the high one.
namespace fixtures {

// frets: 'x' muted, '0' open, digits or letters a..m for frets 10..22;
// fingers: 'x' muted, '0' open, '1'..'4', 'p' a plain dot.
inline TChordDiagram chord(std::string_view name, int root, std::string_view frets,
                           std::string_view fingers, int baseFret, int bass = -1,
                           std::string_view formula = "") {
  TChordDiagram c{};
  c.ChordName = name;
  c.Formula = formula;
  c.TuningName = "Standard";
  c.Root = static_cast<std::uint8_t>(root);
  c.Bass = static_cast<std::uint8_t>(24 + (bass < 0 ? root : bass));
  c.BaseFret = static_cast<std::uint8_t>(baseFret);
  bool present[12] = {};
  for (int k = 0; k < 6; ++k) {
    const int s = 5 - k;
    const char fr = frets[static_cast<std::size_t>(k)], fi = fingers[static_cast<std::size_t>(k)];
    c.Tuning[s] = StandardTuning[s];
    const int fret = fr == 'x' ? 0 : (fr <= '9' ? fr - '0' : fr - 'a' + 10);
    c.Strings[s].Fret = static_cast<std::uint8_t>(fret);
    c.Strings[s].Finger = fi == 'x'   ? FingerCode::Muted
                          : fi == 'p' ? FingerCode::Fretted
                                      : static_cast<std::uint8_t>(fi - '0');
    c.Notes[s] = fr == 'x' ? 0 : static_cast<std::uint8_t>(StandardTuning[s] + fret);
    if (fr != 'x') present[intervalAbove(c.Notes[s], root)] = true;
  }
  std::fill(std::begin(c.Intervals), std::end(c.Intervals), ChordIntervalEnd);
  int n = 0;
  c.Intervals[n++] = 0;
  for (int i = 1; i < 12; ++i)
    if (present[i]) c.Intervals[n++] = static_cast<std::int8_t>(i);
  return c;
}

inline TScaleDiagram scale(std::string_view name, int root, std::initializer_list<int> degrees,
                           std::initializer_list<int> startFrets, std::string_view formula = "") {
  TScaleDiagram s{};
  s.ScaleName = name;
  s.Formula = formula;
  s.TuningName = "Standard";
  s.Root = static_cast<std::uint8_t>(root);
  std::fill(std::begin(s.Intervals), std::end(s.Intervals), ScaleIntervalEnd);
  std::copy(degrees.begin(), degrees.end(), s.Intervals);
  std::copy(startFrets.begin(), startFrets.end(), s.StartFrets);
  std::copy(StandardTuning.begin(), StandardTuning.end(), s.Tuning);
  return s;
}

inline TScaleDiagram cMajor() {
  return scale("Major", 0, {0, 2, 4, 5, 7, 9, 11}, {1, 3, 5, 7, 8, 10}, "1 2 3 4 5 6 7");
}

// A page of `kind` whose every record is empty.
inline PageContents emptyPage(PageKind kind) {
  PageContents page;
  page.Kind = kind;
  for (auto& column : page.ChordPage)
    for (auto& d : column) d.Empty = 1;
  for (auto& column : page.PrintPage)
    for (auto& d : column) d.Empty = 1;
  for (auto& column : page.PlayPage)
    for (auto& d : column) d.Empty = 1;
  for (auto& d : page.ScalePage) d.Empty = 1;
  for (auto& d : page.DesignGroup) d.Empty = 1;
  return page;
}

}  // namespace fixtures
