#include "ui/ScalesTab.h"

#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>

#include "library/LibraryFiles.h"
#include "library/MenuTables.h"
#include "music/DiagramConvert.h"
#include "render/PageDrawer.h"
#include "render/SurfaceText.h"
#include "ui/BeginFretDialog.h"
#include "ui/BusyGuard.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpContext.h"
#include "ui/LibraryMessages.h"
#include "ui/Prompter.h"
#include "ui/SurfaceView.h"

namespace {

constexpr std::uint8_t DefaultStartFrets[6] = {1, 4, 7, 10, 13, 17};

void setDefaultStartFrets(TScaleDiagram& scale) {
  std::copy(std::begin(DefaultStartFrets), std::end(DefaultStartFrets), scale.StartFrets);
}

}  // namespace

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
      Window(parent) {
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
  connect(surface, &SurfaceView::moved, this, [this] { Fretboard->clearHoverReadout(); });
}

bool ScalesTab::placing() const {
  return imgScales->pointerShape() == 5;
}
void ScalesTab::setPlacing(bool on) {
  imgScales->setPointerShape(on ? 5 : 0);
}

void ScalesTab::showScale() {
  if (State.ScaleChoice < 0 || State.ScaleChoice >= int(ScaleMenuNames.size())) return;
  if (State.ScaleCount >= ScalePageSize) {
    Ask.message(Window, QStringLiteral("Maximum is 5 sets of scales. Clear the Scale page."));
    return;
  }
  TScaleFormula formula{};
  const LibraryResult read = readScaleFormula(State.ExeDir, State.ScaleChoice, formula);
  if (!libraryReadOk(Ask, Window, read, QStringLiteral("Could Not Find Scale Data File."))) return;

  const int n = State.ScaleCount;
  TScaleDiagram& sc = State.ScalePage[n];
  sc = TScaleDiagram{};
  sc.Empty = 0;
  std::copy(std::begin(formula.Intervals), std::end(formula.Intervals), sc.Intervals);
  sc.Formula = formula.Formula;
  // The name comes from the menu table: the tool bar only shows it.
  sc.ScaleName = ScaleMenuNames[static_cast<std::size_t>(State.ScaleChoice)];
  const std::string typed = Fretboard->typedTuningName();
  if (!typed.empty()) {
    sc.TuningName = typed;
  } else {
    std::string name;
    for (int s = 5; s >= 0; --s) {
      name += ' ';
      name += State.Names.pitchName(State.CurrentTuning[s]);
      if (name.size() > 15) name.resize(15);
    }
    sc.TuningName = name;
  }
  std::copy(State.CurrentTuning.begin(), State.CurrentTuning.end(), sc.Tuning);
  sc.Root = static_cast<std::uint8_t>(pitchClass(State.Key));
  setDefaultStartFrets(sc);
  DrawScaleRow(n);
  State.ScaleCount = n + 1;
}

void ScalesTab::DrawScaleRow(int r) {
  if (r < 0 || r >= ScalePageSize) return;
  scrollScales->verticalScrollBar()->setValue(150 * r);
  QImage& surface = imgScales->image();
  const TScaleDiagram& sc = State.ScalePage[r];
  for (int c = 0; c < 6; ++c) DrawScalePosition(surface, sc, c, r, SmallPage::Scales);
  SurfaceText::drawScaleRowHeader(surface, sc, r, State.Names);
  Frame.Column = 0;
  Frame.Row = r;
  MoveSelectionFrame(surface, Frame, ScalesPageFrame);
  SelectedColumn = 0;
  SelectedRow = r;
  imgScales->refresh();
  State.CurrentScale = sc;
  Fretboard->ShowScaleOnFretboard(State.CurrentScale);
}

