#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The readable sources of the program's data, loaded from the tab-separated
// tables under data/: the chord types, the scales and the hand-picked
// fingerings. Loading checks every row (counts, orders, lengths, that each
// formula text spells its intervals) so a typo stops the build with the file
// and line named.

struct ChordTypeRow {
  int Index = 0;
  std::string Family;  // "major", "minor" or "dominant"
  std::string Caption;
  std::string Name;
  std::vector<int> Intervals;  // 0 first, 1..11 then 13..21
  std::string Formula;
};

struct ScaleRow {
  int Index = 0;
  std::string Caption;
  std::vector<int> Degrees;  // 0..11 ascending
  std::string Formula;
};

// Frets and fingers from string 5 (low E) up to string 0, as written in the
// table; -1 is a muted string.
struct ShapeRow {
  bool Movable = false;  // "movable" or "barre"
  bool Barre = false;    // "barre": fingering 0 wherever no open shape is given
  int Key = 0;           // pitch class
  int Type = 0;          // dictionary index
  std::array<int, 6> LowToHighFrets{};
  std::array<int, 6> LowToHighFingers{};
  std::string Where;  // "shapes.tsv:NN" for messages
};

class SourceTables {
 public:
  // Loads the three tables from `dir`; on failure returns false and leaves a
  // message naming the file and line in `error`.
  bool load(const std::string& dir, std::string& error);

  std::vector<ChordTypeRow> ChordTypes;
  std::vector<ScaleRow> Scales;
  std::vector<ShapeRow> Shapes;

  // Dictionary index of a chord type by its dictionary name or menu caption.
  std::optional<int> typeByName(std::string_view name) const;
};

// Pitch class of a key name such as "C", "Eb" or "F#".
std::optional<int> keyByName(std::string_view name);

// Semitones above the root of an interval name as formula texts write it:
// "1", "b3", "#4", "bb7", "9", "#11", "13" (extensions give 13..21).
std::optional<int> intervalBySymbol(std::string_view symbol);
