#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "music/Tuning.h"

// What the interval labels and the arpeggio boxes of the big fretboard show
// for an interval list: a caption per list entry, and every place on the neck
// where a chord tone lies with the colour its box takes.

// The caption of one entry of an interval list: empty for the end marker and
// for a value no interval has.
std::string_view intervalCaption(int entry);

struct ArpeggioCell {
  int String;  // 0..5
  int Fret;    // 0..HighestFret
  // RootPen, ChordTonePen, or the index 0..6 of the interval label whose
  // colour the box takes.
  int Pen;
};
inline constexpr int RootPen = -1;
inline constexpr int ChordTonePen = -2;

// The boxes of an arpeggio over the open strings `strings`, string by string
// and fret by fret: every place sounding root + an entry of `intervals` up to
// its first end marker. The root takes RootPen; another tone takes the last
// interval label (a non-empty caption) of the same pitch class when
// `labelColours`, else ChordTonePen.
std::vector<ArpeggioCell> arpeggioCells(const Tuning& strings, const std::int8_t (&intervals)[7],
                                        int root, bool labelColours);

// Whether interval `interval` (0..11) has a name an octave up that a click on
// its label switches to: b2, 2, b3, 4, b5, #5 and 6. The root, 3, 5 and the
// sevenths have none.
bool raisableInterval(int interval);
