#include "LibraryReport.h"

#include <algorithm>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <vector>

#include "Fingering.h"
#include "VoicingGenerator.h"
#include "library/RecordFile.h"
#include "music/NameTables.h"

namespace {

struct Loaded {
  std::vector<TChordFormula> Types;
  // [dictionary index][key][k]
  std::vector<std::vector<std::vector<Fingering>>> Chords;
};

bool load(const std::string& dir, Loaded& data, std::string& error) {
  RecordFile<TChordFormula> dict;
  if (!dict.open(dir, ChordLibrary::DictionaryFile) ||
      dict.count() < static_cast<std::size_t>(ChordLibrary::ChordTypeCount)) {
    error = dir + ": no complete " + std::string(ChordLibrary::DictionaryFile);
    return false;
  }
  data.Types.resize(ChordLibrary::ChordTypeCount);
  for (int t = 0; t < ChordLibrary::ChordTypeCount; ++t)
    dict.read(static_cast<std::size_t>(t), data.Types[static_cast<std::size_t>(t)]);
  data.Chords.assign(ChordLibrary::ChordTypeCount,
                     std::vector<std::vector<Fingering>>(ChordLibrary::KeyCount));
  for (auto family : {ChordFamilyKind::Major, ChordFamilyKind::Minor, ChordFamilyKind::Dominant}) {
    RecordFile<TChordFingering> files[2];
    for (int part = 1; part <= 2; ++part) {
      auto& f = files[part - 1];
      if (!f.open(dir, ChordLibrary::fileName(family, part)) ||
          f.count() != static_cast<std::size_t>(ChordLibrary::recordsPerFile(family))) {
        error = dir + ": no complete " + std::string(ChordLibrary::fileName(family, part));
        return false;
      }
    }
    for (int key = 0; key < ChordLibrary::KeyCount; ++key) {
      for (int t = 0; t < ChordLibrary::typeCount(family); ++t) {
        auto& six = data.Chords[static_cast<std::size_t>(ChordLibrary::dictionaryIndex(family, t))]
                               [static_cast<std::size_t>(key)];
        for (int k = 0; k < ChordLibrary::FingeringsPerChord; ++k) {
          TChordFingering r{};
          files[ChordLibrary::filePart(k) - 1].read(
              static_cast<std::size_t>(ChordLibrary::recordNumber(family, key, t, k)), r);
          six.push_back(Fingering::fromRecord(r));
        }
      }
    }
  }
  return true;
}

std::vector<int> intervalsOf(const TChordFormula& f) {
  std::vector<int> v;
  for (auto i : f.Intervals) {
    if (i < 0) break;
    v.push_back(i);
  }
  return v;
}

struct Sound {
  std::vector<int> Notes;  // low to high
  int Bass = -1;
  int Gaps = 0;
  int Span = 0;
};

Sound soundOf(const Fingering& g) {
  Sound s;
  int low = -1, high = 6;
  for (int i = 5; i >= 0; --i) {
    const int f = g.Fret[static_cast<std::size_t>(i)];
    if (f < 0) continue;
    s.Notes.push_back(StandardStrings[static_cast<std::size_t>(i)] + f);
    low = std::max(low, i);
    high = std::min(high, i);
  }
  for (int i = high; i <= low; ++i) s.Gaps += g.Fret[static_cast<std::size_t>(i)] < 0 ? 1 : 0;
  if (!s.Notes.empty()) s.Bass = s.Notes.front();
  s.Span = g.lowestFretted() ? g.highestFretted() - g.lowestFretted() : 0;
  return s;
}

// Interval name of a sounded pitch class within the chord, using the
// chord's own spelling (9 rather than 2 where the formula says 9).
std::string chordIntervalName(const TChordFormula& f, int semis) {
  for (int v : intervalsOf(f)) {
    if (v % 12 == semis) {
      return std::string(::intervalName(v).empty() ? "?" : ::intervalName(v));
    }
  }
  return "?";
}

}  // namespace

std::optional<int> LibraryReport::typeByName(const std::string& name, std::string& error) const {
  Loaded data;
  if (!load(Dir, data, error)) return std::nullopt;
  for (int t = 0; t < ChordLibrary::ChordTypeCount; ++t) {
    if (data.Types[static_cast<std::size_t>(t)].Name.view() == name) return t;
  }
  if (!name.empty() && std::all_of(name.begin(), name.end(), ::isdigit)) {
    const int t = std::stoi(name);
    if (t < ChordLibrary::ChordTypeCount) return t;
  }
  error = "no chord type " + name;
  return std::nullopt;
}

