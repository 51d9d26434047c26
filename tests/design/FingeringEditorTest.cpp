#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "design/FingeringEditor.h"

namespace {

// Standard tuning, every string muted, root C: the fingering the editor
// starts from.
TChordDiagram allMuted() {
  TChordDiagram c{};
  c.TuningName = "Standard";
  std::copy(StandardTuning.begin(), StandardTuning.end(), c.Tuning);
  for (auto& s : c.Strings) s = {0, FingerCode::Muted};
  c.Intervals[0] = 0;
  std::fill(c.Intervals + 1, c.Intervals + 7, ChordIntervalEnd);
  c.BaseFret = 1;
  c.Bass = 24;
  return c;
}

std::vector<int> intervals(const TChordDiagram& c) {
  return {std::begin(c.Intervals), std::end(c.Intervals)};
}

struct Editing : ::testing::Test {
  TChordDiagram chord = allMuted();
  ExtensionFlagSet flags{};
  NameTables names;
  FingeringEditor editor{chord, flags, names};

  // Open C, low string first: x 3 2 0 1 0.
  void pressOpenC() {
    editor.press(4, 3, 3, false);
    editor.press(3, 2, 2, false);
    editor.press(2, 0, 0, false);  // muted -> open
    editor.press(1, 1, 1, false);
    editor.press(0, 0, 0, false);
  }
};

}  // namespace

TEST_F(Editing, TheNutTogglesAStringBetweenMutedAndOpenAndARootPressOpensIt) {
  editor.press(5, 0, 6, true);  // right button at the nut of the low E
  EXPECT_EQ(chord.Strings[5].Finger, FingerCode::Open);
  EXPECT_EQ(chord.Notes[5], 40);
  EXPECT_EQ(editor.root(), 4);
  EXPECT_EQ(chord.Bass, 28);
  EXPECT_EQ(editor.tabTexts()[5], "0");

  editor.press(5, 0, 6, false);
  EXPECT_EQ(chord.Strings[5].Finger, FingerCode::Muted);
  EXPECT_EQ(chord.Notes[5], 0);
  EXPECT_EQ(editor.tabTexts()[5], "");
  editor.press(5, 0, 6, false);
  EXPECT_EQ(chord.Strings[5].Finger, FingerCode::Open);
  EXPECT_EQ(chord.Notes[5], 40);
  // A root press on an open string leaves it open.
  editor.press(5, 0, 6, true);
  EXPECT_EQ(chord.Strings[5].Finger, FingerCode::Open);
}

TEST_F(Editing, AFrettedPressTakesTheFingerAndListsTheIntervals) {
  pressOpenC();
  EXPECT_EQ(chord.Strings[4].Finger, 3);
  EXPECT_EQ(chord.Strings[1].Finger, 1);
  EXPECT_EQ(chord.Notes[4], 48);
  EXPECT_EQ(chord.Notes[5], 0);
  EXPECT_EQ(intervals(chord), (std::vector<int>{0, 4, 7, -1, -1, -1, -1}));
  EXPECT_EQ(editor.tabTexts(), (std::array<std::string, 6>{"0", "1", "0", "2", "3", ""}));
  // The same shape rooted on its fifth: a right press on the G string.
  editor.press(2, 0, 0, true);
  EXPECT_EQ(editor.root(), 7);
  EXPECT_EQ(intervals(chord), (std::vector<int>{0, 5, 9, -1, -1, -1, -1}));
}

TEST_F(Editing, BaseFretFollowsEveryPress) {
  editor.press(3, 7, 1, false);
  editor.press(2, 9, 3, false);
  EXPECT_EQ(chord.BaseFret, 7);
  editor.press(1, 3, 1, false);  // spans 3 to 9
  EXPECT_EQ(chord.BaseFret, 3);
  editor.press(3, 0, 0, false);  // back to the nut and muted: 3 and 9 remain
  editor.press(2, 2, 1, false);
  EXPECT_EQ(chord.BaseFret, 1);  // 2 and 3 only
}

TEST_F(Editing, PressesOffTheBoardChangeNothing) {
  pressOpenC();
  const TChordDiagram before = chord;
  editor.press(6, 3, 1, false);
  editor.press(-1, 3, 1, true);
  editor.press(0, 23, 1, false);
  editor.press(0, -1, 1, false);
  EXPECT_EQ(std::memcmp(&before, &chord, sizeof chord), 0);
  editor.press(0, 22, 4, false);  // the last fret is on the board
  EXPECT_EQ(chord.Notes[0], 86);
}

TEST_F(Editing, RootAndBassAreNamedInTheCurrentNamingMode) {
  chord.ChordName = "maj7";
  editor.setRoot(1);
  EXPECT_EQ(editor.bass(), 1);  // the bass follows the root
  EXPECT_EQ(editor.chordName(), "Db maj7");
  editor.setBass(6);
  EXPECT_EQ(chord.Bass, 30);
  EXPECT_EQ(editor.chordName(), "Db maj7 /Gb");
  names.setSharps(true);
  EXPECT_EQ(editor.chordName(), "C# maj7 /F#");
  editor.setBass(13);  // the root's own pitch class: no slash
  EXPECT_EQ(editor.chordName(), "C# maj7");
  editor.setRoot(14);
  EXPECT_EQ(chord.Root, 2);
  EXPECT_EQ(chord.Bass, 26);
}

