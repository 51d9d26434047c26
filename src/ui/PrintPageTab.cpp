#include "ui/PrintPageTab.h"

#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>

#include "render/PageCells.h"
#include "render/PageDrawer.h"
#include "ui/BusyGuard.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpContext.h"
#include "ui/Prompter.h"
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
      Window(parent) {
  popmenuPrint = new QMenu(parent);
  popmenuPrint->setObjectName(QStringLiteral("popmenuPrint"));
  setHelpContext(popmenuPrint, 360);
  const auto item = [this](const char* caption, const char* name) {
    QAction* a = popmenuPrint->addAction(QLatin1String(caption));
    a->setObjectName(QLatin1String(name));
    return a;
  };
  connect(item("Play Diagram", "pmenu3PlayDiagram"), &QAction::triggered, this,
          &PrintPageTab::pmenu3PlayDiagramClick);
  SendToPlay = item("Send To PlayPage", "pmenu1SendtoPlay");
  connect(SendToPlay, &QAction::triggered, this, &PrintPageTab::sendToPlayChosen);
  SendToDesign = item("Send To Chord Design", "pmenu1SendtoDesign");
  connect(SendToDesign, &QAction::triggered, this, &PrintPageTab::sendToDesignChosen);
  SendToScale = item("Send To Scale Page", "pmenu3SendtoScale");
  connect(SendToScale, &QAction::triggered, this, &PrintPageTab::sendToScaleChosen);
  connect(item("Delete", "pmenu3Delete"), &QAction::triggered, this,
          &PrintPageTab::pmenu3DeleteClick);
  connect(item("Move", "pmenu3Move"), &QAction::triggered, this, &PrintPageTab::pmenu3MoveClick);

  connect(surface, &SurfaceView::pressed, this, &PrintPageTab::imgPrintPageMouseDown);
  connect(surface, &SurfaceView::moved, this, [this] { Fretboard->clearHoverReadout(); });
}

bool PrintPageTab::pressedInGrid() const {
  return Frame.Column >= 0 && Frame.Column < PrintPageColumns && Frame.Row >= 0 &&
         Frame.Row < PrintPageRows;
}

const TPrintDiagram* PrintPageTab::itemToSend() const {
  if (!pressedInGrid()) return nullptr;
  const TPrintDiagram& item = State.PrintPage[Frame.Column][Frame.Row];
  return isEmpty(item) ? nullptr : &item;
}

bool PrintPageTab::placing() const {
  return imgPrintPage->pointerShape() != 0;
}

void PrintPageTab::setPlacing(bool on) {
  // A newly sent item takes the place of a move in progress, which must not
  // lose the moved item.
  cancelPointers();
  if (on) imgPrintPage->setPointerShape(5);
}

void PrintPageTab::endMove() {
  if (!MoveSource) return;
  const auto [c, r] = *MoveSource;
  MoveSource.reset();
  State.PrintPage[c][r] = MovedItem;
  PageCells::drawPrintItem(imgPrintPage->image(), MovedItem, c, r, State.Names);
  if (c == SelectedColumn && r == SelectedRow) frameSelectedCell();
  imgPrintPage->refresh();
  imgPrintPage->setPointerShape(0);
}

void PrintPageTab::cancelPointers() {
  endMove();
  imgPrintPage->setPointerShape(0);
}

bool PrintPageTab::hasItems() const {
  return PrintGrid::firstItem(State.PrintPage).has_value();
}

void PrintPageTab::erase() {
  // A move in progress belonged to the page that is now gone.
  MoveSource.reset();
  ClearSurface(imgPrintPage->image());
  imgPrintPage->refresh();
  for (auto& column : State.PrintPage)
    for (auto& item : column) item.Empty = 1;
  State.SelectedPrintItem.Empty = 1;
  scrollPrintPage->verticalScrollBar()->setValue(0);
}

