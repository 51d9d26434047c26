#pragma once

#include <cstdint>

class MidiComponent;
class MidiMessageTarget;

// The three handles the program keeps open from start-up to shutdown: the
// clock, the output and the input. With no output device nothing is opened
// and all three stay 0, which the players read as "no MIDI output".
class MidiSession {
 public:
  explicit MidiSession(MidiComponent& midi) : midi_(midi) {}
  ~MidiSession() { close(); }
  MidiSession(const MidiSession&) = delete;
  MidiSession& operator=(const MidiSession&) = delete;

  // The start-up order: clock, output on `outDevice`, input on `inDevice`.
  void open(MidiMessageTarget* window, std::uint16_t outDevice, std::uint16_t inDevice);
  // Shutdown: clock, input, output, each only when open.
  void close();
  // MIDI setup: a port that is open is closed and opened on the new device;
  // one that is closed stays closed.
  void reopenIn(MidiMessageTarget* window, std::uint16_t device);
  void reopenOut(MidiMessageTarget* window, std::uint16_t device);

  MidiComponent& component() { return midi_; }
  std::uint32_t sync() const { return sync_; }
  std::uint32_t out() const { return out_; }
  std::uint32_t in() const { return in_; }

 private:
  MidiComponent& midi_;
  std::uint32_t sync_ = 0, out_ = 0, in_ = 0;
};
