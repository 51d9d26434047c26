#pragma once

#include <string>

// Finds the General MIDI soundfont of the built-in synthesiser among those
// Debian installs: FluidR3 (fluid-soundfont-gm) first, TimGM6mb as the smaller
// fallback. $STRUMBO_SOUNDFONT, when it names a soundfont, comes before both.
class SoundFont {
 public:
  struct Choice {
    std::string Path;      // the font to load; empty when none is installed
    std::string Unusable;  // $STRUMBO_SOUNDFONT when it names no soundfont
  };
  // A file named by $STRUMBO_SOUNDFONT that is missing or no soundfont at all
  // (a text file named .sf2) is passed over for the installed one, and the
  // choice says so, so that the user hears sound and learns why it is not theirs.
  static Choice chooseGeneralMidi();
  // Empty when none is installed.
  static std::string findGeneralMidi();
  // The installed one, whatever $STRUMBO_SOUNDFONT says; empty when none is.
  static std::string installedGeneralMidi();
  // The smallest installed one, for tests and tools that load it many times.
  static std::string findSmallest();
  // A regular file that begins like a soundfont.
  static bool looksUsable(const std::string& path);
};
