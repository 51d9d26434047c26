#pragma once

#include <QImage>
#include <QString>
#include <optional>

#include "music/NameTables.h"
#include "pages/PageFile.h"
#include "render/DiagramPainter.h"
#include "render/PageCells.h"
#include "render/PrintSheet.h"

// The one drawer of whole pages. The window's tabs draw a page through here
// when they show it afresh (opened from a file, or put back by Undo), and
// printing, Export PDF and the command line's PDF draw the sheet through
// here too, so a page looks the same wherever it is shown. It needs no
// window, so a page can be printed to a file headless.

// A page's surface, the size of its tab's, as showing the page afresh leaves
// it: every diagram, header and caption, and the selection frame where the
// tab puts it (on the chord, print and scale pages once they hold a row or
// an item). The tab takes over `Frame`; the sheet is the surface with the
// frame wiped.
struct DrawnPage {
  QImage Surface;
  std::optional<SelectionFrame> Frame;
  // Chord sets or scales read: a page holds them from the top, up to the
  // first empty diagram. A chord set is read once all six of it are there.
  int Rows = 0;
  // Whether printing the page puts anything on paper.
  bool Printable = false;
};

// The surface of the page's store of `page.Kind`, `ratio` device pixels to
// its pixel (the screen's, so it is sharp there). A play page shows
// `repeats` (its companion), or a new page's marks without one, and the loop
// mark while its header's Loop is on, and its start marker on bar 1. A
// design group has no surface here.
DrawnPage drawPage(const PageContents& page, const std::optional<TRepeatSet>& repeats,
                   const PageLook& look, qreal ratio = 1);

// Where a play page's start marker stands: bar 1 when it is shown afresh.
struct PlayStart {
  int Column = 0, Row = 0;
};

// A whole page as printing puts it on paper: the surface without the
// selection frame, as a picture and as painting for paper (vectors and
// real text).
struct PagePicture {
  QImage Picture;
  SheetArt Art;
  // "Strumbo! Chord Page: " and the like; the file name follows it.
  QString Heading;
  // "Capo 3" with a capo on, the line under the title; else empty.
  QString Subtitle;
};

// The line under a printed page's title: "Capo 3", or nothing without a capo.
QString capoLine(int capo);

// Empty when the page prints nothing: a chord or scale page without a row,
// a print page without an item, or a design group (the play page always
// prints).
// A play page shows its start marker at `start`.
std::optional<PagePicture> pagePicture(const PageContents& page,
                                       const std::optional<TRepeatSet>& repeats,
                                       const PageLook& look, PlayStart start = {});
