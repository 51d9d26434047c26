#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "midi/OfflineRenderer.h"
#include "midi/SoundFont.h"

namespace {

// First frame from `from` on whose level passes `threshold`, or -1.
std::int64_t onset(const WavFile& w, std::int64_t from = 0, float threshold = 0.003f) {
  for (std::size_t f = static_cast<std::size_t>(from); f < w.frames(); ++f)
    if (std::fabs(w.samples[2 * f]) > threshold || std::fabs(w.samples[2 * f + 1]) > threshold)
      return static_cast<std::int64_t>(f);
  return -1;
}

float peak(const WavFile& w, std::int64_t from, std::int64_t to) {
  float p = 0;
  for (auto f = from; f < to && f < static_cast<std::int64_t>(w.frames()); ++f)
    p = std::max({p, std::fabs(w.samples[2 * f]), std::fabs(w.samples[2 * f + 1])});
  return p;
}

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
  const std::int64_t lead = onset(noteAt(0), 0, 0.0f);
  ASSERT_GE(lead, 0);
  ASSERT_LT(lead, 64);
  // At 120 bpm 960 ticks are one second, 44100 frames.
  for (int ticks : {960, 961, 1000, 1237, 2001}) {
    const WavFile w = noteAt(ticks);
    const std::int64_t ideal = std::llround(ticks * 500000.0 / 480 * 44100 / 1e6);
    ASSERT_GT(w.frames(), static_cast<std::size_t>(ideal + 44100 / 2));
    EXPECT_EQ(peak(w, 0, ideal - 64), 0.0f) << "silence before the note";
    const std::int64_t error = onset(w, 0, 0.0f) - lead - ideal;
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

TEST_F(Offline, WavFilesRoundTrip) {
  OfflineRenderer r(font);
  const WavFile w = r.render({{0, 0x90, 60, 100, 0}, {480, 0x80, 60, 0, 0}}, 500000, 0.1);
  const auto path = std::filesystem::temp_directory_path() /
                    ("strumbo-render-" + std::to_string(getpid()) + ".wav");
  ASSERT_TRUE(w.write(path.string()));
  WavFile back;
  ASSERT_TRUE(back.read(path.string()));
  EXPECT_EQ(back.sampleRate, 44100);
  EXPECT_EQ(back.channels, 2);
  ASSERT_EQ(back.frames(), w.frames());
  for (std::size_t i = 0; i < w.samples.size(); i += 97)
    EXPECT_NEAR(back.samples[i], w.samples[i], 1.0 / 16000) << i;
  std::filesystem::remove(path);
  EXPECT_FALSE(back.read(path.string()));
}
