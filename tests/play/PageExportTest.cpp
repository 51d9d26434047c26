#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "../settings/FakeFileLayer.h"
#include "PlayerTestSupport.h"
#include "files/PosixFileLayer.h"
#include "midi/SoundFont.h"
#include "midi/WavFile.h"
#include "output/PageExport.h"

namespace {

// What a standard MIDI file reader sees: the header, the tempo and every
// channel event with its absolute tick.
struct MidiFileContents {
  int format = -1, tracks = 0, division = 0;
  std::int32_t tempo = 0;
  int otherMeta = 0;
  std::vector<std::pair<std::int64_t, std::vector<std::uint8_t>>> events;
  bool ok = false;
};

MidiFileContents readMidiFile(const std::string& path) {
  MidiFileContents m;
  std::ifstream in(path, std::ios::binary);
  const std::string d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t p = 0;
  auto byte = [&]() -> std::uint8_t {
    return p < d.size() ? static_cast<std::uint8_t>(d[p++]) : 0;
  };
  auto be = [&](int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | byte();
    return v;
  };
  auto varLen = [&] {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const std::uint8_t b = byte();
      v = v << 7 | (b & 0x7F);
      if (!(b & 0x80)) break;
    }
    return v;
  };
  if (d.compare(0, 4, "MThd") != 0) return m;
  p = 4;
  if (be(4) != 6) return m;
  m.format = static_cast<int>(be(2));
  m.tracks = static_cast<int>(be(2));
  m.division = static_cast<int>(be(2));
  for (int t = 0; t < m.tracks; ++t) {
    if (d.compare(p, 4, "MTrk") != 0) return m;
    p += 4;
    const std::size_t end = p + be(4);
    std::int64_t tick = 0;
    std::uint8_t running = 0;
    while (p < end) {
      tick += varLen();
      std::uint8_t status = byte();
      if (status == 0xFF) {
        const std::uint8_t type = byte();
        const std::uint32_t len = varLen();
        if (type == 0x51 && len == 3)
          m.tempo = static_cast<std::int32_t>(be(3));
        else {
          if (type != 0x2F) ++m.otherMeta;
          p += len;
        }
        continue;
      }
      std::vector<std::uint8_t> bytes;
      if (status < 0x80) {
        bytes = {running, status};
      } else {
        running = status;
        bytes = {status, byte()};
      }
      const std::uint8_t kind = bytes[0] & 0xF0;
      if (kind != 0xC0 && kind != 0xD0) bytes.push_back(byte());
      m.events.push_back({tick, bytes});
    }
    p = end;
  }
  m.ok = p == d.size();
  return m;
}

std::string tempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          ("strumbo-export-" + std::to_string(getpid()) + "-" + name))
      .string();
}

PageExport::Page examplePage() {
  PageExport::Page page;
  page.Slots = emptyList();
  page.Slots[0] = cMajor();
  page.Slots[6] = gMajor();
  page.Slots[19] = aMinor();
  page.Slots[60] = cMajor();
  page.State.savedSet().RepeatCount[2] = 2;
  page.State.savedSet().ReturnMark[1] = 1;
  page.Options.Click = true;
  page.Options.CountOff = true;
  page.Options.BassNote = true;
  page.Options.Loop = true;  // an export plays the page once all the same
  page.Tempo = 545454;
  return page;
}

// First frame from `from` whose level passes `threshold`, or -1.
std::int64_t onset(const WavFile& w, std::int64_t from, float threshold) {
  for (std::size_t f = static_cast<std::size_t>(from); f < w.frames(); ++f)
    if (std::fabs(w.samples[2 * f]) > threshold || std::fabs(w.samples[2 * f + 1]) > threshold)
      return static_cast<std::int64_t>(f);
  return -1;
}

}  // namespace

