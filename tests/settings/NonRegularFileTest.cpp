// A FIFO where the settings file or a data file should be: before, open()
// waited for a writer that never comes; now the readers report a damaged file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "files/PosixFileLayer.h"
#include "library/ChordLibrary.h"
#include "library/LibraryFiles.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"

namespace {

namespace fs = std::filesystem;

struct Fifos : ::testing::Test {
  fs::path dir = fs::temp_directory_path() / ("strumbo-fifo-" + std::to_string(getpid()));
  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string fifo(const char* name) const {
    const std::string p = (dir / name).string();
    EXPECT_EQ(::mkfifo(p.c_str(), 0644), 0);
    return p;
  }
};

}  // namespace

TEST_F(Fifos, ASettingsFileThatIsAFifoGivesDefaultsAndIsNeverReplaced) {
  const std::string path = fifo("Px.ini");
  PosixFileLayer posix;
  ProfileFile ini(path, posix);
  EXPECT_TRUE(ini.read().failed());
  Settings s;
  s.load(ini, "/opt/strumbo/");
  EXPECT_EQ(s.Player.GuitarPatch, 25);
  EXPECT_EQ(s.StrumSpeed, -300);
  EXPECT_THROW(s.saveShutdown(ini), ProfileWriteError);
  EXPECT_TRUE(fs::is_fifo(path));
}

TEST_F(Fifos, DataFilesThatAreFifosReadAsDamaged) {
  fifo("pxcd3.dat");
  fifo("pxs.dat");
  fifo("pxma1.dat");
  fifo("pxma2.dat");
  TChordFormula formula{};
  LibraryResult r = readChordFormula(dir.string(), 0, formula);
  EXPECT_EQ(r.Status, LibraryStatus::ReadError);
  EXPECT_EQ(r.File, "pxcd3.dat");
  TScaleFormula scale{};
  r = readScaleFormula(dir.string(), 0, scale);
  EXPECT_EQ(r.Status, LibraryStatus::ReadError);
  EXPECT_EQ(r.File, "pxs.dat");
  TChordDiagram set[6] = {};
  set[0].Empty = 7;
  r = readChordSet(dir.string(), 1, 0, 0, set, formula);
  EXPECT_EQ(r.Status, LibraryStatus::ReadError);
  EXPECT_EQ(set[0].Empty, 7) << "the caller's records are untouched";
}
