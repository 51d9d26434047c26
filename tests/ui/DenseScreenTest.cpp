#include <QtTest>

#include "MidiRig.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "render/DiagramPainter.h"
#include "state/AppState.h"
#include "ui/ChordsTab.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/PlaybackController.h"
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

TChordDiagram openE() {
  TChordDiagram c = startFingering();
  c.ChordName = "maj";
  const int frets[6] = {0, 0, 1, 2, 2, 0};
  const int fingers[6] = {0, 0, 1, 3, 2, 0};
  for (int s = 0; s < 6; ++s) {
    c.Strings[s] = {static_cast<std::uint8_t>(frets[s]), static_cast<std::uint8_t>(fingers[s])};
    c.Notes[s] = static_cast<std::uint8_t>(c.Tuning[s] + frets[s]);
  }
  c.Root = 4;
  c.Bass = 28;
  return c;
}

}  // namespace

class DenseScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

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
