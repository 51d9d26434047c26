#pragma once

#include <cstdint>

// One timed event handed by a player to the MIDI output queue. `Time` is the
// distance in ticks (480 to the quarter note) from the event queued before it.
// `Status` is a MIDI channel message (channel in the low four bits) or one of
// the private codes below, which are handed back to the window instead of
// being sent to a device.
struct MidiEvent {
  std::int32_t Time = 0;
  std::uint8_t Status = 0;
  std::uint8_t Data1 = 0;
  std::uint8_t Data2 = 0;
  std::uint8_t Data3 = 0;
};

inline constexpr std::uint8_t EventShowFinger = 1;  // Data1 string, Data2 fret, Data3 finger
inline constexpr std::uint8_t EventBeatMarker = 2;  // Data1 beat index
// Data1 slot index: the chord of that slot is struck now. Only a player asked
// to mark chords (for a file that names them) writes it.
inline constexpr std::uint8_t EventChordStruck = 3;
inline constexpr int TicksPerQuarter = 480;
