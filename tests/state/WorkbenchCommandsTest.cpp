#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "music/DiagramConvert.h"
#include "state/Workbench.h"

// The commands that span pages, as the Workbench decides them: sending a
// diagram from one page to another, erasing a page with its question, a
// change of tab and Undo, each ending what the pages had in hand.

namespace {

// A fingering told apart from the others by its base fret.
TChordDiagram tagged(int tag) {
  TChordDiagram d = startFingering();
  d.BaseFret = static_cast<std::uint8_t>(tag);
  d.ChordName = "m7";
  return d;
}

TPrintDiagram scaleItem(int startFret) {
  TPrintDiagram d{};
  d.IsChord = 0;
  d.Name = "Dorian";
  d.BaseFret = static_cast<std::uint8_t>(startFret);
  for (int i = 0; i < 10; ++i) d.Intervals[i] = 99;
  return d;
}

int cx(int column) {
  return 120 * column + 70;
}

// A bench whose every page holds diagrams, each told apart by its base fret:
// the Chords page 10.., the design group 20.., the play page 30, the print
// page a chord item (40) and a scale item, the Scales page one scale.
struct Pages : ::testing::Test {
  Workbench Bench;
  AppState& St = Bench.State;

  void SetUp() override {
    Bench.Chords.showChords([](TChordDiagram(&set)[6]) {
      for (int c = 0; c < 6; ++c) set[c] = tagged(10 + c);
      return LibraryResult{};
    });
    for (int s = 0; s < 3; ++s) St.DesignGroup[s] = tagged(20 + s);
    St.PlayPage[2][1] = tagged(30);
    TChordDiagram printed = tagged(40);
    chordToPrintItem(printed, St.PrintPage[1][0]);
    St.PrintPage[2][0] = scaleItem(5);
    TScaleFormula formula{};
    const std::uint8_t degrees[10] = {0, 2, 3, 5, 7, 9, 10, 99, 99, 99};
    std::memcpy(formula.Intervals, degrees, sizeof degrees);
    formula.Formula = "1 2 b3 4 5 6 b7";
    NewScale scale;
    scale.Name = "Dorian";
    scale.Strings = StandardTuning;
    scale.Key = 2;
    Bench.Scales.showScale(
        [&](TScaleFormula& f) {
          f = formula;
          return LibraryResult{};
        },
        scale);
  }
  // The last press on each page, as the pop-up menus take it.
  void pressChord(int column) { Bench.Chords.press(cx(column), 100, PressButton::Right); }
  void pressSlot(int s) { Bench.Group.press(s, true); }
  void selectPlaySlot(int c, int r) {
    St.Play.PlaySelColumn = c;
    St.Play.PlaySelRow = r;
  }
  void pressPrint(int c, int r) { Bench.Print.press(cx(c), 160 * r + 90, PressButton::Right); }
  void pressScale(int position) { Bench.Scales.press(cx(position), 90, PressButton::Right); }
  // Makes `tab` active as the user would.
  void enter(PlayTab tab) { Bench.tabChanged(tab); }
  // Whether anything waits to be placed on the play page, design group,
  // print page or Scales page.
  bool waitingOn(PlayTab tab) const {
    switch (tab) {
      case PlayTab::PlayPage:
        return Bench.Play.placing();
      case PlayTab::ChordDesign:
        return Bench.Group.mode() == GroupMode::Placing;
      case PlayTab::Print:
        return Bench.Print.placing();
      case PlayTab::Scales:
        return Bench.Scales.placing();
      case PlayTab::Chords:
        break;
    }
    return false;
  }
  // Sends from `from` and checks the command was refused: nothing changed.
  void expectRefused(PlayTab from, PlayTab to) {
    enter(from);
    const std::string moved(reinterpret_cast<const char*>(&St.MoveBuffer), sizeof St.MoveBuffer);
    const BenchUpdate u = Bench.sendTo(from, to);
    EXPECT_TRUE(u.empty()) << int(from) << " -> " << int(to);
    EXPECT_EQ(Bench.activeTab(), from);
    EXPECT_FALSE(waitingOn(to)) << int(from) << " -> " << int(to);
    EXPECT_EQ(moved,
              std::string(reinterpret_cast<const char*>(&St.MoveBuffer), sizeof St.MoveBuffer));
  }
  // Sends from the active tab and checks `to` became active with it in hand.
  void expectSent(PlayTab from, PlayTab to) {
    const BenchUpdate u = Bench.sendTo(from, to);
    ASSERT_EQ(u.ShowTab, to) << int(from) << " -> " << int(to);
    EXPECT_EQ(u.SentTo, to);
    EXPECT_EQ(Bench.activeTab(), to);
    EXPECT_TRUE(waitingOn(to)) << int(from) << " -> " << int(to);
  }
};

}  // namespace

