#include "design/IntervalDisplay.h"

#include "music/NameTables.h"
#include "music/Records.h"

std::string_view intervalCaption(int entry) {
  if (entry == ChordIntervalEnd) return {};
  return intervalName(entry);
}

std::vector<ArpeggioCell> arpeggioCells(const Tuning& strings, const std::int8_t (&intervals)[7],
                                        int root, bool labelColours) {
  root = pitchClass(root);
  int count = 0;
  while (count < 7 && intervals[count] != ChordIntervalEnd) ++count;

  std::vector<ArpeggioCell> cells;
  for (int s = 0; s < StringCount; ++s) {
    for (int f = 0; f <= HighestFret; ++f) {
      const int p = pitchClass(strings[static_cast<std::size_t>(s)] + f);
      bool tone = false;
      for (int e = 0; e < count && !tone; ++e) tone = p == pitchClass(intervals[e] + root);
      if (!tone) continue;
      int pen = ChordTonePen;
      if (p == root) {
        pen = RootPen;
      } else if (labelColours) {
        for (int i = 0; i < 7; ++i)
          if (!intervalCaption(intervals[i]).empty() &&
              pitchClass(intervals[i]) == pitchClass(p - root))
            pen = i;
      }
      cells.push_back({s, f, pen});
    }
  }
  return cells;
}

bool raisableInterval(int interval) {
  switch (interval) {
    case 1:
    case 2:
    case 3:
    case 5:
    case 6:
    case 8:
    case 9:
      return true;
    default:
      return false;
  }
}
