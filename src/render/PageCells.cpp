#include "render/PageCells.h"

#include <QPainter>

#include "music/DiagramConvert.h"
#include "music/PageSizes.h"
#include "play/PlayPageGeometry.h"
#include "render/DiagramPainter.h"
#include "render/SurfaceText.h"

namespace PageCells {
namespace {

void wipe(QPainter& p, const QRect& area) {
  p.fillRect(area, Qt::white);
}

}  // namespace

void drawChordSet(QPainter& p, const TChordDiagram (&set)[6], int row, const PageLook& look) {
  if (row < 0 || row >= SmallPageRows) return;
  for (int c = 0; c < 6; ++c)
    if (!isEmpty(set[c])) DrawSmallChord(p, set[c], c, row, SmallPage::Chords, look.Style);
  if (!isEmpty(set[0])) SurfaceText::drawChordSetHeader(p, set[0], row, look.Names);
}

void drawScaleRow(QPainter& p, const TScaleDiagram& scale, int row, const PageLook& look) {
  if (row < 0 || row >= SmallPageRows || isEmpty(scale)) return;
  for (int c = 0; c < 6; ++c) DrawScalePosition(p, scale, c, row, SmallPage::Scales, look.Style);
  SurfaceText::drawScaleRowHeader(p, scale, row, look.Names);
}

void wipePrintCell(QPainter& p, int column, int row) {
  if (column < 0 || column >= SmallPageColumns || row < 0 || row >= SmallPageRows) return;
  constexpr CellBox box = SmallGeometry::PrintCellBox;
  const int left = SmallGeometry::ColumnPitch * column + box.Left;
  const int top = SmallGeometry::rowPitch(SmallPage::Print) * row + box.Top;
  wipe(p, QRect(left, top, box.Right - box.Left, box.Bottom - box.Top));
}

void drawPrintItem(QPainter& p, const TPrintDiagram& item, int column, int row,
                   const PageLook& look) {
  if (column < 0 || column >= SmallPageColumns || row < 0 || row >= SmallPageRows) return;
  wipePrintCell(p, column, row);
  if (isEmpty(item)) return;
  if (item.IsChord) {
    TChordDiagram chord{};
    printItemToChord(item, chord);
    DrawSmallChord(p, chord, column, row, SmallPage::Print, look.Style);
  } else {
    TScaleDiagram scale{};
    printItemToScale(item, scale);
    DrawSmallScale(p, scale, column, row, SmallPage::Print, look.Style);
  }
  SurfaceText::drawPrintCaptions(p, item, column, row, look.Names);
}

void drawDesignSlot(QPainter& p, const TChordDiagram& chord, int slot, const PageLook& look) {
  if (slot < 0 || slot > 5) return;
  wipe(p, QRect(76 * slot, 0, 76, DesignSurfaceHeight));
  if (isEmpty(chord)) {
    // A faint frame shows a newcomer where diagrams go. It keeps clear of the
    // red frame's lines, whose white wipe would otherwise eat into it.
    p.save();
    p.setPen(EmptyDesignSlotColour);
    p.setBrush(Qt::NoBrush);
    p.drawRect(76 * slot + 3, 3, 69, DesignSurfaceHeight - 7);
    p.restore();
    return;
  }
  DrawTinyChord(p, chord, QPoint(76 * slot, 37), look.Style);
  SurfaceText::drawDesignGroupLines(p, chord, slot, look.Names);
  if (!fitsSixRows(chord)) DrawOutOfRangeLine(p, slot);
}

void wipePlaySlot(QPainter& p, int column, int row) {
  if (column < 0 || column >= PlayPageColumns || row < 0 || row >= PlayPageRows) return;
  wipe(p, QRect(PlayGeometry::slotX(column), PlayGeometry::rowTop(row), 60, 86));
}

void drawPlaySlot(QPainter& p, const TChordDiagram& chord, int column, int row,
                  const PageLook& look) {
  if (column < 0 || column >= PlayPageColumns || row < 0 || row >= PlayPageRows) return;
  wipePlaySlot(p, column, row);
  if (isEmpty(chord)) return;
  DrawTinyChord(
      p, chord,
      QPoint(PlayGeometry::slotX(column), PlayGeometry::rowTop(row) + PlayGeometry::DiagramTop),
      look.Style);
  SurfaceText::drawPlayPageCaption(p, chord, column, row, look.Names);
}

void drawChordSet(QImage& surface, const TChordDiagram (&set)[6], int row, const PageLook& look) {
  QPainter p(&surface);
  drawChordSet(p, set, row, look);
}

void drawScaleRow(QImage& surface, const TScaleDiagram& scale, int row, const PageLook& look) {
  QPainter p(&surface);
  drawScaleRow(p, scale, row, look);
}

void wipePrintCell(QImage& surface, int column, int row) {
  QPainter p(&surface);
  wipePrintCell(p, column, row);
}

void drawPrintItem(QImage& surface, const TPrintDiagram& item, int column, int row,
                   const PageLook& look) {
  QPainter p(&surface);
  drawPrintItem(p, item, column, row, look);
}

void drawDesignSlot(QImage& surface, const TChordDiagram& chord, int slot, const PageLook& look) {
  QPainter p(&surface);
  drawDesignSlot(p, chord, slot, look);
}

void wipePlaySlot(QImage& surface, int column, int row) {
  QPainter p(&surface);
  wipePlaySlot(p, column, row);
}

void drawPlaySlot(QImage& surface, const TChordDiagram& chord, int column, int row,
                  const PageLook& look) {
  QPainter p(&surface);
  drawPlaySlot(p, chord, column, row, look);
}

}  // namespace PageCells
