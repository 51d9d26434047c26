#include "ui/Cursors.h"

#include "pages/render/Bitmaps.h"

QCursor programCursor(int number) {
  if (number == 5 || number == 6) return Bitmaps::cursor(number);
  return QCursor(Qt::ArrowCursor);
}
