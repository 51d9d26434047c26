#include "play/midi/FluidSynthOutput.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

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

FluidSynthOutput::FluidSynthOutput(std::string soundFont, std::vector<std::string> audioDrivers)
    : soundFont_(std::move(soundFont)), drivers_(std::move(audioDrivers)) {
  quietLogging();
  for (int& p : programs_) p = -1;
  worker_ = std::thread(&FluidSynthOutput::startUp, this);
}

FluidSynthOutput::~FluidSynthOutput() {
  if (worker_.joinable()) worker_.join();
  if (auto* a = audio_.exchange(nullptr)) delete_fluid_audio_driver(a);
  if (auto* s = synth_.exchange(nullptr)) delete_fluid_synth(s);
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
  fluid_synth_t* synth = new_fluid_synth(settings_);
  if (!synth) return;
  synth_.store(synth);
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
  const bool ok = !soundFont_.empty() && fluid_synth_sfload(synth, soundFont_.c_str(), 1) >= 0;
  if (!ok) std::fprintf(stderr, "strumbo: no General MIDI soundfont could be loaded\n");
  std::lock_guard lock(mutex_);
  fontLoaded_ = true;
  fontOk_ = ok;
  for (int ch = 0; ch < 16; ++ch)
    if (programs_[ch] >= 0) fluid_synth_program_change(synth, ch, programs_[ch]);
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

void FluidSynthOutput::send(const std::uint8_t* bytes, std::size_t length, std::int64_t) {
  if (length >= 2 && (bytes[0] & 0xF0) == 0xC0) {
    std::lock_guard lock(mutex_);
    programs_[bytes[0] & 0x0F] = bytes[1] & 0x7F;
  }
  apply(synth_.load(), bytes, length);
}

void FluidSynthOutput::silence() {
  if (auto* s = synth_.load()) fluid_synth_all_notes_off(s, -1);
}
