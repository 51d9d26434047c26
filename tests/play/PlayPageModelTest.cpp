#include <gtest/gtest.h>

#include "play/PlayPageModel.h"

TEST(PlayPageGeometry, HitTestTakesTheMarginsIntoTheFirstColumnAndRow) {
  auto at = [](int x, int y) {
    auto s = playSlotAt(x, y);
    return s ? std::make_pair(s->Column, s->Row) : std::make_pair(-1, -1);
  };
  EXPECT_EQ(at(5, 5), std::make_pair(0, 0));
  EXPECT_EQ(at(82, 151), std::make_pair(0, 0));
  EXPECT_EQ(at(83, 152), std::make_pair(1, 1));
  EXPECT_EQ(at(20 + 63 * 11 + 10, 20 + 132 * 5 + 10), std::make_pair(11, 5));
  EXPECT_EQ(at(100, 811), std::make_pair(1, 5));
  EXPECT_EQ(at(100, 812), std::make_pair(-1, -1));
  EXPECT_EQ(at(20 + 63 * 12, 100), std::make_pair(-1, -1));
  EXPECT_EQ(at(-1, 100), std::make_pair(-1, -1));
}

TEST(PlayPageGeometry, BarsOfBothTimeSignatures) {
  EXPECT_EQ(PlayBars::barCount(false), 9);
  EXPECT_EQ(PlayBars::barCount(true), 12);
  // 4/4: bar 3 starts at row 1 column 4, bar 9 at row 5 column 4.
  EXPECT_EQ(PlayBars::firstSlotOfBar(2, false), PlayBars::slotNumber(4, 1));
  EXPECT_EQ(PlayBars::firstSlotOfBar(8, false), PlayBars::slotNumber(4, 5));
  EXPECT_EQ(PlayBars::barOfSlot(PlayBars::slotNumber(3, 1), false),
            1);  // bar 2 runs over the row end
  EXPECT_EQ(PlayBars::barOfSlot(PlayBars::slotNumber(6, 0), true), 1);
  EXPECT_EQ(PlayBars::barOfSlot(71, true), 11);
}

TEST(PlayPageGeometry, StartMarkerGoesOnlyToBarStarts) {
  auto target = [](int c, int r, bool threeFour) {
    auto s = startMarkerTarget(c, r, threeFour);
    return s ? std::make_pair(s->Column, s->Row) : std::make_pair(-1, -1);
  };
  // 4/4
  EXPECT_EQ(target(4, 1, false), std::make_pair(4, 1));
  EXPECT_EQ(target(5, 1, false), std::make_pair(4, 1));
  EXPECT_EQ(target(0, 1, false), std::make_pair(-1, -1));
  EXPECT_EQ(target(1, 2, false), std::make_pair(0, 2));
  EXPECT_EQ(target(9, 4, false), std::make_pair(8, 4));
  EXPECT_EQ(target(6, 0, false), std::make_pair(-1, -1));
  // 3/4
  EXPECT_EQ(target(1, 3, true), std::make_pair(0, 3));
  EXPECT_EQ(target(7, 5, true), std::make_pair(6, 5));
  EXPECT_EQ(target(4, 1, true), std::make_pair(-1, -1));
  EXPECT_EQ(target(8, 0, true), std::make_pair(-1, -1));
}

TEST(RepeatMarks, CountTextIsClampedAndJunkRefused) {
  for (const auto& [text, count] : {std::pair{"", 1},
                                    {"0", 1},
                                    {"-3", 1},
                                    {"7", 7},
                                    {" 12 ", 12},
                                    {"255", 255},
                                    {"256", 255},
                                    {"99999999999999999999", 255}})
    EXPECT_EQ(repeatCountFromText(text), count) << "'" << text << "'";
  for (const char* junk : {"3x", "abc", "1.5"})
    EXPECT_FALSE(repeatCountFromText(junk).has_value()) << junk;
}

TEST(RepeatMarks, DialogOnBarOneAlwaysKeepsTheReturn) {
  PlayPageState p;
  p.loadActiveRepeatSet();
  RepeatChoice c = p.repeatChoice(0);
  c.Return = false;
  p.applyRepeatChoice(0, c, c.Loop);
  EXPECT_EQ(p.RepeatSet44.ReturnMark[0], 1);
}

TEST(RepeatMarks, RepeatCountAndCountdownAreSetTogetherAndUntickingClearsThem) {
  PlayPageState p;
  p.loadActiveRepeatSet();
  RepeatChoice c = p.repeatChoice(3);
  c.Repeat = true;
  c.Count = 4;
  p.applyRepeatChoice(3, c, false);
  EXPECT_EQ(p.RepeatSet44.RepeatCount[3], 4);
  EXPECT_EQ(p.RepeatSet44.RepeatsLeft[3], 4);
  c.Repeat = false;  // whatever the field holds
  p.applyRepeatChoice(3, c, false);
  EXPECT_EQ(p.RepeatSet44.RepeatCount[3], 0);
  EXPECT_EQ(p.RepeatSet44.RepeatsLeft[3], 0);
}

TEST(RepeatMarks, UntickingLoopMovesItToTheLastBarOnlyFromTheLoopedBar) {
  PlayPageState p;
  p.ThreeFour = true;
  p.loadActiveRepeatSet();
  RepeatChoice c = p.repeatChoice(4);
  c.Loop = true;
  p.applyRepeatChoice(4, c, false);
  EXPECT_EQ(p.RepeatSet34.LoopMark[4], 1);
  EXPECT_EQ(p.RepeatSet34.LoopMark[11], 0);

  // Unticked on another bar: nothing moves.
  RepeatChoice other = p.repeatChoice(2);
  EXPECT_FALSE(other.Loop);
  p.applyRepeatChoice(2, other, false);
  EXPECT_EQ(p.RepeatSet34.LoopMark[4], 1);

  // Unticked on the looped bar: back to the last bar (bar 12 in 3/4).
  c = p.repeatChoice(4);
  EXPECT_TRUE(c.Loop);
  c.Loop = false;
  p.applyRepeatChoice(4, c, true);
  EXPECT_EQ(p.RepeatSet34.LoopMark[4], 0);
  EXPECT_EQ(p.RepeatSet34.LoopMark[11], 1);
  // The 4/4 set was never touched.
  EXPECT_EQ(p.RepeatSet44.LoopMark[8], 1);
}
