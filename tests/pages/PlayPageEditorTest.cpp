// The play page as a model: what each press and pop-up command does to the
// slots, the repeat sets and the hand, and the edit it names. Undo of these
// edits is tested over the Workbench with the other pages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../state/TestChords.h"
#include "pages/PlayPageEditor.h"

namespace {

using B = PlayPageEditor::Button;

bool same(const TChordDiagram& a, const TChordDiagram& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

bool hasSlot(const PlayPageUpdate& u, int c, int r) {
  for (const PlaySlot& s : u.Slots)
    if (s.Column == c && s.Row == r) return true;
  return false;
}

// The page's state and its model, with the last edit each intent named.
struct Page {
  AppState St;
  PlayPageEditor Ed{St.PlayPage, St.Play, St.MoveBuffer};

  Page() { St.Play.loadActiveRepeatSet(); }
  void place(const TChordDiagram& d, int c, int r) {
    Ed.takeInHand(d);
    Ed.press({c, r}, B::Left, false);
  }
  void select(int c, int r) { Ed.press({c, r}, B::Right, false); }
};

}  // namespace

TEST(PlayPagePlacing, CtrlKeepsTheChordInHandUntilARightPressEndsTheSeries) {
  Page p;
  const TChordDiagram g = chordNamed("7", 7);
  EXPECT_EQ(p.Ed.takeInHand(g).Pointer, PlayPointer::Sent);
  for (int c : {0, 4, 8}) {
    const PlayPageUpdate u = p.Ed.press({c, 0}, B::Left, true);
    EXPECT_FALSE(u.Pointer.has_value());
    EXPECT_TRUE(hasSlot(u, c, 0));
    EXPECT_EQ(u.Edit, "Place Chord") << "each Ctrl placement is a step of its own";
  }
  EXPECT_TRUE(p.Ed.placing());
  EXPECT_EQ(p.Ed.press({0, 1}, B::Right, false).Pointer, PlayPointer::Normal);
  EXPECT_FALSE(p.Ed.placing());
  EXPECT_TRUE(same(p.St.PlayPage[4][0], g) && same(p.St.PlayPage[8][0], g));
  EXPECT_TRUE(isEmpty(p.St.PlayPage[0][1]));

  // A plain press places once and ends the hand; an empty hand places nothing.
  p.Ed.takeInHand(g);
  EXPECT_EQ(p.Ed.press({1, 1}, B::Left, false).Pointer, PlayPointer::Normal);
  EXPECT_FALSE(p.Ed.placing());
  TChordDiagram none = g;
  none.Empty = 1;
  p.Ed.takeInHand(none);
  p.Ed.press({2, 1}, B::Left, false);
  EXPECT_FALSE(p.Ed.placing());
  EXPECT_TRUE(isEmpty(p.St.PlayPage[2][1]));
  // Outside the grid nothing happens, in hand or not.
  p.Ed.takeInHand(g);
  const PlayPageUpdate off = p.Ed.press({12, 0}, B::Left, false);
  EXPECT_TRUE(off.Slots.empty() && !off.Pointer && p.Ed.placing());
}

TEST(PlayPagePlacing, ReplacingAsksAndOnlyAConfirmedPressReplaces) {
  Page p;
  p.place(chordNamed("maj", 0), 2, 2);
  const TChordDiagram m7 = chordNamed("m7", 9);
  p.Ed.takeInHand(m7);
  const PlayPageUpdate asked = p.Ed.press({2, 2}, B::Left, false);
  EXPECT_EQ(asked.Ask, PlayQuestion::Replace);
  EXPECT_TRUE(asked.Slots.empty());
  EXPECT_TRUE(asked.Edit.empty());
  // No: the press is not repeated, the hand stays and the page is as it was.
  EXPECT_TRUE(p.Ed.placing());
  EXPECT_EQ(std::string(p.St.PlayPage[2][2].ChordName.view()), "maj");
  // Yes.
  const PlayPageUpdate placed = p.Ed.press({2, 2}, B::Left, false, true);
  EXPECT_FALSE(placed.Ask.has_value());
  EXPECT_TRUE(same(p.St.PlayPage[2][2], m7));
  // An empty slot is not asked about.
  p.Ed.takeInHand(m7);
  EXPECT_FALSE(p.Ed.press({3, 2}, B::Left, false).Ask.has_value());
}

TEST(PlayPageMenu, ARightPressSelectsAndOffersOnlyRepeatMarkersOnAnEmptySlot) {
  Page p;
  const PlayPageUpdate empty = p.Ed.press({3, 1}, B::Right, false);
  EXPECT_EQ(empty.MenuItemsEnabled, false);
  EXPECT_EQ(p.Ed.selected().Column, 3);
  EXPECT_EQ(p.Ed.selected().Row, 1);
  p.place(chordNamed("maj", 0), 3, 1);
  EXPECT_EQ(p.Ed.press({3, 1}, B::Right, false).MenuItemsEnabled, true);
  // In hand, a right press only cancels: no menu, the selection stays.
  p.Ed.takeInHand(chordNamed("7", 2));
  const PlayPageUpdate cancel = p.Ed.press({5, 5}, B::Right, false);
  EXPECT_FALSE(cancel.MenuItemsEnabled.has_value());
  EXPECT_EQ(p.Ed.selected().Column, 3);
  // Neither cut nor copy takes an empty slot in hand.
  p.select(6, 0);
  EXPECT_FALSE(p.Ed.cutAndMove().Pointer == PlayPointer::Moving);
  EXPECT_FALSE(p.Ed.copyAndMove().Pointer == PlayPointer::Moving);
  EXPECT_FALSE(p.Ed.placing());
}

TEST(PlayPageMenu, DeleteAsksAndCopyLeavesTheOriginal) {
  Page p;
  const TChordDiagram a = chordNamed("maj", 0);
  p.place(a, 0, 0);
  p.select(0, 0);
  EXPECT_EQ(p.Ed.deleteChord().Ask, PlayQuestion::Delete);
  EXPECT_FALSE(isEmpty(p.St.PlayPage[0][0]));

  EXPECT_EQ(p.Ed.copyAndMove().Pointer, PlayPointer::Moving);
  EXPECT_FALSE(p.Ed.moving()) << "a copy never leaves its slot";
  const PlayPageUpdate copied = p.Ed.press({5, 3}, B::Left, false);
  EXPECT_EQ(copied.Pointer, PlayPointer::Normal);
  EXPECT_TRUE(same(p.St.PlayPage[5][3], a) && same(p.St.PlayPage[0][0], a));
  EXPECT_EQ(copied.Edit, "Copy Chord");

  const PlayPageUpdate gone = p.Ed.deleteChord(true);
  EXPECT_TRUE(hasSlot(gone, 0, 0));
  EXPECT_TRUE(isEmpty(p.St.PlayPage[0][0]));
  // An empty slot goes without a question.
  EXPECT_FALSE(p.Ed.deleteChord().Ask.has_value());
}

TEST(PlayPageMove, ACutShowsGoneAtOnceAndLandsAsOneStep) {
  Page p;
  const TChordDiagram a = chordNamed("maj", 0);
  p.place(a, 0, 0);
  p.select(0, 0);
  const PlayPageUpdate cut = p.Ed.cutAndMove();
  EXPECT_FALSE(cut.Ask.has_value()) << "cutting never asks";
  EXPECT_EQ(cut.Pointer, PlayPointer::Moving);
  EXPECT_TRUE(hasSlot(cut, 0, 0));
  EXPECT_EQ(p.Ed.shown(0, 0), nullptr);
  EXPECT_FALSE(isEmpty(p.St.PlayPage[0][0])) << "the page is as it was until the chord lands";
  const PlayPageUpdate landed = p.Ed.press({11, 5}, B::Left, false);
  EXPECT_FALSE(landed.Ask.has_value());
  EXPECT_TRUE(hasSlot(landed, 11, 5) && hasSlot(landed, 0, 0));
  EXPECT_TRUE(same(p.St.PlayPage[11][5], a));
  EXPECT_TRUE(isEmpty(p.St.PlayPage[0][0]));
  EXPECT_EQ(landed.Edit, "Move Chord");

  // Dropped back where it came from, unasked.
  p.select(11, 5);
  p.Ed.cutAndMove();
  EXPECT_FALSE(p.Ed.press({11, 5}, B::Left, false).Ask.has_value());
  EXPECT_TRUE(same(p.St.PlayPage[11][5], a));
}

TEST(PlayPageMove, ACancelledCutPutsTheChordBackAndKeepsNothing) {
  Page p;
  const TChordDiagram a = chordNamed("maj", 0);
  p.place(a, 2, 1);
  const auto putBack = [&](const PlayPageUpdate& u) {
    return !p.Ed.placing() && !p.Ed.moving() && p.Ed.shown(2, 1) && hasSlot(u, 2, 1) &&
           same(p.St.PlayPage[2][1], a) && u.Edit.empty();
  };
  p.select(2, 1);
  p.Ed.cutAndMove();
  EXPECT_TRUE(putBack(p.Ed.press({7, 4}, B::Right, false)));
  EXPECT_TRUE(isEmpty(p.St.PlayPage[7][4]));
  p.Ed.cutAndMove();
  EXPECT_TRUE(putBack(p.Ed.cancel()));  // a change of tab, or Undo
  p.Ed.cutAndMove();
  EXPECT_TRUE(putBack(p.Ed.endMove()));  // Save
  // Another chord sent meanwhile: the cut one goes back, the sent one is in hand.
  p.Ed.cutAndMove();
  const PlayPageUpdate sent = p.Ed.takeInHand(chordNamed("7", 7));
  EXPECT_TRUE(hasSlot(sent, 2, 1) && p.Ed.shown(2, 1));
  EXPECT_EQ(sent.Pointer, PlayPointer::Sent);
  p.Ed.cancel();

  // Placed with Ctrl and then cancelled: it stays where it went.
  p.select(2, 1);
  p.Ed.cutAndMove();
  p.Ed.press({9, 5}, B::Left, true);
  EXPECT_TRUE(p.Ed.placing() && !p.Ed.moving());
  p.Ed.press({0, 0}, B::Right, false);
  EXPECT_TRUE(isEmpty(p.St.PlayPage[2][1]) && same(p.St.PlayPage[9][5], a));
  // A cancelled copy never touched its source.
  p.select(9, 5);
  p.Ed.copyAndMove();
  p.Ed.cancel();
  EXPECT_TRUE(same(p.St.PlayPage[9][5], a));
}

TEST(PlayPageMove, EndingAMoveKeepsASentOrCopiedChordWaiting) {
  Page p;
  p.place(chordNamed("maj", 0), 4, 4);
  p.Ed.takeInHand(chordNamed("7", 7));
  EXPECT_TRUE(p.Ed.endMove().Slots.empty());
  EXPECT_EQ(p.Ed.pointer(), PlayPointer::Sent);
  p.Ed.cancel();
  p.select(4, 4);
  p.Ed.copyAndMove();
  p.Ed.endMove();
  EXPECT_EQ(p.Ed.pointer(), PlayPointer::Moving);
}

TEST(PlayPageErase, ACutChordGoesWithThePageAndASentOneStaysInHand) {
  Page p;
  const TChordDiagram a = chordNamed("maj", 0);
  p.place(a, 1, 1);
  p.St.Play.RepeatSet44.RepeatCount[3] = 4;
  p.select(1, 1);
  p.Ed.cutAndMove();
  const PlayPageUpdate u = p.Ed.erase();
  EXPECT_TRUE(u.Clear && u.Grid && u.RepeatMarks);
  EXPECT_EQ(u.Pointer, PlayPointer::Normal);
  EXPECT_FALSE(p.Ed.placing());
  for (const auto& column : p.St.PlayPage)
    for (const auto& d : column) EXPECT_TRUE(isEmpty(d));
  EXPECT_EQ(p.St.Play.RepeatSet44.RepeatCount[3], 0);
  EXPECT_EQ(p.St.Play.RepeatSet44.LoopMark[8], 1);

  p.Ed.takeInHand(a);
  EXPECT_FALSE(p.Ed.erase().Pointer.has_value());
  EXPECT_EQ(p.Ed.pointer(), PlayPointer::Sent);
  p.Ed.press({0, 0}, B::Left, false);
  EXPECT_TRUE(same(p.St.PlayPage[0][0], a));
}

TEST(PlayPageStartMarker, MovesOnlyToBarStartsAndBackToBarOneWithTheTimeSignature) {
  Page p;
  PlayPageUpdate u = p.Ed.press({5, 1}, B::Left, false);  // bar 3 in 4/4
  ASSERT_TRUE(u.StartMarker.has_value());
  EXPECT_EQ(u.StartMarker->first.Column, 0);
  EXPECT_EQ(u.StartMarker->second.Column, 4);
  EXPECT_EQ(p.Ed.startMarker().Column, 4);
  EXPECT_EQ(p.Ed.startMarker().Row, 1);
  EXPECT_FALSE(p.Ed.press({0, 1}, B::Left, false).StartMarker.has_value());
  EXPECT_EQ(p.Ed.startMarker().Column, 4);
  EXPECT_TRUE(u.Edit.empty()) << "the start marker is not part of the page";
  p.Ed.toggleTimeSignature();
  EXPECT_EQ(p.Ed.startMarker().Column, 0);
  EXPECT_EQ(p.Ed.startMarker().Row, 0);
  p.Ed.press({7, 2}, B::Left, false);
  EXPECT_EQ(p.Ed.startMarker().Column, 6);
  EXPECT_EQ(p.Ed.startMarker().Row, 2);
}

TEST(PlayPageTimeSignature, EachSignatureKeepsItsOwnSetAndTheSlotsStay) {
  Page p;
  p.place(chordNamed("maj", 0), 6, 0);
  PlayPageState& play = p.St.Play;
  play.RepeatSet44.RepeatCount[1] = 2;
  const PlayPageUpdate u = p.Ed.toggleTimeSignature();
  EXPECT_EQ(u.Edit, "Time Signature");
  EXPECT_TRUE(u.Grid && u.RepeatMarks && u.ToolBar);
  EXPECT_TRUE(u.Slots.empty());
  EXPECT_TRUE(play.ThreeFour);
  EXPECT_EQ(play.ActiveRepeatSet.RepeatCount[1], 0);
  EXPECT_EQ(play.ActiveRepeatSet.LoopMark[11], 1);
  play.RepeatSet34.RepeatCount[5] = 3;
  p.Ed.toggleTimeSignature();
  EXPECT_FALSE(play.ThreeFour);
  EXPECT_EQ(play.ActiveRepeatSet.RepeatCount[1], 2);
  EXPECT_EQ(play.RepeatSet34.RepeatCount[5], 3);
  EXPECT_FALSE(isEmpty(p.St.PlayPage[6][0]));
  // Refused while busy, and so are Loop and Bass Note: the tool bar is shown
  // the state again, nothing changes.
  for (const PlayPageUpdate& refused :
       {p.Ed.toggleTimeSignature(true), p.Ed.toggleLoop(true), p.Ed.toggleBassNote(true)}) {
    EXPECT_TRUE(refused.ToolBar);
    EXPECT_FALSE(refused.Grid || refused.RepeatMarks);
    EXPECT_TRUE(refused.Edit.empty());
  }
  EXPECT_FALSE(play.ThreeFour || play.Loop || play.BassNote);
  // Loop Play shows or hides the loop mark.
  const PlayPageUpdate loop = p.Ed.toggleLoop();
  EXPECT_TRUE(play.Loop && loop.RepeatMarks && loop.ToolBar);
  EXPECT_TRUE(p.Ed.toggleBassNote().ToolBar && play.BassNote);
}

TEST(PlayPageRepeatMarkers, TheDialogIsForTheSelectedBarAndItsOkIsOneStep) {
  Page p;
  p.select(5, 1);                                // bar 3 in 4/4
  p.St.Play.ActiveRepeatSet.RepeatCount[2] = 9;  // left over from playback
  PlayPageUpdate u = p.Ed.repeatMarkers();
  ASSERT_EQ(u.RepeatBar, 2);
  EXPECT_FALSE(u.Repeat.Repeat) << "the dialog shows the saved set";
  RepeatChoice c = u.Repeat;
  c.Repeat = true;
  c.Count = 4;
  c.Loop = true;
  EXPECT_TRUE(p.Ed.setRepeatMarkers(2, c, false).RepeatMarks);
  EXPECT_EQ(p.St.Play.RepeatSet44.RepeatCount[2], 4);
  EXPECT_EQ(p.St.Play.RepeatSet44.LoopMark[2], 1);
  EXPECT_EQ(p.St.Play.RepeatSet44.LoopMark[8], 0);
  // A bar past the page's last is refused.
  const PlayPageUpdate past = p.Ed.setRepeatMarkers(9, c, false);
  EXPECT_FALSE(past.RepeatMarks);
  EXPECT_TRUE(past.Edit.empty());
  // In 3/4 the last row holds bars 11 and 12.
  p.Ed.toggleTimeSignature();
  p.select(7, 5);
  EXPECT_EQ(p.Ed.repeatMarkers().RepeatBar, 11);
}

TEST(PlayPageToolBar, TheStrumSpeedKeepsToItsRangeAndShowingAllGivesUpACut) {
  Page p;
  const PlayPageUpdate speed = p.Ed.setStrumSpeed(-2000);
  EXPECT_EQ(p.St.Play.StrumSpeed, -800) << "the bar's range holds";
  EXPECT_TRUE(speed.Merge) << "a dragged bar is one step";
  // Showing it all anew gives up a pending cut and shows the tool bar.
  p.place(chordNamed("maj", 0), 0, 0);
  p.select(0, 0);
  p.Ed.cutAndMove();
  const PlayPageUpdate all = p.Ed.showAll();
  EXPECT_TRUE(all.Clear && all.Grid && all.RepeatMarks && all.ToolBar);
  EXPECT_EQ(all.Slots.size(), std::size_t(PlaySlotCount));
  EXPECT_FALSE(p.Ed.moving());
  EXPECT_TRUE(p.Ed.shown(0, 0));
}
