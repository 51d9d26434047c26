#include <QGuiApplication>
#include <QToolButton>
#include <QtTest>

#include "MidiRig.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "render/BitmapDrawing.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "state/AppState.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/SurfaceView.h"

// Runs on a screen of two device pixels per pixel (see CMakeLists.txt).
namespace {

SurfaceView* guitar(MainWindow& w) {
  return child<SurfaceView>(*w.fretboard(), "imgGuitar");
}

QRect place(int s, int f) {
  return {FretX[f], StringY[s], GlyphSize, GlyphSize};
}

QImage at(const QImage& picture, const QRect& logical) {
  return BitmapDrawing::copyLogical(picture, logical);
}

TChordDiagram openE() {
  TChordDiagram c = startFingering();
  c.ChordName = "maj";
  const int frets[6] = {0, 0, 1, 2, 2, 0};
  const int fingers[6] = {0, 0, 1, 3, 2, 0};
  for (int s = 0; s < 6; ++s) {
    c.Strings[s] = {static_cast<std::uint8_t>(frets[s]), static_cast<std::uint8_t>(fingers[s])};
    c.Notes[s] = static_cast<std::uint8_t>(c.Tuning[s] + frets[s]);
  }
  return c;
}

}  // namespace

class DenseScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

  // The neck is the one drawn for the screen, and a press lands on the
  // string and fret under the pointer, right- or left-handed.
  void theFretboardIsDrawnForTheScreenAndPressesLandInPlace() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    SurfaceView* board = guitar(w);
    QCOMPARE(board->image(), Bitmaps::fretboard(false, 2));

    clickTab(w, 1);
    QTest::mouseClick(board, Qt::LeftButton, {}, place(1, 3).center());
    QCOMPARE(int(w.state().EditChord.Strings[1].Fret), 3);
    // Its glyph is drawn on that place and nowhere near it.
    const QImage clean = Bitmaps::fretboard(false, 2);
    QVERIFY(at(board->image(), place(1, 3)) != at(clean, place(1, 3)));
    for (const QRect& beside : {place(0, 3), place(2, 3), place(1, 2), place(1, 4)})
      QCOMPARE(at(board->image(), beside), at(clean, beside));

    QTest::mouseClick(child<QToolButton>(w, "sbtnLeftHanded"), Qt::LeftButton);
    QVERIFY(board->mirrored());
    const QPoint shown(board->width() - 1 - place(4, 5).center().x(), place(4, 5).center().y());
    QTest::mouseClick(board, Qt::LeftButton, {}, shown);
    QCOMPARE(int(w.state().EditChord.Strings[4].Fret), 5);
    QVERIFY(at(board->image(), place(4, 5)) != at(Bitmaps::fretboard(true, 2), place(4, 5)));
  }

  // While a chord plays, the struck strings' marks change and each is put
  // back as it was when its note ends.
  void fingerMarksOfAPlayingChordAreRestoredExactly() {
    MidiRig rig;
    MainWindow& w = rig.window;
    w.state().SelectedChord = openE();
    w.fretboard()->ShowDiagram(w.state().SelectedChord);
    const QImage before = guitar(w)->image();
    QCOMPARE(before.devicePixelRatio(), 2.0);
    click(w, "sbtnPlay");
    QVERIFY(button(w, "sbtnPlay")->isChecked());
    rig.runUntil(1000);
    QVERIFY(at(guitar(w)->image(), place(5, 0)) != at(before, place(5, 0)));
    rig.runUntil(20'000'000);
    QVERIFY(!button(w, "sbtnPlay")->isChecked());
    QCOMPARE(guitar(w)->image(), before);
  }
};

QTEST_MAIN(DenseScreenTest)
#include "DenseScreenTest.moc"
