#include "SourceTables.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "library/ChordLibrary.h"

namespace {

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> cells;
  std::string cell;
  std::istringstream in(line);
  while (std::getline(in, cell, '\t')) cells.push_back(cell);
  return cells;
}

std::vector<std::string> splitBlanks(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

std::optional<int> toInt(const std::string& s) {
  if (s.empty()) return std::nullopt;
  std::size_t used = 0;
  try {
    const int v = std::stoi(s, &used);
    if (used != s.size()) return std::nullopt;
    return v;
  } catch (...) {
    return std::nullopt;
  }
}

// Reads the data lines of a table: blank lines and lines starting with '#'
// are skipped; each row comes with its line number.
bool readRows(const std::string& path, std::vector<std::pair<int, std::vector<std::string>>>& rows,
              std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = path + ": cannot open";
    return false;
  }
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    rows.emplace_back(number, splitTabs(line));
  }
  return true;
}

std::optional<std::vector<int>> intList(const std::string& text) {
  std::vector<int> values;
  for (const auto& w : splitBlanks(text)) {
    const auto v = toInt(w);
    if (!v) return std::nullopt;
    values.push_back(*v);
  }
  return values;
}

}  // namespace

std::optional<int> keyByName(std::string_view name) {
  static constexpr std::string_view letters = "C D EF G A B";
  if (name.empty() || name.size() > 2) return std::nullopt;
  const auto at = letters.find(name[0]);
  if (at == std::string_view::npos || name[0] == ' ') return std::nullopt;
  int pc = static_cast<int>(at);
  if (name.size() == 2) {
    if (name[1] == 'b') {
      pc += 11;
    } else if (name[1] == '#') {
      pc += 1;
    } else {
      return std::nullopt;
    }
  }
  return pc % 12;
}

std::optional<int> intervalBySymbol(std::string_view symbol) {
  int shift = 0;
  while (!symbol.empty() && (symbol[0] == 'b' || symbol[0] == '#')) {
    shift += symbol[0] == 'b' ? -1 : 1;
    symbol.remove_prefix(1);
  }
  static constexpr std::array<int, 14> major = {0, 0, 2, 4, 5, 7, 9, 11, 12, 14, 16, 17, 19, 21};
  if (symbol.empty() || symbol.size() > 2) return std::nullopt;
  int degree = 0;
  for (char c : symbol) {
    if (c < '0' || c > '9') return std::nullopt;
    degree = degree * 10 + (c - '0');
  }
  if (degree < 1 || degree > 13) return std::nullopt;
  // 9, 11 and 13 and their alterations come out an octave up (13..21).
  return major[static_cast<std::size_t>(degree)] + shift;
}

std::optional<int> SourceTables::typeByName(std::string_view name) const {
  for (const auto& t : ChordTypes) {
    if (t.Name == name || t.Caption == name) return t.Index;
  }
  return std::nullopt;
}

