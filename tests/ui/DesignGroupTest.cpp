#include <QClipboard>
#include <QDir>
#include <QDropEvent>
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
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "render/FretboardPainter.h"
#include "ui/DesignGroupController.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/SurfaceView.h"

namespace {

bool same(const TChordDiagram& a, const TChordDiagram& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

QString fretText(const TChordDiagram& d, int s) {
  return d.Notes[s] != 0 ? QString::number(d.Strings[s].Fret) : QString();
}

QPoint slotCentre(int s) {
  return {76 * s + 38, 50};
}

struct Group {
  TChordDiagram d[6];
};
Group groupOf(MainWindow& w) {
  Group g;
  std::memcpy(g.d, w.state().DesignGroup, sizeof g.d);
  return g;
}
bool same(const Group& a, const Group& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// The slot of `before` each slot of the group now holds, -1 for a free slot.
QList<int> order(MainWindow& w, const Group& before) {
  QList<int> tags;
  for (const auto& slot : w.state().DesignGroup) {
    int tag = -1;
    if (!isEmpty(slot))
      for (int k = 0; k < 6; ++k)
        if (same(slot, before.d[k])) tag = k;
    tags << tag;
  }
  return tags;
}

bool redAt(MainWindow& w, QPoint p) {
  return child<SurfaceView>(w, "imgChordDesign")->image().pixelColor(p) == QColor(255, 0, 0);
}

// Drops `data` at `at` on the design group the way a finished drag does:
// enter, move, drop, each through the event queue of the real widget. An
// offscreen platform cannot run a QDrag, so the events carry the same data.
bool dropOn(MainWindow& w, const QMimeData& data, QPoint at) {
  auto* target = child<SurfaceView>(w, "imgChordDesign");
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(target, &drop);
  return true;
}

// A result line as the search lists it, with its (root, dictionary index)
// pair, or without one ("No Chords Found"); dropped as a list drag packs it.
bool dropResultLine(MainWindow& w, const QString& text, std::optional<QPoint> pair) {
  auto* list = child<QListWidget>(w, "listChordDesign");
  // Without this the mouse never lifts a line off the list (found by hand
  // under Xvfb: the drop code was right, the drag never started).
  if (!list->dragEnabled() || list->dragDropMode() == QAbstractItemView::NoDragDrop) return false;
  list->clear();
  auto* item = new QListWidgetItem(text, list);
  if (pair) item->setData(Qt::UserRole, *pair);
  list->setCurrentItem(item);
  std::unique_ptr<QMimeData> data(list->model()->mimeData({list->model()->index(0, 0)}));
  return dropOn(w, *data, slotCentre(2));
}

bool dropCMaj7(MainWindow& w) {
  return dropResultLine(w, QStringLiteral("C\tmaj7"), QPoint(0, 2));
}

bool dropDragButton(MainWindow& w, int slot) {
  QMimeData data;
  data.setData(QLatin1String(DesignGroupController::FingeringMime), QByteArray());
  return dropOn(w, data, slotCentre(slot));
}

// Sets string s (0 the high E) of the fingering in hand to fret f, -1 for
// muted, by presses on the big fretboard: a press at the nut mutes an open or
// fretted string and opens a muted one.
void setString(MainWindow& w, int s, int f) {
  const auto press = [&](int fret) {
    clickAt(*w.fretboard(), "imgGuitar", QPoint(FretX[fret] + 6, StringY[s] + 6));
  };
  const auto& string = w.state().EditChord.Strings[s];
  if (f > 0) {
    press(f);
    return;
  }
  if (string.Finger != FingerCode::Muted) press(0);
  if (f == 0) press(0);
}

void popupCommand(MainWindow& w, int slot, const char* command) {
  clickAt(w, "imgChordDesign", slotCentre(slot), Qt::RightButton);
  auto* menu = child<QMenu>(w, "popmenuDesign");
  QVERIFY(menu->isVisible());
  action(*menu, command)->trigger();
  menu->hide();
}

}  // namespace

class DesignGroupTest : public QObject {
  Q_OBJECT

 private slots:
  void droppedResultFillsAllSixSlotsFramedOnSlotZero() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.showTab(PlayTab::ChordDesign);
    QVERIFY(dropCMaj7(w));
    QCOMPARE(ask.messages, QStringList());
    QCOMPARE(ask.questions, QStringList());
    const AppState& st = w.state();
    for (const auto& slot : st.DesignGroup) {
      QVERIFY(!isEmpty(slot));
      QCOMPARE(slot.Root, 0);
      QCOMPARE(QList<int>(slot.Intervals, slot.Intervals + 5), (QList<int>{0, 4, 7, 11, -1}));
    }
    QVERIFY(st.DesignGroupChanged);
    QCOMPARE(w.designGroup()->selectedSlot(), 0);
    QVERIFY(redAt(w, {0, 50}));
    QVERIFY(!redAt(w, {76 * 3, 50}));
    QVERIFY(same(st.EditChord, st.DesignGroup[0]));
    QCOMPARE(child<QLineEdit>(w, "editChordNameUser")->text().left(6), QStringLiteral("C maj7"));
    for (int s = 0; s < 6; ++s) {
      const auto& f = st.DesignGroup[0];
      QCOMPARE(
          child<QLineEdit>(w, QStringLiteral("editTab%1").arg(s).toLatin1().constData())->text(),
          f.Notes[s] ? QString::number(f.Strings[s].Fret) : QString());
    }
  }

  void movePopupLiftsAndTheNextPressLands() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.showTab(PlayTab::ChordDesign);
    QVERIFY(dropCMaj7(w));
    const Group d = groupOf(w);
    auto* img = child<SurfaceView>(w, "imgChordDesign");

    popupCommand(w, 1, "pmenu2Move");
    QCOMPARE(img->pointerShape(), 6);
    // Lifted, not taken out: the page is unchanged until the diagram lands.
    QCOMPARE(w.designGroup()->model().lifted(), 1);
    QVERIFY(same(groupOf(w), d));
    clickAt(w, "imgChordDesign", slotCentre(4));
    QCOMPARE(order(w, d), (QList<int>{5, 0, 2, 3, 1, 4}));
    QCOMPARE(img->pointerShape(), 0);
    QCOMPARE(w.designGroup()->selectedSlot(), 4);
    QVERIFY(same(w.state().EditChord, d.d[1]));
    QVERIFY(redAt(w, {76 * 4, 50}));
    QVERIFY(!redAt(w, {0, 50}));
  }

