#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// An open output: raw MIDI channel messages go in. `timeMicros` is when the
// message is due; a port plays it at once, the offline synthesiser and an
// anchored live synthesiser place it at that sample.
class MidiOutputDevice {
 public:
  virtual ~MidiOutputDevice() = default;
  virtual void send(const std::uint8_t* bytes, std::size_t length, std::int64_t timeMicros) = 0;
  // Ends every sounding note.
  virtual void silence() = 0;
  // Chooses `program` on `channel` before anything is played there, so a
  // device that loads its sounds on demand has them in before the first note.
  // A port plays what it is sent at once and has nothing to prepare.
  virtual void preload(int /*channel*/, int /*program*/) {}
  // True once the device has finished starting up.
  virtual bool ready() const { return true; }
  // True when the device knows it will never sound, like a synthesiser
  // without a soundfont; everything sent to it is lost.
  virtual bool silent() const { return false; }

  // A device with a clock of its own (a synthesiser's sample clock) can place
  // a message at the sample of its time. It asks to be sent each message this
  // long before it is due; 0 means it plays what it is sent at once.
  virtual std::int64_t leadMicros() const { return 0; }
  // Ties the device's clock to the program's: `nowMicros` is now. From then
  // on send() places each message at its `timeMicros`, so the spacing of what
  // is sent is exact whenever it arrives.
  virtual void anchor(std::int64_t /*nowMicros*/) {}
  // Drops what was sent ahead and has not sounded yet; what sounds goes on.
  virtual void withdraw() {}
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
