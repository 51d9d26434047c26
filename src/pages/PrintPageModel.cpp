#include "pages/PrintPageModel.h"

namespace PrintGrid {

std::optional<Cell> cellAt(int x, int y) {
  // Widened so that a point far off the picture cannot overflow.
  const long long column = (static_cast<long long>(x) - 20) / 120;
  const long long row = (static_cast<long long>(y) - 20) / 160;
  if (column < 0 || column >= PrintPageColumns || row < 0 || row >= PrintPageRows)
    return std::nullopt;
  return Cell{static_cast<int>(column), static_cast<int>(row)};
}

std::optional<Cell> firstItem(const Page& page) {
  for (int r = 0; r < PrintPageRows; ++r)
    for (int c = 0; c < PrintPageColumns; ++c)
      if (!isEmpty(page[c][r])) return Cell{c, r};
  return std::nullopt;
}

}  // namespace PrintGrid
