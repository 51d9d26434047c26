#include <QGuiApplication>
#include <QToolButton>
#include <QtTest>

#include "MidiRig.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "render/BitmapDrawing.h"
#include "render/DiagramPainter.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "state/AppState.h"
#include "ui/ChordsTab.h"
#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/SurfaceView.h"

// The window on a screen of two device pixels to the pixel (the test runs
// with QT_SCALE_FACTOR=2): pictures hold the screen's pixels, presses land
// where they would at one, and what is drawn over a picture and taken away
// again leaves it as it was.
namespace {

// The box around the red pixels of a picture, in its device pixels.
QRect redBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == qRgb(255, 0, 0)) box |= QRect(x, y, 1, 1);
  return box;
}

SurfaceView* guitar(MainWindow& w) {
  return child<SurfaceView>(*w.fretboard(), "imgGuitar");
}

QRect place(int s, int f) {
  return {FretX[f], StringY[s], GlyphSize, GlyphSize};
}

QImage at(const QImage& picture, const QRect& logical) {
  return BitmapDrawing::copyLogical(picture, logical);
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

  // A press on the third diagram frames it: the frame is drawn at twice
  // the pixels, around the same cell as at one.
  void aPressFramesTheDiagramUnderIt() {
    WindowRig rig;
    MainWindow& w = rig.w;
    showChords(w, 4, 2, 1);
    auto* page = child<SurfaceView>(w, "imgChordPage");
    QCOMPARE(page->image().devicePixelRatio(), 2.0);
    QCOMPARE(page->image().size(), page->size() * 2);
    clickAt(w, "imgChordPage", QPoint(260, 100));
    QCOMPARE(w.chordsPage()->framedCell(), QPoint(2, 0));
    SelectionFrame frame{0, 0, 0, 0, 2, 0};
    QImage one(page->size(), QImage::Format_RGB32);
    one.fill(Qt::white);
    MoveSelectionFrame(one, frame, ChordsPageFrame);
    const QRect logical(QPoint(frame.Left, frame.Top), QPoint(frame.Right - 1, frame.Bottom - 1));
    QCOMPARE(redBox(page->image()), QRect(logical.topLeft() * 2, logical.size() * 2));
  }

  // Step play draws its arrow over the staff and Stop puts back what was
  // under it, pixel for pixel.
  void theStepArrowLeavesTheStaffAsItWas() {
    MidiRig rig;
    MainWindow& w = rig.window;
    w.showTab(PlayTab::PlayPage);
    w.playPage()->takeInHand(openE());
    clickAt(w, "imgPlayPage", QPoint(63 * 3 + 40, 60));
    click(w, "sbtnStep");
    const QImage before = child<SurfaceView>(w, "imgPlayPage")->image();
    QVERIFY(typeKey(w, Qt::Key_Space));
    QVERIFY(child<SurfaceView>(w, "imgPlayPage")->image() != before);
    rig.runUntil(10'000'000);
    click(w, "sbtnStop");
    QCOMPARE(child<SurfaceView>(w, "imgPlayPage")->image(), before);
  }
};

QTEST_MAIN(DenseScreenTest)
#include "DenseScreenTest.moc"
