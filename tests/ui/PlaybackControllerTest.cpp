#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>
#include <fstream>
#include <optional>

#include "MidiRig.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "midi/SoundFont.h"
#include "render/FretboardPainter.h"
#include "ui/BusyGuard.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/PlaybackController.h"
#include "ui/PrintController.h"
#include "ui/SurfaceView.h"
#include "ui/ToolBarPanel.h"

namespace {

using Rig = MidiRig;

// A window whose settings and exports go to files in memory, where a full
// disk or a failing rename can be switched on.
// A chord in the last slot of the page: its chord must still end in the file.
void placeChord(ExportRig& rig) {
  rig.window->showTab(PlayTab::PlayPage);
  rig.window->playPage()->takeInHand(openE());
  clickAt(*rig.window, "imgPlayPage", QPoint(40 + 63 * 11, 60 + 132 * 5));
}

// Sets $STRUMBO_SOUNDFONT for a while.
struct SoundFontVariable {
  std::optional<QByteArray> before;
  explicit SoundFontVariable(const QByteArray& value) {
    if (qEnvironmentVariableIsSet("STRUMBO_SOUNDFONT")) before = qgetenv("STRUMBO_SOUNDFONT");
    qputenv("STRUMBO_SOUNDFONT", value);
  }
  ~SoundFontVariable() {
    if (before)
      qputenv("STRUMBO_SOUNDFONT", *before);
    else
      qunsetenv("STRUMBO_SOUNDFONT");
  }
};

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
    // Tabs do not change while playing, nor does the guitar view: the
    // capo and Left Handed go back to what holds.
    w.showTab(PlayTab::Chords);
    QCOMPARE(w.currentTab(), PlayTab::PlayPage);
    auto* capo = child<QSpinBox>(w, "spinCapo");
    QTest::keyClick(capo, Qt::Key_Up);
    QCOMPARE(capo->value(), 0);
    auto* leftHanded = child<QToolButton>(w, "sbtnLeftHanded");
    QTest::mouseClick(leftHanded, Qt::LeftButton);
    QVERIFY(!leftHanded->isChecked());
    QVERIFY(w.state().Capo == 0 && !w.state().LeftHanded);

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
    QVERIFY(!w.close());  // no closing while paused, and no question either
    QCOMPARE(rig.ask.questions, QStringList());
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

    // Play Chord from the pop-up menu strikes the pressed slot's chord.
    const int struck = rig.sent("send 90");
    popupCommand(w, "imgPlayPage", QPoint(63 * 3 + 40, 60), "popmenuPlayPage", "pmenu4PlayChord");
    rig.runUntil(40'000'000);
    QCOMPARE(rig.sent("send 90") - struck, 6);
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

  // Onto a full disk or past a failing rename, each menu export says so once
  // and leaves an earlier file of that name exactly as it was, and no
  // temporary; once the disk has room, the same commands write whole files.
  void aFailedExportKeepsTheEarlierFile() {
    ExportRig rig;
    MainWindow& w = rig.open();
    placeChord(rig);
    rig.disk.files["/out/song.mid"] = "an earlier song";
    rig.disk.files["/out/page.pdf"] = "an earlier sheet";
    rig.disk.failWrites = true;
    rig.ask.files = {QStringLiteral("/out/song.mid"), QStringLiteral("/out/page.pdf"),
                     QStringLiteral("/out/new.mid")};
    trigger(w, "mnuExportMidi");
    trigger(w, "mnuExportPdf");
    rig.disk.failWrites = false;
    rig.disk.failReplace = true;
    trigger(w, "mnuExportMidi");
    QCOMPARE(rig.ask.messages,
             QStringList({QStringLiteral("Could not write /out/song.mid: No space left on device."),
                          QStringLiteral("Could not write /out/page.pdf: No space left on device."),
                          QStringLiteral("Could not write /out/new.mid: Input/output error.")}));
    QVERIFY(rig.kept("/out/song.mid", "an earlier song"));
    QVERIFY(rig.kept("/out/page.pdf", "an earlier sheet"));
    QVERIFY(!rig.disk.exists("/out/new.mid") && !rig.disk.temporaryLeft("/out/new.mid"));

    rig.disk.failReplace = false;
    rig.ask.files = {QStringLiteral("/out/song.mid"), QStringLiteral("/out/page.pdf")};
    trigger(w, "mnuExportMidi");
    trigger(w, "mnuExportPdf");
    QCOMPARE(rig.ask.messages.size(), 3);
    QVERIFY(rig.disk.files["/out/song.mid"].starts_with("MThd"));
    QVERIFY(rig.disk.files["/out/page.pdf"].starts_with("%PDF-"));
    QVERIFY(rig.disk.files["/out/page.pdf"].find("%%EOF") != std::string::npos);
    QCOMPARE(rig.ask.unanswered, 0);
  }

