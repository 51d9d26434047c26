#pragma once

#include <optional>

#include "music/PageSizes.h"
#include "music/Records.h"

// The print page's grid: which cell a press lands in and which item comes
// first in reading order. The store is indexed [column][row].
namespace PrintGrid {

struct Cell {
  int Column;
  int Row;
  bool operator==(const Cell&) const = default;
};

using Page = TPrintDiagram[PrintPageColumns][PrintPageRows];

// The cell under picture point (x, y): 120-pixel columns and 160-pixel rows
// counted from (20, 20) and truncated toward zero, so a press a little left of
// or above the first cell still lands in it. None outside the 6 x 5 grid.
std::optional<Cell> cellAt(int x, int y);

// The first cell holding an item, row by row (row 0 columns 0 to 5 first).
std::optional<Cell> firstItem(const Page& page);

}  // namespace PrintGrid
