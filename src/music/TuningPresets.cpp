#include "music/TuningPresets.h"

#include <algorithm>

#include "music/NameTables.h"

// Strings from the highest (string 0) down to the lowest.
const std::array<TuningPreset, TuningPresetCount> TuningPresets = {{
    {"Standard", {64, 59, 55, 50, 45, 40}},
    {"Drop D", {64, 59, 55, 50, 45, 38}},
    {"Double Drop D", {62, 59, 55, 50, 45, 38}},
    {"DADGAD", {62, 57, 55, 50, 45, 38}},
    {"Open D", {62, 57, 54, 50, 45, 38}},
    {"Open G", {62, 59, 55, 50, 43, 38}},
    {"Open E", {64, 59, 56, 52, 47, 40}},
    {"Open C", {64, 60, 55, 48, 43, 36}},
    {"Half Step Down", {63, 58, 54, 49, 44, 39}},
    {"Whole Step Down", {62, 57, 53, 48, 43, 38}},
}};

bool sameTuningName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

const TuningPreset* presetMatching(const Tuning& tuning) {
  for (const TuningPreset& p : TuningPresets)
    if (p.Notes == tuning) return &p;
  return nullptr;
}

const TuningPreset* presetNamed(std::string_view name) {
  for (const TuningPreset& p : TuningPresets)
    if (sameTuningName(p.Name, name)) return &p;
  return nullptr;
}

bool tuningOnNeck(const Tuning& tuning) {
  return std::ranges::all_of(tuning, [](int n) { return n >= LowestNote && n <= HighestNote; });
}

int tuningListEntry(const Tuning& tuning, std::string_view shownName,
                    const std::vector<NamedTuning>& own) {
  int first = -1;
  const auto consider = [&](int entry, const Tuning& notes, std::string_view name) {
    if (notes != tuning) return false;
    if (first < 0) first = entry;
    return sameTuningName(name, shownName);
  };
  int entry = 0;
  for (const TuningPreset& p : TuningPresets) {
    if (consider(entry, p.Notes, p.Name)) return entry;
    ++entry;
  }
  for (const NamedTuning& t : own) {
    if (consider(entry, t.Notes, t.Name)) return entry;
    ++entry;
  }
  return first;
}
