#pragma once

#include <QImage>

// The big fretboard and the glyph strip laid over it, drawn once per run and
// shared; every machine gets the same pixels.
namespace Bitmaps {

inline constexpr int FretboardWidth = 748, FretboardHeight = 123;

// The clean neck: headstock and nut at the left, a wire at the end of each
// fret space (FretSpaceEnd), strings where StringY puts the glyphs, inlays at
// the usual frets. For a view that shows it mirrored (left-handed), the fret
// numbers are drawn back to front so that they read right there.
QImage fretboard(bool mirroredText = false);
// The glyph strip of FretboardGlyphs.h (240 x 12) with transparent corners.
QImage fingerStrip();
// The strip with each glyph drawn back to front, for a mirrored view.
QImage mirroredGlyphCells(const QImage& strip);
// A capo over every string just past the nut.
void drawCapo(QImage& guitar);

}  // namespace Bitmaps
