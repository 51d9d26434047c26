#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "LibraryChords.h"
#include "design/FingeringPath.h"
#include "design/HandCost.h"
#include "library/ChordLibrary.h"
#include "library/LibraryFiles.h"
#include "pages/PageFile.h"
#include "pages/SmoothFingerings.h"
#include "play/PagePlayer.h"
#include "play/PlayRoute.h"
#include "state/Workbench.h"

namespace {

// Brute force over every choice, for small problems.
double cheapest(const FingeringChoiceProblem& p) {
  std::vector<int> pick(p.Cost.size(), 0);
  double best = INFINITY;
  std::function<void(std::size_t)> walk = [&](std::size_t i) {
    if (i == pick.size()) {
      best = std::min(best, choiceCost(p, pick));
      return;
    }
    for (std::size_t k = 0; k < p.Cost[i].size(); ++k) {
      pick[i] = int(k);
      walk(i + 1);
    }
  };
  walk(0);
  return best;
}

TEST(FingeringChoice, EqualsBruteForceWithLinksBackAndNestedRepeats) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 400; ++round) {
    FingeringChoiceProblem p;
    const int n = 1 + int(rng() % 7);
    for (int i = 0; i < n; ++i) {
      std::vector<double> c(1 + rng() % 4);
      for (double& x : c) x = double(rng() % 50) / 10;
      p.Cost.push_back(c);
    }
    for (int i = 0; i + 1 < n; ++i) p.Links.push_back({i, i + 1, 1.0 + rng() % 3});
    for (int extra = int(rng() % 4); extra > 0; --extra)
      p.Links.push_back({int(rng() % n), int(rng() % n), double(rng() % 4)});
    std::vector<double> table(7 * 4 * 7 * 4);
    for (double& x : table) x = double(rng() % 60) / 10;
    p.Change = [&](int f, int a, int t, int b) { return table[((f * 4 + a) * 7 + t) * 4 + b]; };
    const FingeringChoice got = chooseFingerings(p);
    ASSERT_TRUE(got.Exact);
    EXPECT_NEAR(got.Total, cheapest(p), 1e-9) << "round " << round;
    EXPECT_NEAR(choiceCost(p, got.Chosen), got.Total, 1e-9) << "round " << round;
  }
}

TEST(HandCost, EaseAndChangeFollowTheHand) {
  const TChordDiagram openC = shape("x32010", "x32010");
  const TChordDiagram barreF = shape("133211", "134211");
  const TChordDiagram reach = shape("x13xxx", "x14xxx");  // a stretch of two frets at the nut
  const TChordDiagram wide = shape("15xxxx", "14xxxx");   // five frets at the nut
  const TChordDiagram dampedInner = shape("3x0003", "2x0003");
  EXPECT_EQ(easeText(fingeringEase(openC.Strings)), "easy");
  EXPECT_EQ(easeText(fingeringEase(barreF.Strings)), "moderate: four fingers, a barre");
  EXPECT_EQ(fingeringEase(reach.Strings).Level, EaseLevel::Easy);
  EXPECT_EQ(easeText(fingeringEase(wide.Strings)), "hard: a wide stretch");
  EXPECT_EQ(easeText(fingeringEase(dampedInner.Strings)), "easy: a damped inner string");
  // The same stretch is harder near the nut, where the frets are wider.
  EXPECT_GT(fingeringEase(shape("14xxxx", "14xxxx").Strings).Cost,
            fingeringEase(shape("7axxxx", "14xxxx").Strings).Cost);

  EXPECT_EQ(changeCost(openC.Strings, openC.Strings), 0.0);
  // A barre shape moved two frets up: the hand travels two frets, and the
  // fingers sliding along their strings add little.
  const TChordDiagram barreG = shape("355433", "134211");
  EXPECT_GE(changeCost(barreF.Strings, barreG.Strings), 2.0);
  EXPECT_LT(changeCost(barreF.Strings, barreG.Strings), 2.5);
  // C to Am keeps two fingers down and costs less than C to a far shape.
  const TChordDiagram am = shape("x02210", "x02310");
  EXPECT_LT(changeCost(openC.Strings, am.Strings), changeCost(openC.Strings, barreG.Strings));
  EXPECT_FALSE(handPosition(shape("000000", "000000").Strings));
}