TEST_F(Editing, ARootPressMakesThePressedNoteRootAndBass) {
  editor.setBass(9);
  editor.press(4, 5, 1, true);  // D on the A string
  EXPECT_EQ(chord.Root, 2);
  EXPECT_EQ(chord.Bass, 26);
  EXPECT_EQ(chord.Strings[4].Finger, 1);
}

TEST_F(Editing, ANewTuningMovesPlayedStringsAndLeavesMutedOnesMuted) {
  pressOpenC();
  Tuning dropC = StandardTuning;
  dropC[5] = 36;
  dropC[4] = 43;  // the A string down to G
  editor.retune(dropC, "a tuning name longer than fifteen");
  EXPECT_EQ(chord.Tuning[4], 43);
  EXPECT_EQ(chord.Notes[4], 46);  // fret 3 over G: Bb
  EXPECT_EQ(chord.Notes[5], 0);
  EXPECT_EQ(std::string(chord.TuningName.view()), "a tuning name l");
  EXPECT_EQ(intervals(chord), (std::vector<int>{0, 4, 7, 10, -1, -1, -1}));
}

TEST_F(Editing, ExtensionFlagsRenameAnIntervalAnOctaveUp) {
  pressOpenC();
  editor.press(1, 3, 4, false);  // D on the B string
  EXPECT_EQ(intervals(chord), (std::vector<int>{0, 2, 4, 7, -1, -1, -1}));
  editor.setExtension(2, true);
  EXPECT_EQ(intervals(chord), (std::vector<int>{0, 4, 7, 14, -1, -1, -1}));
  editor.setExtension(2, false);
  EXPECT_EQ(intervals(chord), (std::vector<int>{0, 2, 4, 7, -1, -1, -1}));
  editor.setExtension(12, true);  // no such interval
  EXPECT_EQ(intervals(chord), (std::vector<int>{0, 2, 4, 7, -1, -1, -1}));
}

TEST_F(Editing, TheFormulaIsTheCaptionsOnShow) {
  pressOpenC();
  editor.rebuildFormula(nullptr);
  EXPECT_EQ(std::string(chord.Formula.view()), "1 3 5     ");

  // A chord type laid over the fingering puts its captions on show instead.
  TChordFormula dominant13{};
  const std::int8_t iv[7] = {0, 4, 7, 10, 14, 17, 21};
  std::copy(iv, iv + 7, dominant13.Intervals);
  editor.rebuildFormula(&dominant13);
  EXPECT_EQ(std::string(chord.Formula.view()), "1 3 5 b7 9 11 13 ");

  TChordFormula wide{};
  const std::int8_t many[7] = {0, 1, 3, 6, 8, 13, 18};
  std::copy(many, many + 7, wide.Intervals);
  editor.rebuildFormula(&wide);
  EXPECT_EQ(std::string(chord.Formula.view()), "1 b2 b3 b5 #5 b9 #11");

  chord.Empty = 1;  // nothing on show
  editor.rebuildFormula(nullptr);
  EXPECT_EQ(std::string(chord.Formula.view()), "       ");
}

TEST(RetuneScale, TakesTheTuningAndItsName) {
  TScaleDiagram scale{};
  Tuning open = {62, 57, 54, 50, 45, 38};
  retuneScale(scale, open, "D A D F# A D ");
  EXPECT_EQ(scale.Tuning[5], 38);
  EXPECT_EQ(scale.Tuning[2], 54);
  EXPECT_EQ(std::string(scale.TuningName.view()), "D A D F# A D ");
}

// A tablature box says what the string is, whatever it was before: typed
// twice, the same text gives the same string (a press at the nut toggles).
TEST_F(Editing, TypedFretsSetTheStringWhateverItWas) {
  pressOpenC();
  for (int twice = 0; twice < 2; ++twice) {
    editor.typeFret(5, 0, 6);
    EXPECT_EQ(chord.Strings[5].Finger, FingerCode::Open);
    EXPECT_EQ(chord.Notes[5], 40);
    editor.typeFret(0, std::nullopt, 6);
    EXPECT_EQ(chord.Strings[0].Finger, FingerCode::Muted);
    EXPECT_EQ(chord.Notes[0], 0);
    editor.typeFret(2, 5, 2);
    EXPECT_EQ(chord.Strings[2].Finger, 2);
    EXPECT_EQ(chord.Notes[2], 60);
  }
  EXPECT_EQ(editor.tabTexts(), (std::array<std::string, 6>{"", "1", "5", "2", "3", "0"}));
  EXPECT_EQ(chord.BaseFret, 1);
  EXPECT_EQ(intervals(chord), (std::vector<int>{0, 4, -1, -1, -1, -1, -1}));

  // Off the board nothing changes at all.
  const TChordDiagram before = chord;
  editor.typeFret(0, 23, 1);
  editor.typeFret(6, 3, 1);
  editor.typeFret(-1, std::nullopt, 1);
  editor.typeFret(1, -1, 1);
  EXPECT_EQ(std::memcmp(&before, &chord, sizeof chord), 0);
}

