#include <gtest/gtest.h>

#include "music/NameTables.h"
#include "music/Tuning.h"

TEST(NameTables, NeckRunsFromA1ToA4AndBothTablesToggleTogether) {
  NameTables names;
  EXPECT_EQ(names.noteName(33), "A1");
  EXPECT_EQ(names.noteName(47), "B2");
  EXPECT_EQ(names.noteName(48), "C3");  // the octave changes at C
  EXPECT_EQ(names.noteName(69), "A4");
  // Outside the neck there is no name rather than a stray table read.
  for (int n : {0, 32, 70}) EXPECT_EQ(names.noteName(n), "") << n;
  // Any note number names its pitch class, negative ones too.
  EXPECT_EQ(names.pitchName(80), "Ab");
  EXPECT_EQ(names.pitchName(-1), "B");

  EXPECT_FALSE(names.sharps());
  EXPECT_EQ(names.noteName(34), "Bb1");
  EXPECT_TRUE(names.toggle());
  EXPECT_EQ(names.pitchName(10), "A#");
  EXPECT_EQ(names.noteName(34), "A#1");
  EXPECT_FALSE(names.toggle());
  EXPECT_EQ(names.pitchName(10), "Bb");
  EXPECT_EQ(names.noteName(34), "Bb1");
}

TEST(NameTables, IntervalNamesHaveGapsAndNothingOutsideTheTable) {
  EXPECT_EQ(intervalName(8), "#5");
  EXPECT_EQ(intervalName(14), "9");
  for (int gap : {-1, 12, 23, 24}) EXPECT_EQ(intervalName(gap), "") << gap;
}

TEST(Tuning, StandardIsNamedOnlyWhenEveryStringMatchesElsePitchNamesFromTheLowString) {
  NameTables names;
  EXPECT_EQ(tuningName(Tuning{64, 59, 55, 50, 45, 40}, names), "Standard");
  // String 5 an octave higher: the same pitch names, but not standard.
  EXPECT_EQ(tuningName(Tuning{64, 59, 55, 50, 45, 52}, names), "E A D G B E ");
  const Tuning openEb = {63, 58, 54, 51, 46, 39};
  EXPECT_EQ(tuningName(openEb, names), "Eb Bb Eb Gb Bb Eb ");
  names.toggle();
  EXPECT_EQ(tuningName(openEb, names), "D# A# D# F# A# D# ");
}

TEST(Tuning, SoundingNotesIntervalsAndControlsWrappingAtTheNecksEnds) {
  EXPECT_EQ(soundingNote(StandardTuning, 5, 3), 43);
  EXPECT_EQ(soundingNote(StandardTuning, 0, 22), 86);
  EXPECT_EQ(intervalAbove(64, 0), 4);  // E over C: major third
  EXPECT_EQ(intervalAbove(60, 4), 8);  // C over E
  EXPECT_EQ(stepTuningNote(69, 1), 33);
  EXPECT_EQ(stepTuningNote(33, -1), 69);
  EXPECT_EQ(stepTuningNote(40, -2), 38);
}
