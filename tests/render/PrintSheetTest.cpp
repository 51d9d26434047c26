#include <QPainter>
#include <QtTest>

#include "render/DiagramPainter.h"
#include "render/PrintSheet.h"

namespace {

QImage whiteImage(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// A sheet of paper, 8.5 by 11 inches, at dpiX by dpiY dots per inch.
QImage paper(int dpiX, int dpiY) {
  QImage page = whiteImage(17 * dpiX / 2, 11 * dpiY);
  page.setDotsPerMeterX(qRound(dpiX / 0.0254));
  page.setDotsPerMeterY(qRound(dpiY / 0.0254));
  return page;
}

// The smallest rectangle holding every pixel of `image` inside `within`
// that is not white (or, with `red`, that is pure red).
QRect inkBox(const QImage& image, const QRect& within, bool red = false) {
  QRect box;
  for (int y = within.top(); y <= within.bottom(); ++y)
    for (int x = within.left(); x <= within.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (red ? p == qRgb(255, 0, 0) : p != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
    }
  return box;
}

// The print page with a round spot in its middle and the frame around the
// bottom-right cell, clear of the spot.
QImage framedSurface(SelectionFrame& frame) {
  QImage surface = whiteImage(772, 800);
  QPainter p(&surface);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawEllipse(QPoint(386, 400), 200, 200);
  p.end();
  frame.Column = 5;
  frame.Row = 4;
  MoveSelectionFrame(surface, frame, PrintPageFrame);
  return surface;
}

}  // namespace

class PrintSheetTest : public QObject {
  Q_OBJECT

 private slots:
  // Twice as many dots across as down: a spot round on the screen must come
  // out round on paper, measured in inches, under a title an inch in whose
  // bottom lies 0.7 inch below the top edge.
  void pictureKeepsItsProportionsUnderItsTitle() {
    const int dpiX = 200, dpiY = 100;
    QImage page = paper(dpiX, dpiY);
    SelectionFrame frame;
    const QImage surface = framedSurface(frame);
    QPainter painter(&page);
    const PrintedSheet sheet =
        printSheet(painter, dpiX, dpiY, surface, QStringLiteral("Strumbo! Print Page: Blues.prf"));
    painter.end();

    QCOMPARE(sheet.Picture, QRect(QPoint(100, 100), QPoint(1599, 876)));
    const QRect title = inkBox(page, QRect(0, 0, page.width(), 100));
    QVERIFY(title.left() >= dpiX && title.left() < dpiX + dpiX / 10);
    QVERIFY(title.bottom() < 70 && title.bottom() > 70 - sheet.Title.height());
    // The frame's bottom line is the picture's last row; its right side
    // is 723 of 772 pixels across.
    const QRect ink = inkBox(page, QRect(0, 100, page.width(), page.height() - 100));
    QCOMPARE(ink.bottom(), sheet.Picture.bottom());
    QVERIFY(std::abs(ink.right() - (100 + 723 * 1500 / 772 - 1)) <= 2);
    QVERIFY(sheet.Picture.contains(ink));
    // The spot, above the frame.
    const QRect spot = inkBox(page, QRect(QPoint(100, 100), QPoint(1599, 740)));
    const double across = spot.width() / double(dpiX), down = spot.height() / double(dpiY);
    QVERIFY2(std::abs(across / down - 1.0) < 0.01,
             qPrintable(QStringLiteral("%1 x %2 inches").arg(across).arg(down)));
    QVERIFY(std::abs(across - 400 * 7.5 / 772) < 0.02);
  }

  // "Capo 2" goes on the line under the title, clear of the picture.
  void aSubtitleSitsBetweenTheTitleAndThePicture() {
    const int dpi = 300;
    SelectionFrame frame;
    const QImage surface = framedSurface(frame);
    for (const QString& subtitle : {QString(), QStringLiteral("Capo 2")}) {
      QImage page = paper(dpi, dpi);
      QPainter painter(&page);
      painter.setFont(QFont(QStringLiteral("Liberation Sans"), 12));
      const PrintedSheet sheet = printSheet(painter, dpi, dpi, surface,
                                            QStringLiteral("Strumbo! Play Page: a.ppf"), subtitle);
      painter.end();
      const QRect gap(0, sheet.Title.bottom() + 1, page.width(),
                      sheet.Picture.top() - sheet.Title.bottom() - 1);
      const QRect ink = inkBox(page, gap);
      if (subtitle.isEmpty()) {
        QVERIFY(ink.isNull() && sheet.Subtitle.isNull());
        continue;
      }
      QVERIFY(sheet.Subtitle.top() > sheet.Title.top() &&
              sheet.Subtitle.bottom() < sheet.Picture.top());
      QVERIFY(!ink.isNull() && sheet.Subtitle.contains(ink));
      QCOMPARE(ink.left() / 10, sheet.Title.left() / 10);
    }
  }
};

QTEST_MAIN(PrintSheetTest)
#include "PrintSheetTest.moc"
