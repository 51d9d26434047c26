#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "music/DiagramConvert.h"
#include "pages/ChordsPageModel.h"
#include "pages/PageFile.h"
#include "pages/PrintPageModel.h"
#include "pages/ScalesPageModel.h"
#include "state/PageEdits.h"
#include "state/Workbench.h"

// Every edit of the Chords, Scales and Print pages, run as the tabs run
// them, undoes to the page and the page file it began with and redoes to
// the ones it made; and so do thousands of random intents, undos and redos.

namespace {

std::string fileOf(const Workbench& bench, PlayTab tab) {
  return encodePage(bench.contents(pageKindOf(tab)));
}

// A page and its file at one moment.
struct Snapshot {
  std::string Page, File;
  bool operator==(const Snapshot&) const = default;
};

Snapshot snap(const Workbench& bench, PlayTab tab) {
  return {bench.page(tab), fileOf(bench, tab)};
}

LibraryResult chordSet(TChordDiagram (&set)[6], int seed) {
  for (int c = 0; c < 6; ++c) {
    set[c] = TChordDiagram{};
    set[c].BaseFret = static_cast<std::uint8_t>(1 + (seed + c) % 17);
    set[c].ChordName = "maj";
  }
  return {};
}

LibraryResult scaleFormula(TScaleFormula& f) {
  const std::uint8_t degrees[10] = {0, 2, 4, 5, 7, 9, 11, 99, 99, 99};
  std::memcpy(f.Intervals, degrees, sizeof degrees);
  f.Formula = "1 2 3 4 5 6 7";
  return {};
}

TPrintDiagram printItem(int n) {
  TPrintDiagram d{};
  d.IsChord = static_cast<std::uint8_t>(n % 2);
  d.Name = std::to_string(n);
  d.BaseFret = static_cast<std::uint8_t>(1 + n % 17);
  for (int i = 0; i < 10; ++i) d.Intervals[i] = 99;
  return d;
}

NewScale newScale(int key) {
  NewScale s;
  s.Name = "Ionian (Major)";
  s.Strings = StandardTuning;
  s.Key = key;
  return s;
}

int cx(int c) {
  return 120 * c + 70;
}

// Checks one edit: its name, Undo back to `before`, Redo on to after.
void expectUndoable(Workbench& bench, PlayTab tab, const Snapshot& before, std::string_view label) {
  const Snapshot after = snap(bench, tab);
  ASSERT_NE(after, before) << label;
  EXPECT_EQ(bench.history(tab).undoLabel(), label);
  ASSERT_TRUE(bench.undo(tab));
  EXPECT_EQ(snap(bench, tab), before) << label;
  EXPECT_EQ(bench.history(tab).redoLabel(), label);
  ASSERT_TRUE(bench.redo(tab));
  EXPECT_EQ(snap(bench, tab), after) << label;
}

}  // namespace

TEST(SmallPagesUndo, ShowChordsUndoesToThePageAndFileItBeganWith) {
  Workbench bench;
  ChordsPageModel& model = bench.Chords;
  PageEdits edits(bench, PlayTab::Chords);
  for (int n = 0; n < 3; ++n) {
    const Snapshot before = snap(bench, PlayTab::Chords);
    edits.run(
        [&] { return model.showChords([n](TChordDiagram(&set)[6]) { return chordSet(set, n); }); });
    expectUndoable(bench, PlayTab::Chords, before, "Show Chords");
  }
  // Selecting is no edit.
  edits.run([&] { return model.press(cx(3), 100, PressButton::Left); });
  EXPECT_EQ(bench.history(PlayTab::Chords).steps(), 3u);
}

TEST(SmallPagesUndo, EveryScalesEditUndoesToThePageAndFileItBeganWith) {
  Workbench bench;
  AppState& st = bench.State;
  ScalesPageModel& model = bench.Scales;
  PageEdits edits(bench, PlayTab::Scales);
  const PlayTab tab = PlayTab::Scales;

  Snapshot before = snap(bench, tab);
  edits.run([&] { return model.showScale(scaleFormula, newScale(2)); });
  expectUndoable(bench, tab, before, "Show Scale");

  TScaleDiagram sent = st.ScalePage[0];
  sent.ScaleName = "Lydian";
  scaleToPrintItem(sent, st.PrintMoveBuffer);
  for (const int row : {4, 0}) {  // into the first free row, then over row 0
    model.setPlacing(true);
    before = snap(bench, tab);
    edits.run([&] { return model.press(cx(1), 150 * row + 90, PressButton::Left, true); });
    expectUndoable(bench, tab, before, "Place Scale");
  }

  model.press(cx(3), 90, PressButton::Right);
  before = snap(bench, tab);
  edits.run([&] { return model.changeStartFret(12); });
  expectUndoable(bench, tab, before, "Beginning Fret");
}

