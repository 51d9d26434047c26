#pragma once

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "midi/Clock.h"
#include "midi/FluidSynthOutput.h"
#include "midi/MidiComponent.h"
#include "midi/MidiDevices.h"
#include "midi/MidiMessage.h"

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

// The value below which a share p (0..1] of the figures lie.
inline std::int64_t percentile(std::vector<std::int64_t> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const auto i = static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1;
  return v[std::min(i, v.size() - 1)];
}

// The window's side of a live play in a benchmark: it hears when the queue
// has room again and when everything has played.
struct PlayedTarget : MidiMessageTarget {
  std::mutex m;
  std::condition_variable cv;
  bool room = false, done = false;
  void post(const MidiMessage& msg) override {
    std::lock_guard lock(m);
    if (msg.code == MidiMessageCode::Room) room = true;
    if (msg.code == MidiMessageCode::AllPlayed) done = true;
    cv.notify_all();
  }
};

// Fills the queue, starts the clock and refills on each room message from
// this thread, as the window does, until everything has played.
inline void playWhole(MidiComponent& midi, std::uint32_t sync, std::uint32_t out,
                      const std::vector<MidiEvent>& events, PlayedTarget& target) {
  std::size_t next = 0;
  auto fill = [&] {
    while (next < events.size() && midi.PutMidiOut(out, events[next]) == 0) ++next;
  };
  fill();
  midi.StartSync(sync);
  std::unique_lock lock(target.m);
  while (!target.done) {
    target.cv.wait(lock, [&] { return target.room || target.done; });
    if (target.room) {
      target.room = false;
      lock.unlock();
      fill();
      lock.lock();
    }
  }
}
