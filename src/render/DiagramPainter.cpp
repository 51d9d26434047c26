#include "render/DiagramPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <limits>
#include <string>

#include "render/BitmapDrawing.h"
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

// One diagram being painted: its top-left corner on the painter, its width
// (for mirroring) and its style.
struct Diagram {
  QPainter& P;
  QPoint Origin;
  int Width;
  DiagramStyle Style;

  // Left edge of a mark `size` wide whose right-handed left edge is x.
  int markX(int x, int size) const { return Style.LeftHanded ? Width - x - size : x; }

  // The empty grid: strings from `left` to `right` at `pitch`, frets from
  // `top` to `bottom` at `pitch`, in one-pixel lines. Where one pixel is
  // one device pixel the grid is the bitmap itself, which it equals.
  void grid(const QImage& bitmap, int left, int right, int stringPitch, int top, int bottom,
            int fretPitch) const {
    if (BitmapDrawing::pixelExact(P)) {
      P.drawImage(Origin, Style.LeftHanded ? bitmap.mirrored(true, false) : bitmap);
      return;
    }
    P.fillRect(QRect(Origin, bitmap.size()), Qt::white);
    if (Style.LeftHanded) {
      const int mirroredLeft = Width - 1 - right;
      right = Width - 1 - left;
      left = mirroredLeft;
    }
    for (int x = left; x <= right; x += stringPitch)
      BitmapDrawing::fillCrisp(P, QRect(Origin.x() + x, Origin.y() + top, 1, bottom - top + 1),
                               Qt::black);
    for (int y = top; y <= bottom; y += fretPitch)
      BitmapDrawing::fillCrisp(P, QRect(Origin.x() + left, Origin.y() + y, right - left + 1, 1),
                               Qt::black);
  }

  // A mark cell with its white corners, so they hide the grid lines under
  // it: the bitmap's cell pixel for pixel, or the shape drawn.
  void mark(QPoint at, const QImage& cells, int cellX, int size, Bitmaps::MarkShape shape) const {
    if (BitmapDrawing::pixelExact(P))
      P.drawImage(Origin + at, cells, QRect(cellX, 0, size, size));
    else
      Bitmaps::paintMark(P, QRect(Origin + at, QSize(size, size)), shape);
  }

  // A diagram that starts at the first fret shows the nut as a double line
  // just above the grid's top line, so open positions read at a glance;
  // with a capo the nut is the capo, a grey bar a pixel thicker and wider.
  void nut(int top, int left, int right, int baseFret) const {
    if (baseFret != 1) return;
    if (Style.LeftHanded) {
      const int mirroredLeft = Width - 1 - right;
      right = Width - 1 - left;
      left = mirroredLeft;
    }
    if (Style.Capo > 0)
      BitmapDrawing::fillCrisp(
          P, QRect(Origin + QPoint(left - 2, top - 2), Origin + QPoint(right + 2, top - 1)),
          QColor(70, 70, 70));
    else
      BitmapDrawing::fillCrisp(
          P, QRect(Origin + QPoint(left, top - 1), Origin + QPoint(right, top - 1)), Qt::black);
  }

  // The fret number beside the grid: left of it, or right of it when the
  // diagram is mirrored, always reading left to right.
  void fretNumber(int x, int y, int number, const QFont& font) const {
    const std::string text = std::to_string(number);
    if (Style.LeftHanded)
      x = Width - x - QFontMetrics(font).horizontalAdvance(QString::fromStdString(text));
    SurfaceText::drawText(P, Origin + QPoint(x, y), text, font);
  }
};

Bitmaps::MarkShape numbShape(int cell) {
  using Bitmaps::MarkShape;
  switch (cell) {
    case SmallOpenCell:
      return MarkShape::Ring;
    case SmallCrossCell:
      return MarkShape::Cross;
    case SmallDotCell:
      return MarkShape::Dot;
    default:
      return static_cast<MarkShape>(static_cast<int>(MarkShape::Finger1) + cell - 1);
  }
}

bool inSmallGrid(int column, int row) {
  return column >= 0 && column < SmallPageColumns && row >= 0 && row < SmallPageRows;
}

QPoint smallOrigin(SmallPage page, int column, int row) {
  return QPoint(SmallGeometry::diagramX(column), SmallGeometry::diagramY(page, row));
}

