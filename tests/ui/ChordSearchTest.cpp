#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>

#include "DataDir.h"
#include "MidiRig.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "render/FretboardPainter.h"
#include "ui/ChordSearchController.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/TabStopDelegate.h"

namespace {

// A press on the big fretboard at string s (0 the high E), fret f.
void fret(MainWindow& w, int s, int f, Qt::MouseButton b = Qt::LeftButton) {
  clickAt(*w.fretboard(), "imgGuitar", QPoint(FretX[f] + 6, StringY[s] + 6), b);
}

// C E G with the C lowest: A string fret 3, D string fret 2, G string open.
void fretCMajor(MainWindow& w) {
  fret(w, 4, 3);
  fret(w, 3, 2);
  fret(w, 2, 0);
}

QRadioButton* option(MainWindow& w, const char* group, int item) {
  const auto radios = child<QGroupBox>(w, group)->findChildren<QRadioButton*>();
  return radios.at(item);
}

void choose(MainWindow& w, const char* group, int item) {
  QTest::mouseClick(option(w, group, item), Qt::LeftButton, {},
                    QPoint(6, option(w, group, item)->height() / 2));
}

QListWidget* results(MainWindow& w) {
  return child<QListWidget>(w, "listChordDesign");
}

QStringList lines(MainWindow& w) {
  QStringList out;
  for (int i = 0; i < results(w)->count(); ++i) out << results(w)->item(i)->text();
  return out;
}

QPoint pairOf(MainWindow& w, int line) {
  return results(w)->item(line)->data(Qt::UserRole).toPoint();
}

void search(MainWindow& w) {
  click(w, "btnSearch");
}

const std::vector<ChordSearch::Pair>& searchResults(MainWindow& w) {
  return child<ChordSearchController>(w, "ChordSearch")->SearchResults();
}

}  // namespace

class ChordSearchTest : public QObject {
  Q_OBJECT

 private slots:
  void aFrettedMajorTriadIsNamed() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.showTab(PlayTab::ChordDesign);
    fretCMajor(w);
    QVERIFY(option(w, "rgIntervalOp", 1)->isChecked());
    QVERIFY(option(w, "rgRootOp", 0)->isChecked());
    results(w)->setFocus();

    search(w);
    QCOMPARE(lines(w), QStringList{QStringLiteral("C maj\t1 3 5")});
    QCOMPARE(pairOf(w, 0), QPoint(0, 0));
    QVERIFY(child<QScrollBar>(w, "sbStrumSpeed")->hasFocus());

    // Every chord type holding C, E and G, each from C, its formula in one
    // column and a tool tip for what it adds.
    choose(w, "rgIntervalOp", 0);
    search(w);
    const QStringList all = lines(w);
    QVERIFY(all.size() > 10);
    QCOMPARE(all.at(1), QStringLiteral("C 6\t1 3 5 6"));
    QCOMPARE(results(w)->item(2)->toolTip(), QStringLiteral("adds 7"));
    QCOMPARE(searchResults(w).size(), std::size_t(all.size()));
    const QFont font = results(w)->font();
    for (int i = 0; i < all.size(); ++i) {
      QCOMPARE(searchResults(w)[i].Index, pairOf(w, i).y());
      QVERIFY(qAbs(TabStopDelegate::columnAfterTab(font, all.at(i)) -
                   TabStopDelegate::tabStopDistance(font)) < 0.1);
    }

