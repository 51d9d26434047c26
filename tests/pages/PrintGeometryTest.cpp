#include <gtest/gtest.h>

#include <cmath>

#include "pages/PrintGeometry.h"

namespace {

void expectRect(const PrintRect& r, long long left, long long top, long long right,
                long long bottom) {
  EXPECT_EQ(r.Left, left);
  EXPECT_EQ(r.Top, top);
  EXPECT_EQ(r.Right, right);
  EXPECT_EQ(r.Bottom, bottom);
}

// Inches tall per inch wide of the printed picture.
double printedAspect(const PrintLayout& l, int dpiX, int dpiY) {
  return (double(l.Picture.height()) / dpiY) / (double(l.Picture.width()) / dpiX);
}

}  // namespace

TEST(PrintGeometry, PrintPageOnA600DotPrinterKeepsItsProportions) {
  const PrintLayout l = printLayout(600, 600, 772, 800);
  expectRect(l.Picture, 300, 600, 4800, 5263);
  EXPECT_EQ(l.TitleLeft, 600);
  EXPECT_EQ(l.TitleBottom, 420);
  EXPECT_NEAR(printedAspect(l, 600, 600), 800.0 / 772, 0.001);
}

TEST(PrintGeometry, UnequalResolutionsStillGiveInchesInProportion) {
  // 7.5 inches wide is 2250 dots across at 300 dpi; the same height in
  // inches is 4663 dots down at 600 dpi.
  const PrintLayout a = printLayout(300, 600, 772, 800);
  expectRect(a.Picture, 150, 600, 2400, 5263);

  // Odd resolutions truncate the half inch, the height and the 0.7 inch.
  const PrintLayout b = printLayout(203, 101, 776, 800);
  expectRect(b.Picture, 101, 101, 1624, 882);
  EXPECT_EQ(b.TitleLeft, 203);
  EXPECT_EQ(b.TitleBottom, 70);
  EXPECT_NEAR(printedAspect(b, 203, 101), 800.0 / 776, 0.01);
}

TEST(PrintGeometry, NothingToPlaceWithoutASurfaceOrAResolution) {
  for (const PrintLayout& l : {printLayout(0, 600, 772, 800), printLayout(600, -1, 772, 800),
                               printLayout(600, 600, 0, 800), printLayout(600, 600, 772, 0)}) {
    expectRect(l.Picture, 0, 0, 0, 0);
    EXPECT_EQ(l.TitleBottom, 0);
  }
}
