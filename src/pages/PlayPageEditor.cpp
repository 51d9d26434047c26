#include "pages/PlayPageEditor.h"

#include <algorithm>
#include <utility>

PlayPageEditor::PlayPageEditor(Store& page, PlayPageState& play, TChordDiagram& hand)
    : Page(page), Play(play), Hand(hand) {}

const TChordDiagram* PlayPageEditor::shown(int column, int row) const {
  if (!inGrid(column, row) || isEmpty(Page[column][row])) return nullptr;
  if (CutFrom && CutFrom->Column == column && CutFrom->Row == row) return nullptr;
  return &Page[column][row];
}

void PlayPageEditor::allSlots(PlayPageUpdate& u) {
  u.Slots.clear();
  for (int r = 0; r < PlayPageRows; ++r)
    for (int c = 0; c < PlayPageColumns; ++c) u.Slots.push_back({c, r});
}

PlayPageUpdate PlayPageEditor::press(PlaySlot slot, Button button, bool ctrl,
                                     bool replaceConfirmed) {
  PlayPageUpdate u;
  const int c = slot.Column, r = slot.Row;
  if (!inGrid(c, r)) return u;

  if (placing()) {
    // The right button ends a series of placements or gives up a move.
    if (isEmpty(Hand) || button == Button::Right) return cancel();
    if (button != Button::Left) return u;
    if (shown(c, r) && !replaceConfirmed) {
      u.Ask = PlayQuestion::Replace;
      return u;
    }
    const std::optional<PlaySlot> source = CutFrom;
    u.Edit = From == Origin::Sent     ? "Place Chord"
             : From == Origin::Copied ? "Copy Chord"
                                      : "Move Chord";
    if (source) Page[source->Column][source->Row].Empty = 1;
    Page[c][r] = Hand;
    CutFrom.reset();
    // Placed again with Ctrl, the moved chord is copied.
    if (From == Origin::Cut) From = Origin::Copied;
    u.Slots.push_back(slot);
    if (source && (source->Column != c || source->Row != r)) u.Slots.push_back(*source);
    if (!ctrl) {
      Mode = PlayPointer::Normal;
      u.Pointer = Mode;
    }
    return u;
  }

  if (button == Button::Right) {
    Play.PlaySelColumn = c;
    Play.PlaySelRow = r;
    u.MenuItemsEnabled = !isEmpty(Page[c][r]);
    return u;
  }
  if (button != Button::Left) return u;
  if (const std::optional<PlaySlot> target = startMarkerTarget(c, r, Play.ThreeFour)) {
    u.StartMarker = std::pair{startMarker(), *target};
    Play.PlayStartColumn = target->Column;
    Play.PlayStartRow = target->Row;
  }
  return u;
}

const TChordDiagram* PlayPageEditor::chordBeforeSelected() const {
  const PlaySlot sel = selected();
  if (sel.Column < 0 || sel.Column >= PlayPageColumns || sel.Row < 0 || sel.Row >= PlayPageRows)
    return nullptr;
  for (int n = PlayBars::slotNumber(sel.Column, sel.Row) - 1; n >= 0; --n) {
    const TChordDiagram& d = Page[n % PlayPageColumns][n / PlayPageColumns];
    if (!isEmpty(d)) return &d;
  }
  return nullptr;
}

PlayPageUpdate PlayPageEditor::takeInHand(const TChordDiagram& diagram) {
  PlayPageUpdate u = cancel();
  Hand = diagram;
  Mode = PlayPointer::Sent;
  From = Origin::Sent;
  u.Pointer = Mode;
  return u;
}

PlayPageUpdate PlayPageEditor::pickUp(PlayPointer mode, bool cut) {
  const PlaySlot sel = selected();
  if (!inGrid(sel.Column, sel.Row)) return {};
  PlayPageUpdate u = cancel();
  // The menu offers neither command on an empty slot.
  if (isEmpty(Page[sel.Column][sel.Row])) return u;
  Hand = Page[sel.Column][sel.Row];
  Mode = mode;
  From = cut ? Origin::Cut : Origin::Copied;
  if (cut) {
    CutFrom = sel;
    u.Slots.push_back(sel);
  }
  u.Pointer = Mode;
  return u;
}

PlayPageUpdate PlayPageEditor::cutAndMove() {
  return pickUp(PlayPointer::Moving, true);
}

PlayPageUpdate PlayPageEditor::copyAndMove() {
  return pickUp(PlayPointer::Moving, false);
}

