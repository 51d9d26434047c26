#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "../settings/FakeFileLayer.h"
#include "files/PosixFileLayer.h"
#include "pages/PageFile.h"

namespace {

constexpr PageKind AllKinds[] = {PageKind::Chord, PageKind::Print, PageKind::Design, PageKind::Play,
                                 PageKind::Scale};

TChordDiagram sampleChord(int n) {
  TChordDiagram d{};
  d.ChordName = "maj7";
  d.TuningName = "Standard";
  d.Formula = "1 3 5 7";
  const std::uint8_t tuning[6] = {40, 45, 50, 55, 59, 64};
  std::memcpy(d.Tuning, tuning, 6);
  for (int s = 0; s < 6; ++s) {
    d.Strings[s] = {static_cast<std::uint8_t>((s + n) % 5), static_cast<std::uint8_t>(s % 7)};
    d.Notes[s] = static_cast<std::uint8_t>(tuning[s] + d.Strings[s].Fret);
  }
  const std::int8_t iv[7] = {0, 4, 7, 11, -1, -1, -1};
  std::memcpy(d.Intervals, iv, 7);
  d.BaseFret = static_cast<std::uint8_t>(1 + n % 17);
  d.Root = static_cast<std::uint8_t>(n % 12);
  d.Bass = static_cast<std::uint8_t>(24 + n % 12);
  return d;
}

TScaleDiagram sampleScale(int n) {
  TScaleDiagram d{};
  d.ScaleName = "Lydian";
  d.TuningName = "Standard";
  d.Formula = "1 2 3 #4 5 6 7";
  const std::uint8_t iv[10] = {0, 2, 4, 6, 7, 9, 11, 99, 99, 99};
  std::memcpy(d.Intervals, iv, 10);
  const std::uint8_t frets[6] = {1, 4, 7, 10, 13, 17};
  std::memcpy(d.StartFrets, frets, 6);
  d.Root = static_cast<std::uint8_t>(n % 12);
  return d;
}

TPrintDiagram samplePrint(int n) {
  TPrintDiagram d{};
  d.IsChord = n % 2;
  d.Name = "A name of twenty-six chars";
  d.TuningName = "Standard";
  d.BaseFret = 3;
  d.Root = 5;
  if (d.IsChord) {
    const TChordDiagram c = sampleChord(n);
    std::memcpy(d.Strings, c.Strings, sizeof d.Strings);
    std::memcpy(d.Notes, c.Notes, sizeof d.Notes);
    const std::int8_t iv[10] = {0, 3, 7, 10, 14, -1, -1, -1, -1, -1};
    std::memcpy(d.Intervals, iv, 10);
    d.Bass = 29;
  } else {
    const std::int8_t iv[10] = {0, 2, 3, 5, 7, 8, 10, 99, 99, 99};
    std::memcpy(d.Intervals, iv, 10);
  }
  return d;
}

// A page of `kind` with every slot empty: what a fresh window saves.
std::unique_ptr<PageContents> emptyPage(PageKind kind) {
  auto p = std::make_unique<PageContents>();
  p->Kind = kind;
  for (auto& col : p->ChordPage)
    for (auto& d : col) d.Empty = 1;
  for (auto& col : p->PrintPage)
    for (auto& d : col) d.Empty = 1;
  for (auto& d : p->DesignGroup) d.Empty = 1;
  for (auto& col : p->PlayPage)
    for (auto& d : col) d.Empty = 1;
  for (auto& d : p->ScalePage) d.Empty = 1;
  return p;
}

// Some filled slots, and empty ones holding stale bytes as a real page does.
std::unique_ptr<PageContents> filledPage(PageKind kind) {
  auto p = emptyPage(kind);
  for (int c = 0; c < ChordPageColumns; ++c)
    for (int r = 0; r < 3; ++r) p->ChordPage[c][r] = sampleChord(c + r);
  p->ChordPage[2][4] = sampleChord(9);
  p->ChordPage[2][4].Empty = 1;
  p->ChordPage[2][4].Strings[0].Fret = 200;  // stale junk in an empty slot
  p->PrintPage[4][2] = samplePrint(1);
  p->PrintPage[0][4] = samplePrint(2);
  p->DesignGroup[1] = sampleChord(3);
  p->DesignGroup[5] = sampleChord(4);
  for (int c = 0; c < PlayPageColumns; c += 3) p->PlayPage[c][c % PlayPageRows] = sampleChord(c);
  p->ScalePage[0] = sampleScale(0);
  p->ScalePage[1] = sampleScale(7);
  p->ScalePage[3].Formula.Length = 250;  // stale junk in an empty slot
  p->Header = {true, -450, 96, true, false};
  return p;
}

bool sameRecords(const PageContents& a, const PageContents& b) {
  return encodePage(a) == encodePage(b);
}

TEST(PageFile, EmptyChordPageIsItsFixedSizeAndLoadsBackEmpty) {
  const std::string bytes = encodePage(*emptyPage(PageKind::Chord));
  ASSERT_EQ(bytes.size(), 2728u);
  EXPECT_EQ(bytes.substr(1, 12), std::string("\x0bpxPageChord"));
  auto loaded = filledPage(PageKind::Chord);
  ASSERT_EQ(decodePage(PageKind::Chord, bytes, *loaded), "");
  for (auto& col : loaded->ChordPage)
    for (auto& d : col) EXPECT_TRUE(isEmpty(d));
}

TEST(PageFile, EveryKindRoundTripsByteForByteWithItsSizeAndSignature) {
  const size_t sizes[] = {2728, 3379, 616, 6424, 564};
  for (const PageKind kind : AllKinds) {
    SCOPED_TRACE(std::string(pageKindInfo(kind).Name));
    const auto page = filledPage(kind);
    const std::string bytes = encodePage(*page);
    EXPECT_EQ(bytes.size(), sizes[static_cast<int>(kind)]);
    const auto& info = pageKindInfo(kind);
    EXPECT_EQ(static_cast<size_t>(bytes[info.SignatureOffset]), info.Signature.size());
    auto loaded = emptyPage(kind);
    ASSERT_EQ(decodePage(kind, bytes, *loaded), "");
    EXPECT_EQ(encodePage(*loaded), bytes);
    // The first filled record sits right behind the header in file order.
    if (kind == PageKind::Chord) {
      EXPECT_EQ(std::memcmp(bytes.data() + 88 + 88, &page->ChordPage[1][0], 88), 0);
    } else if (kind == PageKind::Print) {
      EXPECT_EQ(std::memcmp(bytes.data() + 109 * (1 + 2 * 6 + 4), &page->PrintPage[4][2], 109), 0);
    } else if (kind == PageKind::Play) {
      EXPECT_EQ(std::memcmp(bytes.data() + 88 * (1 + 3 * 12 + 3), &page->PlayPage[3][3], 88), 0);
    }
  }
}

TEST(PageFile, PlayHeaderCarriesTimeTempoStrumLoopAndBass) {
  auto page = emptyPage(PageKind::Play);
  page->Header = {true, -300, 96, false, true};
  const std::string bytes = encodePage(*page);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes.substr(17, 5), std::string("\x04-300"));
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[85]), 96);
  EXPECT_EQ(bytes[86], 0);
  EXPECT_EQ(bytes[87], 1);
  // Bytes of the header that carry nothing are zero.
  for (size_t i : {12u, 16u, 22u, 33u, 84u}) EXPECT_EQ(bytes[i], 0) << i;
  auto loaded = emptyPage(PageKind::Play);
  ASSERT_EQ(decodePage(PageKind::Play, bytes, *loaded), "");
  EXPECT_TRUE(loaded->Header.ThreeFour);
  EXPECT_EQ(loaded->Header.StrumSpeed, -300);
  EXPECT_EQ(loaded->Header.TempoBpm, 96);
  EXPECT_FALSE(loaded->Header.Loop);
  EXPECT_TRUE(loaded->Header.Bass);
  // A strum speed of 0 is written without a sign.
  page->Header.StrumSpeed = 0;
  EXPECT_EQ(encodePage(*page).substr(17, 2), std::string("\x01"
                                                         "0"));
}

