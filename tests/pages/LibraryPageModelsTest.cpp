#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "music/DiagramConvert.h"
#include "pages/ChordsPageModel.h"
#include "pages/ScalesPageModel.h"

namespace {

template <class T>
bool same(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

int cx(int c) {
  return 120 * c + 70;
}
int cy(int r) {
  return 150 * r + 90;
}

// A library read that gives set `n` (its fingerings at fret n + 1), counting calls.
struct FakeChordLibrary {
  int Reads = 0;
  LibraryStatus Status = LibraryStatus::Ok;
  LibraryResult operator()(TChordDiagram (&set)[6]) {
    ++Reads;
    if (Status != LibraryStatus::Ok) {
      set[0].Empty = 0;  // a part read before the failure is not kept
      return {Status, "pxma1.dat"};
    }
    for (int c = 0; c < 6; ++c) {
      set[c] = TChordDiagram{};
      set[c].BaseFret = static_cast<std::uint8_t>(Reads);
      set[c].Root = static_cast<std::uint8_t>(c);
    }
    return {};
  }
};

struct ChordsPage : ::testing::Test {
  TChordDiagram Page[ChordPageColumns][ChordPageRows]{};
  std::int32_t Count = 0;
  TChordDiagram Selected{};
  ChordsPageModel Model{Page, Count, Selected};
  FakeChordLibrary Library;

  ChordsPage() {
    for (auto& column : Page)
      for (auto& d : column) d.Empty = 1;
    Selected.Empty = 1;
  }
  ChordsUpdate show() {
    return Model.showChords([this](TChordDiagram(&set)[6]) { return Library(set); });
  }
};

}  // namespace

TEST_F(ChordsPage, SetsGoInFromTheTopUpToFiveAndTheNewOneIsInHand) {
  for (int r = 0; r < 5; ++r) {
    const ChordsUpdate u = show();
    EXPECT_EQ(u.Edit, "Show Chords");
    EXPECT_EQ(u.DrawSet, r);
    EXPECT_EQ(u.ScrollToRow, r);
    EXPECT_EQ(u.Frame, (SmallCell{0, r}));
    EXPECT_TRUE(u.ShowChord);
    EXPECT_EQ(Count, r + 1);
    EXPECT_EQ(Page[3][r].BaseFret, r + 1);
    EXPECT_TRUE(same(Selected, Page[0][r]));
    EXPECT_EQ(Model.current(), (SmallCell{0, r}));
  }
  // The sixth is refused before the library is read.
  const ChordsUpdate u = show();
  EXPECT_EQ(u.Message, "Maximum is 5 sets of chords. Clear the Chord page.");
  EXPECT_TRUE(u.Edit.empty());
  EXPECT_EQ(Library.Reads, 5);
  EXPECT_EQ(Count, 5);
}

TEST_F(ChordsPage, AFailedReadChangesNothing) {
  show();
  Library.Status = LibraryStatus::ReadError;
  const ChordsUpdate u = show();
  ASSERT_TRUE(u.ReadFailed);
  EXPECT_EQ(u.ReadFailed->File, "pxma1.dat");
  EXPECT_TRUE(u.Edit.empty() && !u.DrawSet && !u.Frame);
  EXPECT_EQ(Count, 1);
  EXPECT_TRUE(isEmpty(Page[0][1]));
}

TEST_F(ChordsPage, PressesFrameFilledCellsAndRightPressesOnlyOpenTheMenu) {
  show();
  show();
  ChordsUpdate u = Model.press(260, 100, PressButton::Left);
  EXPECT_EQ(u.Frame, (SmallCell{2, 0}));
  EXPECT_TRUE(same(Selected, Page[2][0]));
  // Between columns the one to the left; left of the first, the first.
  EXPECT_EQ(Model.press(135, 100, PressButton::Left).Frame, (SmallCell{0, 0}));
  Model.press(300, 100, PressButton::Left);
  EXPECT_EQ(Model.press(10, 100, PressButton::Left).Frame, (SmallCell{0, 0}));
  // The framed cell again: nothing to do.
  u = Model.press(10, 100, PressButton::Left);
  EXPECT_FALSE(u.Frame || u.ShowChord);

  // A right press over a set opens the menu for it, the frame stays.
  u = Model.press(cx(3), cy(1), PressButton::Right);
  EXPECT_TRUE(u.OpenMenu);
  EXPECT_FALSE(u.Frame);
  EXPECT_EQ(Model.current(), (SmallCell{3, 1}));
  EXPECT_EQ(Model.framed(), (SmallCell{0, 0}));
  EXPECT_EQ(Model.diagramToSend(), &Page[3][1]);
  // An empty row: no menu, and nothing to send from it.
  u = Model.press(cx(3), cy(3), PressButton::Right);
  EXPECT_FALSE(u.OpenMenu);
  EXPECT_EQ(Model.current(), (SmallCell{3, 3}));
  EXPECT_EQ(Model.diagramToSend(), nullptr);
  // Past x 740 the press does not reach the page at all.
  Model.press(745, 100, PressButton::Right);
  EXPECT_EQ(Model.current(), (SmallCell{3, 3}));
  EXPECT_FALSE(Model.press(cx(1), cy(0), PressButton::Other).Frame);
}

TEST_F(ChordsPage, LoadStopsAtTheFirstEmptyDiagramAndRestoreKeepsTheFrameWhereItCan) {
  TChordDiagram file[ChordPageColumns][ChordPageRows]{};
  for (auto& column : file)
    for (auto& d : column) d.Empty = 1;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 6; ++c) file[c][r].Empty = 0;
  file[4][2].Empty = 1;  // row 2 is cut short
  ChordsUpdate u = Model.load(file);
  EXPECT_EQ(Count, 2);
  EXPECT_TRUE(u.RedrawPage);
  EXPECT_EQ(u.Frame, (SmallCell{0, 0}));
  EXPECT_FALSE(isEmpty(Page[3][2]));
  EXPECT_TRUE(isEmpty(Page[5][2]));