void ScalesTab::imgScalesMouseDown(QPoint at, Qt::MouseButton button) {
  if (Guard.active() || at.x() > 740 || at.y() > 770) return;
  const int c = (at.x() - 20) / 120;
  int r = (at.y() - 20) / 150;
  if (c < 0 || c > 5 || r < 0 || r > 4) return;
  Frame.Column = c;
  Frame.Row = r;

  if (placing()) {
    if (isEmpty(State.PrintMoveBuffer) || button == Qt::RightButton) {
      setPlacing(false);
      return;
    }
    if (!isEmpty(State.ScalePage[r]) &&
        !Ask.ask(Window, QStringLiteral("Do you want to replace this row of diagrams?"), true))
      return;
    if (r > State.ScaleCount) r = State.ScaleCount;
    const bool wasFree = isEmpty(State.ScalePage[r]);
    printItemToScale(State.PrintMoveBuffer, State.ScalePage[r]);
    setDefaultStartFrets(State.ScalePage[r]);
    DrawScaleRow(r);
    if (wasFree) State.ScaleCount += 1;
    setPlacing(false);
    return;
  }

  if (r >= State.ScaleCount) return;
  if (button == Qt::RightButton) {
    popmenuScales->popup(imgScales->mapToGlobal(at));
    return;
  }
  if (button != Qt::LeftButton || (c == SelectedColumn && r == SelectedRow)) return;
  selectPressedCell();
}

void ScalesTab::selectPressedCell() {
  const int c = Frame.Column, r = Frame.Row;
  if (c < 0 || c > 5 || r < 0 || r >= State.ScaleCount) return;
  SelectedColumn = c;
  SelectedRow = r;
  // The frame is moved from the last framed rectangle to the pressed cell.
  MoveSelectionFrame(imgScales->image(), Frame, ScalesPageFrame);
  imgScales->refresh();
  State.CurrentScale = State.ScalePage[r];
  Fretboard->ShowScaleOnFretboard(State.CurrentScale);
}

void ScalesTab::pmenu5StartFretClick() {
  const int c = Frame.Column, r = Frame.Row;
  if (c < 0 || c > 5 || r < 0 || r >= State.ScaleCount) return;
  TScaleDiagram& sc = State.ScalePage[r];
  BeginFretDialog dialog(Window);
  dialog.setFret(sc.StartFrets[c]);
  if (!Ask.execDialog(dialog)) return;
  const int v = dialog.fret();
  if (v < 1 || v > 17 || v == sc.StartFrets[c]) return;
  sc.StartFrets[c] = static_cast<std::uint8_t>(v);
  if (r == SelectedRow) State.CurrentScale.StartFrets[c] = static_cast<std::uint8_t>(v);
  QImage& surface = imgScales->image();
  DrawSmallScale(surface, sc, c, r, SmallPage::Scales);
  // The redraw may have covered the red frame; draw it again where it stands.
  SelectionFrame again = Frame;
  again.Column = SelectedColumn;
  again.Row = SelectedRow;
  MoveSelectionFrame(surface, again, ScalesPageFrame);
  imgScales->refresh();
}

void ScalesTab::erase() {
  ClearSurface(imgScales->image());
  imgScales->refresh();
  for (auto& d : State.ScalePage) d.Empty = 1;
  State.ScaleCount = 0;
  Frame = SelectionFrame{0, 0, 0, 0, 0, 0};
  SelectedColumn = SelectedRow = -1;
}

void ScalesTab::loadPage(const TScaleDiagram (&page)[ScalePageSize]) {
  PageContents contents;
  contents.Kind = PageKind::Scale;
  std::copy(std::begin(page), std::end(page), contents.ScalePage);
  const DrawnPage drawn = drawPage(contents, std::nullopt, State.Names);
  std::copy(std::begin(page), std::begin(page) + drawn.Rows, State.ScalePage);
  State.ScaleCount = drawn.Rows;
  imgScales->setImage(drawn.Surface);
  if (!drawn.Frame) return;
  // The last scale read is in hand, framed at its first position.
  Frame = *drawn.Frame;
  SelectedColumn = Frame.Column;
  SelectedRow = Frame.Row;
  scrollScales->verticalScrollBar()->setValue(150 * SelectedRow);
  State.CurrentScale = State.ScalePage[SelectedRow];
  Fretboard->ShowScaleOnFretboard(State.CurrentScale);
}
