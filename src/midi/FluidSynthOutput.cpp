#include "midi/FluidSynthOutput.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iterator>

namespace {

void logErrors(int level, const char* message, void*) {
  if (level <= FLUID_ERR) std::fprintf(stderr, "strumbo: fluidsynth: %s\n", message);
}

void dropMessage(int, const char*, void*) {}

}  // namespace

void FluidSynthOutput::quietLogging() {
  static std::once_flag once;
  std::call_once(once, [] {
    fluid_set_log_function(FLUID_PANIC, logErrors, nullptr);
    // Failing audio drivers are expected on a headless machine and are
    // reported once by the device, not line by line by every driver tried.
    fluid_set_log_function(FLUID_ERR, dropMessage, nullptr);
    fluid_set_log_function(FLUID_WARN, dropMessage, nullptr);
    fluid_set_log_function(FLUID_INFO, dropMessage, nullptr);
    fluid_set_log_function(FLUID_DBG, dropMessage, nullptr);
  });
}

std::vector<std::string> FluidSynthOutput::defaultDrivers() {
  // Sound servers first, then the hardware; JACK is left out because a
  // client may try to start a server of its own.
  return {"pulseaudio", "pipewire", "alsa", "sdl2", "oss"};
}

bool FluidSynthOutput::loadOnDemand(const std::string& soundFont) {
  // A small SF2 font loads whole in a moment; FluidSynth 2.3 loading on demand
  // also plays some of them audibly differently (TimGM6mb). Compressed fonts
  // are unpacked to several times their size, so they always load on demand.
  namespace fs = std::filesystem;
  std::error_code ec;
  const auto size = fs::file_size(soundFont, ec);
  const bool sf2 = fs::path(soundFont).extension() == ".sf2";
  return !ec && (!sf2 || size > 32u * 1024 * 1024);
}

FluidSynthOutput::FluidSynthOutput(std::string soundFont, std::vector<std::string> audioDrivers,
                                   Samples samples)
    : soundFont_(std::move(soundFont)),
      drivers_(std::move(audioDrivers)),
      onDemand_(samples == Samples::OnDemand || loadOnDemand(soundFont_)) {
  quietLogging();
  for (int& p : programs_) p = -1;
  event_ = new_fluid_event();
  worker_ = std::thread(&FluidSynthOutput::startUp, this);
}

FluidSynthOutput::~FluidSynthOutput() {
  if (worker_.joinable()) worker_.join();
  if (auto* a = audio_.exchange(nullptr)) delete_fluid_audio_driver(a);
  // The sequencer's timer lives in the synthesiser: it goes first.
  if (auto* q = sequencer_.exchange(nullptr)) delete_fluid_sequencer(q);
  if (auto* s = synth_.exchange(nullptr)) delete_fluid_synth(s);
  if (event_) delete_fluid_event(event_);
  if (settings_) delete_fluid_settings(settings_);
}

