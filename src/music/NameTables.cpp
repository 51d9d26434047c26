#include "music/NameTables.h"

const NoteNameTable FlatNoteNames = {
    "A1",  "Bb1", "B1",  "C2",  "Db2", "D2",  "Eb2", "E2",  "F2",  "Gb2", "G2",  "Ab2", "A2",
    "Bb2", "B2",  "C3",  "Db3", "D3",  "Eb3", "E3",  "F3",  "Gb3", "G3",  "Ab3", "A3",  "Bb3",
    "B3",  "C4",  "Db4", "D4",  "Eb4", "E4",  "F4",  "Gb4", "G4",  "Ab4", "A4"};

const NoteNameTable SharpNoteNames = {
    "A1",  "A#1", "B1",  "C2",  "C#2", "D2",  "D#2", "E2",  "F2",  "F#2", "G2",  "G#2", "A2",
    "A#2", "B2",  "C3",  "C#3", "D3",  "D#3", "E3",  "F3",  "F#3", "G3",  "G#3", "A3",  "A#3",
    "B3",  "C4",  "C#4", "D4",  "D#4", "E4",  "F4",  "F#4", "G4",  "G#4", "A4"};

const PitchNameTable SharpPitchNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                        "F#", "G",  "G#", "A",  "A#", "B"};

const PitchNameTable FlatPitchNames = {"C",  "Db", "D",  "Eb", "E",  "F",
                                       "Gb", "G",  "Ab", "A",  "Bb", "B"};

const std::array<std::string_view, 24> IntervalNames = {
    "1", "b2", "2", "b3", "3", "4",  "b5",  "5", "#5",  "6",  "b7", "7",
    "",  "b9", "9", "#9", "",  "11", "#11", "",  "b13", "13", "",   ""};

void NameTables::setSharps(bool sharps) {
  Sharps = sharps;
  PitchNames = sharps ? SharpPitchNames : FlatPitchNames;
  NoteNames = sharps ? SharpNoteNames : FlatNoteNames;
}

NameTables NameTables::shiftedBy(int semitones) const {
  NameTables shifted = *this;
  for (int p = 0; p < 12; ++p)
    shifted.PitchNames[static_cast<std::size_t>(p)] = pitchName(p + semitones);
  return shifted;
}

bool NameTables::toggle() {
  setSharps(!Sharps);
  return Sharps;
}

std::string_view NameTables::noteName(int n) const {
  if (n < LowestNote || n > HighestNote) return {};
  return NoteNames[static_cast<std::size_t>(n - LowestNote)];
}

std::string_view intervalName(int semitones) {
  if (semitones < 0 || semitones >= static_cast<int>(IntervalNames.size())) return {};
  return IntervalNames[static_cast<std::size_t>(semitones)];
}
