#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "FakeFileLayer.h"
#include "files/PosixFileLayer.h"
#include "settings/ProfileFile.h"

namespace {

const std::string kPath = "/prog/Px.ini";

struct ProfileFileFake : ::testing::Test {
  FakeFileLayer fs;
  ProfileFile ini{kPath, fs};
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace

TEST_F(ProfileFileFake, MissingFileGivesEveryDefault) {
  EXPECT_EQ(ini.readInteger("Main", "Sspeed", -300), -300);
  EXPECT_TRUE(ini.readBool("Main", "Bass", true));
  EXPECT_FALSE(ini.readBool("Main", "Bass", false));
  EXPECT_EQ(ini.readString("1", "Name", "NONAME"), "NONAME");
  EXPECT_TRUE(ini.readKeyNames("General MIDI").empty());
  EXPECT_FALSE(ini.hasSection("Main"));
  EXPECT_EQ(fs.writes, 0);
}

TEST_F(ProfileFileFake, IntegersAreDecimalOrHexAndJunkGivesTheDefault) {
  const std::pair<const char*, std::int32_t> values[] = {
      {"0x10", 16},
      {"0X1f", 31},
      {"$10", 16},
      {"-300", -300},
      {"+5", 5},
      {" 42 ", 42},
      {"$FFFFFFFF", -1},
      {"-2147483648", INT32_MIN},
      {"2147483647", INT32_MAX},
      {"1234567890", 1234567890},
      {"0x01234567", 0x01234567},
      {"$89abcdef", static_cast<std::int32_t>(0x89ABCDEFu)},
      {"0X89ABCDEF", static_cast<std::int32_t>(0x89ABCDEFu)},
      // Junk, and what does not fit 32 bits, gives the default.
      {"12abc", 7},
      {"", 7},
      {"0x", 7},
      {"0xG", 7},
      {"1.5", 7},
      {"99999999999", 7},
      {"2147483648", 7},
      {"0x123456789", 7}};
  for (const auto& [text, value] : values) {
    fs.files[kPath] = std::string("[N]\nk=") + text + "\n";
    EXPECT_EQ(ini.readInteger("N", "k", 7), value) << "'" << text << "'";
  }
  fs.files[kPath] = "[N]\nUpper=0x1f\n";
  EXPECT_EQ(ini.readInteger("n", "UPPER", 7), 31) << "sections and keys ignore case";
  EXPECT_EQ(ini.readInteger("N", "absent", 7), 7);
}

TEST_F(ProfileFileFake, BooleansAreWrittenAsOneAndZeroAndReadAsNonZero) {
  ini.writeBool("Main", "Bass", true);
  EXPECT_NE(fs.files[kPath].find("Bass=1"), std::string::npos);
  EXPECT_TRUE(ini.readBool("Main", "Bass", false));
  ini.writeBool("Main", "Bass", false);
  EXPECT_NE(fs.files[kPath].find("Bass=0"), std::string::npos);
  EXPECT_FALSE(ini.readBool("Main", "Bass", true));
  fs.files[kPath] = "[Main]\nBass=7\nJunk=yes\n";
  EXPECT_TRUE(ini.readBool("Main", "Bass", false));
  EXPECT_TRUE(ini.readBool("Main", "Junk", true));
}

TEST_F(ProfileFileFake, StringsAreCutAt1023Characters) {
  const std::string longText(1500, 'x');
  ini.writeString("Directory", "Play", longText);
  EXPECT_EQ(ini.readString("Directory", "Play", "").size(), ProfileFile::MaxStringLength);
  EXPECT_EQ(ini.readString("Directory", "Chord", "/x/Chord"), "/x/Chord");
}

TEST_F(ProfileFileFake, WritesKeepOtherSectionsAndCommentsAndEraseRemovesASection) {
  fs.files[kPath] = "; Strumbo! settings\n\n[General MIDI]\n001 Piano=\n002 Bright=\n";
  ini.writeInteger("Main", "Sspeed", -250);
  ini.writeString("62", "Name", "mine");
  ini.writeString("63", "Name", "other");
  const std::string& text = fs.files[kPath];
  EXPECT_NE(text.find("; Strumbo! settings"), std::string::npos);
  EXPECT_NE(text.find("Sspeed=-250"), std::string::npos) << "no spaces around '='";
  EXPECT_EQ(ini.readKeyNames("General MIDI"),
            (std::vector<std::string>{"001 Piano", "002 Bright"}));
  EXPECT_EQ(ini.readInteger("Main", "Sspeed", 0), -250);
  ini.eraseSection("62");
  EXPECT_FALSE(ini.hasSection("62"));
  EXPECT_EQ(ini.readString("62", "Name", "NONAME"), "NONAME");
  EXPECT_EQ(ini.readString("63", "Name", "NONAME"), "other");
  EXPECT_FALSE(fs.temporaryLeft(kPath)) << "no temporary file is left behind";
}

// Every way a write can go wrong must leave the old file whole and report the path.
TEST_F(ProfileFileFake, FailedWritesLeaveTheOldFileIntactAndNameThePath) {
  const std::string before = "[Main]\nSspeed=-100\n[Directory]\nPlay=/home/p\n";
  auto attempt = [&](const char* what) {
    fs.files[kPath] = before;
    try {
      ini.writeInteger("Main", "Sspeed", -700);
      ADD_FAILURE() << what << ": no error";
    } catch (const ProfileWriteError& e) {
      EXPECT_STREQ(e.what(), "Unable to write to /prog/Px.ini") << what;
      EXPECT_EQ(e.path(), kPath);
    }
    EXPECT_EQ(fs.files[kPath], before) << what;
    EXPECT_FALSE(fs.temporaryLeft(kPath)) << what;
  };
  fs.failWrites = true;
  attempt("write fails");
  fs.failWrites = false;
  fs.loseTail = true;
  attempt("write claims success but loses data");
  fs.loseTail = false;
  fs.failReplace = true;
  attempt("rename fails");
  fs.failReplace = false;
  fs.files.erase(kPath);
  fs.unreadable = kPath;
  EXPECT_THROW(ini.writeInteger("Main", "Sspeed", 1), ProfileWriteError)
      << "an unreadable file is not replaced by one holding a single key";
  EXPECT_THROW(ini.eraseSection("Main"), ProfileWriteError);
}

TEST(ProfileFilePosix, RoundTripsOnDiskWithoutLeavingATemporaryFile) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("strumbo-ini-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "Px.ini").string();
  PosixFileLayer posix;
  ProfileFile ini(path, posix);
  ini.writeString("Directory", "Chord", "/a b/c");
  ini.writeInteger("Click", "Note", 34);
  EXPECT_EQ(slurp(path), "[Directory]\nChord=/a b/c\n\n\n[Click]\nNote=34\n");
  EXPECT_EQ(ini.readInteger("Click", "Note", 0), 34);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1)
      << "no temporary file is left behind";

