// The settings file on a real disk: what text can do to it, damaged files over
// many runs, seeding the user's copy, one read per start, the temporary file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "FakeFileLayer.h"
#include "files/PosixFileLayer.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "settings/SettingsLocation.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct OnDisk : ::testing::Test {
  fs::path dir =
      fs::temp_directory_path() / ("strumbo-disk-" + std::to_string(getpid()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string path;
  PosixFileLayer posix;

  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
    path = (dir / "Px.ini").string();
  }
  void TearDown() override { fs::remove_all(dir); }

  void put(const std::string& text) const { std::ofstream(path, std::ios::binary) << text; }
  std::string text() const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
};

}  // namespace

// Text with a line break, a NUL or blanks at its ends would come back as other
// keys or another value; it is refused whole and the file stays as it was.
TEST_F(OnDisk, TextThatWouldNotReadBackIsRefusedAndPlantsNothing) {
  const std::string before = "[MidiOut]\nDevice=1\n[Main]\nSspeed=-300\n";
  put(before);
  ProfileFile ini(path, posix);
  const std::vector<std::array<std::string, 3>> refused = {
      {"62", "Name", "maj\n[MidiOut]\nDevice=7"},
      {"62", "Name", "maj\r\nDevice=7"},
      {"62", "Name", "ma\0j"s},
      {"62", "Name", " maj"},
      {"62", "Name", "maj\t"},
      {"62", "Dev=ice", "1"},
      {"62", "[MidiOut]", "1"},
      {"62", "; note", "1"},
      {"62", " Name", "1"},
      {"62", "\xEF\xBB\xBFName", "1"},
      {"62", "", "1"},
      {"6]2", "Name", "1"},
      {"62\n[MidiOut", "Name", "1"},
      {"", "Name", "1"},
  };
  for (const auto& [section, key, value] : refused) {
    EXPECT_THROW(ini.writeString(section, key, value), ProfileWriteError) << section << key;
    EXPECT_EQ(text(), before) << section << "/" << key;
  }

  // A close whose folder text holds a line break writes none of its keys.
  Settings s;
  s.load(ini, "/opt/strumbo/");
  s.StrumSpeed = -100;
  s.PageDirectory[Settings::PlayPageKind] = "/music\n[MidiOut]\nDevice=9";
  EXPECT_THROW(s.saveShutdown(ini), ProfileWriteError);
  EXPECT_EQ(text(), before);
  EXPECT_TRUE(ini.writeFailed());

  // Ordinary text, however odd, goes into the file byte for byte and reads back.
  const std::vector<std::string> ordinary = {
      "C:\\new\\tab", "a=b=c", "[not a section]", "; not a comment", "#5 (b9)",
      "caf\xE9 \xBD", "$FF",   "\"quoted\"",      "<<<EOF",          "x\xEF\xBB\xBFy"};
  for (std::size_t i = 0; i < ordinary.size(); ++i) {
    const std::string key = "K" + std::to_string(i);
    ini.writeString("Texts", key, ordinary[i]);
    EXPECT_NE(text().find("\n" + key + "=" + ordinary[i] + "\n"), std::string::npos) << ordinary[i];
  }
  Settings again;
  again.load(ini, "/opt/strumbo/");
  EXPECT_EQ(again.MidiOutDevice, 1);
  const auto data = ini.read();
  for (std::size_t i = 0; i < ordinary.size(); ++i)
    EXPECT_EQ(data.readString("Texts", "K" + std::to_string(i), ""), ordinary[i]);
  EXPECT_EQ(data.readKeyNames("Texts").size(), ordinary.size());
}

