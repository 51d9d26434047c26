#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>
#include <cstring>

#include "MidiRig.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "music/DiagramConvert.h"
#include "ui/MainWindow.h"
#include "ui/PrintPageTab.h"
#include "ui/SurfaceView.h"

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

TPrintDiagram scaleItem(const char* name, int startFret) {
  TScaleDiagram s{};
  s.ScaleName = name;
  const std::uint8_t degrees[10] = {0, 2, 4, 5, 7, 9, 11, 99, 99, 99};
  std::memcpy(s.Intervals, degrees, sizeof degrees);
  const std::uint8_t tuning[6] = {64, 59, 55, 50, 45, 40};
  std::memcpy(s.Tuning, tuning, sizeof tuning);
  TPrintDiagram item{};
  scaleToPrintItem(s, item);
  item.BaseFret = static_cast<std::uint8_t>(startFret);
  return item;
}

bool same(const TPrintDiagram& a, const TPrintDiagram& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// A point inside cell (c, r), on its diagram.
QPoint cell(int c, int r) {
  return {120 * c + 70, 160 * r + 90};
}

// Sends `item` to the print page and presses at `at`.
void sendAndPress(MainWindow& w, const TPrintDiagram& item, QPoint at,
                  Qt::MouseButton button = Qt::LeftButton) {
  w.state().PrintMoveBuffer = item;
  w.printPage()->setPlacing(true);
  clickAt(w, "imgPrintPage", at, button);
}

const QImage& picture(MainWindow& w) {
  return child<SurfaceView>(w, "imgPrintPage")->image();
}

// The red frame's top-left corner stands at (120c + 22, 160r + 41).
bool framed(MainWindow& w, int c, int r) {
  return picture(w).pixelColor(120 * c + 22, 160 * r + 41) == QColor(255, 0, 0);
}

QImage cellPicture(MainWindow& w, int c, int r) {
  return picture(w).copy(120 * c + 20, 160 * r + 2, 120, 158);
}

bool blank(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) != QColor(Qt::white)) return false;
  return true;
}

}  // namespace

class PrintPageTest : public QObject {
  Q_OBJECT

 private slots:
  void pressesLandInTheGridAndPlaceOnce() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    PrintPageTab* page = w.printPage();
    const TPrintDiagram a = chordItem("A", 2), b = chordItem("B", 4);

    // Left of and above the first cell still lands in it.
    sendAndPress(w, a, {10, 10});
    QVERIFY(same(w.state().PrintPage[0][0], a));
    QVERIFY(same(w.state().SelectedPrintItem, a));
    QCOMPARE(page->selectedCell(), QPoint(0, 0));
    QVERIFY(!page->placing());
    QVERIFY(framed(w, 0, 0));
    QVERIFY(!blank(cellPicture(w, 0, 0)));

    // Column 6 is off the grid: nothing happens, the item still waits.
    sendAndPress(w, b, {745, 100});
    QVERIFY(page->placing());
    QCOMPARE(page->pressedCell(), QPoint(0, 0));
    // y = 790 is the last row, y = 175 still the first.
    clickAt(w, "imgPrintPage", {300, 790});
    QVERIFY(same(w.state().PrintPage[2][4], b));
    QVERIFY(framed(w, 2, 4));
    QVERIFY(!framed(w, 0, 0));
    sendAndPress(w, b, {150, 175});
    QVERIFY(same(w.state().PrintPage[1][0], b));
    QCOMPARE(page->selectedCell(), QPoint(1, 0));

    // A placement happens once; further presses select.
    clickAt(w, "imgPrintPage", cell(0, 0));
    QCOMPARE(page->selectedCell(), QPoint(0, 0));
    QVERIFY(same(w.state().SelectedPrintItem, a));
    QVERIFY(framed(w, 0, 0));
    QVERIFY(!framed(w, 1, 0));
    // A press on an empty cell only becomes the pressed cell.
    clickAt(w, "imgPrintPage", cell(4, 3));
    QCOMPARE(page->pressedCell(), QPoint(4, 3));
    QCOMPARE(page->selectedCell(), QPoint(0, 0));

    // Replacing asks; No keeps the old item and the waiting one.
    const TPrintDiagram s = scaleItem("Dorian", 7);
    ask.answers = {false};
    sendAndPress(w, s, cell(0, 0));
    QCOMPARE(ask.questions, QStringList{"Do you want to replace this diagram?"});
    QVERIFY(same(w.state().PrintPage[0][0], a));
    QVERIFY(page->placing());
    ask.answers = {true};
    clickAt(w, "imgPrintPage", cell(0, 0));
    QVERIFY(same(w.state().PrintPage[0][0], s));
    QVERIFY(same(w.state().SelectedPrintItem, s));
    QVERIFY(!page->placing());

