#pragma once

#include <vector>

#include "music/Records.h"
#include "play/MidiEvent.h"
#include "play/PlayerSettings.h"

// The chord player: one chord diagram strummed from string 5 to string 0,
// |strum speed| ticks between strings, all released 800 ticks after the last,
// with an optional count-off and bass note. It owns nothing; it turns a
// diagram into the whole run of events at once.
class ChordPlayer {
 public:
  struct Play {
    int StrumSpeed = -300;
    bool CountOff = false;  // Count Off down and not on the PlayPage tab
    bool BassNote = false;
    bool ClearMarks = true;  // false in step play: the marks stay until the next step
    int Capo = 0;            // semitones every guitar and bass note sounds higher
  };
  static constexpr std::int32_t HoldTicks = 800;

  // Nothing for an empty diagram.
  static std::vector<MidiEvent> PlayChord(const TChordDiagram& chord,
                                          const PlayerSettings& settings, const Play& play);
};
