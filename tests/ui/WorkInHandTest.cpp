#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <memory>

#include "DataDir.h"
#include "MidiRig.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "play/PlayPageGeometry.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "ui/DesignGroupController.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/PrintPageTab.h"
#include "ui/SurfaceView.h"

// Work that is in hand when something else happens: a diagram being moved
// when the page is saved or another diagram arrives, a tablature box left
// when the edit is refused, a hand-laid print page when it would be lost.

namespace {

template <class T>
bool same(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void saveAs(MainWindow& w, ScriptedPrompter& ask, const QString& path) {
  ask.files.push_back(path);
  click(w, "sbtnSave");
}

QPoint designSlot(int s) {
  return {76 * s + 38, 50};
}
QPoint playSlot(int c, int r) {
  return {PlayGeometry::slotX(c) + 20, PlayGeometry::rowTop(r) + 60};
}
QPoint printCell(int c, int r) {
  return {120 * c + 70, 160 * r + 90};
}
QPoint chordCell(int c, int r) {
  return {120 * c + 70, 150 * r + 90};
}
QPoint fretCell(int s, int f) {
  return {FretX[f] + 6, StringY[s] + 6};
}

QLineEdit* tabBox(MainWindow& w, int s) {
  return child<QLineEdit>(w, QStringLiteral("editTab%1").arg(s).toLatin1().constData());
}

// The six tablature boxes as the chord `d` reads.
QStringList tabOf(const TChordDiagram& d) {
  QStringList frets;
  for (int s = 0; s < 6; ++s)
    frets << (d.Notes[s] ? QString::number(d.Strings[s].Fret) : QString());
  return frets;
}
QStringList boxes(MainWindow& w) {
  QStringList texts;
  for (int s = 0; s < 6; ++s) texts << tabBox(w, s)->text();
  return texts;
}

// Drag and drop onto the design group through the real widget's events (an
// offscreen platform cannot run a QDrag, so the events carry its data).
bool dropOn(MainWindow& w, const QMimeData& data, QPoint at) {
  auto* target = child<SurfaceView>(w, "imgChordDesign");
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(target, &drop);
  return true;
}

bool dropResultLine(MainWindow& w, const QString& text, QPoint pair) {
  auto* list = child<QListWidget>(w, "listChordDesign");
  list->clear();
  auto* item = new QListWidgetItem(text, list);
  item->setData(Qt::UserRole, pair);
  list->setCurrentItem(item);
  std::unique_ptr<QMimeData> data(list->model()->mimeData({list->model()->index(0, 0)}));
  return dropOn(w, *data, designSlot(2));
}

// C major chords on the Chords page, as the user shows them.
void showCMajor(MainWindow& w) {
  clickTab(w, int(PlayTab::Chords));
  chooseKey(w, 0);
  chooseChordType(w, 1, 0);
  clickShowChords(w);
}

void sendFromChords(MainWindow& w, int column, const char* command) {
  clickTab(w, int(PlayTab::Chords));
  popupCommand(w, "imgChordPage", chordCell(column, 0), "popmenuChords", command);
}

// A typing session in a box: focus by a click, the text typed over.
void typeInto(QLineEdit* box, const QString& text) {
  QTest::mouseClick(box, Qt::LeftButton);
  QVERIFY(box->hasFocus());
  retype(box, text);
}

bool activate(QWidget& w) {
  w.show();
  QApplication::setActiveWindow(&w);
  return QTest::qWaitForWindowActive(&w);
}

}  // namespace

class WorkInHandTest : public QObject {
  Q_OBJECT

