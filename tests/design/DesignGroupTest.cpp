#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "Tagged.h"
#include "design/DesignGroup.h"

namespace fs = std::filesystem;

namespace {

int tagOf(const TChordDiagram& d) {
  return isEmpty(d) ? -1 : d.BaseFret - 1;
}

struct Group : ::testing::Test {
  TChordDiagram slots[6];
  DesignGroup group{slots};

  Group() {
    for (auto& s : slots) s = TChordDiagram{}, s.Empty = 1;
  }
  void fillD0toD5() {
    for (int s = 0; s < 6; ++s) slots[s] = tagged(s);
  }
  std::vector<int> tags() const {
    std::vector<int> t;
    for (const auto& s : slots) t.push_back(tagOf(s));
    return t;
  }
  // A Move from slot `from` landed on slot `to`, as the page does it.
  DesignGroup::Written move(int from, int to) {
    const TChordDiagram d = group.takeOut(from);
    EXPECT_FALSE(group.holds(from));
    return group.landMoved(to, from, d);
  }
};

TEST_F(Group, SlotsAreSeventySixPixelsWideAndOnlySixOfThem) {
  EXPECT_EQ(DesignGroup::slotAt(0), 0);
  EXPECT_EQ(DesignGroup::slotAt(75), 0);
  EXPECT_EQ(DesignGroup::slotAt(76), 1);
  EXPECT_EQ(DesignGroup::slotAt(455), 5);
  EXPECT_EQ(DesignGroup::slotAt(456), -1);
  EXPECT_EQ(DesignGroup::slotAt(-1), -1);
}

TEST_F(Group, RingMoveRightShiftsTheDiagramsBetweenAroundTheRing) {
  fillD0toD5();
  const auto w = move(1, 4);
  EXPECT_EQ(tags(), (std::vector<int>{5, 0, 2, 3, 1, 4}));
  // Every slot that changed is reported for redrawing, the landing slot last.
  ASSERT_EQ(w.Count, 4);
  EXPECT_EQ((std::set<int>(w.Slot.begin(), w.Slot.begin() + w.Count)), (std::set<int>{0, 1, 4, 5}));
  EXPECT_EQ(w.Slot[3], 4);
}

TEST_F(Group, RingMoveLeftShiftsOnlyTheSlotsInBetween) {
  fillD0toD5();
  const auto w = move(4, 1);
  EXPECT_EQ(tags(), (std::vector<int>{0, 4, 1, 2, 3, 5}));
  ASSERT_EQ(w.Count, 4);
  EXPECT_EQ(w.Slot[3], 1);
}

TEST_F(Group, MoveOntoAFreeSlotOrBackHomeShiftsNothing) {
  fillD0toD5();
  group.erase(3);
  auto w = move(1, 3);
  EXPECT_EQ(tags(), (std::vector<int>{0, -1, 2, 1, 4, 5}));
  EXPECT_EQ(w.Count, 1);
  w = move(2, 2);
  EXPECT_EQ(tags(), (std::vector<int>{0, -1, 2, 1, 4, 5}));
  EXPECT_EQ(w.Count, 1);
}

TEST_F(Group, PlaceEraseAndFirstHeldFollowTheSlots) {
  EXPECT_EQ(group.firstHeld(), -1);
  group.place(4, tagged(7));
  EXPECT_TRUE(group.holds(4));
  EXPECT_EQ(group.firstHeld(), 4);
  group.place(2, tagged(8));
  EXPECT_EQ(group.firstHeld(), 2);
  group.erase(2);
  EXPECT_EQ(group.firstHeld(), 4);
  // Out-of-range slots are refused, not written.
  group.place(6, tagged(1));
  group.place(-1, tagged(1));
  group.erase(9);
  EXPECT_FALSE(group.holds(6));
  EXPECT_EQ(tags(), (std::vector<int>{-1, -1, -1, -1, 7, -1}));
}

struct Library : Group {
  fs::path dir =
      fs::temp_directory_path() /
      ("design-group-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  Library() {
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& e : fs::directory_iterator(STRUMBO_TEST_PROGRAM_DIR))
      if (e.path().extension() == ".dat") fs::copy_file(e.path(), dir / e.path().filename());
  }
  ~Library() override { fs::remove_all(dir); }
  std::string dirText() const { return dir.string() + "/"; }
};

TEST_F(Library, CMaj7FillsAllSixSlotsWithMaj7FingeringsInC) {
  fillD0toD5();
  const LibraryResult r = group.fillFromLibrary(dirText(), 2, 0);  // maj7, key C
  ASSERT_EQ(r.Status, LibraryStatus::Ok);
  const std::set<int> maj7{0, 4, 7, 11};
  std::set<std::vector<int>> distinct;
  for (const auto& d : slots) {
    EXPECT_FALSE(isEmpty(d));
    EXPECT_EQ(d.Root, 0);
    EXPECT_EQ(d.Bass, 24);
    EXPECT_EQ(std::string(d.TuningName.view()), "Standard");
    EXPECT_EQ((std::vector<int>(d.Intervals, d.Intervals + 5)),
              (std::vector<int>{0, 4, 7, 11, ChordIntervalEnd}));
    std::vector<int> frets;
    for (int s = 0; s < 6; ++s) {
      frets.push_back(d.Strings[s].Fret);
      if (d.Notes[s] != 0) {
        EXPECT_TRUE(maj7.count(d.Notes[s] % 12)) << "string " << s;
      }
    }
    distinct.insert(frets);
  }
  EXPECT_EQ(distinct.size(), 6u);  // six different voicings, not one copied
}

TEST_F(Library, AnyMissingOrShortFileLeavesTheGroupExactlyAsItWas) {
  fillD0toD5();
  const auto before = tags();
  fs::remove(dir / "pxmi2.dat");
  EXPECT_EQ(group.fillFromLibrary(dirText(), 19, 3).Status, LibraryStatus::MissingFiles);
  // The dictionary cut short: the fingering files read fine, still nothing changes.
  fs::resize_file(dir / "pxcd3.dat", 44 * 2);
  EXPECT_EQ(group.fillFromLibrary(dirText(), 5, 0).Status, LibraryStatus::ReadError);
  // A library file cut short after the first three fingerings of C maj7.
  fs::copy_file(STRUMBO_TEST_PROGRAM_DIR "/pxcd3.dat", dir / "pxcd3.dat",
                fs::copy_options::overwrite_existing);
  fs::resize_file(dir / "pxma2.dat", 13 * 3);
  EXPECT_EQ(group.fillFromLibrary(dirText(), 2, 1).Status, LibraryStatus::ReadError);
  // No such chord type.
  EXPECT_NE(group.fillFromLibrary(dirText(), 62, 0).Status, LibraryStatus::Ok);
  EXPECT_NE(group.fillFromLibrary(dirText(), -1, 0).Status, LibraryStatus::Ok);
  EXPECT_EQ(tags(), before);
}

}  // namespace
