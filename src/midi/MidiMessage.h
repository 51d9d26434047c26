#pragma once

#include <cstdint>

#include "play/MidiMessageCodes.h"

// A message from the MIDI component to the window, with the numbers the window
// handles. `epoch` tells a message posted before a stop or flush from one
// posted after it, so the window can drop what was already cancelled.
struct MidiMessage {
  std::uint32_t code = 0;
  std::uint32_t param = 0;  // 0x546E: Data1 << 16 | Data2 << 8 | Data3; 0x546F: Data1 << 16
  std::uint64_t epoch = 0;
};

// The window side of the component. post() is called on the clock thread (or
// on the thread driving a virtual clock) and must only queue the message for
// the user-interface thread.
class MidiMessageTarget {
 public:
  virtual ~MidiMessageTarget() = default;
  virtual void post(const MidiMessage& message) = 0;
};
