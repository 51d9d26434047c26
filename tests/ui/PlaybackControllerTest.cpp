#include <QMenuBar>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "MidiRig.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "render/FretboardPainter.h"
#include "ui/BusyGuard.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/PlaybackController.h"
#include "ui/SurfaceView.h"
#include "ui/ToolBarPanel.h"

namespace {

TChordDiagram openE() {
  TChordDiagram c = startFingering();
  c.ChordName = "maj";
  const int frets[6] = {0, 0, 1, 2, 2, 0};
  const int fingers[6] = {0, 0, 1, 3, 2, 0};
  for (int s = 0; s < 6; ++s) {
    c.Strings[s] = {static_cast<std::uint8_t>(frets[s]), static_cast<std::uint8_t>(fingers[s])};
    c.Notes[s] = static_cast<std::uint8_t>(c.Tuning[s] + frets[s]);
  }
  c.Root = 4;
  c.Bass = 28;
  return c;
}

using Rig = MidiRig;

}  // namespace

class PlaybackControllerTest : public QObject {
  Q_OBJECT

 private slots:
  void playingThePageRunsToItsEnd() {
    Rig rig;
    MainWindow& w = rig.window;
    w.showTab(PlayTab::PlayPage);
    w.playPage()->takeInHand(openE());
    clickAt(w, "imgPlayPage", QPoint(40, 60));
    click(w, "sbtnPlay");
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    QVERIFY(!rig.menuEnabled());
    QVERIFY(w.guard().active());
    // The red beat cursor stands on the first beat.
    const QImage& page = child<SurfaceView>(w, "imgPlayPage")->image();
    bool red = false;
    for (int y = 95; y < 128 && !red; ++y)
      for (int x = 39; x < 67 && !red; ++x) red = page.pixelColor(x, y) == QColor(255, 0, 0);
    QVERIFY(red);
    // Tabs do not change while playing.
    w.showTab(PlayTab::Chords);
    QCOMPARE(w.currentTab(), PlayTab::PlayPage);

    // Nine bars at 100 beats per minute: 36 beats of 0.6 s.
    rig.runUntil(30'000'000);
    QVERIFY(!button(w, "sbtnPlay")->isChecked());
    QVERIFY(rig.menuEnabled());
    QVERIFY(!w.guard().active());
    QCOMPARE(rig.sent("send 90"), 6);  // the six strings, struck once
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  // The guard asks the engine and the busy pointers, not the buttons: it
  // holds while the page plays or pauses, and while a busy pointer lives.
  void theGuardHoldsWhileTheEnginePlaysOrABusyPointerLives() {
    Rig rig;
    MainWindow& w = rig.window;
    w.showTab(PlayTab::PlayPage);
    w.playPage()->takeInHand(openE());
    clickAt(w, "imgPlayPage", QPoint(40, 60));
    // A Play button pressed down by other means plays nothing, and holds nothing.
    button(w, "sbtnPlay")->setChecked(true);
    QVERIFY(!w.guard().active());
    button(w, "sbtnPlay")->setChecked(false);

    click(w, "sbtnPlay");
    QVERIFY(w.playback()->engine().busy());
    QVERIFY(w.guard().active());
    rig.runUntil(1'000'000);
    click(w, "sbtnPause");
    QVERIFY(button(w, "sbtnPause")->isChecked());
    QVERIFY(w.guard().active());
    QVERIFY(!w.close());  // no closing while paused
    click(w, "sbtnPause");
    QVERIFY(!button(w, "sbtnPause")->isChecked());
    click(w, "sbtnStop");
    QVERIFY(!button(w, "sbtnPlay")->isChecked());
    QVERIFY(rig.menuEnabled());
    QVERIFY(!w.playback()->engine().busy());
    QVERIFY(!w.guard().active());

    {
      BusyPointer outer;
      QVERIFY(w.guard().active());
      { BusyPointer inner; }
      QVERIFY(w.guard().active());  // until the last one goes
      // Play is undone while busy: nothing starts.
      click(w, "sbtnPlay");
      QVERIFY(!button(w, "sbtnPlay")->isChecked());
      QVERIFY(!w.playback()->engine().busy());
    }
    QVERIFY(!w.guard().active());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    click(w, "sbtnPlay");
    QVERIFY(w.guard().active());
    click(w, "sbtnStop");
  }

  void playWithoutMidiLeavesPlayUp() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.state().SelectedChord = openE();
    click(w, "sbtnPlay");
    QVERIFY(!button(w, "sbtnPlay")->isChecked());
    QVERIFY(ask.messages.isEmpty());
  }

