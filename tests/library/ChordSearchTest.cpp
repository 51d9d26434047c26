#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "design/FingeringEditor.h"
#include "library/ChordSearch.h"
#include "state/AppState.h"

namespace {

// A dictionary of our own in a temporary folder: a handful of chord types at
// chosen indexes, every other record a two-note type that can never hold
// three notes nor two a minor third apart.
struct Dictionary {
  std::filesystem::path dir;
  std::vector<TChordFormula> records;

  Dictionary() : records(62) {
    dir = std::filesystem::temp_directory_path() /
          ("chordsearch-" + std::to_string(getpid()) + "-" +
           std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(dir);
    for (auto& r : records) set(r, {0, 1}, "f", "1 b2");
    set(records[0], {0, 4, 7}, "maj", "1 3 5");
    set(records[1], {0, 4, 7, 11}, "maj7", "1 3 5 7 ");
    set(records[2], {0, 4, 7, 14}, "add9", "1 3 5 9");
    set(records[3], {0, 3, 7}, "minor", "1 b3 5");
    set(records[5], {0, 3, 8}, "mb6", "1 b3 #5");
    set(records[6], {0, 5, 9}, "sus4add6", "1 4 6");
    set(records[7], {0, 4, 7, 9}, "6", "1 3 5 6");
    set(records[8], {0, 3, 7, 10}, "m7", "1 b3 5 b7");
    set(records[9], {0, 4, 14}, "add9no5", "1 3 9");
    write(62);
  }
  ~Dictionary() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  static void set(TChordFormula& r, std::initializer_list<int> iv, const char* name,
                  const char* formula) {
    std::fill(std::begin(r.Intervals), std::end(r.Intervals), ChordIntervalEnd);
    int i = 0;
    for (int e : iv) r.Intervals[i++] = static_cast<std::int8_t>(e);
    r.Name = name;
    r.Formula = formula;
  }
  void write(int count) {
    std::ofstream out(dir / "pxcd3.dat", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(records.data()),
              static_cast<std::streamsize>(sizeof(TChordFormula) * count));
  }
  std::string path() const { return dir.string() + "/"; }
};

struct Search : ::testing::Test {
  Dictionary dictionary;
  TChordDiagram chord = startFingering();
  ExtensionFlagSet flags{};
  NameTables names;
  FingeringEditor editor{chord, flags, names};
  ChordSearch search;

  // Strings are numbered from the high E; the nut press opens a muted string.
  void fret(std::initializer_list<std::pair<int, int>> stringsAndFrets) {
    for (auto [s, f] : stringsAndFrets) editor.press(s, f, f == 0 ? 0 : 6, false);
  }
  void fretCMajor() { fret({{4, 3}, {3, 2}, {2, 0}}); }  // C E G, C lowest

