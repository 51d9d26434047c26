#include "ui/Cursors.h"

#include "render/CursorBitmaps.h"

QCursor programCursor(int number) {
  if (number == Bitmaps::CursorFret || number == Bitmaps::CursorMove)
    return Bitmaps::cursor(number);
  return QCursor(Qt::ArrowCursor);
}
