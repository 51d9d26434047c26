#include <gtest/gtest.h>

#include <vector>

#include "design/UserChords.h"

namespace {

IntervalTicks ticks(std::initializer_list<int> boxes) {
  IntervalTicks t{};
  t[0] = true;
  for (int b : boxes) t[static_cast<std::size_t>(b)] = true;
  return t;
}

std::vector<int> entries(const TChordFormula& f) {
  std::vector<int> v;
  for (auto e : f.Intervals) v.push_back(e);
  return v;
}

}  // namespace

TEST(UserChordBoxes, FormulaTextAndIntervalsFollowBoxOrder) {
  // b3, 5 and b7 ticked: a minor seventh.
  const IntervalTicks m7 = ticks({3, 7, 10});
  EXPECT_EQ(userChordFormulaText(m7), "1 b3 5 b7");
  EXPECT_EQ(userChordIntervals(m7), (UserIntervals{0, 3, 7, 10, 255, 255, 255}));
  EXPECT_TRUE(anyIntervalTicked(m7));

  // Ticks come in box order whatever order they were made in; extensions
  // keep their compound semitone counts.
  const IntervalTicks wide = ticks({18, 12, 16, 4});
  EXPECT_EQ(userChordFormulaText(wide), "1 3 b9 #11 13");
  EXPECT_EQ(userChordIntervals(wide), (UserIntervals{0, 4, 13, 18, 21, 255, 255}));

  EXPECT_EQ(userChordFormulaText(ticks({})), "1");
  EXPECT_FALSE(anyIntervalTicked(ticks({})));
}

TEST(UserChordBoxes, NoMoreThanSixIntervalsAreStored) {
  // Only a damaged caller ticks seven; the list still holds six.
  const auto list = userChordIntervals(ticks({1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(list, (UserIntervals{0, 1, 2, 3, 4, 5, 6}));
}

TEST(UserChordFormula, ASoundSectionReadsAsStored) {
  const TChordFormula f = userChordFormula("my m7", "1 b3 5 b7", {0, 3, 7, 10, 255, 255, 255});
  EXPECT_EQ(f.Name, "my m7");
  EXPECT_EQ(f.Formula, "1 b3 5 b7");
  EXPECT_EQ(entries(f), (std::vector<int>{0, 3, 7, 10, -1, -1, -1}));
}

TEST(UserChordFormula, DamagedSectionsKeepOnlyUsableRisingIntervals) {
  // Out of range, falling, repeated and a gap: only 3, 9 and 21 survive.
  TChordFormula f = userChordFormula("x", "", {7, 3, 40, 2, 9, 9, 21});
  EXPECT_EQ(entries(f), (std::vector<int>{0, 3, 9, 21, -1, -1, -1}));
  // A gap of 255 does not hide what follows; negatives and 0 are dropped.
  f = userChordFormula("x", "", {0, 255, -4, 0, 7, 255, 14});
  EXPECT_EQ(entries(f), (std::vector<int>{0, 7, 14, -1, -1, -1, -1}));
  // Six intervals fill the list with no end marker.
  f = userChordFormula("x", "", {0, 1, 2, 3, 4, 5, 6});
  EXPECT_EQ(entries(f), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  // Every interval damaged: the root alone.
  f = userChordFormula("x", "", {99, 300, 255, 255, 255, 255, 255});
  EXPECT_EQ(entries(f), (std::vector<int>{0, -1, -1, -1, -1, -1, -1}));
}

TEST(UserChordFormula, LongTextsAreCut) {
  const TChordFormula f = userChordFormula("a name far too long", "1 b2 2 b3 3 4 b5 5 #5 6",
                                           {0, 255, 255, 255, 255, 255, 255});
  EXPECT_EQ(f.Name, "a name far too ");
  EXPECT_EQ(f.Formula, "1 b2 2 b3 3 4 b5 5 #");
}

TEST(TypedChordType, RootAndSlashBassAreDropped) {
  EXPECT_EQ(typedChordType("F#m7/A"), "m7");
  EXPECT_EQ(typedChordType("6/9"), "6/9");
  EXPECT_EQ(typedChordType("Bb"), "");
  EXPECT_EQ(typedChordType("  C maj7 /E"), "maj7 ");
  EXPECT_EQ(typedChordType("Dm/"), "m");
  EXPECT_EQ(typedChordType("Eb 6/9"), "6/9");
  EXPECT_EQ(typedChordType("G7/ b9"), "7");
  EXPECT_FALSE(typedChordType("   "));
  EXPECT_FALSE(typedChordType(""));
  EXPECT_EQ(typedChordType("Am7(add11)(b13)x"), "m7(add11)(b13)x");
  EXPECT_EQ(typedChordType("sus4 with more words"), "sus4 with more ");
}
