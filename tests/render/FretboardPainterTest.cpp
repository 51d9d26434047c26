#include <QPainter>
#include <QtTest>

#include "ReferenceImage.h"
#include "music/Tuning.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"

namespace {

QImage cellOf(const QImage& image, int x, int y) {
  return image.copy(x, y, 12, 12);
}

// What a glyph cell looks like once laid on a given picture.
QImage glyphOver(const QImage& background, const QImage& strip, int cellX) {
  QImage out = background.copy();
  QPainter p(&out);
  p.drawImage(0, 0, strip, cellX, 0, 12, 12);
  return out;
}

TScaleDiagram scaleOf(std::initializer_list<int> degrees, int root) {
  TScaleDiagram scale{};
  for (std::uint8_t& i : scale.Intervals) i = ScaleIntervalEnd;
  int k = 0;
  for (const int d : degrees) scale.Intervals[k++] = static_cast<std::uint8_t>(d);
  for (int s = 0; s < 6; ++s) scale.Tuning[s] = StandardTuning[s];
  scale.Root = static_cast<std::uint8_t>(root);
  return scale;
}

}  // namespace

class FretboardPainterTest : public QObject {
  Q_OBJECT

  QImage strip, board;

 private slots:
  void initTestCase() {
    strip = Bitmaps::fingerStrip();
    board = Bitmaps::fretboard();
  }

  void chordAndStrikeGlyphsMatchTheirReference() {
    // Every finger code in the green set on the high strings and in the red
    // set on the low ones, the white strike set two frets on, then an
    // arpeggio box: one picture of every choice of glyph.
    QImage guitar = board.copy();
    for (int code = 0; code <= 6; ++code)
      for (int s = 0; s < 6; ++s) {
        const bool root = s >= 3;
        drawFretboardGlyph(guitar, strip, chordGlyphCell(code, root), s, 3 * code);
        drawFretboardGlyph(guitar, strip, strikeGlyphCell(code), s, 3 * code + 1);
      }
    drawArpeggioBox(guitar, 2, 22, QColor(0, 255, 0));
    VERIFY_REFERENCE(guitar, "fretboardGlyphs");
    // A damaged finger code shows a plain dot, inside the strip.
    for (const int g : {-1, 7, 10, 255}) {
      QCOMPARE(chordGlyphCell(g, false), GlyphCell::GreenDot);
      QCOMPARE(chordGlyphCell(g, true), GlyphCell::RedDot);
      QCOMPARE(strikeGlyphCell(g), GlyphCell::WhiteDot);
    }
  }

  void outOfRangePlacesDrawNothing() {
    QImage guitar = board.copy();
    for (const auto& [s, f] : {std::pair{-1, 0}, {6, 0}, {0, -1}, {0, 23}, {200, 200}})
      drawFretboardGlyph(guitar, strip, GlyphCell::GreenDot, s, f);
    for (const int cell : {-12, 5, 240, 1000}) drawFretboardGlyph(guitar, strip, cell, 1, 1);
    drawArpeggioBox(guitar, 6, 0, Qt::red);
    drawArpeggioBox(guitar, 0, 23, Qt::red);
    QCOMPARE(guitar, board);
  }

  void scaleMarksRootRedAndOthersGreen() {
    QImage guitar = board.copy();
    drawScaleMarks(guitar, strip, scaleOf({0, 2, 4, 5, 7, 9, 11}, 0));  // C major
    const auto shows = [&](int s, int f, int cell) {
      return cellOf(guitar, FretX[f], StringY[s]) ==
             glyphOver(cellOf(board, FretX[f], StringY[s]), strip, cell);
    };
    QVERIFY(shows(1, 1, GlyphCell::RedDot));     // C on the B string
    QVERIFY(shows(0, 0, GlyphCell::GreenRing));  // open E
    QVERIFY(shows(0, 1, GlyphCell::GreenDot));   // F
    QVERIFY(shows(4, 3, GlyphCell::RedDot));     // C on the A string
    QVERIFY(shows(0, 2, GlyphCell::Blank) &&
            cellOf(guitar, FretX[2], StringY[0]) == cellOf(board, FretX[2], StringY[0]));  // F#
    // A root on an open string is a red ring: E minor pentatonic.
    QImage em = board.copy();
    drawScaleMarks(em, strip, scaleOf({0, 3, 5, 7, 10}, 4));
    QCOMPARE(cellOf(em, FretX[0], StringY[5]),
             glyphOver(cellOf(board, FretX[0], StringY[5]), strip, GlyphCell::RedRing));
  }

  void scaleWithTenDegreesMarksAllTen() {
    QImage guitar = board.copy();
    const TScaleDiagram scale = scaleOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 0);
    drawScaleMarks(guitar, strip, scale);
    // Degree 9 (A) is the tenth entry: open A string.
    QCOMPARE(cellOf(guitar, FretX[0], StringY[4]),
             glyphOver(cellOf(board, FretX[0], StringY[4]), strip, GlyphCell::GreenRing));
    // B (11) is not a degree: the open B string stays bare.
    QCOMPARE(cellOf(guitar, FretX[0], StringY[1]), cellOf(board, FretX[0], StringY[1]));
  }

  void damagedScaleStaysOnTheBoard() {
    TScaleDiagram scale{};
    for (std::uint8_t& i : scale.Intervals) i = 250;  // no end marker
    for (std::uint8_t& t : scale.Tuning) t = 255;
    scale.Root = 200;
    QImage guitar = board.copy();
    drawScaleMarks(guitar, strip, scale);
    QCOMPARE(guitar.size(), board.size());
  }
};

QTEST_MAIN(FretboardPainterTest)
#include "FretboardPainterTest.moc"
