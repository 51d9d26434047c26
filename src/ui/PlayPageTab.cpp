#include "ui/PlayPageTab.h"

#include <QAction>
#include <QMenu>

#include "render/DiagramPainter.h"
#include "render/PageCells.h"
#include "render/PlayPageStaff.h"
#include "ui/BusyGuard.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpContext.h"
#include "ui/Prompter.h"
#include "ui/RecordText.h"
#include "ui/RepeatDialog.h"
#include "ui/SurfaceView.h"
#include "ui/ToolBarPanel.h"

PlayPageTab::PlayPageTab(Workbench& bench, const BusyGuard& guard, Prompter& prompter,
                         SurfaceView* surface, ToolBarPanel* toolBar, FretboardPanel* fretboard,
                         QWidget* parent)
    : QObject(parent),
      Bench(bench),
      State(bench.State),
      Guard(guard),
      Ask(prompter),
      imgPlayPage(surface),
      ToolBar(toolBar),
      Fretboard(fretboard),
      Window(parent) {
  popmenuPlayPage = new QMenu(parent);
  popmenuPlayPage->setObjectName(QStringLiteral("popmenuPlayPage"));
  setHelpContext(popmenuPlayPage, 370);
  const struct {
    const char* caption;
    const char* name;
    void (PlayPageTab::*handler)();
  } items[] = {{"Play Chord", "pmenu4PlayChord", &PlayPageTab::playChordChosen},
               {"Send To Chord Design", "pmenu1SendtoDesign", nullptr},
               {"Send To Print Page", "pmenu1SendtoPrint", nullptr},
               {"Delete", "pmenu4Delete", &PlayPageTab::pmenu4DeleteClick},
               {"Cut And Move", "pmenu4CutMove", &PlayPageTab::pmenu4CutMoveClick},
               {"Copy And Move", "pmenu4CopyMove", &PlayPageTab::pmenu4CopyMoveClick},
               {"Repeat Markers", "pmenu4Repeat", &PlayPageTab::pmenu4RepeatClick}};
  for (const auto& item : items) {
    QAction* a = popmenuPlayPage->addAction(QLatin1String(item.caption));
    a->setObjectName(QLatin1String(item.name));
    if (item.handler) connect(a, &QAction::triggered, this, item.handler);
  }
  connect(surface, &SurfaceView::pressed, this, &PlayPageTab::imgPlayPageMouseDown);
  connect(surface, &SurfaceView::moved, this, [this] { Fretboard->clearHoverReadout(); });
  connect(ToolBar, &ToolBarPanel::timeClicked, this, &PlayPageTab::sbtnTimeClick);
  DrawPlayGrid();
  DrawRepeatMarks();
}

bool PlayPageTab::placing() const {
  return imgPlayPage->pointerShape() != 0;
}

QPoint PlayPageTab::selectedSlot() const {
  return {State.Play.PlaySelColumn, State.Play.PlaySelRow};
}

void PlayPageTab::imgPlayPageMouseDown(QPoint at, Qt::MouseButton button,
                                       Qt::KeyboardModifiers modifiers) {
  if (Guard.active()) return;
  const std::optional<PlaySlot> slot = playSlotAt(at.x(), at.y());
  if (!slot) return;
  const int c = slot->Column, r = slot->Row;
  TChordDiagram& target = State.PlayPage[c][r];

  if (placing()) {
    if (isEmpty(State.MoveBuffer) || button == Qt::RightButton) {
      cancelPointers();
      return;
    }
    if (button != Qt::LeftButton) return;
    if (!isEmpty(target) &&
        !Ask.ask(Window, QStringLiteral("Do you want to replace this diagram?"), true))
      return;
    target = State.MoveBuffer;
    CutFrom.reset();
    DrawSlotDiagram(c, r, target);
    State.Play.PlayPageChanged = true;
    // With Ctrl held the same chord stays in hand for the next slot.
    if (!(modifiers & Qt::ControlModifier)) imgPlayPage->setPointerShape(0);
    return;
  }

  if (button == Qt::RightButton) {
    State.Play.PlaySelColumn = c;
    State.Play.PlaySelRow = r;
    const QList<QAction*> items = popmenuPlayPage->actions();
    for (int i = 0; i + 1 < items.size(); ++i) items[i]->setEnabled(!isEmpty(target));
    popmenuPlayPage->popup(imgPlayPage->mapToGlobal(at));
    return;
  }
  if (button != Qt::LeftButton) return;
  if (const auto start = startMarkerTarget(c, r, State.Play.ThreeFour))
    moveStartMarker(start->Column, start->Row);
}

