#pragma once

#include <QCursor>
#include <QImage>

namespace Bitmaps {

// Pointer shapes: 5 while a diagram sent from another page waits to be
// placed, 6 while a diagram of the page itself is being moved; any other
// number gives the ordinary arrow.
inline constexpr int CursorFret = 5, CursorMove = 6;
// Each is drawn for a screen of `ratio` device pixels per pixel.
QCursor cursor(int number, qreal ratio = 1);
// The 32 x 32 (logical) picture of pointer 5 or 6 at `ratio`, hot spot at
// the top left; a null image for any other number.
QImage cursorImage(int number, qreal ratio = 1);

}  // namespace Bitmaps
