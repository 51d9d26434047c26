#include "ui/Cursors.h"

#include <QGuiApplication>

#include "render/CursorBitmaps.h"

QCursor programCursor(int number) {
  // Drawn for the densest screen: a pointer is scaled down by the system
  // where a screen has fewer pixels, and stays sharp.
  if (number == Bitmaps::CursorFret || number == Bitmaps::CursorMove)
    return Bitmaps::cursor(number, qApp ? qApp->devicePixelRatio() : 1.0);
  return QCursor(Qt::ArrowCursor);
}
