#include <QMenu>
#include <QScrollBar>
#include <QtTest>

#include "../state/TestChords.h"
#include "MidiRig.h"
#include "ReferenceImage.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "play/PlayPageGeometry.h"
#include "ui/ChordsTab.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/RepeatDialog.h"
#include "ui/SurfaceView.h"
#include "ui/TempoDialog.h"
#include "ui/ToolBarPanel.h"

namespace {

// A point well inside slot (c, r).
QPoint slot(int c, int r) {
  return {PlayGeometry::slotX(c) + 20, PlayGeometry::rowTop(r) + 60};
}

bool sameRecord(const TChordDiagram& a, const TChordDiagram& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

QImage picture(MainWindow& w) {
  return child<SurfaceView>(w, "imgPlayPage")->image();
}

// The window shown and active, so its shortcuts reach it.
bool activate(MainWindow& w) {
  w.show();
  QApplication::setActiveWindow(&w);
  return QTest::qWaitForWindowActive(&w);
}

}  // namespace

class PlayPageTabTest : public QObject {
  Q_OBJECT

 private slots:
  // Presses on the surface place, the Edit menu's Undo and Redo and Ctrl+Z
  // step them back and forth, and the page is drawn as it was each time.
  void pressesPlaceAndTheEditMenuTakesThemBack() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    QVERIFY(activate(w));
    clickTab(w, int(PlayTab::PlayPage));
    PlayPageTab* page = w.playPage();
    const QImage empty = picture(w);
    const TChordDiagram g = chordNamed("7", 7);
    page->takeInHand(g);
    clickAt(w, "imgPlayPage", slot(0, 0), Qt::LeftButton, Qt::ControlModifier);
    const QImage one = picture(w);
    clickAt(w, "imgPlayPage", slot(4, 0), Qt::LeftButton, Qt::ControlModifier);
    QVERIFY(page->placing());
    clickAt(w, "imgPlayPage", slot(0, 1), Qt::RightButton);
    QVERIFY(!page->placing());
    QVERIFY(sameRecord(w.state().PlayPage[4][0], g));
    const QImage two = picture(w);
    QCOMPARE(action(w, "mnuUndo")->text(), QStringLiteral("&Undo Place Chord"));

    trigger(w, "mnuUndo");
    QVERIFY(isEmpty(w.state().PlayPage[4][0]) && sameRecord(w.state().PlayPage[0][0], g));
    QVERIFY(picture(w) == one);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(isEmpty(w.state().PlayPage[0][0]));
    QVERIFY(picture(w) == empty);
    QVERIFY(!w.state().Play.PlayPageChanged);
    trigger(w, "mnuRedo");
    trigger(w, "mnuRedo");
    QVERIFY(picture(w) == two);
    QVERIFY(w.state().Play.PlayPageChanged);
    QVERIFY(ask.questions.isEmpty());
  }

  void pressesOffTheGridOrWhilePlayingDoNothing() {
    MidiRig rig;
    MainWindow& w = rig.window;
    PlayPageTab* page = w.playPage();
    w.showTab(PlayTab::PlayPage);
    const TChordDiagram g = chordNamed("maj", 0);
    page->takeInHand(g);
    clickAt(w, "imgPlayPage", slot(5, 0), Qt::LeftButton, Qt::ControlModifier);
    clickAt(w, "imgPlayPage", QPoint(100, 812));
    QVERIFY(page->placing());
    click(w, "sbtnPlay");
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    clickAt(w, "imgPlayPage", slot(0, 0));
    QVERIFY(isEmpty(w.state().PlayPage[0][0]));
    // The time signature is refused too, and the button goes back.
    click(w, "sbtnPause");
    click(w, "sbtnTime");
    QVERIFY(!button(w, "sbtnTime")->isChecked());
    QVERIFY(!w.state().Play.ThreeFour);
    click(w, "sbtnStop");
    QVERIFY(!button(w, "sbtnPlay")->isChecked());
    clickAt(w, "imgPlayPage", QPoint(5, 5));
    QVERIFY(sameRecord(w.state().PlayPage[0][0], g));
    QVERIFY(!page->placing());
  }

  // The pop-up menu's real commands: Delete asks; a cut chord vanishes from
  // the picture at once and comes back when the tab changes; a move that
  // landed undoes as one step.
  void popupCommandsCutDeleteAndUndo() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    PlayPageTab* page = w.playPage();
    const TChordDiagram a = chordNamed("maj", 0);
    page->takeInHand(a);
    clickAt(w, "imgPlayPage", slot(2, 1));
    const QRect area(PlayGeometry::slotX(2), PlayGeometry::rowTop(1), 60, 86);
    const QImage placed = picture(w);
    ask.answers = {false};
    popupCommand(w, "imgPlayPage", slot(2, 1), "popmenuPlayPage", "pmenu4Delete");
    QCOMPARE(ask.questions.value(0), QStringLiteral("Do you want to delete this diagram?"));
    QVERIFY(!isEmpty(w.state().PlayPage[2][1]));

    trigger(w, "pmenu4CutMove");
    QCOMPARE(ask.questions.size(), 1);
    const QImage cut = picture(w).copy(area);
    for (int y = 0; y < 86; y += 5)
      for (int x = 0; x < 60; x += 5) QCOMPARE(cut.pixelColor(x, y), QColor(Qt::white));
    clickTab(w, int(PlayTab::Chords));
    clickTab(w, int(PlayTab::PlayPage));
    QVERIFY(!page->placing() && picture(w) == placed);

