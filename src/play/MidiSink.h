#pragma once

#include <cstddef>
#include <cstdint>

#include "play/MidiEvent.h"

// What a sink gave back of what it had queued: the newest `Count` events, the
// first of them `SpareTicks` after the point from which it took them back.
struct TakenBack {
  std::size_t Count = 0;
  std::int64_t SpareTicks = 0;
};

// Where a player writes its events. A refused event is normal flow control: the
// player stops writing and resumes with the same event when told there is room.
class MidiSink {
 public:
  virtual ~MidiSink() = default;
  // True when the event was queued.
  virtual bool put(const MidiEvent& event) = 0;
  // Gives back queued events that are due `leadMicros` or more from now,
  // newest first and at most `most` of them, so that a player can write them
  // again differently. A sink that cannot gives back nothing.
  virtual TakenBack takeBack(std::int64_t /*leadMicros*/, std::size_t /*most*/) { return {}; }
};