bool LibraryReport::showChords(std::ostream& out, std::optional<int> key, std::optional<int> type,
                               std::string& error) const {
  Loaded data;
  if (!load(Dir, data, error)) return false;
  for (int k = 0; k < ChordLibrary::KeyCount; ++k) {
    if (key && *key != k) continue;
    for (int t = 0; t < ChordLibrary::ChordTypeCount; ++t) {
      if (type && *type != t) continue;
      const auto& f = data.Types[static_cast<std::size_t>(t)];
      std::string notes;
      for (int v : intervalsOf(f))
        notes += " " + std::string(FlatPitchNames[static_cast<std::size_t>((k + v) % 12)]);
      out << FlatPitchNames[static_cast<std::size_t>(k)] << " " << f.Name.view() << "   [" << notes
          << " ]   [ " << f.Formula.view() << " ]\n";
      const auto& six = data.Chords[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)];
      for (std::size_t i = 0; i < six.size(); ++i) {
        const auto& g = six[i];
        const Sound s = soundOf(g);
        std::string heard, intervals;
        for (int n : s.Notes) {
          heard += std::string(heard.empty() ? "" : " ") +
                   std::string(FlatPitchNames[static_cast<std::size_t>(n % 12)]);
          intervals += std::string(intervals.empty() ? "" : " ") +
                       chordIntervalName(f, ((n - k) % 12 + 12) % 12);
        }
        std::string notes2 = g.problem();
        out << "  " << i << "  " << std::left << std::setw(18) << g.fretText() << " fingers "
            << g.fingerText() << "  base " << std::right << std::setw(2)
            << static_cast<int>(g.record().BaseFret) << "  " << std::left << std::setw(18) << heard
            << " " << std::setw(17) << intervals << std::right;
        if (s.Bass >= 0 && s.Bass % 12 != k) out << " (not root in bass)";
        if (s.Gaps) out << " (muted inner string)";
        if (!notes2.empty()) out << " !! " << notes2;
        out << "\n";
      }
    }
  }
  return true;
}

bool LibraryReport::showSummary(std::ostream& out, std::string& error) const {
  Loaded data;
  if (!load(Dir, data, error)) return false;
  out << "type              strings  span avg/max  root-bass  rootless  inner-muted  open  "
         "fingering 0 in C, E, G, A, Bb\n";
  for (int t = 0; t < ChordLibrary::ChordTypeCount; ++t) {
    const auto& f = data.Types[static_cast<std::size_t>(t)];
    int strings = 0, spans = 0, maxSpan = 0, rootBass = 0, rootless = 0, gaps = 0, open = 0,
        all = 0;
    for (int k = 0; k < ChordLibrary::KeyCount; ++k) {
      for (const auto& g : data.Chords[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)]) {
        const Sound s = soundOf(g);
        ++all;
        strings += g.sounded();
        spans += s.Span;
        maxSpan = std::max(maxSpan, s.Span);
        rootBass += s.Bass % 12 == k ? 1 : 0;
        bool hasRoot = false;
        for (int n : s.Notes) hasRoot = hasRoot || n % 12 == k;
        rootless += hasRoot ? 0 : 1;
        gaps += s.Gaps ? 1 : 0;
        bool anyOpen = false;
        for (int fr : g.Fret) anyOpen = anyOpen || fr == 0;
        open += anyOpen ? 1 : 0;
      }
    }
    std::ostringstream first;
    for (int k : {0, 4, 7, 9, 10}) {
      first << " "
            << data.Chords[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)][0].fretText();
    }
    out << std::left << std::setw(16) << f.Name.view() << std::right << std::fixed
        << std::setprecision(1) << std::setw(9) << static_cast<double>(strings) / all
        << std::setw(10) << static_cast<double>(spans) / all << " / " << maxSpan << std::setw(11)
        << rootBass << std::setw(10) << rootless << std::setw(13) << gaps << std::setw(6) << open
        << " " << first.str() << "\n";
  }
  out << "(counts over 12 keys x 6 fingerings = 72 per type)\n";
  return true;
}
