#pragma once

#include <array>
#include <string>
#include <vector>

#include "settings/ProfileFile.h"

// The voice list of MIDI setup: the key names of the settings file's
// "General MIDI" section, numbered "001 Acoustic Grand Piano" to "128 Gunshot"
// as the shipped file has them. A settings file made afresh, or cut short,
// lacks the section; the program offers and writes back the standard list
// rather than leaving no voice to choose.
namespace GeneralMidiVoices {

inline constexpr const char* Section = "General MIDI";
inline constexpr std::size_t Count = 128;

const std::array<const char*, Count>& names();
// The voice names `contents` offers: its section's keys, or the standard
// list when the section is missing or empty.
std::vector<std::string> offered(const ProfileFile::Contents& contents);
// Writes the standard list into `contents` when its section is missing or
// empty; a list of the user's own is kept as it is.
void restore(ProfileFile::Contents& contents);

}  // namespace GeneralMidiVoices
