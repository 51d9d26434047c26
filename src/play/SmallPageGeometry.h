#pragma once

#include <optional>

// Where things lie on the Chords, Scales and Print pages: six 120-pixel
// columns of small diagrams in five rows, 150 pixels high on the Chords and
// Scales pages (a header line over each row) and 160 on the Print page (four
// caption lines over each item). Every drawing of these pages and every
// mapping of a press uses these.

// The pages that show small diagrams.
enum class SmallPage { Chords, Scales, Print };

// A cell of a small page: column 0..5, row 0..4 when inside the grid.
struct SmallCell {
  int Column = 0;
  int Row = 0;
  bool operator==(const SmallCell&) const = default;
};

// A rectangle relative to a cell's corner (120c, pitch x r); right and
// bottom are one past the last pixel.
struct CellBox {
  int Left, Top, Right, Bottom;
};

namespace SmallGeometry {
inline constexpr int Columns = 6, Rows = 5;
inline constexpr int ColumnPitch = 120;
inline constexpr int GridLeft = 20;  // the diagrams' left edge in column 0
// Presses are counted from (20, 20), truncated toward zero, so a press a
// little left of or above the first cell still lands in it.
inline constexpr int PressOrigin = 20;
// Presses right of or below these do not reach the Chords and Scales pages.
inline constexpr int PressRight = 740, PressBottom = 770;
// The header line over a row of the Chords and Scales pages.
inline constexpr int HeaderTop = 16;

constexpr int rowPitch(SmallPage page) {
  return page == SmallPage::Print ? 160 : 150;
}
// The top of a small diagram within its row.
constexpr int diagramTop(SmallPage page) {
  return page == SmallPage::Print ? 38 : 30;
}
constexpr int diagramX(int column) {
  return GridLeft + ColumnPitch * column;
}
constexpr int diagramY(SmallPage page, int row) {
  return rowPitch(page) * row + diagramTop(page);
}
constexpr int headerY(int row) {
  return rowPitch(SmallPage::Chords) * row + HeaderTop;
}
// The vertical scroll position that puts a row's top at the top of the view.
constexpr int rowScroll(SmallPage page, int row) {
  return rowPitch(page) * row;
}
// The red frame around the diagram in hand.
constexpr CellBox frameBox(SmallPage page) {
  return page == SmallPage::Print ? CellBox{22, 41, 123, 160} : CellBox{20, 31, 125, 158};
}
// A Print page cell as it is wiped and redrawn: 120 x 158 from (20, 2).
inline constexpr CellBox PrintCellBox{20, 2, 140, 160};

constexpr bool inGrid(SmallCell cell) {
  return cell.Column >= 0 && cell.Column < Columns && cell.Row >= 0 && cell.Row < Rows;
}

// The cell under picture point (x, y), inside the grid or not. Widened so
// that a point far off the picture cannot overflow.
constexpr SmallCell cellUnder(SmallPage page, int x, int y) {
  const long long column = (static_cast<long long>(x) - PressOrigin) / ColumnPitch;
  const long long row = (static_cast<long long>(y) - PressOrigin) / rowPitch(page);
  return {static_cast<int>(column), static_cast<int>(row)};
}

// Whether a press at (x, y) reaches the page at all.
constexpr bool pressReaches(SmallPage page, int x, int y) {
  return page == SmallPage::Print || (x <= PressRight && y <= PressBottom);
}

// The cell a press at (x, y) lands in; none when the press does not reach
// the page or lies outside the 6 x 5 grid.
constexpr std::optional<SmallCell> cellAt(SmallPage page, int x, int y) {
  if (!pressReaches(page, x, y)) return std::nullopt;
  const SmallCell cell = cellUnder(page, x, y);
  if (!inGrid(cell)) return std::nullopt;
  return cell;
}
}  // namespace SmallGeometry
