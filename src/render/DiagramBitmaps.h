#pragma once

#include <QImage>
#include <QRect>

class QPainter;

// The grids and mark cells of the small and tiny diagrams: pixel patterns, so
// they stay crisp at their size and print as clean black on white.
namespace Bitmaps {

inline constexpr int SmallFretWidth = 105, SmallFretHeight = 120;
inline constexpr int SmallCell = 10;
inline constexpr int TinyFretWidth = 58, TinyFretHeight = 61;
inline constexpr int TinyCell = 5;

// Small diagram grid: strings at x 21..96 step 15, frets at y 17..119 step 17.
QImage smallFret();
// Small marks (40 x 10): dot, open ring, cross, hatched dot.
QImage smallMark();
// Small marks by finger code (70 x 10): ring, rings with 1 to 4, cross, dot.
QImage smallNumb();
// Tiny diagram grid: strings at x 10..55 step 9, frets at y 6..60 step 9.
QImage tinyFret();
// Tiny marks (15 x 5): dot, ring, cross.
QImage tinyMark();

// The marks as shapes, for painters whose pixels are not the device's (a
// dense screen, paper): the cell is wiped white (hiding the grid under it,
// as the bitmaps' white corners do) and the mark drawn to fill it as the
// bitmap fills its cell.
enum class MarkShape { Dot, Ring, Cross, Hatched, Finger1, Finger2, Finger3, Finger4 };
void paintMark(QPainter& p, const QRect& cell, MarkShape shape);

}  // namespace Bitmaps
