#include <gtest/gtest.h>

#include "music/PageSizes.h"
#include "pages/KeyStep.h"
#include "play/PlayPageModel.h"

using KeyStep::Key;

namespace {
SmallCell at(int c, int r) {
  return {c, r};
}
}  // namespace

TEST(KeyStepTest, ArrowsWalkTheGridAndStopAtItsEnds) {
  // Left and Right run on across rows in reading order.
  EXPECT_EQ(KeyStep::step(at(5, 0), Key::Right, 6, 3), at(0, 1));
  EXPECT_EQ(KeyStep::step(at(0, 1), Key::Left, 6, 3), at(5, 0));
  EXPECT_EQ(KeyStep::step(at(5, 2), Key::Right, 6, 3), at(5, 2));
  EXPECT_EQ(KeyStep::step(at(0, 0), Key::Left, 6, 3), at(0, 0));
  // Up and Down keep the column and stop at the first and last row.
  EXPECT_EQ(KeyStep::step(at(3, 1), Key::Down, 6, 3), at(3, 2));
  EXPECT_EQ(KeyStep::step(at(3, 2), Key::Down, 6, 3), at(3, 2));
  EXPECT_EQ(KeyStep::step(at(3, 0), Key::Up, 6, 3), at(3, 0));
  EXPECT_EQ(KeyStep::step(at(3, 1), Key::Home, 6, 3), at(0, 1));
  EXPECT_EQ(KeyStep::step(at(3, 1), Key::End, 6, 3), at(5, 1));
  EXPECT_EQ(KeyStep::step(at(3, 1), Key::Enter, 6, 3), at(3, 1));
  // Nothing chosen (or a choice the page no longer has): the first cell.
  EXPECT_EQ(KeyStep::step(at(-1, -1), Key::End, 6, 3), at(0, 0));
  EXPECT_EQ(KeyStep::step(at(2, 4), Key::Up, 6, 3), at(0, 0));
  // An empty page has nothing to choose.
  EXPECT_FALSE(KeyStep::step(at(0, 0), Key::Right, 6, 0).has_value());
}

TEST(KeyStepTest, PressPointsLandInTheCellTheyAreFor) {
  for (const SmallPage page : {SmallPage::Chords, SmallPage::Scales, SmallPage::Print})
    for (int r = 0; r < SmallGeometry::Rows; ++r)
      for (int c = 0; c < SmallGeometry::Columns; ++c) {
        const PagePoint p = KeyStep::smallPagePoint(page, at(c, r));
        EXPECT_EQ(SmallGeometry::cellAt(page, p.X, p.Y), std::optional(at(c, r)));
      }
  for (int r = 0; r < PlayPageRows; ++r)
    for (int c = 0; c < PlayPageColumns; ++c) {
      const PagePoint p = KeyStep::playPagePoint(at(c, r));
      const std::optional<PlaySlot> slot = playSlotAt(p.X, p.Y);
      ASSERT_TRUE(slot.has_value());
      EXPECT_EQ(slot->Column, c);
      EXPECT_EQ(slot->Row, r);
    }
}

TEST(KeyStepTest, WhilePlacingArrowsAimAndOnlyEnterPresses) {
  KeyStep::Cursor keys;
  // Normally every key presses where the choice goes.
  auto out = keys.key(Key::Right, at(1, 0), false, 6, 5);
  EXPECT_EQ(out.Press, std::optional(at(2, 0)));
  EXPECT_FALSE(out.Target.has_value());
  // Placing: the arrows move a target from the choice, without a press.
  out = keys.key(Key::Down, at(1, 0), true, 6, 5);
  EXPECT_FALSE(out.Press.has_value());
  EXPECT_EQ(out.Target, std::optional(at(1, 1)));
  out = keys.key(Key::Right, at(1, 0), true, 6, 5);
  EXPECT_EQ(out.Target, std::optional(at(2, 1)));
  out = keys.key(Key::Enter, at(1, 0), true, 6, 5);
  EXPECT_EQ(out.Press, std::optional(at(2, 1)));
  EXPECT_FALSE(out.Target.has_value());
  // Aiming goes on from where Enter pressed, whatever the choice is.
  out = keys.key(Key::Left, at(4, 4), true, 6, 5);
  EXPECT_EQ(out.Target, std::optional(at(1, 1)));
  // Placing given up: the keys choose again, from the choice.
  out = keys.key(Key::Left, at(4, 4), false, 6, 5);
  EXPECT_EQ(out.Press, std::optional(at(3, 4)));
}
