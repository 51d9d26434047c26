#pragma once

#include <QObject>
#include <QPoint>

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

// The Print tab: draws the page's model (PrintPageModel), turns presses and
// menu commands into its intents and applies what they give back: the red
// frame around the item in hand, the pointer, the questions; and the pop-up
// menu whose other commands are carried out elsewhere.
class PrintPageTab : public QObject {
  Q_OBJECT

 public:
  PrintPageTab(Workbench& bench, const BusyGuard& guard, Prompter& prompter, SurfaceView* surface,
               QScrollArea* scroll, FretboardPanel* fretboard, QWidget* parent);

  // The item at the pressed cell, for the send-to commands; null when empty.
  const TPrintDiagram* itemToSend() const { return Model.itemToSend(); }
  QPoint pressedCell() const { return {Model.pressed().Column, Model.pressed().Row}; }
  QPoint selectedCell() const { return {Model.selected().Column, Model.selected().Row}; }
  const SelectionFrame& frame() const { return Frame; }

  // While an item waits to be placed: one sent here (already in
  // PrintMoveBuffer) or one of this page being moved.
  bool placing() const { return Model.placing(); }
  void setPlacing(bool on);
  // Back to the normal pointer; an item being moved goes back to its cell.
  void cancelPointers();
  // A Move in progress ends with the item back in its cell; an item sent
  // here keeps waiting.
  void endMove();
  bool moving() const { return Model.moving(); }

  // Wipes the sheet after the model emptied the page; `u` sets the pointer.
  void showErased(const PrintUpdate& u);
  // Does what an intent of the page's model run elsewhere asks.
  void show(const PrintUpdate& u) { apply(u); }
  bool hasItems() const { return Model.hasItems(); }
  // Fills the erased page from a page file; the first item (row by row) is
  // taken in hand and framed.
  void loadPage(const TPrintDiagram (&page)[PrintPageColumns][PrintPageRows]);
  // Draws the page anew after its history put the store back.
  void showRestored(const PrintUpdate& u) { apply(u); }
  // Draws every item again in the current names and diagram style, the
  // frame where it was.
  void restyle();

 signals:
  void playDiagramChosen();
  void sendToPlayChosen();
  void sendToDesignChosen();
  void sendToScaleChosen();
  void transposeChosen();
  // Delete took the last item: the whole page is to be erased.
  void pageEmptied();

 private:
  void imgPrintPageMouseDown(QPoint at, Qt::MouseButton button);
  void apply(const PrintUpdate& u);
  void pmenu3PlayDiagramClick();
  void pmenu3DeleteClick();
  void pmenu3MoveClick();
  void pmenu3FillClick();

  Workbench& Bench;
  AppState& State;
  const BusyGuard& Guard;
  Prompter& Ask;
  SurfaceView* imgPrintPage;
  QScrollArea* scrollPrintPage;
  FretboardPanel* Fretboard;
  QWidget* Window;
  QMenu* popmenuPrint;
  QAction* PlayDiagram;
  QAction* Delete;
  QAction* Move;
  QAction* SendToPlay;
  QAction* SendToDesign;
  QAction* SendToScale;
  PrintPageModel& Model;
  // The rectangle the red frame was last drawn at.
  SelectionFrame Frame{0, 0, 0, 0, 0, 0};
};
