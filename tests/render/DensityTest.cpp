#include <QPaintEngine>
#include <QPainter>
#include <QtTest>

#include "ChordFixtures.h"
#include "music/DiagramConvert.h"
#include "play/SmallPageGeometry.h"
#include "render/PageDrawer.h"
#include "render/PrintSheet.h"

namespace {

TChordDiagram cMajor() {
  return fixtures::chord("", 0, "x32010", "x32010", 1, -1, "1 3 5");
}

using fixtures::emptyPage;

// A print page with a fingered chord (finger digits, a muted string, the
// nut), a scale (rings and hatched roots) and the chord again up the neck.
PageContents printPage() {
  PageContents page = emptyPage(PageKind::Print);
  chordToPrintItem(cMajor(), page.PrintPage[0][0]);
  scaleToPrintItem(fixtures::cMajor(), page.PrintPage[1][0]);
  TChordDiagram high = fixtures::chord("", 0, "x3555x", "x1344x", 3, -1, "1 3 5");
  chordToPrintItem(high, page.PrintPage[2][1]);
  return page;
}

PageContents playPage() {
  PageContents page = emptyPage(PageKind::Play);
  page.PlayPage[1][0] = cMajor();
  page.Header.Loop = 1;
  return page;
}

// Grey level 0..255 of a pixel.
int grey(QRgb c) {
  return qGray(c);
}

// Of the pixels inked in either of two pictures of one size, the share that
// one has light and the other dark: small where the two draw the same lines
// in the same places, whatever their edges.
double misplacedInk(const QImage& a, const QImage& b) {
  int inked = 0, misplaced = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const int ga = grey(a.pixel(x, y)), gb = grey(b.pixel(x, y));
      if (ga == 255 && gb == 255) continue;
      ++inked;
      misplaced += std::abs(ga - gb) > 128;
    }
  return inked ? double(misplaced) / inked : 0;
}

// Of the 2 x 2 blocks of a double-density picture that are not all white,
// the share whose four pixels differ: none for a picture enlarged from one
// pixel to four, many where edges were drawn at the finer pitch.
double mixedBlockShare(const QImage& image) {
  int inked = 0, mixed = 0;
  for (int y = 0; y + 1 < image.height(); y += 2)
    for (int x = 0; x + 1 < image.width(); x += 2) {
      const QRgb a = image.pixel(x, y), b = image.pixel(x + 1, y), c = image.pixel(x, y + 1),
                 d = image.pixel(x + 1, y + 1);
      if (a == qRgb(255, 255, 255) && a == b && a == c && a == d) continue;
      ++inked;
      mixed += !(a == b && a == c && a == d);
    }
  return inked ? double(mixed) / inked : 0;
}

// Widths in device pixels of the black runs along a row.
QList<int> blackRuns(const QImage& image, int y, int from, int to) {
  QList<int> runs;
  int run = 0;
  for (int x = from; x < to; ++x) {
    if (grey(image.pixel(x, y)) < 60) {
      ++run;
    } else if (run) {
      runs << run;
      run = 0;
    }
  }
  if (run) runs << run;
  return runs;
}

// A paint engine that keeps what it was asked to paint: text as text,
// pictures as pictures, everything else only counted.
class RecordingEngine : public QPaintEngine {
 public:
  RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++Pictures; }
  void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
    ++Pictures;
  }
  void drawTextItem(const QPointF&, const QTextItem& item) override { Texts << item.text(); }
  void drawRects(const QRectF*, int count) override { Shapes += count; }
  void drawRects(const QRect*, int count) override { Shapes += count; }
  void drawPath(const QPainterPath&) override { ++Shapes; }
  void drawPolygon(const QPointF*, int, PolygonDrawMode) override { ++Shapes; }
  Type type() const override { return QPaintEngine::User; }

  int Pictures = 0;
  int Shapes = 0;
  QStringList Texts;
};

