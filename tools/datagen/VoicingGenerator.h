#pragma once

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Fingering.h"
#include "SourceTables.h"

// What a fingering must sound for one chord: its pitch classes, the tones it
// must not leave out and how many tones the chord has.
struct ChordSpec {
  int Root = 0;
  int ToneCount = 0;
  unsigned Tones = 0;       // bit per pitch class (mod 12) of the formula
  unsigned Required = 0;    // tones besides the root that every voicing sounds
  unsigned Optional = 0;    // the natural 5th and any 9th/11th the name does not write
  unsigned Extensions = 0;  // 9ths, 11ths and 13ths: poor bass notes

  static ChordSpec of(const ChordTypeRow& type, int key);
};

// A scored voicing.
struct Candidate {
  Fingering Shape;
  double Score = 0;
  int Position = 0;  // lowest fretted fret, 0 when all strings are open
  bool RootInBass = false;
  bool Rootless = false;
  bool Template = false;  // one of the hand-picked movable shapes
};

// The voicing generator: searches every fingering of a chord in standard
// tuning over frets 0..22 that keeps the rules, scores each as a teacher
// would (root in the bass, strings sounding together, small stretch, few
// fingers, open strings low on the neck, complete chords, the shapes players
// know), and picks six different ones up the neck, the best-known first.
class VoicingGenerator {
 public:
  // Takes the hand-picked shapes; false with a message when one breaks a rule.
  bool prepare(const SourceTables& tables, std::string& error);

  // The six fingerings of chord type `type` (dictionary index) in key `key`.
  std::vector<Candidate> chord(int type, int key) const;

  // Every fingering of the chord that keeps the rules, scored.
  std::vector<Candidate> candidates(int type, int key) const;

 private:
  double score(const ChordSpec& want, const Fingering& g, Candidate& c) const;
  // Fingering 0 and five more from `all`, none below it on the neck, at most
  // `inversions` without the root in the bass, and rootless voicings only in
  // places 3..5 unless `looseRootless`.
  std::vector<Candidate> pickAbove(const Candidate& first, const std::vector<Candidate>& all,
                                   int inversions, bool looseRootless) const;

  const SourceTables* Tables = nullptr;
  // Open-position shapes by (type, key), and movable shapes by type as frets
  // moved to every key where they fit.
  std::map<std::pair<int, int>, Fingering> OpenShapes;
  std::map<std::pair<int, int>, std::vector<Fingering>> MovableShapes;
  // The E- and A-shape barre chords by (type, key), where they fit.
  std::map<std::pair<int, int>, std::vector<Fingering>> BarreShapes;
};

// Standard tuning, strings 0 (E4) to 5 (E2), as note numbers.
inline constexpr std::array<int, 6> StandardStrings = {64, 59, 55, 50, 45, 40};

// Empty when the fingering sounds only tones of the chord and every tone the
// chord needs (the root unless `rootlessAllowed`), else what is wrong.
std::string wrongNotes(const ChordSpec& want, const Fingering& g, bool rootlessAllowed);
