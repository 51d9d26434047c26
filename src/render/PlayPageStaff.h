#pragma once

#include <QImage>

#include "play/PlayPageGeometry.h"
#include "play/PlayPageModel.h"
#include "render/PlayPageBitmaps.h"

class QPainter;

// The play page's staff: the six staff rows with their bar numbers and bar
// lines for a time signature, the start marker at bar 1, and each bar's
// return, repeat and loop marks. The PlayPage tab and the headless page
// picture draw through here, so both show the same page.
namespace PlayPageStaff {

// Each call comes on a painter (any density, or paper) and on a surface.

// Redraws the staff rows, bar numbers and bar lines over `surface` and puts
// the start marker on the first slot of bar 1.
void drawGrid(QImage& surface, bool threeFour);
// Moves the start marker from slot (fromColumn, fromRow) to (column, row).
void moveStartMarker(QImage& surface, int fromColumn, int fromRow, int column, int row);
// Wipes and redraws every bar's marks from `set`; the loop mark shows only
// when `loopShown` (the Loop Play button is down).
void drawRepeatMarks(QImage& surface, const TRepeatSet& set, bool threeFour, bool loopShown);

void drawGrid(QPainter& p, bool threeFour);
void moveStartMarker(QPainter& p, int fromColumn, int fromRow, int column, int row);
void drawRepeatMarks(QPainter& p, const TRepeatSet& set, bool threeFour, bool loopShown);

// One staff piece (a beat slash, the step arrow) with its corner at `at`.
void drawPiece(QImage& surface, PagePoint at, Bitmaps::PlayImage id);

}  // namespace PlayPageStaff
