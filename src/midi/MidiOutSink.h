#pragma once

#include <cstdint>

#include "play/MidiSink.h"

class MidiComponent;
class MidiSession;

// The sink the players write to in the program: the component's output queue.
// Made from the session it follows the output that MIDI setup reopens; made
// from a handle it keeps that one. With no output open every put is refused.
class MidiOutSink : public MidiSink {
 public:
  explicit MidiOutSink(MidiSession& session);
  MidiOutSink(MidiComponent& midi, std::uint32_t output);
  bool put(const MidiEvent& event) override;

 private:
  MidiComponent& midi_;
  MidiSession* session_ = nullptr;
  std::uint32_t output_ = 0;
};
