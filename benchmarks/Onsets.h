#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "midi/WavFile.h"

// Onsets in a rendered file, in frames: the first frame louder than
// `threshold` (on any channel) after at least `quiet` quieter frames.
inline std::vector<std::int64_t> onsets(const WavFile& w, float threshold, std::size_t quiet) {
  std::vector<std::int64_t> found;
  std::size_t silent = quiet;
  for (std::size_t f = 0; f < w.frames(); ++f) {
    float level = 0;
    for (int c = 0; c < w.channels; ++c)
      level = std::max(level, std::fabs(w.samples[f * static_cast<std::size_t>(w.channels) + c]));
    if (level > threshold) {
      if (silent >= quiet) found.push_back(static_cast<std::int64_t>(f));
      silent = 0;
    } else {
      ++silent;
    }
  }
  return found;
}