  Model.press(cx(4), cy(1), PressButton::Left);
  u = Model.restored();
  EXPECT_EQ(u.Frame, (SmallCell{4, 1}));
  Count = 1;  // the set of the framed cell was taken back
  u = Model.restored();
  EXPECT_EQ(u.Frame, (SmallCell{0, 0}));
  EXPECT_TRUE(same(Selected, Page[0][0]));
  Count = 0;
  u = Model.restored();
  EXPECT_FALSE(u.Frame);
  EXPECT_TRUE(isEmpty(Selected) && u.ShowChord);
  Model.erase();
  EXPECT_EQ(Model.framed(), (SmallCell{-1, -1}));
  EXPECT_TRUE(isEmpty(Page[0][0]));
}

namespace {

struct ScalesPage : ::testing::Test {
  TScaleDiagram Page[ScalePageSize]{};
  std::int32_t Count = 0;
  TScaleDiagram Current{};
  TPrintDiagram Sent{};
  NameTables Names;
  ScalesPageModel Model{Page, Count, Current, Sent, Names};
  int Reads = 0;

  ScalesPage() {
    for (auto& d : Page) d.Empty = 1;
    Current.Empty = Sent.Empty = 1;
  }
  ScalesUpdate show(std::string_view name = "Major Pentatonic", std::string_view typed = {}) {
    NewScale scale;
    scale.Name = name;
    scale.TypedTuning = typed;
    scale.Strings = StandardTuning;
    scale.Key = 7;
    return Model.showScale(
        [this](TScaleFormula& f) {
          ++Reads;
          const std::uint8_t degrees[10] = {0, 2, 4, 7, 9, 99, 99, 99, 99, 99};
          std::memcpy(f.Intervals, degrees, sizeof degrees);
          f.Formula = "1 2 3 5 6";
          return LibraryResult{};
        },
        scale);
  }
  // A scale sent from the print page, from position 3 at fret 9.
  void send(const char* name) {
    TScaleDiagram s = Page[0];
    s.ScaleName = name;
    scaleToPrintItem(s, Sent);
    Sent.BaseFret = 9;
    Model.setPlacing(true);
  }
};

std::vector<int> frets(const TScaleDiagram& s) {
  return {s.StartFrets, s.StartFrets + 6};
}

}  // namespace

TEST_F(ScalesPage, ShowScaleBuildsTheRowUpToFive) {
  ScalesUpdate u = show();
  EXPECT_EQ(u.Edit, "Show Scale");
  EXPECT_EQ(u.DrawRows, std::vector<int>{0});
  EXPECT_TRUE(u.ShowScale);
  const TScaleDiagram& sc = Page[0];
  EXPECT_EQ(frets(sc), (std::vector<int>{1, 4, 7, 10, 13, 17}));
  EXPECT_EQ(sc.ScaleName.str(), "Major Pentatonic");
  EXPECT_EQ(sc.TuningName.str(), " E A D G B E");
  EXPECT_EQ(sc.Formula.str(), "1 2 3 5 6");
  EXPECT_EQ(sc.Root, 7);
  EXPECT_EQ(sc.Tuning[5], 40);
  EXPECT_TRUE(same(Current, sc));
  EXPECT_EQ(Model.selected(), (SmallCell{0, 0}));
  show("Dorian (Minor)", "Drop D");
  EXPECT_EQ(Page[1].TuningName.str(), "Drop D");
  EXPECT_EQ(Model.selected(), (SmallCell{0, 1}));
  for (int i = 0; i < 3; ++i) show();
  u = show();
  EXPECT_EQ(u.Message, "Maximum is 5 sets of scales. Clear the Scale page.");
  EXPECT_EQ(Reads, 5);
  EXPECT_EQ(Count, 5);
}

