#include "play/PlayPageModel.h"

#include <algorithm>
#include <charconv>

#include "music/PageSizes.h"
#include "play/PlayPageGeometry.h"

std::optional<PlaySlot> playSlotAt(int x, int y) {
  if (x < 0 || y < 0) return std::nullopt;
  // The margin above the first row counts with it as the one left of the
  // first column does.
  const int column = (x - PlayGeometry::SlotLeft) / PlayGeometry::ColumnPitch;  // toward zero
  const int row = (y - PlayGeometry::SlotLeft) / PlayGeometry::RowPitch;
  if (column < 0 || column >= PlayPageColumns || row < 0 || row >= PlayPageRows)
    return std::nullopt;
  return PlaySlot{column, row};
}

std::optional<PlaySlot> startMarkerTarget(int column, int row, bool threeFour) {
  if (column < 0 || column >= PlayPageColumns || row < 0 || row >= PlayPageRows)
    return std::nullopt;
  if (threeFour) {
    if (column <= 1) return PlaySlot{0, row};
    if (column == 6 || column == 7) return PlaySlot{6, row};
    return std::nullopt;
  }
  if (row % 2 == 1) {
    if (column == 4 || column == 5) return PlaySlot{4, row};
    return std::nullopt;
  }
  if (column <= 1) return PlaySlot{0, row};
  if (column == 8 || column == 9) return PlaySlot{8, row};
  return std::nullopt;
}

std::optional<int> repeatCountFromText(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return 1;
  long value = 0;
  const char* end = text.data() + text.size();
  const char* first = text.data();
  if (*first == '+') ++first;
  auto [ptr, ec] = std::from_chars(first, end, value);
  if (ptr != end) return std::nullopt;
  if (ec == std::errc::result_out_of_range) return text.front() == '-' ? 1 : 255;
  if (ec != std::errc()) return std::nullopt;
  return static_cast<int>(std::clamp<long>(value, 1, 255));
}

void PlayPageState::resetRepeatSets() {
  RepeatSet34 = TRepeatSet{};
  RepeatSet44 = TRepeatSet{};
  RepeatSet34.ReturnMark[0] = 1;
  RepeatSet44.ReturnMark[0] = 1;
  RepeatSet34.LoopMark[PlayBars::barCount(true) - 1] = 1;
  RepeatSet44.LoopMark[PlayBars::barCount(false) - 1] = 1;
}

RepeatChoice PlayPageState::repeatChoice(int bar) const {
  RepeatChoice c;
  if (bar < 0 || bar >= MaxBars) return c;
  c.Return = ActiveRepeatSet.ReturnMark[bar] != 0;
  c.Repeat = ActiveRepeatSet.RepeatCount[bar] != 0;
  c.Count = ActiveRepeatSet.RepeatCount[bar];
  c.Loop = ActiveRepeatSet.LoopMark[bar] == 1;
  return c;
}

void PlayPageState::applyRepeatChoice(int bar, const RepeatChoice& choice, bool loopWasOn) {
  if (bar < 0 || bar >= MaxBars) return;
  TRepeatSet& a = ActiveRepeatSet;
  const int count = choice.Repeat ? std::clamp(choice.Count, 1, 255) : 0;
  a.ReturnMark[bar] = (choice.Return || bar == 0) ? 1 : 0;
  a.RepeatCount[bar] = static_cast<std::uint8_t>(count);
  a.RepeatsLeft[bar] = static_cast<std::uint8_t>(count);
  if (choice.Loop) {
    std::fill(std::begin(a.LoopMark), std::end(a.LoopMark), 0);
    a.LoopMark[bar] = 1;
  } else if (loopWasOn) {
    std::fill(std::begin(a.LoopMark), std::end(a.LoopMark), 0);
    a.LoopMark[lastBar()] = 1;
  }
  savedSet() = a;
}

void PlayPageState::resetGrid() {
  PlayStartColumn = 0;
  PlayStartRow = 0;
  ActiveRepeatSet = TRepeatSet{};
  ActiveRepeatSet.ReturnMark[0] = 1;
}

BarEnds barEnds(int bar, bool threeFour) {
  if (threeFour) {
    const int y = PlayGeometry::staffY(bar / 2);
    return bar % 2 == 0 ? BarEnds{20, y, 388, y} : BarEnds{397, y, 762, y};
  }
  static constexpr BarEnds fourFour[9] = {
      {20, 95, 514, 95},   {523, 95, 262, 227},  {271, 227, 762, 227},
      {20, 359, 514, 359}, {523, 359, 262, 491}, {271, 491, 762, 491},
      {20, 623, 514, 623}, {523, 623, 262, 755}, {271, 755, 762, 755}};
  return fourFour[std::clamp(bar, 0, 8)];
}
