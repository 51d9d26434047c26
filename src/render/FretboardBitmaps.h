#pragma once

#include <QImage>

// The big fretboard and the glyph strip laid over it, drawn once per run and
// shared; every machine gets the same pixels.
namespace Bitmaps {

inline constexpr int FretboardWidth = 748, FretboardHeight = 123;

// The clean neck: headstock and nut at the left, a wire at the end of each
// fret space (FretSpaceEnd), strings where StringY puts the glyphs, inlays at
// the usual frets.
QImage fretboard();
// The glyph strip of FretboardGlyphs.h (240 x 12) with transparent corners.
QImage fingerStrip();

}  // namespace Bitmaps
