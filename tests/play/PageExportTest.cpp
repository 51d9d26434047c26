#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <tuple>

#include "../settings/FakeFileLayer.h"
#include "PlayerTestSupport.h"
#include "WavLevels.h"
#include "files/PosixFileLayer.h"
#include "midi/SoundFont.h"
#include "midi/StandardMidiFile.h"
#include "midi/WavFile.h"
#include "output/PageExport.h"

namespace {

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

// A standard MIDI file read back: its tracks, each event with its absolute
// tick; meta events keep their type in Data1 and their text.
struct FileEvent {
  std::uint32_t Tick;
  std::uint8_t Status, Data1, Data2;
  std::string Text;
};
struct ReadFile {
  int Format = -1, Division = 0;
  std::vector<std::vector<FileEvent>> Tracks;
};

ReadFile readMidi(const std::string& f) {
  ReadFile r;
  const auto u8 = [&](std::size_t i) { return static_cast<std::uint8_t>(f.at(i)); };
  const auto be = [&](std::size_t i, int n) {
    std::uint32_t v = 0;
    for (int k = 0; k < n; ++k) v = v << 8 | u8(i + static_cast<std::size_t>(k));
    return v;
  };
  if (f.substr(0, 4) != "MThd") return r;
  r.Format = static_cast<int>(be(8, 2));
  r.Division = static_cast<int>(be(12, 2));
  std::size_t at = 14;
  while (at + 8 <= f.size() && f.substr(at, 4) == "MTrk") {
    const std::size_t end = at + 8 + be(at + 4, 4);
    std::size_t i = at + 8;
    std::uint32_t tick = 0;
    const auto varLen = [&] {
      std::uint32_t v = 0;
      for (;;) {
        const std::uint8_t b = u8(i++);
        v = v << 7 | (b & 0x7F);
        if (!(b & 0x80)) return v;
      }
    };
    std::vector<FileEvent> track;
    while (i < end) {
      tick += varLen();
      const std::uint8_t status = u8(i++);
      if (status == 0xFF) {
        const std::uint8_t type = u8(i++);
        const std::uint32_t n = varLen();
        track.push_back({tick, status, type, 0, f.substr(i, n)});
        i += n;
      } else {
        const std::uint8_t kind = status & 0xF0;
        const std::uint8_t d1 = u8(i++);
        const std::uint8_t d2 = kind == 0xC0 || kind == 0xD0 ? 0 : u8(i++);
        track.push_back({tick, status, d1, d2, {}});
      }
    }
    r.Tracks.push_back(track);
    at = end;
  }
  return r;
}

std::vector<FileEvent> metas(const std::vector<FileEvent>& track, std::uint8_t type) {
  std::vector<FileEvent> out;
  for (const FileEvent& e : track)
    if (e.Status == 0xFF && e.Data1 == type) out.push_back(e);
  return out;
}

}  // namespace