bool SourceTables::load(const std::string& dir, std::string& error) {
  ChordTypes.clear();
  Scales.clear();
  Shapes.clear();
  std::vector<std::pair<int, std::vector<std::string>>> rows;

  // Chord types.
  const std::string typesPath = dir + "/chord_types.tsv";
  if (!readRows(typesPath, rows, error)) return false;
  for (const auto& [line, cells] : rows) {
    const std::string where = typesPath + ":" + std::to_string(line) + ": ";
    if (cells.size() != 6) {
      error = where + "expected 6 tab-separated columns";
      return false;
    }
    ChordTypeRow row;
    const auto index = toInt(cells[0]);
    const auto intervals = intList(cells[4]);
    if (!index || *index != static_cast<int>(ChordTypes.size())) {
      error = where + "index out of order";
      return false;
    }
    row.Index = *index;
    row.Family = cells[1];
    row.Caption = cells[2];
    row.Name = cells[3];
    row.Formula = cells[5];
    const auto ft = ChordLibrary::familyOfDictionaryIndex(row.Index);
    static constexpr std::array<std::string_view, 4> families = {"", "major", "minor", "dominant"};
    if (!ft || families[static_cast<std::size_t>(ft->Family)] != row.Family) {
      error = where + "family does not match the index";
      return false;
    }
    if (row.Name.empty() || row.Name.size() > 15 || row.Caption.size() > 20 ||
        row.Formula.size() > 20) {
      error = where + "name (15), caption (20) or formula (20) too long";
      return false;
    }
    if (!intervals || intervals->empty() || intervals->size() > 7 || (*intervals)[0] != 0) {
      error = where + "intervals: 0 first, at most 7";
      return false;
    }
    row.Intervals = *intervals;
    for (std::size_t i = 1; i < row.Intervals.size(); ++i) {
      const int v = row.Intervals[i];
      const bool valid = (v >= 1 && v <= 11) || (v >= 13 && v <= 21);
      if (!valid || v <= row.Intervals[i - 1]) {
        error = where + "intervals must rise, 1..11 then 13..21";
        return false;
      }
    }
    std::vector<int> spelled;
    for (const auto& w : splitBlanks(row.Formula)) {
      const auto v = intervalBySymbol(w);
      if (!v) {
        error = where + "unknown interval name '" + w + "' in the formula";
        return false;
      }
      spelled.push_back(*v);
    }
    if (spelled != row.Intervals) {
      error = where + "the formula text does not spell the intervals";
      return false;
    }
    ChordTypes.push_back(std::move(row));
  }
  if (ChordTypes.size() != ChordLibrary::ChordTypeCount) {
    error = typesPath + ": expected 62 chord types";
    return false;
  }

  // Scales.
  rows.clear();
  const std::string scalesPath = dir + "/scales.tsv";
  if (!readRows(scalesPath, rows, error)) return false;
  for (const auto& [line, cells] : rows) {
    const std::string where = scalesPath + ":" + std::to_string(line) + ": ";
    if (cells.size() != 4) {
      error = where + "expected 4 tab-separated columns";
      return false;
    }
    ScaleRow row;
    const auto index = toInt(cells[0]);
    const auto degrees = intList(cells[2]);
    if (!index || *index != static_cast<int>(Scales.size())) {
      error = where + "index out of order";
      return false;
    }
    row.Index = *index;
    row.Caption = cells[1];
    row.Formula = cells[3];
    if (row.Formula.size() > 26) {
      error = where + "formula longer than 26 characters";
      return false;
    }
    if (!degrees || degrees->empty() || degrees->size() > 10 || (*degrees)[0] != 0) {
      error = where + "degrees: 0 first, at most 10";
      return false;
    }
    row.Degrees = *degrees;
    for (std::size_t i = 1; i < row.Degrees.size(); ++i) {
      if (row.Degrees[i] <= row.Degrees[i - 1] || row.Degrees[i] > 11) {
        error = where + "degrees must rise within 0..11";
        return false;
      }
    }
    std::vector<int> spelled;
    for (const auto& w : splitBlanks(row.Formula)) {
      const auto v = intervalBySymbol(w);
      if (!v) {
        error = where + "unknown degree name '" + w + "' in the formula";
        return false;
      }
      spelled.push_back(*v % 12);
    }
    if (spelled != row.Degrees) {
      error = where + "the formula text does not spell the degrees";
      return false;
    }
    Scales.push_back(std::move(row));
  }
  if (Scales.size() != ChordLibrary::ScaleCount) {
    error = scalesPath + ": expected 47 scales";
    return false;
  }

  // Hand-picked shapes.
  rows.clear();
  const std::string shapesPath = dir + "/shapes.tsv";
  if (!readRows(shapesPath, rows, error)) return false;
  for (const auto& [line, cells] : rows) {
    const std::string where = shapesPath + ":" + std::to_string(line) + ": ";
    if (cells.size() != 5) {
      error = where + "expected 5 tab-separated columns";
      return false;
    }
    ShapeRow row;
    row.Where = "shapes.tsv:" + std::to_string(line);
    if (cells[0] != "open" && cells[0] != "movable" && cells[0] != "barre") {
      error = where + "kind must be open, movable or barre";
      return false;
    }
    row.Movable = cells[0] != "open";
    row.Barre = cells[0] == "barre";
    const auto key = keyByName(cells[1]);
    const auto type = typeByName(cells[2]);
    if (!key || !type) {
      error = where + "unknown key or chord type";
      return false;
    }
    row.Key = *key;
    row.Type = *type;
    const auto frets = splitBlanks(cells[3]);
    const auto fingers = splitBlanks(cells[4]);
    if (frets.size() != 6 || fingers.size() != 6) {
      error = where + "six frets and six fingers, low E first";
      return false;
    }
    for (std::size_t i = 0; i < 6; ++i) {
      if (frets[i] == "x") {
        row.LowToHighFrets[i] = -1;
      } else {
        const auto f = toInt(frets[i]);
        if (!f || *f < 0 || *f > 22) {
          error = where + "fret must be x or 0..22";
          return false;
        }
        row.LowToHighFrets[i] = *f;
      }
      if (fingers[i] == "x") {
        row.LowToHighFingers[i] = -1;
      } else {
        const auto f = toInt(fingers[i]);
        if (!f || *f < 0 || *f > 4) {
          error = where + "finger must be x or 0..4";
          return false;
        }
        row.LowToHighFingers[i] = *f;
      }
      if ((row.LowToHighFrets[i] == -1) != (row.LowToHighFingers[i] == -1) ||
          (row.LowToHighFrets[i] == 0) != (row.LowToHighFingers[i] == 0)) {
        error = where + "fingers must be x on muted and 0 on open strings only";
        return false;
      }
      if (row.Movable && row.LowToHighFrets[i] == 0) {
        error = where + "a movable shape has no open strings";
        return false;
      }
    }
    Shapes.push_back(std::move(row));
  }
  return true;
}