TEST(SmallPagesUndo, EveryPrintEditUndoesToThePageAndFileItBeganWith) {
  Workbench bench;
  AppState& st = bench.State;
  PrintPageModel& model = bench.Print;
  PageEdits edits(bench, PlayTab::Print);
  const PlayTab tab = PlayTab::Print;
  const auto press = [&](int c, int r, PressButton b = PressButton::Left) {
    return edits.run([&] { return model.press(cx(c), 160 * r + 90, b, true); });
  };

  Snapshot before = snap(bench, tab);
  st.PrintMoveBuffer = printItem(1);
  model.send();
  press(2, 1);
  expectUndoable(bench, tab, before, "Place Diagram");
  EXPECT_TRUE(st.PrintPageChanged);  // the flag follows the history

  // A move is one step from its start to its landing.
  press(2, 1, PressButton::Right);
  before = snap(bench, tab);
  edits.run([&] { return model.move(); });
  EXPECT_EQ(bench.history(tab).steps(), 1u);
  press(4, 3);
  expectUndoable(bench, tab, before, "Move Diagram");
  EXPECT_EQ(bench.history(tab).steps(), 2u);

  // A cancelled move, or one back onto its own cell, records nothing.
  press(4, 3, PressButton::Right);
  edits.run([&] { return model.move(); });
  edits.run([&] { return model.cancel(); });
  edits.run([&] { return model.move(); });
  press(4, 3);
  EXPECT_EQ(bench.history(tab).steps(), 2u);

  press(4, 3, PressButton::Right);
  before = snap(bench, tab);
  edits.run([&] { return model.remove(true); });
  expectUndoable(bench, tab, before, "Delete Diagram");

  // Back at the start the page is as its file was: nothing to ask about.
  while (bench.undo(tab)) {
  }
  EXPECT_FALSE(st.PrintPageChanged);
}

namespace {

// A reference history: the pages the Workbench must give back, kept here
// as plain snapshots.
struct Reference {
  std::vector<Snapshot> States;
  std::size_t Position = 0;
  explicit Reference(Snapshot start) : States{std::move(start)} {}
  const Snapshot& now() const { return States[Position]; }
  void edited(Snapshot after) {
    if (after == now()) return;  // an edit that changed nothing is not kept
    States.resize(Position + 1);
    States.push_back(std::move(after));
    ++Position;
    if (States.size() > PageHistory::DefaultLimit + 1) {
      States.erase(States.begin());
      --Position;
    }
  }
};

// Runs `intent` (which may begin a move the page waits on) `count` times,
// with Undo and Redo between, and checks the page against the reference.
template <class Intent, class Cancel, class Restored>
void runRandom(Workbench& bench, PlayTab tab, std::mt19937& rng, int count, Intent&& intent,
               Cancel&& cancel, Restored&& restored) {
  Reference ref(snap(bench, tab));
  for (int i = 0; i < count; ++i) {
    const int what = static_cast<int>(rng() % 10);
    if (what < 7) {
      const bool pending = intent();
      const Snapshot now = snap(bench, tab);
      if (pending) continue;  // a move waits: the page differs until it lands
      if (now != ref.now()) ref.edited(now);
      ASSERT_EQ(snap(bench, tab), ref.now()) << "step " << i;
      continue;
    }
    // Undo and Redo end a pending move or placing first, as the Edit menu does.
    cancel();
    ASSERT_EQ(snap(bench, tab), ref.now()) << "step " << i;
    const bool forward = what == 9;
    const bool can = forward ? ref.Position + 1 < ref.States.size() : ref.Position > 0;
    ASSERT_EQ(forward ? bench.redo(tab) : bench.undo(tab), can) << "step " << i;
    if (can) ref.Position += forward ? 1 : -1;
    restored();
    ASSERT_EQ(snap(bench, tab), ref.now()) << "step " << i;
  }
}

// Mostly the middle of a cell, sometimes anywhere near the picture.
int coordinate(std::mt19937& rng, int pitch, int cells) {
  if (rng() % 8 == 0) return static_cast<int>(rng() % 900) - 50;
  return 20 + pitch * static_cast<int>(rng() % cells) + pitch / 2;
}

PressButton button(std::mt19937& rng) {
  const unsigned b = rng() % 6;
  return b < 4 ? PressButton::Left : b == 4 ? PressButton::Right : PressButton::Other;
}

}  // namespace