// A one-pixel outline over the pixels left..right-1, top..bottom-1 of a
// picture width x height. Sides beyond it are left out, whatever the values.
void outline(QPainter& p, QSize size, std::int64_t left, std::int64_t top, std::int64_t right,
             std::int64_t bottom, QColor colour) {
  if (right - left < 1 || bottom - top < 1) return;
  const auto clampTo = [](std::int64_t v, int limit) {
    return static_cast<int>(std::clamp<std::int64_t>(v, -1, limit));
  };
  const int w = size.width(), h = size.height();
  const int l = clampTo(left, w), t = clampTo(top, h);
  const int r = clampTo(right - 1, w), b = clampTo(bottom - 1, h);
  using BitmapDrawing::fillCrisp;
  fillCrisp(p, QRect(QPoint(l, t), QPoint(r, t)), colour);
  fillCrisp(p, QRect(QPoint(l, b), QPoint(r, b)), colour);
  fillCrisp(p, QRect(QPoint(l, t), QPoint(l, b)), colour);
  fillCrisp(p, QRect(QPoint(r, t), QPoint(r, b)), colour);
}

QSize logicalSize(const QImage& surface) {
  return surface.deviceIndependentSize().toSize();
}

std::int32_t clampToInt32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

SmallGrid smallGrid(SmallPage page) {
  return {SmallGeometry::rowPitch(page), SmallGeometry::diagramTop(page)};
}

void paintSmallChord(QPainter& p, QPoint origin, const TChordDiagram& chord, bool fingerNumbers,
                     const DiagramStyle& style) {
  const Diagram d{p, origin, Bitmaps::SmallFretWidth, style};
  d.grid(smallFretImage(), 21, 96, 15, 17, 119, 17);
  d.nut(17, 21, 96, chord.BaseFret);
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
    d.mark(QPoint(d.markX(SmallStringX[s], 10), SmallRowY[row]), smallNumbImage(), 10 * cell, 10,
           numbShape(cell));
  }
  d.fretNumber(4, 19, chord.BaseFret, SurfaceText::pageFont());
}

void paintSmallScale(QPainter& p, QPoint origin, const TScaleDiagram& scale, int startFret,
                     const DiagramStyle& style) {
  const Diagram d{p, origin, Bitmaps::SmallFretWidth, style};
  d.grid(smallFretImage(), 21, 96, 15, 17, 119, 17);
  d.nut(17, 21, 96, startFret);
  const int root = scale.Root % 12;
  for (int s = 0; s < 6; ++s) {
    // Open strings are part of the position only when it starts at fret 1.
    for (int j = startFret == 1 ? 0 : 1; j <= DiagramRows; ++j) {
      const int pitch = pitchClass(scale.Tuning[s] + j + startFret - 1);
      for (const std::uint8_t entry : scale.Intervals) {
        if (entry == ScaleIntervalEnd) break;
        if ((entry + root) % 12 != pitch) continue;
        const int cell = pitch == root ? MarkHatched : (j == 0 ? MarkRing : MarkDot);
        using Bitmaps::MarkShape;
        const MarkShape shape = cell == MarkHatched ? MarkShape::Hatched
                                : cell == MarkRing  ? MarkShape::Ring
                                                    : MarkShape::Dot;
        d.mark(QPoint(d.markX(SmallStringX[s], 10), SmallRowY[j]), smallMarkImage(), cell, 10,
               shape);
        break;
      }
    }
  }
  d.fretNumber(4, 19, startFret, SurfaceText::pageFont());
}

void paintTinyChord(QPainter& p, QPoint origin, const TChordDiagram& chord,
                    const DiagramStyle& style) {
  const Diagram d{p, origin, Bitmaps::TinyFretWidth, style};
  d.grid(tinyFretImage(), 10, 55, 9, 6, 60, 9);
  d.nut(6, 10, 55, chord.BaseFret);
  for (int s = 0; s < 6; ++s) {
    const int finger = chord.Strings[s].Finger;
    const int row = diagramRow(chord.Strings[s].Fret, chord.BaseFret);
    if (row < 0) continue;
    using Bitmaps::MarkShape;
    const int cell = finger == FingerCode::Muted  ? TinyCross
                     : finger == FingerCode::Open ? TinyRing
                                                  : TinyDot;
    const MarkShape shape = cell == TinyCross  ? MarkShape::Cross
                            : cell == TinyRing ? MarkShape::Ring
                                               : MarkShape::Dot;
    d.mark(QPoint(d.markX(TinyStringX[s], 5), TinyRowY[row]), tinyMarkImage(), cell, 5, shape);
  }
  d.fretNumber(0, 7, chord.BaseFret, SurfaceText::smallFont());
}

namespace {

template <typename Paint>
QImage picture(int width, int height, Paint paint) {
  QImage work = BitmapDrawing::blankImage(width, height);
  QPainter p(&work);
  paint(p);
  return work;
}

}  // namespace

QImage smallChordPicture(const TChordDiagram& chord, bool fingerNumbers,
                         const DiagramStyle& style) {
  return picture(Bitmaps::SmallFretWidth, Bitmaps::SmallFretHeight, [&](QPainter& p) {
    paintSmallChord(p, QPoint(0, 0), chord, fingerNumbers, style);
  });
}

