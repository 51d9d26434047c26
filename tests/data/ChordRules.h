#pragma once

#include <array>
#include <string>
#include <vector>

#include "library/ChordLibrary.h"
#include "music/Records.h"

// The test suite's own statement of what a library fingering must be, kept
// apart from the generator so the shipped files are judged on their own.

// Semitones of an interval name in a formula text ("b3", "#11", "bb7");
// -1 for a name it does not know.
int semitonesOfIntervalName(const std::string& name);

// Words of a text, split at blanks.
std::vector<std::string> words(const std::string& text);

// A chord type as the dictionary gives it, with the tones every fingering
// must sound: all but the root, the natural 5th, and a 9th or 11th the name
// does not write (the 9 of a 13 chord).
struct ChordTones {
  std::vector<int> Intervals;  // as stored
  unsigned Tones = 0;          // pitch-class bits, root at bit 0
  unsigned Required = 0;
  int Count = 0;
};
ChordTones chordTones(const TChordFormula& f);

// Low string first; x for muted: "x32010" or "x 10 12 12 12 10".
std::string fretText(const TChordFingering& r);

struct Heard {
  unsigned PitchClasses = 0;  // relative to the key
  int Bass = -1;              // the lowest sounding note
  int Strings = 0;
  int LowestFret = 0;  // 0 when nothing is fretted
};
Heard heard(const TChordFingering& r, int key);

// Whether no string sounds below the lowest sounded string, so the bass the
// diagram shows is the bass one hears.
bool lowestStringIsLowestNote(const TChordFingering& r);

// Empty when the record keeps the rules of the record layout, the diagram and
// the hand; else what it breaks.
std::string handProblem(const TChordFingering& r);

// Empty when the record sounds the right notes for the chord (rootless only
// when allowed), else what is wrong.
std::string noteProblem(const TChordFingering& r, int key, const ChordTones& c,
                        bool rootlessAllowed);

// How many distinct fingerings with the root in the bass keep every rule
// (counted up to `limit`): a brute-force search over the neck.
int rootPositionVoicings(int key, const ChordTones& c, int limit);
