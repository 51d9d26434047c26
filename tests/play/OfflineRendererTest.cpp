#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "WavLevels.h"
#include "midi/OfflineRenderer.h"
#include "midi/SoundFont.h"

namespace {

struct Offline : ::testing::Test {
  void SetUp() override {
    font = SoundFont::findSmallest();
    if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  }
  std::string font;
};

}  // namespace

TEST_F(Offline, ANotesOnsetLandsWithinHalfABlockOfItsTime) {
  OfflineRenderer r(font);
  ASSERT_TRUE(r.ready());
  // The same note rendered at time 0 gives the voice's own lead-in, which
  // every later onset carries too.
  auto noteAt = [&](int ticks) {
    return r.render({{0, 0xC0, 24, 0, 0}, {ticks, 0x90, 60, 110, 0}, {480, 0x80, 60, 0, 0}}, 500000,
                    0.5);
  };
  const std::int64_t lead = onset(noteAt(0));
  ASSERT_GE(lead, 0);
  ASSERT_LT(lead, 64);
  // At 120 bpm 960 ticks are one second, 44100 frames.
  for (int ticks : {960, 961, 1000, 1237, 2001}) {
    const WavFile w = noteAt(ticks);
    const std::int64_t ideal = std::llround(ticks * 500000.0 / 480 * 44100 / 1e6);
    ASSERT_GT(w.frames(), static_cast<std::size_t>(ideal + 44100 / 2));
    EXPECT_EQ(peak(w, 0, ideal - 64), 0.0f) << "silence before the note";
    const std::int64_t error = onset(w) - lead - ideal;
    EXPECT_LE(std::abs(error), 32) << ticks << " ticks: " << error << " frames off";
    EXPECT_GT(peak(w, ideal, ideal + 4410), 0.05f) << "the note is heard";
  }
}

TEST_F(Offline, NotesFollowTheTempoAndTheQueueIsRefilledForLongRuns) {
  OfflineRenderer r(font);
  ASSERT_TRUE(r.ready());
  // 400 short notes, far more than the queue holds: the renderer must refill
  // on the room message as a player does.
  std::vector<MidiEvent> events{{0, 0xC0, 24, 0, 0}};
  for (int i = 0; i < 400; ++i) {
    events.push_back({i == 0 ? 0 : 60, 0x90, 64, 100, 0});
    events.push_back({60, 0x80, 64, 0, 0});
  }
  const WavFile w = r.render(events, 600000, 0.3);
  const double framesPerTick = 600000.0 / 480 * 44100 / 1e6;
  EXPECT_NEAR(static_cast<double>(w.frames()), 799 * 60 * framesPerTick + 0.3 * 44100, 2);
  // Sound goes on to the end: the last notes after many refills were played.
  const auto last = std::llround(799 * 60 * framesPerTick);
  EXPECT_GT(peak(w, last - 2000, last), 0.02f);
}

// The header a player reads the lengths from, byte for byte; samples are
// 16-bit little-endian, clipped at full scale.
TEST(WavFileTest, HeaderAndSamplesAreLaidOutAsTheFormatSays) {
  WavFile w;
  w.sampleRate = 44100;
  w.channels = 2;
  w.samples = {0.5f, -0.5f, 1.5f, -1.0f, 0.0f, 0.25f};
  const std::string bytes = w.bytes();
  const std::string expected(
      "RIFF\x30\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0\x44\xAC\0\0\x10\xB1\x02\0\x04\0\x10\0"
      "data\x0C\0\0\0"
      "\x00\x40\x00\xC0\xFF\x7F\x01\x80\x00\x00\x00\x20",
      56);
  EXPECT_EQ(bytes, expected);

  const auto path =
      std::filesystem::temp_directory_path() / ("strumbo-wav-" + std::to_string(getpid()) + ".wav");
  ASSERT_TRUE(w.write(path.string()));
  WavFile back;
  ASSERT_TRUE(back.read(path.string()));
  std::filesystem::remove(path);
  EXPECT_EQ(back.sampleRate, 44100);
  EXPECT_EQ(back.channels, 2);
  ASSERT_EQ(back.frames(), 3u);
  EXPECT_NEAR(back.samples[1], -0.5f, 1.0 / 16000);
  EXPECT_FALSE(back.read(path.string()));
}
