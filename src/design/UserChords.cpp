#include "design/UserChords.h"

namespace {

std::string_view trimLeft(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return s;
}

bool isRootLetter(char c) {
  return c >= 'A' && c <= 'G';
}

}  // namespace

std::string userChordFormulaText(const IntervalTicks& ticked) {
  std::string text = IntervalBoxes[0].Caption;
  for (std::size_t b = 1; b < IntervalBoxes.size(); ++b)
    if (ticked[b]) text += std::string(" ") + IntervalBoxes[b].Caption;
  return text;
}

UserIntervals userChordIntervals(const IntervalTicks& ticked) {
  UserIntervals list;
  list.fill(NoUserInterval);
  list[0] = 0;
  std::size_t placed = 1;
  for (std::size_t b = 1; b < IntervalBoxes.size() && placed < list.size(); ++b)
    if (ticked[b]) list[placed++] = IntervalBoxes[b].Semitones;
  return list;
}

bool anyIntervalTicked(const IntervalTicks& ticked) {
  for (std::size_t b = 1; b < ticked.size(); ++b)
    if (ticked[b]) return true;
  return false;
}

TChordFormula userChordFormula(std::string_view name, std::string_view formula,
                               const UserIntervals& stored) {
  TChordFormula f{};
  f.Name.assign(name.substr(0, UserChordNameLength));
  f.Formula.assign(formula.substr(0, UserChordFormulaLength));
  for (auto& entry : f.Intervals) entry = ChordIntervalEnd;
  f.Intervals[0] = 0;
  int placed = 1;
  int last = 0;
  for (std::size_t k = 1; k < stored.size(); ++k) {
    const int v = stored[k];
    if (v < 1 || v > 21 || v <= last) continue;
    f.Intervals[placed++] = static_cast<std::int8_t>(v);
    last = v;
  }
  return f;
}

std::optional<std::string> typedChordType(std::string_view typed) {
  std::string_view s = trimLeft(typed);
  if (s.empty()) return std::nullopt;
  if (isRootLetter(s.front())) {
    s.remove_prefix(1);
    if (!s.empty() && (s.front() == 'b' || s.front() == '#')) s.remove_prefix(1);
    s = trimLeft(s);
  }
  const std::size_t slash = s.find('/');
  if (slash != std::string_view::npos) {
    const bool bassFollows =
        slash + 1 == s.size() || s[slash + 1] == ' ' || isRootLetter(s[slash + 1]);
    if (bassFollows) s = trimLeft(s.substr(0, slash));
  }
  return std::string(s.substr(0, UserChordNameLength));
}
