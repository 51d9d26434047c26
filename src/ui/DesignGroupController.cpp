#include "ui/DesignGroupController.h"

#include <QDataStream>
#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <optional>

#include "design/DesignGroup.h"
#include "render/PageCells.h"
#include "ui/BusyGuard.h"
#include "ui/ChordDesignTab.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpContext.h"
#include "ui/LibraryMessages.h"
#include "ui/Prompter.h"
#include "ui/RecordText.h"
#include "ui/SurfaceView.h"

namespace {

constexpr int PlacingPointer = 5, MovingPointer = 6;
const char* const ListItemsMime = "application/x-qabstractitemmodeldatalist";

QString fretText(const TChordDiagram& d, int s) {
  return d.Notes[s] != 0 ? QString::number(d.Strings[s].Fret) : QString();
}

// The (root, dictionary index) pair a result line carries in Qt::UserRole,
// read from the rows a list drag packs; none for a line without one.
std::optional<QPoint> resultPair(const QMimeData& data) {
  QByteArray bytes = data.data(QLatin1String(ListItemsMime));
  QDataStream in(&bytes, QIODevice::ReadOnly);
  int row = 0, column = 0;
  QMap<int, QVariant> roles;
  in >> row >> column >> roles;
  if (in.status() != QDataStream::Ok) return std::nullopt;
  const QVariant pair = roles.value(Qt::UserRole);
  if (!pair.isValid() || pair.typeId() != QMetaType::QPoint) return std::nullopt;
  return pair.toPoint();
}

}  // namespace

DesignGroupController::DesignGroupController(Workbench& bench, const BusyGuard& guard,
                                             Prompter& prompter, ChordDesignTab* design,
                                             FretboardPanel* fretboard, QWidget* window)
    : QObject(window),
      Bench(bench),
      State(bench.State),
      Guard(guard),
      Ask(prompter),
      Design(design),
      Fretboard(fretboard),
      imgChordDesign(design->surface()),
      Window(window),
      Frame{0, 0, 0, 0, 0, 0} {
  popmenuDesign = new QMenu(window);
  popmenuDesign->setObjectName(QStringLiteral("popmenuDesign"));
  setHelpContext(popmenuDesign, 380);
  const auto add = [this](const char* caption, const char* name) {
    QAction* a = popmenuDesign->addAction(QLatin1String(caption));
    a->setObjectName(QLatin1String(name));
    return a;
  };
  connect(add("Play Chord", "pmenu2PlayChord"), &QAction::triggered, this,
          &DesignGroupController::pmenu2PlayChordClick);
  connect(add("Send To PlayPage", "pmenu2SendtoPlay"), &QAction::triggered, this,
          [this] { emit sendToPlayChosen(Frame.Column); });
  connect(add("Send To Print Page", "pmenu2SendtoPrint"), &QAction::triggered, this,
          &DesignGroupController::sendToPrintChosen);
  connect(add("Delete", "pmenu2Delete"), &QAction::triggered, this,
          &DesignGroupController::pmenu2DeleteClick);
  connect(add("Move", "pmenu2Move"), &QAction::triggered, this,
          &DesignGroupController::pmenu2MoveClick);

  // The empty group shows where its six diagrams go.
  for (int s = 0; s < DesignGroupSize; ++s) drawSlotPicture(s);

  connect(imgChordDesign, &SurfaceView::pressed, this,
          [this](QPoint at, Qt::MouseButton button) { imgChordDesignMouseDown(at, button); });
  connect(imgChordDesign, &SurfaceView::moved, this, [this] { imgChordDesignMouseMove(); });
  imgChordDesign->setAcceptDrops(true);
  imgChordDesign->installEventFilter(this);
  fretboard->dragButton()->installEventFilter(this);
  // Digits only, pasted text included, so a box never holds a non-number.
  for (int s = 0; s < 6; ++s) {
    QLineEdit* box = design->tabBox(s);
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), box));
    box->installEventFilter(this);
  }
}

void DesignGroupController::drawSlotPicture(int s) {
  if (!DesignGroup::valid(s)) return;
  const TChordDiagram& d = State.DesignGroup[s];
  // The tablature stays with the chord in hand, which need not be this slot
  // (a moved diagram going back home, a fingering dropped from the fretboard).
  PageCells::drawDesignSlot(imgChordDesign->image(), d, s, State.Names);
  imgChordDesign->refresh();
}

void DesignGroupController::frameSlot(int s) {
  DesignSelectedSlot = s;
  Frame.Column = s;
  MoveSelectionFrame(imgChordDesign->image(), Frame, DesignGroupFrame);
  imgChordDesign->refresh();
}

void DesignGroupController::DrawDesignSlot(int s) {
  if (!DesignGroup::valid(s)) return;
  drawSlotPicture(s);
  if (!isEmpty(State.DesignGroup[s])) frameSlot(s);
}

void DesignGroupController::takeInHand(int s) {
  State.EditChord = State.DesignGroup[s];
  const int root = pitchClass(State.EditChord.Root);
  const int bass = pitchClass(State.EditChord.Bass);
  Design->showRootAndBass(root, State.Names.pitchName(root), bass, State.Names.pitchName(bass));
  showTablature();
  Fretboard->showChordInHand();
}

