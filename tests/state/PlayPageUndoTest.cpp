#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "pages/PageFile.h"
#include "pages/PlayPageEditor.h"
#include "state/Workbench.h"

namespace {

using B = PlayPageEditor::Button;

TChordDiagram chordNamed(const char* name, int root) {
  TChordDiagram c = startFingering();
  c.ChordName = name;
  c.Root = static_cast<std::uint8_t>(root);
  c.Bass = static_cast<std::uint8_t>(24 + root);
  c.Strings[1] = {static_cast<std::uint8_t>(1 + root % 5), 2};
  return c;
}

struct Page {
  Workbench Bench;
  AppState& St = Bench.State;
  PlayPageEditor& Ed = Bench.Play;

  Page() { St.Play.loadActiveRepeatSet(); }

  std::string bytes() const { return Bench.page(PlayTab::PlayPage); }
  // The page file and its repeat companion as a save would write them.
  std::string file() const {
    return encodePage(Bench.contents(PageKind::Play)) + encodeRepeatSet(St.Play.ActiveRepeatSet);
  }
  // What the Edit menu does: a pending move is given up, then the step.
  bool undo() {
    Ed.cancel();
    return Bench.undo(PlayTab::PlayPage);
  }
  bool redo() {
    Ed.cancel();
    return Bench.redo(PlayTab::PlayPage);
  }
  std::string undoLabel() const {
    return std::string(Bench.history(PlayTab::PlayPage).undoLabel());
  }
};

}  // namespace

