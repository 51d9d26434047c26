#pragma once

#include <QColor>
#include <QImage>

class QPainter;

#include "music/NameTables.h"
#include "music/Records.h"
#include "render/DiagramPainter.h"

// How pages are drawn for the player: the pitch names chords are named with
// on screen and paper, and the style of the diagrams.
struct PageLook {
  // Plain names and style: right-handed, no capo.
  PageLook(const NameTables& names, DiagramStyle style = {}) : Names(names), Style(style) {}
  NameTables Names;
  DiagramStyle Style;
};

// Whole cells of the pages as the page code redraws them: a diagram with its
// text lines, after wiping the cell's area white. Empty records only wipe.
// Each comes on a painter (any density, or paper) and on a surface.
namespace PageCells {

void drawChordSet(QPainter& p, const TChordDiagram (&set)[6], int row, const PageLook& look);
void drawScaleRow(QPainter& p, const TScaleDiagram& scale, int row, const PageLook& look);
void wipePrintCell(QPainter& p, int column, int row);
void drawPrintItem(QPainter& p, const TPrintDiagram& item, int column, int row,
                   const PageLook& look);
void drawDesignSlot(QPainter& p, const TChordDiagram& chord, int slot, const PageLook& look);
void wipePlaySlot(QPainter& p, int column, int row);
void drawPlaySlot(QPainter& p, const TChordDiagram& chord, int column, int row,
                  const PageLook& look);

// Chord set `row` of the Chords page: six small chords and the set header
// from the first. Empty diagrams are skipped.
void drawChordSet(QImage& surface, const TChordDiagram (&set)[6], int row, const PageLook& look);
// Scale `row` of the Scales page: its six positions and the row header.
void drawScaleRow(QImage& surface, const TScaleDiagram& scale, int row, const PageLook& look);

// Print page cell (column, row): 120 x 158 pixels from (120c + 20, 160r + 2).
void wipePrintCell(QImage& surface, int column, int row);
void drawPrintItem(QImage& surface, const TPrintDiagram& item, int column, int row,
                   const PageLook& look);

// Design group slot 0..5: the full-height strip 76 pixels wide, with the
// tiny chord, its four lines and the blue line when it does not fit; an
// empty slot shows only a faint frame inside its strip.
inline const QColor EmptyDesignSlotColour{200, 200, 200};
void drawDesignSlot(QImage& surface, const TChordDiagram& chord, int slot, const PageLook& look);

// Play page slot (column, row): the 60 x 86 area from (20 + 63c, 132r).
void wipePlaySlot(QImage& surface, int column, int row);
void drawPlaySlot(QImage& surface, const TChordDiagram& chord, int column, int row,
                  const PageLook& look);

}  // namespace PageCells
