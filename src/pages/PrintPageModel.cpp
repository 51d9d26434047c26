#include "pages/PrintPageModel.h"

#include <algorithm>

namespace PrintGrid {

std::optional<Cell> firstItem(const Page& page) {
  for (int r = 0; r < PrintPageRows; ++r)
    for (int c = 0; c < PrintPageColumns; ++c)
      if (!isEmpty(page[c][r])) return Cell{c, r};
  return std::nullopt;
}

}  // namespace PrintGrid

const TPrintDiagram* PrintPageModel::itemToSend() const {
  if (!SmallGeometry::inGrid(Pressed)) return nullptr;
  const TPrintDiagram& item = at(Pressed);
  return isEmpty(item) ? nullptr : &item;
}

void PrintPageModel::select(SmallCell cell, PrintUpdate& u) {
  // Taking an item in hand ends any placing; a move has landed or gone back before.
  Current = Mode::Normal;
  Selected = at(cell);
  SelectedCell = cell;
  u.Frame = cell;
  u.ShowItem = true;
  u.Pointer = PagePointer::Normal;
}

PrintUpdate PrintPageModel::press(int x, int y, PressButton button, bool replaceConfirmed) {
  const auto cell = SmallGeometry::cellAt(SmallPage::Print, x, y);
  if (!cell) return {};
  Pressed = *cell;
  PrintUpdate u;
  if (Current == Mode::Normal) {
    if (isEmpty(at(Pressed))) return u;
    if (button == PressButton::Right) {
      u.OpenMenu = true;
      return u;
    }
    if (Pressed != SelectedCell) select(Pressed, u);
    return u;
  }
  if (isEmpty(Buffer) || button == PressButton::Right) return cancel();
  if (!isEmpty(at(Pressed)) && !replaceConfirmed) {
    u.Question = PageQuestion{"Do you want to replace this diagram?", true};
    return u;
  }
  // A placement is never repeated: each sent or moved item lands once.
  u.MoveLanded = Current == Mode::Moving;
  u.Edit = u.MoveLanded ? "Move Diagram" : "Place Diagram";
  Current = Mode::Normal;
  at(Pressed) = Buffer;
  u.Redraw.push_back(Pressed);
  select(Pressed, u);
  return u;
}

void PrintPageModel::putBack(PrintUpdate& u) {
  if (Current != Mode::Moving) return;
  Current = Mode::Normal;
  at(MoveSource) = MovedItem;
  u.Redraw.push_back(MoveSource);
  if (MoveSource == SelectedCell) u.Frame = SelectedCell;
  u.Pointer = PagePointer::Normal;
}

PrintUpdate PrintPageModel::send() {
  PrintUpdate u = cancel();
  Current = Mode::Placing;
  u.Pointer = PagePointer::Placing;
  return u;
}

PrintUpdate PrintPageModel::cancel() {
  PrintUpdate u;
  putBack(u);
  Current = Mode::Normal;
  u.Pointer = PagePointer::Normal;
  return u;
}

PrintUpdate PrintPageModel::endMove() {
  PrintUpdate u;
  putBack(u);
  return u;
}

PrintUpdate PrintPageModel::move() {
  if (Current != Mode::Normal || !itemToSend()) return {};
  PrintUpdate u;
  MovedItem = at(Pressed);
  Buffer = MovedItem;
  at(Pressed).Empty = 1;
  MoveSource = Pressed;
  Current = Mode::Moving;
  u.Redraw.push_back(Pressed);
  u.Pointer = PagePointer::Moving;
  u.MoveBegun = true;
  return u;
}

PrintUpdate PrintPageModel::remove(bool confirmed) {
  if (Current != Mode::Normal || !SmallGeometry::inGrid(Pressed)) return {};
  PrintUpdate u;
  TPrintDiagram& item = at(Pressed);
  if (!isEmpty(item) && !confirmed) {
    u.Question = PageQuestion{"Do you want to erase this diagram?", false};
    return u;
  }
  item.Empty = 1;
  u.Redraw.push_back(Pressed);
  u.Edit = "Delete Diagram";
  if (Pressed != SelectedCell) return u;
  const auto first = PrintGrid::firstItem(Store);
  if (!first) {
    u.PageEmptied = true;
    return u;
  }
  Pressed = *first;
  select(*first, u);
  return u;
}

PrintUpdate PrintPageModel::takePressed() {
  PrintUpdate u;
  if (!itemToSend()) return u;
  if (Pressed != SelectedCell) {
    SelectedCell = Pressed;
    Selected = at(Pressed);
    u.Frame = Pressed;
  }
  return u;
}

void PrintPageModel::erase() {
  // A move in progress belonged to the page that is now gone.
  if (Current == Mode::Moving) Current = Mode::Normal;
  for (auto& column : Store)
    for (auto& item : column) item.Empty = 1;
  Selected.Empty = 1;
}

PrintUpdate PrintPageModel::load(const PrintGrid::Page& from) {
  std::copy(&from[0][0], &from[0][0] + PrintPageColumns * PrintPageRows, &Store[0][0]);
  PrintUpdate u;
  u.RedrawPage = true;
  if (const auto first = PrintGrid::firstItem(Store)) {
    Pressed = *first;
    select(*first, u);
  }
  return u;
}

PrintUpdate PrintPageModel::restored() {
  PrintUpdate u;
  u.RedrawPage = true;
  u.ShowItem = true;
  if (SmallGeometry::inGrid(SelectedCell) && !isEmpty(at(SelectedCell))) {
    select(SelectedCell, u);
  } else if (const auto first = PrintGrid::firstItem(Store)) {
    Pressed = *first;
    select(*first, u);
  } else {
    Selected.Empty = 1;
  }
  return u;
}
