#include "library/LibraryFiles.h"

#include <algorithm>
#include <filesystem>

#include "library/ChordLibrary.h"
#include "library/RecordFile.h"
#include "music/DiagramConvert.h"

namespace {

std::string joinPath(const std::string& dir, std::string_view name) {
  std::string path = dir;
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  return path;
}

// Anything under the name counts: one that is not a regular file is damaged, not missing.
bool exists(const std::string& dir, std::string_view name) {
  std::error_code ec;
  return std::filesystem::exists(joinPath(dir, name), ec);
}

// A fingering the diagrams can show: base fret 1..17, frets 0..22, finger
// codes 0..6, and every fretted string within the six rows of its diagram.
bool plausible(const TChordFingering& f) {
  if (f.BaseFret < 1 || f.BaseFret > 17) return false;
  for (const auto& s : f.Strings) {
    if (s.Fret > HighestFret || s.Finger > FingerCode::Fretted) return false;
    if (s.Fret > 0 && s.Finger != FingerCode::Muted &&
        (s.Fret < f.BaseFret || s.Fret > f.BaseFret + 5))
      return false;
  }
  return true;
}

bool plausible(const TChordFormula& f) {
  if (f.Intervals[0] != 0) return false;
  for (auto i : f.Intervals)
    if (i != ChordIntervalEnd && (i < 0 || i > 23)) return false;
  return true;
}

bool plausible(const TScaleFormula& s) {
  for (auto i : s.Intervals)
    if (i != ScaleIntervalEnd && i > 23) return false;
  return true;
}

// Record `index` of a data file that holds exactly `records` of them. A file of
// any other length is not the one the program was built with (cut short,
// grown, or something else under the name) and is refused before a record
// of it is read.
template <typename T>
LibraryResult readRecord(const std::string& dir, std::string_view name, int index, int records,
                         T& out) {
  RecordFile<T> file;
  if (!file.open(dir, name))
    return {exists(dir, name) ? LibraryStatus::ReadError : LibraryStatus::MissingFiles,
            std::string(name)};
  if (file.size() != static_cast<std::uint64_t>(records) * sizeof(T))
    return {LibraryStatus::ReadError, std::string(name)};
  T record{};
  if (index < 0 || !file.read(static_cast<std::size_t>(index), record) || !plausible(record))
    return {LibraryStatus::ReadError, std::string(name)};
  out = record;
  return {};
}

}  // namespace

LibraryResult readChordFormula(const std::string& dir, int index, TChordFormula& formula) {
  if (index < 0 || index >= ChordLibrary::ChordTypeCount)
    return {LibraryStatus::ReadError, std::string(ChordLibrary::DictionaryFile)};
  return readRecord(dir, ChordLibrary::DictionaryFile, index, ChordLibrary::ChordTypeCount,
                    formula);
}

LibraryResult readScaleFormula(const std::string& dir, int index, TScaleFormula& scale) {
  if (index < 0 || index >= ChordLibrary::ScaleCount)
    return {LibraryStatus::ReadError, std::string(ChordLibrary::ScaleFile)};
  return readRecord(dir, ChordLibrary::ScaleFile, index, ChordLibrary::ScaleCount, scale);
}

LibraryResult readChordSet(const std::string& dir, int family, int type, int key,
                           TChordDiagram (&set)[6], TChordFormula& formula) {
  if (family < 1 || family > 3) return {LibraryStatus::MissingFiles, {}};
  const auto kind = static_cast<ChordFamilyKind>(family);
  const std::string_view file1 = ChordLibrary::fileName(kind, 1);
  const std::string_view file2 = ChordLibrary::fileName(kind, 2);
  if (!exists(dir, file1) || !exists(dir, file2)) return {LibraryStatus::MissingFiles, {}};
  if (type < 0 || type >= ChordLibrary::typeCount(kind) || key < 0 || key > 11)
    return {LibraryStatus::ReadError, std::string(file1)};

  TChordFormula dictionary{};
  if (LibraryResult r =
          readChordFormula(dir, ChordLibrary::dictionaryIndex(kind, type), dictionary);
      r.Status != LibraryStatus::Ok)
    return {LibraryStatus::ReadError, r.File};

  TChordDiagram read[6] = {};
  for (int k = 0; k < 6; ++k) {
    TChordFingering f{};
    const std::string_view name = k < 3 ? file1 : file2;
    LibraryResult r = readRecord(dir, name, ChordLibrary::recordNumber(kind, key, type, k),
                                 ChordLibrary::recordsPerFile(kind), f);
    if (r.Status != LibraryStatus::Ok) return {LibraryStatus::ReadError, r.File};

    TChordDiagram& d = read[k];
    d.Empty = 0;
    d.ChordName = dictionary.Name;
    d.TuningName = "Standard";
    d.Formula = dictionary.Formula;
    std::copy(StandardTuning.begin(), StandardTuning.end(), d.Tuning);
    std::copy(std::begin(f.Strings), std::end(f.Strings), d.Strings);
    std::copy(std::begin(dictionary.Intervals), std::end(dictionary.Intervals), d.Intervals);
    soundNotes(d);
    d.BaseFret = f.BaseFret;
    d.Root = static_cast<std::uint8_t>(key);
    d.Bass = static_cast<std::uint8_t>(key + 24);
  }
  std::copy(std::begin(read), std::end(read), set);
  formula = dictionary;
  return {};
}

std::string libraryErrorText(const LibraryResult& result) {
  return "Could not read the data file " + result.File + ". It may be damaged; reinstall Strumbo!";
}