    popupCommand(w, "imgPlayPage", slot(2, 1), "popmenuPlayPage", "pmenu4CutMove");
    clickAt(w, "imgPlayPage", slot(11, 5));
    QVERIFY(sameRecord(w.state().PlayPage[11][5], a) && isEmpty(w.state().PlayPage[2][1]));
    QCOMPARE(action(w, "mnuUndo")->text(), QStringLiteral("&Undo Move Chord"));
    trigger(w, "mnuUndo");
    QVERIFY(picture(w) == placed);
    QVERIFY(isEmpty(w.state().PlayPage[11][5]));
  }

  void gridMarkerAndBarNumbersMatchTheirReferences() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    SurfaceView* surface = child<SurfaceView>(w, "imgPlayPage");
    QTest::mouseClick(surface, Qt::LeftButton, {}, slot(9, 2));  // start marker to bar 5
    VERIFY_REFERENCE(surface->image(), "playPage44");
    const QImage fourFour = surface->image();
    click(w, "sbtnTime");
    QTest::mouseClick(surface, Qt::LeftButton, {}, slot(7, 3));  // start marker to bar 8
    VERIFY_REFERENCE(surface->image(), "playPage34");
    // Undone, the page is 4/4 again, and so is the button.
    clickTab(w, int(PlayTab::PlayPage));
    trigger(w, "mnuUndo");
    QVERIFY(!button(w, "sbtnTime")->isChecked());
    QTest::mouseClick(surface, Qt::LeftButton, {}, slot(9, 2));
    QVERIFY(surface->image() == fourFour);
  }

  void repeatDialogStoresMarksAndRefusesJunk() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    clickAt(w, "imgPlayPage", slot(5, 1), Qt::RightButton);  // bar 3 in 4/4
    child<QMenu>(w, "popmenuPlayPage")->hide();
    ask.dialogs.push_back([](QDialog& d) {
      auto& dlg = static_cast<RepeatDialog&>(d);
      if (dlg.lblNum->text() != QStringLiteral("3")) return false;
      tick(dlg.cbRepeat);
      tick(dlg.cbReturn);
      retype(dlg.editRepeat, QStringLiteral("999"));
      clickIn(dlg, "OKBtn");
      return dlg.result() == QDialog::Accepted;
    });
    trigger(w, "pmenu4Repeat");
    const TRepeatSet& set = w.state().Play.RepeatSet44;
    QCOMPARE(int(set.RepeatCount[2]), 255);
    QCOMPARE(int(set.ReturnMark[2]), 1);
    QVERIFY(w.state().Play.PlayPageChanged);
    QCOMPARE(w.workbench().history(PlayTab::PlayPage).undoLabel(),
             std::string_view("Repeat Markers"));

    // Text that is not a number (typed past the validator) is refused and stores nothing.
    const std::size_t steps = w.workbench().history(PlayTab::PlayPage).steps();
    ask.dialogs.push_back([](QDialog& d) {
      auto& dlg = static_cast<RepeatDialog&>(d);
      dlg.editRepeat->setValidator(nullptr);
      retype(dlg.editRepeat, QStringLiteral("1x"));
      clickIn(dlg, "OKBtn");
      const bool refused = dlg.result() != QDialog::Accepted && !dlg.lblError->text().isEmpty();
      return !refused;  // a refused OK leaves the dialog to be cancelled
    });
    trigger(w, "pmenu4Repeat");
    QCOMPARE(int(set.RepeatCount[2]), 255);
    QCOMPARE(w.workbench().history(PlayTab::PlayPage).steps(), steps);

    // Empty field: 1.
    ask.dialogs.push_back([](QDialog& d) {
      auto& dlg = static_cast<RepeatDialog&>(d);
      retype(dlg.editRepeat, QString());
      clickIn(dlg, "OKBtn");
      return dlg.result() == QDialog::Accepted;
    });
    trigger(w, "pmenu4Repeat");
    QCOMPARE(int(set.RepeatCount[2]), 1);
    QCOMPARE(ask.unanswered, 0);
  }

  // The strum speed bar and the Tempo dialog change the page: keys held on
  // the bar are one step, the dialog's OK another, and Undo shows each back.
  void strumSpeedAndTempoAreStepsOfThePage() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    QVERIFY(activate(w));
    clickTab(w, int(PlayTab::PlayPage));
    QScrollBar* speed = child<QScrollBar>(w, "sbStrumSpeed");
    const int start = w.state().Play.StrumSpeed;
    QCOMPARE(speed->value(), start);
    for (int i = 0; i < 3; ++i) QTest::keyClick(speed, Qt::Key_Left);
    QCOMPARE(w.state().Play.StrumSpeed, speed->value());
    QCOMPARE(qAbs(start - speed->value()), 30);
    QCOMPARE(action(w, "mnuUndo")->text(), QStringLiteral("&Undo Strum Speed"));

    ask.dialogs.push_back([](QDialog& d) {
      auto& tempo = static_cast<TempoDialog&>(d);
      retype(tempo.meditTempo, QStringLiteral("96"));
      QTest::mouseClick(tempo.OKBtn, Qt::LeftButton);
      return true;
    });
    trigger(w, "mnuTempo");
    QCOMPARE(w.state().Play.PlayPageTempo, 625000);
    QCOMPARE(action(w, "mnuUndo")->text(), QStringLiteral("&Undo Tempo"));
    trigger(w, "mnuUndo");
    QCOMPARE(w.state().Play.PlayPageTempo, DefaultPageTempo);
    trigger(w, "mnuUndo");
    QCOMPARE(w.state().Play.StrumSpeed, start);
    QCOMPARE(speed->value(), start);
    QVERIFY(!w.state().Play.PlayPageChanged);
    QVERIFY(!action(w, "mnuUndo")->isEnabled());
  }
};

QTEST_MAIN(PlayPageTabTest)
#include "PlayPageTabTest.moc"
