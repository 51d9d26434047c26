#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "music/NameTables.h"
#include "music/TuningPresets.h"

namespace {

// A note in scientific pitch notation ("F#3", "Eb2") as a MIDI note number,
// worked out here from the letter, the accidental and the octave.
int noteNumber(const std::string& name) {
  static const std::string letters = "C D EF G A B";
  int n = static_cast<int>(letters.find(name[0]));
  std::size_t i = 1;
  if (name[i] == '#') ++n, ++i;
  if (name[i] == 'b') --n, ++i;
  return n + 12 * (std::stoi(name.substr(i)) + 1);
}

// Six notes read from the lowest string up, as players write a tuning.
Tuning spelled(const std::string& lowToHigh) {
  std::istringstream in(lowToHigh);
  Tuning t{};
  for (int s = 5; s >= 0; --s) {
    std::string note;
    in >> note;
    t[std::size_t(s)] = static_cast<std::uint8_t>(noteNumber(note));
  }
  return t;
}

const TuningPreset& preset(std::string_view name) {
  const TuningPreset* p = presetNamed(name);
  if (!p) throw std::runtime_error("no preset " + std::string(name));
  return *p;
}

}  // namespace

TEST(TuningPresets, SoundTheNotesTheirNamesPromise) {
  EXPECT_EQ(noteNumber("A4"), 69);  // the helper itself, against concert pitch
  EXPECT_EQ(preset("Standard").Notes, StandardTuning);
  EXPECT_EQ(preset("DADGAD").Notes, spelled("D2 A2 D3 G3 A3 D4"));
  EXPECT_EQ(preset("Open C").Notes, spelled("C2 G2 C3 G3 C4 E4"));
  EXPECT_EQ(preset("Open E").Notes, spelled("E2 B2 E3 G#3 B3 E4"));
  EXPECT_EQ(preset("Half Step Down").Notes, spelled("Eb2 Ab2 Db3 Gb3 Bb3 Eb4"));
  EXPECT_EQ(preset("Whole Step Down").Notes, spelled("D2 G2 C3 F3 A3 D4"));
  // Drop D lowers only the sixth string, by a whole step.
  Tuning dropped = StandardTuning;
  dropped[5] -= 2;
  EXPECT_EQ(preset("Drop D").Notes, dropped);
}

TEST(TuningPresets, EachFitsTheNeckAndTheNameFieldAndNoTwoSoundAlike) {
  std::set<Tuning> notes;
  for (const TuningPreset& p : TuningPresets) {
    EXPECT_TRUE(tuningOnNeck(p.Notes)) << p.Name;
    EXPECT_LE(p.Name.size(), TuningNameLength) << p.Name;
    // Strings from high to low never rise, so no preset is stored upside down.
    for (int s = 0; s < 5; ++s) EXPECT_GE(p.Notes[s], p.Notes[s + 1]) << p.Name;
    EXPECT_TRUE(notes.insert(p.Notes).second) << p.Name << " sounds like another preset";
  }
}

TEST(TuningPresets, ATuningIsNamedByItsNotesOnly) {
  EXPECT_EQ(presetMatching(spelled("D2 A2 D3 G3 A3 D4"))->Name, "DADGAD");
  EXPECT_EQ(presetMatching(StandardTuning)->Name, "Standard");
  // One string off, or the same notes from the wrong end, is no preset.
  EXPECT_EQ(presetMatching(spelled("D2 A2 D3 G3 A3 E4")), nullptr);
  EXPECT_EQ(presetMatching(Tuning{38, 45, 50, 55, 57, 62}), nullptr);
  // Names are found without regard to case; blanks are part of a name.
  EXPECT_EQ(presetNamed("open g"), &preset("Open G"));
  EXPECT_EQ(presetNamed("OpenG"), nullptr);
  EXPECT_EQ(presetNamed(""), nullptr);
}

TEST(TuningPresets, TheListEntryFollowsNotesAndThenTheNameShown) {
  const Tuning openA = spelled("E2 A2 E3 A3 C#4 E4");
  const std::vector<NamedTuning> own = {{"Open A", openA}, {"Mine", StandardTuning}};
  const int firstOwn = int(TuningPresetCount);
  EXPECT_EQ(tuningListEntry(preset("Open G").Notes, "", own), 5);
  EXPECT_EQ(tuningListEntry(openA, "anything", own), firstOwn);
  // Standard notes under the player's own name show that entry, else the preset.
  EXPECT_EQ(tuningListEntry(StandardTuning, "MINE", own), firstOwn + 1);
  EXPECT_EQ(tuningListEntry(StandardTuning, "Standard", own), 0);
  EXPECT_EQ(tuningListEntry(StandardTuning, "Open A", own), 0);
  EXPECT_EQ(tuningListEntry(spelled("E2 A2 D3 G3 B3 D4"), "Standard", own), -1);
}
