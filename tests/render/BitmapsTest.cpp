#include <QtTest>

#include "ReferenceImage.h"
#include "render/CursorBitmaps.h"
#include "render/DiagramBitmaps.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "render/PlayPageBitmaps.h"

using Bitmaps::PlayImage;

class BitmapsTest : public QObject {
  Q_OBJECT

 private slots:
  void fretboardAndGlyphStripMatchTheirReferences() {
    VERIFY_REFERENCE(Bitmaps::fretboard(), "fretboard");
    VERIFY_REFERENCE(Bitmaps::fingerStrip(), "fingerStrip");
  }

  void glyphPlacesSitOnTheStringsBetweenTheWires() {
    const QImage board = Bitmaps::fretboard();
    // A string runs through the middle of every glyph place, so a glyph sits
    // on its string, and no fret wire crosses a place.
    for (int s = 0; s < FretboardStringCount; ++s)
      for (int f = 0; f < FretboardFretCount; ++f) {
        QVERIFY2(qGray(board.pixel(FretX[f] + 6, StringY[s] + 5)) > 120,
                 qPrintable(QStringLiteral("string %1 fret %2").arg(s).arg(f)));
        QVERIFY2(
            FretX[f] + GlyphSize <= FretSpaceEnd[f] && (f == 0 || FretX[f] > FretSpaceEnd[f - 1]),
            qPrintable(QStringLiteral("fret %1").arg(f)));
      }
    // The wire at the end of each fret space is the bright line on the wood.
    for (int f = 1; f < FretboardFretCount; ++f)
      QVERIFY2(qGray(board.pixel(FretSpaceEnd[f], 20)) > 200, qPrintable(QString::number(f)));
  }

  void diagramGridsAndMarksMatchTheirReference() {
    VERIFY_REFERENCE(
        reference::sheet({Bitmaps::smallFret(), Bitmaps::smallMark(), Bitmaps::smallNumb(),
                          Bitmaps::tinyFret(), Bitmaps::tinyMark()}),
        "diagramParts");
  }

  void staffPiecesMatchTheirReference() {
    using enum PlayImage;
    const auto piece = [](PlayImage id) { return Bitmaps::playImage(id); };
    VERIFY_REFERENCE(
        reference::sheet({piece(FourFour), piece(ThreeFour), piece(BarLine), piece(BlackSlash),
                          piece(RedSlash), piece(StepArrow), piece(PlayCursor), piece(PlayErase),
                          piece(PlayLoop), piece(Return), piece(Repeat)}),
        "staffPieces");
    QVERIFY(Bitmaps::playImage(static_cast<PlayImage>(Bitmaps::PlayImageCount)).isNull());
  }

  void cursorsMatchTheirReferenceAndOthersAreTheArrow() {
    VERIFY_REFERENCE(reference::sheet({Bitmaps::cursorImage(Bitmaps::CursorFret),
                                       Bitmaps::cursorImage(Bitmaps::CursorMove)}),
                     "cursors");
    QCOMPARE(Bitmaps::cursor(Bitmaps::CursorMove).hotSpot(), QPoint(0, 0));
    QVERIFY(Bitmaps::cursorImage(1).isNull());
    QCOMPARE(Bitmaps::cursor(3).shape(), Qt::ArrowCursor);
  }
};

QTEST_MAIN(BitmapsTest)
#include "BitmapsTest.moc"
