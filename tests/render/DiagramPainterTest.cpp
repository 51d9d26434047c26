#include <QPainter>
#include <QtTest>

#include "ChordFixtures.h"
#include "play/PlayPageGeometry.h"
#include "render/DiagramBitmaps.h"
#include "render/DiagramPainter.h"

namespace {

constexpr int SmallStringX[6] = {91, 76, 61, 46, 31, 16};
constexpr int SmallRowY[7] = {5, 23, 40, 57, 74, 91, 108};
constexpr int TinyStringX[6] = {53, 44, 35, 26, 17, 8};
constexpr int TinyRowY[7] = {0, 9, 18, 27, 36, 45, 54};

QImage smallNumbCell(int cell) {
  return Bitmaps::smallNumb().copy(10 * cell, 0, 10, 10);
}
QImage smallMarkCell(int x) {
  return Bitmaps::smallMark().copy(x, 0, 10, 10);
}
QImage tinyMarkCell(int x) {
  return Bitmaps::tinyMark().copy(x, 0, 5, 5);
}

QImage smallMarkAt(const QImage& picture, int s, int row) {
  return picture.copy(SmallStringX[s], SmallRowY[row], 10, 10);
}

QImage surface(int w = 772, int h = 800) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

bool allWhite(const QImage& image, const QRect& box) {
  for (int y = box.top(); y <= box.bottom(); ++y)
    for (int x = box.left(); x <= box.right(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
  return true;
}

int countColour(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
  return n;
}

TChordDiagram allMuted() {
  return fixtures::chord("", 0, "xxxxxx", "xxxxxx", 1);
}

}  // namespace

class DiagramPainterTest : public QObject {
  Q_OBJECT

 private slots:
  void mutedStringsShowCrossesAboveTheNut() {
    const TChordDiagram chord = allMuted();
    for (const bool numbers : {false, true}) {
      const QImage picture = smallChordPicture(chord, numbers);
      for (int s = 0; s < 6; ++s) QCOMPARE(smallMarkAt(picture, s, 0), smallNumbCell(5));
      // The fret rows stay empty.
      QCOMPARE(picture.copy(22, 18, 74, 101), Bitmaps::smallFret().copy(22, 18, 74, 101));
    }
    QCOMPARE(smallChordPicture(chord, false), smallChordPicture(chord, true));
    const QImage tiny = tinyChordPicture(chord);
    for (int s = 0; s < 6; ++s)
      QCOMPARE(tiny.copy(TinyStringX[s], TinyRowY[0], 5, 5), tinyMarkCell(10));
  }

  void fingerNumbersOnlyWhereAsked() {
    // C major with fingers 3 2 0 1 0 and a plain-dot string added on top.
    TChordDiagram chord = fixtures::chord("", 0, "x32013", "x320p0", 1);
    chord.Strings[0].Finger = FingerCode::Fretted;
    chord.Strings[1].Finger = 1;
    const QImage plain = smallChordPicture(chord, false);
    const QImage numbered = smallChordPicture(chord, true);
    QCOMPARE(smallMarkAt(plain, 4, 3), smallNumbCell(6));
    QCOMPARE(smallMarkAt(numbered, 4, 3), smallNumbCell(3));
    QCOMPARE(smallMarkAt(plain, 3, 2), smallNumbCell(6));
    QCOMPARE(smallMarkAt(numbered, 3, 2), smallNumbCell(2));
    QCOMPARE(smallMarkAt(numbered, 1, 1), smallNumbCell(1));
    // Open strings are rings and the plain-dot string a dot, in both.
    for (const QImage& picture : {plain, numbered}) {
      QCOMPARE(smallMarkAt(picture, 2, 0), smallNumbCell(0));
      QCOMPARE(smallMarkAt(picture, 0, 3), smallNumbCell(6));
      QCOMPARE(smallMarkAt(picture, 5, 0), smallNumbCell(5));
    }
  }

  void baseFretPlacesRowsAndIsWritten() {
    TChordDiagram chord = fixtures::chord("", 9, "x0xxxx", "x0xxxx", 5);
    chord.Strings[2].Fret = 7;
    chord.Strings[2].Finger = 3;
    const QImage five = smallChordPicture(chord, true);
    QCOMPARE(smallMarkAt(five, 2, 3), smallNumbCell(3));
    QVERIFY(!allWhite(five, QRect(4, 19, 12, 13)));  // the "5" beside row 1
    chord.BaseFret = 6;
    const QImage six = smallChordPicture(chord, true);
    QCOMPARE(smallMarkAt(six, 2, 2), smallNumbCell(3));
    QVERIFY(five.copy(0, 17, 21, 17) != six.copy(0, 17, 21, 17));
    // Tiny diagrams place the same row and never show digits.
    chord.BaseFret = 5;
    const QImage tiny = tinyChordPicture(chord);
    QCOMPARE(tiny.copy(TinyStringX[2], TinyRowY[3], 5, 5), tinyMarkCell(0));
    QCOMPARE(tiny.copy(TinyStringX[4], TinyRowY[0], 5, 5), tinyMarkCell(5));
    QVERIFY(!allWhite(tiny, QRect(0, 7, 9, 8)));
  }

  // Left-handed, every mark sits at its mirrored place, and the grid is the
  // plain one mirrored; the marks' digits and the fret number still read left
  // to right, the number now right of the grid. A capo is a bar in place of
  // the nut, and only where the nut shows.
  void leftHandedMirrorsThePlacesNotTheDigitsAndACapoReplacesTheNut() {
    TChordDiagram chord = fixtures::chord("", 0, "x32013", "x320p0", 1);
    chord.Strings[1].Finger = 1;
    const QImage plain = smallChordPicture(chord, true);
    const QImage left = smallChordPicture(chord, true, {true, 0});
    const int w = plain.width();
    QImage expected = plain.mirrored(true, false);
    {
      QPainter p(&expected);
      for (int s = 0; s < 6; ++s) {
        const int row = chord.Strings[s].Fret == 0 ? 0 : chord.Strings[s].Fret;
        p.drawImage(w - SmallStringX[s] - 10, SmallRowY[row], smallMarkAt(plain, s, row));
      }
    }
    // The number's line box, left of the grid as drawn or right of it mirrored.
    const QRect number(w - 16, 19, 12, 13), leftOfGrid(0, 19, 8, 13);
    QPainter(&expected).fillRect(number, Qt::white);
    QImage shown = left;
    QPainter(&shown).fillRect(number, Qt::white);
    QCOMPARE(shown, expected);
    QVERIFY(!allWhite(left, number) && allWhite(left, leftOfGrid));
    QVERIFY(!allWhite(plain, leftOfGrid));

    const QImage tiny = tinyChordPicture(chord), tinyLeft = tinyChordPicture(chord, {true, 0});
    for (int s = 1; s < 6; ++s)
      QCOMPARE(
          tinyLeft.copy(tiny.width() - TinyStringX[s] - 5, TinyRowY[chord.Strings[s].Fret], 5, 5),
          tiny.copy(TinyStringX[s], TinyRowY[chord.Strings[s].Fret], 5, 5));

    const QImage capo = smallChordPicture(chord, true, {false, 3});
    const QRgb bar = capo.pixel(60, 15);
    QVERIFY(bar == capo.pixel(60, 16) && qGray(bar) < 128 && bar != qRgb(0, 0, 0));
    QCOMPARE(capo.copy(0, 19, w, capo.height() - 19), plain.copy(0, 19, w, plain.height() - 19));
    chord.BaseFret = 3;
    QCOMPARE(smallChordPicture(chord, true, {false, 3}), smallChordPicture(chord, true));
  }

  void stringsOutsideTheSixRowsAreLeftOut() {
    TChordDiagram chord = fixtures::chord("", 9, "5x5c85", "1x1431", 5);
    QVERIFY(!fitsSixRows(chord));
    const QImage picture = smallChordPicture(chord, true);
    QCOMPARE(picture.copy(SmallStringX[2] - 1, 18, 3, 101),
             Bitmaps::smallFret().copy(SmallStringX[2] - 1, 18, 3, 101));
    chord.Strings[2].Fret = 3;  // below the base fret
    QVERIFY(!fitsSixRows(chord));
    QCOMPARE(smallMarkAt(smallChordPicture(chord, true), 2, 0),
             Bitmaps::smallFret().copy(SmallStringX[2], SmallRowY[0], 10, 10));
    chord.Strings[2].Fret = 10;  // the sixth row still fits
    QVERIFY(fitsSixRows(chord));
    QVERIFY(fitsSixRows(allMuted()));
  }

  void scalePositionOpenRowOnlyFromFretOne() {
    const TScaleDiagram major = fixtures::cMajor();
    const QImage first = smallScalePicture(major, 1);
    for (int s = 0; s < 6; ++s) QCOMPARE(smallMarkAt(first, s, 0), smallMarkCell(10));
    const QImage third = smallScalePicture(major, 3);
    QVERIFY(allWhite(third, QRect(0, 0, 105, 16)));
    // Roots are hatched, other degrees dots: C on the B string at fret 1,
    // D (not the root) on the B string at fret 3.
    QCOMPARE(smallMarkAt(first, 1, 1), smallMarkCell(30));
    QCOMPARE(smallMarkAt(third, 1, 1), smallMarkCell(0));
    QCOMPARE(smallMarkAt(first, 0, 2), Bitmaps::smallFret().copy(91, 40, 10, 10));  // F#
    // A root on an open string is hatched too.
    const TScaleDiagram eMinor = fixtures::scale("Minor", 4, {0, 2, 3, 5, 7, 8, 10}, {1});
    QCOMPARE(smallMarkAt(smallScalePicture(eMinor, 1), 0, 0), smallMarkCell(30));
  }

  void scaleWithTenDegreesMarksAllOfThem() {
    const TScaleDiagram chromatic =
        fixtures::scale("Ten", 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 1, 1, 1, 1, 1});
    const QImage picture = smallScalePicture(chromatic, 1);
    QCOMPARE(smallMarkAt(picture, 4, 0), smallMarkCell(10));  // A, the tenth degree
    QCOMPARE(smallMarkAt(picture, 1, 0), Bitmaps::smallFret().copy(76, 5, 10, 10));  // B
  }

  void diagramsLandInTheirCells() {
    const TChordDiagram chord = fixtures::chord("", 0, "x32010", "x32010", 1);
    QImage chords = surface();
    DrawSmallChord(chords, chord, 2, 3, SmallPage::Chords);
    QCOMPARE(chords.copy(260, 480, 105, 120), smallChordPicture(chord, false));
    QImage print = surface();
    DrawSmallChord(print, chord, 5, 4, SmallPage::Print);
    QCOMPARE(print.copy(620, 678, 105, 120), smallChordPicture(chord, true));
    QImage play = surface(772, 833);
    DrawTinyChord(
        play, chord,
        QPoint(PlayGeometry::slotX(11), PlayGeometry::rowTop(5) + PlayGeometry::DiagramTop));
    QCOMPARE(play.copy(713, 685, 58, 61), tinyChordPicture(chord));
    // Nothing is drawn outside the picture.
    QCOMPARE(countColour(play, qRgb(0, 0, 0)), countColour(tinyChordPicture(chord), qRgb(0, 0, 0)));
  }

  void scaleCellIsWipedBeforeDrawing() {
    TScaleDiagram major = fixtures::cMajor();
    for (const auto& [page, pitch, top] :
         {std::tuple{SmallPage::Scales, 150, 30}, std::tuple{SmallPage::Print, 160, 38}}) {
      QImage page_ = surface(776, 800);
      page_.fill(Qt::gray);
      DrawSmallScale(page_, major, 3, 1, page);
      QCOMPARE(page_.copy(380, pitch + top, 105, 120),
               smallScalePicture(major, major.StartFrets[3]));
      // The wiped rectangle is white wherever the picture does not cover it.
      const QRect wiped(QPoint(381, pitch + 32), QPoint(483, pitch + 153));
      const QRect picture(380, pitch + top, 105, 120);
      for (int y = wiped.top(); y <= wiped.bottom(); ++y)
        for (int x = wiped.left(); x <= wiped.right(); ++x)
          if (!picture.contains(x, y)) QCOMPARE(page_.pixel(x, y), qRgb(255, 255, 255));
      // Beside the cell the page stays as it was.
      QCOMPARE(page_.pixel(379, pitch + 100), qRgb(160, 160, 164));
      QCOMPARE(page_.pixel(485, pitch + 100), qRgb(160, 160, 164));
      QCOMPARE(page_.pixel(400, pitch + 29), qRgb(160, 160, 164));
    }
  }

  void selectionFrameMovesWithoutLeavingRed() {
    QImage print = surface();
    SelectionFrame frame;
    frame.Column = 1;
    frame.Row = 2;
    MoveSelectionFrame(print, frame, PrintPageFrame);
    QCOMPARE(frame.Left, 142);
    QCOMPARE(frame.Top, 361);
    QCOMPARE(frame.Right, 243);
    QCOMPARE(frame.Bottom, 480);
    const QRgb red = qRgb(255, 0, 0);
    QCOMPARE(print.pixel(142, 361), red);
    QCOMPARE(print.pixel(242, 479), red);
    QCOMPARE(print.pixel(243, 479), qRgb(255, 255, 255));
    QCOMPARE(countColour(print, red), 2 * 101 + 2 * 119 - 4);
    frame.Column = 4;
    frame.Row = 0;
    MoveSelectionFrame(print, frame, PrintPageFrame);
    QCOMPARE(countColour(print, red), 2 * 101 + 2 * 119 - 4);
    QVERIFY(allWhite(print, QRect(100, 300, 200, 200)));
    // The design group frame spans the whole surface height.
    QImage design = surface(456, 101);
    SelectionFrame slot;
    slot.Column = 5;
    MoveSelectionFrame(design, slot, DesignGroupFrame);
    QCOMPARE(design.pixel(380, 0), red);
    QCOMPARE(design.pixel(455, 100), red);
  }

  void framesFarOffTheSurfaceAreHarmless() {
    QImage chords = surface();
    SelectionFrame frame;
    frame.Column = 2000000000;
    frame.Row = -2000000000;
    MoveSelectionFrame(chords, frame, ChordsPageFrame);
    frame.Column = 0;
    frame.Row = 0;
    MoveSelectionFrame(chords, frame, ChordsPageFrame);
    QCOMPARE(countColour(chords, qRgb(255, 0, 0)), 2 * 105 + 2 * 127 - 4);
  }

  void damagedRecordsDrawSanely() {
    TChordDiagram chord{};
    for (auto& string : chord.Strings) {
      string.Fret = 255;
      string.Finger = 200;
    }
    chord.BaseFret = 0;
    QImage page = surface();
    DrawSmallChord(page, chord, 0, 0, SmallPage::Print);
    DrawTinyChord(page, chord, QPoint(400, 400));
    DrawTinyChord(page, chord, QPoint(-30, 790));  // partly off the surface
    chord.Strings[0].Fret = 3;                     // a bad finger code shows a plain dot
    QCOMPARE(smallMarkAt(smallChordPicture(chord, true), 0, 4), smallNumbCell(6));
    QVERIFY(!fitsSixRows(chord));
    for (const auto& [c, r] : {std::pair{-1, 0}, {6, 0}, {0, 5}, {0, -1}}) {
      const QImage before = page.copy();
      DrawSmallChord(page, chord, c, r, SmallPage::Chords);
      TScaleDiagram scale{};
      DrawSmallScale(page, scale, c, r, SmallPage::Scales);
      QCOMPARE(page, before);
    }
    TScaleDiagram scale{};
    for (auto& i : scale.Intervals) i = 250;  // no end marker
    for (auto& f : scale.StartFrets) f = 255;
    scale.Root = 255;
    DrawSmallScale(page, scale, 5, 4, SmallPage::Scales);
  }

  void clearSurfacePaintsEverythingWhite() {
    QImage page = surface(456, 101);
    page.fill(Qt::red);
    ClearSurface(page);
    QVERIFY(allWhite(page, page.rect()));
  }
};

QTEST_MAIN(DiagramPainterTest)
#include "DiagramPainterTest.moc"
