#pragma once

// The big fretboard picture along the neck: 23 fret spaces, space 0 being the
// open string left of the nut. The picture draws a wire at the right edge of
// each space, and a press on the picture falls in the space whose band ends
// at or after it, so a press lands in the fret space it seems to.
inline constexpr int FretboardFretCount = 23;

// Right edge (last pixel column) of each fret space, frets 0..22; the nut
// closes space 0.
inline constexpr int FretSpaceEnd[FretboardFretCount] = {30,  81,  134, 184, 230, 273, 317, 355,
                                                         394, 429, 462, 495, 523, 551, 578, 602,
                                                         627, 649, 668, 690, 709, 727, 744};
