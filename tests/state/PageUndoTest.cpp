// Undo and Redo of every page through the Workbench: each edit, run as the
// tabs run it, is one named step; Undo gives back the page and its file byte
// for byte, Redo the edit; what is no edit leaves the history alone; and
// thousands of random intents, undos and redos follow a plain list of pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "TestChords.h"
#include "design/FingeringEditor.h"
#include "music/DiagramConvert.h"
#include "pages/PageFile.h"
#include "state/Workbench.h"

namespace {

using B = PlayPageEditor::Button;

// A page and its file (with the play page's repeat companion) at one moment.
struct Snapshot {
  std::string Page, File;
  bool operator==(const Snapshot&) const = default;
};

Snapshot snap(const Workbench& bench, PlayTab tab) {
  std::string file = encodePage(bench.contents(pageKindOf(tab)));
  if (tab == PlayTab::PlayPage) file += encodeRepeatSet(bench.State.Play.ActiveRepeatSet);
  return {bench.page(tab), file};
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

NewScale newScale(int key) {
  NewScale s;
  s.Name = "Ionian (Major)";
  s.Strings = StandardTuning;
  s.Key = key;
  return s;
}

TPrintDiagram printItem(int n) {
  TPrintDiagram d{};
  d.IsChord = static_cast<std::uint8_t>(n % 2);
  d.Name = std::to_string(n);
  d.BaseFret = static_cast<std::uint8_t>(1 + n % 17);
  for (int i = 0; i < 10; ++i) d.Intervals[i] = 99;
  return d;
}

// A diagram of the design group told apart by its base fret.
TChordDiagram tagged(int tag) {
  TChordDiagram d = startFingering();
  d.BaseFret = static_cast<std::uint8_t>(tag + 1);
  return d;
}

// The middle of a cell of the Chords and Scales pages (rows 150 high) and of
// the print page (rows 160 high).
int cx(int c) {
  return 120 * c + 70;
}

// The Workbench and what the tabs hold beside it: the fingering editor of
// the fretboard. Every intent goes through apply(), as the tabs send them.
struct Bench {
  Workbench W;
  AppState& St = W.State;
  FingeringEditor Editor{St.EditChord, St.ExtensionFlags, St.Names};
  std::string Dir = std::string(STRUMBO_TEST_PROGRAM_DIR) + "/";

  Bench() { St.Play.loadActiveRepeatSet(); }

  template <class Intent>
  auto run(PlayTab tab, Intent&& intent) {
    return W.apply(tab, std::forward<Intent>(intent));
  }
  // A fingering edit as the fretboard makes it.
  template <class Change>
  void finger(const char* label, Change&& change, bool merge = false) {
    run(PlayTab::ChordDesign, [&] {
      change();
      return PageEdit{label, merge};
    });
  }
  void showChords(int seed) {
    run(PlayTab::Chords, [&] {
      return W.Chords.showChords([seed](TChordDiagram(&set)[6]) { return chordSet(set, seed); });
    });
  }
  void showScale(int key) {
    run(PlayTab::Scales, [&] { return W.Scales.showScale(scaleFormula, newScale(key)); });
  }
  void placePrint(int n, int c, int r) {
    St.PrintMoveBuffer = printItem(n);
    W.Print.send();
    run(PlayTab::Print,
        [&] { return W.Print.press(cx(c), 160 * r + 90, PressButton::Left, true); });
  }
  void printPress(int c, int r, PressButton b) {
    run(PlayTab::Print, [&] { return W.Print.press(cx(c), 160 * r + 90, b); });
  }
  void placePlay(const TChordDiagram& d, PlaySlot slot, bool confirmed = false) {
    W.Play.takeInHand(d);
    run(PlayTab::PlayPage, [&] { return W.Play.press(slot, B::Left, false, confirmed); });
  }
  void playIntent(const std::function<PlayPageUpdate()>& intent) { run(PlayTab::PlayPage, intent); }
  void group(const std::function<GroupUpdate()>& intent) { run(PlayTab::ChordDesign, intent); }

  // Some work on every page, so that Undo has more than an empty page to
  // go back to.
  void fill() {
    showChords(0);
    showChords(1);
    showScale(2);
    showScale(4);
    placePrint(1, 0, 0);
    placePrint(2, 2, 1);
    placePlay(chordNamed("maj", 0), {0, 0});
    St.Play.RepeatSet44.RepeatCount[4] = 2;
    St.Play.loadActiveRepeatSet();
    for (int s = 0; s < 4; ++s) St.DesignGroup[s] = tagged(s);
    group([&] { return W.Group.press(0, false); });
    for (PlayTab tab : {PlayTab::Chords, PlayTab::ChordDesign, PlayTab::PlayPage, PlayTab::Print,
                        PlayTab::Scales})
      W.markSaved(tab);
  }
};

struct Row {
  PlayTab Tab;
  const char* Label;
  // What leads up to the edit (a selection, a diagram sent) changes none of
  // the page's bytes, so the page before is taken before it all.
  std::function<void(Bench&)> Edit;
};

void sendScale(Bench& b, int row) {
  TScaleDiagram sent = b.St.ScalePage[row];
  sent.ScaleName = "Lydian";
  scaleToPrintItem(sent, b.St.PrintMoveBuffer);
  b.W.Scales.setPlacing(true);
}

GroupUpdate pressSlot(Bench& b, int s, bool right, bool confirmed = false) {
  return b.W.Group.press(s, right, confirmed);
}

const std::vector<Row>& rows() {
  using T = PlayTab;
  const auto scales = [](Bench& b, auto intent) { b.run(T::Scales, intent); };
  static const std::vector<Row> table = {
      {T::Chords, "Show Chords", [](Bench& b) { b.showChords(7); }},
      {T::Scales, "Show Scale", [](Bench& b) { b.showScale(9); }},
      {T::Scales, "Place Scale",  // into the first free row
       [=](Bench& b) {
         sendScale(b, 0);
         scales(b, [&] { return b.W.Scales.press(cx(1), 690, PressButton::Left, true); });
       }},
      {T::Scales, "Place Scale",  // over a filled row, confirmed
       [=](Bench& b) {
         sendScale(b, 1);
         scales(b, [&] { return b.W.Scales.press(cx(1), 90, PressButton::Left, true); });
       }},
      {T::Scales, "Beginning Fret",
       [=](Bench& b) {
         b.W.Scales.press(cx(3), 90, PressButton::Right);
         scales(b, [&] { return b.W.Scales.changeStartFret(12); });
       }},
      {T::Print, "Place Diagram", [](Bench& b) { b.placePrint(5, 4, 2); }},
      {T::Print, "Place Diagram", [](Bench& b) { b.placePrint(5, 2, 1); }},  // over an item
      {T::Print, "Move Diagram",  // one step from its start to its landing
       [](Bench& b) {
         b.printPress(2, 1, PressButton::Right);
         b.run(T::Print, [&] { return b.W.Print.move(); });
         b.printPress(4, 3, PressButton::Left);
       }},
      {T::Print, "Fill From Play Page",
       [](Bench& b) {
         int leftOut = 0;
         b.run(T::Print, [&] { return b.W.Print.fill(playPageLegend(b.St.PlayPage), leftOut); });
       }},
      {T::Print, "Delete Diagram",
       [](Bench& b) {
         b.printPress(2, 1, PressButton::Right);
         b.run(T::Print, [&] { return b.W.Print.remove(true); });
       }},
      {T::PlayPage, "Place Chord",
       [](Bench& b) {
         b.placePlay(chordNamed("m7", 9), {5, 2});
       }},
      {T::PlayPage, "Place Chord",  // over another chord, confirmed
       [](Bench& b) {
         b.placePlay(chordNamed("m7", 9), {0, 0}, true);
       }},
      {T::PlayPage, "Move Chord",
       [](Bench& b) {
         b.W.Play.press({0, 0}, B::Right, false);
         b.playIntent([&] { return b.W.Play.cutAndMove(); });
         b.playIntent([&] { return b.W.Play.press({7, 3}, B::Left, false); });
       }},
      {T::PlayPage, "Copy Chord",
       [](Bench& b) {
         b.W.Play.press({0, 0}, B::Right, false);
         b.playIntent([&] { return b.W.Play.copyAndMove(); });
         b.playIntent([&] { return b.W.Play.press({3, 0}, B::Left, true); });
       }},
      {T::PlayPage, "Delete Chord",
       [](Bench& b) {
         b.W.Play.press({0, 0}, B::Right, false);
         b.playIntent([&] { return b.W.Play.deleteChord(true); });
       }},
      {T::PlayPage, "Repeat Markers",
       [](Bench& b) {
         b.W.Play.press({5, 1}, B::Right, false);
         RepeatChoice c = b.W.Play.repeatMarkers().Repeat;
         c.Repeat = c.Loop = true;
         c.Count = 3;
         b.playIntent([&] { return b.W.Play.setRepeatMarkers(2, c, false); });
       }},
      {T::PlayPage, "Time Signature",
       [](Bench& b) { b.playIntent([&] { return b.W.Play.toggleTimeSignature(); }); }},
      {T::PlayPage, "Tempo",
       [](Bench& b) { b.playIntent([&] { return b.W.Play.setTempo(250'000); }); }},
      {T::PlayPage, "Strum Speed",
       [](Bench& b) {
         b.playIntent([&] { return b.W.Play.setStrumSpeed(-500); });
         b.playIntent([&] { return b.W.Play.setStrumSpeed(-520); });
       }},
      // Both are saved in the page file's header.
      {T::PlayPage, "Loop", [](Bench& b) { b.playIntent([&] { return b.W.Play.toggleLoop(); }); }},
      {T::PlayPage, "Bass Note",
       [](Bench& b) { b.playIntent([&] { return b.W.Play.toggleBassNote(); }); }},
      {T::ChordDesign, "Place Chord",
       [](Bench& b) {
         b.group([&] { return b.W.Group.receive(tagged(7)); });
         b.group([&] { return pressSlot(b, 1, false, true); });
       }},
      {T::ChordDesign, "Drop Chord",
       [](Bench& b) {
         b.group([&] { return b.W.Group.dropInHand(5, false, [&] { b.Editor.nameForGroup(); }); });
       }},
      {T::ChordDesign, "Move Chord",
       [](Bench& b) {
         b.group([&] { return pressSlot(b, 3, true); });
         b.group([&] { return b.W.Group.chooseMove(); });
         b.group([&] { return pressSlot(b, 0, false); });
       }},
      {T::ChordDesign, "Delete Chord",
       [](Bench& b) {
         b.group([&] { return pressSlot(b, 2, true); });
         b.group([&] { return b.W.Group.chooseDelete(true); });
       }},
      {T::ChordDesign, "Show Chords",
       [](Bench& b) { b.group([&] { return b.W.Group.showChords(b.Dir, 5, 3, true, true); }); }},
      {T::ChordDesign, "Fret",
       [](Bench& b) { b.finger("Fret", [&] { b.Editor.press(2, 5, 1, false); }); }},
      {T::ChordDesign, "Tablature",
       [](Bench& b) { b.finger("Tablature", [&] { b.Editor.typeFret(4, 7, 1); }); }},
      {T::ChordDesign, "Root",
       [](Bench& b) {
         b.finger(
             "Root", [&] { b.Editor.setRoot(b.Editor.root() + 1); }, true);
       }},
      {T::ChordDesign, "Bass",
       [](Bench& b) {
         b.finger(
             "Bass", [&] { b.Editor.setBass(b.Editor.bass() + 5); }, true);
       }},
      {T::ChordDesign, "Chord Name",
       [](Bench& b) {
         b.finger(
             "Chord Name", [&] { b.Editor.typeChordName("minor"); }, true);
       }},
  };
  return table;
}

// The change flag the questions ask about, where a page has one.
std::optional<bool> changeFlag(const AppState& st, PlayTab tab) {
  switch (tab) {
    case PlayTab::PlayPage:
      return st.Play.PlayPageChanged;
    case PlayTab::Print:
      return st.PrintPageChanged;
    case PlayTab::ChordDesign:
      return st.DesignGroupChanged;
    default:
      return std::nullopt;
  }
}

}  // namespace

TEST(PageUndo, EveryEditIsOneNamedStepThatUndoesAndRedoesToTheByte) {
  for (const Row& row : rows()) {
    SCOPED_TRACE(row.Label);
    Bench b;
    b.fill();
    const Snapshot before = snap(b.W, row.Tab);
    const std::size_t steps = b.W.history(row.Tab).steps();

    row.Edit(b);
    const Snapshot after = snap(b.W, row.Tab);
    ASSERT_NE(after.Page, before.Page);
    EXPECT_EQ(b.W.history(row.Tab).steps(), steps + 1);
    EXPECT_EQ(b.W.history(row.Tab).undoLabel(), row.Label);
    // The flag asks whether the file would differ: the fingering in hand
    // is not in the design group's file.
    if (const auto flag = changeFlag(b.St, row.Tab)) {
      EXPECT_EQ(*flag, after.File != before.File);
    }

    ASSERT_TRUE(b.W.undo(row.Tab).Restored);
    EXPECT_EQ(snap(b.W, row.Tab), before);
    EXPECT_EQ(b.W.history(row.Tab).redoLabel(), row.Label);
    if (const auto flag = changeFlag(b.St, row.Tab)) {
      EXPECT_FALSE(*flag);
    }
    ASSERT_TRUE(b.W.redo(row.Tab).Restored);
    EXPECT_EQ(snap(b.W, row.Tab), after);
  }
}

// A cancelled move, a move back onto its own cell, a question answered No, a
// selection: the page is as it was and nothing is kept.
TEST(PageUndo, WhatIsNoEditLeavesThePageAndItsHistoryAlone) {
  Bench b;
  b.fill();
  const auto unchanged = [&](PlayTab tab, const std::function<void()>& act) {
    SCOPED_TRACE(int(tab));
    const Snapshot before = snap(b.W, tab);
    const std::size_t steps = b.W.history(tab).steps();
    act();
    EXPECT_EQ(snap(b.W, tab), before);
    EXPECT_EQ(b.W.history(tab).steps(), steps);
  };
  unchanged(PlayTab::PlayPage, [&] {
    b.W.Play.press({0, 0}, B::Right, false);
    b.playIntent([&] { return b.W.Play.cutAndMove(); });
    b.playIntent([&] { return b.W.Play.cancel(); });
    b.W.Play.takeInHand(chordNamed("7", 4));
    b.playIntent([&] { return b.W.Play.press({0, 0}, B::Left, false); });  // asks; No
    b.playIntent([&] { return b.W.Play.cancel(); });
    b.playIntent([&] { return b.W.Play.deleteChord(); });  // asks; No
  });
  unchanged(PlayTab::Print, [&] {
    b.printPress(2, 1, PressButton::Right);
    b.run(PlayTab::Print, [&] { return b.W.Print.move(); });
    b.run(PlayTab::Print, [&] { return b.W.Print.cancel(); });
    b.run(PlayTab::Print, [&] { return b.W.Print.move(); });
    b.printPress(2, 1, PressButton::Left);
  });
  b.group([&] { return b.W.Group.press(3, false); });  // the slot in hand already
  unchanged(PlayTab::ChordDesign, [&] {
    b.group([&] { return b.W.Group.press(3, true); });
    b.group([&] { return b.W.Group.chooseMove(); });
    b.group([&] { return b.W.Group.press(3, false); });
    b.group([&] { return b.W.Group.chooseDelete(false); });  // asks
  });
  unchanged(PlayTab::Chords, [&] {
    b.run(PlayTab::Chords, [&] { return b.W.Chords.press(cx(3), 100, PressButton::Left); });
  });
}

// Held buttons, a dragged bar and a typed name are one step; an edit of the
// page in between, even one that is kept in no history, starts a new one.
TEST(PageUndo, RepeatedEditsOfOneKindJoinUntilThePageChangesOtherwise) {
  Bench b;
  b.fill();
  const std::string start = b.W.page(PlayTab::ChordDesign);
  for (int k = 0; k < 4; ++k)
    b.finger(
        "Root", [&] { b.Editor.setRoot(b.Editor.root() + 1); }, true);
  for (const char* typed : {"m", "mi", "min"})
    b.finger(
        "Chord Name", [&] { b.Editor.typeChordName(typed); }, true);
  EXPECT_EQ(b.W.history(PlayTab::ChordDesign).steps(), 2u);
  b.W.undo(PlayTab::ChordDesign);
  b.W.undo(PlayTab::ChordDesign);
  EXPECT_EQ(b.W.page(PlayTab::ChordDesign), start);

  // Taking a slot in hand is no step, but the root steps after it are new.
  b.finger(
      "Root", [&] { b.Editor.setRoot(b.Editor.root() + 1); }, true);
  b.group([&] { return b.W.Group.press(2, false); });
  const std::string selected = b.W.page(PlayTab::ChordDesign);
  b.finger(
      "Root", [&] { b.Editor.setRoot(b.Editor.root() + 1); }, true);
  EXPECT_EQ(b.W.history(PlayTab::ChordDesign).steps(), 2u);
  b.W.undo(PlayTab::ChordDesign);
  EXPECT_EQ(b.W.page(PlayTab::ChordDesign), selected);

  const std::string play = b.W.page(PlayTab::PlayPage);
  for (int speed = -400; speed >= -600; speed -= 20)
    b.playIntent([&] { return b.W.Play.setStrumSpeed(speed); });
  EXPECT_EQ(b.W.history(PlayTab::PlayPage).undoLabel(), "Strum Speed");
  b.W.undo(PlayTab::PlayPage);
  EXPECT_EQ(b.W.page(PlayTab::PlayPage), play);
}

namespace {

// What one random intent did to the page.
enum class Did {
  Edit,     // any change of the page is one step
  Pending,  // a move began or goes on; the page may differ until it lands
  Nothing,  // no step, though the fingering in hand may have changed
};

// Runs `count` random intents of one page with Undo and Redo between and
// checks the history against a plain list of each step's page and file
// before and after it.
template <class Intent>
void randomWalk(Bench& b, PlayTab tab, unsigned seed, int count, std::size_t deep,
                Intent&& intent) {
  std::mt19937 rng(seed);
  std::vector<std::pair<Snapshot, Snapshot>> steps;
  std::size_t at = 0;  // steps done
  std::optional<Snapshot> moveStart;
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(i);
    const unsigned what = rng() % 10;
    if (what < 8) {
      Snapshot before = snap(b.W, tab);
      const Did did = intent(rng);
      if (did == Did::Pending) {
        if (!moveStart) moveStart = before;
        continue;
      }
      if (moveStart) before = *std::exchange(moveStart, std::nullopt);
      const Snapshot now = snap(b.W, tab);
      if (did == Did::Edit && now != before) {
        steps.resize(at);
        steps.push_back({before, now});
        if (steps.size() > PageHistory::DefaultLimit) steps.erase(steps.begin());
        at = steps.size();
      }
    } else {
      // Undo and Redo end a pending move or placing first, as the Edit menu does.
      moveStart.reset();
      const bool forward = what == 9;
      const bool can = forward ? at < steps.size() : at > 0;
      ASSERT_EQ(bool(forward ? b.W.redo(tab).Restored : b.W.undo(tab).Restored), can);
      if (can) {
        if (!forward) --at;
        ASSERT_EQ(snap(b.W, tab), forward ? steps[at].second : steps[at].first);
        if (forward) ++at;
      }
    }
    ASSERT_EQ(b.W.history(tab).steps(), steps.size());
    ASSERT_EQ(b.W.history(tab).canUndo(), at > 0);
  }
  // The walk went deep and came back often enough to mean something.
  EXPECT_GE(steps.size(), deep);
}

// Mostly the middle of a cell, sometimes anywhere near the picture.
int coordinate(std::mt19937& rng, int pitch, int cells) {
  if (rng() % 8 == 0) return static_cast<int>(rng() % 900) - 50;
  return 20 + pitch * static_cast<int>(rng() % cells) + pitch / 2;
}

PressButton button(std::mt19937& rng) {
  const unsigned k = rng() % 6;
  return k < 4 ? PressButton::Left : k == 4 ? PressButton::Right : PressButton::Other;
}

}  // namespace

TEST(PageUndo, RandomChordsPageWorkFollowsAListOfPages) {
  Bench b;
  randomWalk(b, PlayTab::Chords, 1234, 2000, 5, [&](std::mt19937& rng) {
    if (rng() % 3 == 0) {
      const int seed = static_cast<int>(rng() % 50);
      const bool fail = rng() % 5 == 0;
      b.run(PlayTab::Chords, [&] {
        return b.W.Chords.showChords([&](TChordDiagram(&set)[6]) {
          return fail ? LibraryResult{LibraryStatus::MissingFiles, {}} : chordSet(set, seed);
        });
      });
    } else {
      b.run(PlayTab::Chords, [&] {
        return b.W.Chords.press(coordinate(rng, 120, 6), coordinate(rng, 150, 5), button(rng));
      });
    }
    EXPECT_GE(b.St.ChordSetCount, 0);
    EXPECT_LE(b.St.ChordSetCount, ChordPageRows);
    return Did::Edit;
  });
}

TEST(PageUndo, RandomScalesPageWorkFollowsAListOfPages) {
  Bench b;
  randomWalk(b, PlayTab::Scales, 5678, 2000, 30, [&](std::mt19937& rng) {
    switch (rng() % 4) {
      case 0:
        b.showScale(static_cast<int>(rng() % 12));
        break;
      case 1: {
        TScaleDiagram s{};
        s.ScaleName = std::to_string(rng() % 100);
        scaleToPrintItem(s, b.St.PrintMoveBuffer);
        if (rng() % 6 == 0) b.St.PrintMoveBuffer.Empty = 1;
        b.W.Scales.setPlacing(true);
        break;
      }
      case 2:
        b.run(PlayTab::Scales,
              [&] { return b.W.Scales.changeStartFret(static_cast<int>(rng() % 20)); });
        break;
      default:
        b.run(PlayTab::Scales, [&] {
          return b.W.Scales.press(coordinate(rng, 120, 6), coordinate(rng, 150, 5), button(rng),
                                  rng() % 2 == 0);
        });
    }
    // Rows fill from the top: exactly the counted ones hold a scale.
    for (int r = 0; r < ScalePageSize; ++r)
      EXPECT_EQ(isEmpty(b.St.ScalePage[r]), r >= b.St.ScaleCount);
    return Did::Edit;
  });
}

TEST(PageUndo, RandomPrintPageWorkFollowsAListOfPages) {
  Bench b;
  PrintPageModel& model = b.W.Print;
  randomWalk(b, PlayTab::Print, 9012, 3000, 30, [&](std::mt19937& rng) {
    switch (rng() % 6) {
      case 0:
        b.St.PrintMoveBuffer = printItem(static_cast<int>(rng() % 40));
        b.run(PlayTab::Print, [&] { return model.send(); });
        break;
      case 1:
        b.run(PlayTab::Print, [&] { return model.move(); });
        break;
      case 2:
        b.run(PlayTab::Print, [&] { return model.remove(rng() % 3 != 0); });
        break;
      case 3:
        b.run(PlayTab::Print, [&] { return rng() % 2 ? model.cancel() : model.endMove(); });
        break;
      default:
        b.run(PlayTab::Print, [&] {
          return model.press(coordinate(rng, 120, 6), coordinate(rng, 160, 5), button(rng),
                             rng() % 2 == 0);
        });
    }
    // The item in hand is the one framed, unless its cell was emptied.
    const SmallCell sel = model.selected();
    if (SmallGeometry::inGrid(sel) && !isEmpty(b.St.SelectedPrintItem) &&
        !isEmpty(b.St.PrintPage[sel.Column][sel.Row]) && !model.moving()) {
      EXPECT_EQ(std::memcmp(&b.St.SelectedPrintItem, &b.St.PrintPage[sel.Column][sel.Row],
                            sizeof(TPrintDiagram)),
                0);
    }
    return model.moving() ? Did::Pending : Did::Edit;
  });
}

TEST(PageUndo, RandomPlayPageWorkFollowsAListOfPages) {
  Bench b;
  PlayPageEditor& ed = b.W.Play;
  const TChordDiagram chords[] = {chordNamed("maj", 0), chordNamed("m7", 9), chordNamed("7", 7)};
  randomWalk(b, PlayTab::PlayPage, 20261208, 3000, 30, [&](std::mt19937& rng) {
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const PlaySlot slot{pick(PlayPageColumns), pick(PlayPageRows)};
    switch (pick(11)) {
      case 0:
        ed.takeInHand(chords[pick(3)]);
        break;
      case 1:
      case 2:
        b.playIntent(
            [&] { return ed.press(slot, pick(5) == 0 ? B::Right : B::Left, pick(2), pick(2)); });
        break;
      case 3:
        ed.press(slot, B::Right, false);
        b.playIntent([&] { return pick(2) ? ed.cutAndMove() : ed.copyAndMove(); });
        break;
      case 4:
        ed.press(slot, B::Right, false);
        b.playIntent([&] { return ed.deleteChord(pick(2) == 0); });
        break;
      case 5: {
        ed.press(slot, B::Right, false);
        const PlayPageUpdate u = ed.repeatMarkers();
        RepeatChoice c = u.Repeat;
        c.Return = pick(2);
        c.Repeat = pick(2);
        c.Count = pick(300) - 20;
        c.Loop = pick(3) == 0;
        b.playIntent([&] { return ed.setRepeatMarkers(*u.RepeatBar, c, u.Repeat.Loop); });
        break;
      }
      case 6:
        b.playIntent([&] { return ed.toggleTimeSignature(pick(4) == 0); });
        break;
      case 7:
        b.playIntent([&] { return ed.setTempo(300'000 + 100'000 * pick(4)); });
        break;
      case 8:
        b.playIntent([&] { return pick(2) ? ed.toggleLoop(pick(4) == 0) : ed.toggleBassNote(); });
        break;
      default:
        b.playIntent([&] { return pick(2) ? ed.cancel() : ed.endMove(); });
    }
    for (const TRepeatSet* set : {&b.St.Play.RepeatSet34, &b.St.Play.RepeatSet44}) {
      EXPECT_EQ(set->ReturnMark[0], 1);
      EXPECT_EQ(std::count(std::begin(set->LoopMark), std::end(set->LoopMark), 1), 1);
    }
    // A cut chord stays in its slot until it lands, so the page is as before.
    return Did::Edit;
  });
}

TEST(PageUndo, RandomChordDesignWorkFollowsAListOfPages) {
  Bench b;
  DesignGroupModel& model = b.W.Group;
  for (int s = 0; s < 3; ++s) b.St.DesignGroup[s] = tagged(s);
  randomWalk(b, PlayTab::ChordDesign, 2112, 3000, 30, [&](std::mt19937& rng) {
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const std::string slots = b.W.page(PlayTab::ChordDesign).substr(0, sizeof b.St.DesignGroup);
    GroupUpdate u;
    switch (pick(8)) {
      case 0:
        u = b.run(PlayTab::ChordDesign, [&] { return model.press(pick(7) - 1, pick(2), pick(2)); });
        break;
      case 1:
        u = b.run(PlayTab::ChordDesign, [&] { return model.receive(tagged(10 + pick(20))); });
        break;
      case 2:
        u = b.run(PlayTab::ChordDesign, [&] { return model.chooseMove(); });
        break;
      case 3:
        u = b.run(PlayTab::ChordDesign, [&] { return model.chooseDelete(pick(2)); });
        break;
      case 4:
        u = b.run(PlayTab::ChordDesign, [&] {
          return model.dropInHand(pick(6), pick(2), [&] { b.Editor.nameForGroup(); });
        });
        break;
      case 5:
        b.finger("Fret", [&] { b.Editor.press(pick(6), pick(23), 1 + pick(4), pick(2)); });
        return Did::Edit;
      case 6:
        b.finger("Bass", [&] { b.Editor.setBass(pick(12)); });
        return Did::Edit;
      default:
        u = b.run(PlayTab::ChordDesign, [&] { return model.cancel(); });
    }
    // Only a named edit changes the slots; a selection changes the hand alone,
    // and counts as no step of its own.
    if (u.Edit.empty()) {
      EXPECT_EQ(b.W.page(PlayTab::ChordDesign).substr(0, sizeof b.St.DesignGroup), slots);
    }
    if (model.lifted() >= 0) {
      EXPECT_TRUE(model.holds(model.lifted()));
    }
    return u.Edit.empty() ? Did::Nothing : Did::Edit;
  });
}
