#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "midi/Clock.h"
#include "midi/MidiDevices.h"
#include "midi/MidiMessage.h"

// One line of what the component did, in order: bytes sent to the device or a
// message posted to the window, with the clock's time when it happened.
struct LogEntry {
  std::int64_t time;
  std::string what;  // "send 90 40 64", "post 546F 10000", "silence"
  bool operator==(const LogEntry&) const = default;
};

inline void PrintTo(const LogEntry& e, std::ostream* os) {
  *os << e.time << ": " << e.what;
}

inline std::string hex(unsigned v, int width) {
  static const char* digits = "0123456789ABCDEF";
  std::string s(static_cast<std::size_t>(width), '0');
  for (int i = width - 1; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = digits[v & 15];
  return s;
}

struct MidiLog {
  const Clock& clock;
  std::vector<LogEntry> entries;
  std::vector<MidiMessage> messages;
  void add(std::string what) { entries.push_back({clock.nowMicros(), std::move(what)}); }
  int count(std::uint32_t code) const {
    int n = 0;
    for (const auto& m : messages) n += m.code == code;
    return n;
  }
};

class FakeOutput : public MidiOutputDevice {
 public:
  explicit FakeOutput(MidiLog& log) : log_(log) {}
  ~FakeOutput() override { log_.add("close out"); }
  void send(const std::uint8_t* b, std::size_t n, std::int64_t) override {
    std::string s = "send";
    for (std::size_t i = 0; i < n; ++i) s += " " + hex(b[i], 2);
    log_.add(s);
  }
  void silence() override { log_.add("silence"); }
  void preload(int channel, int program) override {
    log_.add("preload " + std::to_string(channel) + " " + std::to_string(program));
  }

 private:
  MidiLog& log_;
};

class FakeInput : public MidiInputDevice {
 public:
  explicit FakeInput(MidiLog& log) : log_(log) {}
  ~FakeInput() override { log_.add("close in"); }

 private:
  MidiLog& log_;
};

class FakeMidiDevices : public MidiDeviceProvider {
 public:
  explicit FakeMidiDevices(MidiLog& log) : log_(log) {}
  std::vector<std::string> outs{"Synth", "A port whose name is longer than thirty-one characters"};
  std::vector<std::string> ins{"Keyboard"};
  std::vector<std::string> outputNames() override { return outs; }
  std::vector<std::string> inputNames() override { return ins; }
  std::unique_ptr<MidiOutputDevice> openOutput(int i) override {
    if (i < 0 || i >= static_cast<int>(outs.size())) return nullptr;
    log_.add("open out " + std::to_string(i));
    return std::make_unique<FakeOutput>(log_);
  }
  std::unique_ptr<MidiInputDevice> openInput(int i) override {
    if (i < 0 || i >= static_cast<int>(ins.size())) return nullptr;
    log_.add("open in " + std::to_string(i));
    return std::make_unique<FakeInput>(log_);
  }

 private:
  MidiLog& log_;
};

class LogTarget : public MidiMessageTarget {
 public:
  explicit LogTarget(MidiLog& log) : log_(log) {}
  void post(const MidiMessage& m) override {
    log_.messages.push_back(m);
    log_.add("post " + hex(m.code, 4) + " " + hex(m.param, 6));
  }

 private:
  MidiLog& log_;
};
