#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "ChordRules.h"
#include "library/ChordLibrary.h"
#include "library/LibraryFiles.h"
#include "music/NameTables.h"

// Every fingering of the shipped chord library against the rules a guitarist
// would hold it to. A failure names key, chord type and fingering.

namespace {

const std::string ProgramDir = STRUMBO_TEST_PROGRAM_DIR;

struct Library {
  std::vector<TChordFormula> Types;
  // [dictionary index][key][k]
  std::vector<std::vector<std::vector<TChordFingering>>> Chords;
  bool Complete = false;
};

// Read through the pages' own reader, so every record also passes its checks.
const Library& library() {
  static const Library lib = [] {
    Library l;
    l.Types.resize(62);
    l.Chords.assign(62,
                    std::vector<std::vector<TChordFingering>>(12, std::vector<TChordFingering>(6)));
    for (auto fam : {ChordFamilyKind::Major, ChordFamilyKind::Minor, ChordFamilyKind::Dominant}) {
      for (int t = 0; t < ChordLibrary::typeCount(fam); ++t) {
        const auto type = static_cast<std::size_t>(ChordLibrary::dictionaryIndex(fam, t));
        for (int key = 0; key < 12; ++key) {
          TChordDiagram set[6] = {};
          if (readChordSet(ProgramDir, static_cast<int>(fam), t, key, set, l.Types[type]).Status !=
              LibraryStatus::Ok)
            return l;
          for (int k = 0; k < 6; ++k) {
            const TChordDiagram& d = set[k];
            if (d.Root != key || d.Bass != key + 24 ||
                d.ChordName.view() != l.Types[type].Name.view())
              return l;
            TChordFingering& r =
                l.Chords[type][static_cast<std::size_t>(key)][static_cast<std::size_t>(k)];
            r.BaseFret = d.BaseFret;
            std::copy(std::begin(d.Strings), std::end(d.Strings), r.Strings);
          }
        }
      }
    }
    l.Complete = true;
    return l;
  }();
  return lib;
}

std::string chordName(int key, int type) {
  return std::string(FlatPitchNames[static_cast<std::size_t>(key)]) + " " +
         library().Types[static_cast<std::size_t>(type)].Name.str();
}

std::string label(int key, int type, int k, const TChordFingering& r) {
  return chordName(key, type) + " fingering " + std::to_string(k) + " (" + fretText(r) + ")";
}

const TChordFingering& fingering(const std::string& key, const std::string& type, int k) {
  const auto& lib = library();
  int t = 0;
  while (t < 62 && lib.Types[static_cast<std::size_t>(t)].Name.view() != type) ++t;
  int pc = 0;
  while (pc < 12 && FlatPitchNames[static_cast<std::size_t>(pc)] != key) ++pc;
  return lib.Chords.at(static_cast<std::size_t>(t))
      .at(static_cast<std::size_t>(pc))
      .at(static_cast<std::size_t>(k));
}

std::string fingerText(const TChordFingering& r) {
  std::string t;
  for (int s = 5; s >= 0; --s) {
    t += r.Strings[s].Finger == FingerCode::Muted ? 'x'
                                                  : static_cast<char>('0' + r.Strings[s].Finger);
  }
  return t;
}

// The six fingerings of a chord type in a key, lowest on the neck first.
const std::vector<TChordFingering>& sixOf(int type, int key) {
  return library().Chords[static_cast<std::size_t>(type)][static_cast<std::size_t>(key)];
}

ChordTones tonesOf(int type) {
  return chordTones(library().Types[static_cast<std::size_t>(type)]);
}

// Calls f(type, key, k, fingering) for every fingering of the library.
template <class F>
void forEachFingering(F f) {
  for (int t = 0; t < 62; ++t)
    for (int key = 0; key < 12; ++key)
      for (int k = 0; k < 6; ++k) f(t, key, k, sixOf(t, key)[static_cast<std::size_t>(k)]);
}

class ChordLibraryFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library().Complete) << "library files missing or refused in " << ProgramDir;
  }
};

}  // namespace

TEST_F(ChordLibraryFiles, EveryFingeringCanBeHeldAndFitsItsDiagram) {
  int failures = 0;
  forEachFingering([&](int t, int key, int k, const TChordFingering& r) {
    const std::string why = handProblem(r);
    if (!why.empty() && ++failures <= 20) ADD_FAILURE() << label(key, t, k, r) << ": " << why;
  });
  EXPECT_EQ(failures, 0);
}

