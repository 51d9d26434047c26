#include "output/SessionTransport.h"

#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"

bool SessionTransport::put(const MidiEvent& event) {
  return session_.out() != 0 && session_.component().PutMidiOut(session_.out(), event) == 0;
}

TakenBack SessionTransport::takeBack(std::int64_t leadMicros, std::size_t most) {
  if (session_.out() == 0) return {};
  return session_.component().TakeBackMidiOut(session_.out(), leadMicros, most);
}

bool SessionTransport::hasOutput() const {
  return session_.out() != 0;
}

void SessionTransport::SetTempo(std::int32_t microsPerQuarter) {
  session_.component().SetTempo(session_.sync(), microsPerQuarter);
}

void SessionTransport::StartSync() {
  session_.component().StartSync(session_.sync());
}
void SessionTransport::PauseSync() {
  session_.component().PauseSync(session_.sync(), 0);
}
void SessionTransport::ReStartSync() {
  session_.component().ReStartSync(session_.sync());
}
void SessionTransport::StopSync() {
  session_.component().StopSync(session_.sync());
}
void SessionTransport::FlushMidiOut() {
  session_.component().FlushMidiOut(session_.out());
}
