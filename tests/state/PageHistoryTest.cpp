#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "state/PageHistory.h"
#include "state/Workbench.h"

namespace {

// The plainest history there is: every page state in a list, a cursor and the
// index of the saved state, cut to the newest `limit` steps.
struct ReferenceHistory {
  std::vector<std::string> States{""};
  std::vector<std::string> Labels{""};
  std::size_t Cursor = 0;
  long Saved = 0;
  std::size_t Limit;

  void edit(const std::string& label, const std::string& after, bool merge) {
    if (after == States[Cursor]) return;
    if (merge && Cursor > 0 && Cursor + 1 == States.size() && Labels[Cursor] == label &&
        Saved != static_cast<long>(Cursor)) {
      if (after == States[Cursor - 1]) {
        States.pop_back();
        Labels.pop_back();
        --Cursor;
      } else {
        States[Cursor] = after;
      }
      return;
    }
    States.resize(Cursor + 1);
    Labels.resize(Cursor + 1);
    if (Saved > static_cast<long>(Cursor)) Saved = -1;
    States.push_back(after);
    Labels.push_back(label);
    ++Cursor;
    if (States.size() > Limit + 1) {
      States.erase(States.begin());
      Labels.erase(Labels.begin());
      --Cursor;
      Saved = Saved > 0 ? Saved - 1 : -1;
    }
  }
};

}  // namespace

TEST(PageHistory, FollowsAPlainListOfStatesThroughRandomEditsUndosRedosAndSaves) {
  for (const std::size_t limit : {std::size_t{3}, std::size_t{100}}) {
    std::mt19937 random(7);
    PageHistory history(limit);
    ReferenceHistory reference{.Limit = limit};
    std::string page;
    const std::string labels[] = {"Place Chord", "Delete Chord", "Strum Speed"};
    for (int step = 0; step < 20000; ++step) {
      const int what = static_cast<int>(random() % 10);
      if (what < 5) {
        // Few distinct pages, so edits often come back to an earlier one.
        std::string after(1, static_cast<char>('a' + random() % 4));
        const std::string& label = labels[random() % 3];
        const bool merge = label == "Strum Speed";
        history.record(label, page, after, merge);
        reference.edit(label, after, merge);
        page = after;
      } else if (what < 7) {
        ASSERT_EQ(history.canUndo(), reference.Cursor > 0);
        if (history.canUndo()) {
          EXPECT_EQ(history.undoLabel(), reference.Labels[reference.Cursor]);
          page = history.undo();
          --reference.Cursor;
        }
      } else if (what < 9) {
        ASSERT_EQ(history.canRedo(), reference.Cursor + 1 < reference.States.size());
        if (history.canRedo()) {
          EXPECT_EQ(history.redoLabel(), reference.Labels[reference.Cursor + 1]);
          page = history.redo();
          ++reference.Cursor;
        }
      } else {
        history.markSaved();
        reference.Saved = static_cast<long>(reference.Cursor);
      }
      ASSERT_EQ(page, reference.States[reference.Cursor]) << "step " << step;
      ASSERT_EQ(history.changed(), reference.Saved != static_cast<long>(reference.Cursor))
          << "step " << step;
      ASSERT_LE(history.steps(), limit);
    }
  }
}

TEST(PageHistory, UndoingToTheSavedPageClearsTheChangeAndAnEditAfterUndoLosesTheSavedPoint) {
  PageHistory history;
  history.record("Place Chord", "a", "b");
  history.markSaved();
  history.record("Delete Chord", "b", "c");
  EXPECT_TRUE(history.changed());
  EXPECT_EQ(history.undo(), "b");
  EXPECT_FALSE(history.changed());
  EXPECT_EQ(history.undo(), "a");
  EXPECT_TRUE(history.changed());
  // A new edit here drops the redo steps, the saved page among them: no
  // undo or redo reaches it any more.
  history.record("Place Chord", "a", "b");
  EXPECT_TRUE(history.changed());
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.undo(), "a");
  EXPECT_TRUE(history.changed());
}

TEST(PageHistory, AnEditJoinsTheLastStepOnlyWhenThePageIsStillAsThatStepLeftIt) {
  PageHistory history;
  history.record("Root", "a", "b", true);
  history.record("Root", "b", "c", true);
  EXPECT_EQ(history.steps(), 1u);
  // Something kept in no step changed the page to "x" in between.
  history.record("Root", "x", "y", true);
  EXPECT_EQ(history.steps(), 2u);
  EXPECT_EQ(history.undo(), "x");
  EXPECT_EQ(history.undo(), "a");
}

