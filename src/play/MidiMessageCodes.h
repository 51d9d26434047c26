#pragma once

#include <cstdint>

// The numbers of the messages the MIDI component posts to the window.
namespace MidiMessageCode {
inline constexpr std::uint32_t Room = 0x5453;        // the queue accepts events again
inline constexpr std::uint32_t Beat = 0x5452;        // a beat of the running clock
inline constexpr std::uint32_t ShowFinger = 0x546E;  // a Status 1 event is due
inline constexpr std::uint32_t BeatMarker = 0x546F;  // a Status 2 event is due
inline constexpr std::uint32_t AllPlayed = 0x5457;   // every queued event has played
inline constexpr std::uint32_t MidiInData = 0x3C3;   // input data (never posted: input is ignored)
}  // namespace MidiMessageCode
