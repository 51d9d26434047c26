#pragma once

#include <QImage>

#include "play/PlayPageModel.h"

// The play page's staff: the six staff rows with their bar numbers and bar
// lines for a time signature, the start marker at bar 1, and each bar's
// return, repeat and loop marks. The PlayPage tab and the headless page
// picture draw through here, so both show the same page.
namespace PlayPageStaff {

// Redraws the staff rows, bar numbers and bar lines over `surface` and puts
// the start marker on the first slot of bar 1.
void drawGrid(QImage& surface, bool threeFour);
// Moves the start marker from slot (fromColumn, fromRow) to (column, row).
void moveStartMarker(QImage& surface, int fromColumn, int fromRow, int column, int row);
// Wipes and redraws every bar's marks from `set`; the loop mark shows only
// when `loopShown` (the Loop Play button is down).
void drawRepeatMarks(QImage& surface, const TRepeatSet& set, bool threeFour, bool loopShown);

}  // namespace PlayPageStaff
