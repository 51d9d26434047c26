#include <QtTest>

#include "ChordFixtures.h"
#include "music/DiagramConvert.h"
#include "render/DiagramPainter.h"
#include "render/PageDrawer.h"
#include "render/PrintSheet.h"

namespace {

TChordDiagram cMajor() {
  return fixtures::chord("", 0, "x32010", "x32010", 1, -1, "1 3 5");
}

bool blank(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
  return true;
}

// The selection frame is the only red on these pages.
bool anyRed(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == qRgb(255, 0, 0)) return true;
  return false;
}

using fixtures::emptyPage;

}  // namespace

class PagePictureTest : public QObject {
  Q_OBJECT

  NameTables names;

 private slots:
  // Opening a chord page stops at the first empty record: a set cut short
  // shows its chords without a header, and nothing after it is drawn.
  void chordPageStopsAtTheFirstEmptyRecord() {
    PageContents page = emptyPage(PageKind::Chord);
    QVERIFY(!pagePicture(page, std::nullopt, names));
    for (int c = 0; c < 6; ++c) page.ChordPage[c][0] = cMajor();
    const auto oneSet = pagePicture(page, std::nullopt, names);
    QVERIFY(oneSet);
    QVERIFY(!anyRed(oneSet->Picture));
    QVERIFY(blank(oneSet->Picture.copy(0, 170, 772, 630)));

    page.ChordPage[0][1] = page.ChordPage[1][1] = cMajor();
    page.ChordPage[0][3] = cMajor();  // after the gap: never read
    const auto cut = pagePicture(page, std::nullopt, names)->Picture;
    QCOMPARE(cut.copy(0, 0, 772, 170), oneSet->Picture.copy(0, 0, 772, 170));
    // Row 1 (150 pixels lower): the two chords, but no set header over them.
    QCOMPARE(cut.copy(20, 180, 105, 120), smallChordPicture(cMajor(), false));
    QCOMPARE(cut.copy(140, 180, 105, 120), oneSet->Picture.copy(140, 30, 105, 120));
    QVERIFY(blank(cut.copy(0, 152, 772, 18)));
    QVERIFY(blank(cut.copy(260, 170, 512, 150)));
    QVERIFY(blank(cut.copy(0, 320, 772, 480)));
  }

  // A print page is read whole, gaps and all; the frame on its first item
  // is not printed. A scale page stops at its first empty row.
  void printAndScalePages() {
    PageContents print = emptyPage(PageKind::Print);
    QVERIFY(!pagePicture(print, std::nullopt, names));
    chordToPrintItem(cMajor(), print.PrintPage[4][3]);
    const auto item = pagePicture(print, std::nullopt, names);
    QVERIFY(item);
    QCOMPARE(item->Heading, QStringLiteral("Strumbo! Print Page: "));
    QVERIFY(!anyRed(item->Picture));
    QVERIFY(!blank(item->Picture.copy(500, 482, 120, 158)));
    QVERIFY(blank(item->Picture.copy(0, 0, 772, 480)));

    PageContents scales = emptyPage(PageKind::Scale);
    QVERIFY(!pagePicture(scales, std::nullopt, names));
    scales.ScalePage[0] = fixtures::cMajor();
    scales.ScalePage[2] = fixtures::cMajor();  // behind an empty row
    const auto row = pagePicture(scales, std::nullopt, names);
    QVERIFY(row);
    QVERIFY(!anyRed(row->Picture));
    QVERIFY(!blank(row->Picture.copy(0, 0, 776, 170)));
    QVERIFY(blank(row->Picture.copy(0, 170, 776, 630)));

    // A design group has no printed form.
    PageContents design = emptyPage(PageKind::Design);
    design.DesignGroup[0] = cMajor();
    QVERIFY(!pagePicture(design, std::nullopt, names));
  }

  // A tab showing a page afresh takes the drawn surface, its frame and the
  // rows read; the sheet is that surface with the frame wiped.
  void theTabGetsTheFrameAndTheRowsRead() {
    PageContents chords = emptyPage(PageKind::Chord);
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 6; ++c) chords.ChordPage[c][r] = cMajor();
    chords.ChordPage[0][2] = cMajor();  // a set cut short is not counted
    const DrawnPage drawnChords = drawPage(chords, std::nullopt, names);
    QCOMPARE(drawnChords.Rows, 2);
    QVERIFY(drawnChords.Printable);
    QVERIFY(drawnChords.Frame);
    QCOMPARE(QPoint(drawnChords.Frame->Column, drawnChords.Frame->Row), QPoint(0, 0));
    QVERIFY(anyRed(drawnChords.Surface));
    QCOMPARE(withoutSelectionFrame(drawnChords.Surface, *drawnChords.Frame),
             pagePicture(chords, std::nullopt, names)->Picture);

    PageContents print = emptyPage(PageKind::Print);
    chordToPrintItem(cMajor(), print.PrintPage[5][1]);
    chordToPrintItem(cMajor(), print.PrintPage[2][3]);
    const DrawnPage drawnPrint = drawPage(print, std::nullopt, names);
    QVERIFY(drawnPrint.Frame);
    QCOMPARE(QPoint(drawnPrint.Frame->Column, drawnPrint.Frame->Row), QPoint(5, 1));

    PageContents scales = emptyPage(PageKind::Scale);
    scales.ScalePage[0] = scales.ScalePage[1] = fixtures::cMajor();
    const DrawnPage drawnScales = drawPage(scales, std::nullopt, names);
    QCOMPARE(drawnScales.Rows, 2);
    QVERIFY(drawnScales.Frame);
    QCOMPARE(QPoint(drawnScales.Frame->Column, drawnScales.Frame->Row), QPoint(0, 1));

    // An empty page has nothing framed and prints nothing, but for the play page.
    const DrawnPage none = drawPage(emptyPage(PageKind::Chord), std::nullopt, names);
    QVERIFY(!none.Frame);
    QVERIFY(!none.Printable);
    QCOMPARE(none.Rows, 0);
    const DrawnPage play = drawPage(emptyPage(PageKind::Play), std::nullopt, names);
    QVERIFY(!play.Frame);
    QVERIFY(play.Printable);
  }
};

QTEST_MAIN(PagePictureTest)
#include "PagePictureTest.moc"
