#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "MidiRig.h"
#include "ReferenceImage.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "play/PlayPageGeometry.h"
#include "ui/ChordsTab.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/RepeatDialog.h"
#include "ui/SurfaceView.h"
#include "ui/ToolBarPanel.h"

namespace {

TChordDiagram chordNamed(const char* name, int root) {
  TChordDiagram c = startFingering();
  c.ChordName = name;
  c.Root = static_cast<std::uint8_t>(root);
  c.Bass = static_cast<std::uint8_t>(24 + root);
  for (int s = 0; s < 5; ++s) {
    c.Strings[s] = {2, 6};
    c.Notes[s] = static_cast<std::uint8_t>(c.Tuning[s] + 2);
  }
  return c;
}

// A point well inside slot (c, r).
QPoint slot(int c, int r) {
  return {PlayGeometry::slotX(c) + 20, PlayGeometry::rowTop(r) + 60};
}

bool sameRecord(const TChordDiagram& a, const TChordDiagram& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

class PlayPageTabTest : public QObject {
  Q_OBJECT

 private slots:
  void ctrlPlacesAgainAndARightPressEndsTheSeries() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    PlayPageTab* page = w.playPage();
    const TChordDiagram g = chordNamed("7", 7);
    page->takeInHand(g);
    clickAt(w, "imgPlayPage", slot(0, 0), Qt::LeftButton, Qt::ControlModifier);
    clickAt(w, "imgPlayPage", slot(4, 0), Qt::LeftButton, Qt::ControlModifier);
    clickAt(w, "imgPlayPage", slot(8, 0), Qt::LeftButton, Qt::ControlModifier);
    QVERIFY(page->placing());
    clickAt(w, "imgPlayPage", slot(0, 1), Qt::RightButton);
    QVERIFY(!page->placing());
    QVERIFY(sameRecord(w.state().PlayPage[4][0], g));
    QVERIFY(sameRecord(w.state().PlayPage[8][0], g));
    QVERIFY(isEmpty(w.state().PlayPage[0][1]));
    QVERIFY(w.state().Play.PlayPageChanged);
    // A plain press places once and ends the hand.
    page->takeInHand(g);
    clickAt(w, "imgPlayPage", slot(1, 1));
    QVERIFY(!page->placing());
    QVERIFY(ask.questions.isEmpty());
  }

  void replacingAsksAndNoKeepsTheHand() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    PlayPageTab* page = w.playPage();
    page->takeInHand(chordNamed("maj", 0));
    clickAt(w, "imgPlayPage", slot(2, 2));
    w.state().Play.PlayPageChanged = false;

    page->takeInHand(chordNamed("m7", 9));
    ask.answers = {false};
    clickAt(w, "imgPlayPage", slot(2, 2));
    QCOMPARE(ask.questions.value(0), QStringLiteral("Do you want to replace this diagram?"));
    QVERIFY(page->placing());
    QCOMPARE(std::string(w.state().PlayPage[2][2].ChordName.view()), std::string("maj"));
    QVERIFY(!w.state().Play.PlayPageChanged);
    ask.answers = {true};
    clickAt(w, "imgPlayPage", slot(2, 2));
    QCOMPARE(std::string(w.state().PlayPage[2][2].ChordName.view()), std::string("m7"));
    QVERIFY(w.state().Play.PlayPageChanged);
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
    click(w, "sbtnStop");
    QVERIFY(!button(w, "sbtnPlay")->isChecked());
    clickAt(w, "imgPlayPage", QPoint(5, 5));
    QVERIFY(sameRecord(w.state().PlayPage[0][0], g));
    QVERIFY(!page->placing());
  }

  void popupOffersOnlyRepeatMarkersOnAnEmptySlot() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    w.show();
    PlayPageTab* page = w.playPage();
    clickAt(w, "imgPlayPage", slot(3, 1), Qt::RightButton);
    QCOMPARE(page->selectedSlot(), QPoint(3, 1));
    QVERIFY(child<QMenu>(w, "popmenuPlayPage")->isVisible());
    const QList<QAction*> items = child<QMenu>(w, "popmenuPlayPage")->actions();
    QCOMPARE(items.size(), 7);
    for (int i = 0; i < 6; ++i) QVERIFY(!items[i]->isEnabled());
    QVERIFY(items[6]->isEnabled());
    child<QMenu>(w, "popmenuPlayPage")->hide();

