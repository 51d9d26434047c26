#include <gtest/gtest.h>

#include "FakeFileLayer.h"
#include "settings/ProfileFile.h"
#include "settings/UserTuningStore.h"

namespace {

const std::string kPath = "/opt/strumbo/Px.ini";
const Tuning OpenA = {64, 61, 57, 52, 45, 40};
const Tuning Nashville = {64, 59, 67, 62, 57, 52};

struct UserTuningFile : ::testing::Test {
  FakeFileLayer fs;
  ProfileFile ini{kPath, fs};
  std::vector<NamedTuning> read() { return UserTuningStore::read(ini.read()); }
};

}  // namespace

TEST_F(UserTuningFile, OnlyEntriesThatCouldHaveBeenSavedAreRead) {
  fs.files[kPath] =
      "[User Tunings]\n"
      "Number=12\n"
      "Name1=Open A\nNotes1=40 45 52 57 61 64\n"
      "Name2=Too Low\nNotes2=32 45 52 57 61 64\n"
      "Name3=Too High\nNotes3=40 45 52 57 61 70\n"
      "Name4=A name far too long\nNotes4=40 45 52 57 61 64\n"
      "Name5=Five\nNotes5=40 45 52 57 61\n"
      "Name6=Seven\nNotes6=40 45 52 57 61 64 64\n"
      "Name7=Junk\nNotes7=40 45 fifty 57 61 64\n"
      "Name8=dadgad\nNotes8=38 45 50 55 57 62\n"
      "Name9=OPEN a\nNotes9=40 45 52 57 60 64\n"
      "Notes10=40 45 52 57 61 64\n"
      "Name11=Wraps\nNotes11=296 45 52 57 61 64\n"
      "Name12=  Nashville  \nNotes12=  52 57 62 67 59 64 \n";
  // A plain blank run between notes is fine; a second entry that differs
  // only in case, a built-in's name, and notes that wrap round a byte are not.
  const std::vector<NamedTuning> expected = {{"Open A", OpenA}, {"Nashville", Nashville}};
  EXPECT_EQ(read(), expected);

  // A negative count, or none, reads nothing; a huge one reads what is there.
  for (const char* count : {"-3", "junk"}) {
    fs.files[kPath] = std::string("[User Tunings]\nNumber=") + count +
                      "\nName1=Open A\nNotes1=40 45 52 57 61 64\n";
    EXPECT_TRUE(read().empty()) << count;
  }
  fs.files[kPath] = "[User Tunings]\nNumber=2000000000\nName1=Open A\nNotes1=40 45 52 57 61 64\n";
  EXPECT_EQ(read(), (std::vector<NamedTuning>{{"Open A", OpenA}}));
  // Past the bound nothing is looked at.
  fs.files[kPath] = "[User Tunings]\nNumber=500\nName101=Late\nNotes101=40 45 52 57 61 64\n";
  EXPECT_TRUE(read().empty());
}

TEST_F(UserTuningFile, SavedTuningsReadBackAndASecondStartSeesThem) {
  fs.files[kPath] = "[Main]\nSspeed=-300\n";
  using enum UserTuningStore::SaveResult;
  EXPECT_EQ(UserTuningStore::save(ini, " Open A ", OpenA), Added);
  EXPECT_EQ(UserTuningStore::save(ini, "Nashville", Nashville), Added);
  EXPECT_EQ(read(), (std::vector<NamedTuning>{{"Open A", OpenA}, {"Nashville", Nashville}}));
  // Lowest string first, as a player reads it.
  EXPECT_EQ(ini.readString("User Tunings", "Notes1", ""), "40 45 52 57 61 64");
  EXPECT_EQ(ini.readInteger("Main", "Sspeed", 0), -300);

  // The same name in another case replaces the entry where it stands.
  EXPECT_EQ(UserTuningStore::save(ini, "open a", StandardTuning), Replaced);
  EXPECT_EQ(read(),
            (std::vector<NamedTuning>{{"open a", StandardTuning}, {"Nashville", Nashville}}));

  ASSERT_TRUE(UserTuningStore::remove(ini, "OPEN A"));
  EXPECT_FALSE(UserTuningStore::remove(ini, "Open A"));
  EXPECT_EQ(read(), (std::vector<NamedTuning>{{"Nashville", Nashville}}));
  // Written afresh: no entry is left behind the count.
  EXPECT_EQ(ini.readInteger("User Tunings", "Number", 0), 1);
  EXPECT_EQ(ini.readString("User Tunings", "Name2", "gone"), "gone");
}

TEST_F(UserTuningFile, RefusedSavesWriteNothing) {
  ASSERT_EQ(UserTuningStore::save(ini, "Open A", OpenA), UserTuningStore::SaveResult::Added);
  const std::string before = fs.files[kPath];
  using enum UserTuningStore::SaveResult;
  EXPECT_EQ(UserTuningStore::save(ini, "Dadgad", OpenA), BuiltInName);
  EXPECT_EQ(UserTuningStore::save(ini, "   ", OpenA), BadName);
  EXPECT_EQ(UserTuningStore::save(ini, "sixteen letters!", OpenA), BadName);
  EXPECT_EQ(UserTuningStore::save(ini, "tab\there", OpenA), BadName);
  EXPECT_EQ(UserTuningStore::save(ini, "Off the neck", Tuning{70, 59, 55, 50, 45, 40}), BadName);
  EXPECT_EQ(fs.files[kPath], before);

  fs.failWrites = true;
  EXPECT_THROW(UserTuningStore::save(ini, "Nashville", Nashville), ProfileWriteError);
  EXPECT_THROW(UserTuningStore::remove(ini, "Open A"), ProfileWriteError);
  EXPECT_EQ(fs.files[kPath], before);
}

TEST_F(UserTuningFile, AFullListTakesReplacementsButNoNewName) {
  for (int n = 0; n < UserTuningStore::MaxTunings; ++n)
    ASSERT_EQ(UserTuningStore::save(ini, "T" + std::to_string(n), OpenA),
              UserTuningStore::SaveResult::Added);
  EXPECT_EQ(UserTuningStore::save(ini, "One more", OpenA), UserTuningStore::SaveResult::Full);
  EXPECT_EQ(UserTuningStore::save(ini, "T99", Nashville), UserTuningStore::SaveResult::Replaced);
  const auto list = read();
  ASSERT_EQ(list.size(), std::size_t(UserTuningStore::MaxTunings));
  EXPECT_EQ(list.back(), (NamedTuning{"T99", Nashville}));
}
