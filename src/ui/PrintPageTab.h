#pragma once

#include <QObject>
#include <QPoint>
#include <optional>

#include "pages/PrintPageModel.h"
#include "render/DiagramPainter.h"
#include "state/Workbench.h"

class BusyGuard;
class FretboardPanel;
class Prompter;
class QAction;
class QMenu;
class QScrollArea;
class QWidget;
class SurfaceView;

// The Print tab: the 6 x 5 sheet of chord and scale items laid out for
// printing, the red frame around the item in hand, the placing of an item
// sent or moved here, Move and Delete, and the pop-up menu whose other
// commands are carried out elsewhere.
class PrintPageTab : public QObject {
  Q_OBJECT

 public:
  PrintPageTab(Workbench& bench, const BusyGuard& guard, Prompter& prompter, SurfaceView* surface,
               QScrollArea* scroll, FretboardPanel* fretboard, QWidget* parent);

  // The item at the pressed cell, for the send-to commands; null when empty.
  const TPrintDiagram* itemToSend() const;
  QPoint pressedCell() const { return {Frame.Column, Frame.Row}; }
  QPoint selectedCell() const { return {SelectedColumn, SelectedRow}; }
  const SelectionFrame& frame() const { return Frame; }

  // While an item waits to be placed: one sent here (already in
  // PrintMoveBuffer) or one of this page being moved.
  bool placing() const;
  void setPlacing(bool on);
  // Back to the normal pointer; an item being moved goes back to its cell.
  void cancelPointers();
  // A Move in progress ends with the item back in its cell; an item sent
  // here keeps waiting.
  void endMove();
  bool moving() const { return MoveSource.has_value(); }

  // Empties the sheet and every slot; the pressed and selected cells keep
  // their values.
  void erase();
  bool hasItems() const;
  // Fills the erased page from a page file; the first item (row by row) is
  // taken in hand and framed.
  void loadPage(const TPrintDiagram (&page)[PrintPageColumns][PrintPageRows]);

 signals:
  void playDiagramChosen();
  void sendToPlayChosen();
  void sendToDesignChosen();
  void sendToScaleChosen();
  // Delete took the last item: the whole page is to be erased.
  void pageEmptied();

 private:
  bool pressedInGrid() const;
  void imgPrintPageMouseDown(QPoint at, Qt::MouseButton button);
  void place(int column, int row);
  void selectCell(int column, int row);
  // Draws the red frame around the selected cell; the pressed cell stays.
  void frameSelectedCell();
  void pmenu3PlayDiagramClick();
  void pmenu3DeleteClick();
  void pmenu3MoveClick();

  Workbench& Bench;
  AppState& State;
  const BusyGuard& Guard;
  Prompter& Ask;
  SurfaceView* imgPrintPage;
  QScrollArea* scrollPrintPage;
  FretboardPanel* Fretboard;
  QWidget* Window;
  QMenu* popmenuPrint;
  QAction* SendToPlay;
  QAction* SendToDesign;
  QAction* SendToScale;
  // The frame keeps the pressed cell; the framed cell is kept beside it.
  SelectionFrame Frame{0, 0, 0, 0, 0, 0};
  int SelectedColumn = -1, SelectedRow = -1;
  // The cell an item is being moved from, and the item, until it is placed.
  std::optional<PrintGrid::Cell> MoveSource;
  TPrintDiagram MovedItem{};
};