void FluidSynthOutput::startUp() {
  // Loading tens of megabytes of samples must not compete with the window's
  // first paint; on Linux a nice value applies to this thread alone.
  setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
  settings_ = new_fluid_settings();
  // 2 x 256 frames at 44.1 kHz: about 12 ms from a note to the speaker.
  fluid_settings_setint(settings_, "audio.period-size", 256);
  fluid_settings_setint(settings_, "audio.periods", 2);
  fluid_settings_setnum(settings_, "synth.gain", 0.5);
  fluid_settings_setint(settings_, "synth.dynamic-sample-loading", onDemand_ ? 1 : 0);
  fluid_synth_t* synth = new_fluid_synth(settings_);
  if (!synth) return;
  synth_.store(synth);
  // Registered before anything is rendered, the sequencer's block timer counts
  // from the synthesiser's frame 0, which sequencerTime() relies on.
  fluid_settings_getnum(settings_, "synth.sample-rate", &sampleRate_);
  if (fluid_sequencer_t* seq = new_fluid_sequencer2(0)) {
    synthId_ = fluid_sequencer_register_fluidsynth(seq, synth);
    if (synthId_ >= 0)
      sequencer_.store(seq);
    else
      delete_fluid_sequencer(seq);
  }
  for (const std::string& driver : drivers_) {
    // Without a sound card the ALSA library reports its failure at length.
    if (driver == "alsa" && ::access("/dev/snd", F_OK) != 0) continue;
    if (driver == "oss" && ::access("/dev/dsp", F_OK) != 0) continue;
    if (driver.rfind("file:", 0) == 0) {
      fluid_settings_setstr(settings_, "audio.driver", "file");
      fluid_settings_setstr(settings_, "audio.file.name", driver.substr(5).c_str());
      fluid_settings_setstr(settings_, "audio.file.type", "wav");
      fluid_settings_setstr(settings_, "audio.file.format", "float");  // 16 bits would be dithered
    } else {
      fluid_settings_setstr(settings_, "audio.driver", driver.c_str());
    }
    if (auto* a = new_fluid_audio_driver(settings_, synth)) {
      audio_.store(a);
      break;
    }
  }
  if (!audio_.load())
    std::fprintf(stderr, "strumbo: no audio output found; the built-in synthesiser is silent\n");
  // Without resetting the presets: that would select the default piano on
  // fifteen channels and load its samples for nothing.
  const bool ok = !soundFont_.empty() && fluid_synth_sfload(synth, soundFont_.c_str(), 0) >= 0;
  if (!ok) std::fprintf(stderr, "strumbo: no General MIDI soundfont could be loaded\n");
  noFont_.store(!ok);
  // Selecting a program loads its samples, which takes a while: it is done
  // outside the lock, and again for whatever was chosen meanwhile.
  int selected[16];
  for (int& p : selected) p = -1;
  for (;;) {
    int wanted[16];
    {
      std::lock_guard lock(mutex_);
      if (!ok || std::equal(std::begin(selected), std::end(selected), std::begin(programs_))) {
        fontLoaded_ = true;
        fontOk_ = ok;
        break;
      }
      std::copy(std::begin(programs_), std::end(programs_), std::begin(wanted));
    }
    for (int ch = 0; ch < 16; ++ch)
      if (wanted[ch] >= 0 && wanted[ch] != selected[ch])
        fluid_synth_program_change(synth, ch, wanted[ch]);
    std::copy(std::begin(wanted), std::end(wanted), std::begin(selected));
  }
  ready_.store(true);
}

bool FluidSynthOutput::waitUntilReady() {
  if (worker_.joinable()) worker_.join();
  std::lock_guard lock(mutex_);
  return fontOk_;
}

