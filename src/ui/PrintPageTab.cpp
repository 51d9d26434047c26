#include "ui/PrintPageTab.h"

#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <memory>

#include "pages/DiagramText.h"
#include "render/PageCells.h"
#include "render/PageDrawer.h"
#include "ui/BusyGuard.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpContext.h"
#include "ui/PageLookOf.h"
#include "ui/PagePress.h"
#include "ui/Prompter.h"
#include "ui/RecordText.h"
#include "ui/SurfaceView.h"

PrintPageTab::PrintPageTab(Workbench& bench, const BusyGuard& guard, Prompter& prompter,
                           SurfaceView* surface, QScrollArea* scroll, FretboardPanel* fretboard,
                           QWidget* parent)
    : QObject(parent),
      Bench(bench),
      State(bench.State),
      Guard(guard),
      Ask(prompter),
      imgPrintPage(surface),
      scrollPrintPage(scroll),
      Fretboard(fretboard),
      Window(parent),
      Model(bench.Print) {
  popmenuPrint = new QMenu(parent);
  popmenuPrint->setObjectName(QStringLiteral("popmenuPrint"));
  setHelpContext(popmenuPrint, 360);
  const auto item = [this](const char* caption, const char* name) {
    QAction* a = popmenuPrint->addAction(QLatin1String(caption));
    a->setObjectName(QLatin1String(name));
    return a;
  };
  PlayDiagram = item("Play Diagram", "pmenu3PlayDiagram");
  connect(PlayDiagram, &QAction::triggered, this, &PrintPageTab::pmenu3PlayDiagramClick);
  SendToPlay = item("Send To PlayPage", "pmenu1SendtoPlay");
  connect(SendToPlay, &QAction::triggered, this, &PrintPageTab::sendToPlayChosen);
  SendToDesign = item("Send To Chord Design", "pmenu1SendtoDesign");
  connect(SendToDesign, &QAction::triggered, this, &PrintPageTab::sendToDesignChosen);
  SendToScale = item("Send To Scale Page", "pmenu3SendtoScale");
  connect(SendToScale, &QAction::triggered, this, &PrintPageTab::sendToScaleChosen);
  Delete = item("Delete", "pmenu3Delete");
  connect(Delete, &QAction::triggered, this, &PrintPageTab::pmenu3DeleteClick);
  Move = item("Move", "pmenu3Move");
  connect(Move, &QAction::triggered, this, &PrintPageTab::pmenu3MoveClick);
  popmenuPrint->addSeparator();
  connect(item("Fill From Play Page", "pmenu3Fill"), &QAction::triggered, this,
          &PrintPageTab::pmenu3FillClick);
  connect(item("Transpose...", "pmenu3Transpose"), &QAction::triggered, this,
          &PrintPageTab::transposeChosen);

  connect(surface, &SurfaceView::pressed, this, &PrintPageTab::imgPrintPageMouseDown);
  surface->setKeyStepper([this, keys = std::make_shared<KeyStep::Cursor>()](
                             KeyStep::Key key) -> std::optional<PagePoint> {
    const auto to =
        keys->key(key, Model.selected(), Model.placing(), PrintPageColumns, PrintPageRows);
    if (to.Target)
      imgPrintPage->setSpokenText(QStringLiteral("Place at row %1, item %2")
                                      .arg(to.Target->Row + 1)
                                      .arg(to.Target->Column + 1));
    if (!to.Press) return std::nullopt;
    return KeyStep::smallPagePoint(SmallPage::Print, *to.Press);
  });
  connect(surface, &SurfaceView::moved, this, [this] { Fretboard->clearHoverReadout(); });
}

void PrintPageTab::apply(const PrintUpdate& u) {
  QImage& surface = imgPrintPage->image();
  if (u.RedrawPage) {
    // The whole page as the page drawer draws it everywhere. Its frame is
    // taken over, so moving the frame on wipes nothing of the page just drawn.
    const DrawnPage drawn = drawPage(Bench.contents(PageKind::Print), std::nullopt,
                                     pageLookOf(State), imgPrintPage->pixelRatio());
    imgPrintPage->setImage(drawn.Surface);
    Frame = drawn.Frame.value_or(SelectionFrame{0, 0, 0, 0, Frame.Column, Frame.Row});
  }
  for (const SmallCell cell : u.Redraw)
    PageCells::drawPrintItem(surface, State.PrintPage[cell.Column][cell.Row], cell.Column, cell.Row,
                             pageLookOf(State));
  if (u.Frame) {
    Frame.Column = u.Frame->Column;
    Frame.Row = u.Frame->Row;
    MoveSelectionFrame(surface, Frame, PrintPageFrame);
  }
  if (u.RedrawPage || !u.Redraw.empty() || u.Frame) imgPrintPage->refresh();
  if (u.ShowItem) Fretboard->showPrintItem(State.SelectedPrintItem);
  if (u.Pointer) imgPrintPage->setPointerShape(static_cast<int>(*u.Pointer));
  const auto [c, r] = Model.selected();
  const bool inside = c >= 0 && c < PrintPageColumns && r >= 0 && r < PrintPageRows;
  imgPrintPage->setSpokenText(
      inside && !isEmpty(State.PrintPage[c][r])
          ? QStringLiteral("Row %1, item %2: ").arg(r + 1).arg(c + 1) +
                qs(DiagramText::spokenPrintItem(State.PrintPage[c][r], State.shownNames()))
          : QStringLiteral("No item chosen"));
  if (u.PageEmptied) emit pageEmptied();
}

