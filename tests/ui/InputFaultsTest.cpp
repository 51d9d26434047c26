// Faults a player meets at the controls, each driven the way a player drives
// it: real clicks on the real arrows and buttons, real typing, real menu
// commands.

#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QTextBrowser>
#include <QtTest>
#include <tuple>

#include "../play/FakeMidiDevices.h"
#include "../settings/FakeFileLayer.h"
#include "DataDir.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"
#include "midi/VirtualClock.h"
#include "pages/DiagramText.h"
#include "render/SurfaceText.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "ui/ChordDesignTab.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"
#include "ui/MidiSetupDialog.h"
#include "ui/RepeatDialog.h"
#include "ui/SurfaceView.h"

namespace {

// The settings file and the MIDI component on fake devices, the session
// opened on output `out`.
struct MidiRig {
  explicit MidiRig(std::uint16_t out = 0) {
    files.files["/prog/Px.ini"] = "[General MIDI]\n001 Piano=\n002 Bright=\n";
    session.open(&target, out, 65535);
  }
  FakeFileLayer files;
  ProfileFile ini{"/prog/Px.ini", files};
  Settings settings;
  VirtualClock clock{0};
  MidiLog log{clock, {}, {}};
  FakeMidiDevices devices{log};
  LogTarget target{log};
  MidiComponent midi{clock, devices};
  MidiSession session{midi};
};

// A synthesiser with no soundfont: it takes everything and sounds nothing.
class SilentSynth : public MidiOutputDevice {
 public:
  void send(const std::uint8_t*, std::size_t, std::int64_t) override {}
  void silence() override {}
  bool silent() const override { return true; }
};

class SilentDevices : public MidiDeviceProvider {
 public:
  std::vector<std::string> outputNames() override { return {"Built-in synthesiser"}; }
  std::vector<std::string> inputNames() override { return {}; }
  std::unique_ptr<MidiOutputDevice> openOutput(int i) override {
    return i == 0 ? std::make_unique<SilentSynth>() : nullptr;
  }
  std::unique_ptr<MidiInputDevice> openInput(int) override { return nullptr; }
};

QString text(QObject& parent, const char* name) {
  return child<QLineEdit>(parent, name)->text();
}

// Types `text` key by key; characters with no key of their own come as key
// presses carrying the character, as a keyboard layout or input method sends them.
void type(QWidget* field, const QString& text) {
  for (const QChar c : text)
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// A page header line as it should look: the characters drawn in the page
// font on white, the size of its line box.
QImage headerPicture(const QString& line) {
  const QFont font = SurfaceText::pageFont();
  const QFontMetrics metrics(font);
  QImage picture(QSize(metrics.horizontalAdvance(line), metrics.height()), QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter p(&picture);
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(QPoint(0, metrics.ascent()), line);
  return picture;
}

// What the surface named `surface` shows where header `row` starts, as large
// as `expected`.
QImage drawnHeader(QObject& window, const char* surface, int row, const QImage& expected) {
  const QImage& page = child<SurfaceView>(window, surface)->image();
  return page.copy(QRect(QPoint(20, 150 * row + 16), expected.size()))
      .convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class InputFaultsTest : public QObject {
  Q_OBJECT

 private slots:
  // Scale names are stored whole from the menu table, and every name field
  // shows whole what the program puts in it.
  void longNamesAreStoredAndShownWhole() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Every string a semitone down, named with sharps: 18 characters shown,
    // the record's 15 stored.
    trigger(w, "mnuFlatSharp");
    w.showTab(PlayTab::Scales);
    for (int s = 0; s < 6; ++s)
      click(*w.fretboard(), QStringLiteral("UpDown%1Down").arg(s).toLatin1().constData());
    QCOMPARE(text(*w.fretboard(), "editTuningName"), QStringLiteral("D# G# C# F# A# D# "));

    chooseKey(w, 1);
    int row = 0;
    for (const char* name : {"Aeolian (Natural Minor)", "Jazz/Melodic Minor (JM)"}) {
      const auto at = std::find(ScaleMenuNames.begin(), ScaleMenuNames.end(), name);
      QVERIFY(at != ScaleMenuNames.end());
      chooseScale(w, int(at - ScaleMenuNames.begin()));
      QCOMPARE(text(w, "editChordName"), QLatin1String(name));
      clickShowChords(w);
      QCOMPARE(w.state().ScaleCount, row + 1);
      QCOMPARE(w.state().ScalePage[row].ScaleName.str(), std::string(name));
      QCOMPARE(w.state().ScalePage[row].TuningName.str(), std::string("D# G# C# F# A# "));
      QCOMPARE(text(*w.fretboard(), "editChordNameUser"),
               QStringLiteral("C# ") + QLatin1String(name));
      ++row;
    }
    QVERIFY(ask.messages.isEmpty());
  }

  // Typing into a name field stops at the record's length.
  void typingStopsAtTheRecordLength() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* name = child<QLineEdit>(*w.fretboard(), "editTuningName");
    name->clear();
    QTest::keyClicks(name, QStringLiteral("Open G for slide guitar"));
    QCOMPARE(name->text(), QStringLiteral("Open G for slid"));
    auto* chord = child<QLineEdit>(*w.fretboard(), "editChordNameUser");
    chord->clear();
    QTest::keyClicks(chord, QStringLiteral("A chord name that is too long"));
    QCOMPARE(chord->text(), QStringLiteral("A chord name that is too "));
    // A typed name keeps only the chord type: root and slash bass are dropped.
    w.showTab(PlayTab::ChordDesign);
    retype(chord, QStringLiteral("F#m7/A"));
    QCOMPARE(w.state().EditChord.ChordName.str(), std::string("m7"));
  }

  // A typed name is stored as Windows-1252 bytes and reads back the same on
  // the fretboard and on the page picture; what the set cannot hold is
  // refused at typing.
  void typedTextIsStoredAsOneByteACharacter() {
    WindowRig rig;
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* name = child<QLineEdit>(*w.fretboard(), "editTuningName");
    name->clear();
    type(name, QString::fromUtf8("Caf\u00e9 \u263a\u20ac5"));
    const QString typed = QString::fromUtf8("Caf\u00e9 \u20ac5");
    QCOMPARE(name->text(), typed);  // the smiley has no byte: refused

    chooseKey(w, 7);
    chooseScale(w, 9);
    clickShowChords(w);
    QCOMPARE(w.state().ScaleCount, 1);
    const TScaleDiagram& sc = w.state().ScalePage[0];
    QCOMPARE(sc.TuningName.str(), std::string("Caf\xE9 \x80"
                                              "5"));
    QCOMPARE(name->text(), typed);  // shown again from the record

    // The page header, drawn as the characters themselves.
    const std::string header = DiagramText::scaleRowHeader(sc, w.state().Names);
    const std::string lead = header.substr(0, header.find("Tuning: "));
    const QImage expected =
        headerPicture(QString::fromLatin1(lead) + QStringLiteral("Tuning: ") + typed);
    QCOMPARE(drawnHeader(w, "imgScales", 0, expected), expected);

    // Fifteen characters are fifteen bytes: the record holds them all.
    name->clear();
    type(name, QString(18, QChar(0xE9)));
    QCOMPARE(name->text(), QString(15, QChar(0xE9)));
    clickShowChords(w);
    QCOMPARE(w.state().ScalePage[1].TuningName.str(), std::string(15, '\xE9'));
  }

  // Show Chords that refuses changes nothing, the active tab included.
  void aRefusedShowChordsLeavesTheTabAlone() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    DataDir& data = rig.data;
    chooseKey(w, 0);
    chooseChordType(w, 1, 2);
    w.showTab(PlayTab::PlayPage);
    clickShowChords(w);
    QCOMPARE(w.currentTab(), PlayTab::Chords);  // a set added shows its page
    for (int i = 0; i < 4; ++i) clickShowChords(w);
    QCOMPARE(w.state().ChordSetCount, 5);
    QVERIFY(ask.messages.isEmpty());

    w.showTab(PlayTab::ChordDesign);
    clickShowChords(w);
    QCOMPARE(ask.messages.size(), 1);
    QCOMPARE(w.currentTab(), PlayTab::ChordDesign);
    QCOMPARE(w.state().ChordSetCount, 5);

    QFile::remove(data.dir.filePath(QStringLiteral("pxma2.dat")));
    const auto second = rig.another();
    MainWindow& fresh = second->w;
    chooseKey(fresh, 0);
    chooseChordType(fresh, 1, 2);
    fresh.showTab(PlayTab::Scales);
    clickShowChords(fresh);
    QCOMPARE(second->ask.messages.size(), 1);
    QCOMPARE(fresh.currentTab(), PlayTab::Scales);
    QCOMPARE(fresh.state().ChordSetCount, 0);
  }

  // A click in the repeat count selects it, so typing replaces it.
  void aClickInTheRepeatCountSelectsIt() {
    RepeatDialog d;
    RepeatChoice c;
    c.Repeat = true;
    c.Count = 12;
    d.load(3, c);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    auto* count = child<QLineEdit>(d, "editRepeat");
    QTest::mouseClick(count, Qt::LeftButton, {}, QPoint(count->width() - 4, count->height() / 2));
    QCOMPARE(count->selectedText(), QStringLiteral("12"));
    QTest::keyClicks(count, QStringLiteral("4"));
    QCOMPARE(count->text(), QStringLiteral("4"));
    QTest::mouseClick(child<QPushButton>(d, "OKBtn"), Qt::LeftButton);
    QCOMPARE(d.choice().Count, 4);
  }

  // The help buttons of MIDI Setup, the tempo dialog and Add User Chord open
  // the help at their own sections.
  void theDialogsHelpButtonsOpenTheirSections() {
    MidiRig midi;
    WindowRig rig(STRUMBO_PROGRAM_DIR "/", {&midi.ini, &midi.session});
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    for (const auto& [menu, help, anchor] : {std::tuple{"mnuMidiSetup", "btnHelp", "ctx420"},
                                             std::tuple{"mnuTempo", "HelpBtn", "ctx440"},
                                             std::tuple{"pmenu6Add", "HelpBtn", "ctx450"}}) {
      ask.dialogs.push_back([help = help](QDialog& d) {
        QTest::mouseClick(child<QPushButton>(d, help), Qt::LeftButton);
        return false;
      });
      trigger(w, menu);
      QVERIFY(ask.dialogs.empty());
      QCOMPARE(w.help()->currentAnchor(), QLatin1String(anchor));
      QVERIFY(w.help()->isVisible());
      // The section is in the help file.
      QVERIFY(w.help()->browser()->toHtml().contains(QLatin1String(anchor)));
    }
    QVERIFY(ask.messages.isEmpty());
  }

  // Without a soundfont the player is told once, at the first sound asked
  // for, which package brings sound; a device that sounds says nothing.
  void aSilentSynthesiserIsToldOnceOnScreen() {
    FakeFileLayer files;
    ProfileFile ini{"/prog/Px.ini", files};
    VirtualClock clock{0};
    SilentDevices devices;
    MidiComponent midi{clock, devices};
    MidiSession session{midi};
    WindowRig rig("/prog/", {&ini, &session});
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(ask.messages.isEmpty());
    w.showTab(PlayTab::PlayPage);
    click(w, "sbtnPlay");
    QCOMPARE(ask.messages.size(), 1);
    QVERIFY(ask.messages[0].contains(QStringLiteral("fluid-soundfont-gm")));
    if (button(w, "sbtnPlay")->isChecked()) click(w, "sbtnStop");
    click(w, "sbtnPlay");
    QCOMPARE(ask.messages.size(), 1);

    MidiRig sounding;
    WindowRig other("/prog/", {&sounding.ini, &sounding.session});
    other.w.showTab(PlayTab::PlayPage);
    click(other.w, "sbtnPlay");
    QVERIFY(other.ask.messages.isEmpty());
  }
};

QTEST_MAIN(InputFaultsTest)
#include "InputFaultsTest.moc"
