#pragma once

#include <optional>

#include "play/PlayPageGeometry.h"
#include "play/SmallPageGeometry.h"

// Choosing a diagram of a page with the keyboard. The arrow keys move the
// choice from cell to cell of the page's grid and Enter acts on the cell
// chosen; each turns into a left press at the middle of the cell reached,
// so a key does exactly what a click there does.
namespace KeyStep {

enum class Key { Left, Right, Up, Down, Home, End, Enter };

// The cell a key moves `from` to on a grid of `columns` x `rows` cells, read
// row by row: Left and Right go on to the end of the row before or the start
// of the row after, Up and Down keep the column, Home and End go to the
// first and last cell of the row, Enter stays. The grid's ends stop a step.
// With no cell chosen yet (outside the grid) every key chooses the first
// cell; with no rows there is nothing to choose.
std::optional<SmallCell> step(SmallCell from, Key key, int columns, int rows);

// The keyboard's cell on one page. Normally a key presses the cell it moves
// the page's choice to. Where a press would do more than choose (while a
// diagram is being placed it puts it down; on the play page a left press
// moves the start marker) the arrows only aim: they move a target of their
// own, kept until the keys choose again, and Enter presses there.
class Cursor {
 public:
  struct Outcome {
    std::optional<SmallCell> Press;   // a left press in this cell
    std::optional<SmallCell> Target;  // where the diagram in hand would go
  };
  Outcome key(Key key, SmallCell chosen, bool placing, int columns, int rows);
  // The cell aimed at, while the keys aim.
  std::optional<SmallCell> target() const { return Target; }

 private:
  std::optional<SmallCell> Target;
};

// Where a press lands in the middle of a cell: a small diagram of the
// Chords, Scales or Print page, or a slot of the play page.
PagePoint smallPagePoint(SmallPage page, SmallCell cell);
PagePoint playPagePoint(SmallCell slot);

}  // namespace KeyStep
