#include <gtest/gtest.h>

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

}  // namespace
