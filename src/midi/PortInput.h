#pragma once

#include <memory>

#include "midi/MidiDevices.h"

class RtMidiIn;

// An open MIDI input port; its data are ignored.
class PortInput : public MidiInputDevice {
 public:
  static std::unique_ptr<PortInput> open(unsigned port);
  ~PortInput() override;

 private:
  explicit PortInput(std::unique_ptr<RtMidiIn> in);
  std::unique_ptr<RtMidiIn> in_;
};
