#include <QtTest>

#include "ChordFixtures.h"
#include "music/DiagramConvert.h"
#include "render/SurfaceText.h"

namespace {

QImage surface(int w, int h, QColor fill = Qt::white) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

// The smallest rectangle holding every dark pixel.
QRect inkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
  return box;
}

}  // namespace

class SurfaceTextTest : public QObject {
  Q_OBJECT

 private slots:
  void textStandsOnItsOwnWhiteBox() {
    QImage page = surface(200, 40, Qt::gray);
    SurfaceText::drawText(page, QPoint(10, 5), "C maj7", SurfaceText::pageFont());
    const QRect ink = inkBox(page.copy(10, 5, 100, 20));
    QVERIFY(ink.isValid());
    QVERIFY(ink.top() >= 0 && ink.left() <= 2);
    QCOMPARE(page.pixel(10, 5), qRgb(255, 255, 255));  // the box
    QCOMPARE(page.pixel(9, 5), qRgb(160, 160, 164));   // outside it
    // Writing blanks over a text wipes it (the play page wipes bar numbers so).
    SurfaceText::drawText(page, QPoint(10, 5), "            ", SurfaceText::pageFont());
    QVERIFY(!inkBox(page.copy(10, 5, 30, 14)).isValid());
    // Any byte of a record is a character, never a decoding failure.
    SurfaceText::drawText(page, QPoint(0, 20), std::string_view("\xb0\xff\x01", 3),
                          SurfaceText::pageFont());
  }

  void closeLinesDoNotClipEachOther() {
    QImage one = surface(120, 40);
    SurfaceText::drawLines(one, 0, {0, 8, 16, 24}, {"gjpqy", "", "", ""}, SurfaceText::smallFont());
    QImage four = surface(120, 40);
    SurfaceText::drawLines(four, 0, {0, 8, 16, 24}, {"gjpqy", "E G B", "", ""},
                           SurfaceText::smallFont());
    // The descenders of the first line survive the box of the second.
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 40; ++x) QCOMPARE(four.pixel(x, y), one.pixel(x, y));
    QVERIFY(inkBox(one).bottom() >= 8);
  }

  void linesLandAtTheirSurfacePlaces() {
    NameTables names;
    const TChordDiagram chord = fixtures::chord("maj7", 0, "x32000", "x32000", 1, 4, "1 3 5 7");

    QImage play = surface(772, 833);
    SurfaceText::drawPlayPageCaption(play, chord, 3, 2, names);
    QRect ink = inkBox(play);
    QVERIFY(QRect(63 * 3 + 20, 132 * 2 + 15, 60, 10).contains(ink));

    QImage print = surface(772, 800);
    TPrintDiagram item{};
    chordToPrintItem(chord, item);
    SurfaceText::drawPrintCaptions(print, item, 4, 1, names);
    ink = inkBox(print);
    QVERIFY(QRect(120 * 4 + 20, 160 + 1, 120, 38).contains(ink));
    QVERIFY(ink.height() > 28);  // four lines

    QImage design = surface(456, 101);
    SurfaceText::drawDesignGroupLines(design, chord, 5, names);
    ink = inkBox(design);
    QVERIFY(QRect(380, 0, 76, 35).contains(ink));

    QImage chords = surface(772, 800);
    SurfaceText::drawChordSetHeader(chords, chord, 4, names);
    ink = inkBox(chords);
    QVERIFY(QRect(20, 616, 400, 13).contains(ink));

    QImage scales = surface(776, 800);
    SurfaceText::drawScaleRowHeader(scales, fixtures::cMajor(), 0, names);
    ink = inkBox(scales);
    QVERIFY(QRect(20, 16, 756, 13).contains(ink));
    QVERIFY(ink.width() > 200);
  }
};

QTEST_MAIN(SurfaceTextTest)
#include "SurfaceTextTest.moc"
