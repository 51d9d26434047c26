#pragma once

#include <array>
#include <cstdint>
#include <string>

class NameTables;

// Open-string note numbers of strings 0 (highest) to 5 (lowest).
using Tuning = std::array<std::uint8_t, 6>;

inline constexpr int StringCount = 6;
inline constexpr int HighestFret = 22;
inline constexpr Tuning StandardTuning = {64, 59, 55, 50, 45, 40};  // E4 B3 G3 D3 A2 E2

// "Standard" for the exact standard tuning; otherwise the pitch names of the
// open strings from string 5 up to string 0, each followed by one space.
std::string tuningName(const Tuning& tuning, const NameTables& names);

// The note string s sounds at fret f (0 = open).
constexpr int soundingNote(const Tuning& tuning, int s, int f) {
  return tuning[s] + f;
}

// Semitones (0..11) of note n above root pitch class r.
constexpr int intervalAbove(int n, int r) {
  return (((n - r) % 12) + 12) % 12;
}

// The tuning controls step 33..69 and wrap around at both ends.
constexpr int stepTuningNote(int note, int delta) {
  constexpr int span = 69 - 33 + 1;
  return 33 + ((((note - 33 + delta) % span) + span) % span);
}
