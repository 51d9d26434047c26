#include "ui/ChordsTab.h"

#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>

#include "library/LibraryFiles.h"
#include "library/MenuTables.h"
#include "render/PageDrawer.h"
#include "render/SurfaceText.h"
#include "ui/BusyGuard.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpContext.h"
#include "ui/LibraryMessages.h"
#include "ui/Prompter.h"
#include "ui/SurfaceView.h"

ChordsTab::ChordsTab(Workbench& bench, const BusyGuard& guard, Prompter& prompter,
                     SurfaceView* surface, QScrollArea* scroll, FretboardPanel* fretboard,
                     QWidget* parent)
    : QObject(parent),
      Bench(bench),
      State(bench.State),
      Guard(guard),
      Ask(prompter),
      imgChordPage(surface),
      scrollChordPage(scroll),
      Fretboard(fretboard),
      Window(parent) {
  popmenuChords = new QMenu(parent);
  popmenuChords->setObjectName(QStringLiteral("popmenuChords"));
  setHelpContext(popmenuChords, 350);
  QAction* play = popmenuChords->addAction(QStringLiteral("Play Chord"));
  play->setObjectName("pmenu1PlayChord");
  connect(play, &QAction::triggered, this, &ChordsTab::playChordChosen);
  popmenuChords->addAction(QStringLiteral("Send to Chord Design"))
      ->setObjectName("pmenu1SendtoDesign");
  QAction* send = popmenuChords->addAction(QStringLiteral("Send to PlayPage"));
  send->setObjectName("pmenu1SendtoPlay");
  connect(send, &QAction::triggered, this, &ChordsTab::sendToPlayChosen);
  popmenuChords->addAction(QStringLiteral("Send to Print Page"))
      ->setObjectName("pmenu1SendtoPrint");
  popmenuChords->addAction(QStringLiteral("Show Arpeggio"))->setObjectName("menu1Arpeggio");

  connect(surface, &SurfaceView::pressed, this, &ChordsTab::imgChordPageMouseDown);
  connect(surface, &SurfaceView::moved, this, [this] { imgChordPageMouseMove(); });
}

bool ChordsTab::showChords() {
  if (State.ChordSetCount >= ChordPageRows) {
    Ask.message(Window, QStringLiteral("Maximum is 5 sets of chords. Clear the Chord page."));
    return false;
  }
  TChordDiagram set[6];
  TChordFormula formula{};
  const LibraryResult read =
      readChordSet(State.ExeDir, State.ChordFamily, State.ChordType, State.Key, set, formula);
  if (!libraryReadOk(Ask, Window, read, QStringLiteral("Could Not Find Chord Data Files.")))
    return false;

  const int r = State.ChordSetCount;
  for (int c = 0; c < 6; ++c) State.ChordPage[c][r] = set[c];
  scrollChordPage->verticalScrollBar()->setValue(150 * r);

  QImage& surface = imgChordPage->image();
  for (int c = 0; c < 6; ++c) DrawSmallChord(surface, set[c], c, r, SmallPage::Chords);
  // Named as the menu names the type ("maj9#5"), not by the dictionary's
  // shorter record name ("ma9#5"); the read above has checked family and type.
  const std::string_view type =
      ChordFamilies[State.ChordFamily - 1].types[static_cast<std::size_t>(State.ChordType)];
  SurfaceText::drawChordSetHeader(surface, set[0], type, r, State.Names);
  Frame.Column = 0;
  Frame.Row = r;
  MoveSelectionFrame(surface, Frame, ChordsPageFrame);
  imgChordPage->refresh();

  State.SelectedChord = State.ChordPage[0][r];
  Fretboard->ShowDiagram(State.SelectedChord);
  CurrentColumn = 0;
  CurrentRow = r;
  State.ChordSetCount = r + 1;
  return true;
}

void ChordsTab::imgChordPageMouseDown(QPoint at, Qt::MouseButton button) {
  if (Guard.active() || at.x() > 740 || at.y() > 770) return;
  // Truncation toward zero: a press left of the first column still hits it.
  const int c = (at.x() - 20) / 120;
  const int r = (at.y() - 20) / 150;
  CurrentColumn = c;
  CurrentRow = r;
  if (c < 0 || c > 5 || r < 0 || r > 4 || r >= State.ChordSetCount) return;

  if (button == Qt::RightButton) {
    popmenuChords->popup(imgChordPage->mapToGlobal(at));
    return;
  }
  if (button != Qt::LeftButton) return;
  if (c == Frame.Column && r == Frame.Row) return;
  selectCell(c, r);
}

void ChordsTab::selectCell(int c, int r) {
  if (c < 0 || c >= ChordPageColumns || r < 0 || r >= State.ChordSetCount) return;
  Frame.Column = c;
  Frame.Row = r;
  MoveSelectionFrame(imgChordPage->image(), Frame, ChordsPageFrame);
  imgChordPage->refresh();
  State.SelectedChord = State.ChordPage[c][r];
  Fretboard->ShowDiagram(State.SelectedChord);
}

void ChordsTab::imgChordPageMouseMove() {
  Fretboard->clearHoverReadout();
}

void ChordsTab::erase() {
  ClearSurface(imgChordPage->image());
  imgChordPage->refresh();
  for (auto& column : State.ChordPage)
    for (auto& d : column) d.Empty = 1;
  State.ChordSetCount = 0;
  Frame = SelectionFrame{0, 0, 0, 0, -1, -1};
  CurrentColumn = CurrentRow = 0;
}

const TChordDiagram* ChordsTab::diagramToSend() const {
  if (CurrentColumn < 0 || CurrentColumn >= ChordPageColumns || CurrentRow < 0 ||
      CurrentRow >= ChordPageRows)
    return nullptr;
  const TChordDiagram& d = State.ChordPage[CurrentColumn][CurrentRow];
  return isEmpty(d) ? nullptr : &d;
}

void ChordsTab::enableArpeggioCommand() {
  auto* arpeggio = popmenuChords->findChild<QAction*>(QStringLiteral("menu1Arpeggio"));
  if (arpeggio)
    connect(arpeggio, &QAction::triggered, this, &ChordsTab::arpeggioChosen, Qt::UniqueConnection);
}

void ChordsTab::loadPage(const TChordDiagram (&page)[ChordPageColumns][ChordPageRows]) {
  PageContents contents;
  contents.Kind = PageKind::Chord;
  std::copy(&page[0][0], &page[0][0] + ChordPageColumns * ChordPageRows, &contents.ChordPage[0][0]);
  const DrawnPage drawn = drawPage(contents, std::nullopt, State.Names);
  // Sets are saved from the top, so the first empty diagram ends the page.
  bool ended = false;
  for (int r = 0; r < ChordPageRows && !ended; ++r)
    for (int c = 0; c < ChordPageColumns && !ended; ++c) {
      ended = isEmpty(page[c][r]);
      if (!ended) State.ChordPage[c][r] = page[c][r];
    }
  State.ChordSetCount = drawn.Rows;
  imgChordPage->setImage(drawn.Surface);
  if (!drawn.Frame) return;
  Frame = *drawn.Frame;
  CurrentColumn = CurrentRow = 0;
  selectCell(0, 0);
}
