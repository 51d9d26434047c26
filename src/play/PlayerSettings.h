#pragma once

#include <algorithm>
#include <cstdint>

// The MIDI values the players send with: channels, programs, velocities and
// the click note, as the settings file keeps them (Settings::Player). The
// players clamp every one again before it goes into a status or data byte, so
// a bad value can never garble the stream.
struct PlayerSettings {
  int GuitarChannel = 0;
  int BassChannel = 1;
  int ClickChannel = 9;
  int GuitarPatch = 25;
  int BassPatch = 33;
  int GuitarVolume = 100;
  int BassVolume = 100;
  int ClickVolume = 65;
  int ClickNote = 34;
};

// The tool-bar toggles and the strum-speed scroll bar as the players read them.
struct PlayOptions {
  bool CountOff = false;  // sbtnCount
  bool Click = false;     // sbtnClick
  bool Loop = false;      // sbtnLoop
  bool BassNote = false;  // sbtnBassNote
  int StrumSpeed = -300;  // sbStrumSpeed position, -800..0
  // spinCapo: a capo on this fret (0 none) sounds every guitar and bass note
  // that many semitones higher; the click keeps its note.
  int Capo = 0;
};

// The strum speed scroll bar's range; a position read from a file is held to it.
inline constexpr int SlowestStrumSpeed = -800, FastestStrumSpeed = 0;
inline int clampStrumSpeed(int position) {
  return std::clamp(position, SlowestStrumSpeed, FastestStrumSpeed);
}

inline constexpr std::int32_t DefaultPageTempo = 600000;  // 100 beats per minute
inline constexpr std::int32_t PlayButtonTempo = 500000;   // 120 beats per minute

namespace PlayerBytes {
inline constexpr std::uint8_t NoteOff = 0x80, NoteOn = 0x90, ProgramChange = 0xC0;
inline std::uint8_t status(std::uint8_t kind, int channel) {
  return static_cast<std::uint8_t>(kind | std::clamp(channel, 0, 15));
}
inline std::uint8_t data(int value) {
  return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}
// The accented click: 1.5 times the click velocity, truncated.
inline std::uint8_t accent(int velocity) {
  return data(std::clamp(velocity, 0, 127) * 3 / 2);
}
// Ticks of |strum speed|, 0..800.
inline int strumTicks(int strumSpeed) {
  return -std::clamp(strumSpeed, -800, 0);
}
// A note number a record may hold that a MIDI device can play.
inline bool playable(int note) {
  return note > 0 && note <= 127;
}
// The note a capo on fret `capo` (held to 0..11) makes of `note`; one pushed
// past the top of MIDI stays at 127.
inline std::uint8_t capoNote(int note, int capo) {
  return data(note + std::clamp(capo, 0, 11));
}
}  // namespace PlayerBytes