    page->takeInHand(chordNamed("maj", 0));
    clickAt(w, "imgPlayPage", slot(3, 1));
    clickAt(w, "imgPlayPage", slot(3, 1), Qt::RightButton);
    for (QAction* a : child<QMenu>(w, "popmenuPlayPage")->actions()) QVERIFY(a->isEnabled());
    child<QMenu>(w, "popmenuPlayPage")->hide();
  }

  void deleteCutAndCopy() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    PlayPageTab* page = w.playPage();
    const TChordDiagram a = chordNamed("maj", 0);
    page->takeInHand(a);
    clickAt(w, "imgPlayPage", slot(0, 0));

    // Delete asks; No keeps it.
    clickAt(w, "imgPlayPage", slot(0, 0), Qt::RightButton);
    child<QMenu>(w, "popmenuPlayPage")->hide();
    ask.answers = {false};
    trigger(w, "pmenu4Delete");
    QVERIFY(!isEmpty(w.state().PlayPage[0][0]));

    // Copy and move: the original stays.
    trigger(w, "pmenu4CopyMove");
    QVERIFY(page->placing());
    clickAt(w, "imgPlayPage", slot(5, 3));
    QVERIFY(sameRecord(w.state().PlayPage[5][3], a));
    QVERIFY(!isEmpty(w.state().PlayPage[0][0]));

    // Cut and move: gone at once, without a question, and placed elsewhere.
    const int asked = ask.questions.size();
    trigger(w, "pmenu4CutMove");
    QCOMPARE(ask.questions.size(), asked);
    QVERIFY(isEmpty(w.state().PlayPage[0][0]));
    clickAt(w, "imgPlayPage", slot(11, 5));
    QVERIFY(sameRecord(w.state().PlayPage[11][5], a));
    // The wiped slot is white again.
    const QImage& img = child<SurfaceView>(w, "imgPlayPage")->image();
    for (int y = 0; y < 86; y += 5)
      for (int x = 20; x < 80; x += 5) QCOMPARE(img.pixelColor(x, y), QColor(Qt::white));
  }

  void aCancelledCutPutsTheDiagramBack() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    PlayPageTab* page = w.playPage();
    const TChordDiagram a = chordNamed("maj", 0);
    page->takeInHand(a);
    clickAt(w, "imgPlayPage", slot(2, 1));
    const QImage& img = child<SurfaceView>(w, "imgPlayPage")->image();
    const QRect area(PlayGeometry::slotX(2), PlayGeometry::rowTop(1), 60, 86);
    const QImage before = img.copy(area);
    w.state().Play.PlayPageChanged = false;
    const auto menu = [&](int c, int r, const char* command) {
      clickAt(w, "imgPlayPage", slot(c, r), Qt::RightButton);
      child<QMenu>(w, "popmenuPlayPage")->hide();
      trigger(w, command);
    };
    const auto putBack = [&] {
      return !page->placing() && sameRecord(w.state().PlayPage[2][1], a) &&
             !w.state().Play.PlayPageChanged && img.copy(area) == before;
    };
    menu(2, 1, "pmenu4CutMove");
    clickAt(w, "imgPlayPage", slot(7, 4), Qt::RightButton);
    QVERIFY(putBack() && isEmpty(w.state().PlayPage[7][4]));
    menu(2, 1, "pmenu4CutMove");
    clickTab(w, int(PlayTab::Chords));
    clickTab(w, int(PlayTab::PlayPage));
    QVERIFY(putBack());
    menu(2, 1, "pmenu4CutMove");
    page->takeInHand(chordNamed("7", 7));  // another diagram sent meanwhile
    QVERIFY(sameRecord(w.state().PlayPage[2][1], a));

    // Placed, even with Ctrl kept in hand: a cancel leaves it where it went.
    clickAt(w, "imgPlayPage", slot(0, 0), Qt::RightButton);
    menu(2, 1, "pmenu4CutMove");
    clickAt(w, "imgPlayPage", slot(9, 5), Qt::LeftButton, Qt::ControlModifier);
    clickAt(w, "imgPlayPage", slot(0, 0), Qt::RightButton);
    QVERIFY(isEmpty(w.state().PlayPage[2][1]) && sameRecord(w.state().PlayPage[9][5], a));
    // A cancelled copy never touched its source.
    menu(9, 5, "pmenu4CopyMove");
    clickTab(w, int(PlayTab::Chords));
    QVERIFY(!page->placing() && sameRecord(w.state().PlayPage[9][5], a));
  }

  void gridMarkerAndBarNumbersMatchTheirReferences() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    SurfaceView* surface = child<SurfaceView>(w, "imgPlayPage");
    QTest::mouseClick(surface, Qt::LeftButton, {}, slot(9, 2));  // start marker to bar 5
    VERIFY_REFERENCE(surface->image(), "playPage44");
    click(w, "sbtnTime");
    QTest::mouseClick(surface, Qt::LeftButton, {}, slot(7, 3));  // start marker to bar 8
    VERIFY_REFERENCE(surface->image(), "playPage34");
  }

  void startMarkerMovesOnlyToBarStarts() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    PlayPageState& play = w.state().Play;
    clickAt(w, "imgPlayPage", slot(5, 1));
    QCOMPARE(QPoint(play.PlayStartColumn, play.PlayStartRow), QPoint(4, 1));
    clickAt(w, "imgPlayPage", slot(0, 1));
    QCOMPARE(QPoint(play.PlayStartColumn, play.PlayStartRow), QPoint(4, 1));
    click(w, "sbtnTime");  // 3/4
    QCOMPARE(QPoint(play.PlayStartColumn, play.PlayStartRow), QPoint(0, 0));
    clickAt(w, "imgPlayPage", slot(7, 2));
    QCOMPARE(QPoint(play.PlayStartColumn, play.PlayStartRow), QPoint(6, 2));
  }

  void repeatDialogStoresMarksAndRefusesJunk() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
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

    // Text that is not a number (typed past the validator) is refused and stores nothing.
    w.state().Play.PlayPageChanged = false;
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
    QVERIFY(!w.state().Play.PlayPageChanged);

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

  void switchingTimeSignatureKeepsEachSetAndTheSlots() {
    MidiRig rig;
    MainWindow& w = rig.window;
    w.showTab(PlayTab::PlayPage);
    PlayPageTab* page = w.playPage();
    PlayPageState& play = w.state().Play;
    page->takeInHand(chordNamed("maj", 0));
    clickAt(w, "imgPlayPage", slot(6, 0));
    play.PlayPageChanged = false;
    play.RepeatSet44.RepeatCount[1] = 2;
    click(w, "sbtnTime");
    QVERIFY(play.ThreeFour);
    QCOMPARE(int(play.ActiveRepeatSet.RepeatCount[1]), 0);
    QCOMPARE(int(play.ActiveRepeatSet.LoopMark[11]), 1);
    play.RepeatSet34.RepeatCount[5] = 3;
    click(w, "sbtnTime");
    QVERIFY(!play.ThreeFour);
    QCOMPARE(int(play.ActiveRepeatSet.RepeatCount[1]), 2);
    QCOMPARE(int(play.RepeatSet34.RepeatCount[5]), 3);
    QVERIFY(!isEmpty(w.state().PlayPage[6][0]));
    QVERIFY(!play.PlayPageChanged);
    // Refused while paused, and the button goes back.
    click(w, "sbtnPlay");
    click(w, "sbtnPause");
    QVERIFY(button(w, "sbtnPause")->isChecked());
    click(w, "sbtnTime");
    QVERIFY(!button(w, "sbtnTime")->isChecked());
    QVERIFY(!play.ThreeFour);
    click(w, "sbtnStop");
  }

  void sendToPlayPageFromTheChordsPage() {
    ScriptedPrompter ask;
    MainWindow w("/nonexistent/", &ask);
    AppState& st = w.state();
    st.ChordPage[2][0] = chordNamed("m7", 9);
    st.ChordSetCount = 1;
    clickAt(w, "imgChordPage", QPoint(280, 100), Qt::RightButton);
    child<QMenu>(w, "popmenuChords")->hide();
    trigger(w, "pmenu1SendtoPlay");
    QCOMPARE(w.currentTab(), PlayTab::PlayPage);
    QVERIFY(w.playPage()->placing());
    QVERIFY(sameRecord(st.MoveBuffer, st.ChordPage[2][0]));
    clickAt(w, "imgPlayPage", slot(0, 0));
    QVERIFY(sameRecord(st.PlayPage[0][0], st.ChordPage[2][0]));
  }
};

QTEST_MAIN(PlayPageTabTest)
#include "PlayPageTabTest.moc"
