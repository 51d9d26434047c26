#include <gtest/gtest.h>

#include "music/ChordAnalysis.h"
#include "state/AppState.h"

namespace {

// A fingering in standard tuning from frets low string first, -1 = muted.
TChordDiagram fingering(std::array<int, 6> lowFirst, int root) {
  TChordDiagram c = startFingering();
  for (int i = 0; i < 6; ++i) {
    const int s = 5 - i;
    const int f = lowFirst[i];
    if (f < 0) {
      c.Strings[s] = {0, FingerCode::Muted};
      c.Notes[s] = 0;
    } else {
      c.Strings[s] = {static_cast<std::uint8_t>(f),
                      static_cast<std::uint8_t>(f == 0 ? FingerCode::Open : FingerCode::Fretted)};
      c.Notes[s] = static_cast<std::uint8_t>(c.Tuning[s] + f);
    }
  }
  c.Root = static_cast<std::uint8_t>(root);
  c.Bass = static_cast<std::uint8_t>(24 + root);
  return c;
}

std::vector<int> intervals(const TChordDiagram& c) {
  return std::vector<int>(std::begin(c.Intervals), std::end(c.Intervals));
}

}  // namespace

TEST(ComputeIntervals, EachPitchClassOnceRootFirstThenAscending) {
  TChordDiagram openC = fingering({-1, 3, 2, 0, 1, 0}, 0);  // C E G C E
  ComputeIntervals(openC, {});
  EXPECT_EQ(intervals(openC), (std::vector<int>{0, 4, 7, -1, -1, -1, -1}));
  // A rootless voicing still lists the root first.
  TChordDiagram rootless = fingering({-1, -1, 2, 0, 0, 0}, 0);  // E G B E over root C
  ComputeIntervals(rootless, {});
  EXPECT_EQ(intervals(rootless), (std::vector<int>{0, 4, 7, 11, -1, -1, -1}));
  // Six different notes fill the list.
  TChordDiagram six = startFingering();
  for (int s = 0; s < 6; ++s) six.Notes[s] = static_cast<std::uint8_t>(61 + s);
  ComputeIntervals(six, {});
  EXPECT_EQ(intervals(six), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST(ComputeIntervals, ExtensionFlagMovesTheIntervalUpAnOctaveAndBack) {
  TChordDiagram c = fingering({-1, 3, 2, 0, 3, 0}, 0);  // C E G D E: Cadd9
  ExtensionFlagSet flags{};
  ComputeIntervals(c, flags);
  EXPECT_EQ(intervals(c), (std::vector<int>{0, 2, 4, 7, -1, -1, -1}));
  flags[2] = true;
  ComputeIntervals(c, flags);
  EXPECT_EQ(intervals(c), (std::vector<int>{0, 4, 7, 14, -1, -1, -1}));
  EXPECT_EQ(intervalName(c.Intervals[3]), "9");
  flags[2] = false;
  ComputeIntervals(c, flags);
  EXPECT_EQ(intervalName(c.Intervals[1]), "2");
  // The highest interval that can move up: the 6th becomes the 13th.
  c = fingering({-1, 3, 2, 2, 3, 3}, 0);  // C E A D G: C6/9
  flags[2] = flags[9] = true;
  ComputeIntervals(c, flags);
  EXPECT_EQ(intervals(c), (std::vector<int>{0, 4, 7, 14, 21, -1, -1}));
}

TEST(ComputeIntervals, FlagsWithoutAnOctaveNameNeverLoseTheInterval) {
  // A stray flag on the 3rd or the 7th must not drop or misname them.
  TChordDiagram c = fingering({-1, 3, 2, 4, 1, -1}, 0);  // C E B E
  ExtensionFlagSet flags{};
  flags[4] = flags[11] = true;
  ComputeIntervals(c, flags);
  EXPECT_EQ(intervals(c), (std::vector<int>{0, 4, 11, -1, -1, -1, -1}));
}

TEST(BaseFret, FollowsTheDiagramRows) {
  EXPECT_EQ(baseFretFor(fingering({-1, -1, 2, 4, 3, 2}, 0)), 1);  // frets 2..4
  EXPECT_EQ(baseFretFor(fingering({5, 7, 7, 6, 5, 5}, 0)), 5);    // 5..7
  EXPECT_EQ(baseFretFor(fingering({-1, 8, 7, 5, 6, 5}, 0)), 5);   // 5..8
  EXPECT_EQ(baseFretFor(fingering({17, 19, 19, 18, 17, 20}, 0)), 17);
  EXPECT_EQ(baseFretFor(fingering({-1, 3, 5, 7, -1, -1}, 0)), 3);  // spans 3 and 7
  EXPECT_EQ(baseFretFor(fingering({0, 0, 0, 0, 0, 0}, 0)), 1);     // all open
  EXPECT_EQ(baseFretFor(fingering({-1, -1, -1, -1, -1, 22}, 0)), 17);
}

TEST(ChordNames, FormulaIsEveryLabelWithASpaceCutToTwenty) {
  EXPECT_EQ(formulaFromLabels({"1", "3", "5", "", "", "", ""}), "1 3 5     ");
  EXPECT_EQ(formulaFromLabels({"1", "b3", "b5", "b7", "#9", "#11", "b13"}), "1 b3 b5 b7 #9 #11 b1");
}

TEST(FretboardHit, BandsOfStringsAndFrets) {
  EXPECT_TRUE(FretboardHit::inside(5, 9));
  EXPECT_TRUE(FretboardHit::inside(744, 105));
  for (const auto& [x, y] : {std::pair{4, 50}, {745, 50}, {100, 8}, {100, 106}})
    EXPECT_FALSE(FretboardHit::inside(x, y)) << x << ", " << y;
  for (auto [y, s] : {std::pair{24, 0}, {25, 1}, {41, 1}, {42, 2}, {89, 4}, {90, 5}, {105, 5}})
    EXPECT_EQ(FretboardHit::stringAt(y), s) << "y=" << y;
  for (auto [x, f] : {std::pair{5, 0}, {30, 0}, {31, 1}, {727, 21}, {728, 22}, {744, 22}})
    EXPECT_EQ(FretboardHit::fretAt(x), f) << "x=" << x;
}

TEST(FretboardHit, IntervalReadoutNamesBothOctaves) {
  EXPECT_EQ(FretboardHit::intervalReadout(0), "1");
  EXPECT_EQ(FretboardHit::intervalReadout(6), "b5 / #11");
  EXPECT_EQ(FretboardHit::intervalReadout(11), "7");
  // Fret 2 of the B string (C#) over root A is a major third.
  EXPECT_EQ(FretboardHit::intervalReadout(intervalAbove(59 + 2, 9)), "3");
}
