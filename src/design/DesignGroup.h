#pragma once

#include <array>
#include <string>

#include "library/LibraryFiles.h"
#include "music/PageSizes.h"
#include "music/Records.h"

// The design group's editing rules over the six slots owned by the caller:
// placing, the ring move, deleting and the fill from the chord library. It
// keeps nothing of its own; DesignGroupModel drives it from the page's input.
class DesignGroup {
 public:
  using Slots = TChordDiagram[DesignGroupSize];

  explicit DesignGroup(TChordDiagram* six) : Group(six) {}

  // The slot under picture column x, or -1 outside the six.
  static int slotAt(int x);
  static bool valid(int s) { return s >= 0 && s < DesignGroupSize; }

  bool holds(int s) const { return valid(s) && !isEmpty(Group[s]); }
  const TChordDiagram& at(int s) const { return Group[s]; }
  // The first slot from the left that holds a diagram, or -1.
  int firstHeld() const;

  // Puts `chord` into slot s, whatever it held.
  void place(int s, const TChordDiagram& chord);

  // The slots a rule wrote, in the order written.
  struct Written {
    std::array<int, DesignGroupSize + 1> Slot{};
    int Count = 0;
  };

  // Takes slot s out for a move: the diagram is returned and the slot freed.
  TChordDiagram takeOut(int s);
  // Lands `moved`, taken out of slot `from`, on slot `to`. Onto a free slot
  // (or back home) it just goes there; onto a held one the six slots act as a
  // ring: the diagrams from `to` onward, wrapping from 5 to 0, each move one
  // place on until the gap at `from` is filled, and `moved` lands at `to`.
  Written landMoved(int to, int from, const TChordDiagram& moved);

  // Frees slot s.
  void erase(int s);

  // Fills all six slots with the library fingerings of dictionary record
  // `type` (0..61) in key `root`. Every file is read before any slot is
  // touched: on a failure the group is exactly as it was.
  LibraryResult fillFromLibrary(const std::string& dir, int type, int root);

 private:
  TChordDiagram* Group;  // the caller's six slots
};
