#include <gtest/gtest.h>

#include <cstring>

#include "music/DiagramConvert.h"
#include "state/AppState.h"

namespace {

// A barre F major with a 15-character name and a G bass.
TChordDiagram barreChord() {
  TChordDiagram c = startFingering();
  c.ChordName = "maj7(#11)addXYZ";
  c.TuningName = "Standard";
  c.Formula = "1 3 5 7 #11 13 b9 99";
  const TStringFinger strings[6] = {{1, 1}, {1, 1}, {2, 2}, {3, 4}, {3, 3}, {1, 1}};
  std::memcpy(c.Strings, strings, sizeof strings);
  const std::int8_t intervals[7] = {0, 4, 7, 11, 18, -1, -1};
  std::memcpy(c.Intervals, intervals, sizeof intervals);
  for (int s = 0; s < 6; ++s)
    c.Notes[s] = static_cast<std::uint8_t>(c.Tuning[s] + c.Strings[s].Fret);
  c.BaseFret = 1;
  c.Root = 5;
  c.Bass = 24 + 7;
  return c;
}

TScaleDiagram lydianScale() {
  TScaleDiagram s{};
  s.Empty = 0;
  s.ScaleName = "Jazz/Melodic Minor (JM)";
  s.TuningName = "D A D G B E ";
  s.Formula = "1 2 b3 4 5 6 7";
  const std::uint8_t tuning[6] = {64, 59, 55, 50, 45, 38};
  std::memcpy(s.Tuning, tuning, 6);
  const std::uint8_t degrees[10] = {0, 2, 3, 5, 7, 9, 11, 99, 99, 99};
  std::memcpy(s.Intervals, degrees, 10);
  const std::uint8_t starts[6] = {1, 4, 7, 10, 13, 17};
  std::memcpy(s.StartFrets, starts, 6);
  s.Root = 9;
  return s;
}

}  // namespace

TEST(DiagramConvert, ChordSurvivesTheTripThroughThePrintPage) {
  const TChordDiagram chord = barreChord();
  TPrintDiagram item{};
  chordToPrintItem(chord, item);
  EXPECT_EQ(item.IsChord, 1);
  EXPECT_EQ(item.Name.str(), "maj7(#11)addXYZ");
  // A chord's list keeps its own end marker in the three extra places.
  EXPECT_EQ(item.Intervals[4], 18);
  EXPECT_EQ(item.Intervals[7], -1);
  EXPECT_EQ(item.Intervals[9], -1);

  TChordDiagram back{};
  printItemToChord(item, back);
  EXPECT_EQ(std::memcmp(&back, &chord, sizeof chord), 0);
  EXPECT_EQ(back.Bass, 31);
  EXPECT_EQ(back.Strings[3].Finger, 4);

  TChordDiagram empty = chord;
  empty.Empty = 1;
  chordToPrintItem(empty, item);
  EXPECT_TRUE(isEmpty(item)) << "the empty flag travels with the record";
}

TEST(DiagramConvert, LongPrintNameIsCutWhenItBecomesAChord) {
  TPrintDiagram item{};
  item.IsChord = 1;
  item.Name = "a name of twenty-six chars";
  item.Formula = "1 3 5 b7 9 #11 13 b13 x";
  TChordDiagram chord{};
  printItemToChord(item, chord);
  EXPECT_EQ(chord.ChordName.str(), "a name of twent");
  EXPECT_EQ(chord.Formula.str(), "1 3 5 b7 9 #11 13 b1");
}

TEST(DiagramConvert, ScaleFromPositionThreeComesBackWithThatStartFretEverywhere) {
  const TScaleDiagram scale = lydianScale();
  TPrintDiagram item{};
  scaleToPrintItem(scale, item);
  item.BaseFret = scale.StartFrets[3];  // the sender's part
  EXPECT_EQ(item.IsChord, 0);
  EXPECT_EQ(item.Name.str(), "Jazz/Melodic Minor (JM)");
  EXPECT_EQ(item.Intervals[7], 99);  // not turned into a chord end marker

  TScaleDiagram back{};
  printItemToScale(item, back);
  EXPECT_EQ(back.ScaleName.str(), "Jazz/Melodic Minor (JM)");
  EXPECT_EQ(back.TuningName.str(), "D A D G B E ");
  EXPECT_EQ(back.Formula.str(), scale.Formula.str());
  EXPECT_EQ(std::memcmp(back.Intervals, scale.Intervals, 10), 0);
  EXPECT_EQ(std::memcmp(back.Tuning, scale.Tuning, 6), 0);
  EXPECT_EQ(back.Root, 9);
  for (auto f : back.StartFrets) EXPECT_EQ(f, 10);
}

TEST(DiagramConvert, ScaleLeavesTheChordOnlyFieldsOfTheItemAlone) {
  TPrintDiagram item{};
  chordToPrintItem(barreChord(), item);
  scaleToPrintItem(lydianScale(), item);
  EXPECT_EQ(item.IsChord, 0);
  EXPECT_EQ(item.Bass, 31);
  EXPECT_EQ(item.Strings[3].Fret, 3);
}
