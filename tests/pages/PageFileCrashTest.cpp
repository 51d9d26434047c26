#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>

#include "files/PosixFileLayer.h"
#include "pages/PageFile.h"

namespace {

// The real file layer, but the process dies just before its `killAt`-th change
// to the disk (a write, rename, link or unlink), as it would in a crash; a
// write that dies leaves its temporary half written.
class DyingFileLayer : public FileLayer {
 public:
  explicit DyingFileLayer(int killAt, int failRenameAt = 0)
      : KillAt(killAt), FailRenameAt(failRenameAt) {}

  std::optional<std::string> read(const std::string& path) override {
    return pass(Real.read(path));
  }
  std::optional<std::string> readAtMost(const std::string& path, std::size_t maxBytes) override {
    return pass(Real.readAtMost(path, maxBytes));
  }
  bool exists(const std::string& path) override { return Real.exists(path); }
  std::optional<std::string> writeTemporary(const std::string& target,
                                            std::string_view data) override {
    if (++Changes == KillAt) {
      Real.writeTemporary(target, data.substr(0, data.size() / 2));
      ::raise(SIGKILL);
    }
    return pass(Real.writeTemporary(target, data));
  }
  // The rename numbered `failRenameAt` fails, as a disk error would fail it.
  bool replace(const std::string& from, const std::string& to) override {
    change();
    if (++Renames == FailRenameAt) {
      Error = "Input/output error";
      return false;
    }
    return pass(Real.replace(from, to));
  }
  void remove(const std::string& path) override {
    change();
    Real.remove(path);
  }
  std::optional<std::string> keepAside(const std::string& path) override {
    change();
    return pass(Real.keepAside(path));
  }
  std::optional<std::string> moveAside(const std::string& path, std::string_view tag) override {
    change();
    return pass(Real.moveAside(path, tag));
  }
  std::vector<std::string> namesBeside(const std::string& path) override {
    return Real.namesBeside(path);
  }
  std::unique_ptr<Lock> lockFolderOf(const std::string& path) override {
    return Real.lockFolderOf(path);
  }

