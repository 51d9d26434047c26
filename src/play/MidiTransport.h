#pragma once

#include <cstdint>

// The clock side of the MIDI component as the players drive it: whether an
// output is open, the tempo, and starting, pausing and stopping the clock.
// The program's implementation calls the component with the session's
// handles; tests record the calls.
class MidiTransport {
 public:
  virtual ~MidiTransport() = default;
  virtual bool hasOutput() const = 0;
  virtual void SetTempo(std::int32_t microsPerQuarter) = 0;
  virtual void StartSync() = 0;
  virtual void PauseSync() = 0;
  virtual void ReStartSync() = 0;
  virtual void StopSync() = 0;
  virtual void FlushMidiOut() = 0;
};