// A play page of the library's chords: each entry key, dictionary index and
// which of its six fingerings, placed in slot order.
struct Placed {
  int Key, Type, Fingering;
};
void place(PlayPageSlots& page, int slot, const Placed& p) {
  page[slot % 12][slot / 12] = libraryChord(p.Key, p.Type, p.Fingering);
}

constexpr int Major = 0, Minor = 19, Dom7 = 36, Min7 = 20, Maj7 = 2;

struct Page {
  PlayPageSlots Slots{};
  SmoothRequest Request;
  Page() {
    for (auto& column : Slots)
      for (auto& d : column) d.Empty = 1;
  }
  // One chord a bar, 4/4.
  void bars(std::initializer_list<Placed> chords) {
    int bar = 0;
    for (const Placed& p : chords) place(Slots, 8 * bar++, p);
  }
};

TEST(SmoothFingerings, KeepsEveryChordAndCutsTheTravel) {
  // I-V-vi-IV in A flat, and ii-V-I-vi in B flat, all first fingerings.
  for (const auto& progression :
       {std::vector<Placed>{{8, Major, 0}, {3, Major, 0}, {5, Minor, 0}, {1, Major, 0}},
        std::vector<Placed>{{0, Min7, 0}, {5, Dom7, 0}, {10, Maj7, 0}, {7, Min7, 0}}}) {
    Page page;
    for (std::size_t bar = 0; bar < progression.size(); ++bar)
      place(page.Slots, 8 * int(bar), progression[bar]);
    PlayPageSlots old;
    std::copy(&page.Slots[0][0], &page.Slots[0][0] + 72, &old[0][0]);
    LibraryFingerings lib(ProgramDir);
    const SmoothResult r = smoothFingerings(page.Slots, page.Request, lib);
    EXPECT_LT(r.TravelAfter, r.TravelBefore);
    EXPECT_EQ(r.TravelAfter, handTravel(page.Slots, page.Request));
    for (int s = 0; s < 72; ++s) {
      const TChordDiagram &now = page.Slots[s % 12][s / 12], &was = old[s % 12][s / 12];
      ASSERT_EQ(isEmpty(now), isEmpty(was));
      if (isEmpty(now)) continue;
      EXPECT_EQ(now.ChordName.str(), was.ChordName.str());
      EXPECT_EQ(now.Root, was.Root);
      EXPECT_EQ(now.Bass, was.Bass);
      const auto* set = lib.of(was);
      ASSERT_TRUE(set);
      EXPECT_TRUE(
          std::any_of(set->begin(), set->end(),
                      [&](const TChordDiagram& d) { return std::memcmp(&d, &now, sizeof d) == 0; }))
          << "slot " << s << " holds a library fingering, notes and all";
    }
    // Smooth stays smooth.
    EXPECT_TRUE(smoothFingerings(page.Slots, page.Request, lib).Changed.empty());
  }
}

TEST(SmoothFingerings, LeavesAlonePagesThatNeedNoChange) {
  LibraryFingerings lib(ProgramDir);
  Page same;
  same.bars({{4, Major, 0}, {4, Major, 0}, {4, Major, 0}});
  EXPECT_TRUE(smoothFingerings(same.Slots, same.Request, lib).Changed.empty());

  // A fingering designed by hand stays, unless the player asks.
  Page own;
  own.bars({{9, Minor, 0}, {4, Dom7, 0}});
  TChordDiagram& mine = own.Slots[8][0];
  mine.Strings[0] = {12, 4};  // a high E on top of the E7
  const TChordDiagram kept = mine;
  smoothFingerings(own.Slots, own.Request, lib);
  EXPECT_EQ(std::memcmp(&own.Slots[8][0], &kept, sizeof kept), 0);
  own.Request.ChangeOwn = true;
  own.Request.Where = HandPlace::AroundFret;
  own.Request.Fret = 7;
  smoothFingerings(own.Slots, own.Request, lib);
  EXPECT_NE(std::memcmp(&own.Slots[8][0], &kept, sizeof kept), 0);
}

TEST(SmoothFingerings, AroundAFretKeepsTheHandThere) {
  LibraryFingerings lib(ProgramDir);
  Page page;  // ii-V-I in C
  page.bars({{2, Min7, 0}, {7, Dom7, 0}, {0, Maj7, 0}});
  page.Request.Where = HandPlace::AroundFret;
  page.Request.Fret = 7;
  smoothFingerings(page.Slots, page.Request, lib);
  for (int bar = 0; bar < 3; ++bar) {
    const auto at = handPosition(page.Slots[(8 * bar) % 12][(8 * bar) / 12].Strings);
    ASSERT_TRUE(at);
    EXPECT_NEAR(*at, 7.0, 3.0) << "bar " << bar;
  }
}

