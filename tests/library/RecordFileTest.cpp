#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "library/RecordFile.h"

namespace {

#pragma pack(push, 1)
struct Rec3 {
  std::uint8_t A, B, C;
};
#pragma pack(pop)

class RecordFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir =
        std::filesystem::temp_directory_path() /
        ("strumbo_recordfile_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }

  void write(const std::string& name, const std::string& bytes) {
    std::ofstream out(Dir / name, std::ios::binary);
    out << bytes;
  }

  std::filesystem::path Dir;
};

}  // namespace

TEST_F(RecordFileTest, ReadsEachRecordAtItsOffset) {
  write("r.dat", std::string("abcdefghi", 9));
  RecordFile<Rec3> f;
  ASSERT_TRUE(f.open(Dir.string(), "r.dat"));
  EXPECT_EQ(f.count(), 3u);
  Rec3 r{};
  ASSERT_TRUE(f.read(2, r));
  EXPECT_EQ(r.A, 'g');
  ASSERT_TRUE(f.read(0, r));
  EXPECT_EQ(r.C, 'c');
}

TEST_F(RecordFileTest, RecordPastTheEndOrPartialLeavesTheCallersRecordAlone) {
  write("r.dat", std::string("abcdefgh", 8));  // two records and two stray bytes
  RecordFile<Rec3> f;
  ASSERT_TRUE(f.open(Dir.string() + "/", "r.dat"));
  EXPECT_EQ(f.count(), 2u);
  Rec3 r{'x', 'y', 'z'};
  EXPECT_FALSE(f.read(2, r));
  EXPECT_FALSE(f.read(1000000, r));
  EXPECT_EQ(r.A, 'x');
  EXPECT_EQ(r.C, 'z');
  ASSERT_TRUE(f.read(1, r));  // still usable after a refused read
  EXPECT_EQ(r.A, 'd');
}

TEST_F(RecordFileTest, MissingOrEmptyFile) {
  RecordFile<Rec3> f;
  EXPECT_FALSE(f.open(Dir.string(), "none.dat"));
  Rec3 r{};
  EXPECT_FALSE(f.read(0, r));
  write("empty.dat", "");
  ASSERT_TRUE(f.open(Dir.string(), "empty.dat"));
  EXPECT_EQ(f.count(), 0u);
  EXPECT_FALSE(f.read(0, r));
}
