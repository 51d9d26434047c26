#include <gtest/gtest.h>

#include "music/DiagramConvert.h"
#include "pages/DiagramText.h"

namespace {

TChordDiagram chord(int root, int bass, std::string_view name, std::string_view formula,
                    std::initializer_list<int> intervals) {
  TChordDiagram c{};
  c.Root = static_cast<std::uint8_t>(root);
  c.Bass = static_cast<std::uint8_t>(bass);
  c.ChordName = name;
  c.Formula = formula;
  c.TuningName = "Standard";
  for (auto& i : c.Intervals) i = ChordIntervalEnd;
  int k = 0;
  for (const int i : intervals) c.Intervals[k++] = static_cast<std::int8_t>(i);
  return c;
}

TScaleDiagram scale(int root, std::string_view name, std::string_view formula,
                    std::initializer_list<int> intervals) {
  TScaleDiagram s{};
  s.Root = static_cast<std::uint8_t>(root);
  s.ScaleName = name;
  s.Formula = formula;
  s.TuningName = "Standard";
  for (auto& i : s.Intervals) i = ScaleIntervalEnd;
  int k = 0;
  for (const int i : intervals) s.Intervals[k++] = static_cast<std::uint8_t>(i);
  return s;
}

class DiagramTextTest : public ::testing::Test {
 protected:
  NameTables flats, sharps;
  void SetUp() override { sharps.setSharps(true); }
};

TEST_F(DiagramTextTest, NotesFollowTheNamingModeAndStopAtTheEndMarker) {
  const TChordDiagram c7 = chord(1, 25, "7", "1 3 5 b7", {0, 4, 7, 10});
  EXPECT_EQ(DiagramText::chordNotes(c7, flats), " Db F Ab B");
  EXPECT_EQ(DiagramText::chordNotes(c7, sharps), " C# F G# B");
  // Extensions above the octave name their pitch class.
  EXPECT_EQ(DiagramText::chordNotes(chord(0, 24, "add9", "", {0, 4, 7, 14}), flats), " C E G D");
  // Anything after the end marker is not read as a note.
  TChordDiagram junk = chord(0, 24, "5", "", {0, 7});
  junk.Intervals[3] = 4;
  EXPECT_EQ(DiagramText::chordNotes(junk, flats), " C G");
  const TScaleDiagram minorPent = scale(9, "Minor Pentatonic", "1 b3 4 5 b7", {0, 3, 5, 7, 10});
  EXPECT_EQ(DiagramText::scaleNotes(minorPent, flats), " A C D E G");
}

TEST_F(DiagramTextTest, SlashOnlyWhenTheBassIsNotTheRoot) {
  EXPECT_EQ(DiagramText::slash(0, 24, flats), "");
  EXPECT_EQ(DiagramText::slash(0, 28, flats), " /E");
  EXPECT_EQ(DiagramText::slash(0, 25, sharps), " /C#");
  EXPECT_EQ(DiagramText::playPageCaption(chord(0, 28, "maj7", "", {0, 4, 7, 11}), flats),
            "C maj7 /E");
  EXPECT_EQ(DiagramText::playPageCaption(chord(7, 31, "", "", {0}), flats), "G ");
}

TEST_F(DiagramTextTest, ChordSetHeaderTrimsNameAndFormulaOnTheRight) {
  const TChordDiagram c = chord(0, 24, "maj7   ", "1 3 5 7 ", {0, 4, 7, 11});
  EXPECT_EQ(DiagramText::chordSetHeader(c, flats), "C maj7   [  C E G B ]    [ 1 3 5 7 ]");
}

// A set read from a file is headed as Show Chords headed it: by the menu's
// caption of the type, not the dictionary's short name; other names stay.
TEST_F(DiagramTextTest, ChordSetHeaderNamesTheTypeAsTheMenuDoes) {
  EXPECT_EQ(DiagramText::chordSetHeader(chord(4, 28, "maj", "1 3 5", {0, 4, 7}), flats),
            "E major   [  E Ab B ]    [ 1 3 5 ]");
  EXPECT_EQ(DiagramText::chordSetHeader(chord(0, 24, "ma9#5 ", "", {0}), flats).substr(0, 9),
            "C maj9#5 ");
  EXPECT_EQ(DiagramText::chordSetHeader(chord(0, 24, "mine ", "", {0}), flats).substr(0, 7),
            "C mine ");
}

TEST_F(DiagramTextTest, ScaleRowHeaderNamesScaleFormulaAndTuning) {
  const TScaleDiagram s = scale(2, "Dorian", "1 2 b3 4 5 6 b7  ", {0, 2, 3, 5, 7, 9, 10});
  EXPECT_EQ(DiagramText::scaleRowHeader(s, flats),
            "D Dorian Scale   [  D E F G A B C ]    [ 1 2 b3 4 5 6 b7 ] Tuning: Standard");
}

TEST_F(DiagramTextTest, PrintCaptionsForChordsAndScales) {
  TPrintDiagram item{};
  item.IsChord = 1;
  item.Name = "  m7 ";
  item.Formula = " 1 b3 5 b7 ";
  item.TuningName = "Standard ";
  item.Root = 9;
  item.Bass = 24;  // bass C under an A chord
  const std::int8_t intervals[10] = {0, 3, 7, 10, -1, -1, -1, -1, -1, -1};
  std::copy(std::begin(intervals), std::end(intervals), item.Intervals);
  EXPECT_EQ(DiagramText::printCaptions(item, flats),
            (std::array<std::string, 4>{"A m7 /C", "A C E G", "1 b3 5 b7", "Standard"}));

  // A scale item ends its intervals with 99 and never shows a slash.
  item.IsChord = 0;
  item.Name = "Major";
  const std::int8_t degrees[10] = {0, 2, 4, 5, 7, 9, 11, 99, 99, 99};
  std::copy(std::begin(degrees), std::end(degrees), item.Intervals);
  EXPECT_EQ(DiagramText::printCaptions(item, sharps)[0], "A Major");
  EXPECT_EQ(DiagramText::printCaptions(item, sharps)[1], "A B C# D E F# G#");
}

TEST_F(DiagramTextTest, DesignGroupLines) {
  TChordDiagram c = chord(4, 28, "m", " 1 b3 5 ", {0, 3, 7});
  c.TuningName = "D A D G B E ";
  EXPECT_EQ(DiagramText::designGroupLines(c, flats),
            (std::array<std::string, 4>{"E m", "E G B", "1 b3 5", "D A D G B E"}));
}

TEST_F(DiagramTextTest, DamagedRecordsGiveTextNotCrashes) {
  TChordDiagram c{};
  c.Root = 250;
  c.Bass = 3;
  c.ChordName.Length = 200;              // longer than the field
  for (auto& i : c.Intervals) i = -100;  // no end marker, negative values
  const std::string caption = DiagramText::playPageCaption(c, flats);
  EXPECT_EQ(caption.substr(0, 3), "Bb ");  // 250 mod 12 = 10
  EXPECT_EQ(caption.size(), 3 + 15 + 4);   // " /Eb" after the 15 characters of the field
  EXPECT_EQ(DiagramText::chordNotes(c, flats).size(), 7 * 3);
  TScaleDiagram s{};
  s.Root = 255;
  for (auto& i : s.Intervals) i = 200;
  EXPECT_EQ(DiagramText::scaleNotes(s, flats), " B B B B B B B B B B");  // (200 + 255) mod 12
}

TEST(DiagramTextTrim, TrimsBlanksOnly) {
  EXPECT_EQ(DiagramText::trim("  a b  "), "a b");
  EXPECT_EQ(DiagramText::trim("    "), "");
  EXPECT_EQ(DiagramText::trimRight(" a "), " a");
}

}  // namespace

