#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "midi/WavFile.h"

// The first frame from `from` on whose level in either channel passes
// `threshold`, or -1.
inline std::int64_t onset(const WavFile& w, std::int64_t from = 0, float threshold = 0.0f) {
  for (std::size_t f = static_cast<std::size_t>(from); f < w.frames(); ++f)
    if (std::fabs(w.samples[2 * f]) > threshold || std::fabs(w.samples[2 * f + 1]) > threshold)
      return static_cast<std::int64_t>(f);
  return -1;
}

// The loudest sample of frames [from, to), both channels.
inline float peak(const WavFile& w, std::int64_t from, std::int64_t to) {
  float p = 0;
  for (auto f = std::max<std::int64_t>(from, 0);
       f < to && f < static_cast<std::int64_t>(w.frames()); ++f)
    p = std::max({p, std::fabs(w.samples[2 * static_cast<std::size_t>(f)]),
                  std::fabs(w.samples[2 * static_cast<std::size_t>(f) + 1])});
  return p;
}
