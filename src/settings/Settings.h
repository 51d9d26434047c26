#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "play/PlayerSettings.h"

class ProfileFile;

// The values the program keeps in "Px.ini": MIDI devices, voices, channels and
// velocities, the click, the strum speed, the Bass Note option, the page
// folders and the names of the user chords. Every value read is brought into
// the range its users index or send with, so no file content can reach a table
// or the MIDI stream out of range.
class Settings {
 public:
  // Order of the page kinds in PageDirectory and of the "Directory" keys.
  enum PageKind { ChordPageKind, PrintPageKind, DesignPageKind, PlayPageKind, ScalePageKind };
  static constexpr std::array<const char*, 5> DirectoryKeys{"Chord", "Print", "Design", "Play",
                                                            "Scale"};
  static constexpr int FirstUserChordSection = 62;
  // More would only be list items named "NONAME"; the bound keeps a bad
  // `Number` from stalling start-up.
  static constexpr int MaxUserChords = 1000;
  static constexpr int MaxClickVolume =
      84;  // so that the accented click, 1.5 times, stays a velocity

  std::uint16_t MidiInDevice = 0;
  std::uint16_t MidiOutDevice = 0;
  // Voices, channels, velocities and the click, as the players send them.
  PlayerSettings Player;
  bool BassNoteOption = false;
  // Options > Easiest First: a chord set's fingerings shown easiest first.
  bool EasiestFirst = false;
  int StrumSpeed = -300;  // position of sbStrumSpeed, -800..0
  // The guitar as the player holds it: capo fret 0..11, chord names as they
  // sound rather than as fretted, the left-handed view.
  static constexpr int MaxCapo = 11;
  int Capo = 0;
  bool SoundingNames = false;
  bool LeftHanded = false;
  std::array<std::string, 5> PageDirectory;
  std::vector<std::string> UserChordNames;
  // The files last opened or saved, newest first, per page kind.
  static constexpr std::size_t MaxRecentFiles = 5;
  std::array<std::vector<std::string>, 5> RecentFiles;

  // Puts `path` first in the recent files of `kind`, once.
  void rememberFile(PageKind kind, const std::string& path);

  // Reads every key read at start-up, in the program's order. `exeDir` ends in
  // '/' and gives the default page folders.
  void load(const ProfileFile& file, const std::string& exeDir);
  // What shutdown writes: Main/Sspeed, Main/Bass, Main/EasiestFirst,
  // Main/Capo, Main/SoundingNames and Main/LeftHanded (each once it has been
  // off its default) and the five Directory keys.
  void saveShutdown(ProfileFile& file) const;
  // What MIDI setup's OK writes: the eleven device, voice, channel, volume and
  // click keys.
  void saveMidiSetup(ProfileFile& file) const;
  // The recent files, in a section of their own: "Recent Files", keys
  // "Chord1" to "Chord5" and so on.
  void saveRecentFiles(ProfileFile& file) const;
};