PlayPageUpdate PlayPageEditor::deleteChord(bool confirmed) {
  PlayPageUpdate u;
  const PlaySlot sel = selected();
  if (!inGrid(sel.Column, sel.Row)) return u;
  TChordDiagram& slot = Page[sel.Column][sel.Row];
  if (!isEmpty(slot) && !confirmed) {
    u.Ask = PlayQuestion::Delete;
    return u;
  }
  slot.Empty = 1;
  u.Edit = "Delete Chord";
  u.Slots.push_back(sel);
  return u;
}

PlayPageUpdate PlayPageEditor::repeatMarkers() {
  PlayPageUpdate u;
  Play.loadActiveRepeatSet();
  const PlaySlot sel = selected();
  if (!inGrid(sel.Column, sel.Row)) return u;
  const int bar = PlayBars::barOfSlot(PlayBars::slotNumber(sel.Column, sel.Row), Play.ThreeFour);
  u.RepeatBar = bar;
  u.Repeat = Play.repeatChoice(bar);
  return u;
}

PlayPageUpdate PlayPageEditor::setRepeatMarkers(int bar, const RepeatChoice& choice,
                                                bool loopWasOn) {
  PlayPageUpdate u;
  if (bar < 0 || bar >= PlayBars::barCount(Play.ThreeFour)) return u;
  Play.applyRepeatChoice(bar, choice, loopWasOn);
  u.Edit = "Repeat Markers";
  u.RepeatMarks = true;
  return u;
}

PlayPageUpdate PlayPageEditor::cancel() {
  PlayPageUpdate u = endMove();
  Mode = PlayPointer::Normal;
  u.Pointer = Mode;
  return u;
}

PlayPageUpdate PlayPageEditor::endMove() {
  PlayPageUpdate u;
  if (!CutFrom) return u;
  u.Slots.push_back(*CutFrom);
  CutFrom.reset();
  Mode = PlayPointer::Normal;
  u.Pointer = Mode;
  return u;
}

void PlayPageEditor::resetGrid() {
  Play.resetGrid();
  Play.loadActiveRepeatSet();
}

PlayPageUpdate PlayPageEditor::toggleTimeSignature(bool busy) {
  PlayPageUpdate u;
  u.ToolBar = true;
  if (busy) return u;
  Play.ThreeFour = !Play.ThreeFour;
  resetGrid();
  u.Edit = "Time Signature";
  u.Grid = true;
  u.RepeatMarks = true;
  return u;
}

PlayPageUpdate PlayPageEditor::toggleLoop(bool busy) {
  PlayPageUpdate u;
  u.ToolBar = true;
  if (busy) return u;
  Play.Loop = !Play.Loop;
  // The loop mark shows only while Loop Play is down.
  u.RepeatMarks = true;
  u.Edit = "Loop";
  return u;
}

PlayPageUpdate PlayPageEditor::toggleBassNote(bool busy) {
  PlayPageUpdate u;
  u.ToolBar = true;
  if (busy) return u;
  Play.BassNote = !Play.BassNote;
  u.Edit = "Bass Note";
  return u;
}

PlayPageUpdate PlayPageEditor::setTempo(std::int32_t microsPerQuarter) {
  Play.PlayPageTempo = microsPerQuarter;
  PlayPageUpdate u;
  u.Edit = "Tempo";
  return u;
}

PlayPageUpdate PlayPageEditor::setStrumSpeed(int position) {
  Play.StrumSpeed = clampStrumSpeed(position);
  PlayPageUpdate u;
  // A drag of the bar is one step.
  u.Edit = "Strum Speed";
  u.Merge = true;
  return u;
}

PlayPageUpdate PlayPageEditor::erase() {
  PlayPageUpdate u;
  if (CutFrom) {
    CutFrom.reset();
    Mode = PlayPointer::Normal;
    u.Pointer = Mode;
  }
  for (auto& column : Page)
    for (auto& d : column) d.Empty = 1;
  Play.resetRepeatSets();
  resetGrid();
  u.Clear = true;
  u.Grid = true;
  u.RepeatMarks = true;
  allSlots(u);
  return u;
}

PlayPageUpdate PlayPageEditor::showAll() {
  PlayPageUpdate u = endMove();
  resetGrid();
  u.Clear = true;
  u.Grid = true;
  u.RepeatMarks = true;
  u.ToolBar = true;
  allSlots(u);
  return u;
}