TEST_F(ChordLibraryFiles, RequestsOutsideTheLibraryAreRefusedAndLeaveTheSetAlone) {
  struct Ask {
    int Family, Type, Key;
  };
  for (const Ask& a : {Ask{0, 0, 0}, Ask{4, 0, 0}, Ask{1, 19, 0}, Ask{2, 17, 0}, Ask{3, 26, 0},
                       Ask{1, -1, 0}, Ask{1, 0, 12}, Ask{1, 0, -1}}) {
    TChordDiagram set[6] = {};
    set[0].Empty = 7;
    TChordFormula formula{};
    formula.Name = "kept";
    EXPECT_NE(readChordSet(ProgramDir, a.Family, a.Type, a.Key, set, formula).Status,
              LibraryStatus::Ok)
        << a.Family << " " << a.Type << " " << a.Key;
    EXPECT_EQ(set[0].Empty, 7);
    EXPECT_EQ(formula.Name.view(), "kept");
  }
}

TEST_F(ChordLibraryFiles, ADamagedFingeringIsRefusedAndAFullDiagramIsNot) {
  // A copy of the library with the first fingering of C major rewritten.
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("strumbo-damaged-" + std::to_string(getpid()));
  fs::create_directories(dir);
  for (const auto& e : fs::directory_iterator(ProgramDir))
    if (e.path().extension() == ".dat") fs::copy_file(e.path(), dir / e.path().filename());
  const auto readWith = [&](int baseFret, int fret, int finger) {
    std::fstream f(dir / "pxma1.dat", std::ios::in | std::ios::out | std::ios::binary);
    // Base fret, then fret and finger of string 0; the other strings muted.
    char bytes[13] = {static_cast<char>(baseFret), static_cast<char>(fret),
                      static_cast<char>(finger)};
    for (int s = 1; s < 6; ++s) bytes[2 * s + 2] = FingerCode::Muted;
    f.write(bytes, sizeof bytes);
    f.close();
    TChordDiagram set[6] = {};
    TChordFormula formula{};
    const LibraryStatus status = readChordSet(dir.string(), 1, 0, 0, set, formula).Status;
    return status == LibraryStatus::Ok ? set[0].Strings[0].Fret : -1;
  };
  EXPECT_EQ(readWith(1, 6, 4), 6) << "the sixth row of the diagram";
  EXPECT_EQ(readWith(17, 22, 4), 22) << "the last diagram on the neck";
  EXPECT_EQ(readWith(17, 16, 4), -1) << "above the diagram";
  EXPECT_EQ(readWith(1, 7, 4), -1) << "below the diagram";
  EXPECT_EQ(readWith(1, 9, FingerCode::Muted), 9) << "a muted string's fret is not drawn";
  EXPECT_EQ(readWith(1, 23, FingerCode::Muted), -1) << "past the neck";
  EXPECT_EQ(readWith(1, 0, 7), -1) << "no such finger code";
  EXPECT_EQ(readWith(0, 0, 0), -1);
  EXPECT_EQ(readWith(18, 0, 0), -1);
  fs::remove_all(dir);
}

// Each data file has one length; a copy one byte longer or shorter, or grown
// to gigabytes (sparse here), is refused whole, whatever its records hold.
TEST_F(ChordLibraryFiles, ADataFileOfAnyOtherLengthIsRefused) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("strumbo-length-" + std::to_string(getpid()));
  fs::create_directories(dir);
  for (const auto& e : fs::directory_iterator(ProgramDir))
    if (e.path().extension() == ".dat") fs::copy_file(e.path(), dir / e.path().filename());
  const auto allRead = [&] {
    TChordDiagram set[6] = {};
    TChordFormula formula{};
    TScaleFormula scale{};
    return readChordSet(dir.string(), 1, 0, 0, set, formula).Status == LibraryStatus::Ok &&
           readScaleFormula(dir.string(), 0, scale).Status == LibraryStatus::Ok;
  };
  ASSERT_TRUE(allRead());
  for (const char* name : {"pxma1.dat", "pxma2.dat", "pxcd3.dat", "pxs.dat"}) {
    const fs::path file = dir / name;
    const std::uintmax_t size = fs::file_size(file);
    for (const std::uintmax_t wrong : {size + 1, size - 1, std::uintmax_t{2} << 30}) {
      fs::resize_file(file, wrong);
      EXPECT_FALSE(allRead()) << name << " of " << wrong << " bytes";
    }
    fs::remove(file);
    fs::copy_file(fs::path(ProgramDir) / name, file);
    EXPECT_TRUE(allRead()) << name;
  }
  fs::remove_all(dir);
}

TEST_F(ChordLibraryFiles, EveryFingeringSoundsTheRightNotes) {
  int failures = 0;
  forEachFingering([&](int t, int key, int k, const TChordFingering& r) {
    const ChordTones c = tonesOf(t);
    // A rootless voicing only among fingerings 3..5 of a chord of five or more tones.
    const std::string why = noteProblem(r, key, c, k >= 3 && c.Count >= 5);
    if (!why.empty() && ++failures <= 20) ADD_FAILURE() << label(key, t, k, r) << ": " << why;
    EXPECT_TRUE(lowestStringIsLowestNote(r))
        << label(key, t, k, r) << ": a higher string sounds below the bass";
  });
  EXPECT_EQ(failures, 0);
}

