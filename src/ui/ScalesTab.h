#pragma once

#include <QObject>
#include <QPoint>

#include "pages/ScalesPageModel.h"
#include "render/DiagramPainter.h"
#include "state/Workbench.h"

class BusyGuard;
class FretboardPanel;
class Prompter;
class QMenu;
class QScrollArea;
class QWidget;
class SurfaceView;

// The Scales tab: draws the page's model (ScalesPageModel), turns presses
// and menu commands into its intents and applies what they give back; and
// the pop-up menu.
class ScalesTab : public QObject {
  Q_OBJECT

 public:
  ScalesTab(Workbench& bench, const BusyGuard& guard, Prompter& prompter, SurfaceView* surface,
            QScrollArea* scroll, FretboardPanel* fretboard, QWidget* parent);

  // Adds a row for the key and scale chosen in the menus.
  void showScale();
  // Frames the pressed cell and shows its scale, as a left press would.
  void selectPressedCell();
  // Wipes the picture and its frame after the model emptied the page.
  void showErased();
  // Draws every row again in the current names and diagram style, the frame
  // where it was.
  void restyle();
  // Fills the erased page from a page file's scales, up to the first empty one.
  void loadPage(const TScaleDiagram (&page)[ScalePageSize]);
  // Draws the page anew after its history put the store back.
  void showRestored(const ScalesUpdate& u);
  // Does what an intent of the page's model run elsewhere asks.
  void show(const ScalesUpdate& u) { apply(u); }

  // While a scale sent from the print page waits to be placed.
  bool placing() const { return Model.placing(); }
  void setPlacing(bool on);

  QPoint pressedCell() const { return {Model.pressed().Column, Model.pressed().Row}; }
  QPoint selectedCell() const { return {Model.selected().Column, Model.selected().Row}; }
  const SelectionFrame& frame() const { return Frame; }

 signals:
  // Commands of the pop-up menu that the playback controller carries out.
  void playDiagramChosen();
  void playEntireChosen();

 private:
  void imgScalesMouseDown(QPoint at, Qt::MouseButton button);
  void pmenu5StartFretClick();
  void apply(const ScalesUpdate& u);
  QMenu* popmenuScales;
  Workbench& Bench;
  AppState& State;
  const BusyGuard& Guard;
  Prompter& Ask;
  SurfaceView* imgScales;
  QScrollArea* scrollScales;
  FretboardPanel* Fretboard;
  QWidget* Window;
  ScalesPageModel& Model;
  // The rectangle the red frame was last drawn at.
  SelectionFrame Frame{0, 0, 0, 0, 0, 0};
};
