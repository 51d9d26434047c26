#pragma once

#include <cstdint>

// The time base of the MIDI component, in microseconds. The program runs on the
// system's steady clock; tests and the offline renderer run on a virtual clock
// that only moves when they move it, so every dispatch time is exact.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t nowMicros() const = 0;
  // A virtual clock has no thread of its own: the owner drives the component.
  virtual bool isVirtual() const = 0;
};
