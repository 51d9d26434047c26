#include <gtest/gtest.h>

#include "FakeFileLayer.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "settings/UserChordStore.h"

namespace {

const std::string kPath = "/opt/strumbo/Px.ini";

struct UserChordFile : ::testing::Test {
  FakeFileLayer fs;
  ProfileFile ini{kPath, fs};

  void writeChord(int section, const std::string& name, std::initializer_list<int> values) {
    int k = 0;
    for (int v : values) ini.writeInteger(std::to_string(section), "I" + std::to_string(k++), v);
    ini.writeString(std::to_string(section), "Name", name);
  }
};

}  // namespace

TEST_F(UserChordFile, AddingStoresTheListInTheSectionOfItsListIndex) {
  const std::string name =
      UserChordStore::add(ini, 62, "mine", "1 b3 5 b7", {0, 3, 7, 10, 255, 255, 255});
  EXPECT_EQ(name, "mine");
  EXPECT_EQ(ini.readInteger("UserChords", "Number", 0), 1);
  const int expected[7] = {0, 3, 7, 10, 255, 255, 255};
  for (int k = 0; k < 7; ++k)
    EXPECT_EQ(ini.readInteger("62", "I" + std::to_string(k), -7), expected[k]) << k;
  EXPECT_EQ(ini.readString("62", "Formula", "?"), "1 b3 5 b7");

  // The next one counts on and goes where the list puts it.
  EXPECT_EQ(UserChordStore::add(ini, 63, "  ", " 1 3 ", {0, 4, 255, 255, 255, 255, 255}), "NONAME");
  EXPECT_EQ(ini.readInteger("UserChords", "Number", 0), 2);
  EXPECT_EQ(ini.readString("63", "Name", ""), "NONAME");
  EXPECT_EQ(ini.readString("63", "Formula", ""), "1 3");

  const TChordFormula back = UserChordStore::read(ini.read(), 62);
  EXPECT_EQ(back.Name, "mine");
  EXPECT_EQ(back.Intervals[3], 10);
  EXPECT_EQ(back.Intervals[4], -1);
}

TEST_F(UserChordFile, DeletingMovesLaterSectionsDown) {
  ini.writeInteger("UserChords", "Number", 3);
  writeChord(62, "first", {0, 4, 7});
  writeChord(63, "second", {0, 3, 7});
  writeChord(64, "third", {0, 5, 7, 10});
  ini.writeString("64", "Formula", "1 4 5 b7");

  ASSERT_TRUE(UserChordStore::remove(ini, 63, 65));
  EXPECT_EQ(ini.readInteger("UserChords", "Number", 0), 2);
  EXPECT_EQ(ini.readString("62", "Name", ""), "first");
  EXPECT_EQ(ini.readString("63", "Name", ""), "third");
  EXPECT_EQ(ini.readString("63", "Formula", ""), "1 4 5 b7");
  EXPECT_EQ(ini.readInteger("63", "I1", 0), 5);
  EXPECT_EQ(ini.readInteger("63", "I3", 0), 10);
  EXPECT_EQ(ini.readInteger("63", "I4", 0), 255);
  EXPECT_FALSE(ini.hasSection("64"));

  // The last item needs no copying.
  ASSERT_TRUE(UserChordStore::remove(ini, 63, 64));
  EXPECT_EQ(ini.readInteger("UserChords", "Number", 0), 1);
  EXPECT_FALSE(ini.hasSection("63"));
  EXPECT_EQ(ini.readString("62", "Name", ""), "first");
}

TEST_F(UserChordFile, NothingIsDeletedWhenTheFileCountsNone) {
  writeChord(62, "orphan", {0, 4});
  const std::string before = fs.files[kPath];
  EXPECT_FALSE(UserChordStore::remove(ini, 62, 63));
  EXPECT_EQ(fs.files[kPath], before);
}

TEST_F(UserChordFile, AFailedWriteLeavesTheFileAsItWas) {
  ini.writeInteger("UserChords", "Number", 2);
  writeChord(62, "first", {0, 4, 7});
  writeChord(63, "second", {0, 3, 7});
  const std::string before = fs.files[kPath];
  fs.failWrites = true;
  EXPECT_THROW(UserChordStore::add(ini, 64, "x", "1 3", {0, 4, 255, 255, 255, 255, 255}),
               ProfileWriteError);
  EXPECT_THROW(UserChordStore::remove(ini, 62, 64), ProfileWriteError);
  EXPECT_EQ(fs.files[kPath], before);
}

TEST_F(UserChordFile, DamagedSectionsReadAsWhatTheyCanUse) {
  ini.writeString("62", "Name", "a very long chord name");
  ini.writeInteger("62", "I0", 5);
  ini.writeInteger("62", "I1", 9);
  ini.writeInteger("62", "I2", 4);
  ini.writeString("62", "I3", "junk");
  ini.writeInteger("62", "I4", 22);
  ini.writeInteger("62", "I5", 14);
  const TChordFormula f = UserChordStore::read(ini.read(), 62);
  EXPECT_EQ(f.Name, "a very long cho");
  const int expected[7] = {0, 9, 14, -1, -1, -1, -1};
  for (int k = 0; k < 7; ++k) EXPECT_EQ(f.Intervals[k], expected[k]) << k;

  // The list captions at start-up are cut the same way.
  ini.writeInteger("UserChords", "Number", 1);
  Settings s;
  s.load(ini, "/opt/strumbo/");
  ASSERT_EQ(s.UserChordNames.size(), 1u);
  EXPECT_EQ(s.UserChordNames[0], "a very long cho");
}
