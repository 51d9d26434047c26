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

// Each page's own edit is undone on its own page; what the page does not
// hold is no edit of it; a step is told to the Edit menu; bytes of another
// length put nothing back. (Every kind of edit is undone in PageUndoTest.)
TEST(Workbench, KeepsEachPageApartAndTellsEveryStep) {
  Workbench bench;
  AppState& st = bench.State;
  st.Play.loadActiveRepeatSet();  // as the play page's tab does at start
  const std::string emptyPlay = bench.page(PlayTab::PlayPage);
  const auto edit = [&](PlayTab tab, const char* label, auto change) {
    bench.apply(tab, [&] {
      change();
      return PageEdit{label};
    });
  };
  int told = 0;
  bench.HistoryChanged = [&told] { ++told; };
  edit(PlayTab::PlayPage, "Place Chord", [&] { st.PlayPage[3][2] = startFingering(); });
  edit(PlayTab::Print, "Delete Diagram", [&] { st.PrintPage[1][1].Empty = 0; });
  edit(PlayTab::PlayPage, "Select", [&] { st.SelectedPlayChord = startFingering(); });
  // An update that names no edit is kept nowhere.
  bench.apply(PlayTab::Print, [&] {
    st.PrintPage[2][2].Empty = 0;
    return PageEdit{};
  });
  st.PrintPage[2][2].Empty = 1;
  EXPECT_EQ(told, 3);
  EXPECT_EQ(bench.history(PlayTab::PlayPage).steps(), 1u);
  EXPECT_EQ(bench.history(PlayTab::Print).steps(), 1u);

  const std::string placed = bench.page(PlayTab::PlayPage);
  ASSERT_TRUE(bench.undo(PlayTab::PlayPage).Restored);
  EXPECT_EQ(bench.page(PlayTab::PlayPage), emptyPlay);
  EXPECT_FALSE(bench.undo(PlayTab::PlayPage).Restored);
  EXPECT_TRUE(st.PrintPageChanged);  // the print page is another document
  EXPECT_EQ(told, 4);
  EXPECT_FALSE(bench.restore(PlayTab::PlayPage, placed.substr(1)));
  EXPECT_EQ(bench.page(PlayTab::PlayPage), emptyPlay);
  EXPECT_TRUE(bench.restore(PlayTab::PlayPage, placed));
  EXPECT_EQ(bench.page(PlayTab::PlayPage), placed);
}
