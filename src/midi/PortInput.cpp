#include "midi/PortInput.h"

#include <RtMidi.h>

namespace {

void ignoreErrors(RtMidiError::Type, const std::string&, void*) {}

}  // namespace

std::unique_ptr<PortInput> PortInput::open(unsigned port) {
  try {
    auto in = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, "Strumbo!");
    if (port >= in->getPortCount()) return nullptr;
    in->openPort(port, "Strumbo! in");
    if (!in->isPortOpen()) return nullptr;
    in->setErrorCallback(ignoreErrors, nullptr);
    in->ignoreTypes(true, true, true);
    return std::unique_ptr<PortInput>(new PortInput(std::move(in)));
  } catch (const std::exception&) {
    return nullptr;
  }
}

PortInput::PortInput(std::unique_ptr<RtMidiIn> in) : in_(std::move(in)) {}

PortInput::~PortInput() {
  try {
    in_->closePort();
  } catch (const std::exception&) {
  }
}
