#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "midi/Clock.h"
#include "midi/FluidSynthOutput.h"
#include "midi/MidiDevices.h"

// A device for the benchmarks: it records how late the clock thread hands
// each message over, then plays it on the built-in synthesiser when given a
// soundfont. With no font it only times: the clock's own lateness, without a
// device's cost.

class TimingOutput : public MidiOutputDevice {
 public:
  TimingOutput(const Clock& clock, std::vector<std::int64_t>& lateness, const std::string& font)
      : clock_(clock), lateness_(lateness) {
    if (!font.empty()) {
      synth_ = std::make_unique<FluidSynthOutput>(font);
      synth_->waitUntilReady();
    }
  }
  void send(const std::uint8_t* b, std::size_t n, std::int64_t due) override {
    lateness_.push_back(clock_.nowMicros() - due);
    if (synth_) synth_->send(b, n, due);
  }
  void silence() override {
    if (synth_) synth_->silence();
  }

 private:
  const Clock& clock_;
  std::vector<std::int64_t>& lateness_;
  std::unique_ptr<FluidSynthOutput> synth_;
};

class TimingDevices : public MidiDeviceProvider {
 public:
  TimingDevices(const Clock& c, std::vector<std::int64_t>& l, std::string f)
      : clock_(c), lateness_(l), font_(std::move(f)) {}
  std::vector<std::string> outputNames() override { return {"timed synth"}; }
  std::vector<std::string> inputNames() override { return {}; }
  std::unique_ptr<MidiOutputDevice> openOutput(int i) override {
    return i == 0 ? std::make_unique<TimingOutput>(clock_, lateness_, font_) : nullptr;
  }
  std::unique_ptr<MidiInputDevice> openInput(int) override { return nullptr; }

 private:
  const Clock& clock_;
  std::vector<std::int64_t>& lateness_;
  std::string font_;
};
