#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "music/Tuning.h"

// The tunings offered by name beside the tuning controls: the built-in
// presets, and the player's own named tunings after them in the same list.
struct TuningPreset {
  std::string_view Name;
  Tuning Notes;
};

struct NamedTuning {
  std::string Name;
  Tuning Notes;
  bool operator==(const NamedTuning&) const = default;
};

inline constexpr std::size_t TuningPresetCount = 10;
extern const std::array<TuningPreset, TuningPresetCount> TuningPresets;

// The longest tuning name a record (and the tuning name field) holds.
inline constexpr std::size_t TuningNameLength = 15;

// Tuning names are told apart without regard to ASCII case, so "dadgad"
// cannot stand beside the built-in "DADGAD" as a second entry.
bool sameTuningName(std::string_view a, std::string_view b);

// The built-in preset with exactly these six strings, or null.
const TuningPreset* presetMatching(const Tuning& tuning);
// The built-in preset of that name, or null.
const TuningPreset* presetNamed(std::string_view name);

// Whether every string lies on the neck (the range the tuning controls step).
bool tuningOnNeck(const Tuning& tuning);

// The entry of the tuning list (the presets, then `own`) that `tuning` is:
// among several entries with these notes the one named `shownName`, else
// the first. -1 when no entry has these notes.
int tuningListEntry(const Tuning& tuning, std::string_view shownName,
                    const std::vector<NamedTuning>& own);