    // A right press cancels a sent item; nothing is placed.
    sendAndPress(w, a, cell(3, 3), Qt::RightButton);
    QVERIFY(!page->placing());
    QVERIFY(isEmpty(w.state().PrintPage[3][3]));
    QVERIFY(!child<QMenu>(w, "popmenuPrint")->isVisible());
    QCOMPARE(ask.unanswered, 0);
  }

  void menuFollowsTheItemKind() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    sendAndPress(w, chordItem("A", 2), cell(0, 0));
    sendAndPress(w, scaleItem("Dorian", 7), cell(1, 0));
    QMenu* menu = child<QMenu>(w, "popmenuPrint");
    // Other pop-up menus hold items of the same names.
    const auto enabled = [&](const char* name) { return action(*menu, name)->isEnabled(); };

    clickAt(w, "imgPrintPage", cell(1, 0), Qt::RightButton);
    QVERIFY(menu->isVisible());
    menu->hide();
    QVERIFY(enabled("pmenu3SendtoScale"));
    QVERIFY(!enabled("pmenu1SendtoDesign"));
    QVERIFY(!enabled("pmenu1SendtoPlay"));
    QVERIFY(enabled("pmenu3PlayDiagram") && enabled("pmenu3Delete") && enabled("pmenu3Move"));
    QVERIFY(same(*w.printPage()->itemToSend(), w.state().PrintPage[1][0]));

    clickAt(w, "imgPrintPage", cell(0, 0), Qt::RightButton);
    QVERIFY(menu->isVisible());
    menu->hide();
    QVERIFY(!enabled("pmenu3SendtoScale"));
    QVERIFY(enabled("pmenu1SendtoDesign"));
    QVERIFY(enabled("pmenu1SendtoPlay"));

    // Only the enabled items reach the routing.
    QSignalSpy toScale(w.printPage(), &PrintPageTab::sendToScaleChosen);
    QSignalSpy toDesign(w.printPage(), &PrintPageTab::sendToDesignChosen);
    action(*menu, "pmenu3SendtoScale")->trigger();
    action(*menu, "pmenu1SendtoDesign")->trigger();
    QCOMPARE(toScale.count(), 0);
    QCOMPARE(toDesign.count(), 1);

    // Not over an empty cell.
    clickAt(w, "imgPrintPage", cell(2, 2), Qt::RightButton);
    QVERIFY(!menu->isVisible());
    QCOMPARE(w.printPage()->itemToSend(), nullptr);
  }

  void aMoveIsPlacedOnceOrPutBack() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    PrintPageTab* page = w.printPage();
    const TPrintDiagram a = chordItem("A", 2), b = chordItem("B", 4);
    sendAndPress(w, b, cell(3, 1));
    sendAndPress(w, a, cell(0, 0));
    const QImage before = cellPicture(w, 0, 0);

    // Onto its own (now empty) cell: back without a question.
    clickAt(w, "imgPrintPage", cell(0, 0), Qt::RightButton);
    child<QMenu>(w, "popmenuPrint")->hide();
    trigger(w, "pmenu3Move");
    QVERIFY(isEmpty(w.state().PrintPage[0][0]));
    QVERIFY(blank(cellPicture(w, 0, 0)));
    QCOMPARE(child<SurfaceView>(w, "imgPrintPage")->pointerShape(), 6);
    clickAt(w, "imgPrintPage", cell(0, 0));
    QVERIFY(ask.questions.isEmpty());
    QVERIFY(same(w.state().PrintPage[0][0], a));
    QCOMPARE(cellPicture(w, 0, 0), before);

    // A right press cancels the move and the item is back where it was.
    clickAt(w, "imgPrintPage", cell(0, 0), Qt::RightButton);
    child<QMenu>(w, "popmenuPrint")->hide();
    trigger(w, "pmenu3Move");
    clickAt(w, "imgPrintPage", cell(5, 4), Qt::RightButton);
    QVERIFY(!page->placing());
    QVERIFY(same(w.state().PrintPage[0][0], a));
    QVERIFY(isEmpty(w.state().PrintPage[5][4]));
    QCOMPARE(cellPicture(w, 0, 0), before);

    // So does leaving the tab (the window calls cancelPointers then), and a
    // newly sent item does not push the moved one off the page either.
    clickAt(w, "imgPrintPage", cell(0, 0), Qt::RightButton);
    child<QMenu>(w, "popmenuPrint")->hide();
    trigger(w, "pmenu3Move");
    page->cancelPointers();
    QVERIFY(same(w.state().PrintPage[0][0], a));
    clickAt(w, "imgPrintPage", cell(0, 0), Qt::RightButton);
    child<QMenu>(w, "popmenuPrint")->hide();
    trigger(w, "pmenu3Move");
    sendAndPress(w, b, cell(4, 4));
    QVERIFY(same(w.state().PrintPage[0][0], a));
    QVERIFY(same(w.state().PrintPage[4][4], b));

    // Moved elsewhere: the source stays empty and the item is selected there.
    clickAt(w, "imgPrintPage", cell(0, 0), Qt::RightButton);
    child<QMenu>(w, "popmenuPrint")->hide();
    trigger(w, "pmenu3Move");
    clickAt(w, "imgPrintPage", cell(2, 3));
    QVERIFY(isEmpty(w.state().PrintPage[0][0]));
    QVERIFY(same(w.state().PrintPage[2][3], a));
    QCOMPARE(page->selectedCell(), QPoint(2, 3));
    QVERIFY(framed(w, 2, 3));
    page->cancelPointers();
    QVERIFY(isEmpty(w.state().PrintPage[0][0]));
  }

  void deleteSelectsTheFirstRemainingItem() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    PrintPageTab* page = w.printPage();
    const TPrintDiagram a = chordItem("A", 2), b = chordItem("B", 4), s = scaleItem("Lydian", 3);
    sendAndPress(w, a, cell(0, 2));
    sendAndPress(w, s, cell(4, 1));
    sendAndPress(w, b, cell(1, 0));
    QSignalSpy emptied(page, &PrintPageTab::pageEmptied);
    const auto remove = [&](int c, int r, bool yes) {
      clickAt(w, "imgPrintPage", cell(c, r), Qt::RightButton);
      child<QMenu>(w, "popmenuPrint")->hide();
      ask.answers = {yes};
      trigger(w, "pmenu3Delete");
    };

    remove(1, 0, false);
    QVERIFY(same(w.state().PrintPage[1][0], b));
    QCOMPARE(ask.questions.last(), QString("Do you want to erase this diagram?"));
    // An item that is not selected goes alone.
    remove(0, 2, true);
    QVERIFY(isEmpty(w.state().PrintPage[0][2]));
    QVERIFY(blank(cellPicture(w, 0, 2)));
    QCOMPARE(page->selectedCell(), QPoint(1, 0));
    // The selected one hands the frame to the first item left, row by row.
    sendAndPress(w, a, cell(2, 3));
    remove(2, 3, true);
    QCOMPARE(page->selectedCell(), QPoint(1, 0));
    QCOMPARE(page->pressedCell(), QPoint(1, 0));
    QVERIFY(same(w.state().SelectedPrintItem, b));
    QVERIFY(framed(w, 1, 0));
    remove(1, 0, true);
    QCOMPARE(page->selectedCell(), QPoint(4, 1));
    QVERIFY(same(w.state().SelectedPrintItem, s));
    QVERIFY(framed(w, 4, 1));
    QCOMPARE(emptied.count(), 0);
    // The last one empties the page.
    remove(4, 1, true);
    QCOMPARE(emptied.count(), 1);
    QVERIFY(!page->hasItems());
    QCOMPARE(ask.unanswered, 0);
  }

  void playDiagramSelectsThenPlays() {
    MidiRig rig;
    MainWindow& w = rig.window;
    w.showTab(PlayTab::Print);
    const TPrintDiagram a = chordItem("A", 2), s = scaleItem("Dorian", 7);
    sendAndPress(w, a, cell(0, 0));
    sendAndPress(w, s, cell(3, 2));
    clickAt(w, "imgPrintPage", cell(0, 0));

    clickAt(w, "imgPrintPage", cell(3, 2), Qt::RightButton);
    child<QMenu>(w, "popmenuPrint")->hide();
    QCOMPARE(w.printPage()->selectedCell(), QPoint(0, 0));
    trigger(w, "pmenu3PlayDiagram");
    QCOMPARE(w.printPage()->selectedCell(), QPoint(3, 2));
    QVERIFY(framed(w, 3, 2));
    QVERIFY(!framed(w, 0, 0));
    QVERIFY(same(w.state().SelectedPrintItem, s));
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    rig.runUntil(20'000'000);
    QVERIFY(!button(w, "sbtnPlay")->isChecked());
    // The position from fret 7 of a seven-note scale, up and down.
    QVERIFY(rig.sent("send 90") > 7);

    const int scaleNotes = rig.sent("send 90");
    clickAt(w, "imgPrintPage", cell(0, 0), Qt::RightButton);
    child<QMenu>(w, "popmenuPrint")->hide();
    trigger(w, "pmenu3PlayDiagram");
    QVERIFY(same(w.state().SelectedPrintItem, a));
    rig.runUntil(40'000'000);
    QCOMPARE(rig.sent("send 90") - scaleNotes, 6);  // six strings struck once
  }
};

QTEST_MAIN(PrintPageTest)
#include "PrintPageTest.moc"
