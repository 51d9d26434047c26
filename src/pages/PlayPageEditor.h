#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "music/PageSizes.h"
#include "music/Records.h"
#include "play/PlayPageModel.h"

// The pointer the play page shows: its shape number names the mode.
enum class PlayPointer : int { Normal = 0, Sent = 5, Moving = 6 };

// A question the tab asks before an intent goes on; the answer comes back
// as the intent again with the question confirmed.
enum class PlayQuestion { Replace, Delete };

// What the tab must do after an intent, in the order of the fields: the
// staff rows, the slots, the repeat marks, the start marker, then the tool
// bar, the question, the pop-up menu, the repeat dialog and the pointer.
struct PlayPageUpdate {
  // The whole picture white first; then only slots that show a chord need
  // drawing.
  bool Clear = false;
  // Staff rows, bar numbers and start marker at bar 1, in the time
  // signature of the state.
  bool Grid = false;
  // Slots to wipe and draw again with what the model shows there.
  std::vector<PlaySlot> Slots;
  bool RepeatMarks = false;
  // The start marker moves from the first to the second slot.
  std::optional<std::pair<PlaySlot, PlaySlot>> StartMarker;
  // The tool bar shows the time signature, strum speed, Loop and Bass Note
  // of the state.
  bool ToolBar = false;
  std::optional<PlayQuestion> Ask;
  // Open the pop-up menu at the press; every item but the last ("Repeat
  // Markers", always enabled) takes this state.
  std::optional<bool> MenuItemsEnabled;
  // Open the repeat dialog for this bar (0-based) with this choice.
  std::optional<int> RepeatBar;
  RepeatChoice Repeat;
  std::optional<PlayPointer> Pointer;
  // The name of the edit of the page made, if any; with Merge it joins a
  // last step of the same name (a drag of the strum speed bar).
  std::string_view Edit;
  bool Merge = false;
};

// The play page as a model: the slots, repeat sets, tempo and strum speed
// (all in the program's state), the selected slot, the start marker, the
// chord in hand and the mode. Tabs turn presses into intents and apply the
// update each one returns, which names every change of the page's content
// as one step, so the page's history can undo it.
// A chord cut for moving stays in its slot in the state until it lands, and
// only shows as gone, so a cancelled move leaves the page and its history as
// they were.
class PlayPageEditor {
 public:
  using Store = TChordDiagram[PlayPageColumns][PlayPageRows];

  enum class Button { Left, Right, Other };

  PlayPageEditor(Store& page, PlayPageState& play, TChordDiagram& hand);

  PlayPointer pointer() const { return Mode; }
  bool placing() const { return Mode != PlayPointer::Normal; }
  // A chord cut from the page waits to be placed.
  bool moving() const { return CutFrom.has_value(); }
  PlaySlot selected() const { return {Play.PlaySelColumn, Play.PlaySelRow}; }
  // The chord the page plays before the selected slot: the last slot before
  // it, in slot order, that holds one; none when no slot before it does.
  const TChordDiagram* chordBeforeSelected() const;
  PlaySlot startMarker() const { return {Play.PlayStartColumn, Play.PlayStartRow}; }
  // What slot (column, row) shows: nothing for an empty slot or the one a
  // pending move was cut from.
  const TChordDiagram* shown(int column, int row) const;

  // A press on a slot. In placing mode a left press places the chord in hand
  // (asking first over a shown chord, unless `replaceConfirmed`); Ctrl keeps
  // it in hand. A right press cancels placing, or selects the slot and opens
  // the pop-up menu; a left press moves the start marker to a bar start.
  PlayPageUpdate press(PlaySlot slot, Button button, bool ctrl, bool replaceConfirmed = false);
  // A chord sent from another page, to be placed with the next left press.
  PlayPageUpdate takeInHand(const TChordDiagram& diagram);
  // Pop-up commands on the selected slot.
  PlayPageUpdate cutAndMove();
  PlayPageUpdate copyAndMove();
  PlayPageUpdate deleteChord(bool confirmed = false);
  // Asks for the repeat dialog of the selected slot's bar; the dialog's OK
  // comes back as setRepeatMarkers.
  PlayPageUpdate repeatMarkers();
  PlayPageUpdate setRepeatMarkers(int bar, const RepeatChoice& choice, bool loopWasOn);
  // Back to the normal pointer; a cut chord shows in its slot again.
  PlayPageUpdate cancel();
  // Before a save: a cut chord goes back; a sent or copied one keeps waiting.
  PlayPageUpdate endMove();
  // The other time signature; refused (the tool bar shown as the state)
  // while `busy`.
  PlayPageUpdate toggleTimeSignature(bool busy = false);
  // Loop Play and Bass Note switched, refused alike while `busy`. Both are
  // saved with the page, so each switch is an edit of it.
  PlayPageUpdate toggleLoop(bool busy = false);
  PlayPageUpdate toggleBassNote(bool busy = false);
  PlayPageUpdate setTempo(std::int32_t microsPerQuarter);
  PlayPageUpdate setStrumSpeed(int position);
  // The empty page: no chords, new repeat sets, the start marker at bar 1.
  // A cut chord goes with the page; a sent one stays in hand. Not an edit of
  // its own: whoever erases keeps the page's history.
  PlayPageUpdate erase();
  // Every slot, the grid, the marks and the tool bar drawn anew from the
  // state (after Undo or Redo); a pending move is given up, a sent chord
  // stays in hand.
  PlayPageUpdate showAll();

 private:
  bool inGrid(int column, int row) const {
    return column >= 0 && column < PlayPageColumns && row >= 0 && row < PlayPageRows;
  }
  PlayPageUpdate pickUp(PlayPointer mode, bool cut);
  void resetGrid();
  static void allSlots(PlayPageUpdate& u);

  Store& Page;
  PlayPageState& Play;
  TChordDiagram& Hand;

  // How the chord in hand came: it names the step its placement makes.
  enum class Origin { Sent, Copied, Cut };
  PlayPointer Mode = PlayPointer::Normal;
  Origin From = Origin::Sent;
  std::optional<PlaySlot> CutFrom;
};
