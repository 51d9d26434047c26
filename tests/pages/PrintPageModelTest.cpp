#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "music/DiagramConvert.h"
#include "pages/PrintPageModel.h"

namespace {

using Mode = PrintPageModel::Mode;

TPrintDiagram item(const char* name, std::uint8_t isChord = 1) {
  TPrintDiagram d{};
  d.IsChord = isChord;
  d.Name = name;
  return d;
}

bool same(const TPrintDiagram& a, const TPrintDiagram& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// The centre of print cell (c, r).
int cx(int c) {
  return 120 * c + 70;
}
int cy(int r) {
  return 160 * r + 90;
}

struct Sheet : ::testing::Test {
  TPrintDiagram Page[PrintPageColumns][PrintPageRows]{};
  TPrintDiagram Selected{}, Buffer{};
  PrintPageModel Model{Page, Selected, Buffer};

  Sheet() {
    for (auto& column : Page)
      for (auto& d : column) d.Empty = 1;
    Selected.Empty = Buffer.Empty = 1;
  }
  PrintUpdate place(const TPrintDiagram& d, int c, int r, bool confirmed = false) {
    Buffer = d;
    Model.send();
    return Model.press(cx(c), cy(r), PressButton::Left, confirmed);
  }
  PrintUpdate pressAt(int c, int r, PressButton b = PressButton::Left) {
    return Model.press(cx(c), cy(r), b);
  }
};

}  // namespace

TEST(SmallGeometry, PressesTruncateTowardZeroAndStopAtThePagesLimits) {
  using SmallGeometry::cellAt;
  EXPECT_EQ(cellAt(SmallPage::Print, -99, -139), (SmallCell{0, 0}));
  EXPECT_EQ(cellAt(SmallPage::Print, -100, 100), std::nullopt);
  EXPECT_EQ(cellAt(SmallPage::Print, 739, 799), (SmallCell{5, 4}));
  EXPECT_EQ(cellAt(SmallPage::Print, 745, 100), std::nullopt);
  EXPECT_EQ(cellAt(SmallPage::Print, 100, 175), (SmallCell{0, 0}));
  EXPECT_EQ(cellAt(SmallPage::Print, 100, 820), std::nullopt);
  EXPECT_EQ(cellAt(SmallPage::Print, INT_MIN, INT_MAX), std::nullopt);
  // The Chords and Scales pages count 150-pixel rows and take nothing past
  // x 740 or y 770, though the grid's last row reaches further.
  for (const SmallPage page : {SmallPage::Chords, SmallPage::Scales}) {
    EXPECT_EQ(cellAt(page, 135, 100), (SmallCell{0, 0}));
    EXPECT_EQ(cellAt(page, 10, 10), (SmallCell{0, 0}));
    EXPECT_EQ(cellAt(page, 739, 769), (SmallCell{5, 4}));
    EXPECT_EQ(cellAt(page, 741, 100), std::nullopt);
    EXPECT_EQ(cellAt(page, 100, 771), std::nullopt);
    EXPECT_EQ(cellAt(page, 100, 170), (SmallCell{0, 1}));
  }
  EXPECT_EQ(SmallGeometry::cellUnder(SmallPage::Chords, 740, 100), (SmallCell{6, 0}));
}

TEST(PrintGrid, FirstItemReadsRowByRow) {
  TPrintDiagram page[PrintPageColumns][PrintPageRows]{};
  for (auto& column : page)
    for (auto& d : column) d.Empty = 1;
  EXPECT_EQ(PrintGrid::firstItem(page), std::nullopt);
  page[0][3].Empty = page[5][1].Empty = 0;
  EXPECT_EQ(PrintGrid::firstItem(page), (SmallCell{5, 1}));
}

TEST_F(Sheet, APlacedItemIsTakenInHandOnceAndAReplaceIsAskedFirst) {
  const TPrintDiagram a = item("A"), b = item("B"), s = item("Dorian", 0);
  Buffer = a;
  Model.send();
  EXPECT_EQ(Model.mode(), Mode::Placing);
  PrintUpdate u = Model.press(10, 10, PressButton::Left);
  EXPECT_TRUE(same(Page[0][0], a) && same(Selected, a));
  EXPECT_EQ(u.Edit, "Place Diagram");
  EXPECT_EQ(u.Frame, (SmallCell{0, 0}));
  EXPECT_TRUE(u.ShowItem);
  EXPECT_EQ(u.Pointer, PagePointer::Normal);
  EXPECT_EQ(Model.mode(), Mode::Normal);
  // A later press on the same cell only selects: nothing is placed twice.
  EXPECT_TRUE(pressAt(0, 0).Edit.empty());

  Buffer = b;
  Model.send();
  EXPECT_TRUE(Model.press(745, 100, PressButton::Left).Edit.empty());  // outside: still waiting
  EXPECT_TRUE(Model.placing());
  EXPECT_EQ(Model.pressed(), (SmallCell{0, 0}));
  u = pressAt(0, 0);
  ASSERT_TRUE(u.Question);
  EXPECT_EQ(u.Question->Text, "Do you want to replace this diagram?");
  EXPECT_TRUE(u.Question->DefaultYes);
  EXPECT_TRUE(same(Page[0][0], a) && Model.placing());
  u = Model.press(cx(0), cy(0), PressButton::Left, true);
  EXPECT_TRUE(same(Page[0][0], b) && !Model.placing());

  place(s, 3, 2);
  EXPECT_EQ(Model.selected(), (SmallCell{3, 2}));
  // A right press cancels a placing: no menu, nothing placed.
  Buffer = a;
  Model.send();
  u = pressAt(4, 4, PressButton::Right);
  EXPECT_FALSE(u.OpenMenu);
  EXPECT_TRUE(isEmpty(Page[4][4]) && !Model.placing());
  // So does an empty buffer.
  Buffer.Empty = 1;
  Model.send();
  pressAt(4, 4);
  EXPECT_TRUE(isEmpty(Page[4][4]) && !Model.placing());
}

TEST_F(Sheet, PressesSelectOverItemsAndTheMenuOpensOnAnyCell) {
  place(item("A"), 0, 0);
  place(item("Dorian", 0), 1, 0);
  PrintUpdate u = pressAt(0, 0, PressButton::Right);
  EXPECT_TRUE(u.OpenMenu);
  EXPECT_FALSE(u.Frame);
  EXPECT_EQ(Model.pressed(), (SmallCell{0, 0}));
  EXPECT_EQ(Model.selected(), (SmallCell{1, 0}));
  // Over an empty cell the menu is for the page's own commands.
  u = pressAt(2, 2, PressButton::Right);
  EXPECT_TRUE(u.OpenMenu);
  EXPECT_EQ(Model.itemToSend(), nullptr);
  EXPECT_FALSE(pressAt(2, 2).Frame);
  EXPECT_EQ(Model.pressed(), (SmallCell{2, 2}));
  u = pressAt(0, 0);
  EXPECT_EQ(u.Frame, (SmallCell{0, 0}));
  EXPECT_TRUE(same(Selected, Page[0][0]));
  EXPECT_FALSE(pressAt(0, 0).Frame);  // already in hand
  // Play Diagram takes the pressed item in hand first.
  pressAt(1, 0, PressButton::Right);
  u = Model.takePressed();
  EXPECT_EQ(u.Frame, (SmallCell{1, 0}));
  EXPECT_TRUE(same(Selected, Page[1][0]));
}

TEST_F(Sheet, AMoveLandsOnceOrGoesBackWhereItCameFrom) {
  const TPrintDiagram a = item("A"), b = item("B");
  place(a, 0, 0);
  pressAt(0, 0, PressButton::Right);
  PrintUpdate u = Model.move();
  EXPECT_TRUE(u.MoveBegun && u.Edit.empty());
  EXPECT_EQ(u.Pointer, PagePointer::Moving);
  EXPECT_TRUE(isEmpty(Page[0][0]) && Model.moving());
  // Onto its own, now empty, cell: no question.
  u = pressAt(0, 0);
  EXPECT_FALSE(u.Question);
  EXPECT_TRUE(u.MoveLanded);
  EXPECT_EQ(u.Edit, "Move Diagram");
  EXPECT_TRUE(same(Page[0][0], a) && !Model.placing());

  // A right press, a cancel (tab change, Undo) or an end (Save) put it back.
  for (int way = 0; way < 3; ++way) {
    pressAt(0, 0, PressButton::Right);
    Model.move();
    if (way == 0) u = pressAt(5, 4, PressButton::Right);
    if (way == 1) u = Model.cancel();
    if (way == 2) u = Model.endMove();
    EXPECT_TRUE(same(Page[0][0], a) && isEmpty(Page[5][4]) && !Model.placing()) << way;
    EXPECT_EQ(u.Redraw, std::vector<SmallCell>{SmallCell({0, 0})});
    EXPECT_EQ(u.Frame, (SmallCell{0, 0}));  // it was the item in hand
    EXPECT_TRUE(u.Edit.empty());
  }
  // An end leaves an item sent here waiting.
  Buffer = b;
  Model.send();
  Model.endMove();
  EXPECT_EQ(Model.mode(), Mode::Placing);
  // A newly sent item ends a move first.
  Model.cancel();
  pressAt(0, 0, PressButton::Right);
  Model.move();
  place(b, 4, 4);
  EXPECT_TRUE(same(Page[0][0], a) && same(Page[4][4], b));
  // A move onto another item asks, and No keeps it moving.
  pressAt(4, 4, PressButton::Right);
  Model.move();
  EXPECT_TRUE(pressAt(0, 0).Question);
  EXPECT_TRUE(Model.moving());
  u = Model.press(cx(0), cy(0), PressButton::Left, true);
  EXPECT_TRUE(u.MoveLanded);
  EXPECT_TRUE(same(Page[0][0], b) && isEmpty(Page[4][4]));
}

TEST_F(Sheet, DeleteAsksAndHandsTheItemInHandToTheFirstLeft) {
  const TPrintDiagram a = item("A"), s = item("Dorian", 0), c = item("C");
  place(a, 0, 2);
  place(s, 4, 1);
  place(c, 1, 3);
  pressAt(1, 3, PressButton::Right);
  PrintUpdate u = Model.remove();
  ASSERT_TRUE(u.Question);
  EXPECT_EQ(u.Question->Text, "Do you want to erase this diagram?");
  EXPECT_FALSE(u.Question->DefaultYes);
  EXPECT_FALSE(isEmpty(Page[1][3]));
  u = Model.remove(true);
  EXPECT_EQ(u.Edit, "Delete Diagram");
  EXPECT_TRUE(isEmpty(Page[1][3]));
  EXPECT_EQ(Model.selected(), (SmallCell{4, 1}));
  EXPECT_EQ(Model.pressed(), (SmallCell{4, 1}));
  EXPECT_EQ(u.Frame, (SmallCell{4, 1}));
  EXPECT_TRUE(same(Selected, s));
  // An item not in hand goes alone.
  pressAt(0, 2, PressButton::Right);
  u = Model.remove(true);
  EXPECT_FALSE(u.Frame || u.PageEmptied);
  EXPECT_EQ(Model.selected(), (SmallCell{4, 1}));
  // The last one empties the page.
  pressAt(4, 1, PressButton::Right);
  u = Model.remove(true);
  EXPECT_TRUE(u.PageEmptied);
  EXPECT_FALSE(Model.hasItems());
  // An empty cell asks nothing and changes nothing.
  EXPECT_FALSE(Model.remove().Question);
}

TEST_F(Sheet, EraseKeepsTheCellsAndDropsAMoveLoadAndRestoreTakeAnItemInHand) {
  place(item("A"), 2, 1);
  place(item("B"), 3, 3);
  pressAt(3, 3, PressButton::Right);
  Model.move();
  Model.erase();
  EXPECT_FALSE(Model.hasItems());
  EXPECT_TRUE(isEmpty(Selected));
  EXPECT_EQ(Model.mode(), Mode::Normal);
  EXPECT_EQ(Model.pressed(), (SmallCell{3, 3}));
  EXPECT_EQ(Model.selected(), (SmallCell{3, 3}));

  TPrintDiagram file[PrintPageColumns][PrintPageRows]{};
  for (auto& column : file)
    for (auto& d : column) d.Empty = 1;
  file[5][0] = item("E");
  file[1][2] = item("F");
  PrintUpdate u = Model.load(file);
  EXPECT_TRUE(u.RedrawPage);
  EXPECT_EQ(u.Frame, (SmallCell{5, 0}));
  EXPECT_TRUE(same(Selected, file[5][0]));
  // Put back with the item in hand still there, it stays in hand.
  pressAt(1, 2);
  u = Model.restored();
  EXPECT_EQ(u.Frame, (SmallCell{1, 2}));
  // Gone, the first one is taken.
  Page[1][2].Empty = 1;
  u = Model.restored();
  EXPECT_EQ(u.Frame, (SmallCell{5, 0}));
  Page[5][0].Empty = 1;
  u = Model.restored();
  EXPECT_FALSE(u.Frame);
  EXPECT_TRUE(isEmpty(Selected) && u.ShowItem);
}

// Fill From Play Page: each chord and fingering once, in the order the play
// page first shows them, into the empty cells in reading order; what the page
// holds already stays and is not added twice; what finds no cell is counted.
TEST_F(Sheet, TheLegendFillsEmptyCellsWithEachChordOnceInOrderOfFirstAppearance) {
  const auto chord = [](std::uint8_t root, int fret) {
    TChordDiagram d{};
    d.ChordName = "maj";
    d.Root = root;
    d.Bass = static_cast<std::uint8_t>(24 + root);
    d.BaseFret = 1;
    for (auto& s : d.Strings) s = {static_cast<std::uint8_t>(fret), 1};
    return d;
  };
  TChordDiagram play[PlayPageColumns][PlayPageRows]{};
  for (auto& column : play)
    for (auto& d : column) d.Empty = 1;
  play[3][0] = chord(7, 3);  // G, first in reading order
  play[1][1] = chord(0, 1);  // C
  play[0][2] = chord(7, 3);  // G again
  play[5][2] = chord(0, 5);  // C in another fingering
  play[2][5] = chord(0, 1);  // C again
  const std::vector<TChordDiagram> legend = playPageLegend(play);
  ASSERT_EQ(legend.size(), 3u);
  EXPECT_EQ(legend[0].Root, 7);
  EXPECT_EQ(legend[1].Strings[0].Fret, 1);
  EXPECT_EQ(legend[2].Strings[0].Fret, 5);

  place(item("Dorian", 0), 0, 0);
  TPrintDiagram g{};
  chordToPrintItem(legend[0], g);
  place(g, 2, 0);
  int leftOut = -1;
  const PrintUpdate u = Model.fill(legend, leftOut);
  EXPECT_EQ(leftOut, 0);
  EXPECT_EQ(u.Edit, "Fill From Play Page");
  EXPECT_EQ(u.Redraw, (std::vector<SmallCell>{{1, 0}, {3, 0}}));
  EXPECT_TRUE(same(Page[2][0], g));
  EXPECT_EQ(Page[1][0].Strings[0].Fret, 1);
  EXPECT_EQ(Page[3][0].Strings[0].Fret, 5);
  // Again: all there, nothing to do.
  EXPECT_TRUE(Model.fill(legend, leftOut).Edit.empty());

  // A full page takes what fits and counts the rest.
  std::vector<TChordDiagram> many;
  for (int k = 0; k < 40; ++k) many.push_back(chord(static_cast<std::uint8_t>(k % 12), k / 12 + 6));
  Model.fill(many, leftOut);
  EXPECT_EQ(leftOut, 40 - (PrintPageColumns * PrintPageRows - 4));
  for (int r = 0; r < PrintPageRows; ++r)
    for (int c = 0; c < PrintPageColumns; ++c) EXPECT_FALSE(isEmpty(Page[c][r]));
}
