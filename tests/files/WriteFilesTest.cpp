#include <gtest/gtest.h>

#include <map>
#include <set>

#include "../settings/FakeFileLayer.h"
#include "files/WriteFiles.h"

namespace {

// Every single failing step of writing two files together, for the cases of
// both, one or neither old file being there: the files end as they were and
// nothing else is left behind; with no fault both are new.
TEST(WriteFilesTogether, AnyFailingStepLeavesTheOldFilesAsTheyWere) {
  struct Start {
    bool HasA, HasB;
  };
  for (const Start start :
       {Start{true, true}, Start{true, false}, Start{false, true}, Start{false, false}}) {
    for (int failing = 0; failing <= 6; ++failing) {
      for (const bool atReplace : {false, true}) {
        FakeFileLayer fs;
        if (start.HasA) fs.files["d/a.ppf"] = "old page";
        if (start.HasB) fs.files["d/a.rpt"] = "old marks";
        const auto before = fs.files;
        (atReplace ? fs.failReplaceNumber : fs.failWriteNumber) = failing;
        const auto failure =
            writeFilesTogether(fs, {{"d/a.ppf", "new page"}, {"d/a.rpt", "new marks"}});
        SCOPED_TRACE(::testing::Message() << start.HasA << start.HasB << " step " << failing
                                          << (atReplace ? " replace" : " write"));
        const int steps = atReplace ? fs.replaces : fs.writes;
        if (failure) {
          EXPECT_EQ(fs.files, before);
          EXPECT_FALSE(failure->Reason.empty());
          EXPECT_TRUE(failure->Path == "d/a.ppf" || failure->Path == "d/a.rpt");
        } else {
          EXPECT_TRUE(failing == 0 || failing > steps);
          EXPECT_EQ(fs.files.size(), 2u);
          EXPECT_EQ(fs.files["d/a.ppf"], "new page");
          EXPECT_EQ(fs.files["d/a.rpt"], "new marks");
        }
      }
    }
  }
}

TEST(WriteFilesTogether, NamesTheFileThatFailedAndWhy) {
  FakeFileLayer fs;
  fs.failWriteNumber = 2;
  const auto failure = writeFilesTogether(fs, {{"a.ppf", "x"}, {"a.rpt", "y"}});
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Path, "a.rpt");
  EXPECT_EQ(failure->Reason, "No space left on device");
  EXPECT_TRUE(fs.files.empty());
}

// What a killed write of the group left beside it goes, by its exact names;
// files of other names stay, however alike.
TEST(SettleFiles, RemovesTheGroupsLeftoversAndNothingElse) {
  FakeFileLayer fs;
  for (const char* name : {"d/a.ppf", "d/a.rpt", "d/a.ppf.tmp-0a1b2c3d", "d/a.rpt.old-zzzzzzzz",
                           "d/a.ppf.saving.tmp-00000007", "d/a.ppf.tmp-short",
                           "d/a.ppf.tmp-ABCDEFGH", "d/a.rptx.tmp-00000001", "d/b.ppf.tmp-00000001",
                           "d/e/a.ppf.tmp-00000001", "a.ppf.tmp-00000001"})
    fs.files[name] = "x";
  std::unique_ptr<FileLayer::Lock> lock;
  EXPECT_FALSE(settleFiles(fs, {"d/a.ppf", "d/a.rpt"}, lock));
  std::set<std::string> left;
  for (const auto& [name, text] : fs.files) left.insert(name);
  EXPECT_EQ(left, (std::set<std::string>{"d/a.ppf", "d/a.rpt", "d/a.ppf.tmp-short",
                                         "d/a.ppf.tmp-ABCDEFGH", "d/a.rptx.tmp-00000001",
                                         "d/b.ppf.tmp-00000001", "d/e/a.ppf.tmp-00000001",
                                         "a.ppf.tmp-00000001"}));
}

// A plan found beside the page is carried out only when it names files of
// the group and their own temporaries; anything else under its name goes
// unread, and no other file changes.
TEST(SettleFiles, APlanNamingOtherFilesIsNotFollowed) {
  const std::string heading = "strumbo write plan 1\n";
  using namespace std::string_literals;
  for (const std::string& plan : {heading + "b.ppf\0"
                                            "0\0b.ppf.tmp-00000001\0\0"s,
                                  heading + "a.ppf\0"
                                            "0\0b.ppf.tmp-00000001\0\0"s,
                                  heading + "a.ppf\0"
                                            "0\0a.ppf.tmp-00000001\0../x.old-00000001\0"s,
                                  heading + "a.ppf\0"
                                            "2\0a.ppf.tmp-00000001\0\0"s,
                                  heading + "a.ppf\0"
                                            "0\0"s,
                                  "not a plan"s}) {
    FakeFileLayer fs;
    fs.files["d/a.ppf"] = "old";
    fs.files["d/b.ppf"] = "other";
    fs.files["d/b.ppf.tmp-00000001"] = "other's temporary";
    fs.files["d/a.ppf.saving"] = plan;
    std::unique_ptr<FileLayer::Lock> lock;
    EXPECT_FALSE(settleFiles(fs, {"d/a.ppf", "d/a.rpt"}, lock));
    EXPECT_EQ(fs.files,
              (std::map<std::string, std::string>{{"d/a.ppf", "old"},
                                                  {"d/b.ppf", "other"},
                                                  {"d/b.ppf.tmp-00000001", "other's temporary"}}))
        << plan;
  }
}

// An interrupted write that cannot be finished (its rename fails) is reported,
// and its plan and temporaries stay for the next try.
TEST(SettleFiles, APlanThatCannotBeCarriedOutIsReportedAndKept) {
  FakeFileLayer fs;
  const auto failure = writeFilesTogether(fs, {{"d/a.ppf", "new"}, {"d/a.rpt", "new marks"}});
  ASSERT_FALSE(failure);
  fs.files["d/a.ppf.tmp-00000009"] = "newer";
  using namespace std::string_literals;
  fs.files["d/a.ppf.saving"] =
      "strumbo write plan 1\na.ppf\0"
      "1\0a.ppf.tmp-00000009\0\0"s;
  fs.failReplace = true;
  std::unique_ptr<FileLayer::Lock> lock;
  const auto stuck = settleFiles(fs, {"d/a.ppf", "d/a.rpt"}, lock);
  ASSERT_TRUE(stuck);
  EXPECT_EQ(stuck->Path, "d/a.ppf");
  EXPECT_TRUE(fs.exists("d/a.ppf.saving"));
  EXPECT_TRUE(fs.exists("d/a.ppf.tmp-00000009"));
  fs.failReplace = false;
  EXPECT_FALSE(settleFiles(fs, {"d/a.ppf", "d/a.rpt"}, lock));
  EXPECT_EQ(fs.files["d/a.ppf"], "newer");
  EXPECT_EQ(fs.files.size(), 2u);
}

}  // namespace
