#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "midi/FluidSynthOutput.h"
#include "midi/SoundFont.h"

// The built-in synthesiser loading samples on demand: the voices preloaded at
// open must sound from the first block after the device is ready, with no
// program change sent, and whatever is chosen later must still sound.
namespace {

struct OnDemand : ::testing::Test {
  void SetUp() override {
    font = SoundFont::findSmallest();
    if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  }

  // Rendered by hand: the device is opened without an audio driver.
  float firstBlockPeak(FluidSynthOutput& synth, const std::uint8_t (&noteOn)[3]) {
    fluid_synth_t* s = synth.synth();
    float buf[2 * 64];
    fluid_synth_all_sounds_off(s, -1);
    fluid_synth_write_float(s, 64, buf, 0, 2, buf, 1, 2);
    synth.send(noteOn, 3, 0);
    fluid_synth_write_float(s, 64, buf, 0, 2, buf, 1, 2);
    float peak = 0;
    for (float v : buf) peak = std::max(peak, std::fabs(v));
    return peak;
  }

  static int program(fluid_synth_t* s, int channel) {
    fluid_preset_t* p = fluid_synth_get_channel_preset(s, channel);
    return p ? fluid_preset_get_num(p) : -1;
  }
  static int bank(fluid_synth_t* s, int channel) {
    fluid_preset_t* p = fluid_synth_get_channel_preset(s, channel);
    return p ? fluid_preset_get_banknum(p) : -1;
  }

  std::string font;
};

}  // namespace

TEST_F(OnDemand, PreloadedVoicesAreInWhenReadyAndSoundFromTheirFirstBlock) {
  FluidSynthOutput synth(font, {}, FluidSynthOutput::Samples::OnDemand);
  // As the session does right after opening: guitar, bass, and the drum kit
  // on the percussion channel.
  synth.preload(0, 25);
  synth.preload(1, 33);
  synth.preload(9, 0);
  ASSERT_TRUE(synth.waitUntilReady());
  EXPECT_FALSE(synth.silent());
  ASSERT_TRUE(synth.ready());
  fluid_synth_t* s = synth.synth();
  ASSERT_NE(s, nullptr);
  int onDemand = 0;
  fluid_settings_getint(fluid_synth_get_settings(s), "synth.dynamic-sample-loading", &onDemand);
  EXPECT_EQ(onDemand, 1);

  // Selected on the worker, so their samples are loaded before any note.
  EXPECT_EQ(program(s, 0), 25);
  EXPECT_EQ(program(s, 1), 33);
  EXPECT_EQ(bank(s, 9), 128);
  EXPECT_EQ(program(s, 9), 0);
  EXPECT_GT(firstBlockPeak(synth, {0x90, 52, 110}), 1e-4f) << "guitar";
  EXPECT_GT(firstBlockPeak(synth, {0x91, 40, 110}), 1e-4f) << "bass";
  EXPECT_GT(firstBlockPeak(synth, {0x99, 38, 127}), 1e-4f) << "drum kit";
  // Nothing else was selected: no piano loaded on the other channels.
  EXPECT_EQ(fluid_synth_get_channel_preset(s, 2), nullptr);
}

TEST_F(OnDemand, AnotherPatchAndAChannelNeverGivenAProgramStillSound) {
  FluidSynthOutput synth(font, {}, FluidSynthOutput::Samples::OnDemand);
  synth.preload(0, 25);
  ASSERT_TRUE(synth.waitUntilReady());
  fluid_synth_t* s = synth.synth();

  // A program change as the players send it, to a patch not preloaded.
  const std::uint8_t flute[] = {0xC0, 73};
  synth.send(flute, 2, 0);
  EXPECT_EQ(program(s, 0), 73);
  EXPECT_GT(firstBlockPeak(synth, {0x90, 72, 110}), 1e-4f) << "the new patch";

  // A channel nothing chose plays what a reset gives it, as before: the first
  // program, and the drum kit on the percussion channel.
  EXPECT_GT(firstBlockPeak(synth, {0x92, 60, 110}), 1e-4f) << "default program";
  EXPECT_EQ(program(s, 2), 0);
  EXPECT_GT(firstBlockPeak(synth, {0x99, 38, 127}), 1e-4f) << "default drum kit";
  EXPECT_EQ(bank(s, 9), 128);

  // A program chosen before the soundfont was in is selected once it is.
  FluidSynthOutput early(font, {}, FluidSynthOutput::Samples::OnDemand);
  const std::uint8_t bass[] = {0xC1, 33};
  early.send(bass, 2, 0);
  ASSERT_TRUE(early.waitUntilReady());
  EXPECT_EQ(program(early.synth(), 1), 33);
}

TEST(SynthSamples, OnlyALargeSoundfontLoadsOnDemand) {
  const char* small = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  const char* large = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
  if (std::filesystem::is_regular_file(small)) {
    EXPECT_FALSE(FluidSynthOutput::loadOnDemand(small));
  }
  if (std::filesystem::is_regular_file(large)) {
    EXPECT_TRUE(FluidSynthOutput::loadOnDemand(large));
  }
  EXPECT_FALSE(FluidSynthOutput::loadOnDemand("/nonexistent.sf2"));
}

TEST(SynthSamples, ASynthesiserWithoutAUsableSoundfontSaysItIsSilent) {
  FluidSynthOutput none("", {});
  EXPECT_TRUE(none.silent()) << "known before the worker is done";
  EXPECT_FALSE(none.waitUntilReady());
  EXPECT_TRUE(none.silent());
  const std::uint8_t on[] = {0x90, 60, 100};
  none.send(on, 3, 0);  // goes nowhere, and harmlessly
  const std::string notAFont =
      (std::filesystem::temp_directory_path() / "strumbo-not-a-soundfont.sf2").string();
  { std::ofstream(notAFont) << "not a soundfont"; }
  FluidSynthOutput broken(notAFont, {});
  EXPECT_FALSE(broken.waitUntilReady());
  EXPECT_TRUE(broken.silent());
  std::filesystem::remove(notAFont);
}
