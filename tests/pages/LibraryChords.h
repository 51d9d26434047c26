#pragma once

#include <gtest/gtest.h>

#include <string>

#include "library/ChordLibrary.h"
#include "library/LibraryFiles.h"

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
