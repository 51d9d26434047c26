#include "render/DiagramPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <limits>
#include <string>

#include "render/DiagramBitmaps.h"
#include "render/SurfaceText.h"

namespace {

// Top-left corners of the marks, string 0 (the highest) at the right;
// row 0 is the strip above the nut.
constexpr int SmallStringX[6] = {91, 76, 61, 46, 31, 16};
constexpr int SmallRowY[7] = {5, 23, 40, 57, 74, 91, 108};
constexpr int TinyStringX[6] = {53, 44, 35, 26, 17, 8};
constexpr int TinyRowY[7] = {0, 9, 18, 27, 36, 45, 54};
constexpr int DiagramRows = 6;

constexpr int SmallOpenCell = 0, SmallCrossCell = 5, SmallDotCell = 6;
constexpr int MarkDot = 0, MarkRing = 10, MarkHatched = 30;
constexpr int TinyDot = 0, TinyRing = 5, TinyCross = 10;

// The bitmaps are the same every time, so each is drawn once.
const QImage& smallFretImage() {
  static const QImage image = Bitmaps::smallFret();
  return image;
}
const QImage& smallMarkImage() {
  static const QImage image = Bitmaps::smallMark();
  return image;
}
const QImage& smallNumbImage() {
  static const QImage image = Bitmaps::smallNumb();
  return image;
}
const QImage& tinyFretImage() {
  static const QImage image = Bitmaps::tinyFret();
  return image;
}
const QImage& tinyMarkImage() {
  static const QImage image = Bitmaps::tinyMark();
  return image;
}

// Row of a string in a diagram starting at baseFret: 0 for an open or muted
// string at the nut, 1..6 for the fret rows, -1 when the fret has no row.
int diagramRow(int fret, int baseFret) {
  if (fret == 0) return 0;
  const int row = fret - baseFret + 1;
  return row >= 1 && row <= DiagramRows ? row : -1;
}

// Copies a cell so that its white corners hide the grid lines under it.
void copyCell(QPainter& p, QPoint to, const QImage& cells, int cellX, int size) {
  p.drawImage(to, cells, QRect(cellX, 0, size, size));
}

// The empty grid as the style draws it.
QImage styledGrid(const QImage& grid, const DiagramStyle& style) {
  return style.LeftHanded ? grid.mirrored(true, false) : grid.copy();
}

// Left edge of a mark `size` wide whose right-handed left edge is x.
int styledX(const QImage& work, int x, int size, const DiagramStyle& style) {
  return style.LeftHanded ? work.width() - x - size : x;
}

// A diagram that starts at the first fret shows the nut as a double line
// just above the grid's top line, so open positions read at a glance; with a
// capo the nut is the capo, a grey bar a pixel thicker and wider than it.
void drawNut(QImage& work, int top, int left, int right, int baseFret, const DiagramStyle& style) {
  if (baseFret != 1) return;
  if (style.LeftHanded) {
    const int mirroredLeft = work.width() - 1 - right;
    right = work.width() - 1 - left;
    left = mirroredLeft;
  }
  QPainter p(&work);
  if (style.Capo > 0)
    p.fillRect(QRect(QPoint(left - 2, top - 2), QPoint(right + 2, top - 1)), QColor(70, 70, 70));
  else
    p.fillRect(QRect(QPoint(left, top - 1), QPoint(right, top - 1)), Qt::black);
}

// The fret number beside the grid: left of it, or right of it when the
// diagram is mirrored, always reading left to right.
void drawFretNumber(QImage& work, int x, int y, int number, const QFont& font,
                    const DiagramStyle& style) {
  const std::string text = std::to_string(number);
  if (style.LeftHanded)
    x = work.width() - x - QFontMetrics(font).horizontalAdvance(QString::fromStdString(text));
  SurfaceText::drawText(work, QPoint(x, y), text, font);
}

void placeOnSurface(QImage& surface, QPoint at, const QImage& picture) {
  QPainter p(&surface);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(at, picture);
}

bool inSmallGrid(int column, int row) {
  return column >= 0 && column < SmallPageColumns && row >= 0 && row < SmallPageRows;
}

QPoint smallOrigin(SmallPage page, int column, int row) {
  return QPoint(SmallGeometry::diagramX(column), SmallGeometry::diagramY(page, row));
}

// A one-pixel outline over the pixels left..right-1, top..bottom-1. Sides
// beyond the surface are left out, whatever the values.
void outline(QImage& surface, std::int64_t left, std::int64_t top, std::int64_t right,
             std::int64_t bottom, QColor colour) {
  if (right - left < 1 || bottom - top < 1) return;
  const auto clampTo = [](std::int64_t v, int limit) {
    return static_cast<int>(std::clamp<std::int64_t>(v, -1, limit));
  };
  const int w = surface.width(), h = surface.height();
  const int l = clampTo(left, w), t = clampTo(top, h);
  const int r = clampTo(right - 1, w), b = clampTo(bottom - 1, h);
  QPainter p(&surface);
  p.fillRect(QRect(QPoint(l, t), QPoint(r, t)), colour);
  p.fillRect(QRect(QPoint(l, b), QPoint(r, b)), colour);
  p.fillRect(QRect(QPoint(l, t), QPoint(l, b)), colour);
  p.fillRect(QRect(QPoint(r, t), QPoint(r, b)), colour);
}

std::int32_t clampToInt32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

SmallGrid smallGrid(SmallPage page) {
  return {SmallGeometry::rowPitch(page), SmallGeometry::diagramTop(page)};
}

QImage smallChordPicture(const TChordDiagram& chord, bool fingerNumbers,
                         const DiagramStyle& style) {
  QImage work = styledGrid(smallFretImage(), style);
  drawNut(work, 17, 21, 96, chord.BaseFret, style);
  {
    QPainter p(&work);
    for (int s = 0; s < 6; ++s) {
      const int finger = chord.Strings[s].Finger;
      const int row = diagramRow(chord.Strings[s].Fret, chord.BaseFret);
      if (row < 0) continue;
      int cell = SmallDotCell;
      if (finger == FingerCode::Muted)
        cell = SmallCrossCell;
      else if (finger == FingerCode::Open)
        cell = SmallOpenCell;
      else if (fingerNumbers && finger <= 4)
        cell = finger;
      copyCell(p, QPoint(styledX(work, SmallStringX[s], 10, style), SmallRowY[row]),
               smallNumbImage(), 10 * cell, 10);
    }
  }
  drawFretNumber(work, 4, 19, chord.BaseFret, SurfaceText::pageFont(), style);
  return work;
}

QImage smallScalePicture(const TScaleDiagram& scale, int startFret, const DiagramStyle& style) {
  QImage work = styledGrid(smallFretImage(), style);
  drawNut(work, 17, 21, 96, startFret, style);
  const int root = scale.Root % 12;
  {
    QPainter p(&work);
    for (int s = 0; s < 6; ++s) {
      // Open strings are part of the position only when it starts at fret 1.
      for (int j = startFret == 1 ? 0 : 1; j <= DiagramRows; ++j) {
        const int pitch = pitchClass(scale.Tuning[s] + j + startFret - 1);
        for (const std::uint8_t entry : scale.Intervals) {
          if (entry == ScaleIntervalEnd) break;
          if ((entry + root) % 12 != pitch) continue;
          const int cell = pitch == root ? MarkHatched : (j == 0 ? MarkRing : MarkDot);
          copyCell(p, QPoint(styledX(work, SmallStringX[s], 10, style), SmallRowY[j]),
                   smallMarkImage(), cell, 10);
          break;
        }
      }
    }
  }
  drawFretNumber(work, 4, 19, startFret, SurfaceText::pageFont(), style);
  return work;
}

QImage tinyChordPicture(const TChordDiagram& chord, const DiagramStyle& style) {
  QImage work = styledGrid(tinyFretImage(), style);
  drawNut(work, 6, 10, 55, chord.BaseFret, style);
  {
    QPainter p(&work);
    for (int s = 0; s < 6; ++s) {
      const int finger = chord.Strings[s].Finger;
      const int row = diagramRow(chord.Strings[s].Fret, chord.BaseFret);
      if (row < 0) continue;
      const int cell = finger == FingerCode::Muted  ? TinyCross
                       : finger == FingerCode::Open ? TinyRing
                                                    : TinyDot;
      copyCell(p, QPoint(styledX(work, TinyStringX[s], 5, style), TinyRowY[row]), tinyMarkImage(),
               cell, 5);
    }
  }
  drawFretNumber(work, 0, 7, chord.BaseFret, SurfaceText::smallFont(), style);
  return work;
}

void DrawSmallChord(QImage& surface, const TChordDiagram& chord, int column, int row,
                    SmallPage page, const DiagramStyle& style) {
  if (!inSmallGrid(column, row)) return;
  placeOnSurface(surface, smallOrigin(page, column, row),
                 smallChordPicture(chord, page != SmallPage::Chords, style));
}

void DrawSmallScale(QImage& surface, const TScaleDiagram& scale, int column, int row,
                    SmallPage page, const DiagramStyle& style) {
  if (!inSmallGrid(column, row)) return;
  const int pitch = smallGrid(page).RowPitch;
  const int left = SmallGeometry::diagramX(column);
  {
    QPainter p(&surface);
    p.fillRect(QRect(QPoint(left + 1, pitch * row + 32), QPoint(left + 103, pitch * row + 153)),
               Qt::white);
  }
  DrawScalePosition(surface, scale, column, row, page, style);
}

void DrawScalePosition(QImage& surface, const TScaleDiagram& scale, int column, int row,
                       SmallPage page, const DiagramStyle& style) {
  if (!inSmallGrid(column, row)) return;
  placeOnSurface(surface, smallOrigin(page, column, row),
                 smallScalePicture(scale, scale.StartFrets[column], style));
}

void DrawTinyChord(QImage& surface, const TChordDiagram& chord, QPoint origin,
                   const DiagramStyle& style) {
  placeOnSurface(surface, origin, tinyChordPicture(chord, style));
}

bool fitsSixRows(const TChordDiagram& chord) {
  return std::all_of(std::begin(chord.Strings), std::end(chord.Strings), [&](const auto& string) {
    return diagramRow(string.Fret, chord.BaseFret) >= 0;
  });
}

void DrawOutOfRangeLine(QImage& surface, int slot, bool show) {
  if (slot < 0 || slot > 5) return;
  QPainter p(&surface);
  p.fillRect(76 * slot + 12, 99, 42, 1, show ? QColor(0, 0, 255) : QColor(Qt::white));
}

void MoveSelectionFrame(QImage& surface, SelectionFrame& frame, const FrameGeometry& geometry) {
  outline(surface, frame.Left, frame.Top, frame.Right, frame.Bottom, Qt::white);
  const std::int64_t column = frame.Column, row = frame.Row;
  frame.Left = clampToInt32(geometry.ColumnPitch * column + geometry.LeftOffset);
  frame.Top = clampToInt32(geometry.RowPitch * row + geometry.TopOffset);
  frame.Right = clampToInt32(geometry.ColumnPitch * column + geometry.RightOffset);
  frame.Bottom = clampToInt32(geometry.RowPitch * row + geometry.BottomOffset);
  outline(surface, frame.Left, frame.Top, frame.Right, frame.Bottom, QColor(255, 0, 0));
}

void ClearSurface(QImage& surface) {
  surface.fill(Qt::white);
}

void WipeSelectionFrame(QImage& surface, const SelectionFrame& frame) {
  outline(surface, frame.Left, frame.Top, frame.Right, frame.Bottom, Qt::white);
}