namespace {

// C major in the open position: x32010 on a standard neck.
TChordDiagram openC() {
  TChordDiagram c = chord(0, 24, "maj", "1 3 5", {0, 4, 7});
  const int tuning[6] = {64, 59, 55, 50, 45, 40};
  const int frets[6] = {0, 1, 0, 2, 3, 0};
  const int fingers[6] = {FingerCode::Open, 1, FingerCode::Open, 2, 3, FingerCode::Muted};
  for (int s = 0; s < 6; ++s) {
    c.Tuning[s] = static_cast<std::uint8_t>(tuning[s]);
    c.Strings[s] = {static_cast<std::uint8_t>(frets[s]), static_cast<std::uint8_t>(fingers[s])};
    c.Notes[s] =
        fingers[s] == FingerCode::Muted ? 0 : static_cast<std::uint8_t>(tuning[s] + frets[s]);
  }
  c.BaseFret = 1;
  return c;
}

}  // namespace

TEST_F(DiagramTextTest, ChordIsReadStringByStringFromTheLowestString) {
  EXPECT_EQ(DiagramText::stringByString(openC(), flats),
            "string 6 not played, string 5 fret 3 C, string 4 fret 2 E, string 3 open G, "
            "string 2 fret 1 C, string 1 open E");
  // A muted string stays unplayed whatever fret the record keeps for it.
  TChordDiagram c = openC();
  c.Strings[5].Fret = 3;
  EXPECT_EQ(DiagramText::stringByString(c, flats).substr(0, 20), "string 6 not played,");
}