// Every kind of edit, on a page that already holds some work: one step with
// its name, Undo gives back the page and its file byte for byte, Redo the
// edit, and the change flag follows.
TEST(PlayPageUndo, EveryEditUndoesAndRedoesToTheSameBytes) {
  const TChordDiagram a = chordNamed("maj", 0), b = chordNamed("m7", 9);
  const struct {
    const char* label;
    std::function<void(Page&)> edit;
  } kinds[] = {{"Place Chord",
                [&](Page& p) {
                  p.Ed.takeInHand(b);
                  p.Ed.press({5, 2}, B::Left, false);
                }},
               {"Place Chord",  // over another chord, confirmed
                [&](Page& p) {
                  p.Ed.takeInHand(b);
                  p.Ed.press({0, 0}, B::Left, false, true);
                }},
               {"Move Chord",
                [&](Page& p) {
                  p.Ed.press({0, 0}, B::Right, false);
                  p.Ed.cutAndMove();
                  p.Ed.press({7, 3}, B::Left, false);
                }},
               {"Copy Chord",
                [&](Page& p) {
                  p.Ed.press({0, 0}, B::Right, false);
                  p.Ed.copyAndMove();
                  p.Ed.press({3, 0}, B::Left, true);
                }},
               {"Delete Chord",
                [&](Page& p) {
                  p.Ed.press({0, 0}, B::Right, false);
                  p.Ed.deleteChord(true);
                }},
               {"Repeat Markers",
                [&](Page& p) {
                  p.Ed.press({5, 1}, B::Right, false);
                  RepeatChoice c = p.Ed.repeatMarkers().Repeat;
                  c.Repeat = true;
                  c.Count = 3;
                  c.Loop = true;
                  p.Ed.setRepeatMarkers(2, c, false);
                }},
               {"Time Signature", [&](Page& p) { p.Ed.toggleTimeSignature(); }},
               {"Tempo", [&](Page& p) { p.Ed.setTempo(500'000 / 2); }},
               {"Strum Speed", [&](Page& p) {
                  p.Ed.setStrumSpeed(-500);
                  p.Ed.setStrumSpeed(-520);
                }}};
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.label);
    Page p;
    p.Ed.takeInHand(a);
    p.Ed.press({0, 0}, B::Left, false);
    p.St.Play.RepeatSet44.RepeatCount[4] = 2;
    p.St.Play.loadActiveRepeatSet();
    p.Bench.markSaved(PlayTab::PlayPage);
    const std::string before = p.bytes(), fileBefore = p.file();
    const std::size_t steps = p.Bench.history(PlayTab::PlayPage).steps();

    kind.edit(p);
    const std::string after = p.bytes(), fileAfter = p.file();
    EXPECT_NE(after, before);
    EXPECT_EQ(p.Bench.history(PlayTab::PlayPage).steps(), steps + 1);
    EXPECT_EQ(p.undoLabel(), kind.label);
    EXPECT_TRUE(p.St.Play.PlayPageChanged);

    ASSERT_TRUE(p.undo());
    EXPECT_EQ(p.bytes(), before);
    EXPECT_EQ(p.file(), fileBefore);
    EXPECT_FALSE(p.St.Play.PlayPageChanged);
    ASSERT_TRUE(p.redo());
    EXPECT_EQ(p.bytes(), after);
    EXPECT_EQ(p.file(), fileAfter);
    EXPECT_TRUE(p.St.Play.PlayPageChanged);
  }
}

TEST(PlayPageUndo, ACancelledCutAndAnAnsweredNoRecordNothing) {
  Page p;
  p.Ed.takeInHand(chordNamed("maj", 0));
  p.Ed.press({4, 4}, B::Left, false);
  const std::string before = p.bytes();
  p.Ed.press({4, 4}, B::Right, false);
  p.Ed.cutAndMove();
  p.Ed.press({4, 4}, B::Right, false);
  p.Ed.takeInHand(chordNamed("7", 4));
  p.Ed.press({4, 4}, B::Left, false);  // asks; the answer is No
  p.Ed.cancel();
  p.Ed.press({4, 4}, B::Right, false);
  p.Ed.deleteChord();  // asks; No
  EXPECT_EQ(p.bytes(), before);
  EXPECT_EQ(p.Bench.history(PlayTab::PlayPage).steps(), 1u);
  EXPECT_EQ(p.undoLabel(), "Place Chord");
}

// Thousands of random intents, undos and redos against a reference that
// keeps every page the history has passed through: after each, the page is
// the one the reference expects, nothing but a named step changes it, the
// saved repeat sets keep their rules and no slot shows what the state lacks.
TEST(PlayPageUndo, RandomIntentsUndosAndRedosFollowTheReference) {
  std::mt19937 rng(20261208);
  const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const TChordDiagram chords[] = {chordNamed("maj", 0), chordNamed("m7", 9), chordNamed("7", 7)};

  Page p;
  const std::size_t limit = p.Bench.history(PlayTab::PlayPage).limit();
  std::vector<std::string> pages{p.bytes()};
  std::size_t at = 0;
  bool strumLast = false;  // the last step kept is a strum speed one that may grow

  for (int i = 0; i < 6000; ++i) {
    SCOPED_TRACE(i);
    const std::string before = p.bytes();
    const std::string labelBefore = p.undoLabel();
    bool edit = false, strum = false;
    const PlaySlot slot{pick(PlayPageColumns), pick(PlayPageRows)};
    switch (pick(14)) {
      case 0:
        p.Ed.takeInHand(chords[pick(3)]);
        break;
      case 1:
      case 2:
      case 3: {
        const B button = pick(5) == 0 ? B::Right : B::Left;
        p.Ed.press(slot, button, pick(2) == 0, pick(2) == 0);
        edit = true;
        break;
      }
      case 4:
        p.Ed.press(slot, B::Right, false);
        p.Ed.cutAndMove();
        break;
      case 5:
        p.Ed.press(slot, B::Right, false);
        p.Ed.copyAndMove();
        break;
      case 6:
        p.Ed.press(slot, B::Right, false);
        p.Ed.deleteChord(pick(2) == 0);
        edit = true;
        break;
      case 7: {
        p.Ed.press(slot, B::Right, false);
        const PlayPageUpdate u = p.Ed.repeatMarkers();
        RepeatChoice c = u.Repeat;
        c.Return = pick(2);
        c.Repeat = pick(2);
        c.Count = pick(300) - 20;
        c.Loop = pick(3) == 0;
        p.Ed.setRepeatMarkers(*u.RepeatBar, c, u.Repeat.Loop);
        edit = true;
        break;
      }
      case 8:
        p.Ed.toggleTimeSignature(pick(4) == 0);
        edit = true;
        break;
      case 9:
        p.Ed.setTempo(300'000 + 100'000 * pick(4));
        edit = true;
        break;
      case 10:
        p.Ed.setStrumSpeed(-10 * pick(81));
        edit = strum = true;
        break;
      case 11:
        if (pick(2))
          p.Ed.cancel();
        else
          p.Ed.endMove();
        break;
      case 12:
        if (p.undo()) {
          ASSERT_GT(at, 0u);
          --at;
          strumLast = false;
        }
        break;
      case 13:
        if (p.redo()) {
          ASSERT_LT(at + 1, pages.size());
          ++at;
          strumLast = false;
        }
        break;
    }
    const std::string now = p.bytes();
    if (edit && now != before) {
      if (strum && strumLast) {
        pages[at] = now;  // joined the last step
      } else {
        pages.resize(at + 1);
        pages.push_back(now);
        ++at;
        if (pages.size() > limit + 1) {
          pages.erase(pages.begin());
          --at;
        }
      }
      strumLast = strum;
    }
    ASSERT_EQ(now, pages[at]) << "after a " << (edit ? "possible edit" : "non-edit")
                              << ", last step " << labelBefore << " -> " << p.undoLabel();
    ASSERT_EQ(p.Bench.history(PlayTab::PlayPage).steps(), pages.size() - 1);
    ASSERT_EQ(p.Bench.history(PlayTab::PlayPage).canUndo(), at > 0);
    ASSERT_EQ(p.Bench.history(PlayTab::PlayPage).canRedo(), at + 1 < pages.size());

    for (const TRepeatSet* set : {&p.St.Play.RepeatSet34, &p.St.Play.RepeatSet44}) {
      ASSERT_EQ(set->ReturnMark[0], 1);
      ASSERT_EQ(std::count(std::begin(set->LoopMark), std::end(set->LoopMark), 1), 1);
    }
    ASSERT_EQ(p.Ed.moving() && !p.Ed.placing(), false);
    for (int c = 0; c < PlayPageColumns; ++c)
      for (int r = 0; r < PlayPageRows; ++r)
        if (p.Ed.shown(c, r)) {
          ASSERT_FALSE(isEmpty(p.St.PlayPage[c][r]));
        }
  }
  // The walk went deep and came back often enough to mean something.
  EXPECT_GT(pages.size(), 50u);
}