TEST_F(Pages, ChordsGoToThePlayPageAndChordDesignFromEveryPageThatHasThem) {
  const struct {
    PlayTab From;
    int Tag;
  } sources[] = {{PlayTab::Chords, 13},
                 {PlayTab::ChordDesign, 21},
                 {PlayTab::PlayPage, 30},
                 {PlayTab::Print, 40}};
  for (const PlayTab to : {PlayTab::PlayPage, PlayTab::ChordDesign}) {
    for (const auto& source : sources) {
      if (source.From == to) continue;
      enter(source.From);
      pressChord(3);
      pressSlot(1);
      selectPlaySlot(2, 1);
      pressPrint(1, 0);
      expectSent(source.From, to);
      EXPECT_EQ(St.MoveBuffer.BaseFret, source.Tag) << int(source.From) << " -> " << int(to);
      EXPECT_FALSE(isEmpty(St.MoveBuffer));
      // Back to where the next command starts: nothing waiting anywhere.
      enter(PlayTab::Chords);
    }
  }
  // Neither takes a chord from the Scales page, nor from itself.
  expectRefused(PlayTab::Scales, PlayTab::PlayPage);
  expectRefused(PlayTab::Scales, PlayTab::ChordDesign);
  selectPlaySlot(2, 1);
  expectRefused(PlayTab::PlayPage, PlayTab::PlayPage);
}

TEST_F(Pages, EveryPageButThePrintPageSendsToThePrintPage) {
  pressChord(4);
  expectSent(PlayTab::Chords, PlayTab::Print);
  EXPECT_EQ(St.PrintMoveBuffer.BaseFret, 14);
  EXPECT_TRUE(St.PrintMoveBuffer.IsChord);

  enter(PlayTab::ChordDesign);
  pressSlot(2);
  expectSent(PlayTab::ChordDesign, PlayTab::Print);
  EXPECT_EQ(St.PrintMoveBuffer.BaseFret, 22);

  enter(PlayTab::PlayPage);
  selectPlaySlot(2, 1);
  expectSent(PlayTab::PlayPage, PlayTab::Print);
  EXPECT_EQ(St.PrintMoveBuffer.BaseFret, 30);

  // A scale goes as the position pressed: its start fret, not the first.
  enter(PlayTab::Scales);
  pressScale(3);
  ASSERT_EQ(St.ScalePage[0].StartFrets[3], 10);
  expectSent(PlayTab::Scales, PlayTab::Print);
  EXPECT_FALSE(St.PrintMoveBuffer.IsChord);
  EXPECT_EQ(St.PrintMoveBuffer.BaseFret, 10);
  // So does a start fret the player changed.
  enter(PlayTab::Scales);
  pressScale(5);
  Bench.Scales.changeStartFret(15);
  expectSent(PlayTab::Scales, PlayTab::Print);
  EXPECT_EQ(St.PrintMoveBuffer.BaseFret, 15);

  pressPrint(1, 0);
  expectRefused(PlayTab::Print, PlayTab::Print);
}