  namespace fs = std::filesystem;
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  ini.writeInteger("Click", "Note", 35);
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write)
      << "a rewrite keeps the file's permissions";
  std::filesystem::remove_all(dir);
}

// A real full disk: a tiny tmpfs in a private mount namespace.
TEST(ProfileFilePosix, FullDiskLeavesTheOldFileIntact) {
  if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    GTEST_SKIP() << "no private mount namespace here";
  const auto dir =
      std::filesystem::temp_directory_path() / ("strumbo-full-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  if (mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount tmpfs";
  const std::string path = (dir / "Px.ini").string();
  PosixFileLayer posix;
  ProfileFile ini(path, posix);
  ini.writeString("Directory", "Chord", std::string(1000, 'c'));
  for (int i = 0; i < 20; ++i)
    ini.writeString("Fill", "K" + std::to_string(i), std::string(1000, 'f'));
  const std::string before = slurp(path);
  {
    // Fill the rest of the disk.
    std::ofstream filler(dir / "filler", std::ios::binary);
    const std::string block(4096, 'z');
    for (int i = 0; i < 64 && filler; ++i) filler << block << std::flush;
  }
  EXPECT_THROW(ini.writeString("Directory", "Play", std::string(1000, 'p')), ProfileWriteError);
  EXPECT_EQ(slurp(path), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2)
      << "Px.ini and the filler, no temporary file";
  umount(dir.c_str());
  std::filesystem::remove_all(dir);
}