  void moveCancelledByATabChangeGoesBackHome() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.showTab(PlayTab::ChordDesign);
    QVERIFY(dropCMaj7(w));
    const Group d = groupOf(w);
    popupCommand(w, 2, "pmenu2Move");
    w.showTab(PlayTab::Chords);
    w.showTab(PlayTab::ChordDesign);
    QVERIFY(same(groupOf(w), d));
    QCOMPARE(child<SurfaceView>(w, "imgChordDesign")->pointerShape(), 0);
  }

  // Each free slot shows a faint frame, so the empty group shows where
  // diagrams go: at start, after a delete, after Erase Page.
  void freeSlotsAreFramedFaintly() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickTab(w, int(PlayTab::ChordDesign));
    const auto framed = [&w](int s) {
      const QImage& img = child<SurfaceView>(w, "imgChordDesign")->image();
      // Some grey on the strip's left, right, top and bottom edges.
      const auto grey = [&img](QRect r) {
        for (int y = r.top(); y <= r.bottom(); ++y)
          for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c != QColor(Qt::white) && c.red() == c.green() && c.green() == c.blue() &&
                c.red() > 150)
              return true;
          }
        return false;
      };
      const int x = 76 * s;
      return grey({x + 1, 40, 5, 20}) && grey({x + 70, 40, 5, 20}) && grey({x + 20, 1, 20, 5}) &&
             grey({x + 20, img.height() - 6, 20, 5});
    };
    for (int s = 0; s < 6; ++s) QVERIFY2(framed(s), qPrintable(QString::number(s)));

    QVERIFY(dropCMaj7(w));
    for (int s = 0; s < 6; ++s) QVERIFY(!framed(s));
    ask.answers = {true};
    popupCommand(w, 0, "pmenu2Delete");
    QVERIFY(framed(0));
    QVERIFY(!framed(1));
    // The red frame moves off the freed slot without wiping its outline.
    clickAt(w, "imgChordDesign", slotCentre(4));
    QVERIFY(framed(0));

    ask.answers = {true};
    click(w, "sbtnErase");
    QVERIFY(w.state().DesignGroup[3].Empty);
    for (int s = 0; s < 6; ++s) QVERIFY2(framed(s), qPrintable(QString::number(s)));
  }

  void sentDiagramIsPlacedByTheNextPress() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    chooseKey(w, 7);
    chooseChordType(w, 1, 0);
    clickShowChords(w);
    clickAt(w, "imgChordPage", {120 * 2 + 70, 90}, Qt::RightButton);
    auto* chordsMenu = child<QMenu>(w, "popmenuChords");
    action(*chordsMenu, "pmenu1SendtoDesign")->trigger();
    chordsMenu->hide();
    QCOMPARE(w.currentTab(), PlayTab::ChordDesign);
    auto* img = child<SurfaceView>(w, "imgChordDesign");
    QCOMPARE(img->pointerShape(), 5);
    clickAt(w, "imgChordDesign", slotCentre(3));
    QCOMPARE(ask.questions, QStringList());
    QVERIFY(same(w.state().DesignGroup[3], w.state().ChordPage[2][0]));
    QVERIFY(same(w.state().EditChord, w.state().ChordPage[2][0]));
    QCOMPARE(img->pointerShape(), 0);
    QVERIFY(w.state().DesignGroupChanged);
    QCOMPARE(w.designGroup()->selectedSlot(), 3);
  }

  void dragButtonDropCopiesTheFingeringInHand() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.showTab(PlayTab::ChordDesign);
    QVERIFY(dropCMaj7(w));
    ask.answers = {true};
    popupCommand(w, 4, "pmenu2Delete");
    w.state().DesignGroupChanged = false;
    clickAt(w, "imgChordDesign", slotCentre(1));
    QVERIFY(dropDragButton(w, 4));
    QCOMPARE(ask.questions.size(), 1);  // only the delete's
    const AppState& st = w.state();
    QVERIFY(same(st.DesignGroup[4], st.EditChord));
    QCOMPARE(QString::fromLatin1(st.EditChord.TuningName.view()), QStringLiteral("Standard"));
    QCOMPARE(QString::fromLatin1(st.EditChord.Formula.view()), QStringLiteral("1 3 5 7    "));
    QCOMPARE(w.designGroup()->selectedSlot(), 4);
    QVERIFY(st.DesignGroupChanged);
  }

  void tablatureBoxesEditTheFingeringInHand() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.showTab(PlayTab::ChordDesign);
    QVERIFY(dropCMaj7(w));
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const TChordDiagram& chord = w.state().EditChord;
    auto* box = child<QLineEdit>(w, "editTab0");
    const auto typeAndLeave = [&](const QString& text) {
      QTest::mouseClick(box, Qt::LeftButton);
      QVERIFY(box->hasFocus());
      retype(box, text);
      QTest::keyClick(box, Qt::Key_Tab);
      QVERIFY(!box->hasFocus());
    };

    typeAndLeave(QStringLiteral("25"));
    QCOMPARE(box->text(), QString());
    QCOMPARE(chord.Strings[0].Finger, FingerCode::Muted);
    QCOMPARE(chord.Notes[0], 0);

    typeAndLeave(QStringLiteral("0"));
    QCOMPARE(box->text(), QStringLiteral("0"));
    QCOMPARE(chord.Strings[0].Finger, FingerCode::Open);
    QCOMPARE(chord.Notes[0], chord.Tuning[0]);

    // The digit goes into the box, not to the finger-marker keys.
    typeAndLeave(QStringLiteral("1"));
    QVERIFY(!button(w, "sbtnOne")->isChecked());
    QCOMPARE(chord.Strings[0].Fret, 1);
    QCOMPARE(chord.Strings[0].Finger, FingerCode::Fretted);
    QCOMPARE(chord.Notes[0], chord.Tuning[0] + 1);

    // Letters are dropped, typed or pasted.
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, QStringLiteral("x"));
    QCOMPARE(box->text(), QStringLiteral("1"));
    QApplication::clipboard()->setText(QStringLiteral("7b"));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("1"));
  }

  void sendToPlayPageAndBackToTheGroup() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.showTab(PlayTab::ChordDesign);
    QVERIFY(dropCMaj7(w));
    const TChordDiagram sent = w.state().DesignGroup[3];
    popupCommand(w, 3, "pmenu2SendtoPlay");
    QCOMPARE(w.currentTab(), PlayTab::PlayPage);
    QCOMPARE(child<SurfaceView>(w, "imgPlayPage")->pointerShape(), 5);
    clickAt(w, "imgPlayPage", {50, 80});
    QVERIFY(same(w.state().PlayPage[0][0], sent));

    ask.answers = {true};
    w.showTab(PlayTab::ChordDesign);
    popupCommand(w, 5, "pmenu2Delete");
    w.showTab(PlayTab::PlayPage);
    clickAt(w, "imgPlayPage", {50, 80}, Qt::RightButton);
    auto* playMenu = child<QMenu>(w, "popmenuPlayPage");
    action(*playMenu, "pmenu1SendtoDesign")->trigger();
    playMenu->hide();
    QCOMPARE(w.currentTab(), PlayTab::ChordDesign);
    QCOMPARE(child<SurfaceView>(w, "imgChordDesign")->pointerShape(), 5);
    clickAt(w, "imgChordDesign", slotCentre(5));
    QVERIFY(same(w.state().DesignGroup[5], sent));
    QCOMPARE(w.designGroup()->selectedSlot(), 5);
  }

  void playChordTakesThePressedSlotInHandFirst() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.showTab(PlayTab::ChordDesign);
    QVERIFY(dropCMaj7(w));
    popupCommand(w, 2, "pmenu2PlayChord");
    QCOMPARE(w.designGroup()->selectedSlot(), 2);
    QVERIFY(same(w.state().EditChord, w.state().DesignGroup[2]));
    QVERIFY(redAt(w, {76 * 2, 50}));
    QVERIFY(!redAt(w, {0, 50}));
  }

  // A library C maj7 fretted into the A m7 shape, with A pressed as the root,
  // is called A m7 on the fretboard; fretted on into D A E F# over D it is a
  // D add9, and the drag button puts it in the group under that name.
  // Edit > Undo and Ctrl+Z step the Chord Design page back: the fingering in
  // hand, the slots, the tablature and the picture follow.
  void undoAndRedoRestoreTheGroupAndTheFingeringInHand() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.showTab(PlayTab::ChordDesign);
    const Group empty = groupOf(w);
    const QImage emptyPicture = child<SurfaceView>(w, "imgChordDesign")->image();
    QVERIFY(dropCMaj7(w));
    const Group filled = groupOf(w);
    const TChordDiagram inHand = w.state().EditChord;
    const QImage filledPicture = child<SurfaceView>(w, "imgChordDesign")->image();
    setString(w, 0, 9);
    QVERIFY(!same(w.state().EditChord, inHand));
    QCOMPARE(action(w, "mnuUndo")->text(), QStringLiteral("&Undo Fret"));

    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(same(w.state().EditChord, inHand));
    QCOMPARE(child<QLineEdit>(w, "editTab0")->text(), fretText(inHand, 0));
    QCOMPARE(action(w, "mnuUndo")->text(), QStringLiteral("&Undo Show Chords"));

    action(w, "mnuUndo")->trigger();
    QVERIFY(same(groupOf(w), empty));
    QCOMPARE(child<SurfaceView>(w, "imgChordDesign")->image(), emptyPicture);
    QVERIFY(!w.state().DesignGroupChanged);
    action(w, "mnuRedo")->trigger();
    QVERIFY(same(groupOf(w), filled));
    QVERIFY(same(w.state().EditChord, inHand));
    QCOMPARE(child<SurfaceView>(w, "imgChordDesign")->image(), filledPicture);
    QVERIFY(w.state().DesignGroupChanged);
    QCOMPARE(ask.questions, QStringList());
  }
};

QTEST_MAIN(DesignGroupTest)
#include "DesignGroupTest.moc"