TEST_F(Pages, OnlyAScaleOfThePrintPageGoesToTheScalesPage) {
  enter(PlayTab::Print);
  pressPrint(1, 0);  // a chord item
  expectRefused(PlayTab::Print, PlayTab::Scales);
  pressPrint(2, 0);
  expectSent(PlayTab::Print, PlayTab::Scales);
  EXPECT_EQ(St.PrintMoveBuffer.BaseFret, 5);
  EXPECT_FALSE(St.PrintMoveBuffer.IsChord);
  // Not from any other page, even with a scale pressed on the Scales page.
  pressChord(0);
  expectRefused(PlayTab::Chords, PlayTab::Scales);
  pressScale(0);
  expectRefused(PlayTab::Scales, PlayTab::Scales);
  // And a scale item gives no chord to the play page.
  enter(PlayTab::Print);
  pressPrint(2, 0);
  expectRefused(PlayTab::Print, PlayTab::PlayPage);
}

TEST_F(Pages, AnEmptySourceIsRefusedButChordDesignTakesItAndRefusesToPlaceIt) {
  pressChord(5);
  Bench.Chords.press(cx(2), 260, PressButton::Right);  // below the one chord set
  expectRefused(PlayTab::Chords, PlayTab::Print);
  expectRefused(PlayTab::Chords, PlayTab::PlayPage);
  enter(PlayTab::PlayPage);
  selectPlaySlot(0, 0);
  expectRefused(PlayTab::PlayPage, PlayTab::Print);
  enter(PlayTab::Print);
  pressPrint(5, 4);
  expectRefused(PlayTab::Print, PlayTab::PlayPage);
  expectRefused(PlayTab::Print, PlayTab::Scales);
  enter(PlayTab::Scales);
  pressScale(2);
  Bench.Scales.press(cx(2), 150 * 3 + 90, PressButton::Right);
  expectRefused(PlayTab::Scales, PlayTab::Print);

  // The group takes it in hand; placing it changes no slot.
  enter(PlayTab::Print);
  expectSent(PlayTab::Print, PlayTab::ChordDesign);
  EXPECT_TRUE(isEmpty(St.MoveBuffer));
  const std::string before = Bench.page(PlayTab::ChordDesign);
  Bench.Group.press(4, false);
  EXPECT_EQ(Bench.page(PlayTab::ChordDesign), before);
}

TEST_F(Pages, OnlyThePagesWithAFileOfTheirOwnAskBeforeTheyAreErased) {
  const struct {
    PlayTab Tab;
    const char* Question;  // null: never asks
  } pages[] = {
      {PlayTab::Chords, nullptr},
      {PlayTab::ChordDesign,
       "This Design Group has changed. Do you want to erase without saving it?"},
      {PlayTab::PlayPage, "This Play Page has changed. Do you want to erase without saving it?"},
      {PlayTab::Print, "This Print Page has changed. Do you want to erase without saving it?"},
      {PlayTab::Scales, nullptr},
  };
  for (const auto& p : pages) {
    // Unchanged: erased at once.
    Bench.markSaved(p.Tab);
    EXPECT_FALSE(Bench.erasePage(p.Tab, "Erase Page").Question) << int(p.Tab);
    // Changed: asked, with No as the default, and nothing erased yet.
    Bench.apply(p.Tab, [&] {
      St.ChordPage[0][0] = tagged(50);
      St.DesignGroup[5] = tagged(51);
      St.PlayPage[0][0] = tagged(52);
      St.PrintPage[0][0] = scaleItem(3);
      St.ScalePage[4] = St.ScalePage[0];
      return PageEdit{"Fill"};
    });
    const std::string changed = Bench.page(p.Tab);
    const BenchUpdate u = Bench.erasePage(p.Tab, "New Page");
    if (!p.Question) {
      EXPECT_FALSE(u.Question) << int(p.Tab);
      EXPECT_EQ(u.Erased, p.Tab);
      continue;
    }
    ASSERT_TRUE(u.Question) << int(p.Tab);
    EXPECT_EQ(u.Question->Text, p.Question);
    EXPECT_FALSE(u.Question->DefaultYes);
    EXPECT_EQ(Bench.page(p.Tab), changed);
    // Yes: erased as one step, after which the page counts as saved.
    EXPECT_EQ(Bench.erasePage(p.Tab, "New Page", true).Erased, p.Tab);
    EXPECT_NE(Bench.page(p.Tab), changed);
    EXPECT_FALSE(Bench.changed(p.Tab));
    EXPECT_EQ(Bench.history(p.Tab).undoLabel(), "New Page");
    ASSERT_TRUE(Bench.undo(p.Tab).Restored);
    EXPECT_EQ(Bench.page(p.Tab), changed);
  }
}

