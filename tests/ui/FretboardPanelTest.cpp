#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "MidiRig.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "music/ChordAnalysis.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "ui/ChordDesignTab.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/SurfaceView.h"
#include "ui/ToolBarPanel.h"
#include "ui/UpDown.h"

namespace {

template <typename T>
T* child(QObject* parent, const char* name) {
  T* found = parent->findChild<T*>(QLatin1String(name));
  if (!found) qFatal("no child %s", name);
  return found;
}
QLineEdit* field(QObject* parent, const char* name) {
  return child<QLineEdit>(parent, name);
}
QString text(QObject* parent, const char* name) {
  return field(parent, name)->text();
}
QString label(QObject* parent, const char* name) {
  return child<QLabel>(parent, name)->text();
}
SurfaceView* guitar(QObject* fretboard) {
  return child<SurfaceView>(fretboard, "imgGuitar");
}
void clickArrow(QObject* parent, const char* name) {
  QTest::mouseClick(child<QToolButton>(parent, name), Qt::LeftButton);
}

// The middle of the glyph place of string s at fret f on the big fretboard.
QPoint cell(int s, int f) {
  return {FretX[f] + 6, StringY[s] + 6};
}

TChordDiagram openC() {
  TChordDiagram c = startFingering();
  c.ChordName = "maj";
  c.Formula = "1 3 5";
  const int frets[6] = {0, 1, 0, 2, 3, 0};  // string 0 (high E) first
  const int fingers[6] = {0, 1, 0, 2, 3, 5};
  for (int s = 0; s < 6; ++s) {
    c.Strings[s] = {static_cast<std::uint8_t>(frets[s]), static_cast<std::uint8_t>(fingers[s])};
    c.Notes[s] = fingers[s] == 5 ? 0 : static_cast<std::uint8_t>(c.Tuning[s] + frets[s]);
  }
  const std::int8_t iv[7] = {0, 4, 7, -1, -1, -1, -1};
  std::copy(iv, iv + 7, c.Intervals);
  return c;
}

}  // namespace

class FretboardPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void showDiagramFillsTheReadoutsInBothNamingModes() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    FretboardPanel* fb = w.fretboard();
    TChordDiagram c = openC();
    c.Root = 10;  // Bb, drawn with the C shape: only the names matter here
    c.Bass = 24 + 2;
    fb->ShowDiagram(c);
    QCOMPARE(text(fb, "editChordNameUser"), QStringLiteral("Bb maj /D"));
    QCOMPARE(text(fb, "editNotes"), QStringLiteral(" Bb D F"));
    QCOMPARE(text(fb, "editIntervals1"), QStringLiteral("3"));
    QCOMPARE(text(fb, "editIntervals3"), QString());
    QCOMPARE(label(fb, "Label2"), QStringLiteral("Chord Name:"));
    QCOMPARE(text(fb, "editTuningName"), QStringLiteral("Standard"));
    QCOMPARE(w.state().LastRoot, 10);

    w.showTab(PlayTab::ChordDesign);
    click(w, "udRootUp");
    QCOMPARE(child<QLineEdit>(w, "editRoot")->text(), QStringLiteral("Db"));
    trigger(w, "mnuFlatSharp");
    QCOMPARE(action(w, "mnuFlatSharp")->text(), QStringLiteral("Sharps"));
    QCOMPARE(action(w, "mnuKey10")->text(), QStringLiteral("A#"));
    // The designed fingering's root is a name, not a picture: it follows.
    QCOMPARE(child<QLineEdit>(w, "editRoot")->text(), QStringLiteral("C#"));
    fb->ShowDiagram(c);
    QCOMPARE(text(fb, "editChordNameUser"), QStringLiteral("A# maj /D"));
    QCOMPARE(text(fb, "editNotes"), QStringLiteral(" A# D F"));
    QCOMPARE(text(fb, "editString0"), QStringLiteral("E4"));
    trigger(w, "mnuFlatSharp");
    QCOMPARE(action(w, "mnuKey10")->text(), QStringLiteral("Bb"));
    QVERIFY(action(w, "mnuFlatSharp")->isChecked());
  }

  void rootAndOtherNotesTakeDifferentGlyphs() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    FretboardPanel* fb = w.fretboard();
    fb->ShowDiagram(openC());
    const QImage& img = guitar(fb)->image();
    const QImage strip = Bitmaps::fingerStrip();
    auto sameAsCell = [&](int s, int f, int cellX) {
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
          const QRgb want = strip.pixel(cellX + x, y);
          if (qAlpha(want) < 255) continue;  // see-through corners show the neck
          if (img.pixel(FretX[f] + x, StringY[s] + y) != want) return false;
        }
      return true;
    };
    // String 4 at fret 3 sounds C, the root, with finger 3; string 3 at fret 2 is E.
    QVERIFY(sameAsCell(4, 3, chordGlyphCell(3, true)));
    QVERIFY(sameAsCell(3, 2, chordGlyphCell(2, false)));
    QVERIFY(sameAsCell(5, 0, chordGlyphCell(5, false)));
    QVERIFY(chordGlyphCell(3, true) != chordGlyphCell(3, false));
  }

  void rootlessVoicingGreysTheOne() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    FretboardPanel* fb = w.fretboard();
    TChordDiagram c = openC();
    fb->ShowDiagram(c);
    QCOMPARE(field(fb, "editIntervals0")->palette().color(QPalette::Text), QColor(Qt::black));
    c.Strings[4] = {0, 5};  // mute the C on the A string and the one on the B string
    c.Notes[4] = 0;
    c.Strings[1] = {0, 0};
    c.Notes[1] = 59;
    fb->ShowDiagram(c);
    QVERIFY(field(fb, "editIntervals0")->palette().color(QPalette::Text) != QColor(Qt::black));
  }

  void emptyRecordClearsEverything() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    FretboardPanel* fb = w.fretboard();
    fb->ShowDiagram(openC());
    TChordDiagram empty = openC();
    empty.Empty = 1;
    fb->ShowDiagram(empty);
    QVERIFY(text(fb, "editChordNameUser").isEmpty());
    QVERIFY(text(fb, "editNotes").isEmpty());
    QVERIFY(text(fb, "editIntervals1").isEmpty());
    QCOMPARE(guitar(fb)->image(), Bitmaps::fretboard());
  }

  void damagedRecordDrawsWithoutCrashing() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    TChordDiagram junk;
    std::memset(&junk, 0xEE, sizeof junk);
    junk.Empty = 0;
    w.fretboard()->ShowDiagram(junk);
    click(w, "sbShowArp");
    w.fretboard()->ShowDiagram(junk);
    QVERIFY(text(w.fretboard(), "editChordNameUser").size() > 0);
  }

  // Mouse presses on the picture reach the fingering editor; the panel and the
  // Chord Design tab show what it made of them.
  void editingTheFingeringWithTheMouse() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.showTab(PlayTab::ChordDesign);
    FretboardPanel* fb = w.fretboard();
    ChordDesignTab* d = w.chordDesign();
    const TChordDiagram& e = w.state().EditChord;

    // Right button at the nut of the low E string: open, and the root is E.
    QTest::mouseClick(guitar(fb), Qt::RightButton, {}, cell(5, 0));
    QCOMPARE(e.Notes[5], std::uint8_t(40));
    QCOMPARE(e.Root, std::uint8_t(4));
    QCOMPARE(text(d, "editRoot"), QStringLiteral("E"));
    QCOMPARE(text(d, "editBass"), QStringLiteral("E"));
    QCOMPARE(label(fb, "pnlInterval"), QStringLiteral("1"));
    QCOMPARE(text(d, "editTab5"), QStringLiteral("0"));
    QCOMPARE(text(fb, "editNotes"), QStringLiteral(" E"));
    // A left click there mutes it.
    QTest::mouseClick(guitar(fb), Qt::LeftButton, {}, cell(5, 0));
    QCOMPARE(e.Notes[5], std::uint8_t(0));
    QVERIFY(text(d, "editTab5").isEmpty());

    // Fretted notes take the finger marker that is down, drawn with its glyph.
    QTest::mouseClick(child<QToolButton>(d, "sbtnTwo"), Qt::LeftButton);
    QTest::mouseClick(guitar(fb), Qt::LeftButton, {}, cell(4, 2));  // B
    QTest::mouseClick(child<QToolButton>(d, "sbtnThree"), Qt::LeftButton);
    QTest::mouseClick(guitar(fb), Qt::LeftButton, {}, cell(3, 2));  // E
    QCOMPARE(e.Strings[4].Finger, std::uint8_t(2));
    QCOMPARE(e.Strings[3].Finger, std::uint8_t(3));
    QCOMPARE(text(d, "editTab4"), QStringLiteral("2"));
    const QImage strip = Bitmaps::fingerStrip();
    const int cellX = chordGlyphCell(2, false);
    QCOMPARE(guitar(fb)->image().copy(FretX[2] + 3, StringY[4] + 3, 6, 6),
             strip.copy(cellX + 3, 3, 6, 6).convertToFormat(guitar(fb)->image().format()));
    QCOMPARE(text(fb, "editIntervals1"), QStringLiteral("5"));
    QVERIFY(text(fb, "editIntervals2").isEmpty());
    // The formula is the labels on show, each followed by a space.
    QCOMPARE(std::string(e.Formula.view()), std::string("1 5      "));
  }

  void editsAreIgnoredOffTheDesignTabAndWhilePlaying() {
    MidiRig rig;
    MainWindow& w = rig.window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const TChordDiagram before = w.state().EditChord;
    QTest::mouseClick(guitar(w.fretboard()), Qt::LeftButton, {}, cell(0, 3));
    QCOMPARE(std::memcmp(&before, &w.state().EditChord, sizeof before), 0);
    w.showTab(PlayTab::ChordDesign);
    QTest::mouseClick(guitar(w.fretboard()), Qt::RightButton, {}, cell(5, 0));  // open low E
    const TChordDiagram sounding = w.state().EditChord;
    click(w, "sbtnPlay");
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    QTest::mouseClick(guitar(w.fretboard()), Qt::LeftButton, {}, cell(0, 3));
    QCOMPARE(std::memcmp(&sounding, &w.state().EditChord, sizeof sounding), 0);
    rig.runUntil(20'000'000);
    QVERIFY(!button(w, "sbtnPlay")->isChecked());
    QTest::mouseClick(guitar(w.fretboard()), Qt::LeftButton, {}, cell(0, 3));
    QCOMPARE(w.state().EditChord.Notes[0], std::uint8_t(67));
  }

  // The arrows of the root and bass controls reach the editor.
  void rootAndBassArrows() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.showTab(PlayTab::ChordDesign);
    FretboardPanel* fb = w.fretboard();
    ChordDesignTab* d = w.chordDesign();
    TChordDiagram& e = w.state().EditChord;
    e.ChordName = "maj7";
    for (int i = 0; i < 4; ++i) clickArrow(d, "udBassUp");  // E
    QCOMPARE(text(d, "editBass"), QStringLiteral("E"));
    QCOMPARE(e.Bass, std::uint8_t(28));
    QCOMPARE(text(fb, "editChordNameUser"), QStringLiteral("C maj7 /E"));

    clickArrow(d, "udRootDown");  // B, and the bass goes with it
    QCOMPARE(text(d, "editRoot"), QStringLiteral("B"));
    QCOMPARE(text(d, "editBass"), QStringLiteral("B"));
    QCOMPARE(e.Root, std::uint8_t(11));
    QCOMPARE(e.Bass, std::uint8_t(35));
    // The next redraw names it without a slash.
    QTest::mouseClick(guitar(fb), Qt::LeftButton, {}, cell(0, 0));
    QCOMPARE(text(fb, "editChordNameUser"), QStringLiteral("B maj7"));
  }

  // The tuning arrows reach the editor: the committed tuning is the edited
  // fingering's, and its played strings move with it.
  void committingATuning() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    FretboardPanel* fb = w.fretboard();
    w.showTab(PlayTab::ChordDesign);
    const TChordDiagram& e = w.state().EditChord;
    QTest::mouseClick(guitar(fb), Qt::LeftButton, {}, cell(5, 3));  // G on the low string
    QCOMPARE(e.Notes[5], std::uint8_t(43));
    clickArrow(fb, "UpDown5Down");
    clickArrow(fb, "UpDown5Down");
    QCOMPARE(text(fb, "editString5"), QStringLiteral("D2"));
    const Tuning& committed = w.state().CurrentTuning;
    QVERIFY(committed[5] < 40);
    QCOMPARE(e.Tuning[5], committed[5]);
    QCOMPARE(e.Notes[5], std::uint8_t(committed[5] + 3));
    QCOMPARE(e.Notes[0], std::uint8_t(0));  // the muted one stays muted
    const QString name = QString::fromStdString(tuningName(committed, w.state().Names));
    QCOMPARE(text(fb, "editTuningName"), name);
    QCOMPARE(QString::fromStdString(e.TuningName.str()), name);
  }

  void tuningControlsWrapAndAreOnlyLiveOnDesignAndScales() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    FretboardPanel* fb = w.fretboard();
    auto* up = child<QWidget>(fb, "UpDown0");
    QVERIFY(!up->isEnabled());
    w.showTab(PlayTab::Scales);
    QVERIFY(up->isEnabled());
    for (int i = 0; i < 5; ++i) clickArrow(fb, "UpDown0Up");  // E4 up to A4
    QCOMPARE(text(fb, "editString0"), QStringLiteral("A4"));
    clickArrow(fb, "UpDown0Up");
    QCOMPARE(text(fb, "editString0"), QStringLiteral("A1"));
    clickArrow(fb, "UpDown0Down");
    QCOMPARE(text(fb, "editString0"), QStringLiteral("A4"));
    w.showTab(PlayTab::PlayPage);
    QVERIFY(!up->isEnabled());
  }

  void hoverReadout() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    FretboardPanel* fb = w.fretboard();
    w.state().LastRoot = 9;
    QTest::mouseMove(guitar(fb), cell(1, 2));  // C#/Db over A
    QCOMPARE(label(fb, "pnlNote"), QStringLiteral("Db"));
    QCOMPARE(label(fb, "pnlInterval"), QStringLiteral("3"));
    QTest::mouseMove(guitar(fb), QPoint(2, 50));
    QVERIFY(label(fb, "pnlNote").isEmpty());
    QVERIFY(label(fb, "pnlInterval").isEmpty());

    // The longest read-out is shown whole.
    w.state().LastRoot = 0;
    QTest::mouseMove(guitar(fb), cell(2, 1));  // G# over C
    auto* interval = child<QLabel>(fb, "pnlInterval");
    QCOMPARE(interval->text(), QStringLiteral("#5 / b13"));
    QVERIFY(interval->fontMetrics().horizontalAdvance(interval->text()) <=
            interval->contentsRect().width() - 2 * interval->margin());
  }

  // The read-out measures from the root on show: a new root, bass or
  // fingering never leaves an interval from the one before.
  void hoverReadoutFollowsTheRoot() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickTab(w, int(PlayTab::ChordDesign));
    FretboardPanel* fb = w.fretboard();
    ChordDesignTab* d = w.chordDesign();
    QTest::mouseClick(guitar(fb), Qt::LeftButton, {}, cell(4, 3));  // C on the A string
    QTest::mouseClick(guitar(fb), Qt::LeftButton, {}, cell(3, 2));  // E
    QTest::mouseMove(guitar(fb), cell(1, 1));                       // C
    QCOMPARE(label(fb, "pnlInterval"), QStringLiteral("1"));

    clickArrow(d, "udRootUp");  // Db
    const QString afterRoot = label(fb, "pnlInterval");
    QVERIFY2(afterRoot.isEmpty() || afterRoot == QStringLiteral("7"), qPrintable(afterRoot));
    QTest::mouseMove(guitar(fb), cell(1, 2));  // C# over Db
    QCOMPARE(label(fb, "pnlInterval"), QStringLiteral("1"));

    clickArrow(d, "udBassUp");
    const QString afterBass = label(fb, "pnlInterval");
    QVERIFY2(afterBass.isEmpty() || afterBass == QStringLiteral("1"), qPrintable(afterBass));

    // A right press makes the pressed note the root: the read-out there is 1,
    // and a fingering edit under the pointer keeps it measured from that root.
    QTest::mouseMove(guitar(fb), cell(2, 2));  // A
    QTest::mouseClick(guitar(fb), Qt::RightButton, {}, cell(2, 2));
    QCOMPARE(label(fb, "pnlInterval"), QStringLiteral("1"));
    QTest::mouseMove(guitar(fb), cell(0, 0));  // E over A
    QCOMPARE(label(fb, "pnlInterval"), QStringLiteral("5"));
    clickArrow(d, "udRootDown");  // Ab
    QTest::mouseClick(guitar(fb), Qt::LeftButton, {}, cell(0, 0));
    QCOMPARE(label(fb, "pnlNote"), QStringLiteral("E"));
    QCOMPARE(label(fb, "pnlInterval"), QStringLiteral("#5 / b13"));
  }

  void arpeggioBoxesTheChordTonesAcrossTheNeck() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    FretboardPanel* fb = w.fretboard();
    click(w, "sbShowArp");
    fb->ShowDiagram(openC());
    const QImage& img = guitar(fb)->image();
    // Fret 8 of the high E string is a C: a red box; fret 7 (B) has none.
    QCOMPARE(QColor(img.pixel(FretX[8] - 1, StringY[0] + 5)), QColor(255, 0, 0));
    QVERIFY(QColor(img.pixel(FretX[7] - 1, StringY[0] + 5)) != QColor(255, 0, 0));
    // Fret 3 of the B string is a D: not in C major.  Fret 5 is E: lime.
    QCOMPARE(QColor(img.pixel(FretX[5] - 1, StringY[1] + 5)), QColor(0, 255, 0));
  }

  // With Show Intervals down, an edit shows the chosen chord type's
  // arpeggio in blue over the fingering, whatever the Show Arpeggio button says.
  void showIntervalsLaysTheChosenFormulaOverTheEdit() {
    WindowRig rig(STRUMBO_PROGRAM_DIR "/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.showTab(PlayTab::ChordDesign);
    FretboardPanel* fb = w.fretboard();
    // "minor", chosen with the keys from the chord-type list.
    QComboBox* types = child<QComboBox>(w.chordDesign(), "ComboBox1");
    for (int i = 0; i < 19; ++i) QTest::keyClick(types, Qt::Key_Down);
    QTest::mouseClick(child<QToolButton>(w.chordDesign(), "sbDisplayIntervals"), Qt::LeftButton);
    QTest::mouseClick(guitar(fb), Qt::LeftButton, {}, cell(2, 0));  // open G
    QCOMPARE(text(fb, "editChordNameUser"), QStringLiteral("C minor"));
    QCOMPARE(field(fb, "editNotes")->palette().color(QPalette::Text), QColor(0, 0, 255));
    QCOMPARE(text(fb, "editIntervals1"), QStringLiteral("b3"));
    QCOMPARE(field(fb, "editIntervals1")->palette().color(QPalette::Base), QColor(0, 255, 255));
    // Eb on the high E string (fret 11) takes the "b3" label's cyan.
    const QImage& img = guitar(fb)->image();
    QCOMPARE(QColor(img.pixel(FretX[11] - 1, StringY[0] + 5)), QColor(0, 255, 255));
    QCOMPARE(std::string(w.state().EditChord.Formula.view()), std::string("1 b3 5     "));
    QVERIFY(!button(w, "sbShowArp")->isChecked());
  }

  void scaleOnTheFretboard() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    FretboardPanel* fb = w.fretboard();
    TScaleDiagram sc{};
    sc.ScaleName = "Whole Tone";
    sc.TuningName = "Standard";
    std::copy(StandardTuning.begin(), StandardTuning.end(), sc.Tuning);
    const std::uint8_t degrees[10] = {0, 2, 4, 6, 8, 10, 99, 99, 99, 99};
    std::copy(degrees, degrees + 10, sc.Intervals);
    sc.Root = 2;
    fb->ShowScaleOnFretboard(sc);
    QCOMPARE(label(fb, "Label2"), QStringLiteral("Scale Name:"));
    QCOMPARE(text(fb, "editChordNameUser"), QStringLiteral("D Whole Tone"));
    QCOMPARE(text(fb, "editNotes"), QStringLiteral(" D E Gb Ab Bb C"));
    QCOMPARE(text(fb, "editIntervals5"), QStringLiteral("b7"));
    QVERIFY(text(fb, "editIntervals6").isEmpty());
    QCOMPARE(w.state().LastRoot, 2);
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
    QVERIFY(button(w, "sbtnFlip")->isChecked());
    click(w, "sbtnFlip");
    QVERIFY(!w.fretboardOnTop());
    w.showTab(PlayTab::PlayPage);
    w.playPage()->takeInHand(openC());
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