TEST_F(ChordLibraryFiles, SixDifferentVoicingsUpTheNeck) {
  for (int t = 0; t < 62; ++t) {
    for (int key = 0; key < 12; ++key) {
      const auto& six = sixOf(t, key);
      std::set<std::string> distinct;
      for (const auto& r : six) distinct.insert(fretText(r));
      EXPECT_EQ(distinct.size(), 6u) << chordName(key, t) << ": the same voicing twice";
      for (int k = 1; k < 6; ++k) {
        const auto& a = six[static_cast<std::size_t>(k - 1)];
        const auto& b = six[static_cast<std::size_t>(k)];
        EXPECT_LE(heard(a, key).LowestFret, heard(b, key).LowestFret)
            << label(key, t, k, b) << " lies below fingering " << k - 1 << " (" << fretText(a)
            << ")";
        EXPECT_LE(a.BaseFret, b.BaseFret) << label(key, t, k, b) << ": base fret goes down";
      }
    }
  }
}

TEST_F(ChordLibraryFiles, RootInTheBassOfTheFirstAndOfFourOfSix) {
  for (int t = 0; t < 62; ++t) {
    const ChordTones c = tonesOf(t);
    for (int key = 0; key < 12; ++key) {
      const auto& six = sixOf(t, key);
      int rootBass = 0;
      for (const auto& r : six) rootBass += (heard(r, key).Bass - key) % 12 == 0 ? 1 : 0;
      const bool firstOnRoot = (heard(six[0], key).Bass - key) % 12 == 0;
      if (rootBass >= 4 && firstOnRoot) continue;
      // Only where no hand can hold more root-position voicings of the chord.
      const int exist = rootPositionVoicings(key, c, 4);
      EXPECT_GE(rootBass, exist) << chordName(key, t) << ": " << rootBass
                                 << " root-position fingerings, " << exist << " or more exist";
      if (exist > 0) {
        EXPECT_TRUE(firstOnRoot) << label(key, t, 0, six[0]) << ": root not in the bass";
      }
    }
  }
}

TEST_F(ChordLibraryFiles, StringsSoundTogetherWhereTheChordAllows) {
  // Triads and sevenths never need a muted string inside the chord.
  forEachFingering([&](int t, int key, int k, const TChordFingering& r) {
    if (tonesOf(t).Count > 4) return;
    int top = 6, bottom = -1;
    for (int s = 0; s < 6; ++s)
      if (r.Strings[s].Finger != FingerCode::Muted) {
        top = std::min(top, s);
        bottom = std::max(bottom, s);
      }
    for (int s = top; s <= bottom; ++s)
      EXPECT_NE(r.Strings[s].Finger, FingerCode::Muted)
          << label(key, t, k, r) << ": muted inner string";
  });
}

TEST_F(ChordLibraryFiles, WellKnownShapesComeFirst) {
  struct Shape {
    const char* Key;
    const char* Type;
    const char* Frets;
  };
  const Shape shapes[] = {
      {"C", "maj", "x32010"},   {"A", "maj", "x02220"},   {"E", "maj", "022100"},
      {"D", "maj", "xx0232"},   {"F", "maj", "133211"},   {"Bb", "maj", "x13331"},
      {"B", "maj", "x24442"},   {"A", "minor", "x02210"}, {"E", "minor", "022000"},
      {"D", "minor", "xx0231"}, {"B", "minor", "x24432"}, {"F", "minor", "133111"},
      {"A", "7", "x02020"},     {"B", "7", "x21202"},     {"C", "7", "x32310"},
      {"D", "7", "xx0212"},     {"E", "7", "020100"},     {"G", "7", "320001"},
      {"C", "maj7", "x32000"},  {"D", "maj7", "xx0222"},  {"F", "maj7", "xx3210"},
      {"A", "maj7", "x02120"},  {"G", "maj7", "320002"},  {"A", "m7", "x02010"},
      {"D", "m7", "xx0211"},    {"E", "m7", "022030"},    {"A", "sus4", "x02230"},
      {"D", "sus4", "xx0233"},  {"E", "sus4", "022200"},  {"C", "m7", "x35343"},
  };
  for (const auto& s : shapes) {
    EXPECT_EQ(fretText(fingering(s.Key, s.Type, 0)), s.Frets) << s.Key << " " << s.Type;
  }
  const std::string g = fretText(fingering("G", "maj", 0));
  EXPECT_TRUE(g == "320003" || g == "320033") << "G is " << g;
  // F as the full barre: finger 1 across all six strings.
  EXPECT_EQ(fingerText(fingering("F", "maj", 0)), "134211");
  EXPECT_EQ(fingering("F", "maj", 0).BaseFret, 1);
  // The first fingering of every chord in every key sits low on the neck.
  forEachFingering([&](int t, int key, int k, const TChordFingering& r) {
    if (k == 0) {
      EXPECT_LE(r.BaseFret, 12) << label(key, t, 0, r);
    }
  });
}
