#pragma once

#include <gtest/gtest.h>

#include <string>

#include "library/ChordLibrary.h"
#include "library/LibraryFiles.h"
#include "music/Records.h"

// The shipped chord library the build writes beside the program.
inline const std::string ProgramDir = std::string(STRUMBO_TEST_PROGRAM_DIR) + "/";

// Fingering k (0..5) of dictionary type `dictionaryIndex` in `key`, as the
// Chords page shows it.
inline TChordDiagram libraryChord(int key, int dictionaryIndex, int k) {
  const auto family = ChordLibrary::familyOfDictionaryIndex(dictionaryIndex);
  TChordDiagram set[6];
  TChordFormula formula{};
  EXPECT_EQ(readChordSet(ProgramDir, int(family->Family), family->Type, key, set, formula).Status,
            LibraryStatus::Ok);
  return set[k];
}

// Frets and fingers from the low E string up, as players write them:
// "x32010" with fingers "x32010"; frets 10 and up as a, b, c ...
inline TChordDiagram shape(const char* frets, const char* fingers) {
  TChordDiagram d{};
  for (int i = 0; i < 6; ++i) {
    const int s = 5 - i;
    const char f = frets[i];
    d.Strings[s].Fret = static_cast<std::uint8_t>(f == 'x' ? 0 : f >= 'a' ? f - 'a' + 10 : f - '0');
    d.Strings[s].Finger =
        fingers[i] == 'x' ? FingerCode::Muted : static_cast<std::uint8_t>(fingers[i] - '0');
  }
  return d;
}
