#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "WindowProbe.h"
#include "music/ChordAnalysis.h"
#include "pages/render/FretboardPainter.h"
#include "ui/ChordDesignTab.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/SurfaceView.h"
#include "ui/ToolBarPanel.h"
#include "ui/UpDown.h"

namespace {

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
    MainWindow w("/tmp/");
    FretboardPanel* fb = w.fretboard();
    TChordDiagram c = openC();
    c.Root = 10;  // Bb, drawn with the C shape: only the names matter here
    c.Bass = 24 + 2;
    fb->ShowDiagram(c);
    QCOMPARE(fb->editChordNameUser->text(), QStringLiteral("Bb maj /D"));
    QCOMPARE(fb->editNotes->text(), QStringLiteral(" Bb D F"));
    QCOMPARE(fb->editIntervals[1]->text(), QStringLiteral("3"));
    QCOMPARE(fb->editIntervals[3]->text(), QString());
    QCOMPARE(fb->Label2->text(), QStringLiteral("Chord Name:"));
    QCOMPARE(fb->editTuningName->text(), QStringLiteral("Standard"));
    QCOMPARE(w.state().LastRoot, 10);

    trigger(w, "mnuFlatSharp");
    QCOMPARE(action(w, "mnuFlatSharp")->text(), QStringLiteral("Sharps"));
    QCOMPARE(action(w, "mnuKey10")->text(), QStringLiteral("A#"));
    fb->ShowDiagram(c);
    QCOMPARE(fb->editChordNameUser->text(), QStringLiteral("A# maj /D"));
    QCOMPARE(fb->editNotes->text(), QStringLiteral(" A# D F"));
    QCOMPARE(fb->editString[0]->text(), QStringLiteral("E4"));
    trigger(w, "mnuFlatSharp");
    QCOMPARE(action(w, "mnuKey10")->text(), QStringLiteral("Bb"));
    QVERIFY(action(w, "mnuFlatSharp")->isChecked());
  }

  void rootAndOtherNotesTakeDifferentGlyphs() {
    MainWindow w("/tmp/");
    FretboardPanel* fb = w.fretboard();
    fb->ShowDiagram(openC());
    const QImage& img = fb->imgGuitar->image();
    const QImage& strip = fb->imgFinger;
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
    MainWindow w("/tmp/");
    FretboardPanel* fb = w.fretboard();
    TChordDiagram c = openC();
    fb->ShowDiagram(c);
    const QColor black = fb->editIntervals[0]->palette().color(QPalette::Text);
    QCOMPARE(black, QColor(Qt::black));
    c.Strings[4] = {0, 5};  // mute the C on the A string and the one on the B string
    c.Notes[4] = 0;
    c.Strings[1] = {0, 0};
    c.Notes[1] = 59;
    fb->ShowDiagram(c);
    QVERIFY(fb->editIntervals[0]->palette().color(QPalette::Text) != QColor(Qt::black));
  }

  void emptyRecordClearsEverything() {
    MainWindow w("/tmp/");
    FretboardPanel* fb = w.fretboard();
    fb->ShowDiagram(openC());
    TChordDiagram empty = openC();
    empty.Empty = 1;
    fb->ShowDiagram(empty);
    QVERIFY(fb->editChordNameUser->text().isEmpty());
    QVERIFY(fb->editNotes->text().isEmpty());
    QVERIFY(fb->editIntervals[1]->text().isEmpty());
    QCOMPARE(fb->imgGuitar->image(), fb->imgGuitarCopy);
  }

  void damagedRecordDrawsWithoutCrashing() {
    MainWindow w("/tmp/");
    TChordDiagram junk;
    std::memset(&junk, 0xEE, sizeof junk);
    junk.Empty = 0;
    w.fretboard()->ShowDiagram(junk);
    button(w, "sbShowArp")->setChecked(true);
    w.fretboard()->ShowDiagram(junk);
    QVERIFY(w.fretboard()->editChordNameUser->text().size() > 0);
  }

  void editingTheFingeringWithTheMouse() {
    MainWindow w("/tmp/");
    w.showTab(PlayTab::ChordDesign);
    FretboardPanel* fb = w.fretboard();
    TChordDiagram& e = w.state().EditChord;

    // Right button at the nut of the low E string: open, and the root is E.
    fb->imgGuitarMouseDown(cell(5, 0), Qt::RightButton);
    QCOMPARE(e.Strings[5].Finger, std::uint8_t(0));
    QCOMPARE(e.Notes[5], std::uint8_t(40));
    QCOMPARE(e.Root, std::uint8_t(4));
    QCOMPARE(e.Bass, std::uint8_t(28));
    QCOMPARE(w.chordDesign()->editRoot->text(), QStringLiteral("E"));
    QCOMPARE(fb->pnlInterval->text(), QStringLiteral("1"));
    QCOMPARE(w.chordDesign()->editTab[5]->text(), QStringLiteral("0"));
    // Left clicks at the nut then mute and open it again.
    fb->imgGuitarMouseDown(cell(5, 0), Qt::LeftButton);
    QCOMPARE(e.Strings[5].Finger, std::uint8_t(5));
    QCOMPARE(e.Notes[5], std::uint8_t(0));
    QVERIFY(w.chordDesign()->editTab[5]->text().isEmpty());
    fb->imgGuitarMouseDown(cell(5, 0), Qt::LeftButton);
    QCOMPARE(e.Strings[5].Finger, std::uint8_t(0));

    // Fretted notes take the finger marker that is down.
    w.chordDesign()->selectFinger(2);
    fb->imgGuitarMouseDown(cell(4, 2), Qt::LeftButton);  // B
    w.chordDesign()->selectFinger(3);
    fb->imgGuitarMouseDown(cell(3, 2), Qt::LeftButton);  // E
    QCOMPARE(e.Strings[4].Finger, std::uint8_t(2));
    QCOMPARE(e.Strings[3].Finger, std::uint8_t(3));
    QCOMPARE(e.BaseFret, std::uint8_t(1));
    QCOMPARE(std::vector<int>(e.Intervals, e.Intervals + 3), (std::vector<int>{0, 7, -1}));
    // The formula is the labels on show, each followed by a space, cut to 20.
    QCOMPARE(std::string(e.Formula.view()), formulaFromLabels(fb->intervalCaptions()));
    QCOMPARE(std::string(e.Formula.view()), std::string("1 5      "));

    // A fingering up the neck moves the base fret.
    fb->imgGuitarMouseDown(cell(2, 7), Qt::LeftButton);
    QCOMPARE(e.BaseFret, std::uint8_t(2));
  }

  void editsAreIgnoredOffTheDesignTabAndWhilePlaying() {
    MainWindow w("/tmp/");
    TChordDiagram before = w.state().EditChord;
    w.fretboard()->imgGuitarMouseDown(cell(0, 3), Qt::LeftButton);
    QCOMPARE(std::memcmp(&before, &w.state().EditChord, sizeof before), 0);
    w.showTab(PlayTab::ChordDesign);
    button(w, "sbtnPlay")->setChecked(true);
    w.fretboard()->imgGuitarMouseDown(cell(0, 3), Qt::LeftButton);
    QCOMPARE(std::memcmp(&before, &w.state().EditChord, sizeof before), 0);
  }

  void rootAndBassControls() {
    MainWindow w("/tmp/");
    w.showTab(PlayTab::ChordDesign);
    FretboardPanel* fb = w.fretboard();
    ChordDesignTab* d = w.chordDesign();
    TChordDiagram& e = w.state().EditChord;
    e.ChordName = "maj7";
    d->udBass->setPosition(3);
    d->udBass->step(1);  // E
    QCOMPARE(fb->editChordNameUser->text(), QStringLiteral("C maj7 /E"));
    QCOMPARE(e.Bass, std::uint8_t(28));
    d->udRoot->step(1);
    d->udRoot->step(-1);  // back to C: the bass follows the root
    QCOMPARE(e.Bass, std::uint8_t(24));
    QCOMPARE(d->editBass->text(), QStringLiteral("C"));
    fb->udRootMouseUp();
    QCOMPARE(fb->editChordNameUser->text(), QStringLiteral("C maj7"));
  }

  void committingATuning() {
    MainWindow w("/tmp/");
    FretboardPanel* fb = w.fretboard();
    w.showTab(PlayTab::ChordDesign);
    TChordDiagram& e = w.state().EditChord;
    fb->imgGuitarMouseDown(cell(5, 3), Qt::LeftButton);  // G on the low string
    QCOMPARE(e.Notes[5], std::uint8_t(43));
    QCOMPARE(e.Notes[0], std::uint8_t(0));
    fb->UpDowns[5]->step(-1);
    fb->UpDowns[5]->step(-1);  // drop D
    QCOMPARE(fb->editString[5]->text(), QStringLiteral("D2"));
    fb->UpDown0MouseUp();
    QCOMPARE(fb->editTuningName->text(), QStringLiteral("D A D G B E "));
    QCOMPARE(e.Tuning[5], std::uint8_t(38));
    QCOMPARE(e.Notes[5], std::uint8_t(41));  // the played string moved with its open string
    QCOMPARE(e.Notes[0], std::uint8_t(0));   // the muted one stays muted
    QCOMPARE(std::string(e.TuningName.view()), std::string("D A D G B E "));
    fb->UpDowns[5]->step(2);
    fb->UpDown0MouseUp();
    QCOMPARE(fb->editTuningName->text(), QStringLiteral("Standard"));
  }

  void tuningControlsWrapAndAreOnlyLiveOnDesignAndScales() {
    MainWindow w("/tmp/");
    FretboardPanel* fb = w.fretboard();
    QVERIFY(!fb->UpDowns[0]->isEnabled());
    w.showTab(PlayTab::Scales);
    QVERIFY(fb->UpDowns[0]->isEnabled());
    fb->UpDowns[0]->setPosition(69);
    fb->UpDowns[0]->step(1);
    QCOMPARE(fb->UpDowns[0]->position(), 33);
    QCOMPARE(fb->editString[0]->text(), QStringLiteral("A1"));
    fb->UpDowns[0]->step(-1);
    QCOMPARE(fb->editString[0]->text(), QStringLiteral("A4"));
    w.showTab(PlayTab::PlayPage);
    QVERIFY(!fb->UpDowns[0]->isEnabled());
  }

  void hoverReadout() {
    MainWindow w("/tmp/");
    FretboardPanel* fb = w.fretboard();
    w.state().LastRoot = 9;
    fb->imgGuitarMouseMove(cell(1, 2));  // C#/Db over A
    QCOMPARE(fb->pnlNote->text(), QStringLiteral("Db"));
    QCOMPARE(fb->pnlInterval->text(), QStringLiteral("3"));
    fb->imgGuitarMouseMove(QPoint(2, 50));
    QVERIFY(fb->pnlNote->text().isEmpty());
    QVERIFY(fb->pnlInterval->text().isEmpty());
  }

  void arpeggioBoxesTheChordTonesAcrossTheNeck() {
    MainWindow w("/tmp/");
    FretboardPanel* fb = w.fretboard();
    button(w, "sbShowArp")->setChecked(true);
    fb->ShowDiagram(openC());
    const QImage& img = fb->imgGuitar->image();
    // Fret 8 of the high E string is a C: a red box; fret 7 (B) has none.
    QCOMPARE(QColor(img.pixel(FretX[8] - 1, StringY[0] + 5)), QColor(255, 0, 0));
    QVERIFY(QColor(img.pixel(FretX[7] - 1, StringY[0] + 5)) != QColor(255, 0, 0));
    // Fret 3 of the B string is a D: not in C major.  Fret 5 is E: lime.
    QCOMPARE(QColor(img.pixel(FretX[5] - 1, StringY[1] + 5)), QColor(0, 255, 0));
  }

  void scaleOnTheFretboard() {
    MainWindow w("/tmp/");
    FretboardPanel* fb = w.fretboard();
    TScaleDiagram sc{};
    sc.ScaleName = "Whole Tone";
    sc.TuningName = "Standard";
    std::copy(StandardTuning.begin(), StandardTuning.end(), sc.Tuning);
    const std::uint8_t degrees[10] = {0, 2, 4, 6, 8, 10, 99, 99, 99, 99};
    std::copy(degrees, degrees + 10, sc.Intervals);
    sc.Root = 2;
    fb->ShowScaleOnFretboard(sc);
    QCOMPARE(fb->Label2->text(), QStringLiteral("Scale Name:"));
    QCOMPARE(fb->editChordNameUser->text(), QStringLiteral("D Whole Tone"));
    QCOMPARE(fb->editNotes->text(), QStringLiteral(" D E Gb Ab Bb C"));
    QCOMPARE(fb->editIntervals[5]->text(), QStringLiteral("b7"));
    QVERIFY(fb->editIntervals[6]->text().isEmpty());
    QCOMPARE(w.state().LastRoot, 2);
  }

  void flipSwapsTheToolBarAndTheFretboard() {
    MainWindow w("/tmp/");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(child<ToolBarPanel>(w, "pnlTop")->y() < w.fretboard()->y());
    trigger(w, "menuFlip");
    QApplication::processEvents();
    QVERIFY(w.fretboardOnTop());
    QVERIFY(button(w, "sbtnFlip")->isChecked());
    click(w, "sbtnFlip");
    QVERIFY(!w.fretboardOnTop());
    button(w, "sbtnPause")->setChecked(true);
    click(w, "sbtnFlip");  // refused under the guard, and the button goes back
    QVERIFY(!w.fretboardOnTop());
    QVERIFY(!button(w, "sbtnFlip")->isChecked());
  }
};

QTEST_MAIN(FretboardPanelTest)
#include "FretboardPanelTest.moc"
