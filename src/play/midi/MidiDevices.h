#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// An open output: raw MIDI channel messages go in. `timeMicros` is when the
// clock dispatched the message; live devices play it at once, the offline
// synthesiser places it at that sample.
class MidiOutputDevice {
 public:
  virtual ~MidiOutputDevice() = default;
  virtual void send(const std::uint8_t* bytes, std::size_t length, std::int64_t timeMicros) = 0;
  // Ends every sounding note.
  virtual void silence() = 0;
};

// An open input port. Its data are not used; holding it open is all it does.
class MidiInputDevice {
 public:
  virtual ~MidiInputDevice() = default;
};

// The devices the component offers, numbered from 0 in list order.
class MidiDeviceProvider {
 public:
  virtual ~MidiDeviceProvider() = default;
  virtual std::vector<std::string> outputNames() = 0;
  virtual std::vector<std::string> inputNames() = 0;
  // Null when the device does not exist or fails to open.
  virtual std::unique_ptr<MidiOutputDevice> openOutput(int index) = 0;
  virtual std::unique_ptr<MidiInputDevice> openInput(int index) = 0;
};
