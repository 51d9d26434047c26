#pragma once

#include <string>

#include "midi/MidiDevices.h"

// The devices of this machine: output 0 is the built-in synthesiser, outputs
// 1 and up are the MIDI output ports of the ALSA sequencer, inputs its input
// ports. Without a sequencer (a container, a headless server) the port lists
// are simply empty; RtMidi's errors never leave this class.
class SystemMidiDevices : public MidiDeviceProvider {
 public:
  static constexpr const char* SynthName = "Built-in synthesiser";

  // An empty soundfont path means: find the installed General MIDI one.
  explicit SystemMidiDevices(std::string soundFont = {});

  std::vector<std::string> outputNames() override;
  std::vector<std::string> inputNames() override;
  std::unique_ptr<MidiOutputDevice> openOutput(int index) override;
  std::unique_ptr<MidiInputDevice> openInput(int index) override;

  // Port names as the system lists them now; empty on any error.
  static std::vector<std::string> portNames(bool outputs);
  static bool hasSequencer();

 private:
  std::string soundFont_;
};
