#pragma once

#include <QCursor>

// The program's own pointer shapes by number: 5 while a sent diagram waits to
// be placed on a page, 6 while a diagram of the page itself is being moved.
QCursor programCursor(int number);