TEST(PlayRoute, RepeatsAndTheLoopLeadBackToTheirFirstChord) {
  PlayList list{};
  for (auto& d : list) d.Empty = 1;
  for (int s : {0, 4, 8, 16}) list[s] = shape("x32010", "x32010");
  TRepeatSet marks{};
  marks.ReturnMark[0] = 1;
  marks.RepeatCount[1] = 2;  // bars 1 and 2 played three times: slot 8 back to 0
  PlayRoute r = playRoute(list, marks, false, false);
  EXPECT_EQ(r.Heard[0], 3);
  EXPECT_EQ(r.Heard[16], 1);
  auto count = [&](int from, int to) {
    for (const auto& c : r.Changes)
      if (c.From == from && c.To == to) return c.Count;
    return 0;
  };
  EXPECT_EQ(count(8, 0), 2);
  EXPECT_EQ(count(8, 16), 1);
  marks.ReturnMark[1] = 1;  // now bar 2 repeats alone
  marks.LoopMark[2] = 1;
  r = playRoute(list, marks, false, true);
  EXPECT_EQ(count(8, 8), 2);
  EXPECT_EQ(count(16, 0), 1) << "the loop goes from its mark back to the top";
  EXPECT_EQ(count(0, 4), 1);
}

}  // namespace

namespace {

// Suggest: the chord set dropped on the design group comes ordered by the
// change from the PlayPage chord before the selected slot; Easiest First
// orders a chord set on the Chords page by ease.
TEST(SuggestAndEasiestFirst, OrderTheSixWithoutLosingAny) {
  Workbench bench;
  bench.State.ExeDir = ProgramDir;
  for (auto& column : bench.State.PlayPage)
    for (auto& d : column) d.Empty = 1;
  place(bench.State.PlayPage, 3, {7, Dom7, 4});  // a G7 up the neck in slot 3
  bench.State.Play.PlaySelColumn = 9;            // slot 9 selected, empty
  bench.State.Play.PlaySelRow = 0;
  const TChordDiagram* from = bench.Play.chordBeforeSelected();
  ASSERT_TRUE(from);
  EXPECT_EQ(from, &bench.State.PlayPage[3][0]);
  bench.State.Play.PlaySelColumn = 2;
  EXPECT_FALSE(bench.Play.chordBeforeSelected());

  TChordDiagram set[6];
  TChordFormula formula{};
  ASSERT_EQ(readChordSet(ProgramDir, 1, 0, 0, set, formula).Status, LibraryStatus::Ok);  // C
  auto sameSix = [&](const TChordDiagram* six) {
    return std::is_permutation(six, six + 6, set, [](const auto& a, const auto& b) {
      return std::memcmp(&a, &b, sizeof a) == 0;
    });
  };
  bench.Group.showChords(ProgramDir, Major, 0, false, false, from);
  const TChordDiagram* group = bench.State.DesignGroup;
  EXPECT_TRUE(sameSix(group));
  for (int s = 0; s + 1 < 6; ++s)
    EXPECT_LE(changeCost(from->Strings, group[s].Strings),
              changeCost(from->Strings, group[s + 1].Strings));
  EXPECT_NE(std::memcmp(&group[0], &set[0], sizeof set[0]), 0) << "the order did change";

  bench.Chords.showChords(
      [&](TChordDiagram(&six)[6]) { return readChordSet(ProgramDir, 2, 0, 5, six, formula); },
      true);
  std::vector<double> ease;
  for (int c = 0; c < 6; ++c)
    ease.push_back(fingeringEase(bench.State.ChordPage[c][0].Strings).Cost);
  EXPECT_TRUE(std::is_sorted(ease.begin(), ease.end()));
  EXPECT_EQ(bench.Chords.easeAt(120 * 2 + 70, 90),
            easeText(fingeringEase(bench.State.ChordPage[2][0].Strings)));
  EXPECT_EQ(bench.Chords.easeAt(120 * 2 + 70, 150 + 90), "");
}

}  // namespace
