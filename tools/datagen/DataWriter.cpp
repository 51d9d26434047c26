#include "DataWriter.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

// Writes `bytes` to dir/name through a temporary file, so a reader never sees
// half a file and an unchanged file keeps its contents.
bool writeFile(const std::string& dir, std::string_view name, const std::vector<char>& bytes,
               std::string& error) {
  const std::string path = dir + "/" + std::string(name);
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      error = temp + ": cannot write";
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    error = path + ": cannot replace";
    return false;
  }
  return true;
}

template <typename T>
void append(std::vector<char>& bytes, const T& record) {
  const auto* p = reinterpret_cast<const char*>(&record);
  bytes.insert(bytes.end(), p, p + sizeof(T));
}

// Short strings are written with zeros past their length so that every build
// gives the same bytes.
template <std::size_t N>
void setText(ShortString<N>& s, const std::string& text) {
  std::memset(&s, 0, sizeof(s));
  s.assign(text);
}

}  // namespace

bool DataWriter::writeAll(const std::string& dir, std::string& error) const {
  Files files;
  dictionary(files);
  scales(files);
  for (auto f : {ChordFamilyKind::Major, ChordFamilyKind::Minor, ChordFamilyKind::Dominant}) {
    if (!library(f, files, error)) return false;
  }
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  for (const auto& [name, bytes] : files) {
    if (!writeFile(dir, name, bytes, error)) return false;
  }
  return true;
}

void DataWriter::dictionary(Files& files) const {
  std::vector<char> bytes;
  for (const auto& t : Tables.ChordTypes) {
    TChordFormula f;
    std::memset(&f, 0, sizeof(f));
    for (std::size_t i = 0; i < 7; ++i) {
      f.Intervals[i] = static_cast<std::int8_t>(i < t.Intervals.size() ? t.Intervals[i] : -1);
    }
    setText(f.Name, t.Name);
    setText(f.Formula, t.Formula);
    append(bytes, f);
  }
  files.emplace_back(ChordLibrary::DictionaryFile, std::move(bytes));
}

void DataWriter::scales(Files& files) const {
  std::vector<char> bytes;
  for (const auto& sc : Tables.Scales) {
    TScaleFormula f;
    std::memset(&f, 0, sizeof(f));
    for (std::size_t i = 0; i < 10; ++i) {
      f.Intervals[i] = static_cast<std::uint8_t>(i < sc.Degrees.size() ? sc.Degrees[i] : 99);
    }
    setText(f.Formula, sc.Formula);
    append(bytes, f);
  }
  files.emplace_back(ChordLibrary::ScaleFile, std::move(bytes));
}

bool DataWriter::library(ChordFamilyKind family, Files& files, std::string& error) const {
  const int types = ChordLibrary::typeCount(family);
  const auto records = static_cast<std::size_t>(ChordLibrary::recordsPerFile(family));
  std::vector<TChordFingering> parts[2] = {std::vector<TChordFingering>(records),
                                           std::vector<TChordFingering>(records)};
  for (int key = 0; key < ChordLibrary::KeyCount; ++key) {
    for (int t = 0; t < types; ++t) {
      const int index = ChordLibrary::dictionaryIndex(family, t);
      const auto six = Voicings.chord(index, key);
      if (six.size() != ChordLibrary::FingeringsPerChord) {
        error = "type " + Tables.ChordTypes[static_cast<std::size_t>(index)].Name + " in key " +
                std::to_string(key) + ": only " + std::to_string(six.size()) + " fingerings";
        return false;
      }
      for (int k = 0; k < ChordLibrary::FingeringsPerChord; ++k) {
        const auto n = static_cast<std::size_t>(ChordLibrary::recordNumber(family, key, t, k));
        parts[ChordLibrary::filePart(k) - 1][n] = six[static_cast<std::size_t>(k)].Shape.record();
      }
    }
  }
  for (int part = 1; part <= 2; ++part) {
    std::vector<char> bytes;
    for (const auto& r : parts[part - 1]) append(bytes, r);
    files.emplace_back(ChordLibrary::fileName(family, part), std::move(bytes));
  }
  return true;
}
