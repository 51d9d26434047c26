#include "render/PageDrawer.h"

#include "render/PageCells.h"
#include "render/PlayPageStaff.h"
#include "render/PrintSheet.h"

namespace {

// The page surfaces' sizes in the window.
QImage blankSurface(int width, int height) {
  QImage surface(width, height, QImage::Format_RGB32);
  ClearSurface(surface);
  return surface;
}

// Sets are read up to the first empty diagram: the chords read are drawn,
// and a set's header once all six of it are in. The frame goes around the
// first diagram when a set was read.
DrawnPage chordPage(const PageContents& page, const PageLook& look) {
  DrawnPage drawn{blankSurface(772, 800), std::nullopt, 0, false};
  for (int r = 0; r < ChordPageRows; ++r) {
    int read = 0;
    while (read < ChordPageColumns && !isEmpty(page.ChordPage[read][r])) ++read;
    if (read < ChordPageColumns) {
      for (int c = 0; c < read; ++c)
        DrawSmallChord(drawn.Surface, page.ChordPage[c][r], c, r, SmallPage::Chords, look.Style);
      break;
    }
    TChordDiagram set[ChordPageColumns];
    for (int c = 0; c < ChordPageColumns; ++c) set[c] = page.ChordPage[c][r];
    PageCells::drawChordSet(drawn.Surface, set, r, look);
    drawn.Rows = r + 1;
  }
  if (drawn.Rows == 0) return drawn;
  drawn.Frame = SelectionFrame{0, 0, 0, 0, 0, 0};
  MoveSelectionFrame(drawn.Surface, *drawn.Frame, ChordsPageFrame);
  drawn.Printable = true;
  return drawn;
}

// Every item where it lies; the frame goes around the first one, row by row.
DrawnPage printPage(const PageContents& page, const PageLook& look) {
  DrawnPage drawn{blankSurface(772, 800), std::nullopt, 0, false};
  for (int r = 0; r < PrintPageRows; ++r)
    for (int c = 0; c < PrintPageColumns; ++c) {
      const TPrintDiagram& item = page.PrintPage[c][r];
      if (isEmpty(item)) continue;
      if (!drawn.Frame) drawn.Frame = SelectionFrame{0, 0, 0, 0, c, r};
      PageCells::drawPrintItem(drawn.Surface, item, c, r, look);
    }
  if (!drawn.Frame) return drawn;
  MoveSelectionFrame(drawn.Surface, *drawn.Frame, PrintPageFrame);
  drawn.Printable = true;
  return drawn;
}

// Each row read moves the frame to its first position, wiping the last one,
// as adding the rows one by one does.
DrawnPage scalePage(const PageContents& page, const PageLook& look) {
  DrawnPage drawn{blankSurface(776, 800), std::nullopt, 0, false};
  SelectionFrame frame{0, 0, 0, 0, -1, -1};
  for (int r = 0; r < ScalePageSize && !isEmpty(page.ScalePage[r]); ++r) {
    PageCells::drawScaleRow(drawn.Surface, page.ScalePage[r], r, look);
    frame.Column = 0;
    frame.Row = r;
    MoveSelectionFrame(drawn.Surface, frame, ScalesPageFrame);
    drawn.Rows = r + 1;
  }
  if (drawn.Rows == 0) return drawn;
  drawn.Frame = frame;
  drawn.Printable = true;
  return drawn;
}

// Showing a play page afresh erases it (staff and a new page's marks),
// places the slots, then shows the companion's marks; the loop mark only
// while the page's Loop Play is on.
DrawnPage playPage(const PageContents& page, const std::optional<TRepeatSet>& repeats,
                   const PageLook& look) {
  DrawnPage drawn{blankSurface(772, 833), std::nullopt, 0, true};
  QImage& surface = drawn.Surface;
  PlayPageState play;
  play.ThreeFour = page.Header.ThreeFour;
  PlayPageStaff::drawGrid(surface, play.ThreeFour);
  PlayPageStaff::drawRepeatMarks(surface, play.savedSet(), play.ThreeFour, page.Header.Loop);
  for (int r = 0; r < PlayPageRows; ++r)
    for (int c = 0; c < PlayPageColumns; ++c)
      if (!isEmpty(page.PlayPage[c][r]))
        PageCells::drawPlaySlot(surface, page.PlayPage[c][r], c, r, look);
  if (repeats) play.savedSet() = *repeats;
  PlayPageStaff::drawRepeatMarks(surface, play.savedSet(), play.ThreeFour, page.Header.Loop);
  return drawn;
}

QString headingOf(PageKind kind) {
  switch (kind) {
    case PageKind::Chord:
      return QStringLiteral("Strumbo! Chord Page: ");
    case PageKind::Print:
      return QStringLiteral("Strumbo! Print Page: ");
    case PageKind::Play:
      return QStringLiteral("Strumbo! Play Page: ");
    case PageKind::Scale:
      return QStringLiteral("Strumbo! Scale Page: ");
    case PageKind::Design:
      break;
  }
  return {};
}

}  // namespace

QString capoLine(int capo) {
  return capo > 0 ? QStringLiteral("Capo %1").arg(capo) : QString();
}

DrawnPage drawPage(const PageContents& page, const std::optional<TRepeatSet>& repeats,
                   const PageLook& look) {
  switch (page.Kind) {
    case PageKind::Chord:
      return chordPage(page, look);
    case PageKind::Print:
      return printPage(page, look);
    case PageKind::Play:
      return playPage(page, repeats, look);
    case PageKind::Scale:
      return scalePage(page, look);
    case PageKind::Design:
      break;
  }
  return {};
}

std::optional<PagePicture> pagePicture(const PageContents& page,
                                       const std::optional<TRepeatSet>& repeats,
                                       const PageLook& look) {
  const DrawnPage drawn = drawPage(page, repeats, look);
  if (!drawn.Printable) return std::nullopt;
  const QImage picture =
      drawn.Frame ? withoutSelectionFrame(drawn.Surface, *drawn.Frame) : drawn.Surface;
  return PagePicture{picture, headingOf(page.Kind), capoLine(look.Style.Capo)};
}
