#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/LibraryFiles.h"
#include "music/NameTables.h"
#include "music/PageSizes.h"
#include "music/Records.h"
#include "music/Tuning.h"
#include "pages/SmallPageIntent.h"
#include "play/SmallPageGeometry.h"

// What the Scales tab must do after an intent, in the order of the fields.
struct ScalesUpdate {
  std::string Message;                      // to show with an OK button
  std::optional<LibraryResult> ReadFailed;  // a library read that failed
  std::optional<PageQuestion> Question;     // ask, then repeat the intent on Yes
  bool RedrawPage = false;                  // wipe the page first
  // Each row in turn as a new row is drawn: scrolled to, its six positions
  // and header drawn over the cell, the frame moved to its first position.
  std::vector<int> DrawRows;
  std::optional<SmallCell> RedrawPosition;  // one position, wiped and drawn again
  std::optional<SmallCell> Frame;           // move the red frame around this cell
  bool ShowScale = false;                   // the scale in hand on the fretboard
  bool OpenMenu = false;                    // the pop-up menu for the pressed cell
  std::optional<PagePointer> Pointer;
  std::string_view Edit;  // the name of the edit of the page made, if any
};

// What a new row of the Scales page is made of besides the library's record.
struct NewScale {
  std::string_view Name;         // the menu's caption
  std::string_view TypedTuning;  // the tuning name the user typed, or empty
  Tuning Strings{};              // the current tuning
  int Key = 0;
};

// The Scales page: up to five scales, one row of six positions each, filled
// from the top; the pressed cell the pop-up commands act on, the framed cell
// and the scale in hand; and the placing of a scale sent from the Print page
// (normal or placing is this model's mode, never the pointer's shape).
class ScalesPageModel {
 public:
  using Page = TScaleDiagram[ScalePageSize];
  using FormulaReader = std::function<LibraryResult(TScaleFormula&)>;

  ScalesPageModel(Page& page, std::int32_t& count, TScaleDiagram& currentScale,
                  const TPrintDiagram& sentItem, const NameTables& names)
      : Store(page), Count(count), Current(currentScale), Sent(sentItem), Names(names) {}

  // The row Show Scale adds: the library's degrees and formula, the start
  // frets 1, 4, 7, 10, 13 and 17, the tuning typed or else built from the
  // current tuning's pitch names.
  static TScaleDiagram newRow(const TScaleFormula& formula, const NewScale& scale,
                              const NameTables& names);

  // Show Scale: a new row at the bottom, taken in hand. A full page refuses
  // with its message before anything is read; a failed read changes nothing.
  ScalesUpdate showScale(const FormulaReader& read, const NewScale& scale);
  // A press at picture point (x, y); `replaceConfirmed` answers the question
  // a placing press over a filled row asks.
  ScalesUpdate press(int x, int y, PressButton button, bool replaceConfirmed = false);
  // Frames the pressed cell and takes its scale in hand, as a left press does.
  ScalesUpdate selectPressed();
  // The start fret of the pressed position, for Change Beginning Fret; none
  // when no scale is there.
  std::optional<int> startFret() const;
  // Change Beginning Fret of the pressed position to `fret` (1..17).
  ScalesUpdate changeStartFret(int fret);

  // A scale sent from the Print page (in the sent item) waits to be placed.
  bool placing() const { return Placing; }
  ScalesUpdate setPlacing(bool on);

  void erase();
  // Fills the erased page from a page file's scales, up to the first empty one.
  ScalesUpdate load(const Page& from);
  // After the page's store was put back: the selected row stays when it is
  // still filled, else the last row is taken in hand.
  ScalesUpdate restored();

  SmallCell pressed() const { return Pressed; }
  SmallCell selected() const { return Selected; }

 private:
  bool filled(SmallCell cell) const;
  // What drawing a row as a new one does to the cells and the scale in hand.
  void takeRow(int row, ScalesUpdate& u);
  Page& Store;
  std::int32_t& Count;
  TScaleDiagram& Current;
  const TPrintDiagram& Sent;
  const NameTables& Names;
  SmallCell Pressed{0, 0};
  SmallCell Selected{-1, -1};
  bool Placing = false;
};
