#pragma once

#include <string>

#include "music/Records.h"
#include "music/Tuning.h"

// Reading the program's chord library, chord formula dictionary and scale
// library for the pages. Each read is all or nothing: a missing, short or
// damaged file gives a status and leaves the caller's records untouched, so
// a page never shows half a chord set or junk from a broken file.

enum class LibraryStatus {
  Ok,
  MissingFiles,  // a file of the family (or the family itself) is missing
  ReadError,     // a file is there but short, unreadable or holds impossible values
};

struct LibraryResult {
  LibraryStatus Status = LibraryStatus::Ok;
  std::string File;  // the file that failed, for the message
};

// The six fingerings of chord type `type` of family 1..3 in key 0..11, as
// chord diagrams ready for the Chords page: names and intervals from the
// dictionary, standard tuning, root and bass from the key, notes worked out.
LibraryResult readChordSet(const std::string& dir, int family, int type, int key,
                           TChordDiagram (&set)[6], TChordFormula& formula);

// Record `index` 0..61 of the chord formula dictionary.
LibraryResult readChordFormula(const std::string& dir, int index, TChordFormula& formula);

// Record `index` 0..46 of the scale library.
LibraryResult readScaleFormula(const std::string& dir, int index, TScaleFormula& scale);

// The message a page shows for a read error.
std::string libraryErrorText(const LibraryResult& result);