TEST(PageFile, OtherKindsAreRefusedByTheirSignature) {
  auto page = filledPage(PageKind::Chord);
  const std::string before = encodePage(*page);
  EXPECT_EQ(decodePage(PageKind::Chord, encodePage(*filledPage(PageKind::Print)), *page),
            "This is not a Chord Page file");
  // Same record size, but a signature of another length.
  EXPECT_EQ(decodePage(PageKind::Chord, encodePage(*filledPage(PageKind::Design)), *page),
            "This is not a Chord Page file");
  EXPECT_EQ(decodePage(PageKind::Play, encodePage(*filledPage(PageKind::Scale)), *page),
            "This is not a Play Page file");
  EXPECT_EQ(encodePage(*page), before);
}

// Memory takes any non-zero Empty for an empty slot; the saved page must
// still load, with the slot empty.
TEST(PageFile, AnyNonZeroEmptyIsSavedAsEmpty) {
  auto page = filledPage(PageKind::Design);
  page->DesignGroup[1].Empty = 7;
  auto loaded = filledPage(PageKind::Design);
  ASSERT_EQ(decodePage(PageKind::Design, encodePage(*page), *loaded), "");
  EXPECT_EQ(loaded->DesignGroup[1].Empty, 1);
  EXPECT_EQ(loaded->DesignGroup[5].Empty, 0);
}

