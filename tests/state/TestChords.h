#pragma once

#include <cstdint>

#include "music/Records.h"
#include "state/AppState.h"

// A playable chord told apart by its name and root: strings 0..4 fretted at
// fret 2 with their notes, the bass on the root.
inline TChordDiagram chordNamed(const char* name, int root) {
  TChordDiagram c = startFingering();
  c.ChordName = name;
  c.Root = static_cast<std::uint8_t>(root);
  c.Bass = static_cast<std::uint8_t>(24 + root);
  for (int s = 0; s < 5; ++s) {
    c.Strings[s] = {2, 6};
    c.Notes[s] = static_cast<std::uint8_t>(c.Tuning[s] + 2);
  }
  return c;
}
