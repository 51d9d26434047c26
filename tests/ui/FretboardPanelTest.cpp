#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <cstring>

#include "MidiRig.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "ui/ChordDesignTab.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/ToolBarPanel.h"

namespace {

QString text(QObject& parent, const char* name) {
  return child<QLineEdit>(parent, name)->text();
}
QString label(QObject& parent, const char* name) {
  return child<QLabel>(parent, name)->text();
}
SurfaceView* guitar(MainWindow& w) {
  return child<SurfaceView>(*w.fretboard(), "imgGuitar");
}
// The middle of the glyph place of string s at fret f on the big fretboard.
QPoint cell(int s, int f) {
  return {FretX[f] + 6, StringY[s] + 6};
}
void press(MainWindow& w, int s, int f, Qt::MouseButton b = Qt::LeftButton) {
  QTest::mouseClick(guitar(w), b, {}, cell(s, f));
}
void hover(MainWindow& w, int s, int f) {
  QTest::mouseMove(guitar(w), cell(s, f));
}
// Whether the glyph place of (s, f) shows glyph `glyph` (where the glyph is
// see-through the neck shows).
bool showsGlyph(MainWindow& w, int s, int f, int glyph) {
  const QImage& img = guitar(w)->image();
  const QImage strip = Bitmaps::fingerStrip();
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const QRgb want = strip.pixel(glyph + x, y);
      if (qAlpha(want) == 255 && img.pixel(FretX[f] + x, StringY[s] + y) != want) return false;
    }
  return true;
}

}  // namespace

class FretboardPanelTest : public QObject {
  Q_OBJECT

 private slots:
  // Options > Sharps renames the keys, the root fields and the names shown.
  void theNamingModeRenamesEveryNameOnShow() {
    WindowRig rig;
    MainWindow& w = rig.w;
    chooseKey(w, 1);
    QCOMPARE(text(w, "editChordRoot"), QStringLiteral("Db"));
    w.showTab(PlayTab::ChordDesign);
    click(w, "udRootUp");
    QCOMPARE(text(w, "editRoot"), QStringLiteral("Db"));
    trigger(w, "mnuFlatSharp");
    QCOMPARE(action(w, "mnuFlatSharp")->text(), QStringLiteral("Sharps"));
    QCOMPARE(action(w, "mnuKey10")->text(), QStringLiteral("A#"));
    QCOMPARE(text(w, "editChordRoot"), QStringLiteral("C#"));
    // The designed fingering's root is a name, not a picture: it follows.
    QCOMPARE(text(w, "editRoot"), QStringLiteral("C#"));
    QCOMPARE(text(w, "editString0"), QStringLiteral("E4"));
    showChords(w, 1, 1, 0);
    QVERIFY2(text(w, "editChordNameUser").startsWith(QStringLiteral("C# ")),
             qPrintable(text(w, "editChordNameUser")));
    trigger(w, "mnuFlatSharp");
    QCOMPARE(action(w, "mnuKey10")->text(), QStringLiteral("Bb"));
    QVERIFY(action(w, "mnuFlatSharp")->isChecked());
  }