void PlayPageTab::moveStartMarker(int column, int row) {
  PlayPageStaff::moveStartMarker(imgPlayPage->image(), State.Play.PlayStartColumn,
                                 State.Play.PlayStartRow, column, row);
  State.Play.PlayStartColumn = column;
  State.Play.PlayStartRow = row;
  imgPlayPage->refresh();
}

void PlayPageTab::DrawSlotDiagram(int column, int row, const TChordDiagram& diagram) {
  PageCells::drawPlaySlot(imgPlayPage->image(), diagram, column, row, State.Names);
  imgPlayPage->refresh();
}

void PlayPageTab::redrawSlots() {
  for (int r = 0; r < PlayPageRows; ++r)
    for (int c = 0; c < PlayPageColumns; ++c) {
      PageCells::wipePlaySlot(imgPlayPage->image(), c, r);
      if (!isEmpty(State.PlayPage[c][r]))
        PageCells::drawPlaySlot(imgPlayPage->image(), State.PlayPage[c][r], c, r, State.Names);
    }
  imgPlayPage->refresh();
}

void PlayPageTab::DrawPlayGrid() {
  PlayPageState& play = State.Play;
  play.PlayStartColumn = 0;
  play.PlayStartRow = 0;
  PlayPageStaff::drawGrid(imgPlayPage->image(), play.ThreeFour);
  play.resetGrid();
  imgPlayPage->refresh();
}

void PlayPageTab::DrawRepeatMarks() {
  PlayPageState& play = State.Play;
  play.loadActiveRepeatSet();
  PlayPageStaff::drawRepeatMarks(imgPlayPage->image(), play.ActiveRepeatSet, play.ThreeFour,
                                 ToolBar->isOn(ToolBarPanel::Toggle::Loop));
  imgPlayPage->refresh();
}

void PlayPageTab::sbtnTimeClick() {
  if (Guard.active()) {
    ToolBar->undoClick(ToolBarPanel::Toggle::Time);
    return;
  }
  State.Play.ThreeFour = ToolBar->isOn(ToolBarPanel::Toggle::Time);
  DrawPlayGrid();
  DrawRepeatMarks();
}

void PlayPageTab::pmenu4DeleteClick() {
  const int c = State.Play.PlaySelColumn, r = State.Play.PlaySelRow;
  if (c < 0 || c >= PlayPageColumns || r < 0 || r >= PlayPageRows) return;
  TChordDiagram& slot = State.PlayPage[c][r];
  if (!isEmpty(slot) &&
      !Ask.ask(Window, QStringLiteral("Do you want to delete this diagram?"), true))
    return;
  PageCells::wipePlaySlot(imgPlayPage->image(), c, r);
  imgPlayPage->refresh();
  slot.Empty = 1;
  State.Play.PlayPageChanged = true;
}

void PlayPageTab::pmenu4CutMoveClick() {
  const int c = State.Play.PlaySelColumn, r = State.Play.PlaySelRow;
  if (c < 0 || c >= PlayPageColumns || r < 0 || r >= PlayPageRows) return;
  cancelPointers();
  State.MoveBuffer = State.PlayPage[c][r];
  CutFrom = Cut{c, r, State.MoveBuffer, State.Play.PlayPageChanged};
  imgPlayPage->setPointerShape(6);
  State.PlayPage[c][r].Empty = 1;
  pmenu4DeleteClick();
}

