#include "midi/SystemMidiDevices.h"

#include <RtMidi.h>
#include <unistd.h>

#include "midi/FluidSynthOutput.h"
#include "midi/PortInput.h"
#include "midi/PortOutput.h"
#include "midi/SoundFont.h"

namespace {

void ignoreErrors(RtMidiError::Type, const std::string&, void*) {}

template <class Port>
std::vector<std::string> listPorts() {
  std::vector<std::string> names;
  if (!SystemMidiDevices::hasSequencer()) return names;
  try {
    Port port(RtMidi::LINUX_ALSA, "Strumbo! list");
    port.setErrorCallback(ignoreErrors, nullptr);
    const unsigned n = port.getPortCount();
    for (unsigned i = 0; i < n; ++i) names.push_back(port.getPortName(i));
  } catch (const std::exception&) {
    names.clear();
  }
  return names;
}

}  // namespace

SystemMidiDevices::SystemMidiDevices(std::string soundFont) : soundFont_(std::move(soundFont)) {}

std::vector<std::string> SystemMidiDevices::portNames(bool outputs) {
  return outputs ? listPorts<RtMidiOut>() : listPorts<RtMidiIn>();
}

std::vector<std::string> SystemMidiDevices::outputNames() {
  std::vector<std::string> names{SynthName};
  for (auto& n : portNames(true)) names.push_back(std::move(n));
  return names;
}

std::vector<std::string> SystemMidiDevices::inputNames() {
  return portNames(false);
}

std::unique_ptr<MidiOutputDevice> SystemMidiDevices::openOutput(int index) {
  if (index == 0)
    return std::make_unique<FluidSynthOutput>(soundFont_.empty() ? SoundFont::findGeneralMidi()
                                                                 : soundFont_);
  if (index < 0 || !hasSequencer()) return nullptr;
  return PortOutput::open(static_cast<unsigned>(index - 1));
}

std::unique_ptr<MidiInputDevice> SystemMidiDevices::openInput(int index) {
  if (index < 0 || !hasSequencer()) return nullptr;
  return PortInput::open(static_cast<unsigned>(index));
}

bool SystemMidiDevices::hasSequencer() {
  // Without it the ALSA library and RtMidi would each print their failure.
  return ::access("/dev/snd/seq", R_OK | W_OK) == 0;
}