 private slots:
  // A diagram in the middle of a move is part of the page: Save puts it back
  // where it came from and writes it, on each of the three pages that move.
  void savingWithAMovePendingKeepsTheMovedDiagram() {
    QTemporaryDir dir;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    QVERIFY(activate(w));
    showCMajor(w);
    sendFromChords(w, 1, "pmenu1SendtoPlay");
    clickAt(w, "imgPlayPage", playSlot(3, 1));
    sendFromChords(w, 2, "pmenu1SendtoPrint");
    clickAt(w, "imgPrintPage", printCell(2, 1));
    clickTab(w, int(PlayTab::ChordDesign));
    QVERIFY(dropResultLine(w, QStringLiteral("C\tmaj7"), QPoint(0, 2)));

    struct Page {
      PlayTab tab;
      const char* ext;
      const char* surface;
      QPoint at;
      const char* menu;
      const char* move;
    };
    const Page pages[] = {
        {PlayTab::ChordDesign, "cds", "imgChordDesign", designSlot(2), "popmenuDesign",
         "pmenu2Move"},
        {PlayTab::PlayPage, "ppf", "imgPlayPage", playSlot(3, 1), "popmenuPlayPage",
         "pmenu4CutMove"},
        {PlayTab::Print, "prf", "imgPrintPage", printCell(2, 1), "popmenuPrint", "pmenu3Move"}};
    for (const Page& p : pages) {
      clickTab(w, int(p.tab));
      const QString before = dir.filePath(QStringLiteral("before.") + QLatin1String(p.ext));
      const QString during = dir.filePath(QStringLiteral("during.") + QLatin1String(p.ext));
      saveAs(w, ask, before);
      popupCommand(w, p.surface, p.at, p.menu, p.move);
      QCOMPARE(child<SurfaceView>(w, p.surface)->pointerShape(), 6);
      saveAs(w, ask, during);
      QCOMPARE(ask.messages, QStringList());
      QCOMPARE(bytesOf(during), bytesOf(before));
      // The move ended: nothing is in hand to land or to cancel later.
      QCOMPARE(child<SurfaceView>(w, p.surface)->pointerShape(), 0);
    }
    QVERIFY(!isEmpty(w.state().DesignGroup[2]));
    QVERIFY(!isEmpty(w.state().PlayPage[3][1]));
    QVERIFY(!isEmpty(w.state().PrintPage[2][1]));
    // What is on screen is what was saved, so closing has nothing to ask.
    clickTab(w, int(PlayTab::Chords));
    QVERIFY(!w.state().DesignGroupChanged && !w.state().Play.PlayPageChanged);
    QVERIFY(w.close());
    QCOMPARE(ask.questions, QStringList());
  }

  // Leaving a box whose edit is refused (Play down, or the tab changing
  // under it) changes nothing at all, and the box shows the chord again.
  void aRefusedTablatureEditChangesNothing() {
    MidiRig rig;
    MainWindow& w = rig.window;
    QVERIFY(activate(w));
    clickTab(w, int(PlayTab::ChordDesign));
    auto* fretboard = w.fretboard()->findChild<SurfaceView*>(QStringLiteral("imgGuitar"));
    QTest::mouseClick(fretboard, Qt::LeftButton, {}, fretCell(0, 3));
    QCOMPARE(w.state().EditChord.Notes[0], std::uint8_t(67));
    const TChordDiagram chord = w.state().EditChord;
    QCOMPARE(tabBox(w, 0)->text(), QStringLiteral("3"));

    click(w, "sbtnPlay");
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    typeInto(tabBox(w, 0), QString());
    QTest::keyClick(tabBox(w, 0), Qt::Key_Tab);
    QVERIFY(same(w.state().EditChord, chord));
    QCOMPARE(tabBox(w, 0)->text(), QStringLiteral("3"));
    rig.runUntil(20'000'000);
    QVERIFY(!button(w, "sbtnPlay")->isChecked());

    typeInto(tabBox(w, 0), QStringLiteral("0"));
    clickTab(w, int(PlayTab::Chords));
    QVERIFY(same(w.state().EditChord, chord));
    clickTab(w, int(PlayTab::ChordDesign));
    QCOMPARE(tabBox(w, 0)->text(), QStringLiteral("3"));

    // Allowed, the same box does its edit.
    typeInto(tabBox(w, 0), QStringLiteral("0"));
    QTest::keyClick(tabBox(w, 0), Qt::Key_Tab);
    QCOMPARE(w.state().EditChord.Strings[0].Finger, FingerCode::Open);
    QCOMPARE(w.state().EditChord.Notes[0], std::uint8_t(64));
  }

  // The boxes read the chord in hand, also after a move went back home.
  void theTablatureShowsTheChordInHand() {
    WindowRig rig;
    MainWindow& w = rig.w;
    QVERIFY(activate(w));
    clickTab(w, int(PlayTab::ChordDesign));
    QVERIFY(dropResultLine(w, QStringLiteral("C\tmaj7"), QPoint(0, 2)));
    const TChordDiagram inHand = w.state().EditChord;
    QVERIFY(tabOf(w.state().DesignGroup[3]) != tabOf(inHand));
    popupCommand(w, "imgChordDesign", designSlot(3), "popmenuDesign", "pmenu2Move");
    clickTab(w, int(PlayTab::Chords));
    clickTab(w, int(PlayTab::ChordDesign));
    QCOMPARE(boxes(w), tabOf(inHand));
    // Leaving every box unchanged leaves the chord as it was.
    for (int s = 0; s < 6; ++s) {
      QTest::mouseClick(tabBox(w, s), Qt::LeftButton);
      QTest::keyClick(tabBox(w, s), Qt::Key_Tab);
    }
    QCOMPARE(tabOf(w.state().EditChord), tabOf(inHand));

    // Play Chord from the menu takes another slot in hand: the boxes follow.
    popupCommand(w, "imgChordDesign", designSlot(4), "popmenuDesign", "pmenu2PlayChord");
    QCOMPARE(boxes(w), tabOf(w.state().DesignGroup[4]));
  }

