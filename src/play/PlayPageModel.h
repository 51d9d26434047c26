#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

#include "play/PlayerSettings.h"

// The play page beyond its slots: the time signature, bars, the repeat,
// return and loop marks of each bar, the start marker, the selected slot and
// the change flag; and the arithmetic that maps slots, bars and presses.
// Slot s = 12 x row + column is one eighth note; bars are 8 slots in 4/4 and
// 6 in 3/4, so in 4/4 bars 2, 5 and 8 run over a row end.

inline constexpr int PlaySlotCount = 72;
inline constexpr int MaxBars = 12;

#pragma pack(push, 1)
// Per bar: a repeat returns to the start of this bar; how many times playback
// goes back from its end (0 = no repeat sign); the countdown of repeats still
// to play; and the bar where loop play goes back to bar 1. Stored in the
// repeat companion file of a play page exactly as it lies.
struct TRepeatSet {
  std::uint8_t ReturnMark[MaxBars];
  std::uint8_t RepeatCount[MaxBars];
  std::uint8_t RepeatsLeft[MaxBars];
  std::uint8_t LoopMark[MaxBars];
};
#pragma pack(pop)
static_assert(sizeof(TRepeatSet) == 48);
static_assert(std::is_trivially_copyable_v<TRepeatSet>);

struct PlaySlot {
  int Column;
  int Row;
};

namespace PlayBars {
constexpr int slotsPerBar(bool threeFour) {
  return threeFour ? 6 : 8;
}
constexpr int beatsPerBar(bool threeFour) {
  return threeFour ? 3 : 4;
}
constexpr int barCount(bool threeFour) {
  return PlaySlotCount / slotsPerBar(threeFour);
}
constexpr int slotNumber(int column, int row) {
  return 12 * row + column;
}
// 0-based bar of slot s.
constexpr int barOfSlot(int s, bool threeFour) {
  return s / slotsPerBar(threeFour);
}
constexpr int firstSlotOfBar(int bar, bool threeFour) {
  return bar * slotsPerBar(threeFour);
}
}  // namespace PlayBars

// The slot under a press on the page picture, or none outside the 12 x 6
// grid. The margins left of and above the grid belong to the first column
// and row.
std::optional<PlaySlot> playSlotAt(int x, int y);

// Where a left press on slot (column, row) puts the start marker: the first
// slot of a bar, reached from the bar's first two columns; none elsewhere.
std::optional<PlaySlot> startMarkerTarget(int column, int row, bool threeFour);

// The repeat count typed in the repeat dialog: empty gives 1, 0 or less 1,
// 256 or more 255. Text that is not a whole number gives none.
std::optional<int> repeatCountFromText(std::string_view text);

// What the repeat dialog shows and gives back for one bar.
struct RepeatChoice {
  bool Return = false;
  bool Repeat = false;
  int Count = 0;  // 1..255 when Repeat
  bool Loop = false;
};

struct PlayPageState {
  bool ThreeFour = false;  // the Time Signature button: up 4/4, down 3/4
  TRepeatSet RepeatSet34{};
  TRepeatSet RepeatSet44{};
  TRepeatSet ActiveRepeatSet{};
  std::int32_t PlayStartColumn = 0, PlayStartRow = 0;
  std::int32_t PlaySelColumn = 0, PlaySelRow = 0;
  bool PlayPageChanged = false;
  // Microseconds per quarter note.
  std::int32_t PlayPageTempo = DefaultPageTempo;
  // The strum speed scroll bar's position, -800..0, saved with the page.
  std::int32_t StrumSpeed = -300;
  // Loop Play and Bass Note, saved with the page; the tool bar shows them.
  // Bass Note is also the program's option kept in the settings file.
  bool Loop = false;
  bool BassNote = false;

  PlayPageState() { resetRepeatSets(); }

  // Both saved sets back to a return mark on bar 1 and the loop on the last bar.
  void resetRepeatSets();
  TRepeatSet& savedSet() { return ThreeFour ? RepeatSet34 : RepeatSet44; }
  const TRepeatSet& savedSet() const { return ThreeFour ? RepeatSet34 : RepeatSet44; }
  void loadActiveRepeatSet() { ActiveRepeatSet = savedSet(); }
  int lastBar() const { return PlayBars::barCount(ThreeFour) - 1; }

  // The dialog's view of bar `bar` of the active set.
  RepeatChoice repeatChoice(int bar) const;
  // The dialog's OK: writes bar `bar` into the active set and the saved set
  // of the current time signature. `loopWasOn` is whether Loop was ticked
  // when the dialog opened.
  void applyRepeatChoice(int bar, const RepeatChoice& choice, bool loopWasOn);

  // The start marker back to bar 1 and the active set cleared to a return
  // mark on bar 1; the saved sets are untouched (drawing the staff rows anew).
  void resetGrid();
};

// Start and end points of bar b's stretch of staff on the page picture, for
// the marks drawn at a bar's start and end.
struct BarEnds {
  int Xs, Ys, Xe, Ye;
};
BarEnds barEnds(int bar, bool threeFour);
