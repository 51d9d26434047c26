#pragma once

#include <QImage>

// The big fretboard and the glyph strip laid over it, drawn once per run and
// density and shared; every machine gets the same pixels. Each picture is
// made for a device pixel ratio: it measures the same in logical pixels at
// any ratio, and at ratio 1 it is the plain picture pixel for pixel.
namespace Bitmaps {

inline constexpr int FretboardWidth = 748, FretboardHeight = 123;

// The clean neck: headstock and nut at the left, a wire at the end of each
// fret space (FretSpaceEnd), strings where StringY puts the glyphs, inlays at
// the usual frets. For a view that shows it mirrored (left-handed), the fret
// numbers are drawn back to front so that they read right there.
// At a ratio above 1 the wood is the plain grain smoothly enlarged; wires,
// strings, inlays and numbers are drawn at the device's own pixels.
QImage fretboard(bool mirroredText = false, qreal ratio = 1);
// The glyph strip of FretboardGlyphs.h (240 x 12 logical pixels) with
// transparent corners.
QImage fingerStrip(qreal ratio = 1);
// The strip with each glyph drawn back to front, for a mirrored view; the
// strip's ratio is kept.
QImage mirroredGlyphCells(const QImage& strip);
// A capo over every string just past the nut (at the picture's ratio).
void drawCapo(QImage& guitar);

}  // namespace Bitmaps