void DesignGroupController::showRestored() {
  const TChordDiagram inHand = State.EditChord;
  TChordDiagram group[DesignGroupSize];
  std::copy(std::begin(State.DesignGroup), std::end(State.DesignGroup), group);
  loadGroup(group);
  // Selecting a slot takes its diagram in hand; the restored one is meant.
  State.EditChord = inHand;
  const int root = pitchClass(State.EditChord.Root);
  const int bass = pitchClass(State.EditChord.Bass);
  Design->showRootAndBass(root, State.Names.pitchName(root), bass, State.Names.pitchName(bass));
  showTablature();
  Fretboard->showChordInHand();
}

void DesignGroupController::showTablature() {
  for (int i = 0; i < 6; ++i) Design->showTabBox(i, fretText(State.EditChord, i));
}

void DesignGroupController::selectSlot(int s) {
  frameSlot(s);
  takeInHand(s);
}

bool DesignGroupController::askReplace() {
  return Ask.ask(Window, QStringLiteral("Do you want to replace this diagram?"), false);
}

void DesignGroupController::imgChordDesignMouseDown(QPoint at, Qt::MouseButton button) {
  if (Guard.active()) return;
  const int s = DesignGroup::slotAt(at.x());
  if (s < 0) return;
  Frame.Column = s;
  DesignGroup group(State.DesignGroup, State.DesignGroupChanged);

  if (moving()) {
    // Any button lands the moved diagram.
    const DesignGroup::Written w = group.landMoved(s, MoveSource, State.MoveBuffer);
    for (int k = 0; k < w.Count; ++k) DrawDesignSlot(w.Slot[static_cast<std::size_t>(k)]);
    MoveSource = -1;
    imgChordDesign->setPointerShape(0);
    takeInHand(s);
    return;
  }
  if (imgChordDesign->pointerShape() == PlacingPointer) {
    if (isEmpty(State.MoveBuffer) || button == Qt::RightButton) {
      imgChordDesign->setPointerShape(0);
      return;
    }
    // On No the placing pointer stays, so the next press can place elsewhere.
    if (group.holds(s) && !askReplace()) return;
    group.place(s, State.MoveBuffer);
    imgChordDesign->setPointerShape(0);
    DrawDesignSlot(s);
    takeInHand(s);
    return;
  }

  if (!group.holds(s)) return;
  if (button == Qt::RightButton) {
    popmenuDesign->popup(imgChordDesign->mapToGlobal(at));
    return;
  }
  if (s == DesignSelectedSlot) return;
  selectSlot(s);
}

void DesignGroupController::imgChordDesignMouseMove() {
  Fretboard->clearHoverReadout();
}

void DesignGroupController::receive(const TChordDiagram& diagram) {
  // The move buffer is about to hold the sent diagram: a moved one goes home.
  endMove();
  State.MoveBuffer = diagram;
  imgChordDesign->setPointerShape(PlacingPointer);
  Fretboard->setTuningEnabled(true);
  Fretboard->showChordInHand();
}

void DesignGroupController::endMove() {
  if (!moving()) return;
  // The diagram lives only in the move buffer: back where it came from.
  const int home = MoveSource;
  MoveSource = -1;
  State.DesignGroup[home] = State.MoveBuffer;
  drawSlotPicture(home);
  if (home == DesignSelectedSlot) frameSlot(home);
  imgChordDesign->setPointerShape(0);
}

void DesignGroupController::cancelPointers() {
  endMove();
  imgChordDesign->setPointerShape(0);
}

void DesignGroupController::pmenu2PlayChordClick() {
  const int p = Frame.Column;
  if (!DesignGroup::valid(p)) return;
  if (p != DesignSelectedSlot) {
    frameSlot(p);
    State.EditChord = State.DesignGroup[p];
    showTablature();
    Fretboard->ShowDiagram(State.EditChord);
  }
  emit playChordChosen();
}

void DesignGroupController::pmenu2DeleteClick() {
  const int p = Frame.Column;
  DesignGroup group(State.DesignGroup, State.DesignGroupChanged);
  if (!group.holds(p)) return;
  if (!Ask.ask(Window, QStringLiteral("Do you want to erase this diagram?"), false)) return;
  group.erase(p);
  drawSlotPicture(p);
  if (p != DesignSelectedSlot) return;
  const int next = group.firstHeld();
  if (next < 0) return;
  // The frame was painted over with the slot; the next diagram is taken in
  // hand whole, so the root, bass and tablature agree with the fretboard.
  Frame.Left = Frame.Top = Frame.Right = Frame.Bottom = 0;
  selectSlot(next);
}

void DesignGroupController::pmenu2MoveClick() {
  const int p = Frame.Column;
  DesignGroup group(State.DesignGroup, State.DesignGroupChanged);
  if (!group.holds(p)) return;
  State.MoveBuffer = group.takeOut(p);
  MoveSource = p;
  // Only the moving pointer says so on screen; the state is MoveSource.
  imgChordDesign->setPointerShape(MovingPointer);
  drawSlotPicture(p);
}

