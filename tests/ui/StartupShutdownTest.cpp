#include <QComboBox>
#include <QScrollBar>
#include <QTextBrowser>
#include <QtTest>

#include "../play/FakeMidiDevices.h"
#include "../settings/FakeFileLayer.h"
#include "MidiRig.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"
#include "midi/VirtualClock.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"
#include "ui/AboutDialog.h"
#include "ui/ChordDesignTab.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/ToolBarPanel.h"

namespace {

const std::string Dir = "/prog/";
const std::string Ini = "/prog/Px.ini";

}  // namespace

class StartupShutdownTest : public QObject {
  Q_OBJECT

 private slots:
  void firstStartWithoutSettingsWritesOnlyMainAndDirectory() {
    FakeFileLayer files;
    ProfileFile ini(Ini, files);
    WindowRig rig(Dir, {&ini, nullptr});
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    QCOMPARE(child<QScrollBar>(w, "sbStrumSpeed")->value(), -300);
    QVERIFY(!button(w, "sbtnBassNote")->isChecked());
    QCOMPARE(w.chordDesign()->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->count(), 62);
    QCOMPARE(w.currentTab(), PlayTab::Chords);
    QCOMPARE(w.state().Play.PlayPageTempo, 600000);
    QVERIFY(!files.exists(Ini));

    QVERIFY(w.close());
    QVERIFY(files.exists(Ini));
    QCOMPARE(ini.readInteger("Main", "Sspeed", 1), -300);
    QCOMPARE(ini.readString("Directory", "Play", ""), std::string("/prog/Play"));
    QVERIFY(!ini.hasSection("MidiOut"));
    QVERIFY(!ini.hasSection("Guitar"));
    QVERIFY(ask.questions.isEmpty());
  }

  void settingsAreReadAtStartAndWrittenBack() {
    FakeFileLayer files;
    files.files[Ini] =
        "[Main]\nSspeed=0x10\nBass=1\n[UserChords]\nNumber=2\n[62]\nName=Mine\n[63]\nFormula=1 3\n"
        "[General MIDI]\nMy Guitar=\n";
    ProfileFile ini(Ini, files);
    WindowRig rig(Dir, {&ini, nullptr});
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    // 0x10 reads as 16, past the scroll bar's end at 0.
    QCOMPARE(child<QScrollBar>(w, "sbStrumSpeed")->value(), 0);
    QVERIFY(button(w, "sbtnBassNote")->isChecked());
    QVERIFY(w.state().Play.BassNote);
    QComboBox* list = w.chordDesign()->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    QCOMPARE(list->count(), 64);
    QCOMPARE(list->itemText(62), QStringLiteral("Mine"));
    QCOMPARE(list->itemText(63), QStringLiteral("NONAME"));

    child<QScrollBar>(w, "sbStrumSpeed")->setValue(-550);
    click(w, "sbtnBassNote");
    QVERIFY(!w.state().Play.BassNote);
    // The strum speed is saved with the play page, so the page has changed.
    ask.answers = {true};
    trigger(w, "mnuExit");
    QCOMPARE(
        ask.questions,
        QStringList{QStringLiteral("Do you want to close without saving changes to PlayPage?")});
    QCOMPARE(ini.readInteger("Main", "Sspeed", 0), -550);
    QCOMPARE(ini.readBool("Main", "Bass", true), false);
    // A voice list of the player's own stays as it is.
    QCOMPARE(ini.readKeyNames("General MIDI"), std::vector<std::string>{"My Guitar"});
  }

  void closingIsRefusedAfterANo() {
    MidiRig rig;
    MainWindow& w = rig.window;
    ScriptedPrompter& ask = rig.ask;
    FakeFileLayer& files = rig.files;
    w.showTab(PlayTab::PlayPage);
    TChordDiagram chord = startFingering();
    chord.Strings[0] = {3, 1};
    chord.Notes[0] = 67;
    w.playPage()->takeInHand(chord);
    clickAt(w, "imgPlayPage", QPoint(40, 60));
    QVERIFY(w.state().Play.PlayPageChanged);
    ask.answers = {false};
    QVERIFY(!w.close());
    QCOMPARE(ask.questions.value(0),
             QStringLiteral("Do you want to close without saving changes to PlayPage?"));
    QVERIFY(!files.exists(Ini));

    w.state().DesignGroupChanged = true;
    ask.answers = {true, false};
    QVERIFY(!w.close());
    QCOMPARE(ask.questions.value(2),
             QStringLiteral("Do you want to close without saving changes to the Design Group?"));
    ask.answers = {true, true};
    QVERIFY(w.close());
    QVERIFY(files.exists(Ini));
  }

