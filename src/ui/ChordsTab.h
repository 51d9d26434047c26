#pragma once

#include <QObject>
#include <QPoint>

#include "pages/ChordsPageModel.h"
#include "render/DiagramPainter.h"
#include "state/Workbench.h"

class BusyGuard;
class FretboardPanel;
class Prompter;
class QMenu;
class QScrollArea;
class QWidget;
class SurfaceView;

// The Chords tab: draws the page's model (ChordsPageModel), turns presses
// into its intents and applies what they give back; and the page's pop-up
// menu.
class ChordsTab : public QObject {
  Q_OBJECT

 public:
  ChordsTab(Workbench& bench, const BusyGuard& guard, Prompter& prompter, SurfaceView* surface,
            QScrollArea* scroll, FretboardPanel* fretboard, QWidget* parent);

  // Adds a row for the key and chord type chosen in the menus. The caller has
  // checked the fields and the guard. False when it refused (a full page, a
  // data file missing or damaged): the message has been shown and the page
  // is as it was.
  bool showChords();
  // Frames cell (column, row) and takes its diagram in hand, as a left press would.
  void selectCell(int column, int row);
  // Wipes the picture and its frame after the model emptied the page.
  void showErased();
  // Draws every set again in the current names and diagram style, the
  // frame where it was.
  void restyle();
  // Draws the page anew after its history put the store back; `u` is the
  // model's update for it.
  void showRestored(const ChordsUpdate& u);

  QPoint currentCell() const { return {Model.current().Column, Model.current().Row}; }
  QPoint framedCell() const { return {Model.framed().Column, Model.framed().Row}; }
  const SelectionFrame& frame() const { return Frame; }
  // The diagram under the last press, when there is one to send to the play page.
  const TChordDiagram* diagramToSend() const { return Model.diagramToSend(); }
  // Fills the erased page from a page file's sets, up to the first empty
  // diagram, and frames the first diagram.
  void loadPage(const TChordDiagram (&page)[ChordPageColumns][ChordPageRows]);
  // Makes the pop-up's Show Arpeggio command emit arpeggioChosen.
  void enableArpeggioCommand();

 signals:
  // Commands of the pop-up menu that others carry out.
  void playChordChosen();
  void sendToPlayChosen();
  void arpeggioChosen();

 protected:
  // Each diagram's tool tip tells how easy it is to play.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The framed diagram, as the surface's text for a screen reader.
  void announceSelection();
  void imgChordPageMouseDown(QPoint at, Qt::MouseButton button);
  void imgChordPageMouseMove();
  // Does what an intent's update asks; false when it asked for a message.
  bool apply(const ChordsUpdate& u, std::string_view header = {});
  void redrawPage();
  QMenu* popmenuChords;
  Workbench& Bench;
  AppState& State;
  const BusyGuard& Guard;
  Prompter& Ask;
  SurfaceView* imgChordPage;
  QScrollArea* scrollChordPage;
  FretboardPanel* Fretboard;
  QWidget* Window;
  ChordsPageModel& Model;
  // The rectangle the red frame was last drawn at.
  SelectionFrame Frame{0, 0, 0, 0, -1, -1};
};
