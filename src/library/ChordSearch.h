#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "library/LibraryFiles.h"
#include "music/NameTables.h"
#include "music/Records.h"

// Naming a fingering: every (root, chord type) of the chord formula
// dictionary whose formula holds all the pitch classes the fingering sounds.
// It keeps the pairs of the lines last listed (SearchResults), which a result
// line dropped on the design group is read back from.
class ChordSearch {
 public:
  // Items of the two radio groups that steer a search.
  enum IntervalOption { AllContaining = 0, TheseNotesOnly = 1 };
  enum RootOption { CurrentRoot = 0, EachNote = 1, AllKeys = 2 };

  struct Options {
    int Interval = TheseNotesOnly;
    int Root = CurrentRoot;
  };

  struct Pair {
    std::uint8_t Index = 0;  // dictionary index 0..61
    std::uint8_t Root = 0;   // pitch class
  };

  struct Line {
    Pair Chord;
    std::string Text;  // root name, a space, type name, a tab, the formula as stored
    std::string Why;   // what the chord adds to the sounded notes, and whether it is rootless
  };

  struct Outcome {
    bool Searched = false;    // false: fewer than two notes, the list stays empty
    Options Used;             // the options after the automatic switches
    std::vector<Line> Lines;  // in list order; empty means "no chords found"
    LibraryResult Read;       // a failed dictionary read lists nothing
  };

  ChordSearch();

  // Searches for `chord`, whose root is sounded or not. The dictionary is
  // read whole first, so a damaged file lists nothing and keeps the pairs
  // of the last search.
  Outcome search(const TChordDiagram& chord, bool rootSounded, Options options,
                 const NameTables& names, const std::string& dictionaryDir);

  // One pair per line of the last search that found something, in line order.
  const std::vector<Pair>& results() const { return SearchResults; }

 private:
  std::vector<Pair> SearchResults;
};

// Whether a played string of `chord` sounds its root pitch class.
bool rootSounded(const TChordDiagram& chord);
