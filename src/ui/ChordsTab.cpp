#include "ui/ChordsTab.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>

#include "library/LibraryFiles.h"
#include "library/MenuTables.h"
#include "pages/DiagramText.h"
#include "render/PageCells.h"
#include "render/PageDrawer.h"
#include "render/SurfaceText.h"
#include "ui/BusyGuard.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpContext.h"
#include "ui/LibraryMessages.h"
#include "ui/PageLookOf.h"
#include "ui/PagePress.h"
#include "ui/Prompter.h"
#include "ui/RecordText.h"
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
      Window(parent),
      Model(bench.Chords) {
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
  surface->setKeyStepper([this](KeyStep::Key key) -> std::optional<PagePoint> {
    const auto cell = KeyStep::step(Model.framed(), key, ChordPageColumns, Model.setCount());
    if (!cell) return std::nullopt;
    return KeyStep::smallPagePoint(SmallPage::Chords, *cell);
  });
  connect(surface, &SurfaceView::moved, this, [this] { imgChordPageMouseMove(); });
  surface->installEventFilter(this);
}

bool ChordsTab::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
  auto* help = static_cast<QHelpEvent*>(event);
  const std::string ease = Model.easeAt(help->pos().x(), help->pos().y());
  if (ease.empty())
    QToolTip::hideText();
  else
    QToolTip::showText(help->globalPos(), QString::fromStdString(ease), imgChordPage);
  return true;
}

bool ChordsTab::showChords() {
  TChordFormula formula{};
  const auto read = [this, &formula](TChordDiagram(&set)[6]) {
    return readChordSet(State.ExeDir, State.ChordFamily, State.ChordType, State.Key, set, formula);
  };
  const ChordsUpdate u =
      Bench.apply(PlayTab::Chords, [&] { return Model.showChords(read, State.EasiestFirst); });
  if (!u.DrawSet) return apply(u);
  // Named as the menu names the type ("maj9#5"), not by the dictionary's
  // shorter record name ("ma9#5"); the read has checked family and type.
  return apply(
      u, ChordFamilies[State.ChordFamily - 1].types[static_cast<std::size_t>(State.ChordType)]);
}

bool ChordsTab::apply(const ChordsUpdate& u, std::string_view header) {
  if (!u.Message.empty()) {
    Ask.message(Window, QString::fromStdString(u.Message));
    return false;
  }
  if (u.ReadFailed) {
    libraryReadOk(Ask, Window, *u.ReadFailed, QStringLiteral("Could Not Find Chord Data Files."));
    return false;
  }
  if (u.ScrollToRow)
    scrollChordPage->verticalScrollBar()->setValue(
        SmallGeometry::rowScroll(SmallPage::Chords, *u.ScrollToRow));
  QImage& surface = imgChordPage->image();
  if (u.RedrawPage) redrawPage();
  if (u.DrawSet) {
    const int r = *u.DrawSet;
    for (int c = 0; c < ChordPageColumns; ++c)
      DrawSmallChord(surface, State.ChordPage[c][r], c, r, SmallPage::Chords,
                     pageLookOf(State).Style);
    SurfaceText::drawChordSetHeader(surface, State.ChordPage[0][r], header, r, State.shownNames());
  }
  if (u.Frame) {
    Frame.Column = u.Frame->Column;
    Frame.Row = u.Frame->Row;
    MoveSelectionFrame(surface, Frame, ChordsPageFrame);
  }
  if (u.RedrawPage || u.DrawSet || u.Frame) imgChordPage->refresh();
  if (u.ShowChord) Fretboard->ShowDiagram(State.SelectedChord);
  announceSelection();
  return true;
}

void ChordsTab::imgChordPageMouseDown(QPoint at, Qt::MouseButton button) {
  if (Guard.active()) return;
  const ChordsUpdate u = Model.press(at.x(), at.y(), pressButton(button));
  if (u.OpenMenu) popmenuChords->popup(imgChordPage->mapToGlobal(at));
  apply(u);
}

void ChordsTab::announceSelection() {
  const SmallCell f = Model.framed();
  imgChordPage->setSpokenText(
      f.Row < 0 ? QStringLiteral("No chord chosen")
                : QStringLiteral("Set %1, diagram %2: ").arg(f.Row + 1).arg(f.Column + 1) +
                      qs(DiagramText::spokenChord(State.SelectedChord, State.shownNames())));
}

void ChordsTab::selectCell(int c, int r) {
  apply(Model.select({c, r}));
}

void ChordsTab::imgChordPageMouseMove() {
  Fretboard->clearHoverReadout();
}

void ChordsTab::showErased() {
  ClearSurface(imgChordPage->image());
  imgChordPage->refresh();
  Frame = SelectionFrame{0, 0, 0, 0, -1, -1};
}

void ChordsTab::restyle() {
  QImage& surface = imgChordPage->image();
  const PageLook look = pageLookOf(State);
  const int pitch = SmallGeometry::rowPitch(SmallPage::Chords);
  for (int r = 0; r < ChordPageRows; ++r) {
    if (isEmpty(State.ChordPage[0][r])) continue;
    TChordDiagram set[ChordPageColumns];
    for (int c = 0; c < ChordPageColumns; ++c) set[c] = State.ChordPage[c][r];
    // A shorter name must not leave the end of the longer one standing.
    QPainter(&surface).fillRect(0, pitch * r, surface.width(), pitch, Qt::white);
    PageCells::drawChordSet(surface, set, r, look);
  }
  if (Frame.Right > Frame.Left) MoveSelectionFrame(surface, Frame, ChordsPageFrame);
  imgChordPage->refresh();
}

void ChordsTab::showRestored(const ChordsUpdate& u) {
  // The picture is drawn afresh, so no old frame is left to wipe.
  Frame = SelectionFrame{0, 0, 0, 0, -1, -1};
  apply(u);
}

void ChordsTab::enableArpeggioCommand() {
  auto* arpeggio = popmenuChords->findChild<QAction*>(QStringLiteral("menu1Arpeggio"));
  if (arpeggio)
    connect(arpeggio, &QAction::triggered, this, &ChordsTab::arpeggioChosen, Qt::UniqueConnection);
}

void ChordsTab::loadPage(const TChordDiagram (&page)[ChordPageColumns][ChordPageRows]) {
  apply(Model.load(page));
}

void ChordsTab::redrawPage() {
  const DrawnPage drawn = drawPage(Bench.contents(PageKind::Chord), std::nullopt, pageLookOf(State),
                                   imgChordPage->pixelRatio());
  imgChordPage->setImage(drawn.Surface);
  // The drawn page is framed where a fresh load frames it; the update moves
  // the frame on from there.
  if (drawn.Frame) Frame = *drawn.Frame;
}
