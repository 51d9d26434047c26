// The Chord Design page as a model: the design group's intents, the edits of
// the fingering in hand, and Undo and Redo of every one of them through the
// page's history, down to the bytes of the saved design file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "design/DesignGroupModel.h"
#include "design/FingeringEditor.h"
#include "pages/PageFile.h"
#include "state/Workbench.h"

namespace {

constexpr PlayTab Tab = PlayTab::ChordDesign;

// A diagram told apart from the others by its base fret.
TChordDiagram tagged(int tag) {
  TChordDiagram d = startFingering();
  d.BaseFret = static_cast<std::uint8_t>(tag + 1);
  return d;
}

int tagOf(const TChordDiagram& d) {
  return isEmpty(d) ? -1 : d.BaseFret - 1;
}

struct DesignPage : ::testing::Test {
  Workbench Bench;
  AppState& St = Bench.State;
  DesignGroupModel& Model = Bench.Group;
  FingeringEditor Editor{St.EditChord, St.ExtensionFlags, St.Names};
  std::string Dir = std::string(STRUMBO_TEST_PROGRAM_DIR) + "/";

  // What the tab does with every intent: the edit it names is recorded.
  template <class Intent>
  GroupUpdate run(Intent&& intent) {
    std::string before = Bench.page(Tab);
    GroupUpdate u = intent();
    if (!u.Edit.empty()) Bench.record(Tab, u.Edit, std::move(before));
    return u;
  }
  void fill(int n) {
    for (int s = 0; s < n; ++s) St.DesignGroup[s] = tagged(s);
  }
  std::vector<int> tags() const {
    std::vector<int> t;
    for (const auto& d : St.DesignGroup) t.push_back(tagOf(d));
    return t;
  }
  // The design file as Save would write it now.
  std::string file() const { return encodePage(Bench.contents(PageKind::Design)); }
  std::string label() const { return std::string(Bench.history(Tab).undoLabel()); }
};

std::vector<int> drawn(const GroupUpdate& u) {
  std::vector<int> s;
  for (const auto& d : u.Draws)
    if (d.Picture) s.push_back(d.Slot);
  return s;
}

TEST_F(DesignPage, APressSelectsAHeldSlotWithoutAnEditAndRightPressOpensTheMenu) {
  fill(3);
  GroupUpdate u = run([&] { return Model.press(1, false); });
  EXPECT_EQ(Model.selected(), 1);
  EXPECT_TRUE(u.ShowInHand);
  EXPECT_EQ(tagOf(St.EditChord), 1);
  EXPECT_TRUE(u.Edit.empty());
  EXPECT_FALSE(Bench.history(Tab).canUndo());
  // Pressing the selected slot again, or a free one, changes nothing shown.
  EXPECT_TRUE(run([&] { return Model.press(1, false); }).Draws.empty());
  u = run([&] { return Model.press(4, false); });
  EXPECT_TRUE(u.Draws.empty());
  EXPECT_EQ(Model.pressed(), 4);
  u = run([&] { return Model.press(2, true); });
  EXPECT_TRUE(u.PopupMenu);
  EXPECT_EQ(Model.pressed(), 2);
  EXPECT_EQ(Model.selected(), 1);
  EXPECT_TRUE(run([&] { return Model.press(-1, false); }).Draws.empty());
}

TEST_F(DesignPage, PlacingAsksBeforeReplacingAndGoesOnAfterNo) {
  fill(2);
  GroupUpdate u = run([&] { return Model.receive(tagged(9)); });
  EXPECT_EQ(Model.mode(), GroupMode::Placing);
  EXPECT_EQ(u.Pointer, GroupPointer::Placing);
  u = run([&] { return Model.press(1, false); });
  EXPECT_EQ(u.Ask, GroupQuestion::Replace);
  EXPECT_EQ(tagOf(St.DesignGroup[1]), 1);
  EXPECT_EQ(Model.mode(), GroupMode::Placing);
  u = run([&] { return Model.press(1, false, true); });
  EXPECT_EQ(tags(), (std::vector<int>{0, 9, -1, -1, -1, -1}));
  EXPECT_EQ(Model.mode(), GroupMode::Normal);
  EXPECT_EQ(u.Pointer, GroupPointer::Normal);
  EXPECT_EQ(Model.selected(), 1);
  EXPECT_EQ(tagOf(St.EditChord), 9);
  EXPECT_EQ(label(), "Place Chord");
  // A right press ends placing with nothing placed; so does an empty buffer.
  run([&] { return Model.receive(tagged(8)); });
  u = run([&] { return Model.press(3, true); });
  EXPECT_EQ(Model.mode(), GroupMode::Normal);
  EXPECT_FALSE(Model.holds(3));
  TChordDiagram none{};
  none.Empty = 1;
  run([&] { return Model.receive(none); });
  run([&] { return Model.press(3, false); });
  EXPECT_FALSE(Model.holds(3));
  EXPECT_EQ(Model.mode(), GroupMode::Normal);
}

TEST_F(DesignPage, AMoveLiftsTheDiagramAndOnlyItsLandingIsAnEdit) {
  fill(6);
  const std::string start = Bench.page(Tab);
  run([&] { return Model.press(1, true); });
  GroupUpdate u = run([&] { return Model.chooseMove(); });
  EXPECT_EQ(Model.lifted(), 1);
  EXPECT_EQ(u.Pointer, GroupPointer::Moving);
  EXPECT_TRUE(isEmpty(Model.shown(1)));
  EXPECT_EQ(Bench.page(Tab), start);
  // Cancelled: drawn back home, nothing recorded.
  u = run([&] { return Model.cancel(); });
  EXPECT_EQ(drawn(u), std::vector<int>{1});
  EXPECT_EQ(Bench.page(Tab), start);
  EXPECT_FALSE(Bench.history(Tab).canUndo());

  run([&] { return Model.press(1, true); });
  run([&] { return Model.chooseMove(); });
  u = run([&] { return Model.press(4, true); });  // any button lands it
  EXPECT_EQ(tags(), (std::vector<int>{5, 0, 2, 3, 1, 4}));
  EXPECT_EQ(drawn(u).back(), 4);
  EXPECT_EQ(Model.selected(), 4);
  EXPECT_EQ(label(), "Move Chord");

  // Onto a free slot nothing else shifts; back home is no edit.
  St.DesignGroup[2].Empty = 1;
  run([&] { return Model.press(0, true); });
  run([&] { return Model.chooseMove(); });
  run([&] { return Model.press(2, false); });
  EXPECT_EQ(tags(), (std::vector<int>{-1, 0, 5, 3, 1, 4}));
  const std::size_t steps = Bench.history(Tab).steps();
  run([&] { return Model.press(3, true); });
  run([&] { return Model.chooseMove(); });
  EXPECT_TRUE(run([&] { return Model.press(3, false); }).Edit.empty());
  EXPECT_EQ(Bench.history(Tab).steps(), steps);
}

TEST_F(DesignPage, DeleteAsksAndTheFrameGoesToTheFirstRemaining) {
  fill(4);
  run([&] { return Model.press(2, false); });
  run([&] { return Model.press(2, true); });
  GroupUpdate u = run([&] { return Model.chooseDelete(false); });
  EXPECT_EQ(u.Ask, GroupQuestion::Erase);
  EXPECT_TRUE(Model.holds(2));
  u = run([&] { return Model.chooseDelete(true); });
  EXPECT_FALSE(Model.holds(2));
  EXPECT_TRUE(u.ForgetFrame);
  EXPECT_EQ(Model.selected(), 0);
  EXPECT_EQ(tagOf(St.EditChord), 0);
  EXPECT_EQ(label(), "Delete Chord");
  // A slot that is not the selected one goes alone.
  run([&] { return Model.press(3, true); });
  u = run([&] { return Model.chooseDelete(true); });
  EXPECT_FALSE(u.ForgetFrame);
  EXPECT_EQ(Model.selected(), 0);
  // A free slot has nothing to delete or move.
  EXPECT_EQ(run([&] { return Model.chooseDelete(false); }).Ask, GroupQuestion::None);
  run([&] { return Model.chooseMove(); });
  EXPECT_EQ(Model.mode(), GroupMode::Normal);
}

TEST_F(DesignPage, ShowChordsAsksAboutUnsavedWorkAndAFailedReadKeepsTheGroup) {
  fill(2);
  GroupUpdate u = run([&] { return Model.showChords(Dir, 2, 0, true, false); });
  EXPECT_EQ(u.Ask, GroupQuestion::SaveFirst);
  EXPECT_EQ(tags(), (std::vector<int>{0, 1, -1, -1, -1, -1}));
  u = run([&] { return Model.showChords(Dir + "missing/", 2, 0, true, true); });
  EXPECT_NE(u.Read.Status, LibraryStatus::Ok);
  EXPECT_EQ(tags(), (std::vector<int>{0, 1, -1, -1, -1, -1}));
  EXPECT_FALSE(Bench.history(Tab).canUndo());
  u = run([&] { return Model.showChords(Dir, 2, 0, false, false); });
  ASSERT_EQ(u.Read.Status, LibraryStatus::Ok);
  for (int s = 0; s < 6; ++s) EXPECT_EQ(St.DesignGroup[s].ChordName.view(), "maj7");
  EXPECT_EQ(Model.selected(), 0);
  EXPECT_EQ(drawn(u), (std::vector<int>{5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(label(), "Show Chords");
}

TEST_F(DesignPage, ADroppedFingeringTakesTheTuningNameOnShowNotAField) {
  fill(1);
  Editor.press(0, 3, FingerCode::Fretted, false);
  Editor.showTuningName("Drop D");
  GroupUpdate u = run([&] { return Model.dropInHand(0, false, [&] { Editor.nameForGroup(); }); });
  EXPECT_EQ(u.Ask, GroupQuestion::Replace);
  u = run([&] { return Model.dropInHand(3, false, [&] { Editor.nameForGroup(); }); });
  EXPECT_EQ(St.DesignGroup[3].TuningName.view(), "Drop D");
  EXPECT_EQ(label(), "Drop Chord");
  // No name on show: the six string names, low string first, cut to 15.
  Editor.showTuningName("");
  run([&] { return Model.dropInHand(4, false, [&] { Editor.nameForGroup(); }); });
  EXPECT_EQ(St.DesignGroup[4].TuningName.view(), "E2 A2 D3 G3 B3 ");
}

TEST_F(DesignPage, ATypedChordNameSetsTheTypeOnlyWhenItNamesOne) {
  EXPECT_TRUE(Editor.typeChordName("C maj7"));
  EXPECT_EQ(St.EditChord.ChordName.view(), "maj7");
  EXPECT_FALSE(Editor.typeChordName("C maj7"));
  EXPECT_FALSE(Editor.typeChordName(""));
  EXPECT_EQ(St.EditChord.ChordName.view(), "maj7");
}

// Each edit kind: Undo gives back the page and its file exactly, Redo the
// page after the edit.
TEST_F(DesignPage, EveryEditUndoesAndRedoesToTheByte) {
  fill(4);
  run([&] { return Model.press(0, false); });
  struct Kind {
    const char* label;
    std::function<void()> edit;
  };
  const auto rec = [&](const char* l, std::function<void()> change, bool merge = false) {
    Bench.edit(Tab, l, change, merge);
  };
  const std::vector<Kind> kinds = {
      {"Place Chord",
       [&] {
         run([&] { return Model.receive(tagged(7)); });
         run([&] { return Model.press(1, false, true); });
       }},
      {"Drop Chord",
       [&] { run([&] { return Model.dropInHand(5, false, [&] { Editor.nameForGroup(); }); }); }},
      {"Move Chord",
       [&] {
         run([&] { return Model.press(3, true); });
         run([&] { return Model.chooseMove(); });
         run([&] { return Model.press(0, false); });
       }},
      {"Delete Chord",
       [&] {
         run([&] { return Model.press(2, true); });
         run([&] { return Model.chooseDelete(true); });
       }},
      {"Show Chords", [&] { run([&] { return Model.showChords(Dir, 5, 3, true, true); }); }},
      {"Fret", [&] { rec("Fret", [&] { Editor.press(2, 5, 1, false); }); }},
      {"Tablature", [&] { rec("Tablature", [&] { Editor.typeFret(4, std::nullopt, 6); }); }},
      {"Root",
       [&] {
         rec(
             "Root", [&] { Editor.setRoot(Editor.root() + 1); }, true);
       }},
      {"Bass",
       [&] {
         rec(
             "Bass", [&] { Editor.setBass(Editor.bass() + 5); }, true);
       }},
      {"Chord Name",
       [&] {
         rec(
             "Chord Name", [&] { Editor.typeChordName("minor"); }, true);
       }},
  };
  for (const Kind& k : kinds) {
    SCOPED_TRACE(k.label);
    const std::string before = Bench.page(Tab), beforeFile = file();
    k.edit();
    ASSERT_EQ(label(), k.label);
    const std::string after = Bench.page(Tab), afterFile = file();
    ASSERT_NE(after, before);
    Model.cancel();
    ASSERT_TRUE(Bench.undo(Tab));
    EXPECT_EQ(Bench.page(Tab), before);
    EXPECT_EQ(file(), beforeFile);
    ASSERT_TRUE(Bench.redo(Tab));
    EXPECT_EQ(Bench.page(Tab), after);
    EXPECT_EQ(file(), afterFile);
  }
}

TEST_F(DesignPage, HeldRootStepsAreOneStep) {
  const std::string before = Bench.page(Tab);
  for (int k = 0; k < 4; ++k)
    Bench.edit(
        Tab, "Root", [&] { Editor.setRoot(Editor.root() + 1); }, true);
  EXPECT_EQ(Bench.history(Tab).steps(), 1u);
  Bench.undo(Tab);
  EXPECT_EQ(Bench.page(Tab), before);
}

// Thousands of random presses, pop-up commands, drops, fingering edits,
// undos and redos against a plain list of each step's page before and after.
TEST_F(DesignPage, RandomEditsUndosAndRedosFollowAListOfPages) {
  std::mt19937 rng(2112);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  fill(3);
  struct Step {
    std::string Before, After;
  };
  std::vector<Step> steps;
  std::size_t at = 0;  // steps done
  for (int i = 0; i < 4000; ++i) {
    const std::string before = Bench.page(Tab);
    bool stepped = false, edit = false;
    const auto act = [&](auto intent) { edit = !run(intent).Edit.empty(); };
    switch (pick(12)) {
      case 0:
        act([&] { return Model.press(pick(7) - 1, pick(2) == 1, pick(2) == 1); });
        break;
      case 1:
        act([&] { return Model.receive(tagged(10 + pick(20))); });
        break;
      case 2:
        act([&] { return Model.chooseMove(); });
        break;
      case 3:
        act([&] { return Model.chooseDelete(pick(2) == 1); });
        break;
      case 4:
        act([&] {
          return Model.dropInHand(pick(6), pick(2) == 1, [&] { Editor.nameForGroup(); });
        });
        break;
      case 5:
        Bench.edit(Tab, "Fret",
                   [&] { Editor.press(pick(6), pick(23), 1 + pick(4), pick(2) == 1); });
        edit = true;
        break;
      case 6:
        Bench.edit(Tab, "Bass", [&] { Editor.setBass(pick(12)); });
        edit = true;
        break;
      case 7:
        act([&] { return Model.cancel(); });
        break;
      case 8:
      case 9:
        Model.cancel();
        ASSERT_EQ(Bench.undo(Tab), at > 0 && steps.size() - at < PageHistory::DefaultLimit);
        if (at > 0 && steps.size() - at < PageHistory::DefaultLimit) {
          --at;
          stepped = true;
          ASSERT_EQ(Bench.page(Tab), steps[at].Before) << "undo at " << i;
        }
        break;
      default:
        Model.cancel();
        ASSERT_EQ(Bench.redo(Tab), at < steps.size());
        if (at < steps.size()) {
          stepped = true;
          ASSERT_EQ(Bench.page(Tab), steps[at].After) << "redo at " << i;
          ++at;
        }
        break;
    }
    if (stepped) continue;
    if (edit && Bench.page(Tab) != before) {
      // A new step: whatever could be redone is gone.
      steps.resize(at);
      steps.push_back({before, Bench.page(Tab)});
      ++at;
    } else {
      // No edit: the slots are as they were (a selection may change the hand).
      ASSERT_EQ(Bench.page(Tab).substr(0, sizeof St.DesignGroup),
                before.substr(0, sizeof St.DesignGroup))
          << "unrecorded change at " << i;
    }
    // A lifted diagram never leaves the page.
    if (Model.lifted() >= 0) {
      ASSERT_TRUE(Model.holds(Model.lifted()));
    }
  }
  EXPECT_GT(steps.size(), 300u);
}

}  // namespace
