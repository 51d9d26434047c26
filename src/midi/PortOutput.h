#pragma once

#include <bitset>
#include <memory>
#include <mutex>

#include "midi/MidiDevices.h"

class RtMidiOut;

// An output device on a MIDI port. It remembers which notes it started so that
// silencing sends their note offs: many devices ignore "all notes off".
class PortOutput : public MidiOutputDevice {
 public:
  // Null when the port cannot be opened.
  static std::unique_ptr<PortOutput> open(unsigned port);
  ~PortOutput() override;

  void send(const std::uint8_t* bytes, std::size_t length, std::int64_t timeMicros) override;
  void silence() override;

 private:
  explicit PortOutput(std::unique_ptr<RtMidiOut> out);
  void write(const std::uint8_t* bytes, std::size_t length);

  std::unique_ptr<RtMidiOut> out_;
  std::mutex mutex_;
  std::bitset<16 * 128> sounding_;
};
