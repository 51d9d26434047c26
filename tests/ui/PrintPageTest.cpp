#include <QMenu>
#include <QtTest>
#include <cstring>

#include "MidiRig.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "music/DiagramConvert.h"
#include "ui/PrintPageTab.h"

namespace {

TPrintDiagram chordItem(const char* name, int fret) {
  TChordDiagram c = startFingering();
  c.ChordName = name;
  for (int s = 0; s < 6; ++s) {
    c.Strings[s] = {static_cast<std::uint8_t>(fret), FingerCode::Fretted};
    c.Notes[s] = static_cast<std::uint8_t>(c.Tuning[s] + fret);
  }
  TPrintDiagram item{};
  chordToPrintItem(c, item);
  return item;
}

TPrintDiagram scaleItem(int startFret) {
  TScaleDiagram s{};
  s.ScaleName = "Dorian";
  const std::uint8_t degrees[10] = {0, 2, 3, 5, 7, 9, 10, 99, 99, 99};
  std::memcpy(s.Intervals, degrees, sizeof degrees);
  std::memcpy(s.Tuning, startFingering().Tuning, sizeof s.Tuning);
  TPrintDiagram item{};
  scaleToPrintItem(s, item);
  item.BaseFret = static_cast<std::uint8_t>(startFret);
  return item;
}

bool same(const TPrintDiagram& a, const TPrintDiagram& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

QPoint cell(int c, int r) {
  return {120 * c + 70, 160 * r + 90};
}

void sendAndPress(MainWindow& w, const TPrintDiagram& item, QPoint at) {
  w.state().PrintMoveBuffer = item;
  w.printPage()->setPlacing(true);
  clickAt(w, "imgPrintPage", at);
}

void menuAt(MainWindow& w, int c, int r, const char* command) {
  clickAt(w, "imgPrintPage", cell(c, r), Qt::RightButton);
  child<QMenu>(w, "popmenuPrint")->hide();
  trigger(w, command);
}

QImage cellPicture(MainWindow& w, int c, int r) {
  return child<SurfaceView>(w, "imgPrintPage")->image().copy(120 * c + 20, 160 * r + 2, 120, 158);
}

// The red frame's top-left corner is at (120c + 22, 160r + 41).
bool framed(MainWindow& w, int c, int r) {
  return cellPicture(w, c, r).pixelColor(2, 39) == QColor(255, 0, 0);
}

}  // namespace

class PrintPageTest : public QObject {
  Q_OBJECT

 private slots:
  void menuItemsFollowTheItemKind() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    sendAndPress(w, chordItem("A", 2), cell(0, 0));
    sendAndPress(w, scaleItem(7), cell(1, 0));
    QMenu* menu = child<QMenu>(w, "popmenuPrint");
    const auto enabled = [&](const char* name) { return action(*menu, name)->isEnabled(); };
    clickAt(w, "imgPrintPage", cell(1, 0), Qt::RightButton);
    QVERIFY(menu->isVisible());
    QVERIFY(enabled("pmenu3SendtoScale") && !enabled("pmenu1SendtoDesign") &&
            !enabled("pmenu1SendtoPlay"));
    menu->hide();
    clickAt(w, "imgPrintPage", cell(0, 0), Qt::RightButton);
    menu->hide();
    QVERIFY(!enabled("pmenu3SendtoScale") && enabled("pmenu1SendtoDesign") &&
            enabled("pmenu1SendtoPlay"));
    QSignalSpy toDesign(w.printPage(), &PrintPageTab::sendToDesignChosen);
    action(*menu, "pmenu1SendtoDesign")->trigger();
    QCOMPARE(toDesign.count(), 1);
    clickAt(w, "imgPrintPage", cell(2, 2), Qt::RightButton);  // empty cell
    QVERIFY(!menu->isVisible() && w.printPage()->itemToSend() == nullptr);
  }

