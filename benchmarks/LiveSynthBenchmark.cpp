// Prints how exactly the built-in synthesiser sounds a page played live while
// the machine is busy (one spinning thread per core besides the clock thread):
//  - the clock thread's dispatch lateness on today's path for external ports
//    (each event sent when due), clock only;
//  - the same thread's lateness handing events to the synthesiser a lead
//    ahead;
//  - the onsets of the strums in what the synthesiser rendered through
//    FluidSynth's file audio driver (a real-time timer), against the ideal
//    spacing of their due times from the first strum.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Onsets.h"
#include "TimingDevices.h"
#include "midi/FluidSynthOutput.h"
#include "midi/MidiComponent.h"
#include "midi/SoundFont.h"
#include "midi/SystemClock.h"
#include "midi/WavFile.h"

namespace {

constexpr std::int32_t Tempo = 240'000;  // 250 beats per minute: a tick is 500 us
constexpr int Strums = 40;

// One spinning thread per core for as long as it lives.
class Disturbance {
 public:
  Disturbance() {
    const unsigned n = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < n; ++i)
      threads_.emplace_back([this] {
        volatile std::uint64_t x = 0;
        while (!stop_.load(std::memory_order_relaxed)) x = x + 1;
      });
  }
  ~Disturbance() {
    stop_.store(true);
    for (auto& t : threads_) t.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::vector<std::thread> threads_;
};

// Strums of six strings 16 ticks apart, two beats apart and each ended well
// before the next, so every strum starts out of silence. A few ticks of drift
// per strum move the onsets across the synthesiser's blocks.
std::vector<MidiEvent> strumPage(std::vector<std::int64_t>& strumTicks) {
  std::vector<MidiEvent> ev{{0, 0xC0, 25, 0, 0}};
  const std::uint8_t chord[6] = {64, 59, 55, 52, 48, 40};
  std::int64_t last = 0;
  for (int k = 0; k < Strums; ++k) {
    const std::int64_t tick = 480 + k * 960 + (k * 7) % 29;
    strumTicks.push_back(tick);
    for (int s = 5; s >= 0; --s) {
      const std::int64_t t = tick + 16 * (5 - s);
      ev.push_back({static_cast<std::int32_t>(t - last), 0x90, chord[s], 100, 0});
      last = t;
    }
    const std::int64_t end = tick + 240;
    for (int s = 0; s < 6; ++s) {
      ev.push_back({static_cast<std::int32_t>(s == 0 ? end - last : 0), 0x80, chord[s], 0, 0});
    }
    last = end;
  }
  return ev;
}

// `beforeClose` runs once everything was due: a stop drops what the
// synthesiser still holds, and the file driver's clock runs a little slow.
void play(
    MidiComponent& midi, const std::vector<MidiEvent>& events,
    const std::function<void()>& beforeClose = [] {}) {
  PlayedTarget target;
  const auto sync = midi.OpenSync(0, &target, 0, 10);
  const auto out = midi.OpenMidiOut(&target, 0, sync, 78624);
  midi.SetTempo(sync, Tempo);
  playWhole(midi, sync, out, events, target);
  beforeClose();
  midi.CloseSync(sync);
}

void printLateness(const char* what, const std::vector<std::int64_t>& lateness) {
  std::printf("%s over %zu events (us): p50 %lld  p99 %lld  max %lld\n", what, lateness.size(),
              static_cast<long long>(percentile(lateness, 0.50)),
              static_cast<long long>(percentile(lateness, 0.99)),
              static_cast<long long>(percentile(lateness, 1.0)));
}

// The built-in synthesiser recording to a file, timing each hand-over
// against the time it was meant for (its due time less the lead).
class TimedSynth : public MidiOutputDevice {
 public:
  TimedSynth(const Clock& clock, std::vector<std::int64_t>& lateness, const std::string& font,
             const std::string& wav)
      : clock_(clock), lateness_(lateness), synth_(font, {"file:" + wav}) {
    synth_.waitUntilReady();
    // Dry: a strum's first sample is its onset and the silence between is zero.
    fluid_synth_reverb_on(synth_.synth(), -1, 0);
    fluid_synth_chorus_on(synth_.synth(), -1, 0);
  }
  void send(const std::uint8_t* b, std::size_t n, std::int64_t due) override {
    lateness_.push_back(clock_.nowMicros() - (due - synth_.leadMicros()));
    synth_.send(b, n, due);
    lastDue_ = due;
    // A strum's first string: where the synthesiser was told it starts.
    if (n == 3 && b[0] == 0x90 && b[1] == 40 && b[2] > 0)
      strumFrames.push_back(synth_.frameOf(due));
  }
  std::vector<std::int64_t> strumFrames;
  void silence() override { synth_.silence(); }
  std::int64_t leadMicros() const override { return synth_.leadMicros(); }
  void anchor(std::int64_t now) override { synth_.anchor(now); }
  void withdraw() override { synth_.withdraw(); }
  bool hasAudio() const { return synth_.hasAudio(); }
  std::int64_t lastFrame() const { return synth_.frameOf(lastDue_); }