 private:
  void change() {
    if (++Changes == KillAt) ::raise(SIGKILL);
  }
  template <typename T>
  T pass(T result) {
    Error = Real.lastError();
    return result;
  }
  PosixFileLayer Real;
  int KillAt;
  int FailRenameAt;
  int Changes = 0;
  int Renames = 0;
};

enum class Ending { Finished, Failed, Killed };

// Runs `work` in a child whose file layer dies at change `killAt`; whether it
// got to the end and said it succeeded.
Ending runDyingAt(int killAt, const std::function<bool(FileLayer&)>& work, int failRenameAt = 0) {
  const pid_t child = ::fork();
  if (child == 0) {
    DyingFileLayer files(killAt, failRenameAt);
    ::_exit(work(files) ? 0 : 1);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return Ending::Failed;
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return Ending::Killed;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Ending::Finished : Ending::Failed;
}

std::unique_ptr<PageContents> playPage(int tempo) {
  auto p = std::make_unique<PageContents>();
  p->Kind = PageKind::Play;
  for (auto& column : p->PlayPage)
    for (auto& d : column) d.Empty = 1;
  p->Header.TempoBpm = tempo;
  return p;
}

TRepeatSet marks(int loopBar) {
  TRepeatSet set{};
  set.ReturnMark[0] = 1;
  set.LoopMark[loopBar] = 1;
  return set;
}

class PageFileCrash : public ::testing::Test {
 protected:
  std::filesystem::path Dir;
  std::string Page, Marks;
  void SetUp() override {
    char name[] = "/tmp/strumbo-crash-XXXXXX";
    ASSERT_NE(::mkdtemp(name), nullptr);
    Dir = name;
    Page = (Dir / "song.ppf").string();
    Marks = (Dir / "song.rpt").string();
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }

  std::set<std::string> names() const {
    std::set<std::string> out;
    for (const auto& entry : std::filesystem::directory_iterator(Dir))
      out.insert(entry.path().filename().string());
    return out;
  }
  static std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string("(none)");
  }
  void clear() {
    for (const auto& entry : std::filesystem::directory_iterator(Dir))
      std::filesystem::remove_all(entry.path());
  }
};

// A save of a play page is killed before each of its changes to the disk in
// turn, over an old pair and as the page's first save; then a load (killed in
// turn at each of its own changes, then one that runs to the end) must find
// the old pair or the new one, never a page of one save beside the marks of
// another, and nothing but the two files left in the folder.
TEST_F(PageFileCrash, AKilledSaveLeavesTheOldPairOrTheNewOne) {
  const auto oldPage = playPage(100), newPage = playPage(140);
  const TRepeatSet oldMarks = marks(8), newMarks = marks(11);
  const std::string oldBytes = encodePage(*oldPage), newBytes = encodePage(*newPage);
  const std::string oldRpt = encodeRepeatSet(oldMarks), newRpt = encodeRepeatSet(newMarks);
  const auto save = [&](FileLayer& files) {
    return savePageFile(files, Page, *newPage, &newMarks).empty();
  };
  const auto load = [&](FileLayer& files) {
    auto page = playPage(120);
    std::optional<TRepeatSet> companion;
    // No page at all is fine after a first save cut short; any other refusal is not.
    const std::string error = loadPageFile(files, Page, PageKind::Play, *page, companion);
    return error.empty() || error.find("No such file or directory") != std::string::npos;
  };

  for (const bool firstSave : {false, true}) {
    int seenOld = 0, seenNew = 0;
    for (int saveKill = 1;; ++saveKill) {
      bool saveFinished = false;
      for (int loadKill = 1;; ++loadKill) {
        SCOPED_TRACE(::testing::Message()
                     << (firstSave ? "first save" : "over a pair") << ", save killed at change "
                     << saveKill << ", load killed at change " << loadKill);
        clear();
        PosixFileLayer files;
        if (!firstSave) {
          ASSERT_EQ(savePageFile(files, Page, *oldPage, &oldMarks), "");
        }
        const Ending saved = runDyingAt(saveKill, save);
        ASSERT_NE(saved, Ending::Failed);
        saveFinished = saved == Ending::Finished;
        const Ending loaded = runDyingAt(loadKill, load);
        ASSERT_NE(loaded, Ending::Failed) << "a load after the crash refused the page";

        auto page = playPage(120);
        std::optional<TRepeatSet> companion;
        const std::string error = loadPageFile(files, Page, PageKind::Play, *page, companion);
        const std::string onDisk = slurp(Page), rptOnDisk = slurp(Marks);
        if (firstSave && onDisk == "(none)") {
          EXPECT_NE(error, "");
          EXPECT_EQ(rptOnDisk, "(none)");
          EXPECT_EQ(names(), std::set<std::string>{});
          ++seenOld;
        } else {
          ASSERT_EQ(error, "");
          ASSERT_TRUE(companion);
          const bool isNew = onDisk == newBytes;
          EXPECT_TRUE(isNew || (!firstSave && onDisk == oldBytes));
          EXPECT_EQ(rptOnDisk, isNew ? newRpt : oldRpt);
          EXPECT_EQ(encodePage(*page), onDisk);
          EXPECT_EQ(encodeRepeatSet(*companion), rptOnDisk);
          EXPECT_EQ(names(), (std::set<std::string>{"song.ppf", "song.rpt"}));
          ++(isNew ? seenNew : seenOld);
        }
        if (HasFailure()) return;
        if (loaded == Ending::Finished) break;
      }
      if (saveFinished) break;
    }
    // Both outcomes happen: the kills did fall before and after the point of no return.
    EXPECT_GT(seenOld, 0);
    EXPECT_GT(seenNew, 0);
  }
}

// A rename of the save fails, and the old files are being put back when the
// process is killed, at each change in turn: the next load finds the old pair
// or (killed before the undoing was marked) the new one, and no leftovers.
TEST_F(PageFileCrash, AKilledUndoingOfAFailedSaveLeavesAWholePair) {
  const auto oldPage = playPage(100), newPage = playPage(140);
  const TRepeatSet oldMarks = marks(8), newMarks = marks(11);
  // Renames: the plan, the page, the marks.
  for (const int failing : {2, 3}) {
    for (int kill = 1;; ++kill) {
      SCOPED_TRACE(::testing::Message() << "rename " << failing << " fails, killed at " << kill);
      clear();
      PosixFileLayer files;
      ASSERT_EQ(savePageFile(files, Page, *oldPage, &oldMarks), "");
      const Ending saved = runDyingAt(
          kill, [&](FileLayer& f) { return !savePageFile(f, Page, *newPage, &newMarks).empty(); },
          failing);
      ASSERT_NE(saved, Ending::Failed) << "the failed rename was not reported";
      auto page = playPage(120);
      std::optional<TRepeatSet> companion;
      ASSERT_EQ(loadPageFile(files, Page, PageKind::Play, *page, companion), "");
      const bool isNew = encodePage(*page) == encodePage(*newPage);
      if (saved == Ending::Finished) {
        EXPECT_FALSE(isNew) << "a failed save left the new page";
      }
      EXPECT_EQ(encodePage(*page), encodePage(isNew ? *newPage : *oldPage));
      ASSERT_TRUE(companion);
      EXPECT_EQ(encodeRepeatSet(*companion), encodeRepeatSet(isNew ? newMarks : oldMarks));
      EXPECT_EQ(names(), (std::set<std::string>{"song.ppf", "song.rpt"}));
      if (HasFailure() || saved == Ending::Finished) break;
    }
  }
}

// After a killed save, the next save of the page (not a load) also puts
// things right: its own pair lands whole and the leftovers go.
TEST_F(PageFileCrash, TheNextSaveClearsWhatAKilledSaveLeft) {
  const auto page1 = playPage(100), page2 = playPage(140), page3 = playPage(180);
  const TRepeatSet marks1 = marks(8), marks2 = marks(11), marks3 = marks(5);
  for (int kill = 1;; ++kill) {
    SCOPED_TRACE(::testing::Message() << "killed at change " << kill);
    clear();
    PosixFileLayer files;
    ASSERT_EQ(savePageFile(files, Page, *page1, &marks1), "");
    // Somebody else's files beside the page stay, however alike their names.
    std::ofstream(Dir / "song.ppf.tmp-notes") << "mine";
    std::ofstream(Dir / "other.ppf.tmp-abcdefgh") << "mine";
    const Ending saved = runDyingAt(
        kill, [&](FileLayer& f) { return savePageFile(f, Page, *page2, &marks2).empty(); });
    ASSERT_NE(saved, Ending::Failed);
    ASSERT_EQ(savePageFile(files, Page, *page3, &marks3), "");
    EXPECT_EQ(slurp(Page), encodePage(*page3));
    EXPECT_EQ(slurp(Marks), encodeRepeatSet(marks3));
    EXPECT_EQ(names(), (std::set<std::string>{"song.ppf", "song.rpt", "song.ppf.tmp-notes",
                                              "other.ppf.tmp-abcdefgh"}));
    if (HasFailure() || saved == Ending::Finished) return;
  }
}

// Two instances saving the same page over and over, each reading it back
// between its saves: no save fails and every read finds a pair of one save.
TEST_F(PageFileCrash, TwoInstancesSavingOnePageNeverMixThePair) {
  constexpr int Rounds = 200;
  const auto work = [&](int tempo, int loopBar) {
    PosixFileLayer files;
    const auto mine = playPage(tempo);
    const TRepeatSet myMarks = marks(loopBar);
    for (int round = 0; round < Rounds; ++round) {
      if (!savePageFile(files, Page, *mine, &myMarks).empty()) return 1;
      auto page = playPage(120);
      std::optional<TRepeatSet> companion;
      if (!loadPageFile(files, Page, PageKind::Play, *page, companion).empty()) return 1;
      if (!companion) return 2;
      // Tempo 100 was saved with the loop on bar 8, tempo 140 with bar 11.
      const int expectedBar = page->Header.TempoBpm == 100 ? 8 : 11;
      if (companion->LoopMark[expectedBar] != 1) return 2;
    }
    return 0;
  };
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(work(100, 8));
  const int mine = work(140, 11);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: a save or load failed, 2: a mixed pair was read";
  EXPECT_EQ(mine, 0) << "1: a save or load failed, 2: a mixed pair was read";
  EXPECT_EQ(names(), (std::set<std::string>{"song.ppf", "song.rpt"}));
}

// A page file far longer than its kind is refused without being read: the
// refusal does not make the process grow by anything like the file's size.
TEST_F(PageFileCrash, AHugePageIsRefusedWithoutReadingIt) {
  for (const PageKind kind : {PageKind::Chord, PageKind::Play}) {
    const std::string path = withExtension((Dir / "huge").string(), kind);
    {
      std::ofstream out(path, std::ios::binary);
      auto page = playPage(100);
      page->Kind = kind;
      for (auto& column : page->ChordPage)
        for (auto& d : column) d.Empty = 1;
      out << encodePage(*page);
    }
    std::filesystem::resize_file(path, std::uintmax_t{2} << 30);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      rusage before{};
      ::getrusage(RUSAGE_SELF, &before);
      PosixFileLayer files;
      auto page = playPage(120);
      std::optional<TRepeatSet> companion;
      const std::string error = loadPageFile(files, path, kind, *page, companion);
      const std::string expected =
          "The file is too long to be a " + std::string(pageKindInfo(kind).Name) + " file.";
      rusage after{};
      ::getrusage(RUSAGE_SELF, &after);
      const long grownKiB = after.ru_maxrss - before.ru_maxrss;
      ::_exit(error != expected ? 1 : grownKiB > 200 * 1024 ? 2 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << pageKindInfo(kind).Name << " (1: not refused as too long, 2: read whole)";
    std::filesystem::remove(path);
  }
}

}  // namespace
