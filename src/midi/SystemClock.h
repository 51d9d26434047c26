#pragma once

#include "midi/Clock.h"

// Clock over std::chrono::steady_clock: never jumps with the wall clock.
class SystemClock : public Clock {
 public:
  std::int64_t nowMicros() const override;
  bool isVirtual() const override { return false; }
};