 private:
  const Clock& clock_;
  std::vector<std::int64_t>& lateness_;
  FluidSynthOutput synth_;
  std::int64_t lastDue_ = 0;
};

class TimedSynthDevices : public MidiDeviceProvider {
 public:
  TimedSynthDevices(const Clock& c, std::vector<std::int64_t>& l, std::string font, std::string wav)
      : clock_(c), lateness_(l), font_(std::move(font)), wav_(std::move(wav)) {}
  std::vector<std::string> outputNames() override { return {"built-in synthesiser to a file"}; }
  std::vector<std::string> inputNames() override { return {}; }
  std::unique_ptr<MidiOutputDevice> openOutput(int i) override {
    if (i != 0) return nullptr;
    auto d = std::make_unique<TimedSynth>(clock_, lateness_, font_, wav_);
    opened = d.get();
    return d;
  }
  std::unique_ptr<MidiInputDevice> openInput(int) override { return nullptr; }
  TimedSynth* opened = nullptr;

 private:
  const Clock& clock_;
  std::vector<std::int64_t>& lateness_;
  std::string font_, wav_;
};

void clockOnly(const std::vector<MidiEvent>& events) {
  SystemClock clock;
  std::vector<std::int64_t> lateness;
  TimingDevices devices(clock, lateness, {});
  {
    MidiComponent midi(clock, devices, 256);
    Disturbance busy;
    play(midi, events);
  }
  printLateness("live dispatch lateness, sent when due (external ports), clock only, busy machine,",
                lateness);
}

void audible(const std::string& font, const std::vector<MidiEvent>& events,
             const std::vector<std::int64_t>& strumTicks) {
  const auto wav = std::filesystem::temp_directory_path() /
                   ("strumbo-live-bench-" + std::to_string(getpid()) + ".wav");
  SystemClock clock;
  std::vector<std::int64_t> lateness, told;
  lateness.reserve(events.size());
  TimedSynthDevices devices(clock, lateness, font, wav.string());
  {
    MidiComponent midi(clock, devices, 256);
    bool audio = false;
    {
      Disturbance busy;
      play(midi, events, [&] {
        TimedSynth* synth = devices.opened;
        audio = synth && synth->hasAudio();
        if (!audio) return;
        told = synth->strumFrames;
        // The file driver renders on its own timer: wait (boundedly) until it
        // has rendered the last strum's release.
        const auto want = static_cast<std::uintmax_t>(44 + (synth->lastFrame() + 44100) * 2 * 4);
        for (int i = 0; i < 600; ++i) {
          std::error_code ec;
          if (std::filesystem::file_size(wav, ec) > want) break;
          std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
      });
    }
    if (!audio) {
      std::printf("live, audible: FluidSynth's file audio driver did not start\n");
      return;
    }
  }  // closes the output, which finishes the file
  printLateness("live hand-over lateness into the built-in synthesiser, busy machine,", lateness);
  WavFile w;
  const bool read = w.read(wav.string());
  std::filesystem::remove(wav);
  if (!read) {
    std::printf("live, audible: the rendered file could not be read\n");
    return;
  }
  // FluidSynth leaves a noise floor of about 1e-8 in the file, and a strum's
  // release a faint tail; a threshold well above both makes every onset the
  // same point of the same attack.
  const auto found = onsets(w, 1e-3f, 2000);
  if (found.size() != strumTicks.size() || told.size() != strumTicks.size()) {
    std::printf("live, audible: found %zu onsets for %zu strums (%zu sent)\n", found.size(),
                strumTicks.size(), told.size());
    return;
  }
  // Against the ideal: the exact spacing of the due times, from the first
  // strum's onset. Each onset is on the block boundary nearest its exact
  // frame, the first one included, so this stays under one block.
  const double framesPerTick = Tempo / 480.0 * w.sampleRate / 1e6;
  // Against what the synthesiser was told: the block each strum was placed
  // on, from the first one. Anything but 0 is time lost after the hand-over.
  const auto block = [](std::int64_t f) { return (f + 32) / 64 * 64; };
  std::vector<std::int64_t> err, placed;
  for (std::size_t k = 1; k < found.size(); ++k) {
    const auto ideal =
        std::llround(static_cast<double>(strumTicks[k] - strumTicks[0]) * framesPerTick);
    err.push_back(std::llabs(found[k] - found[0] - ideal));
    placed.push_back(std::llabs(found[k] - found[0] - (block(told[k]) - block(told[0]))));
  }
  std::printf(
      "live, audible (synthesiser output rendered by its file driver): onset error over %zu "
      "strums (frames): p50 %lld  max %lld\n",
      err.size(), static_cast<long long>(percentile(err, 0.5)),
      static_cast<long long>(percentile(err, 1.0)));
  std::printf(
      "live, audible, against the blocks the synthesiser was told, over %zu strums (frames): "
      "p50 %lld  max %lld\n",
      placed.size(), static_cast<long long>(percentile(placed, 0.5)),
      static_cast<long long>(percentile(placed, 1.0)));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string font = argc > 1 ? argv[1] : SoundFont::findSmallest();
  if (font.empty()) {
    std::printf("no General MIDI soundfont installed\n");
    return 1;
  }
  std::printf("soundfont: %s; %d strums at 250 bpm (about %d s) per run, %u busy threads\n",
              font.c_str(), Strums, Strums / 2, std::max(1u, std::thread::hardware_concurrency()));
  std::fflush(stdout);
  std::vector<std::int64_t> strumTicks;
  const auto events = strumPage(strumTicks);
  clockOnly(events);
  std::fflush(stdout);
  audible(font, events, strumTicks);
  return 0;
}