  // A hand-laid print page is asked about like the play page and the group.
  void thePrintPageIsWorkToAskAbout() {
    QTemporaryDir dir;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    QVERIFY(activate(w));
    showCMajor(w);
    sendFromChords(w, 1, "pmenu1SendtoPrint");
    QVERIFY(!w.state().PrintPageChanged);  // waiting to be placed is no change yet
    clickAt(w, "imgPrintPage", printCell(0, 0));
    QVERIFY(w.state().PrintPageChanged);
    saveAs(w, ask, dir.filePath(QStringLiteral("one.prf")));
    QVERIFY(!w.state().PrintPageChanged);
    sendFromChords(w, 2, "pmenu1SendtoPrint");
    clickAt(w, "imgPrintPage", printCell(1, 0));
    QVERIFY(w.state().PrintPageChanged);

    // Close: No refuses and shows the page, with No the default.
    clickTab(w, int(PlayTab::Chords));
    ask.answers = {false};
    QVERIFY(!w.close());
    QCOMPARE(ask.questions.last(),
             QStringLiteral("Do you want to close without saving changes to the Print Page?"));
    QCOMPARE(ask.defaults.last(), false);
    QCOMPARE(w.currentTab(), PlayTab::Print);

    // Open: Yes leaves the page to be saved first, No opens over it.
    ask.answers = {true};
    ask.files = {dir.filePath(QStringLiteral("one.prf"))};
    click(w, "sbtnOpen");
    QCOMPARE(ask.questions.last(),
             QStringLiteral("This Print Page has changed. Do you want to save changes?"));
    QCOMPARE(ask.defaults.last(), true);
    QVERIFY(!isEmpty(w.state().PrintPage[1][0]));
    ask.answers = {false};
    click(w, "sbtnOpen");
    QVERIFY(ask.files.empty());
    QVERIFY(isEmpty(w.state().PrintPage[1][0]));
    QVERIFY(!w.state().PrintPageChanged);

    // Moving an item, and deleting one, change the page.
    popupCommand(w, "imgPrintPage", printCell(0, 0), "popmenuPrint", "pmenu3Move");
    QVERIFY(!w.state().PrintPageChanged);
    clickAt(w, "imgPrintPage", printCell(3, 2));
    QVERIFY(w.state().PrintPageChanged);
    saveAs(w, ask, dir.filePath(QStringLiteral("two.prf")));
    sendFromChords(w, 3, "pmenu1SendtoPrint");
    clickAt(w, "imgPrintPage", printCell(0, 0));
    saveAs(w, ask, dir.filePath(QStringLiteral("three.prf")));
    ask.answers = {true};
    popupCommand(w, "imgPrintPage", printCell(0, 0), "popmenuPrint", "pmenu3Delete");
    QVERIFY(w.state().PrintPageChanged);

    // Erase and File > New ask; No keeps the page, Yes empties it.
    ask.answers = {false};
    click(w, "sbtnErase");
    QCOMPARE(
        ask.questions.last(),
        QStringLiteral("This Print Page has changed. Do you want to erase without saving it?"));
    QCOMPARE(ask.defaults.last(), false);
    QVERIFY(!isEmpty(w.state().PrintPage[3][2]));
    const int asked = int(ask.questions.size());
    ask.answers = {true};
    trigger(w, "mnuNew");
    QCOMPARE(ask.questions.size(), asked + 1);
    QVERIFY(isEmpty(w.state().PrintPage[3][2]));
    QVERIFY(!w.state().PrintPageChanged);

    // The Chords page keeps no flag: erasing it asks nothing.
    clickTab(w, int(PlayTab::Chords));
    click(w, "sbtnErase");
    QCOMPARE(ask.questions.size(), asked + 1);
    QVERIFY(w.close());
    QCOMPARE(ask.unanswered, 0);
  }
};

QTEST_MAIN(WorkInHandTest)
#include "WorkInHandTest.moc"
