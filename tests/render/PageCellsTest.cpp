#include <QtTest>

#include "ChordFixtures.h"
#include "music/DiagramConvert.h"
#include "render/DiagramPainter.h"
#include "render/PageCells.h"

namespace {

const QRgb Grey = qRgb(160, 160, 164);
const QRgb WhitePixel = qRgb(255, 255, 255);

QImage greySurface(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::gray);
  return image;
}

int countColour(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
  return n;
}

TChordDiagram cMajor() {
  return fixtures::chord("", 0, "x32010", "x32010", 1, -1, "1 3 5");
}

}  // namespace

class PageCellsTest : public QObject {
  Q_OBJECT

  NameTables names;

 private slots:
  void printItemDrawsChordOrScale() {
    QImage print = greySurface(772, 800);
    TPrintDiagram chordItem{};
    chordToPrintItem(cMajor(), chordItem);
    PageCells::drawPrintItem(print, chordItem, 1, 2, names);
    QCOMPARE(print.copy(140, 358, 105, 120), smallChordPicture(cMajor(), true));
    // The cell is white around the picture, and the page beyond it untouched.
    QCOMPARE(print.pixel(259, 400), WhitePixel);
    QCOMPARE(print.pixel(260, 400), Grey);
    QCOMPARE(print.pixel(139, 400), Grey);

    TPrintDiagram scaleItem{};
    scaleItem.BaseFret = 5;
    scaleToPrintItem(fixtures::cMajor(), scaleItem);
    PageCells::drawPrintItem(print, scaleItem, 1, 2, names);
    QCOMPARE(print.copy(140, 358, 105, 120), smallScalePicture(fixtures::cMajor(), 5));

    scaleItem.Empty = 1;
    PageCells::drawPrintItem(print, scaleItem, 1, 2, names);
    QCOMPARE(countColour(print.copy(140, 322, 120, 158), WhitePixel), 120 * 158);
    const QImage before = print.copy();
    PageCells::drawPrintItem(print, chordItem, 6, 0, names);
    PageCells::wipePrintCell(print, 0, 5);
    QCOMPARE(print, before);
  }

  void designSlotShowsTheBlueLineOnlyWhenTheChordDoesNotFit() {
    QImage design = greySurface(456, 101);
    const TChordDiagram wide = fixtures::chord("7", 9, "5x5c85", "1x1431", 5);
    PageCells::drawDesignSlot(design, wide, 3, names);
    QCOMPARE(countColour(design, qRgb(0, 0, 255)), 42);
    QCOMPARE(design.copy(228, 37, 58, 61), tinyChordPicture(wide));
    QCOMPARE(design.pixel(227, 50), Grey);
    PageCells::drawDesignSlot(design, cMajor(), 3, names);
    QCOMPARE(countColour(design, qRgb(0, 0, 255)), 0);
    DrawOutOfRangeLine(design, 6);  // no such slot: nothing drawn
    DrawOutOfRangeLine(design, -1);
    QCOMPARE(countColour(design, qRgb(0, 0, 255)), 0);
    TChordDiagram empty = cMajor();
    empty.Empty = 1;
    PageCells::drawDesignSlot(design, empty, 3, names);
    // An empty slot is white but for its faint frame, which keeps off the
    // strip's edges where the red frame runs (and is wiped in white).
    const QImage slot = design.copy(228, 0, 76, 101);
    const int frame = countColour(slot, PageCells::EmptyDesignSlotColour.rgb());
    QVERIFY(frame >= 2 * 60 + 2 * 90);
    QCOMPARE(countColour(slot, WhitePixel) + frame, 76 * 101);
    for (int x = 0; x < 76; ++x)
      QVERIFY(slot.pixel(x, 0) == WhitePixel && slot.pixel(x, 100) == WhitePixel);
    for (int y = 0; y < 101; ++y)
      QVERIFY(slot.pixel(0, y) == WhitePixel && slot.pixel(75, y) == WhitePixel);
  }

  void playSlotWipesItsAreaAndDrawsTheTinyChord() {
    QImage play = greySurface(772, 833);
    PageCells::drawPlaySlot(play, cMajor(), 11, 5, names);
    QCOMPARE(play.copy(713, 685, 58, 61), tinyChordPicture(cMajor()));
    QCOMPARE(play.pixel(713, 660), WhitePixel);  // the slot area above the caption
    QCOMPARE(play.pixel(712, 700), Grey);
    QCOMPARE(play.pixel(713, 746), Grey);
    PageCells::wipePlaySlot(play, 11, 5);
    // The last column's area reaches one pixel past the 772-pixel page.
    QCOMPARE(countColour(play, WhitePixel), 59 * 86);
  }

  void chordSetAndScaleRow() {
    QImage chords = greySurface(772, 800);
    TChordDiagram set[6];
    for (auto& c : set) c = cMajor();
    set[4].Empty = 1;
    PageCells::drawChordSet(chords, set, 1, names);
    QCOMPARE(chords.copy(20, 180, 105, 120), smallChordPicture(cMajor(), false));
    QCOMPARE(chords.pixel(500, 200), Grey);       // the empty fifth cell
    QCOMPARE(chords.pixel(20, 166), WhitePixel);  // the header's box

    // The Scales page draws a new row over the cells as they stand.
    QImage scales = greySurface(776, 800);
    PageCells::drawScaleRow(scales, fixtures::cMajor(), 0, names);
    QCOMPARE(scales.copy(140, 30, 105, 120), smallScalePicture(fixtures::cMajor(), 3));
    QCOMPARE(scales.pixel(141, 152), Grey);
  }
};

QTEST_MAIN(PageCellsTest)
#include "PageCellsTest.moc"
