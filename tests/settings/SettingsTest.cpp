#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>

#include "FakeFileLayer.h"
#include "files/PosixFileLayer.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "settings/SettingsLocation.h"

namespace {

const std::string kExe = "/opt/strumbo/";
const std::string kPath = kExe + "Px.ini";

// Guitar patch, channel, volume; bass patch, channel, volume; click channel,
// note, volume.
std::array<int, 9> playerValues(const PlayerSettings& p) {
  return {p.GuitarPatch, p.GuitarChannel, p.GuitarVolume, p.BassPatch,  p.BassChannel,
          p.BassVolume,  p.ClickChannel,  p.ClickNote,    p.ClickVolume};
}

struct SettingsFile : ::testing::Test {
  FakeFileLayer fs;
  ProfileFile ini{kPath, fs};
  Settings s;
};

}  // namespace

TEST_F(SettingsFile, FirstStartWithoutAFileGivesEveryDefaultAndClosingWritesOnlyMainAndDirectory) {
  s.BassNoteOption = true;  // must be overwritten by the load
  s.load(ini, kExe);
  EXPECT_EQ(s.MidiInDevice, 0);
  EXPECT_EQ(s.MidiOutDevice, 0);
  EXPECT_EQ(playerValues(s.Player), (std::array{25, 0, 100, 33, 1, 100, 9, 34, 65}));
  EXPECT_EQ(s.StrumSpeed, -300);
  EXPECT_FALSE(s.BassNoteOption);
  EXPECT_EQ(s.PageDirectory[Settings::DesignPageKind], "/opt/strumbo/Design");
  EXPECT_TRUE(s.UserChordNames.empty());
  EXPECT_FALSE(fs.files.count(kPath)) << "reading creates nothing";

  s.saveShutdown(ini);
  for (const char* name : {"MidiIn", "MidiOut", "Guitar", "Bass", "Click", "UserChords"})
    EXPECT_FALSE(ini.hasSection(name)) << name;
  EXPECT_EQ(ini.readKeyNames("Main"), (std::vector<std::string>{"Sspeed", "Bass"}));
  EXPECT_EQ(ini.readKeyNames("Directory"),
            (std::vector<std::string>{"Chord", "Print", "Design", "Play", "Scale"}));
  Settings again;
  again.load(ini, "/elsewhere/");
  EXPECT_EQ(again.PageDirectory[Settings::PlayPageKind], "/opt/strumbo/Play");
  EXPECT_EQ(again.StrumSpeed, -300);
}

TEST_F(SettingsFile, OutOfRangeAndJunkValuesAreBroughtIntoRange) {
  fs.files[kPath] =
      "[MidiIn]\nDevice=-4\n[MidiOut]\nDevice=70000\n"
      "[Guitar]\nPatch=500\nChannel=99\nVolume=-3\n"
      "[Bass]\nPatch=$20\nChannel=junk\nVolume=0x200\n"
      "[Click]\nChannel=16\nNote=300\nVolume=127\n"
      "[Main]\nBass=0x10\nSspeed=$FFFFFF00\n";
  s.load(ini, kExe);
  EXPECT_EQ(s.MidiInDevice, 0);
  EXPECT_EQ(s.MidiOutDevice, 65535);
  // The accented click must stay a velocity: its volume is held lower.
  EXPECT_EQ(playerValues(s.Player),
            (std::array{127, 15, 0, 32, 1, 127, 15, 127, Settings::MaxClickVolume}));
  EXPECT_TRUE(s.BassNoteOption);
  EXPECT_EQ(s.StrumSpeed, -256);

  fs.files[kPath] = "[Main]\nSspeed=0x10\n";
  s.load(ini, kExe);
  EXPECT_EQ(s.StrumSpeed, 0) << "16 lies beyond the strum-speed bar's end";
  fs.files[kPath] = "[Main]\nSspeed=-99999\n";
  s.load(ini, kExe);
  EXPECT_EQ(s.StrumSpeed, -800);
}

