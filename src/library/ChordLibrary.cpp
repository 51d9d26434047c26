#include "library/ChordLibrary.h"

namespace ChordLibrary {

std::optional<FamilyType> familyOfDictionaryIndex(int index) {
  if (index < 0 || index >= ChordTypeCount) return std::nullopt;
  if (index < 19) return FamilyType{ChordFamilyKind::Major, index};
  if (index < 36) return FamilyType{ChordFamilyKind::Minor, index - 19};
  return FamilyType{ChordFamilyKind::Dominant, index - 36};
}

std::string_view fileName(ChordFamilyKind f, int part) {
  const bool first = part == 1;
  switch (f) {
    case ChordFamilyKind::Major:
      return first ? "pxma1.dat" : "pxma2.dat";
    case ChordFamilyKind::Minor:
      return first ? "pxmi1.dat" : "pxmi2.dat";
    case ChordFamilyKind::Dominant:
      return first ? "pxdo1.dat" : "pxdo2.dat";
  }
  return {};
}

}  // namespace ChordLibrary
