#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "play/MidiEvent.h"

// Writes player events as a standard MIDI file (format 0, 480 ticks to the
// quarter, one tempo), so other players can render the same music. The
// private codes are window messages, not music, and are left out; their
// delta times carry over to the next event.
class StandardMidiFile {
 public:
  static std::string build(const std::vector<MidiEvent>& events, std::int32_t microsPerQuarter);

  // What a file for other programs says besides the music: its time
  // signature, a named track per instrument, and chord names.
  struct Layout {
    int BeatsPerBar = 4;  // n/4 time
    struct Track {
      std::string Name;
      int Channel = 0;
    };
    // The channel events go to the first track of their channel; events of a
    // channel no track names go to the first track.
    std::vector<Track> Tracks;
    // Names by the slot of an EventChordStruck; a marker with the name goes
    // where the chord changes (a name other than the last one marked).
    std::vector<std::string> ChordNames;
  };
  // Format 1: a first track with the tempo, the time signature and the
  // markers, then one track per entry of `layout.Tracks` (at least one).
  static std::string build(const std::vector<MidiEvent>& events, std::int32_t microsPerQuarter,
                           const Layout& layout);
  // Straight to `path`, for tests and tools; exports write build() through a FileLayer.
  static bool write(const std::string& path, const std::vector<MidiEvent>& events,
                    std::int32_t microsPerQuarter);
};
