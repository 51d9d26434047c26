#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QtTest>
#include <cstring>

#include "WindowProbe.h"
#include "WindowRig.h"
#include "render/FretboardPainter.h"
#include "ui/AddUserChordDialog.h"
#include "ui/BeginFretDialog.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/RepeatDialog.h"
#include "ui/TempoDialog.h"
#include "ui/TransposeDialog.h"

namespace {

QString accessibleText(QWidget* w, QAccessible::Text t) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
  return face ? face->text(t) : QString();
}

// What a user can reach or read: anything that takes the focus or a click,
// and the drawn surfaces.
bool interactive(QWidget* w) {
  return w->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(w) ||
         qobject_cast<SurfaceView*>(w) || qobject_cast<QLineEdit*>(w) ||
         qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w);
}

// Every control of `top` that is shown (on any tab) and that a screen reader
// would announce without a name.
QStringList unnamed(QWidget& top) {
  QStringList missing;
  for (QWidget* w : top.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&top) && !w->isVisible()) continue;
    if (!interactive(w)) continue;
    // Parts Qt builds inside a composite control are named through it.
    if (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
        qobject_cast<QComboBox*>(w->parentWidget()) || w->inherits("QScrollBar") ||
        w->inherits("QTabBar") || w->inherits("QMenu") || w->objectName().startsWith("qt_"))
      continue;
    if (accessibleText(w, QAccessible::Name).trimmed().isEmpty())
      missing << QStringLiteral("%1 (%2)").arg(w->objectName(), w->metaObject()->className());
  }
  return missing;
}

