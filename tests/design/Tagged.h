#pragma once

#include <cstdint>

#include "music/Records.h"

// A diagram told apart from the others by its base fret.
inline TChordDiagram tagged(int tag) {
  TChordDiagram d{};
  d.Empty = 0;
  d.BaseFret = static_cast<std::uint8_t>(tag + 1);
  return d;
}
