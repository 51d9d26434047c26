#include "ui/PlayPageTab.h"

#include <QAction>
#include <QMenu>
#include <algorithm>
#include <memory>

#include "pages/DiagramText.h"
#include "play/PlayerSettings.h"
#include "render/DiagramPainter.h"
#include "render/PageCells.h"
#include "render/PlayPageStaff.h"
#include "ui/BusyGuard.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpContext.h"
#include "ui/PageLookOf.h"
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
      Editor(bench.Play),
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
               {"Repeat Markers", "pmenu4Repeat", &PlayPageTab::pmenu4RepeatClick},
               {"Smooth Fingerings...", "pmenu4Smooth", &PlayPageTab::smoothChosen},
               {"Transpose...", "pmenu4Transpose", &PlayPageTab::transposeChosen}};
  for (const auto& item : items) {
    QAction* a = popmenuPlayPage->addAction(QLatin1String(item.caption));
    a->setObjectName(QLatin1String(item.name));
    if (item.handler) connect(a, &QAction::triggered, this, item.handler);
  }
  connect(surface, &SurfaceView::pressed, this, &PlayPageTab::imgPlayPageMouseDown);
  // A left press here moves the start marker, so the keys aim and Enter
  // presses.
  surface->setKeyStepper([this](KeyStep::Key key) -> std::optional<PagePoint> {
    const PlaySlot s = Editor.selected();
    const auto to = Keys.key(key, {s.Column, s.Row}, true, PlayPageColumns, PlayPageRows);
    if (to.Target)
      imgPlayPage->setSpokenText(Editor.placing()
                                     ? QStringLiteral("Place at row %1, slot %2")
                                           .arg(to.Target->Row + 1)
                                           .arg(to.Target->Column + 1)
                                     : spokenSlot({to.Target->Column, to.Target->Row}));
    if (!to.Press) return std::nullopt;
    return KeyStep::playPagePoint(*to.Press);
  });
  connect(surface, &SurfaceView::moved, this, [this] { Fretboard->clearHoverReadout(); });
  connect(ToolBar, &ToolBarPanel::timeClicked, this, &PlayPageTab::sbtnTimeClick);
  connect(ToolBar, &ToolBarPanel::strumSpeedChanged, this,
          [this](int position) { apply(edit([&] { return Editor.setStrumSpeed(position); })); });
  connect(ToolBar, &ToolBarPanel::loopClicked, this,
          [this] { apply(edit([this] { return Editor.toggleLoop(Guard.active()); })); });
  connect(ToolBar, &ToolBarPanel::bassNoteClicked, this,
          [this] { apply(edit([this] { return Editor.toggleBassNote(Guard.active()); })); });
  PlayPageStaff::drawGrid(imgPlayPage->image(), State.Play.ThreeFour);
  State.Play.resetGrid();
  DrawRepeatMarks();
}

QString PlayPageTab::spokenSlot(PlaySlot s) const {
  const TChordDiagram* chord = Editor.shown(s.Column, s.Row);
  return QStringLiteral("Row %1, slot %2: ").arg(s.Row + 1).arg(s.Column + 1) +
         (chord ? qs(DiagramText::spokenChord(*chord, State.shownNames()))
                : QStringLiteral("empty"));
}

QPoint PlayPageTab::selectedSlot() const {
  const PlaySlot s = Editor.selected();
  return {s.Column, s.Row};
}

bool PlayPageTab::askAbout(PlayQuestion question) {
  return Ask.ask(Window,
                 question == PlayQuestion::Replace
                     ? QStringLiteral("Do you want to replace this diagram?")
                     : QStringLiteral("Do you want to delete this diagram?"),
                 true);
}

void PlayPageTab::apply(const PlayPageUpdate& u, QPoint at) {
  QImage& picture = imgPlayPage->image();
  if (u.Clear) ClearSurface(picture);
  if (u.Grid) PlayPageStaff::drawGrid(picture, State.Play.ThreeFour);
  for (const PlaySlot& s : u.Slots) {
    if (const TChordDiagram* d = Editor.shown(s.Column, s.Row))
      PageCells::drawPlaySlot(picture, *d, s.Column, s.Row, pageLookOf(State));
    else if (!u.Clear)
      PageCells::wipePlaySlot(picture, s.Column, s.Row);
  }
  if (u.RepeatMarks) DrawRepeatMarks();
  if (u.StartMarker)
    PlayPageStaff::moveStartMarker(picture, u.StartMarker->first.Column, u.StartMarker->first.Row,
                                   u.StartMarker->second.Column, u.StartMarker->second.Row);
  if (u.ToolBar) {
    ToolBar->setOn(ToolBarPanel::Toggle::Time, State.Play.ThreeFour);
    ToolBar->setStrumSpeed(State.Play.StrumSpeed);
    ToolBar->setOn(ToolBarPanel::Toggle::Loop, State.Play.Loop);
    ToolBar->setOn(ToolBarPanel::Toggle::BassNote, State.Play.BassNote);
  }
  if (u.Clear || u.Grid || !u.Slots.empty() || u.RepeatMarks || u.StartMarker)
    imgPlayPage->refresh();
  if (u.Pointer) imgPlayPage->setPointerShape(static_cast<int>(*u.Pointer));
  // What a screen reader hears: the slot a right press chose, or the slot
  // the keys aim at when what it holds changed.
  const std::optional<SmallCell> aimed = Keys.target();
  if (u.MenuItemsEnabled)
    imgPlayPage->setSpokenText(spokenSlot(Editor.selected()));
  else if (aimed && std::any_of(u.Slots.begin(), u.Slots.end(), [&](const PlaySlot& s) {
             return s.Column == aimed->Column && s.Row == aimed->Row;
           }))
    imgPlayPage->setSpokenText(spokenSlot({aimed->Column, aimed->Row}));
  if (u.MenuItemsEnabled) {
    const QList<QAction*> items = popmenuPlayPage->actions();
    // Repeat Markers, Smooth Fingerings and Transpose act on the page, not the slot.
    for (int i = 0; i + 3 < items.size(); ++i) items[i]->setEnabled(*u.MenuItemsEnabled);
    popmenuPlayPage->popup(imgPlayPage->mapToGlobal(at));
  }
}