    // Each sounded note as root: C first, then E, then G (its 13sus holds
    // C as the 11 and E as the 13).
    choose(w, "rgRootOp", 1);
    search(w);
    QVERIFY(lines(w).size() > 1);
    QCOMPARE(lines(w).at(0), QStringLiteral("C maj\t1 3 5"));
    QCOMPARE(pairOf(w, results(w)->count() - 1).x(), 7);
    QVERIFY(ask.messages.isEmpty());
  }

  void twoNotesOverAnUnsoundedRootSwitchTheOptions() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.showTab(PlayTab::ChordDesign);
    fret(w, 3, 2);  // E
    fret(w, 2, 0);  // G, the root C not sounded
    search(w);
    QVERIFY(option(w, "rgIntervalOp", 0)->isChecked());
    QVERIFY(option(w, "rgRootOp", 1)->isChecked());
    QVERIFY(results(w)->count() > 1);
    QCOMPARE(lines(w).at(0), QStringLiteral("E minor\t1 b3 5"));
    QCOMPARE(results(w)->item(0)->toolTip(), QStringLiteral("adds 5"));
    for (int i = 0; i < results(w)->count(); ++i)
      QVERIFY(pairOf(w, i).x() == 4 || pairOf(w, i).x() == 7);

    // Nothing found: one line that carries no pair to drop.
    fret(w, 4, 3);  // C
    fret(w, 0, 1);  // F
    choose(w, "rgIntervalOp", 1);
    choose(w, "rgRootOp", 0);
    search(w);
    QCOMPARE(lines(w), QStringList{QStringLiteral("No Chords Found")});
    QVERIFY(!results(w)->item(0)->data(Qt::UserRole).isValid());
  }

  // A dictionary gone missing or cut short since the last search is said,
  // and the lines of that search stay with their pairs.
  void aDamagedDictionaryLeavesTheLastResults() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    DataDir& data = rig.data;
    w.showTab(PlayTab::ChordDesign);
    fretCMajor(w);
    choose(w, "rgIntervalOp", 0);
    search(w);
    const QStringList found = lines(w);
    QVERIFY(found.size() > 1);
    const QString dictionary = data.dir.filePath(QStringLiteral("pxcd3.dat"));
    QFile file(dictionary);
    QVERIFY(file.resize(44 * 61));
    search(w);
    QCOMPARE(ask.messages.size(), 1);
    QCOMPARE(lines(w), found);
    QCOMPARE(pairOf(w, 1), QPoint(0, 1));
    QVERIFY(QFile::remove(dictionary));
    search(w);
    QCOMPARE(ask.messages.size(), 2);
    QCOMPARE(lines(w), found);
  }

  void searchWaitsWhilePlayingAndTheListClearsTheReadouts() {
    DataDir data;
    MidiRig rig;
    MainWindow& w = rig.window;
    w.state().ExeDir = data.path();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.showTab(PlayTab::ChordDesign);
    fretCMajor(w);
    search(w);
    QCOMPARE(results(w)->count(), 1);

    click(w, "sbtnPlay");
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    choose(w, "rgIntervalOp", 0);
    search(w);
    QCOMPARE(lines(w), QStringList{QStringLiteral("C maj\t1 3 5")});
    rig.runUntil(20'000'000);
    QVERIFY(!button(w, "sbtnPlay")->isChecked());

    QLabel* note = child<QLabel>(w, "pnlNote");
    QTest::mouseMove(child<SurfaceView>(w, "imgGuitar"), QPoint(FretX[3] + 6, StringY[4] + 6));
    QCOMPARE(note->text(), QStringLiteral("C"));
    QTest::mouseMove(results(w)->viewport(), QPoint(20, 5));
    QVERIFY(note->text().isEmpty());
    QVERIFY(child<QLabel>(w, "pnlInterval")->text().isEmpty());
    // The same over the page around the controls.
    QTest::mouseMove(child<SurfaceView>(w, "imgGuitar"), QPoint(FretX[3] + 6, StringY[4] + 6));
    QCOMPARE(note->text(), QStringLiteral("C"));
    QTest::mouseMove(child<QWidget>(w, "pageChordDesignContents"), QPoint(2, 2));
    QVERIFY(note->text().isEmpty());
  }

  // A long list, read to its end, then searched again; and the wheel turned
  // on past the end while the window is too small for the whole tab.
  void eachSearchShowsItsFirstLinesAndTheWheelStaysInTheList() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.resize(808, 520);
    clickTab(w, int(PlayTab::ChordDesign));
    fretCMajor(w);
    choose(w, "rgIntervalOp", 0);
    choose(w, "rgRootOp", 2);
    search(w);
    QListWidget* list = results(w);
    QApplication::processEvents();
    QScrollBar* listBar = list->verticalScrollBar();
    QVERIFY2(listBar->maximum() > 0, "the list must be longer than its window");

    QVERIFY2(child<QScrollArea>(w, "scrollChordDesign")->verticalScrollBar()->maximum() > 0,
             "the window must be too small for the tab");
    // A turn the list does not take (ignored) is handed on to the page.
    const QPoint inList = list->viewport()->rect().center();
    for (int turn = 0; turn < 3 * list->count(); ++turn) {
      QWheelEvent wheel(inList, list->viewport()->mapToGlobal(inList), QPoint(), QPoint(0, -120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(list->viewport(), &wheel);
      QVERIFY2(wheel.isAccepted(), qPrintable(QStringLiteral("turn %1").arg(turn)));
    }
    QCOMPARE(listBar->value(), listBar->maximum());

    search(w);
    QApplication::processEvents();
    QVERIFY(listBar->maximum() > 0);
    QCOMPARE(listBar->value(), 0);
    QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(0))));
  }
};

QTEST_MAIN(ChordSearchTest)
#include "ChordSearchTest.moc"
