#include <QtTest>

#include "pages/render/Bitmaps.h"
#include "pages/render/FretboardPainter.h"

namespace {

bool isBlack(const QImage& image, int x, int y) {
  return image.pixel(x, y) == qRgb(0, 0, 0);
}
bool isWhite(const QImage& image, int x, int y) {
  return image.pixel(x, y) == qRgb(255, 255, 255);
}

// Every pixel of a column (or row) range is black exactly on the given lines.
void checkGrid(const QImage& grid, const QList<int>& xs, const QList<int>& ys) {
  const int top = ys.first(), bottom = ys.last(), left = xs.first(), right = xs.last();
  for (int x = 0; x < grid.width(); ++x) {
    const bool onString = xs.contains(x);
    for (int y = top; y <= bottom; ++y) {
      if (ys.contains(y) && x >= left && x <= right) continue;
      QVERIFY2(isBlack(grid, x, y) == onString,
               qPrintable(QStringLiteral("x %1 y %2").arg(x).arg(y)));
    }
  }
  for (int y = 0; y < grid.height(); ++y) {
    const bool onFret = ys.contains(y);
    for (int x = left; x <= right; ++x)
      QVERIFY2(isBlack(grid, x, y) == (onFret || (xs.contains(x) && y >= top)),
               qPrintable(QStringLiteral("x %1 y %2").arg(x).arg(y)));
  }
  // The margins for the fret number and the open marks stay white.
  for (int y = 0; y < grid.height(); ++y)
    for (int x = 0; x < left; ++x) QVERIFY(isWhite(grid, x, y));
  for (int y = 0; y < top; ++y)
    for (int x = 0; x < grid.width(); ++x) QVERIFY(isWhite(grid, x, y));
}

QColor cellCentre(const QImage& strip, int cellX) {
  return QColor::fromRgba(strip.pixel(cellX + 6, 6));
}

}  // namespace

class BitmapsTest : public QObject {
  Q_OBJECT

 private slots:
  void sizes() {
    QCOMPARE(Bitmaps::fretboard().size(), QSize(748, 123));
    QCOMPARE(Bitmaps::fingerStrip().size(), QSize(240, 12));
    QCOMPARE(Bitmaps::smallFret().size(), QSize(105, 120));
    QCOMPARE(Bitmaps::smallMark().size(), QSize(40, 10));
    QCOMPARE(Bitmaps::smallNumb().size(), QSize(70, 10));
    QCOMPARE(Bitmaps::tinyFret().size(), QSize(58, 61));
    QCOMPARE(Bitmaps::tinyMark().size(), QSize(15, 5));
    const struct {
      const char* name;
      QSize size;
    } play[] = {{"FOURFOUR", {768, 33}}, {"TREEFOUR", {14, 33}}, {"BARLINE", {1, 33}},
                {"BLAKSLAS", {28, 33}},  {"REDSLASH", {28, 33}}, {"STEPARRW", {28, 33}},
                {"PLAYCURS", {8, 33}},   {"PLAYERAS", {8, 33}},  {"PLAYLOOP", {8, 33}},
                {"RETURN", {8, 33}},     {"REPEAT", {8, 33}}};
    for (const auto& p : play) QCOMPARE(Bitmaps::playImage(p.name).size(), p.size);
    QVERIFY(Bitmaps::playImage("NOSUCH").isNull());
  }

  void drawingIsRepeatable() {
    QCOMPARE(Bitmaps::fretboard(), Bitmaps::fretboard());
    QCOMPARE(Bitmaps::fingerStrip(), Bitmaps::fingerStrip());
  }

  void smallAndTinyGridsLieOnTheirLines() {
    checkGrid(Bitmaps::smallFret(), {21, 36, 51, 66, 81, 96}, {17, 34, 51, 68, 85, 102, 119});
    checkGrid(Bitmaps::tinyFret(), {10, 19, 28, 37, 46, 55}, {6, 15, 24, 33, 42, 51, 60});
  }

  void markCellsAreCentredOnTheirString() {
    // A small cell is copied at string x - 5, a tiny one at string x - 2:
    // dots are black there, rings white inside, and the corners white.
    const QImage mark = Bitmaps::smallMark(), numb = Bitmaps::smallNumb(),
                 tiny = Bitmaps::tinyMark();
    QVERIFY(isBlack(mark, 5, 5));
    QVERIFY(isWhite(mark, 15, 5));
    QVERIFY(isBlack(mark, 11, 5));
    QVERIFY(isBlack(mark, 19, 5));
    QVERIFY(isBlack(mark, 25, 5));
    QVERIFY(isWhite(numb, 5, 5));
    QVERIFY(isBlack(numb, 55, 5));
    QVERIFY(isBlack(numb, 65, 5));
    for (int c = 0; c < 7; ++c) QVERIFY(isWhite(numb, 10 * c, 0));
    QVERIFY(isBlack(tiny, 2, 2));
    QVERIFY(isWhite(tiny, 7, 2));
    QVERIFY(isBlack(tiny, 12, 2));
    // Ring and digit cells differ from one another.
    for (int a = 0; a < 5; ++a)
      for (int b = a + 1; b < 5; ++b)
        QVERIFY(numb.copy(10 * a, 0, 10, 10) != numb.copy(10 * b, 0, 10, 10));
  }