void PlayPageTab::imgPlayPageMouseDown(QPoint at, Qt::MouseButton button,
                                       Qt::KeyboardModifiers modifiers) {
  if (Guard.active()) return;
  const std::optional<PlaySlot> slot = playSlotAt(at.x(), at.y());
  if (!slot) return;
  const PlayPageEditor::Button b = button == Qt::LeftButton    ? PlayPageEditor::Button::Left
                                   : button == Qt::RightButton ? PlayPageEditor::Button::Right
                                                               : PlayPageEditor::Button::Other;
  const bool ctrl = modifiers & Qt::ControlModifier;
  PlayPageUpdate u = edit([&] { return Editor.press(*slot, b, ctrl); });
  // On No the diagram stays in hand and the page as it is.
  if (u.Ask && askAbout(*u.Ask)) u = edit([&] { return Editor.press(*slot, b, ctrl, true); });
  apply(u, at);
}

void PlayPageTab::redrawSlots() {
  PlayPageUpdate u;
  for (int r = 0; r < PlayPageRows; ++r)
    for (int c = 0; c < PlayPageColumns; ++c) u.Slots.push_back({c, r});
  apply(u);
}

void PlayPageTab::DrawRepeatMarks() {
  PlayPageState& play = State.Play;
  play.loadActiveRepeatSet();
  PlayPageStaff::drawRepeatMarks(imgPlayPage->image(), play.ActiveRepeatSet, play.ThreeFour,
                                 play.Loop);
  imgPlayPage->refresh();
}

void PlayPageTab::sbtnTimeClick() {
  apply(edit([this] { return Editor.toggleTimeSignature(Guard.active()); }));
}

void PlayPageTab::pmenu4DeleteClick() {
  PlayPageUpdate u = edit([this] { return Editor.deleteChord(); });
  if (u.Ask && askAbout(*u.Ask)) u = edit([this] { return Editor.deleteChord(true); });
  apply(u);
}

void PlayPageTab::pmenu4CutMoveClick() {
  apply(Editor.cutAndMove());
}

void PlayPageTab::pmenu4CopyMoveClick() {
  apply(Editor.copyAndMove());
}

void PlayPageTab::pmenu4RepeatClick() {
  const PlayPageUpdate u = Editor.repeatMarkers();
  if (!u.RepeatBar) return;
  RepeatDialog dialog(Window);
  dialog.load(*u.RepeatBar, u.Repeat);
  if (!Ask.execDialog(dialog)) return;
  apply(edit(
      [&] { return Editor.setRepeatMarkers(*u.RepeatBar, dialog.choice(), dialog.loopWasOn()); }));
}

void PlayPageTab::takeInHand(const TChordDiagram& diagram) {
  apply(Editor.takeInHand(diagram));
}

void PlayPageTab::endMove() {
  apply(Editor.endMove());
}

void PlayPageTab::cancelPointers() {
  apply(Editor.cancel());
}

void PlayPageTab::setTempo(std::int32_t microsPerQuarter) {
  apply(edit([&] { return Editor.setTempo(microsPerQuarter); }));
}

void PlayPageTab::loadHeader(const PlayPageHeader& h) {
  State.Play.ThreeFour = h.ThreeFour;
  ToolBar->setOn(ToolBarPanel::Toggle::Time, h.ThreeFour);
  State.Play.PlayPageTempo = 60'000'000 / std::max(h.TempoBpm, 1);
  State.Play.StrumSpeed = clampStrumSpeed(h.StrumSpeed);
  ToolBar->setStrumSpeed(State.Play.StrumSpeed);
  State.Play.BassNote = h.Bass;
  ToolBar->setOn(ToolBarPanel::Toggle::BassNote, h.Bass);
  State.Play.Loop = h.Loop;
  ToolBar->setOn(ToolBarPanel::Toggle::Loop, h.Loop);
}

void PlayPageTab::loadSlots(const TChordDiagram (&page)[PlayPageColumns][PlayPageRows]) {
  for (int r = 0; r < PlayPageRows; ++r)
    for (int c = 0; c < PlayPageColumns; ++c) {
      if (isEmpty(page[c][r])) continue;
      State.PlayPage[c][r] = page[c][r];
      PageCells::drawPlaySlot(imgPlayPage->image(), page[c][r], c, r, pageLookOf(State));
    }
  imgPlayPage->refresh();
}
