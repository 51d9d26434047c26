#pragma once

#include <array>
#include <string>
#include <string_view>

#include "music/NameTables.h"
#include "music/Records.h"

// What the big fretboard works out from a fingering: the interval list, the
// base fret of its diagram, the names shown under it, and which string and
// fret lie under the pointer. The chord type itself is never guessed from the
// notes; names come from the record.

// Per interval 0..11: list and name it an octave up (2 as 9, 4 as 11, ...).
// Flags 0, 4, 7, 10 and 11 have no octave name and are ignored.
using ExtensionFlagSet = std::array<bool, 12>;

// Rewrites Intervals from Notes and Root: 0 first, then each sounded simple
// interval once in ascending order, then the flagged ones as 13..21.
void ComputeIntervals(TChordDiagram& chord, const ExtensionFlagSet& flags);

// The first fret row of the fingering's diagram: 1 when every fretted note is
// at fret 4 or below, 17 when the lowest fretted note is 17 or above,
// otherwise the lowest fretted fret. Muted strings do not count.
int baseFretFor(const TChordDiagram& chord);

// The formula text of an edited fingering: each of the seven interval label
// captions followed by one space, cut to 20 characters.
std::string formulaFromLabels(const std::array<std::string, 7>& labels);

namespace FretboardHit {
// The picture area that reacts to the pointer.
bool inside(int x, int y);
// String 0..5 under pointer row y (only meaningful inside()).
int stringAt(int y);
// Fret 0..22 under pointer column x (only meaningful inside()).
int fretAt(int x);
// The interval read-out for i semitones (0..11) above the root: "b2 / b9".
std::string intervalReadout(int i);
}  // namespace FretboardHit