// Hand edits and damage: each start reads the keys, each close writes them
// changed. The first close may tidy the file; from the second on it keeps its
// size, every key read survives and none is written twice.
TEST_F(OnDisk, DamagedFilesKeepTheirSizeAndKeysOverManyRuns) {
  const std::string tail = "[Guitar]\nPatch=30\nChannel=2\n[Click]\nNote=40\n";
  const std::vector<std::pair<const char*, std::string>> damaged = {
      {"header missing its ]", "[Main\nSspeed=-500\nBass=1\n" + tail},
      {"header missing its ] on CR lines", "[Main\rSspeed=-500\rBass=1\r" + tail},
      {"last header missing its ]", tail + "[Main\nSspeed=-500\nBass=1"},
      {"NUL byte", "; note\0here\n[Main]\nSspeed=-500\nBass=1\nx\0y=1\n"s + tail},
      {"NUL bytes in a name and a value",
       "[Main]\nSsp\0eed=-500\nBass=1\n[Directory]\nPlay=/p\0\0q\n"s + tail},
      {"byte-order marks",
       "\xEF\xBB\xBF[Main]\n\xEF\xBB\xBFSspeed=-500\n \xEF\xBB\xBF"
       "Bass=1\n\xEF\xBB\xBF[Guitar]\nPatch=30\nChannel=2\n[Click]\nNote=40\n"},
      {"empty header before a comment", "[]\n; a\n[Main]\nSspeed=-500\nBass=1\n" + tail},
      {"CR LF lines and junk", "[Main]\r\nSspeed = -500\r\nBass=1\r\njunk line\r\n=x\r\n" + tail},
      {"duplicate sections and keys",
       "[Main]\nSspeed=-700\n[Guitar]\nPatch=1\n[Main]\nSspeed=-500\nBass=1\n" + tail},
  };
  // Keys at the start of a line: voice names such as "033 Acoustic Bass" are no keys.
  auto count = [](const std::string& in, const std::string& word) {
    int n = 0;
    for (auto at = in.find(word); at != std::string::npos; at = in.find(word, at + 1))
      n += at == 0 || in[at - 1] == '\n' || in[at - 1] == '\r';
    return n;
  };
  for (const auto& [what, content] : damaged) {
    put(content);
    ProfileFile ini(path, posix);
    std::vector<std::uintmax_t> sizes;
    for (int run = 0; run < 4; ++run) {
      Settings s;
      s.load(ini, "/opt/strumbo/");
      EXPECT_EQ(s.StrumSpeed, run == 0 ? -500 : -510 - run) << what;
      EXPECT_TRUE(s.BassNoteOption) << what;
      EXPECT_EQ(s.Player.GuitarPatch, 30) << what;
      EXPECT_EQ(s.Player.GuitarChannel, 2) << what;
      EXPECT_EQ(s.Player.ClickNote, 40) << what;
      s.StrumSpeed = -511 - run;  // a close that changes a setting writes the file
      ASSERT_NO_THROW(s.saveShutdown(ini)) << what;
      sizes.push_back(fs::file_size(path));
    }
    EXPECT_EQ(sizes[2], sizes[1]) << what;
    EXPECT_EQ(sizes[3], sizes[1]) << what;
    for (const char* key : {"Sspeed=", "Bass=", "Patch=", "Channel=", "Note="})
      EXPECT_EQ(count(text(), key), 1) << what << ": " << key;
  }
  // What follows a NUL byte is kept, the line it stood in included.
  put(damaged[3].second);
  ProfileFile ini(path, posix);
  Settings s;
  s.load(ini, "/opt/strumbo/");
  s.StrumSpeed = -200;
  s.saveShutdown(ini);
  EXPECT_EQ(text().find('\0'), std::string::npos);
  EXPECT_NE(text().find("; notehere\n"), std::string::npos);
  EXPECT_EQ(ini.readInteger("Main", "xy", 0), 1);
  EXPECT_EQ(ini.readInteger("Main", "Sspeed", 0), -200);
}

TEST_F(OnDisk, TheTemporaryFileIsNewEachTimeAndNeverFollowsALink) {
  ProfileFile ini(path, posix);
  ini.writeInteger("Main", "Sspeed", -300);
  const fs::path victim = dir / "victim";
  std::ofstream(victim) << "keep me";
  fs::create_symlink(victim, path + ".tmp");
  ini.writeInteger("Main", "Sspeed", -400);
  EXPECT_EQ(ini.readInteger("Main", "Sspeed", 0), -400);
  std::ifstream in(victim);
  std::string kept;
  std::getline(in, kept);
  EXPECT_EQ(kept, "keep me");
  EXPECT_EQ(entries(), (std::vector<std::string>{"Px.ini", "Px.ini.tmp", "victim"}));

  // Two instances closing at once both get their write through.
  fs::remove(path + ".tmp");
  auto close = [&](int id) {
    PosixFileLayer files;
    ProfileFile mine(path, files);
    int failures = 0;
    for (int i = 0; i < 40; ++i) {
      try {
        mine.writeInteger("Main", "Sspeed", -id * 100 - i);
      } catch (const ProfileWriteError&) {
        ++failures;
      }
    }
    return failures;
  };
  int failedA = 0, failedB = 0;
  std::thread a([&] { failedA = close(1); });
  std::thread b([&] { failedB = close(2); });
  a.join();
  b.join();
  EXPECT_EQ(failedA + failedB, 0);
  EXPECT_EQ(entries(), (std::vector<std::string>{"Px.ini", "victim"}));
  const int last = ini.readInteger("Main", "Sspeed", 0);
  EXPECT_TRUE(last == -139 || last == -239) << last;
}