namespace {

// The chord in hand named from the dictionary the build makes.
struct Naming : Editing {
  const std::string dictionary = std::string(STRUMBO_TEST_PROGRAM_DIR) + "/";

  // Frets per string, high E first; -1 mutes the string.
  void finger(std::array<int, 6> frets) {
    for (int s = 0; s < 6; ++s) {
      const int f = frets[static_cast<std::size_t>(s)];
      editor.typeFret(s, f < 0 ? std::nullopt : std::optional<int>(f), FingerCode::Fretted);
    }
  }
  std::string name() const { return chord.ChordName.str(); }
};

}  // namespace

TEST_F(Naming, ANameThatNoLongerFitsTheNotesBecomesTheFirstChordFound) {
  // C maj7 in hand (x 3 2 0 0 0), then the A m7 shape with A made the root.
  finger({0, 0, 0, 2, 3, -1});
  chord.ChordName = "maj7";
  EXPECT_FALSE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(name(), "maj7");
  finger({0, 1, 0, 2, 0, -1});
  editor.press(4, 0, FingerCode::Fretted, true);
  EXPECT_EQ(editor.root(), 9);
  EXPECT_FALSE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(name(), "m7");
  EXPECT_EQ(editor.chordName(), "A m7");

  // D A E F# over D, still called maj7: the chord is D add9.
  finger({2, 5, 2, 0, -1, -1});
  editor.setRoot(2);
  editor.recomputeIntervals();
  chord.ChordName = "maj7";
  EXPECT_FALSE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(name(), "add9");
  EXPECT_EQ(editor.root(), 2);

  // A cluster of D, C and C# over C: no type of the dictionary holds it over
  // any of its notes, so no name at all rather than a wrong one.
  finger({-1, 2, 5, 0, -1, -1});
  editor.setRoot(0);
  editor.recomputeIntervals();
  EXPECT_FALSE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(name(), "");
  EXPECT_EQ(editor.root(), 0);
}

TEST_F(Naming, NotesThatStillFitKeepTheNameAndATypedNameIsLeftAlone) {
  // C maj7 without its fifth is still a C maj7, and C E B D a C maj9.
  finger({0, 0, -1, 2, 3, -1});
  chord.ChordName = "maj7";
  EXPECT_FALSE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(name(), "maj7");
  finger({10, 0, -1, 2, 3, -1});
  chord.ChordName = "maj9";
  EXPECT_FALSE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(name(), "maj9");

  // Without its seventh it is exactly another chord over C: C major.
  finger({0, 1, 0, 2, 3, -1});
  chord.ChordName = "maj7";
  EXPECT_FALSE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(name(), "maj");

  // A name of the player's own says nothing the dictionary can check.
  finger({0, 1, 0, 2, 0, -1});
  chord.ChordName = "my chord";
  EXPECT_FALSE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(name(), "my chord");

  // Without a readable dictionary nothing is renamed.
  chord.ChordName = "maj7";
  EXPECT_FALSE(editor.keepNameTrue("/nonexistent/"));
  EXPECT_EQ(name(), "maj7");
}

TEST_F(Naming, AChordFoundOverAnotherNoteTakesThatRootAndItsBass) {
  // E G B under a C root that no string sounds: E minor.
  finger({0, 0, 0, 2, 2, 0});
  chord.ChordName = "maj";
  ASSERT_EQ(editor.root(), 0);
  EXPECT_TRUE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(editor.root(), 4);
  EXPECT_EQ(editor.bass(), 4);
  EXPECT_EQ(name(), "minor");
  EXPECT_EQ(intervals(chord), (std::vector<int>{0, 3, 7, -1, -1, -1, -1}));

  // A slash bass of its own stays: G B D with the bass on B, under root A.
  finger({3, 0, 0, 0, 2, -1});
  editor.setRoot(9);
  editor.setBass(11);
  editor.recomputeIntervals();
  EXPECT_TRUE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(editor.root(), 7);
  EXPECT_EQ(editor.bass(), 11);
  EXPECT_EQ(editor.chordName(), "G maj /B");
}

TEST_F(Naming, AnUnnamedFingeringIsNamedOnlyOverTheRootThePlayerChose) {
  // E and G under a C that does not sound: no name, and the root stays.
  finger({-1, -1, 0, 2, -1, -1});
  EXPECT_FALSE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(name(), "");
  EXPECT_EQ(editor.root(), 0);
  // With the C the triad is C maj, an E doubled on top still is, and a B
  // makes it C maj7.
  finger({-1, -1, 0, 2, 3, -1});
  EXPECT_FALSE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(name(), "maj");
  finger({0, -1, 0, 2, 3, -1});
  EXPECT_FALSE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(name(), "maj");
  finger({0, 0, 0, 2, 3, -1});
  EXPECT_FALSE(editor.keepNameTrue(dictionary));
  EXPECT_EQ(name(), "maj7");
}