void PlayPageTab::pmenu4CopyMoveClick() {
  const int c = State.Play.PlaySelColumn, r = State.Play.PlaySelRow;
  if (c < 0 || c >= PlayPageColumns || r < 0 || r >= PlayPageRows) return;
  cancelPointers();
  State.MoveBuffer = State.PlayPage[c][r];
  imgPlayPage->setPointerShape(6);
}

void PlayPageTab::pmenu4RepeatClick() {
  PlayPageState& play = State.Play;
  play.loadActiveRepeatSet();
  const int bar = PlayBars::barOfSlot(PlayBars::slotNumber(play.PlaySelColumn, play.PlaySelRow),
                                      play.ThreeFour);
  if (bar < 0 || bar >= PlayBars::barCount(play.ThreeFour)) return;
  RepeatDialog dialog(Window);
  dialog.load(bar, play.repeatChoice(bar));
  if (!Ask.execDialog(dialog)) return;
  play.applyRepeatChoice(bar, dialog.choice(), dialog.loopWasOn());
  DrawRepeatMarks();
}

void PlayPageTab::takeInHand(const TChordDiagram& diagram) {
  cancelPointers();
  State.MoveBuffer = diagram;
  imgPlayPage->setPointerShape(5);
}

void PlayPageTab::endMove() {
  if (!CutFrom) return;
  const Cut cut = *CutFrom;
  CutFrom.reset();
  State.PlayPage[cut.Column][cut.Row] = cut.Diagram;
  DrawSlotDiagram(cut.Column, cut.Row, cut.Diagram);
  State.Play.PlayPageChanged = cut.ChangedBefore;
  imgPlayPage->setPointerShape(0);
}

void PlayPageTab::cancelPointers() {
  endMove();
  imgPlayPage->setPointerShape(0);
}

void PlayPageTab::erase() {
  // A diagram cut and not yet placed goes with the page; one sent from
  // another page still waits to be placed.
  if (moving()) imgPlayPage->setPointerShape(0);
  CutFrom.reset();
  for (auto& column : State.PlayPage)
    for (auto& d : column) d.Empty = 1;
  ClearSurface(imgPlayPage->image());
  State.Play.resetRepeatSets();
  DrawPlayGrid();
  DrawRepeatMarks();
}

void PlayPageTab::loadSlots(const TChordDiagram (&page)[PlayPageColumns][PlayPageRows]) {
  for (int r = 0; r < PlayPageRows; ++r)
    for (int c = 0; c < PlayPageColumns; ++c) {
      if (isEmpty(page[c][r])) continue;
      State.PlayPage[c][r] = page[c][r];
      PageCells::drawPlaySlot(imgPlayPage->image(), page[c][r], c, r, State.Names);
    }
  imgPlayPage->refresh();
}

void PlayPageTab::showRestored() {
  TChordDiagram page[PlayPageColumns][PlayPageRows];
  std::copy(&State.PlayPage[0][0], &State.PlayPage[0][0] + PlayPageColumns * PlayPageRows,
            &page[0][0]);
  const PlayPageState kept = State.Play;
  erase();
  State.Play.ThreeFour = kept.ThreeFour;
  State.Play.RepeatSet34 = kept.RepeatSet34;
  State.Play.RepeatSet44 = kept.RepeatSet44;
  State.Play.PlayPageTempo = kept.PlayPageTempo;
  State.Play.StrumSpeed = kept.StrumSpeed;
  State.Play.PlayPageChanged = kept.PlayPageChanged;
  ToolBar->setOn(ToolBarPanel::Toggle::Time, kept.ThreeFour);
  ToolBar->setStrumSpeed(kept.StrumSpeed);
  State.SelectedPlayChord.Empty = 1;
  DrawPlayGrid();
  loadSlots(page);
  DrawRepeatMarks();
}
