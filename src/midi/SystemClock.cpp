#include "midi/SystemClock.h"

#include <chrono>

std::int64_t SystemClock::nowMicros() const {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
