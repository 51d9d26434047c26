#pragma once

#include <QColor>
#include <QImage>

#include "music/FretboardGeometry.h"
#include "music/Records.h"
#include "play/FretboardGlyphs.h"

// Marks on the big fretboard picture: where a glyph of the glyph strip goes
// for a string and fret, which glyph a finger code takes, the outline boxes of
// the arpeggio and the marks of a scale laid over the whole neck. Every
// position is checked against the picture, so values from a damaged record
// draw nothing rather than outside it.

inline constexpr int FretboardStringCount = 6;

// Left edge of the glyph column of each fret; fret 0 lies left of the nut.
inline constexpr int FretX[FretboardFretCount] = {7,   65,  118, 168, 214, 257, 301, 339,
                                                  378, 413, 446, 478, 507, 535, 562, 587,
                                                  611, 633, 653, 674, 693, 712, 729};
// Top edge of the glyph row of each string; string 0 (the highest) at the top.
inline constexpr int StringY[FretboardStringCount] = {12, 28, 44, 61, 77, 93};

// Glyph for a string of a chord: the red set when it sounds the root, the
// green set otherwise; a muted string is a grey cross in both. A finger code
// outside 0..6 shows as a plain dot.
int chordGlyphCell(int finger, bool root);
// Glyph of a string being struck during playback (the white set).
int strikeGlyphCell(int finger);

// Copies the 12 x 12 cell at cellX of the strip to the glyph place of string s
// at fret f. Nothing is drawn for a string, fret or cell outside the tables.
// Places and cells are in logical pixels: picture and strip may be of any
// device pixel ratio.
void drawFretboardGlyph(QImage& guitar, const QImage& strip, int cellX, int s, int f);
// One-pixel outline around the glyph place of string s at fret f.
void drawArpeggioBox(QImage& guitar, int s, int f, QColor pen);
// Marks every place on the neck where a degree of the scale lies: red for the
// root, green for the others, rings on the open strings and dots on frets.
void drawScaleMarks(QImage& guitar, const QImage& strip, const TScaleDiagram& scale);