  // A settings file of megabytes is no settings file: it is renamed at start,
  // the player is told once with both names, and the program starts and
  // closes with a settings file of its own.
  void anOversizedSettingsFileIsSetAsideWithOneMessage() {
    FakeFileLayer files;
    const std::string huge = "[Main]\nSspeed=-100\n" + std::string(3 << 20, ';');
    files.files[Ini] = huge;
    std::string notice;
    const std::string path = SettingsLocation::resolve(
        Dir, files, [](const std::string&) { return true; }, "", notice);
    QCOMPARE(path, Ini);
    ProfileFile ini(path, files);
    WindowRig rig(Dir, {&ini, nullptr, nullptr, notice});
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    QCOMPARE(ask.messages.size(), 1);
    const QString aside = QStringLiteral("/prog/Px.ini.too-large-1");
    QVERIFY2(ask.messages[0].contains(QStringLiteral("\"/prog/Px.ini\"")),
             qPrintable(ask.messages[0]));
    QVERIFY2(ask.messages[0].contains(aside), qPrintable(ask.messages[0]));
    QCOMPARE(child<QScrollBar>(w, "sbStrumSpeed")->value(), -300);
    QVERIFY(w.close());
    QCOMPARE(ask.messages.size(), 1);
    QCOMPARE(files.files[aside.toStdString()], huge);
    QCOMPARE(ini.readInteger("Main", "Sspeed", 1), -300);
  }

  void aFailedSettingsWriteIsShownAndTheOldFileKept() {
    FakeFileLayer files;
    files.files[Ini] = "[Main]\nSspeed=-100\n";
    files.failWrites = true;
    ProfileFile ini(Ini, files);
    WindowRig rig(Dir, {&ini, nullptr});
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    child<QScrollBar>(w, "sbStrumSpeed")->setValue(-700);
    ask.answers = {true};
    QVERIFY(w.close());
    QCOMPARE(ask.messages.value(0), QStringLiteral("Unable to write to /prog/Px.ini"));
    files.failWrites = false;
    QCOMPARE(ini.readInteger("Main", "Sspeed", 0), -100);
  }

  void midiIsOpenedAtStartAndClosedAtShutdown() {
    VirtualClock clock;
    MidiLog log{clock, {}, {}};
    FakeMidiDevices devices(log);
    MidiComponent midi(clock, devices);
    MidiSession session(midi);
    FakeFileLayer files;
    files.files[Ini] = "[MidiOut]\nDevice=1\n[MidiIn]\nDevice=0\n";
    ProfileFile ini(Ini, files);
    {
      WindowRig rig(Dir, {&ini, &session});
      MainWindow& w = rig.w;
      QVERIFY(w.midiOpen());
      QVERIFY(session.sync() != 0);
      QVERIFY(session.in() != 0);
      QVERIFY(w.close());
      QCOMPARE(session.out(), 0u);
      QCOMPARE(session.sync(), 0u);
    }
    bool openedOut1 = false;
    for (const auto& e : log.entries) openedOut1 = openedOut1 || e.what == "open out 1";
    QVERIFY(openedOut1);

    // No output device: nothing is opened and the program runs without MIDI.
    devices.outs.clear();
    WindowRig again(Dir, {&ini, &session});
    MainWindow& w2 = again.w;
    QVERIFY(!w2.midiOpen());
    QCOMPARE(session.sync(), 0u);
  }

  void helpAndAbout() {
    WindowRig rig(STRUMBO_PROGRAM_DIR "/");
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    trigger(w, "mnuTopics");
    QVERIFY(ask.messages.isEmpty());
    QVERIFY(w.help()->isVisible());
    QCOMPARE(w.help()->currentAnchor(), QStringLiteral("ctx10"));
    QVERIFY(w.help()->browser()->toPlainText().contains(QStringLiteral("Strumbo!")));
    w.help()->close();

    QString midiVersion;
    ask.dialogs.push_back([&midiVersion](QDialog& d) {
      midiVersion = static_cast<AboutDialog&>(d).MidiVersion->text();
      return true;
    });
    trigger(w, "mnuAbout");
    QCOMPARE(midiVersion, QStringLiteral("MIDI component 1.0"));

    WindowRig lost("/nonexistent/");
    trigger(lost.w, "mnuTopics");
    QCOMPARE(lost.ask.messages.size(), 1);
  }
};

QTEST_MAIN(StartupShutdownTest)
#include "StartupShutdownTest.moc"
