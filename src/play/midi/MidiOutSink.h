#pragma once

#include <cstdint>

#include "play/MidiSink.h"

class MidiComponent;

// The sink the players write to in the program: the component's output queue
// behind an output handle. With no output open every put is refused.
class MidiOutSink : public MidiSink {
 public:
  MidiOutSink(MidiComponent& midi, std::uint32_t output) : midi_(midi), output_(output) {}
  void setOutput(std::uint32_t output) { output_ = output; }
  bool put(const MidiEvent& event) override;

 private:
  MidiComponent& midi_;
  std::uint32_t output_;
};
