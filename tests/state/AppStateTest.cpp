#include <gtest/gtest.h>

#include "state/AppState.h"

TEST(AppState, StartsWithEveryPageEmptyAndALiveMutedFingering) {
  AppState st;
  EXPECT_EQ(st.ChordSetCount, 0);
  EXPECT_EQ(st.ScaleCount, 0);
  for (auto& column : st.ChordPage)
    for (auto& d : column) EXPECT_TRUE(isEmpty(d));
  for (auto& column : st.PlayPage)
    for (auto& d : column) EXPECT_TRUE(isEmpty(d));
  for (auto& column : st.PrintPage)
    for (auto& d : column) EXPECT_TRUE(isEmpty(d));
  for (auto& d : st.DesignGroup) EXPECT_TRUE(isEmpty(d));
  for (auto& d : st.ScalePage) EXPECT_TRUE(isEmpty(d));
  EXPECT_TRUE(isEmpty(st.SelectedChord));
  EXPECT_TRUE(isEmpty(st.SelectedPlayChord));
  EXPECT_TRUE(isEmpty(st.CurrentScale));
  EXPECT_TRUE(isEmpty(st.SelectedPrintItem));

  const TChordDiagram& e = st.EditChord;
  EXPECT_FALSE(isEmpty(e));
  EXPECT_EQ(e.TuningName.str(), "Standard");
  EXPECT_TRUE(e.ChordName.empty());
  EXPECT_TRUE(e.Formula.empty());
  for (int s = 0; s < 6; ++s) {
    EXPECT_EQ(e.Tuning[s], StandardTuning[s]);
    EXPECT_EQ(e.Strings[s].Fret, 0);
    EXPECT_EQ(e.Strings[s].Finger, FingerCode::Muted);
    EXPECT_EQ(e.Notes[s], 0);
  }
  EXPECT_EQ(e.Intervals[0], 0);
  for (int i = 1; i < 7; ++i) EXPECT_EQ(e.Intervals[i], -1);
  EXPECT_EQ(e.BaseFret, 1);
  EXPECT_EQ(e.Root, 0);
  EXPECT_EQ(e.Bass, 24);

  EXPECT_FALSE(st.Names.sharps());
  EXPECT_EQ(st.CurrentTuning, StandardTuning);
}

TEST(AppState, MoveBuffersStartZeroFilled) {
  AppState st;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&st.MoveBuffer);
  for (std::size_t i = 0; i < sizeof st.MoveBuffer; ++i) ASSERT_EQ(bytes[i], 0) << i;
  const auto* pbytes = reinterpret_cast<const unsigned char*>(&st.PrintMoveBuffer);
  for (std::size_t i = 0; i < sizeof st.PrintMoveBuffer; ++i) ASSERT_EQ(pbytes[i], 0) << i;
}

TEST(AppState, UnitStartKeepsThePagesButResetsCountersAndSelections) {
  AppState st;
  st.ChordSetCount = 3;
  st.ScaleCount = 2;
  st.SelectedChord.Empty = 0;
  st.ChordPage[0][0].Empty = 0;
  st.unitStart();
  EXPECT_EQ(st.ChordSetCount, 0);
  EXPECT_EQ(st.ScaleCount, 0);
  EXPECT_TRUE(isEmpty(st.SelectedChord));
  EXPECT_FALSE(isEmpty(st.ChordPage[0][0]));
  st.windowStart();
  EXPECT_TRUE(isEmpty(st.ChordPage[0][0]));
}
