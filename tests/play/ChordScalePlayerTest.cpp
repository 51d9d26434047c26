#include <gtest/gtest.h>

#include <set>

#include "PlayerTestSupport.h"
#include "play/ChordPlayer.h"
#include "play/ScalePlayer.h"

namespace {

TScaleDiagram cMajorScale() {
  return scaleOf({0, 2, 4, 5, 7, 9, 11}, 0, {1, 2, 5, 7, 8, 10});
}

bool inScale(const TScaleDiagram& s, int note) {
  for (int k = 0; k < 10 && s.Intervals[k] != ScaleIntervalEnd; ++k)
    if ((s.Intervals[k] + s.Root) % 12 == note % 12) return true;
  return false;
}

}  // namespace

TEST(ChordPlayer, SixStringsAtStrumMinus300AreStruckFromString5300TicksApartAndReleasedTogether) {
  PlayerSettings settings;
  ChordPlayer::Play play;
  play.StrumSpeed = -300;
  const TChordDiagram g = gMajor();
  const auto tl = timeline(ChordPlayer::PlayChord(g, settings, play));
  ASSERT_GE(tl.size(), 3u);
  EXPECT_EQ(tl[0].Event, (MidiEvent{0, 0xC0, 25, 0, 0}));
  EXPECT_EQ(tl[1].Event, (MidiEvent{0, 0xC1, 33, 0, 0}));
  EXPECT_EQ(tl[2].Event, (MidiEvent{0, 0xC9, 0, 0, 0}));
  const auto ons = only(tl, [](const MidiEvent& e) { return isKind(e, 0x90, Guitar); });
  const auto offs = only(tl, [](const MidiEvent& e) { return isKind(e, 0x80, Guitar); });
  ASSERT_EQ(ons.size(), 6u);
  ASSERT_EQ(offs.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    const int string = 5 - i;
    EXPECT_EQ(ons[i].Tick, 300 * i);
    EXPECT_EQ(ons[i].Event.Data1, g.Notes[string]);
    EXPECT_EQ(ons[i].Event.Data2, 100);
    EXPECT_EQ(offs[i].Tick, 1500 + 800) << "all 800 ticks after the last string";
  }
  // Each string's mark shows as it is struck and is cleared as it ends.
  const auto marks = only(tl, [](const MidiEvent& e) { return e.Status == EventShowFinger; });
  ASSERT_EQ(marks.size(), 12u);
  for (int i = 0; i < 6; ++i) {
    const int string = 5 - i;
    EXPECT_EQ(marks[i].Tick, 300 * i);
    EXPECT_EQ(marks[i].Event.Data1, string);
    EXPECT_EQ(marks[i].Event.Data2, g.Strings[string].Fret);
    EXPECT_EQ(marks[i].Event.Data3, g.Strings[string].Finger);
    EXPECT_EQ(marks[6 + i].Tick, 2300);
    EXPECT_EQ(marks[6 + i].Event.Data3, 10);
  }
  EXPECT_TRUE(only(tl,
                   [](const MidiEvent& e) {
                     return e.Status >= 0x80 && (e.Status & 0x0F) == Click &&
                            (e.Status & 0xF0) != 0xC0;
                   })
                  .empty())
      << "no count-off unless asked";
  TChordDiagram empty = g;
  empty.Empty = 1;
  EXPECT_TRUE(ChordPlayer::PlayChord(empty, settings, play).empty());
}

