#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "library/LibraryFiles.h"
#include "music/PageSizes.h"
#include "music/Records.h"
#include "pages/SmallPageIntent.h"
#include "play/SmallPageGeometry.h"

// What the Chords tab must do after an intent, in the order of the fields.
struct ChordsUpdate {
  std::string Message;                      // to show with an OK button
  std::optional<LibraryResult> ReadFailed;  // a library read that failed
  std::optional<int> ScrollToRow;
  std::optional<int> DrawSet;      // the six diagrams of this row and its header
  bool RedrawPage = false;         // the whole page anew from the store
  std::optional<SmallCell> Frame;  // move the red frame around this cell
  bool ShowChord = false;          // the chord in hand on the fretboard
  bool OpenMenu = false;           // the pop-up menu for the current cell
  std::string_view Edit;           // the name of the edit of the page made, if any
};

// The Chords page: up to five chord sets of six library fingerings filled
// from the top, the current cell the pop-up commands act on, the framed
// cell and the chord in hand. The store, the set count and the chord in hand
// are the program's; the model keeps the cells.
class ChordsPageModel {
 public:
  using Page = TChordDiagram[ChordPageColumns][ChordPageRows];
  // Reads a set of six fingerings of the chosen chord from the library.
  using SetReader = std::function<LibraryResult(TChordDiagram (&set)[6])>;

  ChordsPageModel(Page& page, std::int32_t& setCount, TChordDiagram& selectedChord)
      : Store(page), SetCount(setCount), Selected(selectedChord) {}

  // Show Chords: a new set at the bottom, framed at its first diagram. A full
  // page refuses with its message before anything is read; a failed read
  // changes nothing.
  // With `easiestFirst` the six come easiest first (the library's order
  // between equals).
  ChordsUpdate showChords(const SetReader& read, bool easiestFirst = false);
  // How easy the diagram under picture point (x, y) is to play, for its tool
  // tip ("moderate: a barre"); empty off the sets.
  std::string easeAt(int x, int y) const;
  // A press at picture point (x, y).
  ChordsUpdate press(int x, int y, PressButton button);
  // Frames a filled cell and takes its chord in hand, as a left press does.
  ChordsUpdate select(SmallCell cell);
  // The page emptied: no sets, no frame, nothing in hand.
  void erase();
  // After the page's store was put back or filled: the sets up to the first
  // empty diagram count; the framed cell stays when its set is still there,
  // else the first diagram of the last set (or none) is framed.
  ChordsUpdate restored();
  // Fills the erased page from a page file's sets, up to the first empty
  // diagram, and frames the first diagram.
  ChordsUpdate load(const Page& from);

  SmallCell current() const { return Current; }
  SmallCell framed() const { return Framed; }
  int setCount() const { return SetCount; }
  // The chord under the current cell, when there is one to send.
  const TChordDiagram* diagramToSend() const;

 private:
  bool filled(SmallCell cell) const;
  ChordsUpdate loaded();
  Page& Store;
  std::int32_t& SetCount;
  TChordDiagram& Selected;
  SmallCell Current{0, 0};
  SmallCell Framed{-1, -1};
};
