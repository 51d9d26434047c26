#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <mutex>

#include "play/midi/FluidSynthOutput.h"
#include "play/midi/MidiComponent.h"
#include "play/midi/SoundFont.h"
#include "play/midi/SystemClock.h"
#include "play/midi/SystemMidiDevices.h"

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

TEST(SystemMidi, TheSynthLoadsItsFontOffTheCallersThreadAndWorksWithoutAudio) {
  const std::string font = SoundFont::findSmallest();
  if (font.empty()) GTEST_SKIP() << "no soundfont installed";
  FluidSynthOutput synth(font);
  const std::uint8_t program[] = {0xC0, 25};
  synth.send(program, 2, 0);  // before the font is in: chosen again once it is
  EXPECT_TRUE(synth.waitUntilReady());
  const std::uint8_t on[] = {0x90, 60, 100};
  synth.send(on, 3, 0);
  synth.silence();

  FluidSynthOutput noFont("/nonexistent.sf2");
  EXPECT_FALSE(noFont.waitUntilReady());
  noFont.send(on, 3, 0);  // silent, but no crash
}
