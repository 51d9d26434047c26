#include <gtest/gtest.h>

#include "music/NameTables.h"
#include "music/Tuning.h"

TEST(NameTables, NeckRunsFromA1ToA4WithOctaveChangeAtC) {
  NameTables names;
  EXPECT_EQ(names.noteName(33), "A1");
  EXPECT_EQ(names.noteName(69), "A4");
  EXPECT_EQ(names.noteName(47), "B2");
  EXPECT_EQ(names.noteName(48), "C3");
  EXPECT_EQ(names.noteName(60), "C4");
  EXPECT_EQ(names.noteName(40), "E2");
  // Outside the neck there is no name rather than a stray table read.
  EXPECT_EQ(names.noteName(32), "");
  EXPECT_EQ(names.noteName(70), "");
  EXPECT_EQ(names.noteName(0), "");
}

TEST(NameTables, StartsInFlatsAndTogglesBothTablesTogether) {
  NameTables names;
  EXPECT_FALSE(names.sharps());
  EXPECT_EQ(names.pitchName(10), "Bb");
  EXPECT_EQ(names.noteName(34), "Bb1");
  EXPECT_TRUE(names.toggle());
  EXPECT_EQ(names.pitchName(10), "A#");
  EXPECT_EQ(names.pitchName(1), "C#");
  EXPECT_EQ(names.noteName(34), "A#1");
  EXPECT_EQ(names.PitchNames, SharpPitchNames);
  EXPECT_FALSE(names.toggle());
  EXPECT_EQ(names.pitchName(10), "Bb");
  EXPECT_EQ(names.NoteNames, FlatNoteNames);
}

TEST(NameTables, PitchNameOfAnyNoteNumberIsItsPitchClass) {
  NameTables names;
  EXPECT_EQ(names.pitchName(64), "E");
  EXPECT_EQ(names.pitchName(80), "Ab");  // fret 16 of the top string, past the neck range
  EXPECT_EQ(names.pitchName(-1), "B");
}

TEST(NameTables, IntervalNamesAreFixedAndHaveGaps) {
  EXPECT_EQ(intervalName(0), "1");
  EXPECT_EQ(intervalName(6), "b5");
  EXPECT_EQ(intervalName(8), "#5");
  EXPECT_EQ(intervalName(12), "");
  EXPECT_EQ(intervalName(14), "9");
  EXPECT_EQ(intervalName(18), "#11");
  EXPECT_EQ(intervalName(21), "13");
  EXPECT_EQ(intervalName(23), "");
  EXPECT_EQ(intervalName(24), "");
  EXPECT_EQ(intervalName(-1), "");
}

TEST(Tuning, StandardIsNamedOnlyWhenEveryStringMatches) {
  NameTables names;
  EXPECT_EQ(tuningName(StandardTuning, names), "Standard");
  Tuning byHand = {64, 59, 55, 50, 45, 40};
  EXPECT_EQ(tuningName(byHand, names), "Standard");
  Tuning octaveUp = {64, 59, 55, 50, 45, 52};  // string 5 an octave higher: same pitch names
  EXPECT_EQ(tuningName(octaveUp, names), "E A D G B E ");
}

TEST(Tuning, OtherTuningsListPitchNamesFromLowStringWithTrailingSpaces) {
  NameTables names;
  Tuning dropD = {64, 59, 55, 50, 45, 38};
  EXPECT_EQ(tuningName(dropD, names), "D A D G B E ");
  Tuning openEb = {63, 58, 54, 51, 46, 39};
  EXPECT_EQ(tuningName(openEb, names), "Eb Bb Eb Gb Bb Eb ");
  names.toggle();
  EXPECT_EQ(tuningName(openEb, names), "D# A# D# F# A# D# ");
}

TEST(Tuning, SoundingNotesAndIntervals) {
  EXPECT_EQ(soundingNote(StandardTuning, 0, 0), 64);
  EXPECT_EQ(soundingNote(StandardTuning, 5, 3), 43);
  EXPECT_EQ(soundingNote(StandardTuning, 0, 22), 86);
  EXPECT_EQ(intervalAbove(64, 0), 4);  // E over C: major third
  EXPECT_EQ(intervalAbove(60, 4), 8);  // C over E
  EXPECT_EQ(intervalAbove(43, 7), 0);
}

TEST(Tuning, ControlsWrapAtBothEndsOfTheNeck) {
  EXPECT_EQ(stepTuningNote(69, 1), 33);
  EXPECT_EQ(stepTuningNote(33, -1), 69);
  EXPECT_EQ(stepTuningNote(40, -2), 38);
}