// Each damage, alone, refuses the whole file with one sentence and leaves the
// page as it was.
TEST(PageFile, DamagedFilesChangeNothing) {
  struct Damage {
    PageKind Kind;
    size_t At;
    int Byte;
  };
  const size_t chord1 = 88;            // ChordPage[0][0]
  const size_t play1 = 88;             // PlayPage[0][0]
  const size_t printChord = 109 * 17;  // PrintPage[4][2], a chord item
  const size_t printScale = 109 * 25;  // PrintPage[0][4], a scale position
  const size_t scale1 = 94;
  const Damage damages[] = {
      {PageKind::Chord, chord1 + 0, 2},      // Empty neither 0 nor 1
      {PageKind::Chord, chord1 + 1, 16},     // chord name longer than 15
      {PageKind::Chord, chord1 + 33, 21},    // formula longer than 20
      {PageKind::Chord, chord1 + 54, 128},   // tuning past the MIDI range
      {PageKind::Chord, chord1 + 60, 23},    // fret past 22
      {PageKind::Chord, chord1 + 61, 7},     // finger code past 6
      {PageKind::Chord, chord1 + 73, 22},    // interval past 21
      {PageKind::Chord, chord1 + 76, 0xfe},  // interval -2
      {PageKind::Chord, chord1 + 79, 128},   // note past the MIDI range
      {PageKind::Chord, chord1 + 85, 0},     // base fret 0
      {PageKind::Chord, chord1 + 85, 18},    // base fret past 17
      {PageKind::Chord, chord1 + 86, 12},    // root not a pitch class
      {PageKind::Chord, chord1 + 87, 36},    // bass past 35
      {PageKind::Play, play1 + 60, 40},      // fret
      {PageKind::Play, 0, 2},                // time signature switch
      {PageKind::Play, 85, 9},               // tempo
      {PageKind::Play, 85, 251},
      {PageKind::Play, 86, 7},                   // loop switch
      {PageKind::Play, 17, 0},                   // no strum speed text
      {PageKind::Play, 17, 16},                  // past its capacity
      {PageKind::Play, 18, 'x'},                 // "x450"
      {PageKind::Play, 19, '9'},                 // "-950"
      {PageKind::Print, printChord + 1, 2},      // IsChord
      {PageKind::Print, printChord + 2, 27},     // name past 26
      {PageKind::Print, printChord + 100, 200},  // note
      {PageKind::Print, printScale + 97, 50},    // scale degree
      {PageKind::Print, printScale + 106, 0},    // start fret of the position
      {PageKind::Scale, scale1 + 1, 27},         // scale name past 26
      {PageKind::Scale, scale1 + 84, 24},        // degree neither within 23 nor the end
      {PageKind::Scale, scale1 + 87, 0},         // start fret 0
      {PageKind::Scale, scale1 + 93, 12},        // root
      {PageKind::Design, 88 * 2 + 87, 0},        // DesignGroup[1] bass
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(::testing::Message() << pageKindInfo(d.Kind).Name << " byte " << d.At);
    std::string bytes = encodePage(*filledPage(d.Kind));
    bytes[d.At] = static_cast<char>(d.Byte);
    auto page = emptyPage(d.Kind);
    const std::string before = encodePage(*page);
    const PlayPageHeader header = page->Header;
    const std::string message = decodePage(d.Kind, bytes, *page);
    EXPECT_NE(message, "");
    EXPECT_EQ(message.find('\n'), std::string::npos);
    EXPECT_EQ(encodePage(*page), before);
    EXPECT_EQ(page->Header.TempoBpm, header.TempoBpm);
  }
  // Too short by one byte, too long by one, or nothing at all.
  for (const PageKind kind : AllKinds) {
    const std::string whole = encodePage(*filledPage(kind));
    auto page = emptyPage(kind);
    const std::string before = encodePage(*page);
    const std::string name(pageKindInfo(kind).Name);
    EXPECT_EQ(decodePage(kind, whole.substr(0, whole.size() - 1), *page),
              "The file is too short to be a " + name + " file.");
    EXPECT_EQ(decodePage(kind, whole + '\0', *page),
              "The file is too long to be a " + name + " file.");
    EXPECT_NE(decodePage(kind, "", *page), "");
    EXPECT_NE(decodePage(kind, whole.substr(0, 5), *page), "");
    EXPECT_EQ(encodePage(*page), before);
  }
}