TEST_F(DiagramTextTest, SpokenNotesFollowTheNamesInForce) {
  // Up a semitone: the fretted notes are Db and F in flats, C# in sharps.
  TChordDiagram c = openC();
  c.Root = 1;
  c.Bass = 25;
  for (int s = 0; s < 6; ++s) ++c.Tuning[s];
  EXPECT_NE(DiagramText::stringByString(c, flats).find("string 5 fret 3 Db, string 4 fret 2 F"),
            std::string::npos);
  EXPECT_NE(DiagramText::stringByString(c, sharps).find("string 5 fret 3 C#"), std::string::npos);
  // Names as they sound over a capo on fret 2: the C shape sounds as D.
  EXPECT_NE(DiagramText::stringByString(openC(), flats.shiftedBy(2)).find("string 5 fret 3 D,"),
            std::string::npos);
}

TEST_F(DiagramTextTest, SpokenDiagramsCarryNamePositionAndContents) {
  TChordDiagram c = openC();
  c.Bass = 28;
  c.BaseFret = 3;
  EXPECT_EQ(DiagramText::spokenChord(c, flats),
            "C maj /E, from fret 3: string 6 not played, string 5 fret 3 C, string 4 fret 2 E, "
            "string 3 open G, string 2 fret 1 C, string 1 open E");
  c.Empty = 1;
  EXPECT_EQ(DiagramText::spokenChord(c, flats), "empty");

  const TScaleDiagram minorPent = scale(9, "Minor Pentatonic", "1 b3 4 5 b7", {0, 3, 5, 7, 10});
  EXPECT_EQ(DiagramText::spokenScale(minorPent, flats), "A Minor Pentatonic scale: A C D E G");

  TPrintDiagram item{};
  chordToPrintItem(openC(), item);
  EXPECT_EQ(DiagramText::spokenPrintItem(item, sharps).substr(0, 40),
            "C maj, from fret 1: string 6 not played,");
  scaleToPrintItem(minorPent, item);
  item.BaseFret = 5;
  EXPECT_EQ(DiagramText::spokenPrintItem(item, flats),
            "A Minor Pentatonic scale, position from fret 5: A C D E G");
  item.Empty = 1;
  EXPECT_EQ(DiagramText::spokenPrintItem(item, flats), "empty");
}
