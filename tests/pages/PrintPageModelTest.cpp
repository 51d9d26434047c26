#include <gtest/gtest.h>

#include <climits>

#include "pages/PrintPageModel.h"

using PrintGrid::Cell;

TEST(PrintGrid, HitTestTruncatesTowardZeroAndFirstItemReadsRowByRow) {
  EXPECT_EQ(PrintGrid::cellAt(-99, -139), (Cell{0, 0}));
  EXPECT_EQ(PrintGrid::cellAt(-100, 100), std::nullopt);
  EXPECT_EQ(PrintGrid::cellAt(739, 799), (Cell{5, 4}));
  EXPECT_EQ(PrintGrid::cellAt(100, 820), std::nullopt);
  EXPECT_EQ(PrintGrid::cellAt(INT_MIN, INT_MAX), std::nullopt);

  TPrintDiagram page[PrintPageColumns][PrintPageRows]{};
  for (auto& column : page)
    for (auto& item : column) item.Empty = 1;
  EXPECT_EQ(PrintGrid::firstItem(page), std::nullopt);
  page[0][3].Empty = page[5][1].Empty = 0;
  EXPECT_EQ(PrintGrid::firstItem(page), (Cell{5, 1}));
}
