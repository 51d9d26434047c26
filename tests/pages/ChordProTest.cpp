#include <gtest/gtest.h>

#include <cstring>

#include "LibraryChords.h"
#include "library/MenuTables.h"
#include "music/Tuning.h"
#include "pages/ChordPro.h"
#include "pages/SmoothFingerings.h"

namespace {

// A fingering as players write it (LibraryChords.h), as a chord of
// dictionary type `type` on `root` in standard tuning.
TChordDiagram shape(const char* frets, const char* fingers, int root, int type, int baseFret = 1) {
  TChordDiagram d = ::shape(frets, fingers);
  d.ChordName = DictionaryChordNames[static_cast<std::size_t>(type)];
  std::copy(StandardTuning.begin(), StandardTuning.end(), d.Tuning);
  d.BaseFret = static_cast<std::uint8_t>(baseFret);
  d.Root = static_cast<std::uint8_t>(root);
  d.Bass = static_cast<std::uint8_t>(24 + root);
  return d;
}

PageContents emptyPlayPage() {
  PageContents page;
  page.Kind = PageKind::Play;
  for (auto& column : page.PlayPage)
    for (TChordDiagram& d : column) d.Empty = 1;
  return page;
}

TChordDiagram& slot(PageContents& page, int s) {
  return page.PlayPage[s % 12][s / 12];
}

constexpr int Major = 0, Minor7 = 20, Dominant7 = 36;

TEST(ChordProNames, EveryTypeRootAndBassReadsBackAsWritten) {
  NameTables names;
  for (bool sharps : {false, true}) {
    names.setSharps(sharps);
    for (int type = 0; type < 62; ++type)
      for (int root = 0; root < 12; ++root)
        for (int bass : {root, (root + 7) % 12, (root + 11) % 12}) {
          TChordDiagram d = shape("x32010", "x32010", root, type);
          d.Bass = static_cast<std::uint8_t>(24 + bass);
          const std::string name = ChordPro::chordName(d, names);
          EXPECT_EQ(name.find(' '), std::string::npos) << name;
          const auto back = ChordPro::parseChordName(name);
          ASSERT_TRUE(back) << name;
          EXPECT_EQ(back->Type, type) << name;
          EXPECT_EQ(back->Root, root) << name;
          EXPECT_EQ(back->Bass, bass) << name;
        }
  }
  // Spellings other sheets use.
  EXPECT_EQ(ChordPro::parseChordName("F#m7b5")->Type, 24);
  EXPECT_EQ(ChordPro::parseChordName("BbM7")->Type, 2);
  EXPECT_EQ(ChordPro::parseChordName("Ebm")->Root, 3);
  EXPECT_EQ(ChordPro::parseChordName("C6/9")->Type, 5);
  EXPECT_EQ(ChordPro::parseChordName("C6/9")->Bass, 0);
  EXPECT_EQ(ChordPro::parseChordName("C\u03947")->Type, 2);  // C, a delta, 7
  EXPECT_EQ(ChordPro::parseChordName("B\u00F8")->Type, 24);
  EXPECT_EQ(ChordPro::parseChordName("Csus2")->Type, -1);
  EXPECT_FALSE(ChordPro::parseChordName("x3"));
}

TEST(ChordProDefine, OpenAndBarreChordsAsSheetsWriteThem) {
  EXPECT_EQ(ChordPro::defineLine("C", shape("x32010", "x32010", 0, Major)),
            "{define: C base-fret 1 frets x 3 2 0 1 0 fingers 0 3 2 0 1 0}");
  // An A-shape barre at the fifth fret, drawn from fret 5.
  EXPECT_EQ(ChordPro::defineLine("D", shape("x57775", "x12341", 2, Major, 5)),
            "{define: D base-fret 5 frets x 1 3 3 3 1 fingers 0 1 2 3 4 1}");
  // A record whose diagram starts above its lowest fret would write frets of
  // zero and less: the define starts at that fret instead.
  EXPECT_EQ(ChordPro::defineLine("Bm7", shape("x797a7", "x13141", 11, Minor7, 9)),
            "{define: Bm7 base-fret 7 frets x 1 3 1 4 1 fingers 0 1 3 1 4 1}");
}

TEST(ChordProSheet, PlayPageRoundTripKeepsChordsFingeringsBarsAndRepeats) {
  PageContents page = emptyPlayPage();
  page.Header.TempoBpm = 96;
  page.Header.Loop = true;
  const TChordDiagram c = libraryChord(0, Major, 0);
  TChordDiagram cOverG = libraryChord(0, Major, 1);
  cOverG.Bass = 24 + 7;
  slot(page, 0) = c;
  slot(page, 4) = cOverG;
  slot(page, 8) = libraryChord(9, Minor7, 0);
  slot(page, 14) = libraryChord(0, Major, 3);  // a second fingering of C
  slot(page, 16) = libraryChord(7, Dominant7, 2);
  slot(page, 24) = c;
  slot(page, 40) = libraryChord(5, Major, 0);
  PlayPageState state;
  TRepeatSet marks = state.RepeatSet44;
  marks.ReturnMark[1] = 1;
  marks.RepeatCount[2] = marks.RepeatsLeft[2] = 2;
  marks.ReturnMark[3] = 1;
  marks.RepeatCount[4] = marks.RepeatsLeft[4] = 1;
  std::fill(std::begin(marks.LoopMark), std::end(marks.LoopMark), 0);
  marks.LoopMark[5] = 1;

  ChordPro::SheetHeading heading;
  heading.Title = "Song";
  heading.Capo = 3;
  const std::string text = ChordPro::writeSheet(page, marks, heading);
  EXPECT_NE(text.find("{capo: 3}"), std::string::npos) << text;
  EXPECT_NE(text.find("{define: C_2 "), std::string::npos) << text;
  EXPECT_NE(text.find("| C   .   C/G .   |: Am7 .   .   C_2 | G7  .   .   .   :| x3\n"
                      "|: C   .   .   .   | .   .   .   .   :| F   .   .   .   |. loop\n"),
            std::string::npos)
      << text;

  const ChordPro::Imported back = ChordPro::readSheet(text, PageKind::Play, ProgramDir);
  ASSERT_EQ(back.Error, "") << text;
  EXPECT_TRUE(back.Unknown.empty());
  EXPECT_EQ(back.LeftOut, 0);
  EXPECT_FALSE(back.Page.Header.ThreeFour);
  EXPECT_EQ(back.Page.Header.TempoBpm, 96);
  EXPECT_TRUE(back.Page.Header.Loop);
  for (int s = 0; s < PlaySlotCount; ++s) {
    const TChordDiagram& want = slot(page, s);
    const TChordDiagram& got = back.Page.PlayPage[s % 12][s / 12];
    ASSERT_EQ(isEmpty(got), isEmpty(want)) << "slot " << s << "\n" << text;
    if (isEmpty(want)) continue;
    EXPECT_EQ(got.Root, want.Root) << s;
    EXPECT_EQ(got.Bass % 12, want.Bass % 12) << s;
    EXPECT_EQ(got.ChordName.str(), want.ChordName.str()) << s;
    EXPECT_EQ(0, std::memcmp(got.Intervals, want.Intervals, sizeof got.Intervals)) << s;
    EXPECT_TRUE(sameFingering(got, want)) << s;
    EXPECT_EQ(got.BaseFret, want.BaseFret) << s;
    EXPECT_EQ(0, std::memcmp(got.Notes, want.Notes, sizeof got.Notes)) << s;
  }
  for (int b = 0; b < 9; ++b) {
    EXPECT_EQ(back.Marks.ReturnMark[b], marks.ReturnMark[b]) << b;
    EXPECT_EQ(back.Marks.RepeatCount[b], marks.RepeatCount[b]) << b;
    EXPECT_EQ(back.Marks.LoopMark[b], marks.LoopMark[b]) << b;
  }
}

TEST(ChordProSheet, ChordsBetweenBeatsGetACellPerEighthNote) {
  PageContents page = emptyPlayPage();
  page.Header.ThreeFour = true;
  slot(page, 0) = libraryChord(2, Major, 0);
  slot(page, 3) = libraryChord(7, Major, 0);
  slot(page, 11) = libraryChord(9, Dominant7, 0);
  PlayPageState state;
  const std::string text = ChordPro::writeSheet(page, state.RepeatSet34, {});
  EXPECT_NE(text.find("{time: 3/4}"), std::string::npos);
  EXPECT_NE(text.find("| D  .  .  G  .  .  | .  .  .  .  .  A7 |."), std::string::npos) << text;
  const ChordPro::Imported back = ChordPro::readSheet(text, PageKind::Play, ProgramDir);
  ASSERT_EQ(back.Error, "");
  EXPECT_TRUE(back.Page.Header.ThreeFour);
  for (int s = 0; s < PlaySlotCount; ++s)
    EXPECT_EQ(isEmpty(back.Page.PlayPage[s % 12][s / 12]), s != 0 && s != 3 && s != 11) << s;
}

const char* const HandWritten = R"(# written by hand
{title: By Hand}
{time: 3/4}
{tempo: 90}
{meta: artist Someone}
{define: Am base-fret 1 frets x 0 2 2 1 0 fingers 0 0 2 3 1 0}
{define-ukulele: C base-fret 1 frets 0 0 0 3}
{c: Intro}
{start_of_grid shape="1+4x3+1" label="Intro"}
Intro |: Am . . | C . G/B :| x3
      | % | Dsus2 . C6/E |.
{end_of_grid}
{start_of_tab}
e|--[not a chord]--|
{end_of_tab}
[Em]Words and [Am]more words [N.C.]
{chord: D7}
)";