// A page of paper 1200 dots to the inch, painted through the engine above.
class RecordingDevice : public QPaintDevice {
 public:
  QPaintEngine* paintEngine() const override { return &Engine; }
  mutable RecordingEngine Engine;

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth:
        return 9921;
      case PdmHeight:
        return 14031;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 1200;
      case PdmDepth:
        return 32;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
      default:
        return QPaintDevice::metric(m);
    }
  }
};

}  // namespace

class DensityTest : public QObject {
  Q_OBJECT

  NameTables names;

 private slots:
  // At twice the density each page is the same picture, drawn: scaled back
  // down it is the one-to-one page, yet its edges are finer than a pixel of
  // that page could make them. So too mirrored for the left hand, with a capo.
  void pagesAtDoubleDensityAreDrawnNotEnlarged() {
    PageContents chords = emptyPage(PageKind::Chord);
    for (int c = 0; c < 6; ++c) chords.ChordPage[c][0] = cMajor();
    const PageLook looks[] = {PageLook(names), PageLook(names, DiagramStyle{true, 3})};
    for (const PageLook& look : looks)
      for (const PageContents& page : {printPage(), playPage(), chords}) {
        const DrawnPage one = drawPage(page, std::nullopt, look);
        const DrawnPage two = drawPage(page, std::nullopt, look, 2);
        QCOMPARE(two.Surface.size(), one.Surface.size() * 2);
        QCOMPARE(two.Surface.devicePixelRatio(), 2.0);
        QCOMPARE(two.Frame.has_value(), one.Frame.has_value());
        const QImage down =
            two.Surface.scaled(one.Surface.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY2(misplacedInk(down, one.Surface) < 0.1,
                 qPrintable(QString::number(misplacedInk(down, one.Surface))));
        QVERIFY2(mixedBlockShare(two.Surface) > 0.03,
                 qPrintable(QString::number(mixedBlockShare(two.Surface))));
      }
  }

  // At one and a half device pixels to the pixel every grid line of a
  // diagram is as wide as its fellows.
  void gridLinesKeepOneWidthAtFractionalDensity() {
    const DrawnPage page = drawPage(printPage(), std::nullopt, names, 1.5);
    // Across the first diagram's grid, midway down its fifth fret space,
    // where no mark lies.
    const int y = qRound((SmallGeometry::diagramY(SmallPage::Print, 0) + 17 + 17 * 4 + 8) * 1.5);
    const int left = qRound(SmallGeometry::diagramX(0) * 1.5);
    const QList<int> runs = blackRuns(page.Surface, y, left, left + 110 * 3 / 2);
    QVERIFY2(runs.size() == 6, qPrintable(QString::number(runs.size())));
    for (int w : runs) QCOMPARE(w, runs.front());
  }

  // On paper the sheet is painted, not pasted: no picture reaches the
  // printer, and the title, captions and fret numbers go as text.
  void paperGetsShapesAndTextNotAPicture() {
    const auto picture = pagePicture(printPage(), std::nullopt, names);
    QVERIFY(picture);
    RecordingDevice paper;
    {
      QPainter painter(&paper);
      printSheet(painter, 1200, 1200, picture->Art, QStringLiteral("Strumbo! Print Page: A.prf"),
                 QStringLiteral("Capo 2"));
    }
    const RecordingEngine& e = paper.Engine;
    QCOMPARE(e.Pictures, 0);
    QVERIFY(e.Shapes > 100);
    const QString text = e.Texts.join(QLatin1Char('|'));
    for (const char* expected :
         {"Strumbo! Print Page: A.prf", "Capo 2", "C E G", "C Major", "Standard", "1 3 5", "3"})
      QVERIFY2(e.Texts.contains(QLatin1String(expected)), qPrintable(expected + (" in " + text)));

    // The same in a PDF file: no image in it.
    const PdfSheet pdf = pdfSheet(picture->Art, QStringLiteral("Strumbo! Print Page: A.prf"));
    QVERIFY(!pdf.Bytes.isEmpty());
    QVERIFY(!pdf.Bytes.contains("/Subtype /Image"));
    QVERIFY(pdf.Bytes.contains("/ToUnicode"));
  }
};

QTEST_MAIN(DensityTest)
#include "DensityTest.moc"
