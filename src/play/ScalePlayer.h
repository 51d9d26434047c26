#pragma once

#include <cstdint>
#include <vector>

#include "music/Records.h"
#include "play/MidiEvent.h"
#include "play/PlayerSettings.h"

// The scale player: the notes of one scale position, or of the whole neck, run
// up string by string as a strictly rising line, each pitch once, each note
// |strum speed| ticks long and lighting its string on the fretboard while it
// sounds. It owns nothing; it turns a scale diagram into the whole run at once.
class ScalePlayer {
 public:
  struct Note {
    int String;
    int Fret;
    int Number;  // MIDI note
    bool operator==(const Note&) const = default;
  };
  struct Play {
    int StrumSpeed = -300;
    bool BassNote = false;
    int Capo = 0;  // semitones every note sounds higher
  };

  // The notes in playing order. `position` 0..5 picks the start fret of a
  // single position; out of range gives none. Open strings are played only
  // by a window that starts at fret 1.
  static std::vector<Note> scaleNotes(const TScaleDiagram& scale, int position, bool wholeScale);

  // Nothing for an empty scale or a position out of range.
  static std::vector<MidiEvent> PlayScale(const TScaleDiagram& scale, int position, bool wholeScale,
                                          const PlayerSettings& settings, const Play& play);
};