TEST_F(Pages, ErasingEmptiesThePageAndWhatItHeldInHandButNotTheFingering) {
  // An item sent to the print page still waits there.
  pressChord(1);
  Bench.sendTo(PlayTab::Chords, PlayTab::Print);
  const BenchUpdate print = Bench.erasePage(PlayTab::Print, "Erase Page", true);
  EXPECT_TRUE(Bench.Print.placing());
  ASSERT_TRUE(print.Print);
  EXPECT_FALSE(print.Print->Pointer);
  EXPECT_TRUE(isEmpty(St.PrintPage[1][0]));

  St.lastPageFile(PlayTab::ChordDesign) = "group.cdf";
  St.EditChord = tagged(60);
  pressSlot(1);
  Bench.Group.chooseMove();  // a diagram lifted when the group goes
  const BenchUpdate design = Bench.erasePage(PlayTab::ChordDesign, "Erase Page", true);
  for (const auto& d : St.DesignGroup) EXPECT_TRUE(isEmpty(d));
  EXPECT_EQ(St.EditChord.BaseFret, 60);
  EXPECT_FALSE(isEmpty(St.EditChord));
  EXPECT_EQ(Bench.Group.mode(), GroupMode::Normal);
  EXPECT_FALSE(design.ClearFretboard);
  EXPECT_TRUE(St.lastPageFile(PlayTab::ChordDesign).empty());

  St.lastPageFile(PlayTab::Chords) = "chords.chp";
  Bench.Chords.select({3, 0});
  ASSERT_FALSE(isEmpty(St.SelectedChord));
  EXPECT_TRUE(Bench.erasePage(PlayTab::Chords, "Erase Page").ClearFretboard);
  EXPECT_TRUE(isEmpty(St.SelectedChord));
  EXPECT_EQ(St.ChordSetCount, 0);
  EXPECT_TRUE(St.lastPageFile(PlayTab::Chords).empty());

  Bench.Scales.selectPressed();
  ASSERT_FALSE(isEmpty(St.CurrentScale));
  Bench.erasePage(PlayTab::Scales, "Erase Page");
  EXPECT_TRUE(isEmpty(St.CurrentScale));
  EXPECT_TRUE(isEmpty(St.ScalePage[0]));

  St.SelectedPlayChord = tagged(30);
  Bench.erasePage(PlayTab::PlayPage, "Erase Page", true);
  EXPECT_TRUE(isEmpty(St.SelectedPlayChord));
  EXPECT_TRUE(isEmpty(St.PlayPage[2][1]));
}