void PrintPageTab::restyle() {
  QImage& surface = imgPrintPage->image();
  const PageLook look = pageLookOf(State);
  for (int r = 0; r < PrintPageRows; ++r)
    for (int c = 0; c < PrintPageColumns; ++c)
      if (!isEmpty(State.PrintPage[c][r]))
        PageCells::drawPrintItem(surface, State.PrintPage[c][r], c, r, look);
  if (Frame.Right > Frame.Left) MoveSelectionFrame(surface, Frame, PrintPageFrame);
  imgPrintPage->refresh();
}

void PrintPageTab::setPlacing(bool on) {
  // A newly sent item takes the place of a move in progress, which must not
  // lose the moved item.
  apply(on ? Model.send() : Model.cancel());
}

void PrintPageTab::endMove() {
  apply(Model.endMove());
}

void PrintPageTab::cancelPointers() {
  apply(Model.cancel());
}

void PrintPageTab::showErased(const PrintUpdate& u) {
  ClearSurface(imgPrintPage->image());
  imgPrintPage->refresh();
  apply(u);
  scrollPrintPage->verticalScrollBar()->setValue(0);
}

void PrintPageTab::imgPrintPageMouseDown(QPoint at, Qt::MouseButton button) {
  if (Guard.active()) return;
  PrintUpdate u =
      Bench.apply(PlayTab::Print, [&] { return Model.press(at.x(), at.y(), pressButton(button)); });
  if (u.Question) {
    if (!Ask.ask(Window, QString::fromStdString(u.Question->Text), u.Question->DefaultYes)) return;
    u = Bench.apply(PlayTab::Print,
                    [&] { return Model.press(at.x(), at.y(), pressButton(button), true); });
  }
  if (u.OpenMenu) {
    // On an empty cell only the commands on the whole page are offered.
    const bool held = Model.itemToSend() != nullptr;
    const bool chord = held && Model.itemToSend()->IsChord != 0;
    for (QAction* a : {PlayDiagram, Delete, Move}) a->setEnabled(held);
    SendToScale->setEnabled(held && !chord);
    SendToDesign->setEnabled(chord);
    SendToPlay->setEnabled(chord);
    popmenuPrint->popup(imgPrintPage->mapToGlobal(at));
    return;
  }
  apply(u);
}

void PrintPageTab::pmenu3PlayDiagramClick() {
  if (!itemToSend()) return;
  apply(Model.takePressed());
  emit playDiagramChosen();
}

void PrintPageTab::pmenu3FillClick() {
  if (Guard.active()) return;
  const std::vector<TChordDiagram> legend = playPageLegend(State.PlayPage);
  if (legend.empty()) {
    Ask.message(Window, QStringLiteral("The PlayPage has no chords."));
    return;
  }
  int leftOut = 0;
  apply(Bench.apply(PlayTab::Print, [&] { return Model.fill(legend, leftOut); }));
  if (leftOut > 0)
    Ask.message(Window, leftOut == 1 ? QStringLiteral("One chord did not fit on the page and was "
                                                      "left out.")
                                     : QStringLiteral("%1 chords did not fit on the page and were "
                                                      "left out.")
                                           .arg(leftOut));
}

void PrintPageTab::pmenu3MoveClick() {
  apply(Bench.apply(PlayTab::Print, [this] { return Model.move(); }));
}

void PrintPageTab::pmenu3DeleteClick() {
  PrintUpdate u = Bench.apply(PlayTab::Print, [this] { return Model.remove(); });
  if (u.Question) {
    if (!Ask.ask(Window, QString::fromStdString(u.Question->Text), u.Question->DefaultYes)) return;
    u = Bench.apply(PlayTab::Print, [this] { return Model.remove(true); });
  }
  apply(u);
}

void PrintPageTab::loadPage(const TPrintDiagram (&page)[PrintPageColumns][PrintPageRows]) {
  apply(Model.load(page));
}
