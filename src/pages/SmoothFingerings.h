#pragma once

#include <array>
#include <bitset>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "music/PageSizes.h"
#include "music/Records.h"
#include "play/PlayPageModel.h"

// Smooth Fingerings: every placed chord of the play page gets the one of its
// library fingerings that makes the whole progression easiest for the
// fretting hand, in the order the page plays (with its repeats, and the loop
// when loop play is on). Each slot keeps its chord: root, chord type, name,
// and a bass other than the root as far as some fingering sounds it. A
// fingering designed by hand is left as it is unless the player asks.

enum class HandPlace { Anywhere, OpenPosition, AroundFret };

struct SmoothRequest {
  HandPlace Where = HandPlace::Anywhere;
  int Fret = 5;            // for AroundFret: 1..15
  bool ChangeOwn = false;  // also re-finger chords designed by hand
  // Slots (12 x row + column) kept as they are while the others are
  // chosen around them, even where one holds a library fingering.
  std::bitset<PlaySlotCount> Fixed;
  // How the page plays.
  bool ThreeFour = false;
  TRepeatSet Marks{};
  bool Loop = false;
};

// The library's fingerings of a placed chord, read from the program folder
// once per chord.
class LibraryFingerings {
 public:
  explicit LibraryFingerings(std::string programDir) : Dir(std::move(programDir)) {}
  // The six fingerings of the chord type and root `slot` holds (the type
  // found by its intervals, its name deciding between types with the same
  // intervals, or by its name alone when no type has its intervals), as the
  // Chords page would show them; none when the library does not hold that
  // chord or cannot be read.
  const std::array<TChordDiagram, 6>* of(const TChordDiagram& slot);

 private:
  std::string Dir;
  std::optional<std::vector<TChordFormula>> Dictionary;
  std::map<std::pair<int, int>, std::optional<std::array<TChordDiagram, 6>>> Sets;
};

// Whether two diagrams hold the same fingering (frets and fingers).
bool sameFingering(const TChordDiagram& a, const TChordDiagram& b);
// `chord` with the fingering of `from`: strings, base fret and the notes they
// sound; name, tuning, intervals, root and bass stay the chord's.
TChordDiagram refingered(const TChordDiagram& chord, const TChordDiagram& from);

using PlayPageSlots = TChordDiagram[PlayPageColumns][PlayPageRows];

struct SmoothResult {
  std::vector<PlaySlot> Changed;             // slots whose fingering changes
  double TravelBefore = 0, TravelAfter = 0;  // frets the hand moves in one play
};

// Re-fingers `page` in place.
SmoothResult smoothFingerings(PlayPageSlots& page, const SmoothRequest& request,
                              LibraryFingerings& library);

// How far the hand moves in one play of the page: the mean fretted fret of
// each chord, the distance summed over every change heard.
double handTravel(const PlayPageSlots& page, const SmoothRequest& request);
