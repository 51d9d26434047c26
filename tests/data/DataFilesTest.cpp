#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "ChordRules.h"
#include "library/ChordLibrary.h"
#include "library/MenuTables.h"
#include "library/RecordFile.h"

// The dictionary and scale library as the build ships them.

namespace {

const std::string ProgramDir = STRUMBO_TEST_PROGRAM_DIR;

std::vector<TChordFormula> readDictionary() {
  RecordFile<TChordFormula> f;
  std::vector<TChordFormula> all;
  if (!f.open(ProgramDir, ChordLibrary::DictionaryFile)) return all;
  for (std::size_t i = 0; i < f.count(); ++i) {
    TChordFormula r{};
    if (f.read(i, r)) all.push_back(r);
  }
  return all;
}

std::vector<TScaleFormula> readScales() {
  RecordFile<TScaleFormula> f;
  std::vector<TScaleFormula> all;
  if (!f.open(ProgramDir, ChordLibrary::ScaleFile)) return all;
  for (std::size_t i = 0; i < f.count(); ++i) {
    TScaleFormula r{};
    if (f.read(i, r)) all.push_back(r);
  }
  return all;
}

std::vector<int> intervalsOf(const TChordFormula& f) {
  std::vector<int> v;
  for (auto i : f.Intervals) {
    if (i < 0) break;
    v.push_back(i);
  }
  return v;
}

std::vector<int> degreesOf(const TScaleFormula& f) {
  std::vector<int> v;
  for (auto d : f.Intervals) {
    if (d == ScaleIntervalEnd) break;
    v.push_back(d);
  }
  return v;
}

}  // namespace

// The chord type lists of the pages pick dictionary records by their place.
TEST(Dictionary, NamesAreTheChordTypeListInOrder) {
  const auto dict = readDictionary();
  ASSERT_EQ(dict.size(), DictionaryChordNames.size());
  for (std::size_t t = 0; t < dict.size(); ++t)
    EXPECT_EQ(dict[t].Name.view(), DictionaryChordNames[t]) << "record " << t;
}

TEST(Dictionary, IntervalsAreWellFormedAndSpelledByTheFormula) {
  const auto dict = readDictionary();
  ASSERT_EQ(dict.size(), 62u);
  for (std::size_t t = 0; t < dict.size(); ++t) {
    const auto& f = dict[t];
    SCOPED_TRACE("record " + std::to_string(t) + " " + f.Name.str());
    EXPECT_LE(f.Name.Length, 15);
    EXPECT_LE(f.Formula.Length, 20);
    const auto v = intervalsOf(f);
    ASSERT_GE(v.size(), 3u);
    EXPECT_EQ(v[0], 0);
    for (std::size_t i = v.size(); i < 7; ++i) EXPECT_EQ(f.Intervals[i], -1) << "entry " << i;
    bool extensions = false;
    for (std::size_t i = 1; i < v.size(); ++i) {
      EXPECT_TRUE((v[i] >= 1 && v[i] <= 11) || (v[i] >= 13 && v[i] <= 21)) << v[i];
      EXPECT_GT(v[i], v[i - 1]);
      extensions = extensions || v[i] >= 13;
      if (extensions) {
        EXPECT_GE(v[i], 13) << "simple interval after an extension";
      }
    }
    // Each pitch class once: the search compares counts.
    unsigned seen = 0;
    for (int i : v) {
      EXPECT_FALSE(seen & (1u << (i % 12))) << "pitch class twice: " << i;
      seen |= 1u << (i % 12);
    }
    std::vector<int> spelled;
    for (const auto& w : words(f.Formula.str())) spelled.push_back(semitonesOfIntervalName(w));
    EXPECT_EQ(spelled, v) << "formula '" << f.Formula.str() << "'";
  }
}

