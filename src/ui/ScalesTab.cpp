#include "ui/ScalesTab.h"

#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <memory>

#include "library/LibraryFiles.h"
#include "library/MenuTables.h"
#include "music/DiagramConvert.h"
#include "pages/DiagramText.h"
#include "render/PageCells.h"
#include "render/PageDrawer.h"
#include "render/SurfaceText.h"
#include "ui/BeginFretDialog.h"
#include "ui/BusyGuard.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpContext.h"
#include "ui/LibraryMessages.h"
#include "ui/PageLookOf.h"
#include "ui/PagePress.h"
#include "ui/Prompter.h"
#include "ui/RecordText.h"
#include "ui/SurfaceView.h"

ScalesTab::ScalesTab(Workbench& bench, const BusyGuard& guard, Prompter& prompter,
                     SurfaceView* surface, QScrollArea* scroll, FretboardPanel* fretboard,
                     QWidget* parent)
    : QObject(parent),
      Bench(bench),
      State(bench.State),
      Guard(guard),
      Ask(prompter),
      imgScales(surface),
      scrollScales(scroll),
      Fretboard(fretboard),
      Window(parent),
      Model(bench.Scales) {
  popmenuScales = new QMenu(parent);
  popmenuScales->setObjectName(QStringLiteral("popmenuScales"));
  setHelpContext(popmenuScales, 390);
  QAction* playDiagram = popmenuScales->addAction(QStringLiteral("Play This Diagram"));
  playDiagram->setObjectName("pmenu5PlayDiagram");
  connect(playDiagram, &QAction::triggered, this, &ScalesTab::playDiagramChosen);
  QAction* playEntire = popmenuScales->addAction(QStringLiteral("Play Entire Scale"));
  playEntire->setObjectName("pmenu5PlayEntire");
  connect(playEntire, &QAction::triggered, this, &ScalesTab::playEntireChosen);
  popmenuScales->addAction(QStringLiteral("Send To Print Page"))
      ->setObjectName("pmenu1SendtoPrint");
  QAction* startFret = popmenuScales->addAction(QStringLiteral("Change Beginning Fret"));
  startFret->setObjectName(QStringLiteral("pmenu5StartFret"));
  connect(startFret, &QAction::triggered, this, &ScalesTab::pmenu5StartFretClick);

  connect(surface, &SurfaceView::pressed, this, &ScalesTab::imgScalesMouseDown);
  surface->setKeyStepper([this, keys = std::make_shared<KeyStep::Cursor>()](
                             KeyStep::Key key) -> std::optional<PagePoint> {
    int rows = 0;
    while (rows < ScalePageSize && !isEmpty(State.ScalePage[rows])) ++rows;
    const auto to = keys->key(key, Model.selected(), Model.placing(), SmallGeometry::Columns,
                              Model.placing() ? ScalePageSize : rows);
    if (to.Target)
      imgScales->setSpokenText(QStringLiteral("Place at row %1").arg(to.Target->Row + 1));
    if (!to.Press) return std::nullopt;
    return KeyStep::smallPagePoint(SmallPage::Scales, *to.Press);
  });
  connect(surface, &SurfaceView::moved, this, [this] { Fretboard->clearHoverReadout(); });
}

void ScalesTab::setPlacing(bool on) {
  apply(Model.setPlacing(on));
}

void ScalesTab::showScale() {
  if (State.ScaleChoice < 0 || State.ScaleChoice >= int(ScaleMenuNames.size())) return;
  NewScale scale;
  scale.Name = ScaleMenuNames[static_cast<std::size_t>(State.ScaleChoice)];
  // The name comes from the menu table: the tool bar only shows it.
  const std::string typed = Fretboard->typedTuningName();
  scale.TypedTuning = typed;
  scale.Strings = State.CurrentTuning;
  scale.Key = State.Key;
  const auto read = [this](TScaleFormula& formula) {
    return readScaleFormula(State.ExeDir, State.ScaleChoice, formula);
  };
  apply(Bench.apply(PlayTab::Scales, [&] { return Model.showScale(read, scale); }));
}

