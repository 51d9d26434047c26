#pragma once

#include <QObject>
#include <QPoint>

#include "render/DiagramPainter.h"
#include "state/Workbench.h"

class BusyGuard;
class FretboardPanel;
class Prompter;
class QMenu;
class QScrollArea;
class QWidget;
class SurfaceView;

// The Scales tab: up to five scales, one row of six position diagrams each,
// the red frame around the position in hand, the pop-up menu, and the
// placing of a scale sent from the print page.
class ScalesTab : public QObject {
  Q_OBJECT

 public:
  ScalesTab(Workbench& bench, const BusyGuard& guard, Prompter& prompter, SurfaceView* surface,
            QScrollArea* scroll, FretboardPanel* fretboard, QWidget* parent);

  // Adds a row for the key and scale chosen in the menus.
  void showScale();
  void DrawScaleRow(int row);
  // Frames the pressed cell and shows its scale, as a left press would.
  void selectPressedCell();
  void erase();
  // Fills the erased page from a page file's scales, up to the first empty one.
  void loadPage(const TScaleDiagram (&page)[ScalePageSize]);

  // While a scale sent from the print page waits to be placed.
  bool placing() const;
  void setPlacing(bool on);

  QPoint pressedCell() const { return {Frame.Column, Frame.Row}; }
  QPoint selectedCell() const { return {SelectedColumn, SelectedRow}; }
  const SelectionFrame& frame() const { return Frame; }

 signals:
  // Commands of the pop-up menu that the playback controller carries out.
  void playDiagramChosen();
  void playEntireChosen();

 private:
  void imgScalesMouseDown(QPoint at, Qt::MouseButton button);
  void pmenu5StartFretClick();
  QMenu* popmenuScales;
  Workbench& Bench;
  AppState& State;
  const BusyGuard& Guard;
  Prompter& Ask;
  SurfaceView* imgScales;
  QScrollArea* scrollScales;
  FretboardPanel* Fretboard;
  QWidget* Window;
  // The frame keeps the pressed cell; the framed cell is kept beside it.
  SelectionFrame Frame{0, 0, 0, 0, 0, 0};
  int SelectedColumn = -1, SelectedRow = -1;
};
