#pragma once

#include "play/MidiSink.h"
#include "play/MidiTransport.h"

class MidiSession;

// The players' way into the MIDI component in the program: puts go to the
// session's output queue and the clock calls to its clock, with whatever
// handles the session holds at the time (MIDI setup may reopen the output).
class SessionTransport : public MidiSink, public MidiTransport {
 public:
  explicit SessionTransport(MidiSession& session) : session_(session) {}

  bool put(const MidiEvent& event) override;
  TakenBack takeBack(std::int64_t leadMicros, std::size_t most) override;
  bool hasOutput() const override;
  void SetTempo(std::int32_t microsPerQuarter) override;
  void StartSync() override;
  void PauseSync() override;
  void ReStartSync() override;
  void StopSync() override;
  void FlushMidiOut() override;

 private:
  MidiSession& session_;
};
