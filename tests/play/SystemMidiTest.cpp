#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>

#include "midi/FluidSynthOutput.h"
#include "midi/MidiComponent.h"
#include "midi/SoundFont.h"
#include "midi/SystemClock.h"
#include "midi/SystemMidiDevices.h"
#include "midi/WavFile.h"

namespace {

// Collects messages from the clock thread.
struct WaitingTarget : MidiMessageTarget {
  std::mutex m;
  std::condition_variable cv;
  std::vector<MidiMessage> got;
  void post(const MidiMessage& msg) override {
    std::lock_guard lock(m);
    got.push_back(msg);
    cv.notify_all();
  }
  int count(std::uint32_t code) {
    std::lock_guard lock(m);
    int n = 0;
    for (const auto& g : got) n += g.code == code;
    return n;
  }
  bool waitFor(std::uint32_t code) {
    std::unique_lock lock(m);
    // Only a bound against hanging the suite; this is no timing check.
    return cv.wait_for(lock, std::chrono::seconds(20), [&] {
      for (const auto& g : got)
        if (g.code == code) return true;
      return false;
    });
  }
};

}  // namespace

// Whatever this machine has (a desktop, or no sound card and no sequencer),
// the lists come up, the built-in synthesiser opens, and playing works.
TEST(SystemMidi, TheBuiltInSynthIsDeviceZeroAndPlaysOnTheRealClock) {
  SystemMidiDevices devices(SoundFont::findSmallest());
  SystemClock clock;
  MidiComponent midi(clock, devices);
  ASSERT_GE(midi.GetNumOutDevices(), 1);
  EXPECT_GE(midi.GetNumInDevices(), 0);
  char name[MidiComponent::DescriptionSize];
  ASSERT_NE(midi.GetMidiOutDescription(0, name), 0);
  EXPECT_STREQ(name, SystemMidiDevices::SynthName);

  WaitingTarget target;
  const std::uint32_t sync = midi.OpenSync(0, &target, 0, 10);
  const std::uint32_t out = midi.OpenMidiOut(&target, 0, sync, 78624);
  ASSERT_NE(out, 0u);
  // Ports that do not exist fail to open instead of throwing.
  EXPECT_EQ(midi.OpenMidiIn(&target, 60000, 0, 78624), 0u);
  midi.SetTempo(sync, 60000);  // fast: 480 ticks in 60 ms
  const MidiEvent events[] = {{0, 0xC0, 25, 0, 0},   {0, 0x90, 52, 100, 0}, {0, 1, 4, 2, 3},
                              {240, 0x80, 52, 0, 0}, {0, 2, 7, 0, 0},       {480, 0x90, 0, 0, 0}};
  for (const auto& e : events) EXPECT_EQ(midi.PutMidiOut(out, e), 0u);
  midi.StartSync(sync);
  ASSERT_TRUE(target.waitFor(MidiMessageCode::AllPlayed));
  EXPECT_EQ(target.count(MidiMessageCode::ShowFinger), 1);
  EXPECT_EQ(target.count(MidiMessageCode::BeatMarker), 1);
  EXPECT_EQ(target.count(MidiMessageCode::AllPlayed), 1);
  EXPECT_GE(target.count(MidiMessageCode::Beat), 1);
  midi.StopSync(sync);
  midi.CloseSync(sync);
  midi.CloseMidiOut(out);
}

// The live device through FluidSynth's own (file) audio driver: what it plays
// reaches the audio stream.
TEST(SystemMidi, TheLiveSynthSoundsThroughItsAudioDriver) {
  const std::string font = SoundFont::findSmallest();
  if (font.empty()) GTEST_SKIP() << "no soundfont installed";
  const auto path = std::filesystem::temp_directory_path() /
                    ("strumbo-live-" + std::to_string(getpid()) + ".wav");
  {
    FluidSynthOutput synth(font, {"file:" + path.string()});
    ASSERT_TRUE(synth.waitUntilReady());
    ASSERT_TRUE(synth.hasAudio());
    const std::uint8_t program[] = {0xC0, 0};
    const std::uint8_t on[] = {0x90, 60, 110};
    synth.send(program, 2, 0);
    // The note goes in only once the driver has rendered some silence, so the
    // first samples of the file are known to come before it, however late the
    // driver's thread starts on a busy machine.
    for (int i = 0; i < 200; ++i) {
      std::error_code ec;
      if (std::filesystem::file_size(path, ec) > 44 + 4096 * 2 * 4) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    synth.send(on, 3, 0);
    // The file driver renders in real time; wait (boundedly) for a second of it.
    const auto enough = static_cast<std::uintmax_t>(44100 * 2 * 4);
    for (int i = 0; i < 200; ++i) {
      std::error_code ec;
      if (std::filesystem::file_size(path, ec) > enough) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  WavFile w;
  ASSERT_TRUE(w.read(path.string()));
  std::filesystem::remove(path);
  ASSERT_GT(w.frames(), 44100u / 2);
  float first = 0, loudest = 0;
  for (std::size_t i = 0; i < w.samples.size(); ++i) {
    const float level = std::fabs(w.samples[i]);
    if (i < 64) first = std::max(first, level);
    loudest = std::max(loudest, level);
  }
  EXPECT_LT(first, 1e-4f) << "silence before the soundfont was in";
  EXPECT_GT(loudest, 0.05f);
}
