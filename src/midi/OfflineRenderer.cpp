#include "midi/OfflineRenderer.h"

#include <cmath>

#include "midi/FluidSynthOutput.h"
#include "midi/MidiComponent.h"
#include "midi/VirtualClock.h"

namespace {

constexpr int BlockFrames = 64;  // FluidSynth's rendering block

// Output device 0 of an offline render: hands every message to the renderer
// with its time.
class RenderDevice : public MidiOutputDevice {
 public:
  explicit RenderDevice(OfflineRenderer& r) : r_(r) {}
  void send(const std::uint8_t* bytes, std::size_t length, std::int64_t micros) override {
    r_.apply(bytes, length, micros);
  }
  void silence() override {}

 private:
  OfflineRenderer& r_;
};

class RenderDevices : public MidiDeviceProvider {
 public:
  explicit RenderDevices(OfflineRenderer& r) : r_(r) {}
  std::vector<std::string> outputNames() override { return {"offline"}; }
  std::vector<std::string> inputNames() override { return {}; }
  std::unique_ptr<MidiOutputDevice> openOutput(int index) override {
    return index == 0 ? std::make_unique<RenderDevice>(r_) : nullptr;
  }
  std::unique_ptr<MidiInputDevice> openInput(int) override { return nullptr; }

 private:
  OfflineRenderer& r_;
};

struct RenderTarget : MidiMessageTarget {
  bool room = false;
  bool allPlayed = false;
  void post(const MidiMessage& m) override {
    if (m.code == MidiMessageCode::Room) room = true;
    if (m.code == MidiMessageCode::AllPlayed) allPlayed = true;
  }
};

}  // namespace

OfflineRenderer::OfflineRenderer(const std::string& soundFont, int sampleRate, bool effects)
    : sampleRate_(sampleRate) {
  FluidSynthOutput::quietLogging();
  settings_ = new_fluid_settings();
  fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate);
  fluid_settings_setnum(settings_, "synth.gain", 0.5);
  fluid_settings_setint(settings_, "synth.reverb.active", effects ? 1 : 0);
  fluid_settings_setint(settings_, "synth.chorus.active", effects ? 1 : 0);
  synth_ = new_fluid_synth(settings_);
  if (synth_ && !soundFont.empty()) fontId_ = fluid_synth_sfload(synth_, soundFont.c_str(), 1);
}

OfflineRenderer::~OfflineRenderer() {
  if (synth_) delete_fluid_synth(synth_);
  if (settings_) delete_fluid_settings(settings_);
}

std::int64_t OfflineRenderer::sampleAt(std::int64_t micros) const {
  return static_cast<std::int64_t>(
      std::llround(static_cast<double>(micros) * sampleRate_ / 1'000'000.0));
}

void OfflineRenderer::renderTo(std::int64_t frame) {
  if (!out_ || !synth_) return;
  const std::int64_t have = static_cast<std::int64_t>(out_->frames());
  if (frame <= have) return;
  out_->samples.resize(static_cast<std::size_t>(frame) * 2);
  float* buf = out_->samples.data();
  for (std::int64_t at = have; at < frame;) {
    const int n = static_cast<int>(std::min<std::int64_t>(frame - at, 4096));
    fluid_synth_write_float(synth_, n, buf, static_cast<int>(2 * at), 2, buf,
                            static_cast<int>(2 * at + 1), 2);
    at += n;
  }
}

void OfflineRenderer::apply(const std::uint8_t* bytes, std::size_t length, std::int64_t micros) {
  renderTo(sampleAt(micros) - BlockFrames / 2);
  FluidSynthOutput::apply(synth_, bytes, length);
}

WavFile OfflineRenderer::render(const std::vector<MidiEvent>& events, std::int32_t microsPerQuarter,
                                double tailSeconds) {
  WavFile wav;
  wav.sampleRate = sampleRate_;
  wav.channels = 2;
  if (!synth_) return wav;
  // Whatever the last render left sounding is cut off, and the scratch blocks
  // put the synthesiser on a block boundary at frame 0.
  fluid_synth_all_sounds_off(synth_, -1);
  float scratch[2 * 2 * BlockFrames];
  fluid_synth_write_float(synth_, 2 * BlockFrames, scratch, 0, 2, scratch, 1, 2);
  fluid_synth_system_reset(synth_);
  fluid_synth_write_float(synth_, 2 * BlockFrames, scratch, 0, 2, scratch, 1, 2);
  out_ = &wav;

  VirtualClock clock(0);
  RenderDevices devices(*this);
  MidiComponent midi(clock, devices, 256);
  RenderTarget target;
  const std::uint32_t sync = midi.OpenSync(0, &target, 0, 10);
  const std::uint32_t output = midi.OpenMidiOut(&target, 0, sync, 78624);
  midi.SetTempo(sync, microsPerQuarter);
  std::size_t next = 0;
  auto fill = [&] {
    while (next < events.size() && midi.PutMidiOut(output, events[next]) == 0) ++next;
  };
  fill();
  midi.StartSync(sync);
  while (!target.allPlayed) {
    if (target.room) {
      target.room = false;
      fill();
    }
    const std::int64_t due = midi.nextDue();
    if (due == MidiScheduler::Never) break;
    midi.advanceTo(due);
  }
  const std::int64_t end =
      sampleAt(clock.nowMicros()) + static_cast<std::int64_t>(tailSeconds * sampleRate_);
  renderTo(end);
  midi.CloseSync(sync);
  midi.CloseMidiOut(output);
  out_ = nullptr;
  return wav;
}
