#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "music/PageSizes.h"
#include "music/Records.h"
#include "pages/SmallPageIntent.h"
#include "play/SmallPageGeometry.h"

// Which item comes first in reading order on the print page. The store is
// indexed [column][row].
namespace PrintGrid {

using Cell = SmallCell;
using Page = TPrintDiagram[PrintPageColumns][PrintPageRows];

// The first cell holding an item, row by row (row 0 columns 0 to 5 first).
std::optional<Cell> firstItem(const Page& page);

}  // namespace PrintGrid

// The chords of a play page (stored [column][row]) in the order they first
// appear, row by row, each chord and fingering once.
std::vector<TChordDiagram> playPageLegend(
    const TChordDiagram (&page)[PlayPageColumns][PlayPageRows]);

// What the Print tab must do after an intent, in the order of the fields.
struct PrintUpdate {
  std::optional<PageQuestion> Question;  // ask, then repeat the intent on Yes
  bool RedrawPage = false;               // wipe the page and draw every item
  std::vector<SmallCell> Redraw;         // cells drawn anew from the store (an empty one wiped)
  std::optional<SmallCell> Frame;        // move the red frame around this cell
  bool ShowItem = false;                 // the item in hand on the fretboard
  bool OpenMenu = false;                 // the pop-up menu for the pressed cell's item
  std::optional<PagePointer> Pointer;
  bool PageEmptied = false;  // Delete took the last item: the page is to be erased
  // The name of the edit of the page made, if any. When MoveLanded, the edit
  // began when the move did.
  std::string_view Edit;
  bool MoveBegun = false;
  bool MoveLanded = false;
};

// The print page: the 6 x 5 sheet of chord and scale items, the pressed cell
// the pop-up commands act on, the selected (framed) cell and the item in
// hand, and its mode: normal, placing an item sent here (in the move buffer)
// or moving one of its own items. A move that is cancelled puts the item back
// where it came from, so nothing laid out is lost.
class PrintPageModel {
 public:
  enum class Mode { Normal, Placing, Moving };

  PrintPageModel(PrintGrid::Page& page, TPrintDiagram& selectedItem, TPrintDiagram& moveBuffer)
      : Store(page), Selected(selectedItem), Buffer(moveBuffer) {}

  // A press at picture point (x, y); `replaceConfirmed` answers the question
  // a placing press over an item asks.
  PrintUpdate press(int x, int y, PressButton button, bool replaceConfirmed = false);
  // An item was sent here (already in the move buffer): it waits to be
  // placed; a move in progress ends first, its item back in its cell.
  PrintUpdate send();
  // Back to normal; an item being moved goes back to its cell.
  PrintUpdate cancel();
  // A move in progress ends with the item back in its cell; an item sent
  // here keeps waiting.
  PrintUpdate endMove();
  // Move of the pressed cell's item: it leaves its cell and waits to land.
  PrintUpdate move();
  // Delete of the pressed cell's item; `confirmed` answers its question.
  PrintUpdate remove(bool confirmed = false);
  // Play Diagram: the pressed cell's item is taken in hand first. False in
  // `play` when there is nothing to play.
  PrintUpdate takePressed();
  // Fill From Play Page: the chords of `legend` that the page does not hold
  // yet go into its empty cells in reading order; `leftOut` counts those
  // that found no cell.
  PrintUpdate fill(const std::vector<TChordDiagram>& legend, int& leftOut);

  // Empties the page and the item in hand; the pressed and selected cells
  // keep their values, a move in progress is dropped with its page.
  void erase();
  // Fills the erased page from a page file; the first item is taken in hand.
  PrintUpdate load(const PrintGrid::Page& from);
  // After the page's store was put back: the selected item stays in hand
  // when it is still there, else the first item (or none).
  PrintUpdate restored();

  Mode mode() const { return Current; }
  bool placing() const { return Current != Mode::Normal; }
  bool moving() const { return Current == Mode::Moving; }
  SmallCell pressed() const { return Pressed; }
  SmallCell selected() const { return SelectedCell; }
  // The item at the pressed cell, for the send-to commands; null when empty.
  const TPrintDiagram* itemToSend() const;
  bool hasItems() const { return PrintGrid::firstItem(Store).has_value(); }

 private:
  const TPrintDiagram& at(SmallCell cell) const { return Store[cell.Column][cell.Row]; }
  TPrintDiagram& at(SmallCell cell) { return Store[cell.Column][cell.Row]; }
  // Takes the item at `cell` in hand and frames it.
  void select(SmallCell cell, PrintUpdate& u);
  void putBack(PrintUpdate& u);

  PrintGrid::Page& Store;
  TPrintDiagram& Selected;
  TPrintDiagram& Buffer;
  SmallCell Pressed{0, 0};
  SmallCell SelectedCell{-1, -1};
  Mode Current = Mode::Normal;
  SmallCell MoveSource{0, 0};
  TPrintDiagram MovedItem{};
};