  void aChordLightsItsStringsOnTheFretboard() {
    Rig rig;
    MainWindow& w = rig.window;
    w.state().SelectedChord = openE();
    w.fretboard()->ShowDiagram(w.state().SelectedChord);
    const QImage before =
        w.fretboard()->findChild<SurfaceView*>(QStringLiteral("imgGuitar"))->image();
    click(w, "sbtnPlay");
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    // The first string struck is string 5: its mark changes to the white set.
    rig.runUntil(1000);
    const QRect square(FretX[0], StringY[5], 12, 12);
    QVERIFY(
        w.fretboard()->findChild<SurfaceView*>(QStringLiteral("imgGuitar"))->image().copy(square) !=
        before.copy(square));
    rig.runUntil(20'000'000);
    QVERIFY(!button(w, "sbtnPlay")->isChecked());
    // Each mark is cleared when its note ends.
    QCOMPARE(
        w.fretboard()->findChild<SurfaceView*>(QStringLiteral("imgGuitar"))->image().copy(square),
        before.copy(square));
  }

  void stepPlayWalksTheChordsWithTheKeys() {
    Rig rig;
    MainWindow& w = rig.window;
    w.showTab(PlayTab::PlayPage);
    w.playPage()->takeInHand(openE());
    clickAt(w, "imgPlayPage", QPoint(63 * 3 + 40, 60));
    click(w, "sbtnStep");
    QVERIFY(w.playback()->engine().StepMode);
    QScrollBar* speed = child<QScrollBar>(w, "sbStrumSpeed");
    const int strum = speed->value();
    const QImage before = child<SurfaceView>(w, "imgPlayPage")->image();
    QVERIFY(typeKey(w, Qt::Key_Space));
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    QCOMPARE(w.playback()->engine().CurrentSlot, 3);
    QVERIFY(child<SurfaceView>(w, "imgPlayPage")->image() != before);  // the step arrow
    rig.runUntil(10'000'000);
    QVERIFY(button(w, "sbtnPlay")->isChecked());  // step play waits for the next key
    QCOMPARE(rig.sent("send 90"), 6);
    // Left steps back to the only chord again: struck a second time, and the
    // key is used up before the strum speed bar that has the focus sees it.
    QVERIFY(typeKey(w, Qt::Key_Left));
    QCOMPARE(w.playback()->engine().CurrentSlot, 3);
    QCOMPARE(speed->value(), strum);
    rig.runUntil(20'000'000);
    QCOMPARE(rig.sent("send 90"), 12);
    click(w, "sbtnStop");
    QVERIFY(!button(w, "sbtnPlay")->isChecked());
    // Step Play cannot change while playing.
    click(w, "sbtnPlay");
    click(w, "sbtnStep");
    QVERIFY(button(w, "sbtnStep")->isChecked());
    click(w, "sbtnStop");
  }

  void clickSwitchedOffDuringPlayIsSilentWithinASecond() {
    Rig rig;
    MainWindow& w = rig.window;
    w.showTab(PlayTab::PlayPage);
    w.playPage()->takeInHand(openE());
    QTest::mouseClick(child<SurfaceView>(w, "imgPlayPage"), Qt::LeftButton, {}, QPoint(40, 60));
    if (!button(w, "sbtnClick")->isChecked()) click(w, "sbtnClick");
    if (!button(w, "sbtnLoop")->isChecked()) click(w, "sbtnLoop");
    QVERIFY(button(w, "sbtnClick")->isChecked() && button(w, "sbtnLoop")->isChecked());
    click(w, "sbtnPlay");
    rig.runUntil(5'000'000);
    QVERIFY(rig.sent("send 99") > 0);  // clicks on the click channel
    click(w, "sbtnClick");
    QVERIFY(!button(w, "sbtnClick")->isChecked());
    // Loop Play cannot be switched while the page plays.
    click(w, "sbtnLoop");
    QVERIFY(button(w, "sbtnLoop")->isChecked());
    rig.runUntil(6'000'000);
    const int heard = rig.sent("send 99");
    rig.runUntil(60'000'000);
    QVERIFY(button(w, "sbtnPlay")->isChecked());  // still looping
    QCOMPARE(rig.sent("send 99"), heard);
    QVERIFY(rig.sent("send 89 22") > 50);  // the silent clicks keep the time line
    click(w, "sbtnStop");
  }
};

QTEST_MAIN(PlaybackControllerTest)
#include "PlaybackControllerTest.moc"