void ScalesTab::apply(const ScalesUpdate& u) {
  if (!u.Message.empty()) {
    Ask.message(Window, QString::fromStdString(u.Message));
    return;
  }
  if (u.ReadFailed) {
    libraryReadOk(Ask, Window, *u.ReadFailed, QStringLiteral("Could Not Find Scale Data File."));
    return;
  }
  QImage& surface = imgScales->image();
  if (u.RedrawPage) {
    // The whole page as the page drawer draws it everywhere, framed where a
    // fresh load frames it; the update moves the frame on from there.
    const DrawnPage drawn = drawPage(Bench.contents(PageKind::Scale), std::nullopt,
                                     pageLookOf(State), imgScales->pixelRatio());
    imgScales->setImage(drawn.Surface);
    if (drawn.Frame) Frame = *drawn.Frame;
    if (!u.DrawRows.empty())
      scrollScales->verticalScrollBar()->setValue(
          SmallGeometry::rowScroll(SmallPage::Scales, u.DrawRows.back()));
  }
  // A page drawn whole already holds its rows; a row added is drawn alone.
  if (!u.RedrawPage)
    for (const int r : u.DrawRows) {
      if (r < 0 || r >= ScalePageSize) continue;
      scrollScales->verticalScrollBar()->setValue(SmallGeometry::rowScroll(SmallPage::Scales, r));
      const TScaleDiagram& sc = State.ScalePage[r];
      for (int c = 0; c < SmallGeometry::Columns; ++c)
        DrawScalePosition(surface, sc, c, r, SmallPage::Scales, pageLookOf(State).Style);
      SurfaceText::drawScaleRowHeader(surface, sc, r, State.shownNames());
      Frame.Column = 0;
      Frame.Row = r;
      MoveSelectionFrame(surface, Frame, ScalesPageFrame);
    }
  if (u.RedrawPosition) {
    const auto [c, r] = *u.RedrawPosition;
    DrawSmallScale(surface, State.ScalePage[r], c, r, SmallPage::Scales, pageLookOf(State).Style);
  }
  if (u.Frame) {
    Frame.Column = u.Frame->Column;
    Frame.Row = u.Frame->Row;
    MoveSelectionFrame(surface, Frame, ScalesPageFrame);
  }
  if (u.RedrawPage || !u.DrawRows.empty() || u.RedrawPosition || u.Frame) imgScales->refresh();
  if (u.ShowScale) Fretboard->ShowScaleOnFretboard(State.CurrentScale);
  if (u.Pointer) imgScales->setPointerShape(static_cast<int>(*u.Pointer));
  const auto [c, r] = Model.selected();
  if (r < 0 || r >= ScalePageSize || c < 0 || c >= SmallGeometry::Columns ||
      isEmpty(State.ScalePage[r])) {
    imgScales->setSpokenText(QStringLiteral("No scale chosen"));
    return;
  }
  const TScaleDiagram& sc = State.ScalePage[r];
  imgScales->setSpokenText(
      qs(DiagramText::spokenScale(sc, State.shownNames())) +
      QStringLiteral(", position %1 from fret %2").arg(c + 1).arg(sc.StartFrets[c]));
}

void ScalesTab::imgScalesMouseDown(QPoint at, Qt::MouseButton button) {
  if (Guard.active()) return;
  ScalesUpdate u = Bench.apply(PlayTab::Scales,
                               [&] { return Model.press(at.x(), at.y(), pressButton(button)); });
  if (u.Question) {
    if (!Ask.ask(Window, QString::fromStdString(u.Question->Text), u.Question->DefaultYes)) return;
    u = Bench.apply(PlayTab::Scales,
                    [&] { return Model.press(at.x(), at.y(), pressButton(button), true); });
  }
  if (u.OpenMenu) {
    popmenuScales->popup(imgScales->mapToGlobal(at));
    return;
  }
  apply(u);
}

void ScalesTab::selectPressedCell() {
  apply(Model.selectPressed());
}

void ScalesTab::pmenu5StartFretClick() {
  const auto fret = Model.startFret();
  if (!fret) return;
  BeginFretDialog dialog(Window);
  dialog.setFret(*fret);
  if (!Ask.execDialog(dialog)) return;
  const int v = dialog.fret();
  apply(Bench.apply(PlayTab::Scales, [&] { return Model.changeStartFret(v); }));
}

void ScalesTab::restyle() {
  QImage& surface = imgScales->image();
  const PageLook look = pageLookOf(State);
  const int pitch = SmallGeometry::rowPitch(SmallPage::Scales);
  for (int r = 0; r < ScalePageSize; ++r) {
    if (isEmpty(State.ScalePage[r])) continue;
    // A shorter name must not leave the end of the longer one standing.
    QPainter(&surface).fillRect(0, pitch * r, surface.width(), pitch, Qt::white);
    PageCells::drawScaleRow(surface, State.ScalePage[r], r, look);
  }
  if (Frame.Right > Frame.Left) MoveSelectionFrame(surface, Frame, ScalesPageFrame);
  imgScales->refresh();
}

void ScalesTab::showErased() {
  ClearSurface(imgScales->image());
  imgScales->refresh();
  Frame = SelectionFrame{0, 0, 0, 0, 0, 0};
}

void ScalesTab::loadPage(const TScaleDiagram (&page)[ScalePageSize]) {
  apply(Model.load(page));
}

void ScalesTab::showRestored(const ScalesUpdate& u) {
  // The picture is drawn afresh, so no old frame is left to wipe.
  Frame = SelectionFrame{0, 0, 0, 0, 0, 0};
  apply(u);
}
