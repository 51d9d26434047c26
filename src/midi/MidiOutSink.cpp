#include "midi/MidiOutSink.h"

#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"

MidiOutSink::MidiOutSink(MidiSession& session) : midi_(session.component()), session_(&session) {}

MidiOutSink::MidiOutSink(MidiComponent& midi, std::uint32_t output)
    : midi_(midi), output_(output) {}

bool MidiOutSink::put(const MidiEvent& event) {
  const std::uint32_t out = session_ ? session_->out() : output_;
  return midi_.PutMidiOut(out, event) == 0;
}