TEST(PageFile, RepeatCompanionRoundTripsAndRefusesDamage) {
  TRepeatSet set{};
  set.ReturnMark[0] = 1;
  set.RepeatCount[3] = 255;
  set.RepeatsLeft[3] = 2;
  set.LoopMark[8] = 1;
  const std::string bytes = encodeRepeatSet(set);
  ASSERT_EQ(bytes.size(), 48u);
  EXPECT_EQ(bytes[36 + 8], 1);  // loop marks last, one byte a bar
  TRepeatSet back{};
  ASSERT_EQ(decodeRepeatSet(bytes, back), "");
  EXPECT_EQ(std::memcmp(&back, &set, sizeof set), 0);
  TRepeatSet untouched{};
  EXPECT_NE(decodeRepeatSet(bytes.substr(0, 47), untouched), "");
  EXPECT_NE(decodeRepeatSet(bytes + 'x', untouched), "");
  std::string bad = bytes;
  bad[5] = 2;  // a return mark neither set nor clear
  EXPECT_NE(decodeRepeatSet(bad, untouched), "");
  EXPECT_EQ(untouched.ReturnMark[0], 0);
}

TEST(PageFileNames, ExtensionsCompanionsAndNames) {
  EXPECT_EQ(withExtension("/home/p/song", PageKind::Play), "/home/p/song.ppf");
  EXPECT_EQ(withExtension("dir.v2/song", PageKind::Chord), "dir.v2/song.cpf");
  EXPECT_EQ(withExtension("song.ppf", PageKind::Play), "song.ppf");
  EXPECT_EQ(withExtension("song.v1", PageKind::Scale), "song.v1");
  EXPECT_EQ(withExtension("song.", PageKind::Scale), "song.spf");
  EXPECT_EQ(companionPath("a.b/song"), "a.b/song.rpt");
  EXPECT_EQ(companionPath("a.b/song.ppf"), "a.b/song.rpt");
  EXPECT_EQ(companionPath("/x/song.take2.ppf"), "/x/song.take2.rpt");
  EXPECT_EQ(fileNameOf("/x/a.b/song.ppf"), "song.ppf");
  EXPECT_EQ(fileNameOf("song.ppf"), "song.ppf");
  EXPECT_EQ(pageKindOfPath("/x/SONG.PPF"), PageKind::Play);
  EXPECT_EQ(pageKindOfPath("/x.cpf/song"), std::nullopt);
  EXPECT_EQ(pageKindOfPath("a.rpt"), std::nullopt);
  for (const PageKind kind : AllKinds) {
    EXPECT_EQ(pageKindOf(tabOf(kind)), kind);
    EXPECT_EQ(pageKindOfPath(withExtension("x/page", kind)), kind);
  }
}

TEST(PageFileSaving, PlayPageAndCompanionLoadBackTogether) {
  FakeFileLayer fs;
  const auto page = filledPage(PageKind::Play);
  TRepeatSet marks{};
  marks.RepeatCount[2] = 3;
  const std::string path = withExtension("songs.v2/tune", PageKind::Play);
  ASSERT_EQ(savePageFile(fs, path, *page, &marks), "");
  EXPECT_EQ(fs.files.size(), 2u);
  ASSERT_TRUE(fs.files.count("songs.v2/tune.rpt"));

  auto loaded = emptyPage(PageKind::Play);
  std::optional<TRepeatSet> companion;
  ASSERT_EQ(loadPageFile(fs, path, PageKind::Play, *loaded, companion), "");
  EXPECT_TRUE(sameRecords(*loaded, *page));
  EXPECT_EQ(loaded->Header.TempoBpm, 96);
  ASSERT_TRUE(companion);
  EXPECT_EQ(companion->RepeatCount[2], 3);

  // Without its companion the page loads and no marks come with it.
  fs.files.erase("songs.v2/tune.rpt");
  ASSERT_EQ(loadPageFile(fs, path, PageKind::Play, *loaded, companion), "");
  EXPECT_FALSE(companion);

  // A damaged companion refuses the whole load.
  fs.files["songs.v2/tune.rpt"] = "short";
  auto other = emptyPage(PageKind::Play);
  const std::string before = encodePage(*other);
  companion = marks;
  const std::string message = loadPageFile(fs, path, PageKind::Play, *other, companion);
  EXPECT_NE(message.find("tune.rpt"), std::string::npos) << message;
  EXPECT_EQ(encodePage(*other), before);
  EXPECT_EQ(companion->RepeatCount[2], 3);

  const std::string missing = loadPageFile(fs, "nowhere.cpf", PageKind::Chord, *other, companion);
  EXPECT_NE(missing.find("nowhere.cpf"), std::string::npos);
}

