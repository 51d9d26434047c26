#include <QPainter>
#include <QtTest>
#include <cstdlib>

#include "render/BitmapDrawing.h"
#include "render/CursorBitmaps.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "render/TablaturePicture.h"

namespace {

constexpr QSize Board(Bitmaps::FretboardWidth, Bitmaps::FretboardHeight);

// Share of the 2 x 2 device blocks under a logical rectangle of a ratio-2
// picture whose four pixels are not all one colour. A picture enlarged from
// ratio 1 pixel by pixel has none.
double mixedBlocks(const QImage& dense, const QRect& logical) {
  int mixed = 0, all = 0;
  for (int y = logical.top(); y <= logical.bottom(); ++y)
    for (int x = logical.left(); x <= logical.right(); ++x) {
      const QRgb a = dense.pixel(2 * x, 2 * y);
      mixed += dense.pixel(2 * x + 1, 2 * y) != a || dense.pixel(2 * x, 2 * y + 1) != a ||
               dense.pixel(2 * x + 1, 2 * y + 1) != a;
      ++all;
    }
  return double(mixed) / all;
}

// Mean difference per channel, alpha included, between a dense picture
// brought down to one device pixel per pixel and the picture drawn so.
double meanDifference(const QImage& dense, const QImage& plain) {
  const QImage down = dense.scaled(plain.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_ARGB32);
  const QImage want = plain.convertToFormat(QImage::Format_ARGB32);
  long total = 0;
  for (int y = 0; y < want.height(); ++y)
    for (int x = 0; x < want.width(); ++x) {
      const QRgb a = down.pixel(x, y), b = want.pixel(x, y);
      total += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
               std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
    }
  return double(total) / (4.0 * want.width() * want.height());
}

QImage enlarged(const QImage& plain) {
  return plain.scaled(plain.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool sameLogicalSize(const QImage& image, QSize logical, qreal ratio) {
  return image.devicePixelRatio() == ratio && image.size() == logical * ratio &&
         image.deviceIndependentSize() == QSizeF(logical);
}

}  // namespace

// Pictures for a screen of two device pixels per pixel: drawn at that
// density, not the plain picture enlarged, yet the same picture.
class DenseFretboardTest : public QObject {
  Q_OBJECT

 private slots:
  void theNeckIsDrawnAtTheDensityAndLooksAsAtOne() {
    const QImage plain = Bitmaps::fretboard(), dense = Bitmaps::fretboard(false, 2);
    QVERIFY(sameLogicalSize(dense, Board, 2));
    QVERIFY(meanDifference(dense, plain) < 5.0);
    // Along the strings and across the wires the device pixels of a logical
    // pixel differ: they are drawn, not repeated.
    QRect strings, wires;
    for (int s = 0; s < FretboardStringCount; ++s) strings |= QRect(40, StringY[s] + 4, 700, 4);
    QVERIFY(mixedBlocks(dense, strings) > 0.5);
    int wiresMixed = 0;
    for (int f = 1; f < FretboardFretCount; ++f)
      wiresMixed += mixedBlocks(dense, QRect(FretSpaceEnd[f] - 1, 20, 3, 80)) > 0.5;
    QCOMPARE(wiresMixed, FretboardFretCount - 1);
    // The measure itself: the plain picture enlarged shows no such pixels.
    QCOMPARE(mixedBlocks(enlarged(plain), strings), 0.0);

    // Mirrored for the left hand only the fret numbers change.
    const QImage mirrored = Bitmaps::fretboard(true, 2);
    QVERIFY(sameLogicalSize(mirrored, Board, 2));
    QCOMPARE(mirrored.copy(0, 0, mirrored.width(), 2 * 110),
             dense.copy(0, 0, dense.width(), 2 * 110));
    QVERIFY(mirrored != dense);
    // A ratio from a broken setting gives the plain picture, not a vast one.
    QCOMPARE(Bitmaps::fretboard(false, -3), plain);
  }

  void glyphsAreDrawnAtTheDensityAndFoundByTheirLogicalPlace() {
    const QImage plain = Bitmaps::fingerStrip(), strip = Bitmaps::fingerStrip(2);
    QVERIFY(sameLogicalSize(strip, plain.size(), 2));
    QVERIFY(meanDifference(strip, plain) < 5.0);
    QVERIFY(mixedBlocks(strip, QRect(QPoint(0, 0), plain.size())) > 0.1);

    // A glyph lands on its place on a dense neck as the cell shows it.
    const QImage board = Bitmaps::fretboard(false, 2);
    QImage guitar = board.copy();
    drawFretboardGlyph(guitar, strip, GlyphCell::RedDot, 2, 5);
    const QRect place(FretX[5], StringY[2], GlyphSize, GlyphSize);
    QImage want = BitmapDrawing::copyLogical(board, place);
    {
      QPainter p(&want);
      p.drawImage(QPoint(0, 0),
                  BitmapDrawing::copyLogical(strip, QRect(GlyphCell::RedDot, 0, 12, 12)));
    }
    QCOMPARE(BitmapDrawing::copyLogical(guitar, place), want);
    QCOMPARE(BitmapDrawing::copyLogical(guitar, place.translated(GlyphSize + 2, 0)),
             BitmapDrawing::copyLogical(board, place.translated(GlyphSize + 2, 0)));
    // Cells past the strip's logical end draw nothing, though its device
    // pixels run on.
    const QImage before = guitar.copy();
    for (const int cell : {240, 300, 468}) drawFretboardGlyph(guitar, strip, cell, 1, 1);
    QCOMPARE(guitar, before);

    // Mirrored, each cell is its own glyph back to front, in its own place.
    const QImage mirrored = Bitmaps::mirroredGlyphCells(strip);
    QVERIFY(sameLogicalSize(mirrored, plain.size(), 2));
    for (int x = 0; x < plain.width(); x += GlyphSize) {
      const QRect cell(x, 0, GlyphSize, GlyphSize);
      QCOMPARE(BitmapDrawing::copyLogical(mirrored, cell),
               BitmapDrawing::copyLogical(strip, cell).mirrored(true, false));
    }
  }

  void pointersAndTheTablatureStaffAreDrawnAtTheDensity() {
    for (const int number : {Bitmaps::CursorFret, Bitmaps::CursorMove}) {
      const QImage plain = Bitmaps::cursorImage(number), dense = Bitmaps::cursorImage(number, 2);
      QVERIFY(sameLogicalSize(dense, QSize(32, 32), 2));
      // Edges weigh much in so small a picture: the smooth arrow differs
      // from the stepped one by about 12, one drawn a size off by over 50.
      QVERIFY(meanDifference(dense, plain) < 16.0);
      QVERIFY(mixedBlocks(dense, QRect(0, 0, 32, 32)) > 0.02);
      const QCursor pointer = Bitmaps::cursor(number, 2);
      QCOMPARE(pointer.pixmap().devicePixelRatio(), 2.0);
      QCOMPARE(pointer.hotSpot(), QPoint(0, 0));
    }
    const QImage plain = tablaturePicture(36, 20), dense = tablaturePicture(36, 20, 2);
    QVERIFY(sameLogicalSize(dense, QSize(36, 120), 2));
    QVERIFY(meanDifference(dense, plain) < 8.0);
    QVERIFY(mixedBlocks(dense, QRect(0, 0, 36, 120)) > 0.02);
  }
};

QTEST_MAIN(DenseFretboardTest)
#include "DenseFretboardTest.moc"
