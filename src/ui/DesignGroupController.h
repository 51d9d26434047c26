#pragma once

#include <QObject>
#include <QPoint>

#include "design/DesignGroupModel.h"
#include "render/DiagramPainter.h"
#include "state/Workbench.h"

class BusyGuard;
class ChordDesignTab;
class FretboardPanel;
class Prompter;
class QDropEvent;
class QMenu;
class QMimeData;
class QWidget;
class SurfaceView;

// The design group on the Chord Design tab: turns presses, drops and the
// group's pop-up menu into intents of its DesignGroupModel, asks the
// questions they name, records the edits they make on the page's history and
// draws what they report: slots, frame, pointer and the fingering in hand.
class DesignGroupController : public QObject {
  Q_OBJECT

 public:
  DesignGroupController(Workbench& bench, const BusyGuard& guard, Prompter& prompter,
                        ChordDesignTab* design, FretboardPanel* fretboard, QWidget* window);

  // What a drag of the fretboard's drag button carries: the fingering in
  // hand is read at the drop, so the data only names the source.
  static constexpr const char* FingeringMime = "application/x-strumbo-fingering";

  // Redraws slot s and frames it when it holds a diagram; page loading uses
  // it too.
  void DrawDesignSlot(int s);
  int selectedSlot() const { return Model.selected(); }
  const DesignGroupModel& model() const { return Model; }
  QMenu* menu() const { return popmenuDesign; }

  // Leaving the tab ends placing and moving; a diagram being moved goes back
  // to the slot it came from.
  void cancelPointers();
  // A Move in progress ends with the diagram back in the slot it came from;
  // a diagram sent here keeps waiting.
  void endMove();
  bool moving() const { return Model.mode() == GroupMode::Moving; }
  // The slot under the last press, which the pop-up commands act on.
  int pressedSlot() const { return Model.pressed(); }
  // Draws the six empty slots after the model emptied the group; `u` sets the
  // pointer.
  void showErased(const GroupUpdate& u);
  // Overwrites the six slots from a design file and takes the first diagram
  // in hand, with Show Intervals released.
  void loadGroup(const TChordDiagram (&group)[DesignGroupSize]);
  // Draws the group and the fingering in hand anew from the state, after
  // Undo or Redo put them back; `u` frames the selected slot.
  void showRestored(const GroupUpdate& u);
  // Draws every slot again in the current names and diagram style, the
  // frame where it was.
  void restyle();
  // Draws what an intent of the group's model run elsewhere asks.
  void show(const GroupUpdate& u) { apply(u); }
  // A diagram sent here waits in hand; `u` is the model's update for it.
  void showReceived(const GroupUpdate& u);

 signals:
  void playChordChosen();
  void sendToPlayChosen(int slot);
  void sendToPrintChosen();
  void transposeChosen();
  // Typing into a tablature box: the window's keyboard commands must not
  // take the digits.
  void typingStarted();
  void typingEnded();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void imgChordDesignMouseDown(QPoint at, Qt::MouseButton button);
  void imgChordDesignMouseMove();
  void imgChordDesignDragDrop(QDropEvent* event);
  void dropSearchResult(const QMimeData& data);
  void dropFingering(int x);
  void pmenu2PlayChordClick();
  void pmenu2DeleteClick();
  void pmenu2MoveClick();
  void editTab0Exit(int i);

  // Steps of DrawDesignSlot without the frame.
  void drawSlotPicture(int s);
  void frameSlot(int s);
  // Runs an intent of the model and records the edit it names.
  template <class Intent>
  GroupUpdate run(Intent&& intent);
  // Draws what an update reports.
  void apply(const GroupUpdate& u);
  // Root, bass, tablature and fretboard show the fingering in hand.
  void showInHand();
  // The six boxes read the chord in hand.
  void showTablature();
  bool askReplace();

  Workbench& Bench;
  AppState& State;
  const BusyGuard& Guard;
  Prompter& Ask;
  ChordDesignTab* Design;
  FretboardPanel* Fretboard;
  SurfaceView* imgChordDesign;
  QWidget* Window;
  QMenu* popmenuDesign;
  DesignGroupModel& Model;
  // Where the frame was last drawn, so the next one can put the picture back.
  SelectionFrame Frame;
};
