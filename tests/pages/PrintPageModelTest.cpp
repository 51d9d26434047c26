#include <gtest/gtest.h>

#include <climits>

#include "pages/PrintPageModel.h"

using PrintGrid::Cell;

TEST(PrintGridHit, TruncatesTowardZeroAndKeepsToTheGrid) {
  // A little left of and above the first cell still hits it.
  EXPECT_EQ(PrintGrid::cellAt(10, 10), (Cell{0, 0}));
  EXPECT_EQ(PrintGrid::cellAt(-99, -139), (Cell{0, 0}));
  EXPECT_EQ(PrintGrid::cellAt(-100, 100), std::nullopt);
  EXPECT_EQ(PrintGrid::cellAt(100, -140), std::nullopt);
  // Rows are 160 high from y = 20: 175 is still row 0, 790 the last row.
  EXPECT_EQ(PrintGrid::cellAt(139, 175), (Cell{0, 0}));
  EXPECT_EQ(PrintGrid::cellAt(140, 180), (Cell{1, 1}));
  EXPECT_EQ(PrintGrid::cellAt(300, 790), (Cell{2, 4}));
  EXPECT_EQ(PrintGrid::cellAt(739, 799), (Cell{5, 4}));
  // Column 6 and row 5 are off the grid.
  EXPECT_EQ(PrintGrid::cellAt(745, 100), std::nullopt);
  EXPECT_EQ(PrintGrid::cellAt(100, 820), std::nullopt);
  EXPECT_EQ(PrintGrid::cellAt(INT_MIN, INT_MAX), std::nullopt);
}

TEST(PrintGridFirstItem, ReadsRowByRow) {
  TPrintDiagram page[PrintPageColumns][PrintPageRows]{};
  for (auto& column : page)
    for (auto& item : column) item.Empty = 1;
  EXPECT_EQ(PrintGrid::firstItem(page), std::nullopt);
  page[0][3].Empty = 0;
  page[5][1].Empty = 0;
  EXPECT_EQ(PrintGrid::firstItem(page), (Cell{5, 1}));
  page[2][1].Empty = 0;
  EXPECT_EQ(PrintGrid::firstItem(page), (Cell{2, 1}));
}