TEST(ChordProSheet, HandWrittenSheetGivesItsChordsInOrder) {
  const ChordPro::Imported play = ChordPro::readSheet(HandWritten, PageKind::Play, ProgramDir);
  ASSERT_EQ(play.Error, "");
  EXPECT_EQ(play.Unknown, std::vector<std::string>{"Dsus2"});
  EXPECT_TRUE(play.Page.Header.ThreeFour);
  EXPECT_EQ(play.Page.Header.TempoBpm, 90);
  // Bars of six eighth notes: Am | C . G/B (x3) | the same again | - . C6/E |
  // Em | Am | D7.
  const std::map<int, std::pair<int, int>> want = {{0, {9, 19}},  {6, {0, 0}},   {10, {7, 0}},
                                                   {12, {0, 0}},  {16, {7, 0}},  {22, {0, 1}},
                                                   {24, {4, 19}}, {30, {9, 19}}, {36, {2, 36}}};
  for (int s = 0; s < PlaySlotCount; ++s) {
    const TChordDiagram& d = play.Page.PlayPage[s % 12][s / 12];
    const auto w = want.find(s);
    ASSERT_EQ(!isEmpty(d), w != want.end()) << s;
    if (isEmpty(d)) continue;
    EXPECT_EQ(d.Root, w->second.first) << s;
    EXPECT_EQ(d.ChordName.view(), DictionaryChordNames[std::size_t(w->second.second)]) << s;
  }
  // C6/E takes the library's fingering with E below; G/B keeps its name
  // though no G fingering of the library sounds B lowest. Am is fingered as
  // the sheet defines it.
  EXPECT_EQ(play.Page.PlayPage[10][0].Bass % 12, 11);
  const TChordDiagram& cOverE = play.Page.PlayPage[10][1];
  EXPECT_EQ(cOverE.Bass % 12, 4);
  for (int s = 5; s >= 0; --s)
    if (cOverE.Strings[s].Finger != FingerCode::Muted) {
      EXPECT_EQ(cOverE.Notes[s] % 12, 4);
      break;
    }
  EXPECT_TRUE(sameFingering(play.Page.PlayPage[0][0], shape("x02210", "x02310", 9, 19)));
  EXPECT_EQ(play.Marks.ReturnMark[0], 1);
  EXPECT_EQ(play.Marks.RepeatCount[1], 2);
  EXPECT_EQ(play.Marks.RepeatCount[2], 0);

  const ChordPro::Imported print = ChordPro::readSheet(HandWritten, PageKind::Print, ProgramDir);
  ASSERT_EQ(print.Error, "");
  const char* const names[] = {"minor", "maj", "maj", "6", "minor", "7"};
  const int roots[] = {9, 0, 7, 0, 4, 2};
  for (int i = 0; i < 30; ++i) {
    const TPrintDiagram& item = print.Page.PrintPage[i % 6][i / 6];
    ASSERT_EQ(isEmpty(item), i >= 6) << i;
    if (i >= 6) continue;
    EXPECT_TRUE(item.IsChord);
    EXPECT_EQ(item.Name.view(), names[i]) << i;
    EXPECT_EQ(item.Root, roots[i]) << i;
  }
}