  // Move from the menu lands with a press; a tab change puts it back.
  void aMoveLandsOrGoesBackOnATabChange() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    PrintPageTab* page = w.printPage();
    const TPrintDiagram a = chordItem("A", 2);
    sendAndPress(w, a, cell(0, 0));
    const QImage before = cellPicture(w, 0, 0);
    menuAt(w, 0, 0, "pmenu3Move");
    QVERIFY(isEmpty(w.state().PrintPage[0][0]) && page->moving());
    QCOMPARE(child<SurfaceView>(w, "imgPrintPage")->pointerShape(), 6);
    clickTab(w, int(PlayTab::Scales));
    clickTab(w, int(PlayTab::Print));
    QVERIFY(!page->placing() && same(w.state().PrintPage[0][0], a));
    QCOMPARE(cellPicture(w, 0, 0), before);
    menuAt(w, 0, 0, "pmenu3Move");
    clickAt(w, "imgPrintPage", cell(4, 2));
    QVERIFY(same(w.state().PrintPage[4][2], a) && isEmpty(w.state().PrintPage[0][0]));
    QVERIFY(framed(w, 4, 2) && !page->placing());
    QCOMPARE(child<SurfaceView>(w, "imgPrintPage")->pointerShape(), 0);
  }

  // Delete asks first (No the default); the last item takes the page with it:
  // its file name and the caption too.
  void deleteAsksAndTheLastItemEmptiesThePage() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    PrintPageTab* page = w.printPage();
    const TPrintDiagram a = chordItem("A", 2), s = scaleItem(3);
    sendAndPress(w, s, cell(4, 1));
    sendAndPress(w, a, cell(1, 3));
    w.state().lastPageFile(PlayTab::Print) = "sheet.prf";
    ask.answers = {false, true, true};
    menuAt(w, 1, 3, "pmenu3Delete");
    QVERIFY(!isEmpty(w.state().PrintPage[1][3]));
    QCOMPARE(ask.questions.last(), QString("Do you want to erase this diagram?"));
    QCOMPARE(ask.defaults.last(), false);
    menuAt(w, 1, 3, "pmenu3Delete");
    QCOMPARE(page->selectedCell(), QPoint(4, 1));
    QVERIFY(same(w.state().SelectedPrintItem, s) && framed(w, 4, 1));
    clickTab(w, int(PlayTab::Chords));
    clickTab(w, int(PlayTab::Print));
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!   sheet.prf"));
    menuAt(w, 4, 1, "pmenu3Delete");
    QVERIFY(!page->hasItems() && isEmpty(w.state().SelectedPrintItem));
    QVERIFY(w.state().lastPageFile(PlayTab::Print).empty());
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!"));
    QCOMPARE(child<SurfaceView>(w, "imgPrintPage")->image().pixelColor(120 * 4 + 22, 160 + 41),
             QColor(Qt::white));
  }

  void playDiagramMovesTheFrameFirst() {
    MidiRig rig;
    MainWindow& w = rig.window;
    w.showTab(PlayTab::Print);
    sendAndPress(w, chordItem("A", 2), cell(0, 0));
    sendAndPress(w, scaleItem(7), cell(3, 2));
    clickAt(w, "imgPrintPage", cell(0, 0));
    menuAt(w, 3, 2, "pmenu3PlayDiagram");
    QVERIFY(framed(w, 3, 2) && !framed(w, 0, 0));
    QVERIFY(same(w.state().SelectedPrintItem, w.state().PrintPage[3][2]));
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    rig.runUntil(20'000'000);
    const int scaleNotes = rig.sent("send 90");
    QVERIFY(scaleNotes > 7);  // a position of a seven-note scale
    menuAt(w, 0, 0, "pmenu3PlayDiagram");
    rig.runUntil(40'000'000);
    QCOMPARE(rig.sent("send 90") - scaleNotes, 6);  // six strings struck once
  }
};

QTEST_MAIN(PrintPageTest)
#include "PrintPageTest.moc"
