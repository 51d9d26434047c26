#pragma once

#include <vector>

#include "music/Records.h"
#include "pages/PageFile.h"
#include "pages/SmoothFingerings.h"

// Transposing a chord by semitones: it keeps its chord type and name and
// moves its root (and bass) by the step. A fingering from the library becomes
// the library fingering at the same place (the k-th of six) in the new key.
// A fingering designed by hand moves as a shape, up or down the neck,
// when no open string would have to move and every note stays on the neck;
// otherwise it becomes the new key's library fingering nearest to where the
// hand was, and the caller tells the player its shape changed.
struct TransposedChord {
  TChordDiagram Chord{};
  bool ShapeChanged = false;  // a hand-made shape gave way to a library one
  bool Moved = true;          // false: no way to move it (left as it was)
};

// `steps` from -11 to 11 (taken modulo 12).
TransposedChord transposeChord(const TChordDiagram& chord, int steps, LibraryFingerings& library);

// A whole play page, print page or design group transposed: every chord as
// above, and every scale item of the print page with its root moved and its
// position kept. Other kinds of page are left as they are.
struct TransposeReport {
  int Moved = 0;
  // Items by number in reading order (slot, design slot, print item).
  std::vector<int> ShapeChanged;
  std::vector<int> NotMoved;
};
TransposeReport transposePage(PageContents& page, int steps, LibraryFingerings& library);
