#include "midi/PortOutput.h"

#include <RtMidi.h>

#include <vector>

namespace {

void ignoreErrors(RtMidiError::Type, const std::string&, void*) {}

}  // namespace

std::unique_ptr<PortOutput> PortOutput::open(unsigned port) {
  try {
    auto out = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, "Strumbo!");
    if (port >= out->getPortCount()) return nullptr;
    out->openPort(port, "Strumbo! out");
    if (!out->isPortOpen()) return nullptr;
    // From here on a failed send is dropped rather than thrown on the clock thread.
    out->setErrorCallback(ignoreErrors, nullptr);
    return std::unique_ptr<PortOutput>(new PortOutput(std::move(out)));
  } catch (const std::exception&) {
    return nullptr;
  }
}

PortOutput::PortOutput(std::unique_ptr<RtMidiOut> out) : out_(std::move(out)) {}

PortOutput::~PortOutput() {
  silence();
  try {
    out_->closePort();
  } catch (const std::exception&) {
  }
}

void PortOutput::write(const std::uint8_t* bytes, std::size_t length) {
  try {
    out_->sendMessage(bytes, length);
  } catch (const std::exception&) {
  }
}

void PortOutput::send(const std::uint8_t* bytes, std::size_t length, std::int64_t) {
  std::lock_guard lock(mutex_);
  if (length == 3) {
    const std::size_t key = (bytes[0] & 0x0F) * 128u + bytes[1];
    const std::uint8_t kind = bytes[0] & 0xF0;
    if (kind == 0x90 && bytes[2] > 0) sounding_.set(key);
    if (kind == 0x80 || (kind == 0x90 && bytes[2] == 0)) sounding_.reset(key);
  }
  write(bytes, length);
}

void PortOutput::silence() {
  std::lock_guard lock(mutex_);
  for (std::size_t key = 0; key < sounding_.size(); ++key) {
    if (!sounding_.test(key)) continue;
    const std::uint8_t off[3] = {static_cast<std::uint8_t>(0x80 | key / 128),
                                 static_cast<std::uint8_t>(key % 128), 0};
    write(off, 3);
  }
  sounding_.reset();
  for (std::uint8_t ch = 0; ch < 16; ++ch) {
    const std::uint8_t allOff[3] = {static_cast<std::uint8_t>(0xB0 | ch), 123, 0};
    write(allOff, 3);
  }
}
