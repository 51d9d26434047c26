// Prints the timing figures of the MIDI component:
//  - live clock lateness (p50/p99/max) over 2000 events at 100 beats per minute,
//    played through the built-in synthesiser on the real clock;
//  - offline render onset error against the ideal time, for our renderer and
//    for the same events as a standard MIDI file rendered by `fluidsynth -F`.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "Onsets.h"
#include "TimingDevices.h"
#include "midi/FluidSynthOutput.h"
#include "midi/MidiComponent.h"
#include "midi/OfflineRenderer.h"
#include "midi/SoundFont.h"
#include "midi/StandardMidiFile.h"
#include "midi/SystemClock.h"
#include "midi/WavFile.h"

namespace {

// A page-like stream: per eighth-note slot a click, a six-string release and
// a six-string strum 16 ticks apart, 240 ticks in all.
std::vector<MidiEvent> pageEvents(int count) {
  std::vector<MidiEvent> ev{{0, 0xC0, 25, 0, 0}, {0, 0xC1, 33, 0, 0}, {0, 0xC9, 0, 0, 0}};
  const std::uint8_t chord[6] = {64, 59, 55, 52, 48, 40};
  while (static_cast<int>(ev.size()) < count) {
    ev.push_back({20, 0x99, 34, 65, 0});
    for (int s = 0; s < 6; ++s) ev.push_back({0, 0x80, chord[s], 100, 0});
    for (int s = 5; s >= 0; --s) ev.push_back({s == 5 ? 0 : 16, 0x90, chord[s], 100, 0});
    ev.push_back({220 - 16 * 5, 0x89, 34, 0, 0});
  }
  ev.resize(static_cast<std::size_t>(count));
  return ev;
}

void liveLateness(const std::string& font, const char* what) {
  SystemClock clock;
  std::vector<std::int64_t> lateness;
  lateness.reserve(2100);
  TimingDevices devices(clock, lateness, font);
  MidiComponent midi(clock, devices, 256);
  PlayedTarget target;
  const auto sync = midi.OpenSync(0, &target, 0, 10);
  const auto out = midi.OpenMidiOut(&target, 0, sync, 78624);
  midi.SetTempo(sync, 600000);  // 100 beats per minute
  const auto events = pageEvents(2000);
  std::printf("live, %s: %zu events at 100 bpm (about %.0f s)...\n", what, events.size(),
              events.size() / 26.0 * 0.3);
  std::fflush(stdout);
  playWhole(midi, sync, out, events, target);
  midi.CloseSync(sync);
  midi.CloseMidiOut(out);
  std::printf("live clock lateness, %s, over %zu events (us): p50 %lld  p99 %lld  max %lld\n", what,
              lateness.size(), static_cast<long long>(percentile(lateness, 0.50)),
              static_cast<long long>(percentile(lateness, 0.99)),
              static_cast<long long>(percentile(lateness, 1.0)));
}

// Isolated notes far enough apart for each release to end in silence.
std::vector<MidiEvent> isolatedNotes(int count, std::vector<std::int64_t>& idealTicks) {
  std::vector<MidiEvent> ev{{0, 0xC0, 24, 0, 0}};
  std::int64_t tick = 0, last = 0;
  for (int k = 0; k < count; ++k) {
    tick = k == 0 ? 0 : tick + 2880 + 7 * k;  // 3 s apart at 120 bpm, shifted against the blocks
    ev.push_back({static_cast<std::int32_t>(tick - last), 0x90, 60, 110, 0});
    ev.push_back({96, 0x80, 60, 0, 0});
    last = tick + 96;
    idealTicks.push_back(tick);
  }
  return ev;
}

void report(const char* what, const std::vector<std::int64_t>& found,
            const std::vector<std::int64_t>& idealTicks, double framesPerTick) {
  if (found.size() != idealTicks.size()) {
    std::printf("%s: found %zu onsets for %zu notes\n", what, found.size(), idealTicks.size());
    return;
  }
  // The first note, at time 0, gives the voice's own lead-in.
  const std::int64_t lead = found[0];
  std::vector<std::int64_t> err;
  std::int64_t worst = 0;
  double sum = 0;
  for (std::size_t k = 1; k < found.size(); ++k) {
    const auto ideal = std::llround(static_cast<double>(idealTicks[k]) * framesPerTick);
    const std::int64_t e = found[k] - lead - ideal;
    const std::int64_t a = e < 0 ? -e : e;
    err.push_back(a);
    worst = std::max(worst, a);
    sum += static_cast<double>(a);
  }
  std::printf(
      "%s: onset error vs ideal over %zu notes (frames): mean |e| %.1f  p50 %lld  max %lld\n", what,
      err.size(), sum / static_cast<double>(err.size()),
      static_cast<long long>(percentile(err, 0.5)), static_cast<long long>(worst));
}

void offline(const std::string& font) {
  std::vector<std::int64_t> idealTicks;
  const auto events = isolatedNotes(20, idealTicks);
  const double framesPerTick = 500000.0 / 480 * 44100 / 1e6;
  OfflineRenderer r(font);
  const WavFile ours = r.render(events, 500000, 3.0);
  report("offline (ours)", onsets(ours, 0.0f, 2000), idealTicks, framesPerTick);

  const auto dir =
      std::filesystem::temp_directory_path() / ("strumbo-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string mid = (dir / "notes.mid").string(), wav = (dir / "fs.wav").string();
  StandardMidiFile::write(mid, events, 500000);
  const std::string cmd = "fluidsynth -ni -q -R 0 -C 0 -g 0.5 -r 44100 -O float -T wav -F '" + wav +
                          "' '" + font + "' '" + mid + "' > /dev/null 2>&1";
  WavFile theirs;
  if (std::system(cmd.c_str()) == 0 && theirs.read(wav)) {
    report("fluidsynth -F   ", onsets(theirs, 0.0f, 2000), idealTicks, framesPerTick);
  } else {
    std::printf("fluidsynth -F: not available (install the fluidsynth package)\n");
  }
  std::filesystem::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string font = argc > 1 ? argv[1] : SoundFont::findSmallest();
  if (font.empty()) {
    std::printf("no General MIDI soundfont installed\n");
    return 1;
  }
  std::printf("soundfont: %s\n", font.c_str());
  offline(font);
  liveLateness({}, "clock only");
  liveLateness(font, "into the built-in synthesiser");
  return 0;
}
