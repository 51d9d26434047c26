#include "render/PagePicture.h"

#include "render/DiagramPainter.h"
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

// Opening a chord page reads sets up to the first empty record: the chords
// read are drawn, and a set's header once all six of it are in.
std::optional<QImage> chordPage(const PageContents& page, const NameTables& names) {
  QImage surface = blankSurface(772, 800);
  int sets = 0;
  for (int r = 0; r < ChordPageRows; ++r) {
    int read = 0;
    while (read < ChordPageColumns && !isEmpty(page.ChordPage[read][r])) ++read;
    if (read < ChordPageColumns) {
      for (int c = 0; c < read; ++c)
        DrawSmallChord(surface, page.ChordPage[c][r], c, r, SmallPage::Chords);
      break;
    }
    TChordDiagram set[ChordPageColumns];
    for (int c = 0; c < ChordPageColumns; ++c) set[c] = page.ChordPage[c][r];
    PageCells::drawChordSet(surface, set, r, names);
    ++sets;
  }
  if (sets == 0) return std::nullopt;
  SelectionFrame frame{0, 0, 0, 0, 0, 0};
  MoveSelectionFrame(surface, frame, ChordsPageFrame);
  return withoutSelectionFrame(surface, frame);
}

std::optional<QImage> printPage(const PageContents& page, const NameTables& names) {
  QImage surface = blankSurface(772, 800);
  std::optional<SelectionFrame> frame;
  for (int r = 0; r < PrintPageRows; ++r)
    for (int c = 0; c < PrintPageColumns; ++c) {
      const TPrintDiagram& item = page.PrintPage[c][r];
      if (isEmpty(item)) continue;
      if (!frame) frame = SelectionFrame{0, 0, 0, 0, c, r};
      PageCells::drawPrintItem(surface, item, c, r, names);
    }
  if (!frame) return std::nullopt;
  MoveSelectionFrame(surface, *frame, PrintPageFrame);
  return withoutSelectionFrame(surface, *frame);
}

// Each row read moves the frame to its first position, wiping the last one.
std::optional<QImage> scalePage(const PageContents& page, const NameTables& names) {
  QImage surface = blankSurface(776, 800);
  SelectionFrame frame{0, 0, 0, 0, -1, -1};
  for (int r = 0; r < ScalePageSize && !isEmpty(page.ScalePage[r]); ++r) {
    PageCells::drawScaleRow(surface, page.ScalePage[r], r, names);
    frame.Column = 0;
    frame.Row = r;
    MoveSelectionFrame(surface, frame, ScalesPageFrame);
  }
  if (frame.Row < 0) return std::nullopt;
  return withoutSelectionFrame(surface, frame);
}

// Opening a play page erases it (staff and a new page's marks), places the
// slots, then shows the companion's marks; the loop mark only while the
// page's Loop Play is on.
QImage playPage(const PageContents& page, const std::optional<TRepeatSet>& repeats,
                const NameTables& names) {
  QImage surface = blankSurface(772, 833);
  PlayPageState play;
  play.ThreeFour = page.Header.ThreeFour;
  PlayPageStaff::drawGrid(surface, play.ThreeFour);
  PlayPageStaff::drawRepeatMarks(surface, play.savedSet(), play.ThreeFour, page.Header.Loop);
  for (int r = 0; r < PlayPageRows; ++r)
    for (int c = 0; c < PlayPageColumns; ++c)
      if (!isEmpty(page.PlayPage[c][r]))
        PageCells::drawPlaySlot(surface, page.PlayPage[c][r], c, r, names);
  if (repeats) play.savedSet() = *repeats;
  PlayPageStaff::drawRepeatMarks(surface, play.savedSet(), play.ThreeFour, page.Header.Loop);
  return surface;
}

}  // namespace

std::optional<PagePicture> pagePicture(const PageContents& page,
                                       const std::optional<TRepeatSet>& repeats,
                                       const NameTables& names) {
  std::optional<QImage> picture;
  QString heading;
  switch (page.Kind) {
    case PageKind::Chord:
      picture = chordPage(page, names);
      heading = QStringLiteral("Strumbo! Chord Page: ");
      break;
    case PageKind::Print:
      picture = printPage(page, names);
      heading = QStringLiteral("Strumbo! Print Page: ");
      break;
    case PageKind::Play:
      picture = playPage(page, repeats, names);
      heading = QStringLiteral("Strumbo! Play Page: ");
      break;
    case PageKind::Scale:
      picture = scalePage(page, names);
      heading = QStringLiteral("Strumbo! Scale Page: ");
      break;
    case PageKind::Design:
      break;
  }
  if (!picture) return std::nullopt;
  return PagePicture{*picture, heading};
}
