#include "play/midi/MidiOutSink.h"

#include "play/midi/MidiComponent.h"

bool MidiOutSink::put(const MidiEvent& event) {
  return midi_.PutMidiOut(output_, event) == 0;
}
