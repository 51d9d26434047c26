#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "design/IntervalDisplay.h"
#include "music/Records.h"

namespace {

using Place = std::pair<int, int>;  // string, fret

std::map<Place, int> pens(const std::vector<ArpeggioCell>& cells) {
  std::map<Place, int> byPlace;
  for (const auto& c : cells) {
    EXPECT_TRUE(byPlace.emplace(Place{c.String, c.Fret}, c.Pen).second) << "one box per place";
  }
  return byPlace;
}

const std::int8_t Major[7] = {0, 4, 7, -1, -1, -1, -1};

}  // namespace

TEST(IntervalCaption, NamesIntervalsAndLeavesMarkersAndJunkBlank) {
  EXPECT_EQ(intervalCaption(0), "1");
  EXPECT_EQ(intervalCaption(14), "9");
  EXPECT_EQ(intervalCaption(ChordIntervalEnd), "");
  EXPECT_EQ(intervalCaption(12), "");
  EXPECT_EQ(intervalCaption(24), "");
  EXPECT_EQ(intervalCaption(-7), "");
}

TEST(ArpeggioCells, BoxesEveryChordToneOnTheNeckRootInRed) {
  const auto byPlace = pens(arpeggioCells(StandardTuning, Major, 0, false));
  // C major has 3 of 12 pitch classes: 6 strings x 23 frets, 3 of every 12.
  int roots = 0;
  for (const auto& [place, pen] : byPlace) roots += pen == RootPen;
  EXPECT_EQ(byPlace.at({0, 8}), RootPen);       // C on the high E string
  EXPECT_EQ(byPlace.at({1, 5}), ChordTonePen);  // E on the B string
  EXPECT_EQ(byPlace.at({2, 0}), ChordTonePen);  // open G
  EXPECT_FALSE(byPlace.count({0, 7}));          // B
  EXPECT_FALSE(byPlace.count({1, 3}));          // D
  EXPECT_EQ(byPlace.at({4, 3}), RootPen);
  EXPECT_EQ(byPlace.at({4, 15}), RootPen);
  EXPECT_EQ(roots, 12);  // two Cs on each string within 22 frets
}

TEST(ArpeggioCells, FollowTheOpenStringsAndTheRoot) {
  Tuning dropD = StandardTuning;
  dropD[5] = 38;
  const auto byPlace = pens(arpeggioCells(dropD, Major, 14, false));  // D major
  EXPECT_EQ(byPlace.at({5, 0}), RootPen);
  EXPECT_EQ(byPlace.at({5, 4}), ChordTonePen);  // F#
  EXPECT_FALSE(byPlace.count({5, 2}));
  EXPECT_EQ(byPlace.at({0, 2}), ChordTonePen);  // F# on the high E
}

TEST(ArpeggioCells, LabelColoursGoToTheLastLabelOfThePitchClass) {
  // 1 3 5 9 2: the 2 and the 9 share a pitch class; the later label wins.
  const std::int8_t add9[7] = {0, 4, 7, 14, 2, -1, -1};
  const auto byPlace = pens(arpeggioCells(StandardTuning, add9, 0, true));
  EXPECT_EQ(byPlace.at({0, 8}), RootPen);  // the root stays red
  EXPECT_EQ(byPlace.at({1, 5}), 1);        // E: the "3" label
  EXPECT_EQ(byPlace.at({2, 0}), 2);        // G: the "5" label
  EXPECT_EQ(byPlace.at({1, 3}), 4);        // D: the "2" label, not the "9"
  // Without label colours every other tone is plain.
  EXPECT_EQ(pens(arpeggioCells(StandardTuning, add9, 0, false)).at({1, 3}), ChordTonePen);
}

TEST(ArpeggioCells, StopAtTheFirstEndMarker) {
  const std::int8_t gap[7] = {0, 4, -1, 7, -1, -1, -1};
  const auto byPlace = pens(arpeggioCells(StandardTuning, gap, 0, true));
  EXPECT_FALSE(byPlace.count({2, 0}));  // the 5 after the marker gets no box
  EXPECT_EQ(byPlace.at({1, 5}), 1);
}
