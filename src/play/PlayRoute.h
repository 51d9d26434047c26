#pragma once

#include <array>
#include <vector>

#include "play/PagePlayer.h"
#include "play/PlayPageModel.h"

// The way through a play page as the page player takes it from the first
// bar: bar after bar, back to a bar's return mark as often as its repeat
// count says, and, with loop play on, from the loop mark back to the first
// bar once more. It tells which chord follows which and how often, so that
// fingerings can be chosen for the changes the player will really play.
struct PlayRoute {
  struct Change {
    int From = 0, To = 0;  // slot numbers
    int Count = 0;         // times heard
  };
  std::array<int, PlaySlotCount> Heard{};  // times each slot's chord is struck
  std::vector<Change> Changes;
  bool Cut = false;  // repeats nested so deep that the walk stopped early
};

PlayRoute playRoute(const PlayList& slots, const TRepeatSet& marks, bool threeFour, bool loop);