TEST(PageFileSaving, EveryFailingStepKeepsTheOldFilesWithOneMessage) {
  const auto page = filledPage(PageKind::Play);
  TRepeatSet marks{};
  for (int failing = 1; failing <= 4; ++failing) {
    for (const bool atReplace : {false, true}) {
      FakeFileLayer fs;
      fs.files["d/s.ppf"] = "old page";
      fs.files["d/s.rpt"] = "old marks";
      const auto before = fs.files;
      (atReplace ? fs.failReplaceNumber : fs.failWriteNumber) = failing;
      const std::string message = savePageFile(fs, "d/s.ppf", *page, &marks);
      const int steps = atReplace ? fs.replaces : fs.writes;
      if (failing > steps) continue;  // no such step in this save
      SCOPED_TRACE(::testing::Message()
                   << "step " << failing << (atReplace ? " rename" : " write"));
      EXPECT_EQ(fs.files, before);
      EXPECT_TRUE(message.find("d/s.ppf") != std::string::npos ||
                  message.find("d/s.rpt") != std::string::npos)
          << message;
      EXPECT_NE(message.find(atReplace ? "Input/output error" : "No space left on device"),
                std::string::npos);
    }
  }
}

class PageFileOnDisk : public ::testing::Test {
 protected:
  std::filesystem::path Dir;
  void SetUp() override {
    char name[] = "/tmp/strumbo-pagefile-XXXXXX";
    ASSERT_NE(::mkdtemp(name), nullptr);
    Dir = name;
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
};

TEST_F(PageFileOnDisk, ReplacingKeepsPermissions) {
  PosixFileLayer fs;
  const std::string path = (Dir / "p.cpf").string();
  ASSERT_EQ(savePageFile(fs, path, *emptyPage(PageKind::Chord)), "");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(savePageFile(fs, path, *filledPage(PageKind::Chord)), "");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(slurp(path), encodePage(*filledPage(PageKind::Chord)));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}), 1);
}

// A disk that fills up during the save: the file size limit makes every write
// past 4 KiB fail as a full disk would, in a child so the limit stays there.
TEST_F(PageFileOnDisk, FullDiskLeavesTheOldFilesWhole) {
  PosixFileLayer fs;
  const std::string path = (Dir / "full.ppf").string();
  TRepeatSet marks{};
  marks.LoopMark[11] = 1;
  ASSERT_EQ(savePageFile(fs, path, *emptyPage(PageKind::Play), &marks), "");
  const std::string oldPage = slurp(path), oldMarks = slurp(Dir / "full.rpt");

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const std::string message = savePageFile(fs, path, *filledPage(PageKind::Play), &marks);
    const bool named = message.find("full.ppf") != std::string::npos &&
                       message.find("File too large") != std::string::npos;
    ::_exit(named ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the save did not report the full disk by name";
  EXPECT_EQ(slurp(path), oldPage);
  EXPECT_EQ(slurp(Dir / "full.rpt"), oldMarks);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}), 2);
}

}  // namespace

namespace {

// The companion's rename fails for real (a folder holds its name) after the
// page was already replaced: the old page comes back, the very same file.
TEST_F(PageFileOnDisk, FailedCompanionRenamePutsTheOldPageBack) {
  PosixFileLayer fs;
  const std::string path = (Dir / "song.ppf").string();
  ASSERT_EQ(savePageFile(fs, path, *emptyPage(PageKind::Play)), "");
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  const std::string oldPage = slurp(path);
  std::filesystem::create_directories(Dir / "song.rpt" / "inside");

  TRepeatSet marks{};
  const std::string message = savePageFile(fs, path, *filledPage(PageKind::Play), &marks);
  EXPECT_NE(message.find("song.rpt"), std::string::npos) << message;
  EXPECT_EQ(slurp(path), oldPage);
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_nlink, 1u);  // no second name left behind
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}), 2);
}

}  // namespace