TEST_F(ScalesPage, PressesSelectFilledRowsOnlyAndRightPressesOpenTheMenu) {
  show();
  show();
  EXPECT_FALSE(Model.press(cx(1), cy(3), PressButton::Right).OpenMenu);  // empty row
  EXPECT_EQ(Model.pressed(), (SmallCell{1, 3}));
  Model.press(745, 100, PressButton::Left);
  EXPECT_EQ(Model.pressed(), (SmallCell{1, 3}));
  ScalesUpdate u = Model.press(cx(2), cy(0), PressButton::Right);
  EXPECT_TRUE(u.OpenMenu);
  EXPECT_EQ(Model.selected(), (SmallCell{0, 1}));
  u = Model.press(cx(2), cy(0), PressButton::Left);
  EXPECT_EQ(u.Frame, (SmallCell{2, 0}));
  EXPECT_TRUE(same(Current, Page[0]));
  EXPECT_FALSE(Model.press(cx(2), cy(0), PressButton::Left).Frame);
}

TEST_F(ScalesPage, APlacedScaleGoesToTheFirstFreeRowOrAsksBeforeReplacing) {
  show();
  show();
  send("Lydian");
  ScalesUpdate u = Model.press(cx(1), cy(4), PressButton::Left);
  EXPECT_EQ(u.Edit, "Place Scale");
  EXPECT_EQ(u.DrawRows, std::vector<int>{2});
  EXPECT_EQ(u.Pointer, PagePointer::Normal);
  EXPECT_EQ(Count, 3);
  EXPECT_EQ(Page[2].ScaleName.str(), "Lydian");
  EXPECT_EQ(frets(Page[2]), (std::vector<int>{1, 4, 7, 10, 13, 17}));
  EXPECT_FALSE(Model.placing());
  EXPECT_EQ(Model.pressed(), (SmallCell{0, 2}));

  send("Locrian");
  u = Model.press(cx(0), cy(1), PressButton::Left);
  ASSERT_TRUE(u.Question);
  EXPECT_EQ(u.Question->Text, "Do you want to replace this row of diagrams?");
  EXPECT_TRUE(u.Question->DefaultYes && Model.placing());
  EXPECT_EQ(Page[1].ScaleName.str(), "Major Pentatonic");
  Model.press(cx(0), cy(1), PressButton::Left, true);
  EXPECT_EQ(Page[1].ScaleName.str(), "Locrian");
  EXPECT_EQ(Count, 3);

  // A right press, or nothing sent, cancels.
  send("Aeolian");
  u = Model.press(cx(0), cy(0), PressButton::Right);
  EXPECT_FALSE(u.OpenMenu || Model.placing());
  EXPECT_EQ(u.Pointer, PagePointer::Normal);
  Sent.Empty = 1;
  Model.setPlacing(true);
  Model.press(cx(0), cy(4), PressButton::Left);
  EXPECT_FALSE(Model.placing());
  EXPECT_EQ(Count, 3);
}

TEST_F(ScalesPage, TheBeginningFretChangesOnePositionWithinOneToSeventeen) {
  show();
  show();
  Model.press(cx(2), cy(0), PressButton::Right);
  EXPECT_EQ(Model.startFret(), 7);
  for (const int refused : {0, 18, 7}) EXPECT_TRUE(Model.changeStartFret(refused).Edit.empty());
  // Row 0 is not the selected row: the scale in hand stays.
  ScalesUpdate u = Model.changeStartFret(5);
  EXPECT_EQ(u.Edit, "Beginning Fret");
  EXPECT_EQ(u.RedrawPosition, (SmallCell{2, 0}));
  EXPECT_EQ(u.Frame, (SmallCell{0, 1}));
  EXPECT_EQ(Page[0].StartFrets[2], 5);
  EXPECT_EQ(Current.StartFrets[2], 7);
  Model.press(cx(4), cy(1), PressButton::Left);
  Model.changeStartFret(16);
  EXPECT_EQ(Page[1].StartFrets[4], 16);
  EXPECT_EQ(Current.StartFrets[4], 16);
  Model.press(cx(4), cy(3), PressButton::Left);  // an empty row
  EXPECT_EQ(Model.startFret(), std::nullopt);
}

TEST_F(ScalesPage, LoadAndRestoreTakeARowInHand) {
  TScaleDiagram file[ScalePageSize]{};
  for (auto& d : file) d.Empty = 1;
  file[0].Empty = file[1].Empty = file[3].Empty = 0;
  ScalesUpdate u = Model.load(file);
  EXPECT_EQ(Count, 2);
  EXPECT_EQ(u.DrawRows, (std::vector<int>{0, 1}));
  EXPECT_EQ(Model.selected(), (SmallCell{0, 1}));
  Model.press(cx(3), cy(0), PressButton::Left);
  u = Model.restored();
  EXPECT_TRUE(u.RedrawPage);
  EXPECT_EQ(u.Frame, (SmallCell{3, 0}));
  EXPECT_EQ(Model.selected(), (SmallCell{3, 0}));
  Model.press(cx(3), cy(1), PressButton::Left);
  Count = 1;
  u = Model.restored();
  EXPECT_FALSE(u.Frame);
  EXPECT_EQ(Model.selected(), (SmallCell{0, 0}));
  Count = 0;
  Model.restored();
  EXPECT_TRUE(isEmpty(Current));
}