// Other programs get the page as the player plays it once: each instrument's
// channel events on a track of its name at the very ticks the player queues
// them, the tempo and time signature, and the chord names where they change.
TEST(PageExport, TheMidiFileIsThePagePlayedOnceOnNamedTracksWithItsChords) {
  PageExport::Page page = examplePage();
  page.Slots[19].Bass = 24 + 4;  // A minor over E
  FakeFileLayer disk;
  ASSERT_EQ(PageExport::exportMidi(disk, "/out/page.mid", page).Status,
            PageExport::Result::Written);
  // Loop Play is down, but an export plays the page once.
  PageExport::Page once = page;
  once.Options.Loop = false;
  const auto played =
      PagePlayer::playOnce(startOf(once.Slots, once.State, once.Options), 1'000'000);
  ASSERT_TRUE(played.has_value());

  const ReadFile file = readMidi(disk.files["/out/page.mid"]);
  ASSERT_EQ(file.Format, 1);
  EXPECT_EQ(file.Division, TicksPerQuarter);
  ASSERT_EQ(file.Tracks.size(), 4u);
  const std::vector<FileEvent>& first = file.Tracks[0];
  ASSERT_EQ(metas(first, 0x51).size(), 1u);
  EXPECT_EQ(metas(first, 0x51)[0].Text, std::string("\x08\x52\xAE", 3));  // 545454
  EXPECT_EQ(metas(first, 0x58)[0].Text, std::string("\x04\x02\x18\x08", 4));

  const std::uint32_t end = static_cast<std::uint32_t>(timeline(*played).back().Tick);
  const char* names[] = {"Guitar", "Bass", "Click"};
  const int channels[] = {Guitar, Bass, Click};
  for (int t = 0; t < 3; ++t) {
    const std::vector<FileEvent>& track = file.Tracks[static_cast<std::size_t>(t) + 1];
    ASSERT_EQ(metas(track, 0x03).size(), 1u);
    EXPECT_EQ(metas(track, 0x03)[0].Text, names[t]);
    std::vector<std::tuple<std::uint32_t, int, int, int>> want, got;
    for (const Timed& e : timeline(*played))
      if (e.Event.Status >= 0x80 && (e.Event.Status & 0x0F) == channels[t])
        want.emplace_back(static_cast<std::uint32_t>(e.Tick), e.Event.Status, e.Event.Data1 & 0x7F,
                          (e.Event.Status & 0xF0) == 0xC0 ? 0 : e.Event.Data2 & 0x7F);
    for (const FileEvent& e : track)
      if (e.Status != 0xFF) got.emplace_back(e.Tick, e.Status, e.Data1, e.Data2);
    EXPECT_EQ(got, want) << names[t];
    EXPECT_EQ(track.back().Data1, 0x2F);
    EXPECT_EQ(track.back().Tick, end);
  }

  // A marker where each chord is struck and the name changes: C, G, A minor
  // over E, back to C at the page's last chord, through the repeats.
  std::vector<std::string> marked;
  for (const FileEvent& m : metas(first, 0x06)) {
    marked.push_back(m.Text);
    const auto& guitar = file.Tracks[1];
    EXPECT_TRUE(std::any_of(
        guitar.begin(), guitar.end(),
        [&](const FileEvent& e) { return e.Tick == m.Tick && (e.Status & 0xF0) == 0x90; }))
        << m.Text << " marked where no chord is struck";
  }
  ASSERT_GE(marked.size(), 4u);
  EXPECT_EQ(marked.front(), "C test");
  EXPECT_EQ(marked[1], "G test");
  EXPECT_EQ(marked[2], "A test /E");
  EXPECT_EQ(marked.back(), "C test");
  for (std::size_t i = 1; i < marked.size(); ++i) EXPECT_NE(marked[i], marked[i - 1]);
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
  const std::int64_t first = onset(wav);
  ASSERT_GE(first, 0);
  EXPECT_GE(first, ideal - 32) << "silence before the strum";
  EXPECT_LE(first, ideal + 64) << "within a rendering block";
  EXPECT_GT(peak(wav, ideal, ideal + 44100 / 2), 0.05f) << "the chord is heard";
  // The page lasts to its closing event, plus the tail.
  const double pageSeconds = (71 * 240 + 1000) * 600000.0 / 480 / 1e6;
  EXPECT_NEAR(static_cast<double>(wav.frames()) / 44100, pageSeconds + 2.0, 0.01);
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
  const auto frames = static_cast<std::int64_t>(wav.frames());
  const float chord = peak(wav, frames - 3 * 44100, frames - 2 * 44100);
  const float last = peak(wav, frames - 44100 / 4, frames);
  EXPECT_GT(chord, 0.05f);
  EXPECT_LT(last, chord / 100) << "released with the page's end, not left ringing";
}

// A capo is the program's, not the page's: the exported page sounds as a
// guitar with the capo would, the click as it was.
TEST(PageExport, WithACapoTheMidiFileIsThePageThatManySemitonesUp) {
  PageExport::Page page = examplePage();
  const auto fretted = PageExport::events(page);
  page.Options.Capo = 2;
  EXPECT_TRUE(soundsCapoHigher(fretted, PageExport::events(page), 2));
}
