#pragma once

#include "play/MidiEvent.h"

// Where a player writes its events. A refused event is normal flow control: the
// player stops writing and resumes with the same event when told there is room.
class MidiSink {
 public:
  virtual ~MidiSink() = default;
  // True when the event was queued.
  virtual bool put(const MidiEvent& event) = 0;
};