void FluidSynthOutput::apply(fluid_synth_t* synth, const std::uint8_t* b, std::size_t length) {
  if (!synth || length < 2) return;
  const int ch = b[0] & 0x0F;
  const int d1 = b[1] & 0x7F;
  const int d2 = length > 2 ? b[2] & 0x7F : 0;
  switch (b[0] & 0xF0) {
    case 0x80:
      fluid_synth_noteoff(synth, ch, d1);
      break;
    case 0x90:
      fluid_synth_noteon(synth, ch, d1, d2);
      break;  // velocity 0 ends the note
    case 0xA0:
      fluid_synth_key_pressure(synth, ch, d1, d2);
      break;
    case 0xB0:
      fluid_synth_cc(synth, ch, d1, d2);
      break;
    case 0xC0:
      fluid_synth_program_change(synth, ch, d1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(synth, ch, d1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(synth, ch, d1 | d2 << 7);
      break;
    default:
      break;
  }
}

void FluidSynthOutput::send(const std::uint8_t* bytes, std::size_t length,
                            std::int64_t timeMicros) {
  bool selectDefault = false;
  if (length >= 2) {
    const int ch = bytes[0] & 0x0F;
    std::lock_guard lock(mutex_);
    if ((bytes[0] & 0xF0) == 0xC0) {
      programs_[ch] = bytes[1] & 0x7F;
    } else if ((bytes[0] & 0xF0) == 0x90 && fontLoaded_ && programs_[ch] < 0) {
      // What a reset would have chosen: the first program, or the drum kit
      // on the percussion channel.
      programs_[ch] = 0;
      selectDefault = true;
    }
  }
  fluid_synth_t* synth = synth_.load();
  // A program chosen for a channel that had none affects nothing sounding, so
  // it is selected at once, off the audio thread.
  if (selectDefault) fluid_synth_program_change(synth, bytes[0] & 0x0F, 0);
  // A program change is made at once, not on the audio thread: selecting a
  // preset may load its samples from disk. The players choose their programs
  // before any note of a play, so nothing waiting in the sequencer needs the
  // old one.
  fluid_sequencer_t* seq = sequencer_.load();
  if (anchored_ && seq && length >= 2 && (bytes[0] & 0xF0) != 0xC0) {
    schedule(seq, bytes, length, sequencerTime(frameOf(timeMicros), sampleRate_));
    return;
  }
  apply(synth, bytes, length);
}

std::int64_t FluidSynthOutput::frameOf(std::int64_t micros) const {
  const double frames = static_cast<double>(micros - anchorMicros_) * sampleRate_ / 1e6;
  return std::max<std::int64_t>(anchorFrame_ + std::llround(frames), 0);
}

unsigned int FluidSynthOutput::sequencerTime(std::int64_t frame, double sampleRate) {
  const std::int64_t nearest = (std::max<std::int64_t>(frame, 0) + BlockFrames / 2) / BlockFrames;
  // A note the sequencer plays at the start of a block sounds from the next
  // one, so it goes to the block before. The same sum as the synthesiser's
  // block timer, so the millisecond it reports at that block is this one.
  const double blockStart =
      static_cast<double>(std::max<std::int64_t>(nearest - 1, 0) * BlockFrames);
  return static_cast<unsigned int>(static_cast<long>(1000.0 * blockStart / sampleRate));
}

void FluidSynthOutput::schedule(fluid_sequencer_t* seq, const std::uint8_t* b, std::size_t length,
                                unsigned int time) {
  const int ch = b[0] & 0x0F;
  const int d1 = b[1] & 0x7F;
  const int d2 = length > 2 ? b[2] & 0x7F : 0;
  fluid_event_t* e = event_;
  fluid_event_set_source(e, -1);
  fluid_event_set_dest(e, synthId_);
  switch (b[0] & 0xF0) {
    case 0x90:
      if (d2 > 0) {
        fluid_event_noteon(e, ch, static_cast<short>(d1), static_cast<short>(d2));
        noteOnAt_[ch][d1] = time + 1;
        break;
      }
      [[fallthrough]];
    case 0x80:
      // The sequencer plays note-ons last among events of the same time: a
      // note ended in the block it starts in would sound on for ever, so its
      // end goes to the next block.
      if (noteOnAt_[ch][d1] != 0 && time < noteOnAt_[ch][d1]) time = noteOnAt_[ch][d1];
      fluid_event_noteoff(e, ch, static_cast<short>(d1));
      break;
    case 0xA0:
      fluid_event_key_pressure(e, ch, static_cast<short>(d1), d2);
      break;
    case 0xB0:
      fluid_event_control_change(e, ch, static_cast<short>(d1), d2);
      break;
    case 0xC0:
      fluid_event_program_change(e, ch, d1);
      break;
    case 0xD0:
      fluid_event_channel_pressure(e, ch, d1);
      break;
    case 0xE0:
      fluid_event_pitch_bend(e, ch, d1 | d2 << 7);
      break;
    default:
      return;
  }
  fluid_sequencer_send_at(seq, e, time, 1);
}

void FluidSynthOutput::anchor(std::int64_t nowMicros) {
  fluid_sequencer_t* seq = sequencer_.load();
  // With no audio driver running nothing renders, so nothing would ever leave
  // the sequencer; opened without drivers, the owner renders by hand.
  anchored_ = seq && (audio_.load() || drivers_.empty());
  if (!anchored_) return;
  // The sequencer's time is that of the last block rendered, to the millisecond:
  // an offset that is the same for the whole play.
  anchorFrame_ = std::llround(fluid_sequencer_get_tick(seq) * sampleRate_ / 1000.0);
  anchorMicros_ = nowMicros;
}

void FluidSynthOutput::withdraw() {
  if (fluid_sequencer_t* seq = sequencer_.load())
    fluid_sequencer_remove_events(seq, -1, synthId_, -1);
}

void FluidSynthOutput::preload(int channel, int program) {
  if (channel < 0 || channel > 15 || program < 0 || program > 127) return;
  bool now = false;
  {
    std::lock_guard lock(mutex_);
    programs_[channel] = program;
    now = fontLoaded_ && fontOk_;
  }
  // Only when the worker finished first, which it hardly ever does.
  if (now) fluid_synth_program_change(synth_.load(), channel, program);
}

void FluidSynthOutput::silence() {
  withdraw();
  if (auto* s = synth_.load()) fluid_synth_all_notes_off(s, -1);
}
