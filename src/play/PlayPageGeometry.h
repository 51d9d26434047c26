#pragma once

// Where things lie on the play page picture: twelve columns of slots in six
// rows, each row a band of tiny diagrams over a staff. Every drawing of the
// page and every mapping of a press or a playback position uses these.

// A top-left corner on the play page picture.
struct PagePoint {
  int X = 0, Y = 0;
  bool operator==(const PagePoint&) const = default;
};

namespace PlayGeometry {
inline constexpr int ColumnPitch = 63;  // one slot, an eighth note
inline constexpr int RowPitch = 132;    // one row of slots with its staff
inline constexpr int SlotLeft = 20;     // left edge of column 0
inline constexpr int StaffTop = 95;     // a row's staff, below its diagrams
inline constexpr int StaffLeft = 3;
inline constexpr int BarNumberTop = 85;  // bar numbers stand just above the staff
inline constexpr int CaptionTop = 15;    // chord name over a slot
inline constexpr int DiagramTop = 25;    // tiny diagram of a slot
inline constexpr int MarkerLeft = 30;    // start marker of column 0
inline constexpr int PieceLeft = 39;     // beat slash or step arrow of column 0

constexpr int slotX(int column) {
  return SlotLeft + ColumnPitch * column;
}
constexpr int rowTop(int row) {
  return RowPitch * row;
}
constexpr int staffY(int row) {
  return rowTop(row) + StaffTop;
}
// The start marker at the first slot of a bar.
constexpr PagePoint startMarker(int column, int row) {
  return {MarkerLeft + ColumnPitch * column, staffY(row)};
}
// The beat slash of beat 0..35 (six quarter notes to a row), 28 x 33.
constexpr PagePoint beatSlash(int beat) {
  return {PieceLeft + 2 * ColumnPitch * (beat % 6), staffY(beat / 6)};
}
// Where the step arrow of slot 0..71 goes, 28 x 33.
constexpr PagePoint stepPosition(int slot) {
  return {PieceLeft + ColumnPitch * (slot % 12), staffY(slot / 12)};
}
// The vertical scroll position that puts the staff row under `p` at the top.
constexpr int scrollFor(PagePoint p) {
  return p.Y - StaffTop;
}
}  // namespace PlayGeometry