TEST(Workbench, KeepsEachPageApartAndTheChangeFlagsFollowTheirHistories) {
  Workbench bench;
  AppState& st = bench.State;
  st.Play.loadActiveRepeatSet();  // as the play page's tab does at start
  const std::string emptyPlay = bench.page(PlayTab::PlayPage);
  const std::string emptyPrint = bench.page(PlayTab::Print);
  const auto edit = [&](PlayTab tab, const char* label, auto change, bool merge = false) {
    bench.apply(tab, [&] {
      change();
      return PageEdit{label, merge};
    });
  };

  int told = 0;
  bench.HistoryChanged = [&told] { ++told; };
  edit(PlayTab::PlayPage, "Place Chord", [&] { st.PlayPage[3][2] = startFingering(); });
  edit(
      PlayTab::PlayPage, "Strum Speed", [&] { st.Play.StrumSpeed = -500; }, true);
  edit(
      PlayTab::PlayPage, "Strum Speed", [&] { st.Play.StrumSpeed = -200; }, true);
  edit(PlayTab::Print, "Delete Diagram", [&] { st.PrintPage[1][1].Empty = 0; });
  // What the page does not hold is not an edit of it.
  edit(PlayTab::PlayPage, "Select", [&] { st.SelectedPlayChord = startFingering(); });
  // An update that names no edit is kept nowhere.
  bench.apply(PlayTab::Print, [&] {
    st.PrintPage[2][2].Empty = 0;
    return PageEdit{};
  });
  st.PrintPage[2][2].Empty = 1;
  EXPECT_EQ(told, 5);
  EXPECT_TRUE(st.Play.PlayPageChanged);
  EXPECT_TRUE(st.PrintPageChanged);
  EXPECT_EQ(bench.history(PlayTab::PlayPage).steps(), 2u);
  EXPECT_EQ(bench.history(PlayTab::Print).steps(), 1u);
  EXPECT_EQ(bench.history(PlayTab::PlayPage).undoLabel(), "Strum Speed");

  const std::string placed = bench.page(PlayTab::PlayPage);
  ASSERT_TRUE(bench.undo(PlayTab::PlayPage).Restored);
  EXPECT_EQ(st.Play.StrumSpeed, -300);
  EXPECT_FALSE(isEmpty(st.PlayPage[3][2]));
  ASSERT_TRUE(bench.undo(PlayTab::PlayPage).Restored);
  EXPECT_TRUE(bench.page(PlayTab::PlayPage) == emptyPlay);
  EXPECT_FALSE(st.Play.PlayPageChanged);
  EXPECT_FALSE(bench.undo(PlayTab::PlayPage).Restored);
  // The print page is another document.
  EXPECT_TRUE(st.PrintPageChanged);
  EXPECT_FALSE(bench.page(PlayTab::Print) == emptyPrint);

  ASSERT_TRUE(bench.redo(PlayTab::PlayPage).Restored);
  bench.markSaved(PlayTab::PlayPage);
  EXPECT_FALSE(st.Play.PlayPageChanged);
  ASSERT_TRUE(bench.redo(PlayTab::PlayPage).Restored);
  EXPECT_TRUE(st.Play.PlayPageChanged);
  EXPECT_TRUE(bench.page(PlayTab::PlayPage) == placed);
  // Only the design group's slots are in its file; the fingering in hand
  // may change freely.
  edit(PlayTab::ChordDesign, "Fret", [&] { st.EditChord.Strings[2].Fret = 3; });
  EXPECT_FALSE(st.DesignGroupChanged);
  edit(PlayTab::ChordDesign, "Place Chord", [&] { st.DesignGroup[4] = st.EditChord; });
  EXPECT_TRUE(st.DesignGroupChanged);
  bench.undo(PlayTab::ChordDesign);
  EXPECT_FALSE(st.DesignGroupChanged);
  EXPECT_FALSE(bench.restore(PlayTab::PlayPage, placed.substr(1)));
  EXPECT_TRUE(bench.restore(PlayTab::PlayPage, placed));
  EXPECT_TRUE(bench.page(PlayTab::PlayPage) == placed);
}
