#include "render/PageDrawer.h"

#include <QPainter>

#include "render/BitmapDrawing.h"
#include "render/PageCells.h"
#include "render/PlayPageStaff.h"
#include "render/PrintSheet.h"

namespace {

// The page surfaces' sizes in the window.
QSize surfaceSize(PageKind kind) {
  switch (kind) {
    case PageKind::Scale:
      return {776, 800};
    case PageKind::Play:
      return {772, 833};
    default:
      return {772, 800};
  }
}

// What painting a page found: the frame where it was left, the rows read
// and whether the page prints anything.
struct Painted {
  std::optional<SelectionFrame> Frame;
  int Rows = 0;
  bool Printable = false;
};

// Sets are read up to the first empty diagram: the chords read are drawn,
// and a set's header once all six of it are in. The frame goes around the
// first diagram when a set was read.
Painted chordPage(QPainter& p, const PageContents& page, const PageLook& look, QColor frameInk) {
  Painted drawn;
  for (int r = 0; r < ChordPageRows; ++r) {
    int read = 0;
    while (read < ChordPageColumns && !isEmpty(page.ChordPage[read][r])) ++read;
    if (read < ChordPageColumns) {
      for (int c = 0; c < read; ++c)
        DrawSmallChord(p, page.ChordPage[c][r], c, r, SmallPage::Chords, look.Style);
      break;
    }
    TChordDiagram set[ChordPageColumns];
    for (int c = 0; c < ChordPageColumns; ++c) set[c] = page.ChordPage[c][r];
    PageCells::drawChordSet(p, set, r, look);
    drawn.Rows = r + 1;
  }
  if (drawn.Rows == 0) return drawn;
  drawn.Frame = SelectionFrame{0, 0, 0, 0, 0, 0};
  MoveSelectionFrame(p, surfaceSize(PageKind::Chord), *drawn.Frame, ChordsPageFrame, frameInk);
  drawn.Printable = true;
  return drawn;
}

// Every item where it lies; the frame goes around the first one, row by row.
Painted printPage(QPainter& p, const PageContents& page, const PageLook& look, QColor frameInk) {
  Painted drawn;
  for (int r = 0; r < PrintPageRows; ++r)
    for (int c = 0; c < PrintPageColumns; ++c) {
      const TPrintDiagram& item = page.PrintPage[c][r];
      if (isEmpty(item)) continue;
      if (!drawn.Frame) drawn.Frame = SelectionFrame{0, 0, 0, 0, c, r};
      PageCells::drawPrintItem(p, item, c, r, look);
    }
  if (!drawn.Frame) return drawn;
  MoveSelectionFrame(p, surfaceSize(PageKind::Print), *drawn.Frame, PrintPageFrame, frameInk);
  drawn.Printable = true;
  return drawn;
}

// Each row read moves the frame to its first position, wiping the last one,
// as adding the rows one by one does.
Painted scalePage(QPainter& p, const PageContents& page, const PageLook& look, QColor frameInk) {
  Painted drawn;
  SelectionFrame frame{0, 0, 0, 0, -1, -1};
  for (int r = 0; r < ScalePageSize && !isEmpty(page.ScalePage[r]); ++r) {
    PageCells::drawScaleRow(p, page.ScalePage[r], r, look);
    frame.Column = 0;
    frame.Row = r;
    MoveSelectionFrame(p, surfaceSize(PageKind::Scale), frame, ScalesPageFrame, frameInk);
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
Painted playPage(QPainter& p, const PageContents& page, const std::optional<TRepeatSet>& repeats,
                 const PageLook& look, PlayStart start) {
  PlayPageState play;
  play.ThreeFour = page.Header.ThreeFour;
  PlayPageStaff::drawGrid(p, play.ThreeFour);
  PlayPageStaff::drawRepeatMarks(p, play.savedSet(), play.ThreeFour, page.Header.Loop);
  for (int r = 0; r < PlayPageRows; ++r)
    for (int c = 0; c < PlayPageColumns; ++c)
      if (!isEmpty(page.PlayPage[c][r]))
        PageCells::drawPlaySlot(p, page.PlayPage[c][r], c, r, look);
  if (repeats) play.savedSet() = *repeats;
  PlayPageStaff::drawRepeatMarks(p, play.savedSet(), play.ThreeFour, page.Header.Loop);
  if (start.Column != 0 || start.Row != 0)
    PlayPageStaff::moveStartMarker(p, 0, 0, start.Column, start.Row);
  return Painted{std::nullopt, 0, true};
}

Painted paintPage(QPainter& p, const PageContents& page, const std::optional<TRepeatSet>& repeats,
                  const PageLook& look, PlayStart start, QColor frameInk) {
  switch (page.Kind) {
    case PageKind::Chord:
      return chordPage(p, page, look, frameInk);
    case PageKind::Print:
      return printPage(p, page, look, frameInk);
    case PageKind::Play:
      return playPage(p, page, repeats, look, start);
    case PageKind::Scale:
      return scalePage(p, page, look, frameInk);
    case PageKind::Design:
      break;
  }
  return {};
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
                   const PageLook& look, qreal ratio) {
  if (page.Kind == PageKind::Design) return {};
  DrawnPage drawn{BitmapDrawing::blankSurface(surfaceSize(page.Kind), ratio), std::nullopt, 0,
                  false};
  QPainter p(&drawn.Surface);
  const Painted painted = paintPage(p, page, repeats, look, {}, FrameColour);
  drawn.Frame = painted.Frame;
  drawn.Rows = painted.Rows;
  drawn.Printable = painted.Printable;
  return drawn;
}

std::optional<PagePicture> pagePicture(const PageContents& page,
                                       const std::optional<TRepeatSet>& repeats,
                                       const PageLook& look, PlayStart start) {
  if (page.Kind == PageKind::Design) return std::nullopt;
  // The frame is painted white where the screen paints it red: what wiping
  // it leaves, without a red line ever reaching paper.
  const auto paint = [page, repeats, look, start](QPainter& p) {
    return paintPage(p, page, repeats, look, start, Qt::white);
  };
  PagePicture picture;
  picture.Picture = BitmapDrawing::blankSurface(surfaceSize(page.Kind), 1);
  {
    QPainter p(&picture.Picture);
    if (!paint(p).Printable) return std::nullopt;
  }
  picture.Art = SheetArt{surfaceSize(page.Kind), [paint](QPainter& p) { paint(p); }};
  picture.Heading = headingOf(page.Kind);
  picture.Subtitle = capoLine(look.Style.Capo);
  return picture;
}
