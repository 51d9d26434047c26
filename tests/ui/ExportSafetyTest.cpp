#include <QtTest>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "../play/FakeMidiDevices.h"
#include "../settings/FakeFileLayer.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"
#include "midi/SoundFont.h"
#include "midi/VirtualClock.h"
#include "settings/ProfileFile.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"

namespace {

// A window whose settings and exports go to files in memory, where a full
// disk or a failing rename can be switched on.
struct Rig {
  explicit Rig(std::string settings = "[General MIDI]\n001 Piano=\n") {
    if (!settings.empty()) files.files["/prog/Px.ini"] = std::move(settings);
  }
  VirtualClock clock;
  MidiLog log{clock, {}, {}};
  FakeMidiDevices devices{log};
  MidiComponent midi{clock, devices};
  MidiSession session{midi};
  FakeFileLayer files;  // the settings
  FakeFileLayer disk;   // where exports go
  ProfileFile ini{"/prog/Px.ini", files};
  ScriptedPrompter ask;
  std::optional<MainWindow> window;

  MainWindow& open() {
    window.emplace("/prog/", &ask, MainWindowServices{&ini, &session, &disk});
    return *window;
  }
  void placeChord() {
    MainWindow& w = *window;
    w.showTab(PlayTab::PlayPage);
    TChordDiagram c = startFingering();
    c.ChordName = "maj";
    const int frets[6] = {0, 0, 1, 2, 2, 0};
    for (int s = 0; s < 6; ++s) {
      c.Strings[s] = {static_cast<std::uint8_t>(frets[s]), 1};
      c.Notes[s] = static_cast<std::uint8_t>(c.Tuning[s] + frets[s]);
    }
    c.Root = 4;
    c.Bass = 28;
    w.playPage()->takeInHand(c);
    // The last slot of the page: its chord must still end in the file.
    clickAt(w, "imgPlayPage", QPoint(40 + 63 * 11, 60 + 132 * 5));
  }
  bool kept(const std::string& path, const std::string& text) {
    return disk.files[path] == text && !disk.temporaryLeft(path);
  }
};

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

class ExportSafetyTest : public QObject {
  Q_OBJECT

 private slots:
  // Onto a full disk or past a failing rename, each menu export says so once
  // and leaves an earlier file of that name exactly as it was, and no
  // temporary; once the disk has room, the same commands write whole files.
  void aFailedExportKeepsTheEarlierFile() {
    Rig rig;
    MainWindow& w = rig.open();
    rig.placeChord();
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

  // An empty play page is not exported: one message, no file asked for,
  // nothing written.
  void anEmptyPlayPageIsRefused() {
    Rig rig;
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
    Rig rig;
    MainWindow& w = rig.open();
    rig.placeChord();
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

QTEST_MAIN(ExportSafetyTest)
#include "ExportSafetyTest.moc"
