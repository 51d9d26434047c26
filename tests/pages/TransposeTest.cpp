#include <gtest/gtest.h>

#include <cstring>

#include "LibraryChords.h"
#include "music/ChordAnalysis.h"
#include "pages/Transpose.h"
#include "state/Workbench.h"

namespace {

bool same(const TChordDiagram& a, const TChordDiagram& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(Transpose, TwelveSemitonesInTwoStepsGiveTheChordBackByteForByte) {
  LibraryFingerings lib(ProgramDir);
  for (int key : {0, 4, 8})
    for (int k = 0; k < 6; ++k) {
      const TChordDiagram chord = libraryChord(key, 20, k);  // m7
      const TransposedChord up = transposeChord(chord, 5, lib);
      EXPECT_TRUE(same(up.Chord, libraryChord((key + 5) % 12, 20, k))) << key << " " << k;
      EXPECT_FALSE(up.ShapeChanged);
      EXPECT_TRUE(same(transposeChord(up.Chord, 7, lib).Chord, chord));
    }
  // A closed shape of one's own moves along the neck and back.
  TChordDiagram own = libraryChord(9, 0, 0);
  for (auto& s : own.Strings)
    if (s.Finger != FingerCode::Muted && s.Fret == 0) s.Finger = FingerCode::Muted;
  own.Strings[0] = {9, 4};
  own.BaseFret = static_cast<std::uint8_t>(baseFretFor(own));
  for (int s = 0; s < 6; ++s)
    own.Notes[s] = own.Strings[s].Finger == FingerCode::Muted
                       ? 0
                       : static_cast<std::uint8_t>(own.Tuning[s] + own.Strings[s].Fret);
  const TransposedChord moved = transposeChord(own, 2, lib);
  EXPECT_FALSE(moved.ShapeChanged);
  EXPECT_EQ(moved.Chord.Root, 11);
  for (int s = 0; s < 6; ++s)
    if (own.Strings[s].Finger != FingerCode::Muted) {
      EXPECT_EQ(moved.Chord.Strings[s].Fret, own.Strings[s].Fret + 2);
    }
  EXPECT_TRUE(same(transposeChord(moved.Chord, -2, lib).Chord, own));
  // Half an octave twice, either way, comes back too.
  for (int steps : {6, -6})
    EXPECT_TRUE(same(transposeChord(transposeChord(own, steps, lib).Chord, steps, lib).Chord, own));
}

TEST(Transpose, AnOwnShapeWithAnOpenStringBecomesTheNearestLibraryFingering) {
  LibraryFingerings lib(ProgramDir);
  TChordDiagram own = libraryChord(4, 19, 0);  // E minor, open strings
  own.Strings[0] = {3, 4};                     // a G on top: no longer the library's
  const TransposedChord r = transposeChord(own, 3, lib);
  EXPECT_TRUE(r.ShapeChanged);
  EXPECT_EQ(r.Chord.Root, 7);
  bool fromLibrary = false;
  for (int k = 0; k < 6; ++k) fromLibrary = fromLibrary || same(r.Chord, libraryChord(7, 19, k));
  EXPECT_TRUE(fromLibrary);
}

// Found from outside: the library is for standard tuning, and a chord's
// name still says its type when its recomputed intervals leave a note out.
TEST(Transpose, OtherTuningsMoveOnlyAsShapesAndTheNameFindsTheType) {
  LibraryFingerings lib(ProgramDir);
  TChordDiagram dropD = libraryChord(2, 0, 0);  // D major, first fingering
  dropD.Tuning[5] = 38;                         // low string down to D
  for (int s = 0; s < 6; ++s)
    if (dropD.Strings[s].Finger != FingerCode::Muted)
      dropD.Notes[s] = static_cast<std::uint8_t>(dropD.Tuning[s] + dropD.Strings[s].Fret);
  for (int steps : {2, 5}) {
    const TransposedChord t = transposeChord(dropD, steps, lib);
    const int root = (2 + steps) % 12;
    if (!t.Moved) continue;  // left as it was, and reported
    EXPECT_FALSE(t.ShapeChanged);
    for (int s = 0; s < 6; ++s) {
      if (t.Chord.Strings[s].Finger == FingerCode::Muted) continue;
      const int note = t.Chord.Tuning[s] + t.Chord.Strings[s].Fret;
      EXPECT_EQ(t.Chord.Notes[s], note);
      const int above = ((note - root) % 12 + 12) % 12;
      EXPECT_TRUE(above == 0 || above == 4 || above == 7) << steps << " string " << s;
    }
  }

  TChordDiagram noFifth = libraryChord(4, 0, 0);  // E major, open
  noFifth.Intervals[2] = -1;                      // as a voicing without its fifth reads
  const TransposedChord t = transposeChord(noFifth, 3, lib);
  EXPECT_TRUE(t.Moved);
  EXPECT_EQ(t.Chord.Root, 7);
}

}  // namespace

namespace {

TEST(Transpose, OnTheWorkbenchItIsOneStepThatUndoTakesBack) {
  Workbench bench;
  bench.State.ExeDir = ProgramDir;
  for (auto& column : bench.State.PlayPage)
    for (auto& d : column) d.Empty = 1;
  bench.State.PlayPage[0][0] = libraryChord(9, 19, 0);  // A minor
  bench.State.PlayPage[8][0] = libraryChord(2, 36, 1);  // D7
  bench.State.DesignGroup[0] = libraryChord(4, 0, 0);
  const TChordDiagram group = bench.State.DesignGroup[0];
  const Workbench::Transposed t = bench.transpose(PlayTab::PlayPage, -2);
  EXPECT_EQ(t.Report.Moved, 2);
  EXPECT_TRUE(same(bench.State.PlayPage[0][0], libraryChord(7, 19, 0)));
  EXPECT_TRUE(same(bench.State.PlayPage[8][0], libraryChord(0, 36, 1)));
  EXPECT_EQ(bench.history(PlayTab::PlayPage).undoLabel(), "Transpose");
  EXPECT_TRUE(same(bench.State.DesignGroup[0], group)) << "the other pages stay as they were";
  EXPECT_TRUE(t.Update.Restored);
  bench.undo(PlayTab::PlayPage);
  EXPECT_TRUE(same(bench.State.PlayPage[0][0], libraryChord(9, 19, 0)));
  EXPECT_TRUE(same(bench.State.PlayPage[8][0], libraryChord(2, 36, 1)));
}

}  // namespace