void PrintPageTab::imgPrintPageMouseDown(QPoint at, Qt::MouseButton button) {
  if (Guard.active()) return;
  const auto cell = PrintGrid::cellAt(at.x(), at.y());
  if (!cell) return;
  const int c = cell->Column, r = cell->Row;
  Frame.Column = c;
  Frame.Row = r;
  const TPrintDiagram& item = State.PrintPage[c][r];

  if (!placing()) {
    if (isEmpty(item)) return;
    if (button == Qt::RightButton) {
      const bool chord = item.IsChord != 0;
      SendToScale->setEnabled(!chord);
      SendToDesign->setEnabled(chord);
      SendToPlay->setEnabled(chord);
      popmenuPrint->popup(imgPrintPage->mapToGlobal(at));
      return;
    }
    if (c != SelectedColumn || r != SelectedRow) selectCell(c, r);
    return;
  }

  if (isEmpty(State.PrintMoveBuffer) || button == Qt::RightButton) {
    cancelPointers();
    return;
  }
  if (!isEmpty(item) &&
      !Ask.ask(Window, QStringLiteral("Do you want to replace this diagram?"), true))
    return;
  place(c, r);
}

void PrintPageTab::place(int c, int r) {
  MoveSource.reset();
  State.PrintPage[c][r] = State.PrintMoveBuffer;
  State.PrintPageChanged = true;
  PageCells::drawPrintItem(imgPrintPage->image(), State.PrintPage[c][r], c, r, State.Names);
  selectCell(c, r);
}

void PrintPageTab::selectCell(int c, int r) {
  State.SelectedPrintItem = State.PrintPage[c][r];
  Fretboard->showPrintItem(State.SelectedPrintItem);
  SelectedColumn = c;
  SelectedRow = r;
  frameSelectedCell();
  imgPrintPage->refresh();
  imgPrintPage->setPointerShape(0);
}

void PrintPageTab::frameSelectedCell() {
  const int pressedColumn = Frame.Column, pressedRow = Frame.Row;
  Frame.Column = SelectedColumn;
  Frame.Row = SelectedRow;
  MoveSelectionFrame(imgPrintPage->image(), Frame, PrintPageFrame);
  Frame.Column = pressedColumn;
  Frame.Row = pressedRow;
}

void PrintPageTab::pmenu3PlayDiagramClick() {
  if (!itemToSend()) return;
  if (pressedCell() != selectedCell()) {
    SelectedColumn = Frame.Column;
    SelectedRow = Frame.Row;
    frameSelectedCell();
    imgPrintPage->refresh();
    State.SelectedPrintItem = State.PrintPage[SelectedColumn][SelectedRow];
  }
  emit playDiagramChosen();
}

void PrintPageTab::pmenu3MoveClick() {
  if (!itemToSend()) return;
  const int c = Frame.Column, r = Frame.Row;
  MovedItem = State.PrintPage[c][r];
  State.PrintMoveBuffer = MovedItem;
  PageCells::wipePrintCell(imgPrintPage->image(), c, r);
  imgPrintPage->refresh();
  State.PrintPage[c][r].Empty = 1;
  MoveSource = PrintGrid::Cell{c, r};
  imgPrintPage->setPointerShape(6);
}

void PrintPageTab::pmenu3DeleteClick() {
  if (!pressedInGrid()) return;
  const int c = Frame.Column, r = Frame.Row;
  TPrintDiagram& item = State.PrintPage[c][r];
  if (!isEmpty(item) &&
      !Ask.ask(Window, QStringLiteral("Do you want to erase this diagram?"), false))
    return;
  PageCells::wipePrintCell(imgPrintPage->image(), c, r);
  imgPrintPage->refresh();
  item.Empty = 1;
  State.PrintPageChanged = true;
  if (c != SelectedColumn || r != SelectedRow) return;
  const auto first = PrintGrid::firstItem(State.PrintPage);
  if (!first) {
    emit pageEmptied();
    return;
  }
  Frame.Column = first->Column;
  Frame.Row = first->Row;
  selectCell(first->Column, first->Row);
}

void PrintPageTab::loadPage(const TPrintDiagram (&page)[PrintPageColumns][PrintPageRows]) {
  std::copy(&page[0][0], &page[0][0] + PrintPageColumns * PrintPageRows, &State.PrintPage[0][0]);
  PageContents contents;
  contents.Kind = PageKind::Print;
  std::copy(&page[0][0], &page[0][0] + PrintPageColumns * PrintPageRows, &contents.PrintPage[0][0]);
  const DrawnPage drawn = drawPage(contents, std::nullopt, State.Names);
  imgPrintPage->setImage(drawn.Surface);
  if (!drawn.Frame) return;
  // The drawing framed the first item; the frame's rectangle is taken over so
  // that framing it again wipes nothing of the page just drawn.
  Frame = *drawn.Frame;
  selectCell(Frame.Column, Frame.Row);
}
