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
#include "ui/PageLookOf.h"
#include "ui/Prompter.h"
#include "ui/RecordText.h"
#include "ui/SurfaceView.h"

namespace {

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
      Model(bench.Group),
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
          [this] { emit sendToPlayChosen(Model.pressed()); });
  connect(add("Send To Print Page", "pmenu2SendtoPrint"), &QAction::triggered, this,
          &DesignGroupController::sendToPrintChosen);
  connect(add("Delete", "pmenu2Delete"), &QAction::triggered, this,
          &DesignGroupController::pmenu2DeleteClick);
  connect(add("Move", "pmenu2Move"), &QAction::triggered, this,
          &DesignGroupController::pmenu2MoveClick);
  connect(add("Transpose...", "pmenu2Transpose"), &QAction::triggered, this,
          &DesignGroupController::transposeChosen);

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
  // The tablature stays with the chord in hand, which need not be this slot
  // (a moved diagram going back home, a fingering dropped from the fretboard).
  PageCells::drawDesignSlot(imgChordDesign->image(), Model.shown(s), s, pageLookOf(State));
  imgChordDesign->refresh();
}

void DesignGroupController::restyle() {
  for (int s = 0; s < DesignGroupSize; ++s) drawSlotPicture(s);
  if (Frame.Right > Frame.Left) frameSlot(Frame.Column);
}

void DesignGroupController::frameSlot(int s) {
  Frame.Column = s;
  MoveSelectionFrame(imgChordDesign->image(), Frame, DesignGroupFrame);
  imgChordDesign->refresh();
}

void DesignGroupController::DrawDesignSlot(int s) {
  if (!DesignGroup::valid(s)) return;
  drawSlotPicture(s);
  if (!isEmpty(Model.shown(s))) frameSlot(s);
}

template <class Intent>
GroupUpdate DesignGroupController::run(Intent&& intent) {
  // Taking a slot in hand alone is no edit: the next edit starts from it.
  GroupUpdate u = Bench.apply(PlayTab::ChordDesign, std::forward<Intent>(intent));
  apply(u);
  return u;
}

void DesignGroupController::apply(const GroupUpdate& u) {
  if (u.ForgetFrame) Frame.Left = Frame.Top = Frame.Right = Frame.Bottom = 0;
  for (const GroupUpdate::Draw& d : u.Draws) {
    if (d.Picture) drawSlotPicture(d.Slot);
    if (d.Frame) frameSlot(d.Slot);
  }
  if (u.ShowInHand) showInHand();
  if (u.SetPointer) imgChordDesign->setPointerShape(static_cast<int>(u.Pointer));
}

void DesignGroupController::showInHand() {
  const int root = pitchClass(State.EditChord.Root);
  const int bass = pitchClass(State.EditChord.Bass);
  Design->showRootAndBass(root, State.Names.pitchName(root), bass, State.Names.pitchName(bass));
  showTablature();
  Fretboard->showChordInHand();
}

void DesignGroupController::showRestored(const GroupUpdate& u) {
  // The search results and Show Intervals stay.
  ClearSurface(imgChordDesign->image());
  Frame = SelectionFrame{0, 0, 0, 0, 0, 0};
  // Drawn as a fill from the library draws them, so the picture is the same.
  for (int s = DesignGroupSize - 1; s >= 0; --s) DrawDesignSlot(s);
  apply(u);
  showInHand();
}

void DesignGroupController::showTablature() {
  for (int i = 0; i < 6; ++i) Design->showTabBox(i, fretText(State.EditChord, i));
}

bool DesignGroupController::askReplace() {
  return Ask.ask(Window, QStringLiteral("Do you want to replace this diagram?"), false);
}

void DesignGroupController::imgChordDesignMouseDown(QPoint at, Qt::MouseButton button) {
  if (Guard.active()) return;
  const int s = DesignGroup::slotAt(at.x());
  if (s < 0) return;
  const bool right = button == Qt::RightButton;
  GroupUpdate u = run([&] { return Model.press(s, right); });
  if (u.Ask == GroupQuestion::Replace && askReplace())
    u = run([&] { return Model.press(s, right, true); });
  if (u.PopupMenu) popmenuDesign->popup(imgChordDesign->mapToGlobal(at));
}

void DesignGroupController::imgChordDesignMouseMove() {
  Fretboard->clearHoverReadout();
}

void DesignGroupController::showReceived(const GroupUpdate& u) {
  apply(u);
  Fretboard->setTuningEnabled(true);
  Fretboard->showChordInHand();
}

void DesignGroupController::endMove() {
  run([&] { return Model.endMove(); });
}

void DesignGroupController::cancelPointers() {
  run([&] { return Model.cancel(); });
}

void DesignGroupController::pmenu2PlayChordClick() {
  if (!DesignGroup::valid(Model.pressed())) return;
  run([&] { return Model.choosePlay(); });
  emit playChordChosen();
}

void DesignGroupController::pmenu2DeleteClick() {
  const GroupUpdate u = run([&] { return Model.chooseDelete(false); });
  if (u.Ask != GroupQuestion::Erase) return;
  if (!Ask.ask(Window, QStringLiteral("Do you want to erase this diagram?"), false)) return;
  run([&] { return Model.chooseDelete(true); });
}

void DesignGroupController::pmenu2MoveClick() {
  run([&] { return Model.chooseMove(); });
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
  const auto fill = [&](bool confirmed) {
    return run([&] {
      return Model.showChords(State.ExeDir, pair->y(), pair->x(), State.DesignGroupChanged,
                              confirmed,
                              State.SuggestFingerings ? Bench.Play.chordBeforeSelected() : nullptr);
    });
  };
  GroupUpdate u = fill(false);
  if (u.Ask == GroupQuestion::SaveFirst) {
    if (Ask.ask(Window,
                QStringLiteral("This Design Group has changed. Do you want to save the changes?"),
                true))
      return;
    u = fill(true);
  }
  libraryReadOk(Ask, Window, u.Read, QStringLiteral("Could Not Find Chord Data Files."));
}

void DesignGroupController::dropFingering(int x) {
  const int s = DesignGroup::slotAt(x);
  const auto drop = [&](bool confirmed) {
    return run(
        [&] { return Model.dropInHand(s, confirmed, [&] { Fretboard->nameChordInHand(); }); });
  };
  GroupUpdate u = drop(false);
  if (u.Ask == GroupQuestion::Replace) {
    if (!askReplace()) return;
    u = drop(true);
  }
  // The chord type laid over the fingering goes back on show.
  if (!u.Edit.empty() && State.IntervalsShown) Fretboard->showChordInHand();
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

void DesignGroupController::showErased(const GroupUpdate& u) {
  apply(u);
  ClearSurface(imgChordDesign->image());
  for (int s = 0; s < DesignGroupSize; ++s) drawSlotPicture(s);
}

void DesignGroupController::loadGroup(const TChordDiagram (&group)[DesignGroupSize]) {
  cancelPointers();
  ClearSurface(imgChordDesign->image());
  Frame = SelectionFrame{0, 0, 0, 0, 0, 0};
  Model.forget(false);
  int first = -1;
  for (int s = 0; s < DesignGroupSize; ++s) {
    State.DesignGroup[s] = group[s];
    drawSlotPicture(s);
    if (first < 0 && !isEmpty(group[s])) first = s;
  }
  Design->clearSearchResults();
  if (first < 0) return;
  State.IntervalsShown = false;
  Design->setIntervalsShown(false);
  apply(Model.select(first));
}
