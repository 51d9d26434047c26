#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "music/Records.h"

// The records are stored in page and data files as they lie; every field must
// sit at its byte offset. (The record sizes are checked where they are
// declared; a reordered field keeps the size but breaks every stored file.)

TEST(RecordLayout, ChordDiagramFieldOffsets) {
  EXPECT_EQ(offsetof(TChordDiagram, Empty), 0u);
  EXPECT_EQ(offsetof(TChordDiagram, ChordName), 1u);
  EXPECT_EQ(offsetof(TChordDiagram, TuningName), 17u);
  EXPECT_EQ(offsetof(TChordDiagram, Formula), 33u);
  EXPECT_EQ(offsetof(TChordDiagram, Tuning), 54u);
  EXPECT_EQ(offsetof(TChordDiagram, Strings), 60u);
  EXPECT_EQ(offsetof(TChordDiagram, Intervals), 72u);
  EXPECT_EQ(offsetof(TChordDiagram, Notes), 79u);
  EXPECT_EQ(offsetof(TChordDiagram, BaseFret), 85u);
  EXPECT_EQ(offsetof(TChordDiagram, Root), 86u);
  EXPECT_EQ(offsetof(TChordDiagram, Bass), 87u);
}

TEST(RecordLayout, ScaleDiagramFieldOffsets) {
  EXPECT_EQ(offsetof(TScaleDiagram, Empty), 0u);
  EXPECT_EQ(offsetof(TScaleDiagram, ScaleName), 1u);
  EXPECT_EQ(offsetof(TScaleDiagram, TuningName), 28u);
  EXPECT_EQ(offsetof(TScaleDiagram, Formula), 44u);
  EXPECT_EQ(offsetof(TScaleDiagram, Tuning), 71u);
  EXPECT_EQ(offsetof(TScaleDiagram, Intervals), 77u);
  EXPECT_EQ(offsetof(TScaleDiagram, StartFrets), 87u);
  EXPECT_EQ(offsetof(TScaleDiagram, Root), 93u);
}

TEST(RecordLayout, PrintDiagramFieldOffsets) {
  EXPECT_EQ(offsetof(TPrintDiagram, Empty), 0u);
  EXPECT_EQ(offsetof(TPrintDiagram, IsChord), 1u);
  EXPECT_EQ(offsetof(TPrintDiagram, Name), 2u);
  EXPECT_EQ(offsetof(TPrintDiagram, TuningName), 29u);
  EXPECT_EQ(offsetof(TPrintDiagram, Formula), 45u);
  EXPECT_EQ(offsetof(TPrintDiagram, Tuning), 72u);
  EXPECT_EQ(offsetof(TPrintDiagram, Strings), 78u);
  EXPECT_EQ(offsetof(TPrintDiagram, Intervals), 90u);
  EXPECT_EQ(offsetof(TPrintDiagram, Notes), 100u);
  EXPECT_EQ(offsetof(TPrintDiagram, BaseFret), 106u);
  EXPECT_EQ(offsetof(TPrintDiagram, Root), 107u);
  EXPECT_EQ(offsetof(TPrintDiagram, Bass), 108u);
}

TEST(RecordLayout, FormulaRecordOffsets) {
  EXPECT_EQ(offsetof(TChordFormula, Intervals), 0u);
  EXPECT_EQ(offsetof(TChordFormula, Name), 7u);
  EXPECT_EQ(offsetof(TChordFormula, Formula), 23u);
  EXPECT_EQ(offsetof(TScaleFormula, Intervals), 0u);
  EXPECT_EQ(offsetof(TScaleFormula, Formula), 10u);
}

TEST(RecordLayout, StringsArePairsOfFretThenFingerAndTextIsLengthThenCharacters) {
  TChordDiagram d{};
  d.Strings[2] = {7, 3};
  const auto* bytes = reinterpret_cast<const unsigned char*>(&d);
  EXPECT_EQ(bytes[60 + 4], 7);
  EXPECT_EQ(bytes[60 + 5], 3);
  TChordFormula f{};
  f.Name = "maj7";
  const auto* formula = reinterpret_cast<const unsigned char*>(&f);
  EXPECT_EQ(formula[7], 4);
  EXPECT_EQ(std::memcmp(formula + 8, "maj7", 4), 0);
}

TEST(ShortString, LongerTextIsCutToCapacity) {
  ShortString<15> s{};
  s = "abcdefghijklmnopqrstuvwxyz";
  EXPECT_EQ(s.Length, 15);
  EXPECT_EQ(s.str(), "abcdefghijklmno");
  s = "";
  EXPECT_TRUE(s.empty());
  ShortString<26> wide{};
  wide = "Jazz/Melodic Minor (JM) x";
  s = wide;
  EXPECT_EQ(s.str(), "Jazz/Melodic Mi");
}

TEST(ShortString, DamagedLengthByteNeverReadsPastTheField) {
  // A record read from a damaged file: the length byte says 200, but the field
  // holds 15 characters; the neighbouring field must not leak in.
  TChordDiagram d{};
  std::memset(&d, 'X', sizeof d);
  d.ChordName.Length = 200;
  std::memcpy(d.ChordName.Chars, "0123456789abcde", 15);
  d.TuningName.Length = 3;
  EXPECT_EQ(d.ChordName.size(), 15u);
  EXPECT_EQ(d.ChordName.str(), "0123456789abcde");
  d.Formula.Length = 255;
  EXPECT_EQ(d.Formula.view().size(), 20u);
}
