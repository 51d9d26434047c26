// The design group as the Chord Design tab works it: what each press and
// pop-up command asks, draws and names as an edit. Undo of these edits is
// tested over the Workbench with the other pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Tagged.h"
#include "design/DesignGroupModel.h"
#include "design/FingeringEditor.h"

namespace {

TChordDiagram none() {
  TChordDiagram d{};
  d.Empty = 1;
  return d;
}

int tagOf(const TChordDiagram& d) {
  return isEmpty(d) ? -1 : d.BaseFret - 1;
}

struct GroupModel : ::testing::Test {
  TChordDiagram Slots[6];
  TChordDiagram InHand = tagged(50);
  TChordDiagram Buffer{};
  DesignGroupModel Model{Slots, InHand, Buffer};

  explicit GroupModel(int filled = 0) { fill(filled); }
  void fill(int n) {
    for (int s = 0; s < 6; ++s) Slots[s] = s < n ? tagged(s) : none();
  }
  std::vector<int> tags() const {
    std::vector<int> t;
    for (const auto& d : Slots) t.push_back(tagOf(d));
    return t;
  }
};

std::vector<int> drawn(const GroupUpdate& u) {
  std::vector<int> s;
  for (const auto& d : u.Draws)
    if (d.Picture) s.push_back(d.Slot);
  return s;
}

TEST_F(GroupModel, APressSelectsAHeldSlotAndARightPressOpensTheMenuWithoutAnEdit) {
  fill(3);
  GroupUpdate u = Model.press(1, false);
  EXPECT_EQ(Model.selected(), 1);
  EXPECT_TRUE(u.ShowInHand);
  EXPECT_EQ(tagOf(InHand), 1);
  EXPECT_TRUE(u.Edit.empty());
  EXPECT_TRUE(Model.press(4, false).Draws.empty());
  EXPECT_EQ(Model.pressed(), 4);
  u = Model.press(2, true);
  EXPECT_TRUE(u.PopupMenu);
  EXPECT_EQ(Model.pressed(), 2);
  EXPECT_EQ(Model.selected(), 1);
}

TEST_F(GroupModel, PlacingAsksBeforeReplacingAndGoesOnAfterNo) {
  fill(2);
  EXPECT_EQ(Model.receive(tagged(9)).Pointer, GroupPointer::Placing);
  GroupUpdate u = Model.press(1, false);
  EXPECT_EQ(u.Ask, GroupQuestion::Replace);
  EXPECT_TRUE(u.Edit.empty());
  EXPECT_EQ(tagOf(Slots[1]), 1);
  EXPECT_EQ(Model.mode(), GroupMode::Placing);
  u = Model.press(1, false, true);
  EXPECT_EQ(tags(), (std::vector<int>{0, 9, -1, -1, -1, -1}));
  EXPECT_EQ(u.Pointer, GroupPointer::Normal);
  EXPECT_EQ(tagOf(InHand), 9);
  EXPECT_EQ(u.Edit, "Place Chord");
  // A right press ends placing with nothing placed; so does an empty buffer.
  Model.receive(tagged(8));
  Model.press(3, true);
  EXPECT_EQ(Model.mode(), GroupMode::Normal);
  Model.receive(none());
  EXPECT_TRUE(Model.press(3, false).Edit.empty());
  EXPECT_FALSE(Model.holds(3));
}

TEST_F(GroupModel, AMoveLiftsTheDiagramUntilItLandsAndCancelledPutsItBack) {
  fill(6);
  Model.press(1, true);
  GroupUpdate u = Model.chooseMove();
  EXPECT_EQ(Model.lifted(), 1);
  EXPECT_EQ(u.Pointer, GroupPointer::Moving);
  EXPECT_TRUE(isEmpty(Model.shown(1)));
  EXPECT_EQ(tagOf(Slots[1]), 1);  // the page is untouched while it waits
  EXPECT_EQ(drawn(Model.cancel()), std::vector<int>{1});

  Model.press(1, true);
  Model.chooseMove();
  u = Model.press(4, true);  // any button lands it
  EXPECT_EQ(tags(), (std::vector<int>{5, 0, 2, 3, 1, 4}));
  EXPECT_EQ(Model.selected(), 4);
  EXPECT_EQ(u.Edit, "Move Chord");
  // Onto a free slot nothing else shifts; back home is no edit.
  Slots[2].Empty = 1;
  Model.press(0, true);
  Model.chooseMove();
  Model.press(2, false);
  EXPECT_EQ(tags(), (std::vector<int>{-1, 0, 5, 3, 1, 4}));
  Model.press(3, true);
  Model.chooseMove();
  EXPECT_TRUE(Model.press(3, false).Edit.empty());
}

TEST_F(GroupModel, DeleteAsksAndTheFrameGoesToTheFirstRemaining) {
  fill(4);
  Model.press(2, false);
  Model.press(2, true);
  EXPECT_EQ(Model.chooseDelete(false).Ask, GroupQuestion::Erase);
  EXPECT_TRUE(Model.holds(2));
  GroupUpdate u = Model.chooseDelete(true);
  EXPECT_FALSE(Model.holds(2));
  EXPECT_TRUE(u.ForgetFrame);
  EXPECT_EQ(Model.selected(), 0);
  EXPECT_EQ(tagOf(InHand), 0);
  EXPECT_EQ(u.Edit, "Delete Chord");
  // A free slot has nothing to delete or move.
  Model.press(5, true);
  EXPECT_EQ(Model.chooseDelete(false).Ask, GroupQuestion::None);
  Model.chooseMove();
  EXPECT_EQ(Model.mode(), GroupMode::Normal);
}

TEST_F(GroupModel, ShowChordsAsksAboutUnsavedWorkAndAFailedReadKeepsTheGroup) {
  const std::string dir = std::string(STRUMBO_TEST_PROGRAM_DIR) + "/";
  fill(2);
  EXPECT_EQ(Model.showChords(dir, 2, 0, true, false).Ask, GroupQuestion::SaveFirst);
  GroupUpdate u = Model.showChords(dir + "missing/", 2, 0, true, true);
  EXPECT_NE(u.Read.Status, LibraryStatus::Ok);
  EXPECT_TRUE(u.Edit.empty());
  EXPECT_EQ(tags(), (std::vector<int>{0, 1, -1, -1, -1, -1}));
  u = Model.showChords(dir, 2, 0, false, false);
  ASSERT_EQ(u.Read.Status, LibraryStatus::Ok);
  for (const auto& d : Slots) EXPECT_EQ(d.ChordName.view(), "maj7");
  EXPECT_EQ(drawn(u), (std::vector<int>{5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(u.Edit, "Show Chords");
}

TEST_F(GroupModel, ADroppedFingeringTakesTheTuningNameOnShowNotAField) {
  fill(1);
  ExtensionFlagSet flags{};
  NameTables names;
  InHand = TChordDiagram{};
  std::copy(StandardTuning.begin(), StandardTuning.end(), InHand.Tuning);
  for (auto& string : InHand.Strings) string = {0, FingerCode::Muted};
  FingeringEditor editor(InHand, flags, names);
  editor.press(0, 3, FingerCode::Fretted, false);
  editor.showTuningName("Drop D");
  const auto name = [&] { editor.nameForGroup(); };
  EXPECT_EQ(Model.dropInHand(0, false, name).Ask, GroupQuestion::Replace);
  EXPECT_EQ(Model.dropInHand(3, false, name).Edit, "Drop Chord");
  EXPECT_EQ(Slots[3].TuningName.view(), "Drop D");
  // No name on show: the six string names, low string first, cut to 15.
  editor.showTuningName("");
  Model.dropInHand(4, false, name);
  EXPECT_EQ(Slots[4].TuningName.view(), "E2 A2 D3 G3 B3 ");
}

}  // namespace
