#pragma once

#include <QImage>

// The little tablature staff beside the Chord Design tab's six fret boxes:
// six lines, string 0 (the highest) at the top, with the TAB sign over them.
// Line i runs through the middle of row i, rows being rowPitch pixels high, so
// the boxes stacked at the same pitch sit on the lines' ends. Sizes are
// logical pixels; the picture holds `ratio` device pixels per pixel.
QImage tablaturePicture(int width, int rowPitch, qreal ratio = 1);