TEST(PageExport, TheMidiFileHoldsExactlyThePlayersChannelEventsAtTheSameTicks) {
  const PageExport::Page page = examplePage();
  const auto events = PageExport::events(page);
  ASSERT_FALSE(events.empty());
  const std::string path = tempPath("page.mid");
  PosixFileLayer disk;
  ASSERT_EQ(PageExport::exportMidi(disk, path, page).Status, PageExport::Result::Written);
  const MidiFileContents file = readMidiFile(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(file.ok);
  EXPECT_EQ(file.format, 0);
  EXPECT_EQ(file.tracks, 1);
  EXPECT_EQ(file.division, 480);
  EXPECT_EQ(file.tempo, 545454);
  EXPECT_EQ(file.otherMeta, 0);

  std::vector<std::pair<std::int64_t, std::vector<std::uint8_t>>> expected;
  bool sawMarker = false, sawFinger = false;
  for (const Timed& t : timeline(events)) {
    const MidiEvent& e = t.Event;
    sawMarker |= e.Status == EventBeatMarker;
    sawFinger |= e.Status == EventShowFinger;
    if (e.Status < 0x80) continue;
    std::vector<std::uint8_t> bytes{e.Status, e.Data1};
    if ((e.Status & 0xF0) != 0xC0) bytes.push_back(e.Data2);
    expected.push_back({t.Tick, bytes});
  }
  EXPECT_TRUE(sawMarker && sawFinger) << "the player's stream has them; the file leaves them out";
  EXPECT_EQ(file.events, expected);
  // Played once, loop or not: the closing note off of note 0 ends it.
  ASSERT_FALSE(file.events.empty());
  EXPECT_EQ(file.events.back().second, (std::vector<std::uint8_t>{0x80, 0, 0}));

  // A page without a tempo is written at the default one.
  PageExport::Page untimed = page;
  untimed.Tempo = 0;
  ASSERT_EQ(PageExport::exportMidi(disk, path, untimed).Status, PageExport::Result::Written);
  EXPECT_EQ(readMidiFile(path).tempo, DefaultPageTempo);
  std::filesystem::remove(path);
}

TEST(PageExport, AnEndlessPageIsRefusedAndAnUnwritablePathReported) {
  PageExport::Page page = examplePage();
  PosixFileLayer disk;
  EXPECT_EQ(PageExport::exportMidi(disk, "/nonexistent-dir/x.mid", page).Status,
            PageExport::Result::WriteFailed);
  for (int b = 0; b < 9; ++b) page.State.savedSet().RepeatCount[b] = 255;
  const std::string path = tempPath("endless.mid");
  EXPECT_EQ(PageExport::exportMidi(disk, path, page).Status, PageExport::Result::TooLong);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(PageExport, TheWavFileHasItsFirstStrumWhereThePageSays) {
  const std::string font = SoundFont::findSmallest();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  PageExport::Page page;
  page.Slots = emptyList();
  page.Slots[4] = gMajor();  // beat 3 of bar 1; Click up sends silent clicks only
  page.Tempo = 600000;
  const std::string path = tempPath("page.wav");
  PosixFileLayer disk;
  ASSERT_EQ(PageExport::exportAudio(disk, path, page, font).Status, PageExport::Result::Written);
  WavFile wav;
  ASSERT_TRUE(wav.read(path));
  std::filesystem::remove(path);
  EXPECT_EQ(wav.sampleRate, 44100);
  // Slot 4 is struck at tick 960: 1.2 s.
  const std::int64_t ideal = std::llround(960 * 600000.0 / 480 * 44100 / 1e6);
  const std::int64_t first = onset(wav, 0, 0.0f);
  ASSERT_GE(first, 0);
  EXPECT_GE(first, ideal - 32) << "silence before the strum";
  EXPECT_LE(first, ideal + 64) << "within a rendering block";
  float peak = 0;
  for (std::int64_t f = ideal; f < ideal + 44100 / 2; ++f)
    peak = std::max(peak, std::fabs(wav.samples[2 * static_cast<std::size_t>(f)]));
  EXPECT_GT(peak, 0.05f) << "the chord is heard";
  // The page lasts to its closing event, plus the tail.
  const double pageSeconds = (71 * 240 + 1000) * 600000.0 / 480 / 1e6;
  EXPECT_NEAR(static_cast<double>(wav.frames()) / 44100, pageSeconds + 2.0, 0.01);
}

TEST(PageExport, TheWavFileSoundsTheCountOffAndTheClicksWithTheirAccents) {
  const std::string font = SoundFont::findSmallest();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  PageExport::Page page;
  page.Slots = emptyList();
  page.Slots[71] = gMajor();  // long after the beats listened to
  page.Options.CountOff = true;
  page.Options.Click = true;
  page.Tempo = 600000;
  const std::string path = tempPath("clicks.wav");
  PosixFileLayer disk;
  ASSERT_EQ(PageExport::exportAudio(disk, path, page, font).Status, PageExport::Result::Written);
  WavFile wav;
  ASSERT_TRUE(wav.read(path));
  auto peak = [&](std::int64_t from, std::int64_t to) {
    float p = 0;
    for (std::int64_t f = std::max<std::int64_t>(from, 0);
         f < to && f < static_cast<std::int64_t>(wav.frames()); ++f)
      p = std::max({p, std::fabs(wav.samples[2 * static_cast<std::size_t>(f)]),
                    std::fabs(wav.samples[2 * static_cast<std::size_t>(f) + 1])});
    return p;
  };
  // One click a beat: four of the count-off, then the page's, each bar's first accented.
  const double framesPerTick = 600000.0 / 480 * 44100 / 1e6;
  std::vector<float> level;
  for (int k = 0; k < 12; ++k) {
    const auto at = std::llround(480 * k * framesPerTick);
    const float before = peak(at - 2205, at - 64), after = peak(at, at + 2205);
    EXPECT_GT(after, 20 * before + 0.01f) << "beat " << k;
    level.push_back(after);
  }
  for (int k : {1, 2, 3, 5, 6, 7, 9, 10, 11}) {
    EXPECT_GT(level[0], 1.5f * level[k]) << k;
    EXPECT_NEAR(level[4], level[0], 0.1f * level[0]);
    EXPECT_NEAR(level[8], level[0], 0.1f * level[0]);
  }

  std::filesystem::remove(path);
}

namespace {

// Whether every note on in the file has a note off of the same channel and
// key after it; a note on of velocity 0 counts as an off.
::testing::AssertionResult everyNoteEnds(const MidiFileContents& file) {
  std::map<std::pair<int, int>, int> on;
  for (const auto& [tick, bytes] : file.events) {
    const int kind = bytes[0] & 0xF0;
    if (kind != 0x80 && kind != 0x90) continue;
    const std::pair<int, int> key{bytes[0] & 0x0F, bytes[1]};
    if (kind == 0x90 && bytes[2] > 0)
      ++on[key];
    else if (on[key] > 0)
      --on[key];
  }
  for (const auto& [key, count] : on)
    if (count > 0)
      return ::testing::AssertionFailure()
             << "channel " << key.first << " key " << key.second << " never ends";
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST(PageExport, TheMidiFileEndsEveryNoteItStartsWhereverTheLastChordStands) {
  PosixFileLayer disk;
  const std::string path = tempPath("last.mid");
  for (int slot = PlaySlotCount - 8; slot < PlaySlotCount; ++slot) {
    PageExport::Page page;
    page.Slots = emptyList();
    page.Slots[2] = aMinor();
    page.Slots[static_cast<std::size_t>(slot)] = cMajor();
    page.Options.BassNote = true;
    page.Options.Click = true;
    ASSERT_EQ(PageExport::exportMidi(disk, path, page).Status, PageExport::Result::Written);
    const MidiFileContents file = readMidiFile(path);
    ASSERT_TRUE(file.ok) << "slot " << slot;
    EXPECT_TRUE(everyNoteEnds(file)) << "slot " << slot;
  }
  std::filesystem::remove(path);
}

TEST(PageExport, AFailedWriteLeavesNoFileAndAnEarlierExportAsItWas) {
  const PageExport::Page page = examplePage();
  PageExport::Page shorter = page;
  shorter.State.savedSet().RepeatCount[2] = 0;
  FakeFileLayer disk;
  const std::string path = "/out/song.mid";
  ASSERT_EQ(PageExport::exportMidi(disk, path, shorter).Status, PageExport::Result::Written);
  const std::string earlier = disk.files[path];
  ASSERT_EQ(earlier.compare(0, 4, "MThd"), 0);

  disk.failWrites = true;  // the disk is full
  const PageExport::Outcome full = PageExport::exportMidi(disk, path, page);
  EXPECT_EQ(full.Status, PageExport::Result::WriteFailed);
  EXPECT_EQ(full.Reason, "No space left on device");
  EXPECT_EQ(PageExport::message(full, path),
            "Could not write /out/song.mid: No space left on device.");
  disk.failWrites = false;
  disk.failReplace = true;  // the rename fails
  EXPECT_EQ(PageExport::exportMidi(disk, path, page).Status, PageExport::Result::WriteFailed);
  EXPECT_EQ(disk.files[path], earlier);
  EXPECT_FALSE(disk.temporaryLeft(path));
  disk.failReplace = false;

  disk.failWrites = true;
  EXPECT_EQ(PageExport::exportMidi(disk, "/out/new.mid", page).Status,
            PageExport::Result::WriteFailed);
  EXPECT_FALSE(disk.exists("/out/new.mid"));

  const std::string font = SoundFont::findSmallest();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  disk.files["/out/song.wav"] = "an earlier render";
  EXPECT_EQ(PageExport::exportAudio(disk, "/out/song.wav", shorter, font).Status,
            PageExport::Result::WriteFailed);
  EXPECT_EQ(disk.files["/out/song.wav"], "an earlier render");
  EXPECT_FALSE(disk.temporaryLeft("/out/song.wav"));
}

TEST(PageExport, AnEmptyPageIsRefusedAndNothingWritten) {
  PageExport::Page page;
  page.Slots = emptyList();
  page.Options.Click = true;
  page.Options.CountOff = true;
  FakeFileLayer disk;
  const PageExport::Outcome midi = PageExport::exportMidi(disk, "/out/empty.mid", page);
  EXPECT_EQ(midi.Status, PageExport::Result::Empty);
  EXPECT_EQ(PageExport::exportAudio(disk, "/out/empty.wav", page, "/no/font.sf2").Status,
            PageExport::Result::Empty);
  EXPECT_EQ(disk.writes, 0);
  EXPECT_TRUE(disk.files.empty());
  EXPECT_EQ(PageExport::message(midi, "/out/empty.mid"),
            "The play page is empty; there is nothing to export.");
}

namespace {

// Sets $STRUMBO_SOUNDFONT for one test and puts it back after.
struct SoundFontVariable {
  std::optional<std::string> before;
  explicit SoundFontVariable(const std::string& value) {
    if (const char* v = std::getenv("STRUMBO_SOUNDFONT")) before = v;
    setenv("STRUMBO_SOUNDFONT", value.c_str(), 1);
  }
  ~SoundFontVariable() {
    if (before)
      setenv("STRUMBO_SOUNDFONT", before->c_str(), 1);
    else
      unsetenv("STRUMBO_SOUNDFONT");
  }
};

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

TEST(PageExport, AFontThatIsNoSoundFontIsPassedOverAndOneThatFailsIsNamed) {
  const std::string installed = SoundFont::findGeneralMidi();
  const std::string text = tempPath("notes.sf2");
  writeFile(text, "these are my notes, not a soundfont\n");
  {
    SoundFontVariable variable(text);
    const SoundFont::Choice choice = SoundFont::chooseGeneralMidi();
    EXPECT_EQ(choice.Unusable, text);
    EXPECT_EQ(choice.Path, installed) << "the installed font, as without the variable";
    EXPECT_EQ(SoundFont::findGeneralMidi(), installed);
  }
  {
    SoundFontVariable variable(tempPath("missing.sf2"));
    EXPECT_EQ(SoundFont::chooseGeneralMidi().Unusable, tempPath("missing.sf2"));
  }
  if (!installed.empty()) {
    SoundFontVariable variable(installed);
    EXPECT_EQ(SoundFont::chooseGeneralMidi().Unusable, "");
  }

  // A file that begins like a soundfont but breaks off: the load fails and
  // the message names that file, not a missing installation.
  const std::string broken = tempPath("broken.sf2");
  writeFile(broken, std::string("RIFF\x04\x00\x00\x00sfbkLIST", 16));
  PageExport::Page page;
  page.Slots = emptyList();
  page.Slots[0] = cMajor();
  FakeFileLayer disk;
  const PageExport::Outcome failed = PageExport::exportAudio(disk, "/out/a.wav", page, broken);
  EXPECT_EQ(failed.Status, PageExport::Result::SoundFontFailed);
  EXPECT_EQ(PageExport::message(failed, "/out/a.wav"),
            "The soundfont " + broken + " could not be loaded.");
  EXPECT_TRUE(disk.files.empty());

  if (installed.empty()) {
    std::filesystem::remove(text);
    std::filesystem::remove(broken);
    GTEST_SKIP() << "no General MIDI soundfont installed";
  }
  // With the text file named, the export sounds through the installed font
  // and says once which file it could not use.
  SoundFontVariable variable(text);
  const PageExport::Outcome written = PageExport::exportAudio(disk, "/out/a.wav", page);
  EXPECT_EQ(written.Status, PageExport::Result::Written);
  EXPECT_EQ(written.FontPassedOver, text);
  EXPECT_EQ(PageExport::note(written),
            "The soundfont " + text + " could not be used; " + installed + " is used instead.");
  EXPECT_EQ(disk.files["/out/a.wav"].compare(0, 4, "RIFF"), 0);
  // One that begins like a soundfont but does not load is passed over too.
  SoundFontVariable cut(broken);
  const PageExport::Outcome fallback = PageExport::exportAudio(disk, "/out/b.wav", page);
  EXPECT_EQ(fallback.Status, PageExport::Result::Written);
  EXPECT_EQ(PageExport::note(fallback),
            "The soundfont " + broken + " could not be used; " + installed + " is used instead.");
  EXPECT_EQ(disk.files["/out/b.wav"], disk.files["/out/a.wav"]);
  std::filesystem::remove(text);
  std::filesystem::remove(broken);
}

TEST(PageExport, TheLastChordOfTheWavFileDiesAwayInItsTail) {
  const std::string font = SoundFont::findSmallest();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  PageExport::Page page;
  page.Slots = emptyList();
  page.Slots[71] = gMajor();
  page.Options.BassNote = true;
  page.Tempo = 600000;
  FakeFileLayer disk;
  ASSERT_EQ(PageExport::exportAudio(disk, "/out/end.wav", page, font).Status,
            PageExport::Result::Written);
  const std::string path = tempPath("end.wav");
  writeFile(path, disk.files["/out/end.wav"]);
  WavFile wav;
  ASSERT_TRUE(wav.read(path));
  std::filesystem::remove(path);
  auto peak = [&](std::size_t from, std::size_t to) {
    float p = 0;
    for (std::size_t i = 2 * from; i < 2 * to && i < wav.samples.size(); ++i)
      p = std::max(p, std::fabs(wav.samples[i]));
    return p;
  };
  const std::size_t frames = wav.frames();
  const float chord = peak(frames - 3 * 44100, frames - 2 * 44100);
  const float last = peak(frames - 44100 / 4, frames);
  EXPECT_GT(chord, 0.05f);
  EXPECT_LT(last, chord / 100) << "released with the page's end, not left ringing";
}