TEST(ChordPlayer, CountOffPacedByTheStrumSpeedAndBassUnderTheChord) {
  PlayerSettings settings;
  ChordPlayer::Play play;
  play.CountOff = true;
  play.BassNote = true;
  for (int speed : {-100, -200, -300}) {
    play.StrumSpeed = speed;
    const int gap = -speed;
    const int next = speed < -200 ? 0 : gap;  // a slow strum does not drag the count-off
    const auto tl = timeline(ChordPlayer::PlayChord(cMajor(), settings, play));
    const auto clicks =
        only(tl, [](const MidiEvent& e) { return (e.Status & 0xEF) == (0x80 | Click); });
    ASSERT_EQ(clicks.size(), 8u);
    for (int k = 0; k < 4; ++k) {
      const std::int64_t on = k * (gap + next);
      EXPECT_EQ(clicks[2 * k].Tick, on) << speed;
      EXPECT_EQ(clicks[2 * k].Event.Status, 0x99);
      EXPECT_EQ(clicks[2 * k].Event.Data2, k == 0 ? 97 : 65);
      EXPECT_EQ(clicks[2 * k + 1].Tick, on + gap);
      EXPECT_EQ(clicks[2 * k + 1].Event.Status, 0x89);
      EXPECT_EQ(clicks[2 * k + 1].Event.Data2, 0);
    }
    const std::int64_t strum = 3 * (gap + next) + gap + next;
    const auto bass = only(tl, [](const MidiEvent& e) {
      return e.Status >= 0x80 && (e.Status & 0x0F) == Bass && (e.Status & 0xF0) != 0xC0;
    });
    ASSERT_EQ(bass.size(), 2u);
    EXPECT_EQ(bass[0].Event, (MidiEvent{static_cast<std::int32_t>(next), 0x91, 24, 100, 0}));
    EXPECT_EQ(bass[0].Tick, strum);
    const auto ons = only(tl, [](const MidiEvent& e) { return isKind(e, 0x90, Guitar); });
    EXPECT_EQ(ons.front().Tick, strum);
    EXPECT_EQ(bass[1].Event.Status, 0x81);
    EXPECT_EQ(bass[1].Tick, tl.back().Tick);
    EXPECT_EQ(bass[1].Tick, ons.back().Tick + 800);
  }
}

TEST(ScalePlayer, WholeScaleRisesStrictlyFromString5Fret0OverEveryPitchOfTheScale) {
  const TScaleDiagram c = cMajorScale();
  const auto notes = ScalePlayer::scaleNotes(c, 0, true);
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes.front(), (ScalePlayer::Note{5, 0, 40})) << "E2, open string 5";
  for (std::size_t i = 1; i < notes.size(); ++i) EXPECT_GT(notes[i].Number, notes[i - 1].Number);
  // The neck covers 40..86 without a gap, so every pitch of the scale there is played.
  std::vector<int> expected;
  for (int n = 40; n <= 86; ++n)
    if (inScale(c, n)) expected.push_back(n);
  std::vector<int> played;
  for (const auto& n : notes) {
    played.push_back(n.Number);
    EXPECT_EQ(StandardTuning[n.String] + n.Fret, n.Number);
    EXPECT_LE(n.Fret, 22);
  }
  EXPECT_EQ(played, expected);
  // A minor pentatonic holds E as well; C minor does not and starts on F2.
  const auto penta =
      ScalePlayer::scaleNotes(scaleOf({0, 3, 5, 7, 10}, 9, {1, 1, 1, 1, 1, 1}), 0, true);
  EXPECT_EQ(penta.front(), (ScalePlayer::Note{5, 0, 40}));
  const auto noE =
      ScalePlayer::scaleNotes(scaleOf({0, 2, 3, 5, 7, 8, 10}, 0, {1, 1, 1, 1, 1, 1}), 0, true);
  EXPECT_EQ(noE.front(), (ScalePlayer::Note{5, 1, 41})) << "C minor: F2 at fret 1";
}

TEST(ScalePlayer, APositionNotStartingAtFret1NeverPlaysOpenStrings) {
  const TScaleDiagram c = cMajorScale();
  for (int position = 1; position < 6; ++position) {
    const int start = c.StartFrets[position];
    const auto notes = ScalePlayer::scaleNotes(c, position, false);
    ASSERT_FALSE(notes.empty()) << position;
    for (std::size_t i = 0; i < notes.size(); ++i) {
      EXPECT_GE(notes[i].Fret, start) << position;
      EXPECT_LE(notes[i].Fret, start + 5) << position;
      EXPECT_TRUE(inScale(c, notes[i].Number));
      if (i > 0) {
        EXPECT_GT(notes[i].Number, notes[i - 1].Number);
      }
    }
  }
  // Position 0 starts at fret 1 and so takes open strings, frets 0..6.
  const auto first = ScalePlayer::scaleNotes(c, 0, false);
  EXPECT_EQ(first.front(), (ScalePlayer::Note{5, 0, 40}));
  for (const auto& n : first) EXPECT_LE(n.Fret, 6);
  // Damaged start frets: 0 reaches no open string, 250 nothing off the neck.
  const TScaleDiagram bad = scaleOf({0, 2, 4, 5, 7, 9, 11}, 0, {0, 250, 20, 1, 1, 1});
  for (const auto& n : ScalePlayer::scaleNotes(bad, 0, false)) EXPECT_GE(n.Fret, 1);
  EXPECT_TRUE(ScalePlayer::scaleNotes(bad, 1, false).empty());
  for (const auto& n : ScalePlayer::scaleNotes(bad, 2, false)) EXPECT_LE(n.Fret, 22);
  EXPECT_TRUE(ScalePlayer::scaleNotes(c, 6, false).empty());
  EXPECT_TRUE(ScalePlayer::scaleNotes(c, -1, false).empty());
}

