#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "midi/FluidSynthOutput.h"
#include "midi/SoundFont.h"

// The built-in synthesiser placing what it is sent ahead of time on its own
// sample clock. It is opened without an audio driver and rendered here block
// by block, so its clock is exactly the frames rendered.
namespace {

struct Timeline : ::testing::Test {
  void SetUp() override {
    const std::string font = SoundFont::findSmallest();
    if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    synth = std::make_unique<FluidSynthOutput>(font, std::vector<std::string>{});
    ASSERT_TRUE(synth->waitUntilReady());
    s = synth->synth();
    // Dry, so that a note's first sample is its onset and silence is zero.
    fluid_synth_reverb_on(s, -1, 0);
    fluid_synth_chorus_on(s, -1, 0);
    const std::uint8_t guitar[] = {0xC0, 25};
    synth->send(guitar, 2, 0);
  }

  // Renders up to `frame` and keeps the loudest channel of each frame.
  void renderTo(std::int64_t frame) {
    float buf[2 * FluidSynthOutput::BlockFrames];
    while (static_cast<std::int64_t>(level.size()) < frame) {
      fluid_synth_write_float(s, FluidSynthOutput::BlockFrames, buf, 0, 2, buf, 1, 2);
      for (int i = 0; i < FluidSynthOutput::BlockFrames; ++i)
        level.push_back(std::max(std::fabs(buf[2 * i]), std::fabs(buf[2 * i + 1])));
    }
  }
  // The first sounding frame at or after `from`, or -1.
  std::int64_t onsetFrom(std::int64_t from) const {
    for (auto f = static_cast<std::size_t>(from); f < level.size(); ++f)
      if (level[f] > 0) return static_cast<std::int64_t>(f);
    return -1;
  }
  void send(std::uint8_t status, std::uint8_t key, std::uint8_t velocity, std::int64_t micros) {
    const std::uint8_t b[] = {status, key, velocity};
    synth->send(b, 3, micros);
  }
  static std::int64_t microsOf(double frame) { return std::llround(frame * 1e6 / 44100.0); }

  std::unique_ptr<FluidSynthOutput> synth;
  fluid_synth_t* s = nullptr;
  std::vector<float> level;
};

}  // namespace

TEST(SequencerTime, EachBlockHasAMillisecondThatLandsOnIt) {
  // The synthesiser's block timer reports floor(1000 * frame / rate) at each
  // block start, and what the sequencer plays there sounds from the next
  // block: the time for a frame must be the one of the block before its
  // nearest, and no earlier block may reach it.
  for (const double rate : {44100.0, 48000.0, 22050.0}) {
    for (std::int64_t frame = 64; frame < 200'000; frame += 37) {
      const std::int64_t block = (frame + 32) / 64 * 64 - 64;
      const unsigned t = FluidSynthOutput::sequencerTime(frame, rate);
      const auto at = [&](std::int64_t b) {
        return static_cast<unsigned>(static_cast<long>(1000.0 * static_cast<double>(b) / rate));
      };
      ASSERT_EQ(t, at(block)) << rate << " " << frame;
      if (block > 0) {
        ASSERT_LT(at(block - 64), t) << "the block before must not take it";
      }
    }
  }
  EXPECT_EQ(FluidSynthOutput::sequencerTime(-500, 44100), 0u);
}

