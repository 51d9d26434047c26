#pragma once

#include <array>
#include <string_view>

// Pitch and note names of the neck, and the naming mode in force.
// Every display of a note, key, root, bass or tuning reads the current
// tables (PitchNames, NoteNames), which are copies of either the flat or the
// sharp constant tables; the mode starts as flats.

inline constexpr int LowestNote = 33;   // A1
inline constexpr int HighestNote = 69;  // A4
inline constexpr int NeckNoteCount = HighestNote - LowestNote + 1;

using PitchNameTable = std::array<std::string_view, 12>;
using NoteNameTable = std::array<std::string_view, NeckNoteCount>;

extern const NoteNameTable FlatNoteNames;
extern const NoteNameTable SharpNoteNames;
extern const PitchNameTable SharpPitchNames;
extern const PitchNameTable FlatPitchNames;
// Indexed by semitones above the root, 0 to 23; the same in both modes.
extern const std::array<std::string_view, 24> IntervalNames;

// Pitch class 0..11 of any note number or interval, also for negative values.
constexpr int pitchClass(int n) {
  return ((n % 12) + 12) % 12;
}

class NameTables {
 public:
  NameTables() { setSharps(false); }

  bool sharps() const { return Sharps; }
  void setSharps(bool sharps);
  // Switches flats to sharps or back; returns true when sharps are now in force.
  bool toggle();

  // The same names for what sounds `semitones` above what is fretted, as a
  // capo makes it: pitch p is named as p + semitones. Note names keep
  // naming the notes as tuned.
  NameTables shiftedBy(int semitones) const;

  // Name of pitch class p; any integer is taken mod 12.
  std::string_view pitchName(int p) const { return PitchNames[pitchClass(p)]; }
  // Name of note number n on the neck (33..69); empty outside the neck.
  std::string_view noteName(int n) const;

  PitchNameTable PitchNames{};
  NoteNameTable NoteNames{};

 private:
  bool Sharps = false;
};

// Name of an interval of 0..23 semitones; empty outside the table.
std::string_view intervalName(int semitones);
