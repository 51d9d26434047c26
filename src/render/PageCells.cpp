#include "render/PageCells.h"

#include <QPainter>

#include "music/DiagramConvert.h"
#include "music/PageSizes.h"
#include "play/PlayPageGeometry.h"
#include "render/DiagramPainter.h"
#include "render/SurfaceText.h"

namespace PageCells {
namespace {

void wipe(QImage& surface, const QRect& area) {
  QPainter p(&surface);
  p.fillRect(area, Qt::white);
}

}  // namespace

void drawChordSet(QImage& surface, const TChordDiagram (&set)[6], int row, const PageLook& look) {
  if (row < 0 || row >= SmallPageRows) return;
  for (int c = 0; c < 6; ++c)
    if (!isEmpty(set[c])) DrawSmallChord(surface, set[c], c, row, SmallPage::Chords, look.Style);
  if (!isEmpty(set[0])) SurfaceText::drawChordSetHeader(surface, set[0], row, look.Names);
}

void drawScaleRow(QImage& surface, const TScaleDiagram& scale, int row, const PageLook& look) {
  if (row < 0 || row >= SmallPageRows || isEmpty(scale)) return;
  for (int c = 0; c < 6; ++c)
    DrawScalePosition(surface, scale, c, row, SmallPage::Scales, look.Style);
  SurfaceText::drawScaleRowHeader(surface, scale, row, look.Names);
}

void wipePrintCell(QImage& surface, int column, int row) {
  if (column < 0 || column >= SmallPageColumns || row < 0 || row >= SmallPageRows) return;
  constexpr CellBox box = SmallGeometry::PrintCellBox;
  const int left = SmallGeometry::ColumnPitch * column + box.Left;
  const int top = SmallGeometry::rowPitch(SmallPage::Print) * row + box.Top;
  wipe(surface, QRect(left, top, box.Right - box.Left, box.Bottom - box.Top));
}

void drawPrintItem(QImage& surface, const TPrintDiagram& item, int column, int row,
                   const PageLook& look) {
  if (column < 0 || column >= SmallPageColumns || row < 0 || row >= SmallPageRows) return;
  wipePrintCell(surface, column, row);
  if (isEmpty(item)) return;
  if (item.IsChord) {
    TChordDiagram chord{};
    printItemToChord(item, chord);
    DrawSmallChord(surface, chord, column, row, SmallPage::Print, look.Style);
  } else {
    TScaleDiagram scale{};
    printItemToScale(item, scale);
    DrawSmallScale(surface, scale, column, row, SmallPage::Print, look.Style);
  }
  SurfaceText::drawPrintCaptions(surface, item, column, row, look.Names);
}

void drawDesignSlot(QImage& surface, const TChordDiagram& chord, int slot, const PageLook& look) {
  if (slot < 0 || slot > 5) return;
  wipe(surface, QRect(76 * slot, 0, 76, surface.height()));
  if (isEmpty(chord)) {
    // A faint frame shows a newcomer where diagrams go. It keeps clear of the
    // red frame's lines, whose white wipe would otherwise eat into it.
    QPainter p(&surface);
    p.setPen(EmptyDesignSlotColour);
    p.setBrush(Qt::NoBrush);
    p.drawRect(76 * slot + 3, 3, 69, surface.height() - 7);
    return;
  }
  DrawTinyChord(surface, chord, QPoint(76 * slot, 37), look.Style);
  SurfaceText::drawDesignGroupLines(surface, chord, slot, look.Names);
  if (!fitsSixRows(chord)) DrawOutOfRangeLine(surface, slot);
}

void wipePlaySlot(QImage& surface, int column, int row) {
  if (column < 0 || column >= PlayPageColumns || row < 0 || row >= PlayPageRows) return;
  wipe(surface, QRect(PlayGeometry::slotX(column), PlayGeometry::rowTop(row), 60, 86));
}

void drawPlaySlot(QImage& surface, const TChordDiagram& chord, int column, int row,
                  const PageLook& look) {
  if (column < 0 || column >= PlayPageColumns || row < 0 || row >= PlayPageRows) return;
  wipePlaySlot(surface, column, row);
  if (isEmpty(chord)) return;
  DrawTinyChord(
      surface, chord,
      QPoint(PlayGeometry::slotX(column), PlayGeometry::rowTop(row) + PlayGeometry::DiagramTop),
      look.Style);
  SurfaceText::drawPlayPageCaption(surface, chord, column, row, look.Names);
}

}  // namespace PageCells
