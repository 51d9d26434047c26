#pragma once

#include <fluidsynth.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "midi/MidiDevices.h"

// Output device 0: FluidSynth playing through its own audio driver with short
// buffers. The synthesiser, the audio driver and the soundfont come up on a
// worker thread, so opening the device never holds up the window; notes sent
// before the synthesiser exists are not heard. When no audio driver starts (no
// sound card, no audio server) the device still takes every message and plays
// nothing.
// A large soundfont's samples are loaded on demand: a General MIDI one is well
// over a hundred megabytes, and a page plays three of its instruments. FluidSynth
// loads a preset's samples when a channel selects it, on the thread that
// selects it, so the voices preloaded (and any program chosen before the
// soundfont is in) are selected by the worker before the device is ready; a
// channel never given a program selects the default one at its first note.
class FluidSynthOutput : public MidiOutputDevice {
 public:
  // FluidSynth audio driver names, tried in order; "file:PATH" records to a
  // WAV file in real time instead of playing.
  static std::vector<std::string> defaultDrivers();
  enum class Samples { BySize, OnDemand };
  explicit FluidSynthOutput(std::string soundFont,
                            std::vector<std::string> audioDrivers = defaultDrivers(),
                            Samples samples = Samples::BySize);
  // Whether a soundfont is worth loading on demand.
  static bool loadOnDemand(const std::string& soundFont);
  ~FluidSynthOutput() override;

  void send(const std::uint8_t* bytes, std::size_t length, std::int64_t timeMicros) override;
  void silence() override;
  void preload(int channel, int program) override;
  bool ready() const override { return ready_.load(); }
  // No soundfont found, or the one found did not load.
  bool silent() const override { return soundFont_.empty() || noFont_.load(); }

  // Blocks until the worker is done; true when a soundfont loaded.
  bool waitUntilReady();
  bool hasAudio() const { return audio_.load() != nullptr; }
  // For tests that render it by hand (opened without audio drivers).
  fluid_synth_t* synth() const { return synth_.load(); }

  // Plays one channel message on `synth`; shared with the offline renderer.
  static void apply(fluid_synth_t* synth, const std::uint8_t* bytes, std::size_t length);
  // Routes FluidSynth's own log to stderr for errors only, once per process.
  static void quietLogging();

 private:
  void startUp();

  std::string soundFont_;
  std::vector<std::string> drivers_;
  bool onDemand_;
  fluid_settings_t* settings_ = nullptr;  // made and used by the worker, freed at the end
  std::atomic<fluid_synth_t*> synth_{nullptr};
  std::atomic<fluid_audio_driver_t*> audio_{nullptr};
  std::mutex mutex_;  // programs_, fontLoaded_ and fontOk_
  int programs_[16];  // the program chosen on each channel, -1 for none yet
  bool fontLoaded_ = false;
  bool fontOk_ = false;
  std::atomic<bool> ready_{false};
  std::atomic<bool> noFont_{false};
  std::thread worker_;
};