  void glyphSetsHaveTheirColours() {
    const QImage strip = Bitmaps::fingerStrip();
    QCOMPARE(QColor::fromRgba(strip.pixel(6, 6)).alpha(), 0);  // grey blank
    const auto greenish = [](QColor c) { return c.green() > 150 && c.red() < 100; };
    const auto reddish = [](QColor c) { return c.red() > 200 && c.green() < 100; };
    const auto whitish = [](QColor c) {
      return c.red() > 230 && c.green() > 230 && c.blue() > 230;
    };
    QVERIFY(greenish(cellCentre(strip, GlyphCell::GreenDot)));
    QVERIFY(reddish(cellCentre(strip, GlyphCell::RedDot)));
    QVERIFY(whitish(cellCentre(strip, GlyphCell::WhiteDot)));
    // Rings are open in the middle so the string shows through.
    QCOMPARE(cellCentre(strip, GlyphCell::GreenRing).alpha(), 0);
    QCOMPARE(cellCentre(strip, GlyphCell::RedRing).alpha(), 0);
    // Corners are transparent: a glyph never paints a square over the wood.
    for (int i = 1; i < GlyphCellCount; ++i)
      QCOMPARE(QColor::fromRgba(strip.pixel(12 * i, 0)).alpha(), 0);
    // The digit cells of a set differ from each other and from the plain dot.
    for (const int first : {24, 96, 168})
      for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b)
          if (a != 1 && b != 1)
            QVERIFY(strip.copy(first + 12 * a, 0, 12, 12) != strip.copy(first + 12 * b, 0, 12, 12));
  }

  void fretboardHasFretsAndStringsAtTheGlyphPlaces() {
    const QImage board = Bitmaps::fretboard();
    // A string runs through the middle of every glyph place, so a glyph sits
    // on its string; the places themselves are free of fret wires.
    for (int s = 0; s < 6; ++s)
      for (int f = 0; f < 23; ++f)
        QVERIFY2(qGray(board.pixel(FretX[f] + 6, StringY[s] + 5)) > 120,
                 qPrintable(QStringLiteral("string %1 fret %2").arg(s).arg(f)));
    QVERIFY(qGray(board.pixel(81, 20)) > 200);  // the first fret wire
    for (int f = 0; f < 23; ++f)
      for (int x = FretX[f]; x < FretX[f] + 12; ++x)
        QVERIFY2(qGray(board.pixel(x, 24)) < 150, qPrintable(QString::number(f)));
  }

  void staffPiecesWipeBackToBareStaff() {
    const QImage erase = Bitmaps::playImage("PLAYERAS");
    for (int y = 0; y < 33; ++y)
      for (int x = 0; x < 8; ++x) QCOMPARE(isBlack(erase, x, y), y % 8 == 0);
    // Every marker keeps the staff lines at its edges, so it joins the row.
    for (const char* name : {"PLAYCURS", "PLAYLOOP", "BLAKSLAS", "STEPARRW"}) {
      const QImage image = Bitmaps::playImage(name);
      for (int y = 0; y < 33; y += 8) QVERIFY2(isBlack(image, image.width() - 1, y), name);
    }
    // The black and red slash differ only in colour.
    const QImage black = Bitmaps::playImage("BLAKSLAS"), red = Bitmaps::playImage("REDSLASH");
    QVERIFY(black != red);
    QVERIFY(isBlack(black, 14, 16));
    QCOMPARE(red.pixel(14, 16), qRgb(255, 0, 0));
    // The staff row carries its slashes at the beat places (surface x 39 + 126k).
    const QImage row = Bitmaps::playImage("FOURFOUR");
    for (int k = 0; k < 6; ++k) QCOMPARE(row.copy(36 + 126 * k, 0, 28, 33), black);
  }

  void cursorsHaveTheirShapes() {
    QCOMPARE(Bitmaps::cursorImage(5).size(), QSize(32, 32));
    QVERIFY(Bitmaps::cursorImage(5) != Bitmaps::cursorImage(6));
    QVERIFY(Bitmaps::cursorImage(1).isNull());
    QCOMPARE(Bitmaps::cursor(6).hotSpot(), QPoint(0, 0));
    QCOMPARE(Bitmaps::cursor(3).shape(), Qt::ArrowCursor);
  }
};

QTEST_MAIN(BitmapsTest)
#include "BitmapsTest.moc"