TEST(ScalePlayer, EachNoteLastsTheStrumSpeedWithItsMarkAndTheNextFollowsWithoutGap) {
  PlayerSettings settings;
  ScalePlayer::Play play;
  play.StrumSpeed = -250;
  play.BassNote = true;
  TScaleDiagram c = cMajorScale();
  c.Root = 12 + 2;  // a damaged root still gives a bass note in range
  const auto notes = ScalePlayer::scaleNotes(c, 2, false);
  const auto tl = timeline(ScalePlayer::PlayScale(c, 2, false, settings, play));
  ASSERT_EQ(tl.size(), 2 + 2 + 4 * notes.size());
  EXPECT_EQ(tl[0].Event, (MidiEvent{0, 0xC0, 25, 0, 0}));
  EXPECT_EQ(tl[1].Event, (MidiEvent{0, 0xC1, 33, 0, 0}));
  EXPECT_EQ(tl[2].Event, (MidiEvent{0, 0x91, 2 + 36, 100, 0}));
  for (std::size_t i = 0; i < notes.size(); ++i) {
    const auto string = static_cast<std::uint8_t>(notes[i].String);
    const auto fret = static_cast<std::uint8_t>(notes[i].Fret);
    const auto note = static_cast<std::uint8_t>(notes[i].Number);
    const std::size_t at = 3 + 4 * i;
    const std::int64_t t = 250 * static_cast<std::int64_t>(i);
    EXPECT_EQ(tl[at].Event, (MidiEvent{0, 0x90, note, 100, 0}));
    EXPECT_EQ(tl[at].Tick, t);
    EXPECT_EQ(tl[at + 1].Event, (MidiEvent{0, EventShowFinger, string, fret, 6}));
    EXPECT_EQ(tl[at + 2].Event, (MidiEvent{250, 0x80, note, 100, 0}));
    EXPECT_EQ(tl[at + 3].Event, (MidiEvent{0, EventShowFinger, string, fret, 10}));
  }
  EXPECT_EQ(tl.back().Event, (MidiEvent{0, 0x81, 38, 100, 0}));
  TScaleDiagram empty = c;
  empty.Empty = 1;
  EXPECT_TRUE(ScalePlayer::PlayScale(empty, 0, true, settings, play).empty());
  EXPECT_TRUE(ScalePlayer::PlayScale(c, 9, false, settings, play).empty());
}

TEST(ChordAndScalePlayers, ACapoSoundsEveryNoteHigherWithTheCountOffAsItWas) {
  PlayerSettings settings;
  ChordPlayer::Play chord;
  chord.CountOff = chord.BassNote = true;
  const auto fretted = ChordPlayer::PlayChord(gMajor(), settings, chord);
  chord.Capo = 3;
  EXPECT_TRUE(soundsCapoHigher(fretted, ChordPlayer::PlayChord(gMajor(), settings, chord), 3));

  ScalePlayer::Play scale;
  scale.BassNote = true;
  const auto run = ScalePlayer::PlayScale(cMajorScale(), 0, true, settings, scale);
  scale.Capo = 5;
  EXPECT_TRUE(
      soundsCapoHigher(run, ScalePlayer::PlayScale(cMajorScale(), 0, true, settings, scale), 5));
}