bool DesignGroupController::eventFilter(QObject* watched, QEvent* event) {
  for (int s = 0; s < 6; ++s) {
    if (watched != Design->tabBox(s)) continue;
    if (event->type() == QEvent::FocusIn) {
      emit typingStarted();
    } else if (event->type() == QEvent::FocusOut) {
      // Leaving the box, not the window or for a menu.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) editTab0Exit(s);
      emit typingEnded();
    }
    return false;
  }
  if (watched == Fretboard->dragButton()) {
    // The drag starts only when the mouse moves with the button held.
    if (event->type() == QEvent::MouseMove &&
        (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton)) {
      auto* drag = new QDrag(Fretboard->dragButton());
      auto* data = new QMimeData;
      data->setData(QLatin1String(FingeringMime), QByteArray());
      drag->setMimeData(data);
      drag->exec(Qt::CopyAction);
      return true;
    }
    return false;
  }
  if (watched == imgChordDesign) {
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* e = static_cast<QDropEvent*>(event);
        const QMimeData* data = e->mimeData();
        if (data && (data->hasFormat(QLatin1String(ListItemsMime)) ||
                     data->hasFormat(QLatin1String(FingeringMime))))
          e->acceptProposedAction();
        else
          e->ignore();
        return true;
      }
      case QEvent::Drop:
        imgChordDesignDragDrop(static_cast<QDropEvent*>(event));
        return true;
      default:
        break;
    }
  }
  return QObject::eventFilter(watched, event);
}

void DesignGroupController::imgChordDesignDragDrop(QDropEvent* event) {
  event->acceptProposedAction();
  if (Guard.active() || !event->mimeData()) return;
  const QMimeData& data = *event->mimeData();
  // A diagram being moved goes home before anything lands, so that nothing
  // is written over what arrives and the replace question sees a held slot.
  endMove();
  if (data.hasFormat(QLatin1String(ListItemsMime)))
    dropSearchResult(data);
  else if (data.hasFormat(QLatin1String(FingeringMime)))
    dropFingering(event->position().toPoint().x());
}

void DesignGroupController::dropSearchResult(const QMimeData& data) {
  // A line without a result pair ("No Chords Found") names no chord.
  const std::optional<QPoint> pair = resultPair(data);
  if (!pair) return;
  if (State.DesignGroupChanged &&
      Ask.ask(Window,
              QStringLiteral("This Design Group has changed. Do you want to save the changes?"),
              true))
    return;
  DesignGroup group(State.DesignGroup, State.DesignGroupChanged);
  const LibraryResult read = group.fillFromLibrary(State.ExeDir, pair->y(), pair->x());
  if (!libraryReadOk(Ask, Window, read, QStringLiteral("Could Not Find Chord Data Files."))) return;
  for (int s = DesignGroupSize - 1; s >= 0; --s) DrawDesignSlot(s);
  takeInHand(0);
}

void DesignGroupController::dropFingering(int x) {
  const int s = DesignGroup::slotAt(x);
  if (s < 0 || isEmpty(State.EditChord)) return;
  DesignGroup group(State.DesignGroup, State.DesignGroupChanged);
  if (group.holds(s) && !askReplace()) return;
  Fretboard->nameChordInHand();
  group.place(s, State.EditChord);
  DrawDesignSlot(s);
  // The chord type laid over the fingering goes back on show.
  if (Design->intervalsShown()) Fretboard->showChordInHand();
}

void DesignGroupController::editTab0Exit(int i) {
  const QString text = Design->tabBox(i)->text();
  bool number = false;
  const int fret = text.toInt(&number);
  // An empty box, or a fret beyond the neck, mutes the string.
  std::optional<int> typed;
  if (number && fret >= 0 && fret <= HighestFret) typed = fret;
  // Refused as a whole: the fingering stays, and the box shows it again.
  if (!Fretboard->typeFret(i, typed)) showTablature();
}

void DesignGroupController::erase() {
  // A diagram being moved goes with the group; one sent from another page
  // still waits to be placed.
  if (moving()) imgChordDesign->setPointerShape(0);
  MoveSource = -1;
  for (auto& d : State.DesignGroup) d.Empty = 1;
  ClearSurface(imgChordDesign->image());
  for (int s = 0; s < DesignGroupSize; ++s) drawSlotPicture(s);
  DesignSelectedSlot = -1;
}

void DesignGroupController::loadGroup(const TChordDiagram (&group)[DesignGroupSize]) {
  cancelPointers();
  ClearSurface(imgChordDesign->image());
  Frame = SelectionFrame{0, 0, 0, 0, 0, 0};
  DesignSelectedSlot = -1;
  int first = -1;
  for (int s = 0; s < DesignGroupSize; ++s) {
    State.DesignGroup[s] = group[s];
    drawSlotPicture(s);
    if (first < 0 && !isEmpty(group[s])) first = s;
  }
  Design->clearSearchResults();
  if (first < 0) return;
  Design->setIntervalsShown(false);
  selectSlot(first);
}
