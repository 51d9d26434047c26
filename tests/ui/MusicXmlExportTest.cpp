#include <QMenu>
#include <QtTest>
#include <optional>

#include "MidiRig.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"

namespace {

// A#7#9 high on the neck, frets x 13 12 13 14 x from the low string (strings
// 0..5 run from the highest).
TChordDiagram aSharp7Sharp9() {
  TChordDiagram c = fingered("7#9", {0, 14, 13, 12, 13, 0}, {5, 4, 3, 1, 2, 5}, 10);
  const std::int8_t intervals[7] = {0, 4, 7, 10, 15, -1, -1};
  std::copy(std::begin(intervals), std::end(intervals), c.Intervals);
  return c;
}

}  // namespace

class MusicXmlExportTest : public QObject {
  Q_OBJECT

 private slots:
  // A chord placed by a click is written with the names the window shows
  // (sharps once Options > Flats is switched), its kind and degrees and its
  // frame; the name asked for gets the .musicxml ending. A full disk says
  // so once and keeps the earlier file; an empty page asks for no file.
  void thePlacedChordIsWrittenAsTheWindowNamesIt() {
    ExportRig rig;
    MainWindow& w = rig.open();
    w.showTab(PlayTab::PlayPage);
    trigger(w, "mnuExportMusicXml");
    QCOMPARE(rig.ask.messages,
             QStringList({QStringLiteral("The play page is empty; there is nothing to export.")}));
    QCOMPARE(rig.ask.unanswered, 0);
    QCOMPARE(rig.disk.writes, 0);

    w.playPage()->takeInHand(aSharp7Sharp9());
    clickAt(w, "imgPlayPage", QPoint(40, 60));
    trigger(w, "mnuFlatSharp");
    rig.ask.files = {QStringLiteral("/out/song")};
    trigger(w, "mnuExportMusicXml");
    const std::string& xml = rig.disk.files["/out/song.musicxml"];
    QVERIFY(xml.starts_with("<?xml"));
    QVERIFY(xml.find("<root-step>A</root-step>") != std::string::npos);
    QVERIFY(xml.find("<root-alter>1</root-alter>") != std::string::npos);
    QVERIFY(xml.find("<kind text=\"7#9\">dominant</kind>") != std::string::npos);
    QVERIFY(xml.find("<first-fret>12</first-fret>") != std::string::npos);
    QVERIFY(xml.find("<string>6</string>") == std::string::npos);  // muted
    QVERIFY(xml.find("<frame-note>") != std::string::npos);

    rig.disk.failWrites = true;
    rig.ask.files = {QStringLiteral("/out/song.musicxml")};
    trigger(w, "mnuExportMusicXml");
    QCOMPARE(rig.ask.messages.size(), 2);
    QCOMPARE(rig.ask.messages.last(),
             QStringLiteral("Could not write /out/song.musicxml: No space left on device."));
    QCOMPARE(rig.disk.files["/out/song.musicxml"], xml);
    QCOMPARE(rig.ask.unanswered, 0);
  }
};

QTEST_MAIN(MusicXmlExportTest)
#include "MusicXmlExportTest.moc"