TEST_F(Timeline, EventsSentAheadStartOnTheBlockNearestTheirDueFrame) {
  renderTo(640);  // the clock has moved on before the play starts
  synth->anchor(1'000'000);
  // Anchored at the last block rendered (frame 576), to the millisecond.
  const std::int64_t base = synth->frameOf(1'000'000);
  EXPECT_NEAR(static_cast<double>(base), 13 * 44.1, 1.0);
  // Due times that fall at odd places between blocks, all sent at once, in
  // order, long before they are due; each is stopped before the next.
  const double offsets[] = {3000.0, 3000.0 + 44100 + 20.6, 3000.0 + 2 * 44100 + 40.2,
                            3000.0 + 3 * 44100 + 31.0, 3000.0 + 4 * 44100 + 33.0};
  for (const double off : offsets) {
    const std::int64_t due = 1'000'000 + microsOf(off);
    send(0x90, 52, 110, due);
    send(0x80, 52, 0, due + 30'000);
  }
  renderTo(base + 3000 + 5 * 44100);
  for (const double off : offsets) {
    const std::int64_t exact = synth->frameOf(1'000'000 + microsOf(off));
    const std::int64_t nearest = (exact + 32) / 64 * 64;
    // A note's first sample is zero: it sounds from the one after.
    EXPECT_EQ(onsetFrom(exact - 2000), nearest + 1) << "due at frame " << exact;
  }
}

TEST_F(Timeline, SilenceDropsWhatIsHeldAndWithdrawKeepsWhatSounds) {
  synth->anchor(0);
  send(0x90, 52, 110, 0);
  send(0x90, 59, 110, microsOf(8000));
  renderTo(4000);
  ASSERT_EQ(onsetFrom(0), 64 + 1);
  // The note already sounding goes on; the one held is gone.
  synth->withdraw();
  renderTo(20'000);
  EXPECT_GT(level[7999], 0.f) << "the sounding note was cut";
  EXPECT_EQ(fluid_synth_get_active_voice_count(s) > 0, true);
  const int sounding = fluid_synth_get_active_voice_count(s);
  send(0x80, 52, 0, microsOf(21'000));
  send(0x90, 64, 110, microsOf(30'000));
  // A stop: silence at once, and nothing held may come later.
  synth->silence();
  renderTo(80'000);
  EXPECT_EQ(fluid_synth_get_active_voice_count(s), 0) << sounding << " voices before";
  EXPECT_EQ(onsetFrom(60'000), -1) << "a note held before the stop sounded after it";
}

TEST_F(Timeline, AnEventArrivingLateStillPlaysAtOnce) {
  synth->anchor(0);
  renderTo(8000);
  send(0x90, 52, 110, microsOf(3000));  // its block is long rendered
  renderTo(12'000);
  EXPECT_EQ(onsetFrom(0), 8000 + 64 + 1);
}

TEST_F(Timeline, ANoteEndedInTheBlockItStartsInDoesNotHang) {
  synth->anchor(0);
  // Both land on the block at 1024; the sequencer would play the note-on last.
  send(0x90, 52, 110, microsOf(1020));
  send(0x90, 52, 0, microsOf(1030));
  send(0x91, 40, 110, microsOf(2040));
  send(0x81, 40, 0, microsOf(2050));
  renderTo(4000);
  EXPECT_EQ(onsetFrom(0), 1024 + 1);
  renderTo(5 * 44100);
  EXPECT_EQ(fluid_synth_get_active_voice_count(s), 0);
}

TEST_F(Timeline, AProgramChangeHandedOverAheadIsMadeAtOnce) {
  synth->anchor(0);
  const std::uint8_t bass[] = {0xC1, 33};
  synth->send(bass, 2, 5'000'000);
  fluid_preset_t* p = fluid_synth_get_channel_preset(s, 1);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(fluid_preset_get_num(p), 33);
}

TEST_F(Timeline, UnanchoredItPlaysWhatItIsSentAtOnce) {
  renderTo(640);
  EXPECT_FALSE(synth->anchored());
  send(0x90, 52, 110, 5'000'000);
  renderTo(2000);
  EXPECT_EQ(onsetFrom(0), 640 + 1);
}

TEST(SynthWithoutAudio, StaysUnanchoredSoNothingPilesUpUnrendered) {
  const std::string font = SoundFont::findSmallest();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  // As on a machine without sound: every driver tried fails.
  FluidSynthOutput synth(font, {"no-such-driver"});
  ASSERT_TRUE(synth.waitUntilReady());
  ASSERT_FALSE(synth.hasAudio());
  synth.anchor(0);
  EXPECT_FALSE(synth.anchored());
}