TEST(ChordProSheet, UndefinedChordsTakeTheFingeringsThatSuitThePage) {
  // A barre A at the fifth fret, defined, back and forth with D: the D at
  // the same place beats the open one the library lists first.
  const ChordPro::Imported r = ChordPro::readSheet(
      "{define: A base-fret 5 frets 1 3 3 2 1 1 fingers 1 3 4 2 1 1}\n[A]la [D]la [A]la [D]la\n",
      PageKind::Play, ProgramDir);
  ASSERT_EQ(r.Error, "");
  const TChordDiagram& d = r.Page.PlayPage[8][0];
  ASSERT_FALSE(isEmpty(d));
  EXPECT_TRUE(sameFingering(d, libraryChord(2, Major, 2)));  // x57775
  EXPECT_TRUE(sameFingering(r.Page.PlayPage[0][0], shape("577655", "134211", 9, Major)));
  EXPECT_TRUE(sameFingering(r.Page.PlayPage[4][1], shape("577655", "134211", 9, Major)));
}

TEST(ChordProSheet, RefusesWhatGivesNoPageAndKeepsWhatFits) {
  for (const std::string& text :
       {std::string(),
        std::string("\x7f"
                    "ELF\x02\x01\x01\0\0\0",
                    10),
        std::string("Just some words,\nno chords at all.\n"), std::string("{title: Empty}\n")}) {
    const ChordPro::Imported r = ChordPro::readSheet(text, PageKind::Play, ProgramDir);
    EXPECT_NE(r.Error, "") << text;
  }
  const ChordPro::Imported unknown =
      ChordPro::readSheet("{chord: Csus2}\n[Hm]la\n", PageKind::Print, ProgramDir);
  EXPECT_NE(unknown.Error, "");
  EXPECT_EQ(unknown.Unknown, (std::vector<std::string>{"Csus2", "Hm"}));

  // Thirteen one-bar chords on a page of nine 4/4 bars.
  std::string text;
  for (int i = 0; i < 13; ++i) text += "[C]la [G7]la ";
  const ChordPro::Imported many = ChordPro::readSheet(text, PageKind::Play, ProgramDir);
  ASSERT_EQ(many.Error, "");
  EXPECT_EQ(many.LeftOut, 26 - 9);
  for (int b = 0; b < 9; ++b) EXPECT_FALSE(isEmpty(many.Page.PlayPage[(b * 8) % 12][b * 8 / 12]));
}

}  // namespace
