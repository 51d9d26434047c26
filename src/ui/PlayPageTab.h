#pragma once

#include <QObject>
#include <QPoint>
#include <optional>

#include "pages/KeyStep.h"
#include "pages/PageFile.h"
#include "pages/PlayPageEditor.h"
#include "state/Workbench.h"

class BusyGuard;
class FretboardPanel;
class Prompter;
class QMenu;
class QWidget;
class SurfaceView;
class ToolBarPanel;

// The PlayPage tab: draws the staff rows, bar numbers, repeat marks, start
// marker and the chords in the 72 slots, and turns presses and pop-up
// commands into changes of the play page. The rules live in the play page
// model; this class only draws and routes.
class PlayPageTab : public QObject {
  Q_OBJECT

 public:
  PlayPageTab(Workbench& bench, const BusyGuard& guard, Prompter& prompter, SurfaceView* surface,
              ToolBarPanel* toolBar, FretboardPanel* fretboard, QWidget* parent);

  void DrawRepeatMarks();
  // Puts `diagram` in hand, ready to be placed with the next left press.
  void takeInHand(const TChordDiagram& diagram);
  // Redraws every occupied slot (after a change of naming or a load).
  void redrawSlots();

  bool placing() const { return Editor.placing(); }
  // Draws what an intent of the page's model run elsewhere asks: the empty
  // page, the page put back by Undo or Redo, a move ended.
  void show(const PlayPageUpdate& u) { apply(u); }
  // A page file's time signature, tempo, strum speed, Bass Note and Loop, in
  // the state and on the tool bar, before its page is erased and filled.
  void loadHeader(const PlayPageHeader& header);
  // Places a page file's chords on the erased page, slot by slot.
  void loadSlots(const TChordDiagram (&page)[PlayPageColumns][PlayPageRows]);
  QPoint selectedSlot() const;
  // Slot s as a screen reader reads it: where it is and the chord it shows.
  QString spokenSlot(PlaySlot s) const;
  // Back to the normal pointer; a diagram cut for Cut And Move shows in its
  // slot again, and the page is as before the cut.
  void cancelPointers();
  // A Cut And Move in progress ends with the diagram back in its slot; a
  // diagram sent here or copied for moving keeps waiting.
  void endMove();
  bool moving() const { return Editor.moving(); }
  // The Tempo dialog's OK: one step of the page's history.
  void setTempo(std::int32_t microsPerQuarter);

 signals:
  // Play Chord of the pop-up menu, carried out by the playback controller.
  void playChordChosen();
  // Smooth Fingerings... of the pop-up menu, carried out for the whole page.
  void smoothChosen();
  void transposeChosen();

 private:
  void imgPlayPageMouseDown(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void sbtnTimeClick();
  void pmenu4DeleteClick();
  void pmenu4CutMoveClick();
  void pmenu4CopyMoveClick();
  void pmenu4RepeatClick();
  // Carries out what the model asks for; `at` is where the pop-up opens.
  void apply(const PlayPageUpdate& u, QPoint at = {});
  bool askAbout(PlayQuestion question);
  // Runs an intent of the page's model as an edit of the page's history.
  template <class Intent>
  PlayPageUpdate edit(Intent&& intent) {
    return Bench.apply(PlayTab::PlayPage, std::forward<Intent>(intent));
  }

  Workbench& Bench;
  AppState& State;
  PlayPageEditor& Editor;
  const BusyGuard& Guard;
  Prompter& Ask;
  SurfaceView* imgPlayPage;
  ToolBarPanel* ToolBar;
  FretboardPanel* Fretboard;
  QWidget* Window;
  QMenu* popmenuPlayPage;
  // Where the keyboard aims on the page.
  KeyStep::Cursor Keys;
};