  // Damaged or empty records reach the fretboard from a page file; they
  // draw and name without a crash, and an empty one clears the panel.
  void damagedAndEmptyRecordsShowSafely() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    TChordDiagram junk;
    std::memset(&junk, 0xEE, sizeof junk);
    junk.Empty = 0;
    w.fretboard()->ShowDiagram(junk);
    click(w, "sbShowArp");
    w.fretboard()->ShowDiagram(junk);
    QVERIFY(text(w, "editChordNameUser").size() > 0);
    click(w, "sbShowArp");
    junk.Empty = 1;
    w.fretboard()->ShowDiagram(junk);
    QVERIFY(text(w, "editChordNameUser").isEmpty());
    QVERIFY(text(w, "editNotes").isEmpty());
    QVERIFY(text(w, "editIntervals1").isEmpty());
    QCOMPARE(guitar(w)->image(), Bitmaps::fretboard());
  }

  // Presses on the picture reach the fingering editor; the panel and the
  // Chord Design tab show what it made of them.
  void editingTheFingeringWithTheMouse() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.showTab(PlayTab::ChordDesign);
    ChordDesignTab& d = *w.chordDesign();
    const TChordDiagram& e = w.state().EditChord;

    // Right button at the nut of the low E string: open, and the root is E,
    // drawn with the root's glyph.
    press(w, 5, 0, Qt::RightButton);
    QCOMPARE(e.Notes[5], std::uint8_t(40));
    QCOMPARE(e.Root, std::uint8_t(4));
    QCOMPARE(text(d, "editRoot"), QStringLiteral("E"));
    QCOMPARE(text(d, "editBass"), QStringLiteral("E"));
    QCOMPARE(label(*w.fretboard(), "pnlInterval"), QStringLiteral("1"));
    QCOMPARE(text(d, "editTab5"), QStringLiteral("0"));
    QCOMPARE(text(w, "editNotes"), QStringLiteral(" E"));
    QVERIFY(showsGlyph(w, 5, 0, chordGlyphCell(0, true)));
    QCOMPARE(child<QLineEdit>(w, "editIntervals0")->palette().color(QPalette::Text),
             QColor(Qt::black));
    // A left click there mutes it: the root no longer sounds and its 1 greys.
    press(w, 5, 0);
    QCOMPARE(e.Notes[5], std::uint8_t(0));
    QVERIFY(text(d, "editTab5").isEmpty());
    QVERIFY(child<QLineEdit>(w, "editIntervals0")->palette().color(QPalette::Text) !=
            QColor(Qt::black));

    // Fretted notes take the finger marker that is down, drawn with its glyph.
    click(d, "sbtnTwo");
    press(w, 4, 2);  // B
    click(d, "sbtnThree");
    press(w, 3, 2);  // E
    QCOMPARE(e.Strings[4].Finger, std::uint8_t(2));
    QCOMPARE(e.Strings[3].Finger, std::uint8_t(3));
    QCOMPARE(text(d, "editTab4"), QStringLiteral("2"));
    QVERIFY(showsGlyph(w, 4, 2, chordGlyphCell(2, false)));
    QVERIFY(showsGlyph(w, 3, 2, chordGlyphCell(3, true)));
    QCOMPARE(text(w, "editIntervals1"), QStringLiteral("5"));
    QVERIFY(text(w, "editIntervals2").isEmpty());
    // The formula is the labels on show, each followed by a space.
    QCOMPARE(std::string(e.Formula.view()), std::string("1 5      "));
  }

  void pressesAreIgnoredOffTheDesignTabAndWhilePlaying() {
    MidiRig rig;
    MainWindow& w = rig.window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const TChordDiagram before = w.state().EditChord;
    press(w, 0, 3);
    QCOMPARE(std::memcmp(&before, &w.state().EditChord, sizeof before), 0);
    w.showTab(PlayTab::ChordDesign);
    press(w, 5, 0, Qt::RightButton);  // open low E
    const TChordDiagram sounding = w.state().EditChord;
    click(w, "sbtnPlay");
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    press(w, 0, 3);
    QCOMPARE(std::memcmp(&sounding, &w.state().EditChord, sizeof sounding), 0);
    rig.runUntil(20'000'000);
    QVERIFY(!button(w, "sbtnPlay")->isChecked());
    press(w, 0, 3);
    QCOMPARE(w.state().EditChord.Notes[0], std::uint8_t(67));
  }

  // Each click of a root, bass or tuning arrow reaches the fingering in hand
  // and is shown at once; the tuning arrows commit the note they show, wrap
  // round, and are live only on the Chord Design and Scales tabs.
  void theArrowsReachTheFingeringAtOnce() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    FretboardPanel& fb = *w.fretboard();
    ChordDesignTab& d = *w.chordDesign();
    auto* tuning = child<QWidget>(fb, "UpDown0");
    QVERIFY(!tuning->isEnabled());
    w.showTab(PlayTab::ChordDesign);
    QVERIFY(tuning->isEnabled());
    const TChordDiagram& e = w.state().EditChord;
    press(w, 5, 3);  // G on the low string
    QVERIFY(text(w, "editChordNameUser").startsWith(QStringLiteral("C")));

    click(d, "udRootUp");
    QCOMPARE(text(d, "editRoot"), QStringLiteral("Db"));
    QCOMPARE(e.Root, std::uint8_t(1));
    QVERIFY2(text(w, "editChordNameUser").startsWith(QStringLiteral("Db")),
             qPrintable(text(w, "editChordNameUser")));
    for (int i = 0; i < 3; ++i) click(d, "udBassUp");
    QCOMPARE(text(d, "editBass"), QStringLiteral("E"));
    QCOMPARE(e.Bass, std::uint8_t(28));
    click(d, "udRootDown");  // C, and the bass goes with it
    QCOMPARE(text(d, "editBass"), QStringLiteral("C"));
    QCOMPARE(e.Bass, std::uint8_t(24));

    click(fb, "UpDown5Down");
    QCOMPARE(text(fb, "editString5"), QStringLiteral("Eb2"));
    QCOMPARE(w.state().CurrentTuning[5], std::uint8_t(39));
    QCOMPARE(text(fb, "editTuningName"), QStringLiteral("Eb A D G B E "));
    QCOMPARE(QString::fromStdString(e.TuningName.str()), QStringLiteral("Eb A D G B E "));
    QCOMPARE(e.Tuning[5], std::uint8_t(39));
    QCOMPARE(e.Notes[5], std::uint8_t(42));
    QCOMPARE(e.Notes[0], std::uint8_t(0));  // the muted one stays muted
    // Down to A1, the lowest, and one more wraps round to A4.
    for (int i = 0; i < 6; ++i) click(fb, "UpDown5Down");
    QCOMPARE(text(fb, "editString5"), QStringLiteral("A1"));
    click(fb, "UpDown5Down");
    QCOMPARE(text(fb, "editString5"), QStringLiteral("A4"));
    QCOMPARE(e.Tuning[5], std::uint8_t(69));
    click(fb, "UpDown5Up");
    QCOMPARE(w.state().CurrentTuning[5], std::uint8_t(33));
    w.showTab(PlayTab::PlayPage);
    QVERIFY(!tuning->isEnabled());
    w.showTab(PlayTab::Scales);
    QVERIFY(tuning->isEnabled());
  }

  // The read-out under the pointer measures from the root on show: a new
  // root never leaves an interval from the one before, and the longest
  // read-out is shown whole.
  void theHoverReadoutFollowsTheRoot() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickTab(w, int(PlayTab::ChordDesign));
    FretboardPanel& fb = *w.fretboard();
    press(w, 4, 3);  // C on the A string
    press(w, 3, 2);  // E
    hover(w, 1, 1);  // C
    QCOMPARE(label(fb, "pnlNote"), QStringLiteral("C"));
    QCOMPARE(label(fb, "pnlInterval"), QStringLiteral("1"));
    click(*w.chordDesign(), "udRootUp");  // Db
    const QString afterRoot = label(fb, "pnlInterval");
    QVERIFY2(afterRoot.isEmpty() || afterRoot == QStringLiteral("7"), qPrintable(afterRoot));
    hover(w, 1, 2);  // C# over Db
    QCOMPARE(label(fb, "pnlInterval"), QStringLiteral("1"));

    // A right press makes the pressed note the root: the read-out there is 1.
    hover(w, 2, 2);  // A
    press(w, 2, 2, Qt::RightButton);
    QCOMPARE(label(fb, "pnlInterval"), QStringLiteral("1"));
    hover(w, 0, 0);  // E over A
    QCOMPARE(label(fb, "pnlInterval"), QStringLiteral("5"));
    hover(w, 0, 1);  // F over A
    auto* interval = child<QLabel>(fb, "pnlInterval");
    QCOMPARE(interval->text(), QStringLiteral("#5 / b13"));
    QVERIFY(interval->fontMetrics().horizontalAdvance(interval->text()) <=
            interval->contentsRect().width() - 2 * interval->margin());
    QTest::mouseMove(guitar(w), QPoint(2, 50));
    QVERIFY(label(fb, "pnlNote").isEmpty());
    QVERIFY(label(fb, "pnlInterval").isEmpty());
  }

  void flipSwapsTheToolBarAndTheFretboard() {
    MidiRig rig;
    MainWindow& w = rig.window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(child<ToolBarPanel>(w, "pnlTop")->y() < w.fretboard()->y());
    trigger(w, "menuFlip");
    QApplication::processEvents();
    QVERIFY(w.fretboardOnTop());
    QVERIFY(child<ToolBarPanel>(w, "pnlTop")->y() > w.fretboard()->y());
    QVERIFY(button(w, "sbtnFlip")->isChecked());
    click(w, "sbtnFlip");
    QVERIFY(!w.fretboardOnTop());
    w.showTab(PlayTab::PlayPage);
    TChordDiagram c = startFingering();
    c.Strings[0] = {3, 1};
    c.Notes[0] = 67;
    w.playPage()->takeInHand(c);
    clickAt(w, "imgPlayPage", QPoint(40, 60));
    click(w, "sbtnPlay");
    click(w, "sbtnPause");
    QVERIFY(button(w, "sbtnPause")->isChecked());
    click(w, "sbtnFlip");  // refused under the guard, and the button goes back
    QVERIFY(!w.fretboardOnTop());
    QVERIFY(!button(w, "sbtnFlip")->isChecked());
    click(w, "sbtnStop");
  }
};

QTEST_MAIN(FretboardPanelTest)
#include "FretboardPanelTest.moc"