  ChordSearch::Outcome run(int interval, int root) {
    return search.search(chord, rootSounded(chord), {interval, root}, names, dictionary.path());
  }
};

std::vector<std::string> texts(const ChordSearch::Outcome& o) {
  std::vector<std::string> v;
  for (const auto& l : o.Lines) v.push_back(l.Text);
  return v;
}

std::vector<int> roots(const ChordSearch::Outcome& o) {
  std::vector<int> v;
  for (const auto& l : o.Lines) v.push_back(l.Chord.Root);
  return v;
}

std::vector<int> indexes(const ChordSearch::Outcome& o) {
  std::vector<int> v;
  for (const auto& l : o.Lines) v.push_back(l.Chord.Index);
  return v;
}

using V = std::vector<int>;
using S = std::vector<std::string>;

}  // namespace

TEST_F(Search, MajorTriadOnItsOwnRoot) {
  fretCMajor();
  ASSERT_TRUE(rootSounded(chord));

  auto only = run(ChordSearch::TheseNotesOnly, ChordSearch::CurrentRoot);
  EXPECT_TRUE(only.Searched);
  EXPECT_EQ(texts(only), S{"C maj\t1 3 5"});
  EXPECT_EQ(only.Lines[0].Why, "these notes only");
  ASSERT_EQ(search.results().size(), 1u);
  EXPECT_EQ(search.results()[0].Index, 0);
  EXPECT_EQ(search.results()[0].Root, 0);

  auto all = run(ChordSearch::AllContaining, ChordSearch::CurrentRoot);
  // Dictionary order; the formula as stored, trailing blank included.
  EXPECT_EQ(texts(all), (S{"C maj\t1 3 5", "C maj7\t1 3 5 7 ", "C add9\t1 3 5 9", "C 6\t1 3 5 6"}));
  EXPECT_EQ(all.Lines[1].Why, "adds 7");
  EXPECT_EQ(all.Lines[2].Why, "adds 9");
  EXPECT_EQ(all.Used.Interval, ChordSearch::AllContaining);
  EXPECT_EQ(all.Used.Root, ChordSearch::CurrentRoot);
  ASSERT_EQ(search.results().size(), 4u);
  EXPECT_EQ(search.results()[3].Index, 7);
}

TEST_F(Search, MajorTriadWithEachNoteAsRoot) {
  fretCMajor();
  // Roots in the order the notes are listed: C, then E, then G. From E the
  // notes read 1 b3 #5; from G, 1 4 6.
  auto only = run(ChordSearch::TheseNotesOnly, ChordSearch::EachNote);
  EXPECT_EQ(texts(only), (S{"C maj\t1 3 5", "E mb6\t1 b3 #5", "G sus4add6\t1 4 6"}));

  auto all = run(ChordSearch::AllContaining, ChordSearch::EachNote);
  EXPECT_EQ(roots(all), (V{0, 0, 0, 0, 4, 7}));
  EXPECT_EQ(indexes(all), (V{0, 1, 2, 7, 5, 6}));
}

TEST_F(Search, MajorTriadWithAllTwelveKeys) {
  fretCMajor();
  // Roots from C upward; A is not sounded, so A m7 is found without its root.
  auto only = run(ChordSearch::TheseNotesOnly, ChordSearch::AllKeys);
  EXPECT_EQ(roots(only), (V{0, 4, 7, 9}));
  EXPECT_EQ(texts(only).back(), "A m7\t1 b3 5 b7");
  EXPECT_EQ(only.Lines.back().Why, "rootless");

  auto all = run(ChordSearch::AllContaining, ChordSearch::AllKeys);
  EXPECT_EQ(roots(all), (V{0, 0, 0, 0, 4, 7, 9}));
  ASSERT_EQ(search.results().size(), all.Lines.size());
  for (std::size_t i = 0; i < all.Lines.size(); ++i) {
    EXPECT_EQ(search.results()[i].Index, all.Lines[i].Chord.Index);
    EXPECT_EQ(search.results()[i].Root, all.Lines[i].Chord.Root);
  }
}

TEST_F(Search, TwoNotesOverAnUnsoundedRootSwitchBothOptions) {
  fret({{3, 2}, {2, 0}});  // E and G, root still C
  ASSERT_FALSE(rootSounded(chord));

  auto each = run(ChordSearch::TheseNotesOnly, ChordSearch::CurrentRoot);
  EXPECT_EQ(each.Used.Interval, ChordSearch::AllContaining);
  EXPECT_EQ(each.Used.Root, ChordSearch::EachNote);
  // E and G tried as roots, in that order.
  EXPECT_EQ(texts(each), (S{"E minor\t1 b3 5", "E mb6\t1 b3 #5", "E m7\t1 b3 5 b7",
                            "G sus4add6\t1 4 6", "G 6\t1 3 5 6"}));
  EXPECT_EQ(each.Lines[0].Why, "adds 5");

  // Every key: C is tried too, without the formula's root.
  auto keys = run(ChordSearch::TheseNotesOnly, ChordSearch::AllKeys);
  EXPECT_EQ(keys.Used.Root, ChordSearch::AllKeys);
  ASSERT_FALSE(keys.Lines.empty());
  EXPECT_EQ(keys.Lines[0].Text, "C maj\t1 3 5");
  EXPECT_EQ(keys.Lines[0].Why, "rootless");
  EXPECT_EQ(keys.Lines[1].Text, "C maj7\t1 3 5 7 ");
  EXPECT_EQ(keys.Lines[1].Why, "adds 7; rootless");
}

TEST_F(Search, NinthMatchesTwoSemitonesAboveTheRoot) {
  fret({{5, 0}, {4, 3}, {3, 0}});  // E, C, D over root C: listed 1 2 3
  auto only = run(ChordSearch::TheseNotesOnly, ChordSearch::CurrentRoot);
  EXPECT_EQ(texts(only), S{"C add9no5\t1 3 9"});
  auto all = run(ChordSearch::AllContaining, ChordSearch::CurrentRoot);
  EXPECT_EQ(indexes(all), (V{2, 9}));
  EXPECT_EQ(all.Lines[0].Why, "adds 5");
}

TEST_F(Search, FewerThanTwoNotesSearchNothing) {
  fretCMajor();
  run(ChordSearch::AllContaining, ChordSearch::CurrentRoot);
  const auto before = search.results().size();

  TChordDiagram single = startFingering();
  FingeringEditor other(single, flags, names);
  other.press(4, 3, 6, false);
  auto one = search.search(single, rootSounded(single), {ChordSearch::TheseNotesOnly, 0}, names,
                           dictionary.path());
  EXPECT_FALSE(one.Searched);
  EXPECT_TRUE(one.Lines.empty());
  EXPECT_EQ(one.Used.Interval, ChordSearch::TheseNotesOnly);  // no switch either
  EXPECT_EQ(search.results().size(), before);
}

TEST_F(Search, PairsAreKeptWhenNothingIsFoundAndTrimmedToTheLines) {
  EXPECT_EQ(search.results().size(), 1u);  // one pair before any search
  fretCMajor();
  run(ChordSearch::AllContaining, ChordSearch::EachNote);
  ASSERT_EQ(search.results().size(), 6u);

  fret({{1, 1}});  // adds C again: still found
  fret({{0, 1}});  // F over C E G: nothing holds it
  auto none = run(ChordSearch::TheseNotesOnly, ChordSearch::CurrentRoot);
  EXPECT_TRUE(none.Searched);
  EXPECT_TRUE(none.Lines.empty());
  ASSERT_EQ(search.results().size(), 6u);
  EXPECT_EQ(search.results()[5].Root, 7);
  EXPECT_EQ(search.results()[5].Index, 6);

  editor.press(0, 0, 0, false);  // the high E muted again: C E G
  auto fewer = run(ChordSearch::TheseNotesOnly, ChordSearch::CurrentRoot);
  EXPECT_EQ(fewer.Lines.size(), 1u);
  EXPECT_EQ(search.results().size(), 1u);
}

TEST_F(Search, ShortDictionaryListsNothingAndKeepsThePairs) {
  fretCMajor();
  run(ChordSearch::AllContaining, ChordSearch::CurrentRoot);
  dictionary.write(61);
  auto broken = run(ChordSearch::AllContaining, ChordSearch::CurrentRoot);
  EXPECT_EQ(broken.Read.Status, LibraryStatus::ReadError);
  EXPECT_TRUE(broken.Lines.empty());
  EXPECT_EQ(search.results().size(), 4u);
}
