#include <gtest/gtest.h>

#include <cstddef>

#include "library/ChordLibrary.h"

using namespace ChordLibrary;

TEST(ChordLibrary, FingeringRecordIsBaseFretThenFretAndFingerPerString) {
  EXPECT_EQ(offsetof(TChordFingering, BaseFret), 0u);
  EXPECT_EQ(offsetof(TChordFingering, Strings), 1u);
  TChordFingering r{};
  const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
  r.Strings[5].Finger = 7;
  EXPECT_EQ(bytes[12], 7);
  r.Strings[0].Fret = 3;
  EXPECT_EQ(bytes[1], 3);
}

TEST(ChordLibrary, RecordNumbersFollowKeyTypeAndFingering) {
  // E m7: key 4, minor type 1 -> records 207..209 of both minor files.
  EXPECT_EQ(recordNumber(ChordFamilyKind::Minor, 4, 1, 0), 207);
  EXPECT_EQ(recordNumber(ChordFamilyKind::Minor, 4, 1, 2), 209);
  EXPECT_EQ(recordNumber(ChordFamilyKind::Minor, 4, 1, 3), 207);
  EXPECT_EQ(filePart(2), 1);
  EXPECT_EQ(filePart(3), 2);
  // B 13sus(b9): the last three records of the dominant files.
  EXPECT_EQ(recordNumber(ChordFamilyKind::Dominant, 11, 25, 0), 933);
  EXPECT_EQ(recordNumber(ChordFamilyKind::Dominant, 11, 25, 5), 935);
  EXPECT_EQ(recordsPerFile(ChordFamilyKind::Dominant), 936);
  EXPECT_EQ(recordsPerFile(ChordFamilyKind::Major), 684);
  EXPECT_EQ(recordsPerFile(ChordFamilyKind::Minor), 612);
  // C maj7: key 0, major type 2.
  EXPECT_EQ(recordNumber(ChordFamilyKind::Major, 0, 2, 1), 7);
}

TEST(ChordLibrary, DictionaryIndexRoundTripsOverAllSixtyTwoTypes) {
  int seen = 0;
  for (auto f : {ChordFamilyKind::Major, ChordFamilyKind::Minor, ChordFamilyKind::Dominant}) {
    for (int t = 0; t < typeCount(f); ++t) {
      const int i = dictionaryIndex(f, t);
      EXPECT_EQ(i, seen);
      const auto back = familyOfDictionaryIndex(i);
      ASSERT_TRUE(back);
      EXPECT_EQ(back->Family, f);
      EXPECT_EQ(back->Type, t);
      ++seen;
    }
  }
  EXPECT_EQ(seen, ChordTypeCount);
  EXPECT_FALSE(familyOfDictionaryIndex(-1));
  EXPECT_FALSE(familyOfDictionaryIndex(62));
}
