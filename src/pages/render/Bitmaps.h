#pragma once

#include <QCursor>
#include <QImage>
#include <string_view>

// The program's bitmaps, drawn in code: the big fretboard and its glyph strip,
// the grids and mark cells of the small and tiny diagrams, the play page's
// staff pieces and markers, and the two placing pointers. The big pictures
// are drawn once per run and shared; every machine gets the same pixels.
namespace Bitmaps {

// Sizes the pages rely on.
inline constexpr int FretboardWidth = 748, FretboardHeight = 123;
inline constexpr int SmallFretWidth = 105, SmallFretHeight = 120;
inline constexpr int SmallCell = 10;
inline constexpr int TinyFretWidth = 58, TinyFretHeight = 61;
inline constexpr int TinyCell = 5;
inline constexpr int StaffHeight = 33;

// The clean neck (748 x 123): headstock and nut at the left, frets and strings
// where FretX and StringY put the glyphs, inlays at the usual frets.
QImage fretboard();
// Twenty 12 x 12 glyph cells (240 x 12) with transparent corners: grey blank
// and cross, then green, red and white sets of plain dot, ring, digits 1 to 4.
QImage fingerStrip();

// Small diagram grid (105 x 120): strings at x 21..96 step 15, frets at
// y 17..119 step 17.
QImage smallFret();
// Small marks (40 x 10): dot, open ring, cross, hatched dot.
QImage smallMark();
// Small marks by finger code (70 x 10): ring, rings with 1 to 4, cross, dot.
QImage smallNumb();
// Tiny diagram grid (58 x 61): strings at x 10..55 step 9, frets at
// y 6..60 step 9.
QImage tinyFret();
// Tiny marks (15 x 5): dot, ring, cross.
QImage tinyMark();

// Play page pictures by name: "FOURFOUR" (768 x 33), "TREEFOUR" (14 x 33),
// "BARLINE" (1 x 33), "BLAKSLAS", "REDSLASH", "STEPARRW" (28 x 33 each),
// "PLAYCURS", "PLAYERAS", "PLAYLOOP", "RETURN", "REPEAT" (8 x 33 each). An
// unknown name gives a null image.
QImage playImage(std::string_view name);

// Pointer shapes: 5 while a diagram sent from another page waits to be
// placed, 6 while a diagram of the page itself is being moved; any other
// number gives the ordinary arrow.
inline constexpr int CursorFret = 5, CursorMove = 6;
QCursor cursor(int number);
QImage cursorImage(int number);

}  // namespace Bitmaps