// The user's copy of the shipped file: never a part of it, and completed with
// the sections the program ships when it lacks them.
TEST_F(OnDisk, TheUsersCopyIsWholeOrAbsentAndGetsTheShippedSectionsBack) {
  const std::string exe = STRUMBO_SOURCE_DIR "/data/";
  const std::string conf = (dir / "conf/").string();
  auto readOnly = [](const std::string&) { return false; };

  FakeFileLayer fake;
  fake.files[exe + "Px.ini"] = "[General MIDI]\n001 Piano=\n";
  fake.failWrites = true;
  const std::string user = SettingsLocation::resolve(exe, fake, readOnly, conf);
  EXPECT_FALSE(fake.exists(user)) << "a failed copy leaves no file";
  fake.failWrites = false;
  SettingsLocation::resolve(exe, fake, readOnly, conf);
  EXPECT_EQ(fake.files[user], "[General MIDI]\n001 Piano=\n") << "and the next start copies it";

  // An empty or cut-short copy, as earlier versions left, on a real disk.
  for (const std::string before : {"", "[Main]\nBass=1\n", "[General MIDI]\n001 Acoustic"}) {
    fs::create_directories(conf);
    std::ofstream(conf + "Px.ini", std::ios::binary) << before;
    ASSERT_EQ(SettingsLocation::resolve(exe, posix, readOnly, conf), conf + "Px.ini");
    ProfileFile ini(conf + "Px.ini", posix);
    if (before.find("General") == std::string::npos) {
      EXPECT_EQ(ini.readKeyNames("General MIDI").size(), 128u) << before;
      EXPECT_EQ(ini.readInteger("Main", "Bass", 0), before.empty() ? 0 : 1);
    }
    const std::uintmax_t size = fs::file_size(conf + "Px.ini");
    SettingsLocation::resolve(exe, posix, readOnly, conf);
    EXPECT_EQ(fs::file_size(conf + "Px.ini"), size) << "completed once: " << before;
  }
}

// A settings file of gigabytes (here a sparse one) is renamed aside at start,
// never read whole nor overwritten: beside the program the program starts
// without one, in the user's folder with a new copy of the shipped file. A
// file that grows too large later is read as unreadable and never replaced.
TEST_F(OnDisk, AHugeSettingsFileIsSetAsideUnderANewName) {
  const std::uintmax_t huge = std::uintmax_t{2} << 30;
  auto writable = [](const std::string&) { return true; };
  auto readOnly = [](const std::string&) { return false; };
  const std::string exe = dir.string() + "/";
  { std::ofstream(path, std::ios::binary) << "[Main]\nBass=1\n"; }
  fs::resize_file(path, huge);
  std::string notice;
  ASSERT_EQ(SettingsLocation::resolve(exe, posix, writable, "", notice), path);
  std::vector<std::string> names = entries();
  ASSERT_EQ(names.size(), 1u);
  const std::string aside = exe + names[0];
  EXPECT_TRUE(names[0].starts_with("Px.ini.too-large-")) << names[0];
  EXPECT_EQ(fs::file_size(aside), huge);
  EXPECT_NE(notice.find("\"" + path + "\""), std::string::npos) << notice;
  EXPECT_NE(notice.find("\"" + aside + "\""), std::string::npos) << notice;
  EXPECT_EQ(ProfileFile(path, posix).readInteger("Main", "Bass", 0), 0);
  // A second start finds nothing to say, and the set-aside file stays.
  ASSERT_EQ(SettingsLocation::resolve(exe, posix, writable, "", notice), path);
  EXPECT_EQ(notice, "");
  EXPECT_EQ(entries(), std::vector<std::string>{names[0]});
  fs::remove(aside);

  // In the user's folder: the shipped file seeds a new copy.
  const std::string conf = (dir / "conf/").string();
  fs::create_directories(conf);
  std::ofstream(path, std::ios::binary) << "[General MIDI]\n001 Piano=\n";
  std::ofstream(conf + "Px.ini", std::ios::binary) << "[Main]\nBass=1\n";
  fs::resize_file(conf + "Px.ini", huge);
  ASSERT_EQ(SettingsLocation::resolve(exe, posix, readOnly, conf, notice), conf + "Px.ini");
  EXPECT_NE(notice.find("too-large-"), std::string::npos) << notice;
  ProfileFile user(conf + "Px.ini", posix);
  EXPECT_EQ(user.readKeyNames("General MIDI").size(), 1u);
  EXPECT_EQ(std::distance(fs::directory_iterator(conf), {}), 2);

  // Grown too large while the program runs: read as unreadable, kept as it is.
  fs::resize_file(conf + "Px.ini", ProfileFile::LargestFile + 1);
  EXPECT_TRUE(user.read().failed());
  EXPECT_THROW(user.writeInteger("Main", "Sspeed", -100), ProfileWriteError);
  EXPECT_EQ(fs::file_size(conf + "Px.ini"), ProfileFile::LargestFile + 1);
}

