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
  // Straight to `path`, for tests and tools; exports write build() through a FileLayer.
  static bool write(const std::string& path, const std::vector<MidiEvent>& events,
                    std::int32_t microsPerQuarter);
};