QImage smallScalePicture(const TScaleDiagram& scale, int startFret, const DiagramStyle& style) {
  return picture(Bitmaps::SmallFretWidth, Bitmaps::SmallFretHeight,
                 [&](QPainter& p) { paintSmallScale(p, QPoint(0, 0), scale, startFret, style); });
}

QImage tinyChordPicture(const TChordDiagram& chord, const DiagramStyle& style) {
  return picture(Bitmaps::TinyFretWidth, Bitmaps::TinyFretHeight,
                 [&](QPainter& p) { paintTinyChord(p, QPoint(0, 0), chord, style); });
}

void DrawSmallChord(QPainter& p, const TChordDiagram& chord, int column, int row, SmallPage page,
                    const DiagramStyle& style) {
  if (!inSmallGrid(column, row)) return;
  paintSmallChord(p, smallOrigin(page, column, row), chord, page != SmallPage::Chords, style);
}

void DrawSmallScale(QPainter& p, const TScaleDiagram& scale, int column, int row, SmallPage page,
                    const DiagramStyle& style) {
  if (!inSmallGrid(column, row)) return;
  const int pitch = smallGrid(page).RowPitch;
  const int left = SmallGeometry::diagramX(column);
  p.fillRect(QRect(QPoint(left + 1, pitch * row + 32), QPoint(left + 103, pitch * row + 153)),
             Qt::white);
  DrawScalePosition(p, scale, column, row, page, style);
}

void DrawScalePosition(QPainter& p, const TScaleDiagram& scale, int column, int row, SmallPage page,
                       const DiagramStyle& style) {
  if (!inSmallGrid(column, row)) return;
  paintSmallScale(p, smallOrigin(page, column, row), scale, scale.StartFrets[column], style);
}

void DrawTinyChord(QPainter& p, const TChordDiagram& chord, QPoint origin,
                   const DiagramStyle& style) {
  paintTinyChord(p, origin, chord, style);
}

void DrawSmallChord(QImage& surface, const TChordDiagram& chord, int column, int row,
                    SmallPage page, const DiagramStyle& style) {
  QPainter p(&surface);
  DrawSmallChord(p, chord, column, row, page, style);
}

void DrawSmallScale(QImage& surface, const TScaleDiagram& scale, int column, int row,
                    SmallPage page, const DiagramStyle& style) {
  QPainter p(&surface);
  DrawSmallScale(p, scale, column, row, page, style);
}

void DrawScalePosition(QImage& surface, const TScaleDiagram& scale, int column, int row,
                       SmallPage page, const DiagramStyle& style) {
  QPainter p(&surface);
  DrawScalePosition(p, scale, column, row, page, style);
}

void DrawTinyChord(QImage& surface, const TChordDiagram& chord, QPoint origin,
                   const DiagramStyle& style) {
  QPainter p(&surface);
  DrawTinyChord(p, chord, origin, style);
}

bool fitsSixRows(const TChordDiagram& chord) {
  return std::all_of(std::begin(chord.Strings), std::end(chord.Strings), [&](const auto& string) {
    return diagramRow(string.Fret, chord.BaseFret) >= 0;
  });
}

void DrawOutOfRangeLine(QImage& surface, int slot, bool show) {
  QPainter p(&surface);
  DrawOutOfRangeLine(p, slot, show);
}

void DrawOutOfRangeLine(QPainter& p, int slot, bool show) {
  if (slot < 0 || slot > 5) return;
  BitmapDrawing::fillCrisp(p, QRect(76 * slot + 12, 99, 42, 1),
                           show ? QColor(0, 0, 255) : QColor(Qt::white));
}

void MoveSelectionFrame(QPainter& p, QSize size, SelectionFrame& frame,
                        const FrameGeometry& geometry, QColor colour) {
  outline(p, size, frame.Left, frame.Top, frame.Right, frame.Bottom, Qt::white);
  const std::int64_t column = frame.Column, row = frame.Row;
  frame.Left = clampToInt32(geometry.ColumnPitch * column + geometry.LeftOffset);
  frame.Top = clampToInt32(geometry.RowPitch * row + geometry.TopOffset);
  frame.Right = clampToInt32(geometry.ColumnPitch * column + geometry.RightOffset);
  frame.Bottom = clampToInt32(geometry.RowPitch * row + geometry.BottomOffset);
  outline(p, size, frame.Left, frame.Top, frame.Right, frame.Bottom, colour);
}

void MoveSelectionFrame(QImage& surface, SelectionFrame& frame, const FrameGeometry& geometry) {
  QPainter p(&surface);
  MoveSelectionFrame(p, logicalSize(surface), frame, geometry, FrameColour);
}

void ClearSurface(QImage& surface) {
  surface.fill(Qt::white);
}

void WipeSelectionFrame(QImage& surface, const SelectionFrame& frame) {
  QPainter p(&surface);
  outline(p, logicalSize(surface), frame.Left, frame.Top, frame.Right, frame.Bottom, Qt::white);
}
