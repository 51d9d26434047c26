#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>

class QPainter;
#include <cstdint>

#include "music/Records.h"
#include "play/SmallPageGeometry.h"

// The small and tiny diagram pictures and where they go on the page
// surfaces, the selection frame around the diagram in hand, and the clearing
// of a surface. Each diagram is composed in a work image and copied to the
// surface in one go. Values from a record only choose a mark or a row after a
// range check: a string whose mark has no place in the six rows is left out,
// so a damaged record draws a sane picture.

// How diagrams are drawn for the player. Left-handed, a diagram is mirrored
// (lowest string on the right) as a left-handed player reads it, while its
// fret number and finger numbers still read left to right. With a capo on
// fret Capo (1..11) the shapes are drawn as fretted from the capo, which a
// diagram at the first fret shows as a bar in place of the nut.
struct DiagramStyle {
  bool LeftHanded = false;
  int Capo = 0;
};

// The pages that show small diagrams (SmallPageGeometry.h) differ in row
// pitch, top offset and whether chords show their finger numbers.
struct SmallGrid {
  int RowPitch;
  int TopOffset;
};
SmallGrid smallGrid(SmallPage page);

inline constexpr int SmallPageColumns = SmallGeometry::Columns, SmallPageRows = SmallGeometry::Rows;

// The rectangle last drawn and the cell it frames; the caller sets Column
// and Row, MoveSelectionFrame the rest.
struct SelectionFrame {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  std::int32_t Column = 0, Row = 0;
};

// Where a surface's frame goes around cell (column, row); right and bottom
// are one past the last pixel of the outline.
struct FrameGeometry {
  int ColumnPitch, RowPitch, LeftOffset, TopOffset, RightOffset, BottomOffset;
};
constexpr FrameGeometry smallPageFrame(SmallPage page) {
  const CellBox box = SmallGeometry::frameBox(page);
  return {SmallGeometry::ColumnPitch,
          SmallGeometry::rowPitch(page),
          box.Left,
          box.Top,
          box.Right,
          box.Bottom};
}
inline constexpr FrameGeometry ChordsPageFrame = smallPageFrame(SmallPage::Chords);
inline constexpr FrameGeometry ScalesPageFrame = smallPageFrame(SmallPage::Scales);
inline constexpr FrameGeometry PrintPageFrame = smallPageFrame(SmallPage::Print);
inline constexpr int DesignSurfaceHeight = 101;
inline constexpr FrameGeometry DesignGroupFrame{76, 0, 0, 0, 76, DesignSurfaceHeight};

// The diagrams painted with their top-left corner at `origin`, on any
// painter: a surface of any density, or paper. Each covers its whole box,
// so it replaces what stood there.
void paintSmallChord(QPainter& p, QPoint origin, const TChordDiagram& chord, bool fingerNumbers,
                     const DiagramStyle& style = {});
void paintSmallScale(QPainter& p, QPoint origin, const TScaleDiagram& scale, int startFret,
                     const DiagramStyle& style = {});
void paintTinyChord(QPainter& p, QPoint origin, const TChordDiagram& chord,
                    const DiagramStyle& style = {});

// The pictures alone: 105 x 120 for small diagrams, 58 x 61 for tiny ones.
QImage smallChordPicture(const TChordDiagram& chord, bool fingerNumbers,
                         const DiagramStyle& style = {});
// The position of a scale whose first row is startFret.
QImage smallScalePicture(const TScaleDiagram& scale, int startFret, const DiagramStyle& style = {});
QImage tinyChordPicture(const TChordDiagram& chord, const DiagramStyle& style = {});

// Draws the chord in cell (column, row) of a Chords or Print page; finger
// numbers show everywhere but on the Chords page. Cells outside the 6 x 5
// grid are not drawn. Each drawing call comes on a painter or on a surface.
void DrawSmallChord(QPainter& p, const TChordDiagram& chord, int column, int row, SmallPage page,
                    const DiagramStyle& style = {});
void DrawSmallScale(QPainter& p, const TScaleDiagram& scale, int column, int row, SmallPage page,
                    const DiagramStyle& style = {});
void DrawScalePosition(QPainter& p, const TScaleDiagram& scale, int column, int row, SmallPage page,
                       const DiagramStyle& style = {});
void DrawTinyChord(QPainter& p, const TChordDiagram& chord, QPoint origin,
                   const DiagramStyle& style = {});
void DrawSmallChord(QImage& surface, const TChordDiagram& chord, int column, int row,
                    SmallPage page, const DiagramStyle& style = {});
// Draws the position of the scale starting at StartFrets[column] in cell
// (column, row), after wiping the cell white.
void DrawSmallScale(QImage& surface, const TScaleDiagram& scale, int column, int row,
                    SmallPage page, const DiagramStyle& style = {});
// The same position drawn over the cell as it stands (the Scales page draws
// a whole new row so).
void DrawScalePosition(QImage& surface, const TScaleDiagram& scale, int column, int row,
                       SmallPage page, const DiagramStyle& style = {});
// Draws the tiny diagram with its top-left corner at origin.
void DrawTinyChord(QImage& surface, const TChordDiagram& chord, QPoint origin,
                   const DiagramStyle& style = {});

// True when every fretted string lies within the six rows from BaseFret.
bool fitsSixRows(const TChordDiagram& chord);
// The blue line under design group slot 0..5 that says a chord does not fit;
// DrawOutOfRangeLine(surface, slot, false) wipes it.
void DrawOutOfRangeLine(QImage& surface, int slot, bool show = true);
void DrawOutOfRangeLine(QPainter& p, int slot, bool show = true);

// Wipes the frame at its stored rectangle, then draws it in red around the
// cell given by frame.Column and frame.Row and stores the new rectangle.
void MoveSelectionFrame(QImage& surface, SelectionFrame& frame, const FrameGeometry& geometry);
// The same on a painter over a picture `size` logical pixels, the frame in
// `colour`: a sheet that must not show the frame draws it white, leaving
// what wiping it would leave.
inline const QColor FrameColour{255, 0, 0};
void MoveSelectionFrame(QPainter& p, QSize size, SelectionFrame& frame,
                        const FrameGeometry& geometry, QColor colour);

void ClearSurface(QImage& surface);

// Wipes the frame's outline at its stored rectangle, leaving the frame's
// values as they are.
void WipeSelectionFrame(QImage& surface, const SelectionFrame& frame);
