#include "pages/PrintPageModel.h"

#include <algorithm>

#include "music/DiagramConvert.h"
#include "music/NameTables.h"
#include "pages/SmoothFingerings.h"

namespace {

// The same chord in the same fingering: a legend shows each once.
bool sameChord(const TChordDiagram& a, const TChordDiagram& b) {
  return sameFingering(a, b) && pitchClass(a.Root) == pitchClass(b.Root) &&
         pitchClass(a.Bass) == pitchClass(b.Bass) && a.ChordName.view() == b.ChordName.view() &&
         std::equal(std::begin(a.Tuning), std::end(a.Tuning), std::begin(b.Tuning));
}

}  // namespace

std::vector<TChordDiagram> playPageLegend(
    const TChordDiagram (&page)[PlayPageColumns][PlayPageRows]) {
  std::vector<TChordDiagram> legend;
  for (int r = 0; r < PlayPageRows; ++r)
    for (int c = 0; c < PlayPageColumns; ++c) {
      const TChordDiagram& chord = page[c][r];
      if (isEmpty(chord)) continue;
      if (std::none_of(legend.begin(), legend.end(),
                       [&](const TChordDiagram& seen) { return sameChord(seen, chord); }))
        legend.push_back(chord);
    }
  return legend;
}

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
    // The menu opens on an empty cell too, for the commands on the whole page.
    if (button == PressButton::Right) {
      u.OpenMenu = true;
      return u;
    }
    if (isEmpty(at(Pressed))) return u;
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

PrintUpdate PrintPageModel::fill(const std::vector<TChordDiagram>& legend, int& leftOut) {
  leftOut = 0;
  if (Current != Mode::Normal) return {};
  PrintUpdate u;
  int next = 0;  // reading order: row * columns + column
  const auto onPage = [&](const TChordDiagram& chord) {
    for (int r = 0; r < PrintPageRows; ++r)
      for (int c = 0; c < PrintPageColumns; ++c) {
        if (isEmpty(Store[c][r]) || !Store[c][r].IsChord) continue;
        TChordDiagram held{};
        printItemToChord(Store[c][r], held);
        if (sameChord(held, chord)) return true;
      }
    return false;
  };
  for (const TChordDiagram& chord : legend) {
    if (onPage(chord)) continue;
    while (next < PrintPageColumns * PrintPageRows &&
           !isEmpty(Store[next % PrintPageColumns][next / PrintPageColumns]))
      ++next;
    if (next == PrintPageColumns * PrintPageRows) {
      ++leftOut;
      continue;
    }
    const SmallCell cell{next % PrintPageColumns, next / PrintPageColumns};
    chordToPrintItem(chord, at(cell));
    u.Redraw.push_back(cell);
  }
  if (u.Redraw.empty()) return u;
  u.Edit = "Fill From Play Page";
  // Nothing was in hand on an empty page: the first item comes in hand.
  if (isEmpty(Selected) || !SmallGeometry::inGrid(SelectedCell) || isEmpty(at(SelectedCell))) {
    Pressed = u.Redraw.front();
    select(Pressed, u);
  }
  return u;
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
