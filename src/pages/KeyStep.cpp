#include "pages/KeyStep.h"

#include <algorithm>

namespace KeyStep {

std::optional<SmallCell> step(SmallCell from, Key key, int columns, int rows) {
  if (columns <= 0 || rows <= 0) return std::nullopt;
  if (from.Column < 0 || from.Column >= columns || from.Row < 0 || from.Row >= rows)
    return SmallCell{0, 0};
  // Left and Right walk the cells in reading order.
  const int index = from.Row * columns + from.Column;
  const int last = columns * rows - 1;
  auto at = [columns](int i) { return SmallCell{i % columns, i / columns}; };
  switch (key) {
    case Key::Left:
      return at(std::max(index - 1, 0));
    case Key::Right:
      return at(std::min(index + 1, last));
    case Key::Up:
      return SmallCell{from.Column, std::max(from.Row - 1, 0)};
    case Key::Down:
      return SmallCell{from.Column, std::min(from.Row + 1, rows - 1)};
    case Key::Home:
      return SmallCell{0, from.Row};
    case Key::End:
      return SmallCell{columns - 1, from.Row};
    case Key::Enter:
      break;
  }
  return from;
}

Cursor::Outcome Cursor::key(Key key, SmallCell chosen, bool placing, int columns, int rows) {
  if (!placing) {
    Target.reset();
    return {step(chosen, key, columns, rows), std::nullopt};
  }
  const std::optional<SmallCell> to = step(Target.value_or(chosen), key, columns, rows);
  if (!to) return {};
  Target = to;
  if (key != Key::Enter) return {std::nullopt, to};
  return {to, std::nullopt};
}

PagePoint smallPagePoint(SmallPage page, SmallCell cell) {
  return {SmallGeometry::diagramX(cell.Column) + SmallGeometry::ColumnPitch / 2,
          SmallGeometry::diagramY(page, cell.Row) + SmallGeometry::rowPitch(page) / 3};
}

PagePoint playPagePoint(SmallCell slot) {
  return {PlayGeometry::slotX(slot.Column) + PlayGeometry::ColumnPitch / 3,
          PlayGeometry::rowTop(slot.Row) + PlayGeometry::DiagramTop + 30};
}

}  // namespace KeyStep