bool sameChord(const TChordDiagram& a, const TChordDiagram& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

SurfaceView* guitar(MainWindow& w) {
  return child<SurfaceView>(*w.fretboard(), "imgGuitar");
}
QPoint cell(int s, int f) {
  return {FretX[f] + 6, StringY[s] + 6};
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  // A screen reader has a name to say for every control on every tab.
  void everyControlHasAName() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QStringList missing;
    for (int tab = 0; tab < 5; ++tab) {
      clickTab(w, tab);
      for (const QString& name : unnamed(w))
        if (!missing.contains(name)) missing << name;
    }
    for (const QString& name : missing) qWarning("no accessible name: %s", qPrintable(name));
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
  }

  // The small dialogs name their fields as well.
  void everyDialogFieldHasAName() {
    std::int32_t tempo = 120;
    bool changed = false;
    AddUserChordDialog addChord;
    BeginFretDialog beginFret;
    RepeatDialog repeat;
    TempoDialog tempoDialog(tempo, changed);
    TransposeDialog transpose(0, false);
    QStringList missing;
    for (QDialog* d :
         std::initializer_list<QDialog*>{&addChord, &beginFret, &repeat, &tempoDialog, &transpose})
      for (const QString& name : unnamed(*d))
        missing << QStringLiteral("%1: %2").arg(d->objectName(), name);
    for (const QString& name : missing) qWarning("no accessible name: %s", qPrintable(name));
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
  }

  // The fretboard reads out the fingering in hand, string by string from
  // the lowest, as the mouse edits it.
  void theFretboardReadsTheFingeringInHand() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.showTab(PlayTab::ChordDesign);
    // x32010: the low string left muted, C on string 5 as the root.
    QTest::mouseClick(guitar(w), Qt::RightButton, {}, cell(4, 3));
    QTest::mouseClick(guitar(w), Qt::LeftButton, {}, cell(3, 2));
    QTest::mouseClick(guitar(w), Qt::LeftButton, {}, cell(2, 0));
    QTest::mouseClick(guitar(w), Qt::LeftButton, {}, cell(1, 1));
    QTest::mouseClick(guitar(w), Qt::LeftButton, {}, cell(0, 0));
    const QString said = accessibleText(guitar(w), QAccessible::Description);
    QVERIFY2(said.endsWith(QStringLiteral(
                 "string 6 not played, string 5 fret 3 C, string 4 fret 2 E, string 3 open G, "
                 "string 2 fret 1 C, string 1 open E")),
             qPrintable(said));
    QCOMPARE(accessibleText(guitar(w), QAccessible::Value), said);
    QVERIFY(!accessibleText(guitar(w), QAccessible::Name).isEmpty());
    // Sharps rename what is read with the rest of the window.
    QTest::mouseClick(guitar(w), Qt::LeftButton, {}, cell(3, 3));
    trigger(w, "mnuFlatSharp");
    QVERIFY2(accessibleText(guitar(w), QAccessible::Description)
                 .contains(QStringLiteral("string 4 fret 3 F,")),
             qPrintable(accessibleText(guitar(w), QAccessible::Description)));
  }

  // A click on a diagram of the Chords page says which one it is, its name,
  // where it sits on the neck and its strings.
  void theChosenDiagramIsAnnounced() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    showChords(w, 0, 1, 0);
    auto* page = child<SurfaceView>(w, "imgChordPage");
    clickAt(w, "imgChordPage", {120 * 2 + 70, 90});
    const QString said = accessibleText(page, QAccessible::Description);
    QVERIFY2(said.startsWith(QStringLiteral("Set 1, diagram 3: C ")), qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral(", from fret ")) &&
                 said.contains(QStringLiteral("string 6 ")) &&
                 said.contains(QStringLiteral("string 1 ")),
             qPrintable(said));
    // The fretboard reads the same chord.
    const QString board = accessibleText(guitar(w), QAccessible::Description);
    QVERIFY2(said.endsWith(board.mid(board.indexOf(QStringLiteral("string 6")))),
             qPrintable(board));
    clickAt(w, "imgChordPage", {120 * 4 + 70, 90});
    QVERIFY(accessibleText(page, QAccessible::Description)
                .startsWith(QStringLiteral("Set 1, diagram 5: C ")));

    // Sent to the play page and chosen there, it is announced by its slot.
    sendChord(w, 0, "pmenu1SendtoPlay", "imgPlayPage", {40, 60});
    auto* play = child<SurfaceView>(w, "imgPlayPage");
    // A right press chooses the slot (and opens its menu).
    QTest::mouseClick(play, Qt::RightButton, {}, {40, 60});
    child<QMenu>(w, "popmenuPlayPage")->hide();
    const QString slot = accessibleText(play, QAccessible::Description);
    QVERIFY2(slot.startsWith(QStringLiteral("Row 1, slot 1: C ")), qPrintable(slot));
  }

  // With the keyboard on a page picture (reached with Tab), the arrows
  // choose the diagrams as clicks do, and read out what they chose.
  void arrowKeysChooseDiagrams() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QApplication::setActiveWindow(&w);
    showChords(w, 0, 1, 0);
    showChords(w, 7, 1, 0);
    auto* page = child<SurfaceView>(w, "imgChordPage");
    // A click chooses without taking the keyboard from where it was.
    clickAt(w, "imgChordPage", {70, 90});
    QVERIFY(!page->hasFocus());
    page->setFocus(Qt::TabFocusReason);
    QVERIFY(page->hasFocus());
    QTest::keyClick(page, Qt::Key_Right);
    QVERIFY(sameChord(w.state().SelectedChord, w.state().ChordPage[1][0]));
    QTest::keyClick(page, Qt::Key_Down);
    QTest::keyClick(page, Qt::Key_End);
    QVERIFY(sameChord(w.state().SelectedChord, w.state().ChordPage[5][1]));
    QTest::keyClick(page, Qt::Key_Down);  // only two sets: stays
    QTest::keyClick(page, Qt::Key_Right);
    QVERIFY(sameChord(w.state().SelectedChord, w.state().ChordPage[5][1]));
    QVERIFY2(accessibleText(page, QAccessible::Description)
                 .startsWith(QStringLiteral("Set 2, diagram 6: G ")),
             qPrintable(accessibleText(page, QAccessible::Description)));
    // The keys stayed with the picture: nothing started playing.
    QVERIFY(page->hasFocus());

    // A chord sent to the play page is aimed with the arrows and put down
    // with Enter; the arrows alone place nothing.
    QTest::keyClick(page, Qt::Key_Home);
    popupCommand(w, "imgChordPage", {70, 150 + 90}, "popmenuChords", "pmenu1SendtoPlay");
    QCOMPARE(w.currentTab(), PlayTab::PlayPage);
    auto* play = child<SurfaceView>(w, "imgPlayPage");
    play->setFocus(Qt::TabFocusReason);
    QTest::keyClick(play, Qt::Key_Right);
    QTest::keyClick(play, Qt::Key_Right);
    QTest::keyClick(play, Qt::Key_Down);
    QCOMPARE(accessibleText(play, QAccessible::Description),
             QStringLiteral("Place at row 2, slot 3"));
    for (int r = 0; r < PlayPageRows; ++r)
      for (int c = 0; c < PlayPageColumns; ++c) QVERIFY(isEmpty(w.state().PlayPage[c][r]));
    QTest::keyClick(play, Qt::Key_Return);
    QVERIFY(sameChord(w.state().PlayPage[2][1], w.state().ChordPage[0][1]));
    QVERIFY2(accessibleText(play, QAccessible::Description)
                 .startsWith(QStringLiteral("Row 2, slot 3: G ")),
             qPrintable(accessibleText(play, QAccessible::Description)));
  }

  // The Scales and Print pages announce the position and the item chosen.
  void scalePositionsAndPrintItemsAreAnnounced() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    chooseKey(w, 9);
    chooseScale(w, 0);
    clickShowChords(w);
    auto* scales = child<SurfaceView>(w, "imgScales");
    clickAt(w, "imgScales", {120 * 2 + 70, 90});
    const QString scale = accessibleText(scales, QAccessible::Description);
    const int third = w.state().ScalePage[0].StartFrets[2];
    QVERIFY2(scale.startsWith(QStringLiteral("A ")) &&
                 scale.contains(QStringLiteral(" scale: A ")) &&
                 scale.endsWith(QStringLiteral(", position 3 from fret %1").arg(third)),
             qPrintable(scale));
    QCOMPARE(accessibleText(scales, QAccessible::Value), scale);

    popupCommand(w, "imgScales", {120 * 2 + 70, 90}, "popmenuScales", "pmenu1SendtoPrint");
    QCOMPARE(w.currentTab(), PlayTab::Print);
    clickAt(w, "imgPrintPage", {190, 90});
    clickAt(w, "imgPrintPage", {190, 90});
    const QString item =
        accessibleText(child<SurfaceView>(w, "imgPrintPage"), QAccessible::Description);
    QVERIFY2(item.startsWith(QStringLiteral("Row 1, item 2: A ")) &&
                 item.contains(QStringLiteral("scale, position from fret %1: A ").arg(third)),
             qPrintable(item));
  }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
