#include "play/PlayRoute.h"

#include <algorithm>
#include <map>

namespace {
// Nested repeats of 255 would take billions of bars; the counts of a walk cut
// here still weigh the changes in the right proportions.
constexpr int MaxBarsWalked = 20000;
}  // namespace

PlayRoute playRoute(const PlayList& slots, const TRepeatSet& marks, bool threeFour, bool loop) {
  PlayRoute route;
  const int perBar = PlayBars::slotsPerBar(threeFour);
  const int lastBar = PlayBars::barCount(threeFour) - 1;
  TRepeatSet r = marks;
  std::copy(std::begin(r.RepeatCount), std::end(r.RepeatCount), std::begin(r.RepeatsLeft));
  auto returnTarget = [&](int bar) {
    for (int b = bar; b >= 0; --b)
      if (r.ReturnMark[b] != 0) return b;
    return bar;
  };
  std::map<std::pair<int, int>, int> changes;
  int previous = -1, bar = 0, walked = 0;
  bool looped = false, done = false;
  while (!done) {
    if (++walked > MaxBarsWalked) {
      route.Cut = true;
      break;
    }
    for (int s = bar * perBar; s < (bar + 1) * perBar && s < PlaySlotCount; ++s) {
      if (isEmpty(slots[static_cast<std::size_t>(s)])) continue;
      if (previous >= 0) ++changes[{previous, s}];
      // The change back to the top is taken once: after it, the page plays
      // as it did.
      if (looped) {
        done = true;
        break;
      }
      ++route.Heard[static_cast<std::size_t>(s)];
      previous = s;
    }
    if (done) break;
    if (r.RepeatsLeft[bar] > 0) {
      --r.RepeatsLeft[bar];
      bar = returnTarget(bar);
    } else {
      r.RepeatsLeft[bar] = r.RepeatCount[bar];
      if (r.LoopMark[bar] == 1 && loop && !looped) {
        looped = true;
        bar = 0;
      } else if (++bar > lastBar) {
        done = true;
      }
    }
  }
  for (const auto& [key, count] : changes) route.Changes.push_back({key.first, key.second, count});
  return route;
}