TEST(SmallPagesUndo, RandomChordsPageWorkFollowsTheReference) {
  Workbench bench;
  AppState& st = bench.State;
  ChordsPageModel& model = bench.Chords;
  PageEdits edits(bench, PlayTab::Chords);
  std::mt19937 rng(1234);
  runRandom(
      bench, PlayTab::Chords, rng, 3000,
      [&] {
        if (rng() % 3 == 0) {
          const int seed = static_cast<int>(rng() % 50);
          const bool fail = rng() % 5 == 0;
          edits.run([&] {
            return model.showChords([&](TChordDiagram(&set)[6]) {
              return fail ? LibraryResult{LibraryStatus::MissingFiles, {}} : chordSet(set, seed);
            });
          });
        } else {
          edits.run([&] {
            return model.press(coordinate(rng, 120, 6), coordinate(rng, 150, 5), button(rng));
          });
        }
        EXPECT_GE(st.ChordSetCount, 0);
        EXPECT_LE(st.ChordSetCount, ChordPageRows);
        return false;
      },
      [] {}, [&] { model.restored(); });
}

TEST(SmallPagesUndo, RandomScalesPageWorkFollowsTheReference) {
  Workbench bench;
  AppState& st = bench.State;
  ScalesPageModel& model = bench.Scales;
  PageEdits edits(bench, PlayTab::Scales);
  std::mt19937 rng(5678);
  runRandom(
      bench, PlayTab::Scales, rng, 3000,
      [&] {
        switch (rng() % 4) {
          case 0:
            edits.run([&] {
              return model.showScale(scaleFormula, newScale(static_cast<int>(rng() % 12)));
            });
            break;
          case 1: {
            TScaleDiagram s{};
            s.ScaleName = std::to_string(rng() % 100);
            scaleToPrintItem(s, st.PrintMoveBuffer);
            if (rng() % 6 == 0) st.PrintMoveBuffer.Empty = 1;
            model.setPlacing(true);
            break;
          }
          case 2:
            edits.run([&] { return model.changeStartFret(static_cast<int>(rng() % 20)); });
            break;
          default:
            edits.run([&] {
              return model.press(coordinate(rng, 120, 6), coordinate(rng, 150, 5), button(rng),
                                 rng() % 2 == 0);
            });
        }
        // Rows fill from the top: exactly the counted ones hold a scale.
        for (int r = 0; r < ScalePageSize; ++r)
          EXPECT_EQ(isEmpty(st.ScalePage[r]), r >= st.ScaleCount);
        return false;
      },
      [&] { model.setPlacing(false); }, [&] { model.restored(); });
}

TEST(SmallPagesUndo, RandomPrintPageWorkFollowsTheReference) {
  Workbench bench;
  AppState& st = bench.State;
  PrintPageModel& model = bench.Print;
  PageEdits edits(bench, PlayTab::Print);
  std::mt19937 rng(9012);
  runRandom(
      bench, PlayTab::Print, rng, 4000,
      [&] {
        switch (rng() % 6) {
          case 0:
            st.PrintMoveBuffer = printItem(static_cast<int>(rng() % 40));
            edits.run([&] { return model.send(); });
            break;
          case 1:
            edits.run([&] { return model.move(); });
            break;
          case 2:
            edits.run([&] { return model.remove(rng() % 3 != 0); });
            break;
          case 3:
            edits.run([&] { return rng() % 2 ? model.cancel() : model.endMove(); });
            break;
          default:
            edits.run([&] {
              return model.press(coordinate(rng, 120, 6), coordinate(rng, 160, 5), button(rng),
                                 rng() % 2 == 0);
            });
        }
        // The item in hand is the one framed, unless its cell was emptied.
        const SmallCell sel = model.selected();
        if (SmallGeometry::inGrid(sel) && !isEmpty(st.SelectedPrintItem) &&
            !isEmpty(st.PrintPage[sel.Column][sel.Row]) && !model.moving()) {
          EXPECT_EQ(std::memcmp(&st.SelectedPrintItem, &st.PrintPage[sel.Column][sel.Row],
                                sizeof(TPrintDiagram)),
                    0);
        }
        return model.moving();
      },
      [&] { model.cancel(); }, [&] { model.restored(); });
}
