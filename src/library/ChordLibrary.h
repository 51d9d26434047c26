#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

#include "music/Records.h"

// The chord library: six fingerings for each key and chord type, kept in one
// pair of files per chord family (fingerings 0..2 in the first file, 3..5 at
// the same record numbers in the second), and the chord formula dictionary
// and scale library beside them. This header fixes the 13-byte fingering
// record, the families and the record numbering that every reader and the
// data generator share.

#pragma pack(push, 1)
// One fingering as it lies in a library file: the base fret of its diagram,
// then fret and finger for strings 0 (high E) to 5 (low E).
struct TChordFingering {
  std::uint8_t BaseFret;
  TStringFinger Strings[6];
};
#pragma pack(pop)

static_assert(sizeof(TChordFingering) == 13);
static_assert(std::is_trivially_copyable_v<TChordFingering> &&
              std::is_standard_layout_v<TChordFingering>);

enum class ChordFamilyKind : std::uint8_t { Major = 1, Minor = 2, Dominant = 3 };

namespace ChordLibrary {

inline constexpr int KeyCount = 12;
inline constexpr int FingeringsPerChord = 6;
inline constexpr int FingeringsPerFile = 3;
inline constexpr int ChordTypeCount = 62;
inline constexpr int ScaleCount = 47;
inline constexpr int HighestBaseFret = 17;

inline constexpr std::string_view DictionaryFile = "pxcd3.dat";
inline constexpr std::string_view ScaleFile = "pxs.dat";

// Number of chord types in a family: 19 major, 17 minor, 26 dominant.
constexpr int typeCount(ChordFamilyKind f) {
  switch (f) {
    case ChordFamilyKind::Major:
      return 19;
    case ChordFamilyKind::Minor:
      return 17;
    case ChordFamilyKind::Dominant:
      return 26;
  }
  return 0;
}

// Record of chord type `type` of family `f` in the chord formula dictionary.
constexpr int dictionaryIndex(ChordFamilyKind f, int type) {
  switch (f) {
    case ChordFamilyKind::Major:
      return type;
    case ChordFamilyKind::Minor:
      return 19 + type;
    case ChordFamilyKind::Dominant:
      return 36 + type;
  }
  return -1;
}

// The family and in-family type of dictionary record 0..61.
struct FamilyType {
  ChordFamilyKind Family;
  int Type;
};
std::optional<FamilyType> familyOfDictionaryIndex(int index);

// "pxma1.dat"/"pxma2.dat" and so on; `part` is 1 (fingerings 0..2) or 2 (3..5).
std::string_view fileName(ChordFamilyKind f, int part);

// Records in one file of the family: 12 keys x types x 3.
constexpr int recordsPerFile(ChordFamilyKind f) {
  return KeyCount * typeCount(f) * FingeringsPerFile;
}

// Record number, in the file that holds it, of fingering k (0..5) of chord
// type `type` in key `key`; the file is part 1 for k < 3, else part 2.
constexpr int recordNumber(ChordFamilyKind f, int key, int type, int k) {
  return key * typeCount(f) * FingeringsPerFile + type * FingeringsPerFile + k % FingeringsPerFile;
}
constexpr int filePart(int k) {
  return k < FingeringsPerFile ? 1 : 2;
}

}  // namespace ChordLibrary
