#include "play/midi/SoundFont.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

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

std::string SoundFont::findGeneralMidi() {
  if (const char* env = std::getenv("STRUMBO_SOUNDFONT"); env && isFile(env)) return env;
  for (const char* c : Candidates)
    if (isFile(c)) return c;
  return {};
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
