#include <QLineEdit>
#include <QtTest>
#include <cstring>
#include <memory>

#include "MidiRig.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "play/PlayPageGeometry.h"
#include "render/FretboardPainter.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/SurfaceView.h"

// Work that is in hand when something else happens: a diagram being moved
// when the page is saved, a tablature box left when the edit is refused, a
// hand-laid print page when it would be lost.

namespace {

QPoint designSlot(int s) {
  return {76 * s + 38, 50};
}
QPoint playSlot(int c, int r) {
  return {PlayGeometry::slotX(c) + 20, PlayGeometry::rowTop(r) + 60};
}
QPoint printCell(int c, int r) {
  return {120 * c + 70, 160 * r + 90};
}

QLineEdit* tabBox(MainWindow& w) {
  return child<QLineEdit>(w, "editTab0");
}

// A typing session in the first tablature box: focus by a click, the text
// typed over.
void typeInto(MainWindow& w, const QString& text) {
  QTest::mouseClick(tabBox(w), Qt::LeftButton);
  QVERIFY(tabBox(w)->hasFocus());
  retype(tabBox(w), text);
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
    WindowRig rig;
    MainWindow& w = rig.w;
    QVERIFY(activate(w));
    showChords(w, 0, 1, 0);
    sendChord(w, 1, "pmenu1SendtoPlay", "imgPlayPage", playSlot(3, 1));
    clickTab(w, int(PlayTab::Chords));
    sendChord(w, 2, "pmenu1SendtoPrint", "imgPrintPage", printCell(2, 1));
    clickTab(w, int(PlayTab::Chords));
    sendChord(w, 3, "pmenu1SendtoDesign", "imgChordDesign", designSlot(2));

    const struct {
      PlayTab tab;
      const char* ext;
      const char* surface;
      QPoint at;
      const char* menu;
      const char* move;
    } pages[] = {
        {PlayTab::ChordDesign, "cds", "imgChordDesign", designSlot(2), "popmenuDesign",
         "pmenu2Move"},
        {PlayTab::PlayPage, "ppf", "imgPlayPage", playSlot(3, 1), "popmenuPlayPage",
         "pmenu4CutMove"},
        {PlayTab::Print, "prf", "imgPrintPage", printCell(2, 1), "popmenuPrint", "pmenu3Move"}};
    for (const auto& p : pages) {
      clickTab(w, int(p.tab));
      const QByteArray before = rig.save(QStringLiteral("before.") + QLatin1String(p.ext));
      popupCommand(w, p.surface, p.at, p.menu, p.move);
      QCOMPARE(child<SurfaceView>(w, p.surface)->pointerShape(), 6);
      QCOMPARE(rig.save(QStringLiteral("during.") + QLatin1String(p.ext)), before);
      QCOMPARE(rig.ask.messages, QStringList());
      // The move ended: nothing is in hand to land or to cancel later.
      QCOMPARE(child<SurfaceView>(w, p.surface)->pointerShape(), 0);
    }
    QVERIFY(!isEmpty(w.state().DesignGroup[2]));
    QVERIFY(!isEmpty(w.state().PlayPage[3][1]));
    QVERIFY(!isEmpty(w.state().PrintPage[2][1]));
    // What is on screen is what was saved, so closing has nothing to ask.
    clickTab(w, int(PlayTab::Chords));
    QVERIFY(w.close());
    QCOMPARE(rig.ask.questions, QStringList());
  }

  // Leaving a box whose edit is refused (Play down, or the tab changing
  // under it) changes nothing at all, and the box shows the chord again.
  void aRefusedTablatureEditChangesNothing() {
    MidiRig rig;
    MainWindow& w = rig.window;
    QVERIFY(activate(w));
    clickTab(w, int(PlayTab::ChordDesign));
    clickAt(*w.fretboard(), "imgGuitar", {FretX[3] + 6, StringY[0] + 6});
    QCOMPARE(w.state().EditChord.Notes[0], std::uint8_t(67));
    const TChordDiagram chord = w.state().EditChord;
    QCOMPARE(tabBox(w)->text(), QStringLiteral("3"));

    click(w, "sbtnPlay");
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    typeInto(w, QString());
    QTest::keyClick(tabBox(w), Qt::Key_Tab);
    QCOMPARE(std::memcmp(&w.state().EditChord, &chord, sizeof chord), 0);
    QCOMPARE(tabBox(w)->text(), QStringLiteral("3"));
    rig.runUntil(20'000'000);
    QVERIFY(!button(w, "sbtnPlay")->isChecked());

    typeInto(w, QStringLiteral("0"));
    clickTab(w, int(PlayTab::Chords));
    QCOMPARE(std::memcmp(&w.state().EditChord, &chord, sizeof chord), 0);
    clickTab(w, int(PlayTab::ChordDesign));
    QCOMPARE(tabBox(w)->text(), QStringLiteral("3"));

    // Allowed, the same box does its edit.
    typeInto(w, QStringLiteral("0"));
    QTest::keyClick(tabBox(w), Qt::Key_Tab);
    QCOMPARE(w.state().EditChord.Strings[0].Finger, FingerCode::Open);
    QCOMPARE(w.state().EditChord.Notes[0], std::uint8_t(64));
  }

  // A hand-laid print page is asked about like the play page and the group:
  // Close and Open ask, and the close that is refused shows the page.
  void thePrintPageIsWorkToAskAbout() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    QVERIFY(activate(w));
    showChords(w, 0, 1, 0);
    popupCommand(w, "imgChordPage", {120 + 70, 90}, "popmenuChords", "pmenu1SendtoPrint");
    QVERIFY(!w.state().PrintPageChanged);  // waiting to be placed is no change yet
    clickAt(w, "imgPrintPage", printCell(0, 0));
    QVERIFY(w.state().PrintPageChanged);
    rig.save(QStringLiteral("one.prf"));
    QVERIFY(!w.state().PrintPageChanged);
    clickTab(w, int(PlayTab::Chords));
    sendChord(w, 2, "pmenu1SendtoPrint", "imgPrintPage", printCell(1, 0));
    QVERIFY(w.state().PrintPageChanged);

    clickTab(w, int(PlayTab::Chords));
    ask.answers = {false};
    QVERIFY(!w.close());
    QCOMPARE(ask.questions.last(),
             QStringLiteral("Do you want to close without saving changes to the Print Page?"));
    QCOMPARE(ask.defaults.last(), false);
    QCOMPARE(w.currentTab(), PlayTab::Print);

    // Open: Yes leaves the page to be saved first, No opens over it.
    ask.answers = {true};
    ask.files = {rig.file(QStringLiteral("one.prf"))};
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
    QVERIFY(w.close());
    QCOMPARE(ask.unanswered, 0);
  }
};

QTEST_MAIN(WorkInHandTest)
#include "WorkInHandTest.moc"
