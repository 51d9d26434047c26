#pragma once

#include <QImage>
#include <QString>
#include <optional>

#include "music/NameTables.h"
#include "pages/PageFile.h"

// A whole page as its tab shows it right after the page was opened from a
// file, without the selection frame: what printing that page puts on paper.
// It needs no window, so a page can be printed to a file headless.
struct PagePicture {
  QImage Picture;
  // "Strumbo! Chord Page: " and the like; the file name follows it.
  QString Heading;
};

// The picture of the page's store of `page.Kind`. A play page shows
// `repeats` (its companion), or a new page's marks without one. Empty when the
// window would print nothing: a page without a diagram (the play page always
// prints), or a design group, which has no printed form.
std::optional<PagePicture> pagePicture(const PageContents& page,
                                       const std::optional<TRepeatSet>& repeats,
                                       const NameTables& names);