// Start-up and close each read the file once, however many user chords it holds.
TEST(SettingsReads, StartReadsTheFileOnceAndCloseWritesItOnce) {
  struct CountingLayer : FakeFileLayer {
    int reads = 0;
    std::optional<std::string> read(const std::string& p) override {
      ++reads;
      return FakeFileLayer::read(p);
    }
  } fs;
  std::string text = "[UserChords]\nNumber=1000\n";
  for (int i = 0; i < 1000; ++i)
    text += "[" + std::to_string(62 + i) + "]\nName=chord " + std::to_string(i) + "\n";
  fs.files["/p/Px.ini"] = text;
  ProfileFile ini("/p/Px.ini", fs);
  Settings s;
  s.load(ini, "/p/");
  EXPECT_EQ(fs.reads, 1);
  ASSERT_EQ(s.UserChordNames.size(), 1000u);
  EXPECT_EQ(s.UserChordNames[999], "chord 999");
  fs.reads = 0;
  s.saveShutdown(ini);
  s.saveMidiSetup(ini);
  EXPECT_EQ(fs.writes, 2) << "one write per command";
  EXPECT_EQ(fs.reads, 4) << "each command reads the file, then its written copy back";
}

// An installed program's folder may be writable (by root, or after a careless
// chmod), yet its files belong to the package: with the marker an install
// leaves there, settings go to the user's folder and the shipped file and the
// folder stay exactly as shipped, start after start.
TEST_F(OnDisk, AnInstalledProgramFolderIsNeverWrittenEvenWhenItCouldBe) {
  const fs::path program = dir / "lib/strumbo";
  fs::create_directories(program);
  const std::string exe = program.string() + "/";
  const std::string shipped = "[General MIDI]\n001 Piano=\n[Main]\nBass=0\n";
  std::ofstream(exe + "Px.ini", std::ios::binary) << shipped;
  const std::string conf = (dir / "home/.config/strumbo/").string();
  auto writable = [](const std::string& p) { return ::access(p.c_str(), W_OK) == 0; };

  // Without the marker a writable folder is the settings' home.
  ASSERT_TRUE(writable(exe));
  EXPECT_EQ(SettingsLocation::resolve(exe, posix, writable, conf), exe + "Px.ini");

  std::ofstream(exe + SettingsLocation::PerUserMarker) << "installed\n";
  const std::string user = SettingsLocation::resolve(exe, posix, writable, conf);
  ASSERT_EQ(user, conf + "Px.ini");
  ProfileFile ini(user, posix);
  EXPECT_EQ(ini.readKeyNames("General MIDI"), std::vector<std::string>{"001 Piano"});
  ini.writeInteger("Main", "Bass", 1);

  EXPECT_EQ(SettingsLocation::resolve(exe, posix, writable, conf), user);
  EXPECT_EQ(ProfileFile(user, posix).readInteger("Main", "Bass", 0), 1)
      << "the user's change stays";
  std::ifstream in(exe + "Px.ini", std::ios::binary);
  std::stringstream now;
  now << in.rdbuf();
  EXPECT_EQ(now.str(), shipped);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(program)) left.push_back(e.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Px.ini", SettingsLocation::PerUserMarker}));
}
