#pragma once

#include <string>

// Finds the General MIDI soundfont of the built-in synthesiser among those
// Debian installs: FluidR3 (fluid-soundfont-gm) first, TimGM6mb as the smaller
// fallback. $STRUMBO_SOUNDFONT, when it names a file, comes before both.
class SoundFont {
 public:
  // Empty when none is installed.
  static std::string findGeneralMidi();
  // The smallest installed one, for tests and tools that load it many times.
  static std::string findSmallest();
};
