#include "midi/SoundFont.h"

#include <fluidsynth.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "midi/FluidSynthOutput.h"

namespace {

const char* const Candidates[] = {
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf3/FluidR3_GM.sf3",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
};

bool isFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

bool SoundFont::looksUsable(const std::string& path) {
  // FluidSynth would log its own complaint about a file that is no soundfont.
  FluidSynthOutput::quietLogging();
  return isFile(path) && fluid_is_soundfont(path.c_str());
}

SoundFont::Choice SoundFont::chooseGeneralMidi() {
  Choice choice;
  if (const char* env = std::getenv("STRUMBO_SOUNDFONT"); env && *env) {
    if (looksUsable(env)) {
      choice.Path = env;
      return choice;
    }
    choice.Unusable = env;
  }
  choice.Path = installedGeneralMidi();
  return choice;
}

std::string SoundFont::installedGeneralMidi() {
  for (const char* c : Candidates)
    if (looksUsable(c)) return c;
  return {};
}

std::string SoundFont::findGeneralMidi() {
  return chooseGeneralMidi().Path;
}

std::string SoundFont::findSmallest() {
  std::string best;
  std::uintmax_t bestSize = 0;
  for (const char* c : Candidates) {
    std::error_code ec;
    if (!isFile(c)) continue;
    const auto size = std::filesystem::file_size(c, ec);
    if (!ec && (best.empty() || size < bestSize)) {
      best = c;
      bestSize = size;
    }
  }
  return best;
}