  // A capo set on its spinner reaches the window's exports: the MIDI file is
  // the same page with every note two semitones up, and the PDF says "Capo 2"
  // under its title.
  void aCapoReachesTheWindowsExports() {
    ExportRig rig;
    MainWindow& w = rig.open();
    placeChord(rig);
    rig.ask.files = {QStringLiteral("/out/plain.mid"), QStringLiteral("/out/capo.mid"),
                     QStringLiteral("/out/capo.pdf")};
    trigger(w, "mnuExportMidi");
    auto* capo = child<QSpinBox>(w, "spinCapo");
    for (int i = 0; i < 2; ++i) QTest::keyClick(capo, Qt::Key_Up);
    trigger(w, "mnuExportMidi");
    const std::string& plain = rig.disk.files["/out/plain.mid"];
    const std::string& sounding = rig.disk.files["/out/capo.mid"];
    QCOMPARE(sounding.size(), plain.size());
    int raised = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) {
      if (plain[i] == sounding[i]) continue;
      QCOMPARE(static_cast<unsigned char>(sounding[i]), static_cast<unsigned char>(plain[i] + 2));
      ++raised;
    }
    QVERIFY(raised >= 12);  // six strings struck and released, at least
    trigger(w, "mnuExportPdf");
    QVERIFY(rig.disk.files["/out/capo.pdf"].starts_with("%PDF-"));
    QVERIFY(!w.printing()->lastSheet().Subtitle.isEmpty());
    QCOMPARE(rig.ask.unanswered, 0);
  }

  // An empty play page is not exported: one message, no file asked for,
  // nothing written.
  void anEmptyPlayPageIsRefused() {
    ExportRig rig;
    MainWindow& w = rig.open();
    w.showTab(PlayTab::PlayPage);
    trigger(w, "mnuExportMidi");
    trigger(w, "mnuExportAudio");
    const QString refusal = QStringLiteral("The play page is empty; there is nothing to export.");
    QCOMPARE(rig.ask.messages, QStringList({refusal, refusal}));
    QCOMPARE(rig.ask.unanswered, 0);  // no file dialog was shown
    QCOMPARE(rig.disk.writes, 0);
  }

  // $STRUMBO_SOUNDFONT naming a text file: the installed soundfont renders the
  // audio, and the window says once which file it could not use.
  void aDamagedSoundFontIsNamedOnce() {
    const std::string installed = SoundFont::findGeneralMidi();
    if (installed.empty()) QSKIP("no General MIDI soundfont installed");
    QTemporaryDir dir;
    const QString notes = dir.filePath(QStringLiteral("notes.sf2"));
    std::ofstream(notes.toStdString()) << "my notes, not a soundfont\n";
    SoundFontVariable variable(notes.toLocal8Bit());
    ExportRig rig;
    MainWindow& w = rig.open();
    placeChord(rig);
    rig.ask.files = {QStringLiteral("/out/a.wav"), QStringLiteral("/out/b.wav")};
    trigger(w, "mnuExportAudio");
    trigger(w, "mnuExportAudio");
    click(w, "sbtnPlay");
    QCOMPARE(rig.ask.messages,
             QStringList{QStringLiteral("The soundfont ") + notes +
                         QStringLiteral(" could not be used; ") +
                         QString::fromStdString(installed) + QStringLiteral(" is used instead.")});
    QVERIFY(rig.disk.files["/out/a.wav"].starts_with("RIFF"));
    QCOMPARE(rig.disk.files["/out/b.wav"], rig.disk.files["/out/a.wav"]);
  }
};

QTEST_MAIN(PlaybackControllerTest)
#include "PlaybackControllerTest.moc"