TEST(Dictionary, ReadingsChosenWhereANameIsAmbiguous) {
  const auto dict = readDictionary();
  ASSERT_EQ(dict.size(), 62u);
  const auto at = [&](int t) { return intervalsOf(dict[static_cast<std::size_t>(t)]); };
  using V = std::vector<int>;
  EXPECT_EQ(at(23), (V{0, 3, 6, 9}));           // dim(o): diminished seventh
  EXPECT_EQ(at(38), (V{0, 4, 7, 10, 14, 17}));  // 11
  EXPECT_EQ(at(39), (V{0, 4, 7, 10, 14, 21}));  // 13, no 11
  EXPECT_EQ(at(48), (V{0, 4, 7, 9, 10}));       // 7/6
  EXPECT_EQ(at(18), (V{0, 4, 5, 7, 14}));       // sus(add3/add9)
  EXPECT_EQ(dict[2].Formula.view(), "1 3 5 7");
}

TEST(ScaleLibrary, FortySevenScalesWithDegreesSpelledByTheirFormula) {
  const auto scales = readScales();
  ASSERT_EQ(scales.size(), 47u);
  for (std::size_t k = 0; k < scales.size(); ++k) {
    SCOPED_TRACE("scale " + std::to_string(k));
    const auto& s = scales[k];
    EXPECT_LE(s.Formula.Length, 26);
    const auto d = degreesOf(s);
    ASSERT_GE(d.size(), 5u);
    EXPECT_EQ(d[0], 0);
    for (std::size_t i = 1; i < d.size(); ++i) {
      EXPECT_GT(d[i], d[i - 1]);
      EXPECT_LE(d[i], 11);
    }
    for (std::size_t i = d.size(); i < 10; ++i) EXPECT_EQ(s.Intervals[i], 99);
    std::vector<int> spelled;
    for (const auto& w : words(s.Formula.str())) spelled.push_back(semitonesOfIntervalName(w) % 12);
    EXPECT_EQ(spelled, d) << "formula '" << s.Formula.str() << "'";
  }
}

TEST(ScaleLibrary, ScalesOfTheMenuIndices) {
  const auto scales = readScales();
  ASSERT_EQ(scales.size(), 47u);
  const auto at = [&](int k) { return degreesOf(scales[static_cast<std::size_t>(k)]); };
  using V = std::vector<int>;
  EXPECT_EQ(at(0), (V{0, 2, 4, 5, 7, 9, 11}));      // Ionian
  EXPECT_EQ(at(12), (V{0, 2, 3, 4, 7, 9}));         // Blues 2: major blues
  EXPECT_EQ(at(13), (V{0, 2, 3, 5, 6, 8, 9, 11}));  // Diminished: whole-half
  EXPECT_EQ(at(16), (V{0, 1, 3, 4, 6, 7, 9, 10}));  // Half-Whole
  EXPECT_EQ(at(24), (V{0, 1, 3, 4, 5, 6, 8, 10}));  // Spanish, eight tones
  EXPECT_EQ(at(31), at(16));                        // 13b9 = half-whole
  EXPECT_EQ(at(32), at(7));                         // Plain Mi7b5 = Locrian
  EXPECT_EQ(at(40), at(21));                        // JM = melodic minor
}

TEST(ScaleLibrary, ModesAreRotationsOfHarmonicAndMelodicMinor) {
  const auto scales = readScales();
  ASSERT_EQ(scales.size(), 47u);
  for (const auto& [parent, first] : {std::pair{33, 34}, std::pair{40, 41}}) {
    const auto p = degreesOf(scales[static_cast<std::size_t>(parent)]);
    ASSERT_EQ(p.size(), 7u);
    for (int m = 1; m < 7; ++m) {
      std::vector<int> mode;
      for (int i = 0; i < 7; ++i)
        mode.push_back(
            (p[static_cast<std::size_t>((m + i) % 7)] - p[static_cast<std::size_t>(m)] + 12) % 12);
      EXPECT_EQ(degreesOf(scales[static_cast<std::size_t>(first + m - 1)]), mode)
          << "mode " << m + 1 << " of scale " << parent;
    }
  }
}