TEST_F(Pages, ATabChangeEndsEveryMoveAndPlacingButKeepsWhatWasSent) {
  // A move in progress on the print page, the play page and the group.
  enter(PlayTab::Print);
  pressPrint(1, 0);
  Bench.Print.move();
  ASSERT_TRUE(Bench.Print.moving());
  enter(PlayTab::PlayPage);
  EXPECT_FALSE(Bench.Print.placing());
  EXPECT_EQ(St.PrintPage[1][0].BaseFret, 40);
  EXPECT_FALSE(isEmpty(St.PrintPage[1][0]));

  selectPlaySlot(2, 1);
  Bench.Play.cutAndMove();
  ASSERT_TRUE(Bench.Play.moving());
  enter(PlayTab::ChordDesign);
  EXPECT_FALSE(Bench.Play.placing());
  EXPECT_NE(Bench.Play.shown(2, 1), nullptr);

  pressSlot(0);
  Bench.Group.chooseMove();
  ASSERT_EQ(Bench.Group.lifted(), 0);
  const BenchUpdate u = Bench.tabChanged(PlayTab::Scales);
  EXPECT_EQ(Bench.Group.mode(), GroupMode::Normal);
  EXPECT_EQ(Bench.Group.shown(0).BaseFret, 20);
  EXPECT_EQ(u.Entered, PlayTab::Scales);
  // The user's change shows the tab's scale; a command's does not.
  EXPECT_EQ(u.ShowContents, PlayTab::Scales);
  EXPECT_FALSE(Bench.tabChanged(PlayTab::Chords, false).ShowContents);
  // Already there: nothing more to do.
  EXPECT_TRUE(Bench.tabChanged(PlayTab::Chords).empty());

  // A scale sent to the Scales page stops waiting; the buffer keeps it.
  enter(PlayTab::Print);
  pressPrint(2, 0);
  Bench.sendTo(PlayTab::Print, PlayTab::Scales);
  ASSERT_TRUE(Bench.Scales.placing());
  enter(PlayTab::Chords);
  EXPECT_FALSE(Bench.Scales.placing());
  EXPECT_EQ(St.PrintMoveBuffer.BaseFret, 5);
}

TEST_F(Pages, ThePlayPageTabTunesTheNeckAsItsFirstChordColumnByColumn) {
  St.PlayPage[0][3] = tagged(31);
  St.PlayPage[0][3].Tuning[0] = 2;
  const BenchUpdate u = Bench.tabChanged(PlayTab::PlayPage);
  ASSERT_TRUE(u.NeckTuning);
  EXPECT_EQ((*u.NeckTuning)[0], 2);
  EXPECT_EQ(u.ShowContents, PlayTab::PlayPage);
  Bench.erasePage(PlayTab::PlayPage, "Erase Page", true);
  Bench.tabChanged(PlayTab::Chords);
  EXPECT_FALSE(Bench.tabChanged(PlayTab::PlayPage).NeckTuning);
}

TEST_F(Pages, UndoEndsAPendingMoveFirstThenPutsThePageBack) {
  enter(PlayTab::Print);
  Bench.apply(PlayTab::Print, [&] {
    St.PrintPage[5][4] = scaleItem(7);
    return PageEdit{"Fill"};
  });
  pressPrint(1, 0);
  Bench.Print.move();
  ASSERT_TRUE(Bench.Print.moving());
  const BenchUpdate u = Bench.undo(PlayTab::Print);
  ASSERT_TRUE(u.PrintEnded);
  EXPECT_EQ(u.Restored, PlayTab::Print);
  EXPECT_FALSE(Bench.Print.placing());
  // The moved item is back in its cell, and the step before it undone.
  EXPECT_EQ(St.PrintPage[1][0].BaseFret, 40);
  EXPECT_TRUE(isEmpty(St.PrintPage[5][4]));
  EXPECT_TRUE(Bench.redo(PlayTab::Print).Restored);
  EXPECT_FALSE(isEmpty(St.PrintPage[5][4]));
  // With no step to take, the move still ends and nothing is put back.
  Bench.Print.move();
  const BenchUpdate none = Bench.redo(PlayTab::Print);
  EXPECT_FALSE(none.Restored);
  EXPECT_FALSE(Bench.Print.moving());
  EXPECT_EQ(St.PrintPage[1][0].BaseFret, 40);
}
