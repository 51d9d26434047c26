#pragma once

#include <atomic>

#include "midi/Clock.h"

// A clock that stands still until it is set. It never goes back.
class VirtualClock : public Clock {
 public:
  explicit VirtualClock(std::int64_t start = 0) : now_(start) {}
  std::int64_t nowMicros() const override { return now_.load(); }
  bool isVirtual() const override { return true; }
  void set(std::int64_t micros) {
    if (micros > now_.load()) now_.store(micros);
  }

 private:
  std::atomic<std::int64_t> now_;
};