TEST_F(SettingsFile, UserChordNamesAreReadFromSection62On) {
  fs.files[kPath] =
      "[UserChords]\nNumber=3\n[62]\nName=my maj\n[63]\nFormula=1 3\n[64]\nName=last\n";
  s.load(ini, kExe);
  EXPECT_EQ(s.UserChordNames, (std::vector<std::string>{"my maj", "NONAME", "last"}));

  fs.files[kPath] = "[UserChords]\nNumber=-2\n[62]\nName=x\n";
  s.load(ini, kExe);
  EXPECT_TRUE(s.UserChordNames.empty());

  fs.files[kPath] = "[UserChords]\nNumber=2000000000\n";
  s.load(ini, kExe);
  EXPECT_EQ(s.UserChordNames.size(), static_cast<size_t>(Settings::MaxUserChords));
}

TEST_F(SettingsFile, MidiSetupWritesItsElevenKeysAndTheyReadBack) {
  s.MidiInDevice = 65535;
  s.MidiOutDevice = 2;
  // Channels, patches, volumes, then the click's volume and note: none a default.
  s.Player = {3, 4, 8, 26, 34, 90, 80, 84, 76};
  s.saveMidiSetup(ini);
  EXPECT_FALSE(ini.hasSection("Main"));
  EXPECT_FALSE(ini.hasSection("Directory"));
  Settings r;
  r.load(ini, kExe);
  EXPECT_EQ(r.MidiInDevice, 65535);
  EXPECT_EQ(r.MidiOutDevice, 2);
  EXPECT_EQ(playerValues(r.Player), (std::array{26, 3, 90, 34, 4, 80, 8, 76, 84}));
}

TEST(SettingsLocationTest, ProgramFolderWhenWritableElseSeededUserFolder) {
  FakeFileLayer fs;
  fs.files["/opt/strumbo/Px.ini"] = "[General MIDI]\n001 Piano=\n";
  auto writable = [](const std::string&) { return true; };
  auto readOnly = [](const std::string&) { return false; };
  EXPECT_EQ(SettingsLocation::resolve(kExe, fs, writable, "/home/u/.config/strumbo/"),
            "/opt/strumbo/Px.ini");

  const auto conf = std::filesystem::temp_directory_path() /
                    ("strumbo-conf-" + std::to_string(getpid())) / "strumbo/";
  const std::string user = conf.string() + "Px.ini";
  EXPECT_EQ(SettingsLocation::resolve(kExe, fs, readOnly, conf.string()), user);
  EXPECT_TRUE(std::filesystem::is_directory(conf));
  EXPECT_EQ(fs.files[user], "[General MIDI]\n001 Piano=\n");

  EXPECT_EQ(SettingsLocation::resolve(kExe, fs, readOnly, ""), "/opt/strumbo/Px.ini");
  std::filesystem::remove_all(conf.parent_path());
}

// The recent files keep their own section: newest first, each once, five at
// most per kind, and a shutdown write afterwards leaves them alone.
TEST_F(SettingsFile, RecentFilesAreKeptPerKindNewestFirst) {
  s.load(ini, kExe);
  for (const char* name : {"a.cpf", "b.cpf", "c.cpf", "a.cpf", "d.cpf", "e.cpf", "f.cpf"})
    s.rememberFile(Settings::ChordPageKind, std::string("/songs/") + name);
  s.rememberFile(Settings::PlayPageKind, "/songs/tune.ppf");
  s.saveRecentFiles(ini);
  s.saveShutdown(ini);
  Settings again;
  again.load(ini, kExe);
  EXPECT_EQ(again.RecentFiles[Settings::ChordPageKind],
            (std::vector<std::string>{"/songs/f.cpf", "/songs/e.cpf", "/songs/d.cpf",
                                      "/songs/a.cpf", "/songs/c.cpf"}));
  EXPECT_EQ(again.RecentFiles[Settings::PlayPageKind], std::vector<std::string>{"/songs/tune.ppf"});
  EXPECT_TRUE(again.RecentFiles[Settings::PrintPageKind].empty());
  EXPECT_EQ(ini.readKeyNames("Directory"),
            (std::vector<std::string>{"Chord", "Print", "Design", "Play", "Scale"}));

  // Lists written before names were kept absolute: a relative name finds
  // nothing from another folder, and a file is listed once.
  fs.files[kPath] =
      "[Recent Files]\nPlay1=tune.ppf\nPlay2=/s/a.ppf\nPlay3=/s/a.ppf\nPlay4=/s/b.ppf\n";
  again.load(ini, kExe);
  EXPECT_EQ(again.RecentFiles[Settings::PlayPageKind],
            (std::vector<std::string>{"/s/a.ppf", "/s/b.ppf"}));
}
