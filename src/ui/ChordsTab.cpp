#include "ui/ChordsTab.h"

#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <string>
#include <utility>
#include <vector>

#include "library/LibraryFiles.h"
#include "library/MenuTables.h"
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

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The menu's caption of each chord type by its dictionary record's name, so
// a loaded set is headed as Show Chords headed it. Read once per load; what
// cannot be read is left out, and such a set keeps the record's own name.
std::vector<std::pair<std::string, std::string_view>> menuTypeNames(const std::string& dir) {
  std::vector<std::pair<std::string, std::string_view>> names;
  for (const ChordFamilyMenu& family : ChordFamilies)
    for (int t = 0; t < family.typeCount; ++t) {
      TChordFormula formula{};
      if (readChordFormula(dir, family.dictionaryBase + t, formula).Status != LibraryStatus::Ok)
        return names;
      names.emplace_back(std::string(trimmed(formula.Name.view())), family.types[t]);
    }
  return names;
}

}  // namespace

void ChordsTab::loadPage(const TChordDiagram (&page)[ChordPageColumns][ChordPageRows]) {
  QImage& surface = imgChordPage->image();
  const auto typeNames = menuTypeNames(State.ExeDir);
  const auto typeName = [&typeNames](std::string_view recordName) {
    recordName = trimmed(recordName);
    for (const auto& [record, menu] : typeNames)
      if (record == recordName) return std::string(menu);
    return std::string(recordName);
  };
  // Sets are saved from the top, so the first empty diagram ends the page.
  bool ended = false;
  for (int r = 0; r < ChordPageRows && !ended; ++r) {
    for (int c = 0; c < ChordPageColumns && !ended; ++c) {
      ended = isEmpty(page[c][r]);
      if (ended) break;
      State.ChordPage[c][r] = page[c][r];
      DrawSmallChord(surface, page[c][r], c, r, SmallPage::Chords);
    }
    if (ended) break;
    SurfaceText::drawChordSetHeader(surface, State.ChordPage[0][r],
                                    typeName(State.ChordPage[0][r].ChordName.view()), r,
                                    State.Names);
    State.ChordSetCount = r + 1;
  }
  imgChordPage->refresh();
  if (State.ChordSetCount == 0) return;
  CurrentColumn = CurrentRow = 0;
  selectCell(0, 0);
}
