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
// Once anchored, every message but a program change goes through FluidSynth's
// sequencer, which runs on the synthesiser's own sample clock (no system
// timer: the synthesiser advances it as it renders each 64-frame block). The
// anchor pairs a moment of the program's clock with the sequencer's time, so a
// message due at T is placed on the block nearest its exact frame, however
// late the thread that sends it wakes.
// Threads: the sequencer is fed on the sending thread (the clock thread, or
// the window's at a start) and drained on the audio driver's thread as it
// renders; FluidSynth's sequencer calls lock its queue for both, so the MIDI
// component's queue lock is never held across them. anchor(), send(),
// withdraw() and silence() are called one at a time (the component holds its
// device lock for each), so the anchor itself needs no lock.
class FluidSynthOutput : public MidiOutputDevice {
 public:
  // How far ahead an event is sent: enough for the clock thread to wake late
  // on a busy machine and for the audio driver to render a period ahead.
  static constexpr std::int64_t LeadMicros = 40'000;
  static constexpr int BlockFrames = 64;  // FluidSynth's rendering block

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

  // Plays at once until anchored; then places the message at `timeMicros`.
  void send(const std::uint8_t* bytes, std::size_t length, std::int64_t timeMicros) override;
  // Drops what the sequencer holds and ends every sounding note.
  void silence() override;
  std::int64_t leadMicros() const override { return LeadMicros; }
  // Without a synthesiser yet (still starting up), or with no audio driver
  // running, the device stays unanchored.
  void anchor(std::int64_t nowMicros) override;
  void withdraw() override;
  bool anchored() const { return anchored_; }
  // The frame of the synthesiser's clock an event due at `micros` belongs to.
  std::int64_t frameOf(std::int64_t micros) const;
  // The sequencer time (milliseconds of the synthesiser's sample clock, as its
  // block timer counts them) that makes an event sound from the block boundary
  // nearest `frame`: a block is 1.45 ms, so each block has a millisecond of
  // its own.
  static unsigned int sequencerTime(std::int64_t frame, double sampleRate);
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
  void schedule(fluid_sequencer_t* seq, const std::uint8_t* bytes, std::size_t length,
                unsigned int time);

  std::string soundFont_;
  std::vector<std::string> drivers_;
  bool onDemand_;
  fluid_settings_t* settings_ = nullptr;  // made and used by the worker, freed at the end
  std::atomic<fluid_synth_t*> synth_{nullptr};
  std::atomic<fluid_audio_driver_t*> audio_{nullptr};
  // Published after synthId_ and sampleRate_ are set.
  std::atomic<fluid_sequencer_t*> sequencer_{nullptr};
  fluid_seq_id_t synthId_ = -1;
  double sampleRate_ = 44100;
  fluid_event_t* event_ = nullptr;  // reused for every message sent ahead
  bool anchored_ = false;
  std::int64_t anchorMicros_ = 0, anchorFrame_ = 0;
  // Sequencer time + 1 of each key's last note-on sent ahead, 0 for none.
  unsigned int noteOnAt_[16][128] = {};
  std::mutex mutex_;  // programs_, fontLoaded_ and fontOk_
  int programs_[16];  // the program chosen on each channel, -1 for none yet
  bool fontLoaded_ = false;
  bool fontOk_ = false;
  std::atomic<bool> ready_{false};
  std::atomic<bool> noFont_{false};
  std::thread worker_;
};
