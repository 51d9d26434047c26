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
  // Delete from the pop-up menu asks first; the last item takes the page
  // with it, its file name and the caption too, and leaves no frame.
  void deletingTheLastItemEmptiesThePage() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    sendAndPress(w, scaleItem(3), cell(4, 1));
    w.state().lastPageFile(PlayTab::Print) = "sheet.prf";
    clickTab(w, int(PlayTab::Chords));
    clickTab(w, int(PlayTab::Print));
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!   sheet.prf"));
    ask.answers = {true};
    menuAt(w, 4, 1, "pmenu3Delete");
    QCOMPARE(ask.questions, QStringList{QStringLiteral("Do you want to erase this diagram?")});
    QVERIFY(!w.printPage()->hasItems() && isEmpty(w.state().SelectedPrintItem));
    QVERIFY(w.state().lastPageFile(PlayTab::Print).empty());
    QCOMPARE(w.windowTitle(), QStringLiteral("Strumbo!"));
    QVERIFY(!framed(w, 4, 1));
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
