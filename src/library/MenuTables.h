#pragma once

#include <array>
#include <string_view>

// The captions of the chord-type and scale menus, in index order. Each family
// lists its main types first; the rest sit in a "More Chords..." submenu (and
// the scales past the main ones in "More Scales..."). The index in a family is
// the chord type; the scale index is the record in the scale library.

struct ChordFamilyMenu {
  std::string_view title;
  int mainCount;
  int dictionaryBase;  // record of type 0 in the chord formula dictionary
  const std::string_view* types;
  int typeCount;
};

inline constexpr std::array<std::string_view, 19> MajorChordTypes = {
    "major",    "6",         "maj7",      "maj9#5",      "aug(+)",        "6/9",     "maj9",
    "sus4",     "maj(b5)",   "add9",      "maj7(add13)", "maj13",         "maj7sus", "maj7(b5)",
    "maj7(#5)", "maj7(#11)", "maj9(#11)", "maj7sus(b5)", "sus(add3/add9)"};

inline constexpr std::array<std::string_view, 17> MinorChordTypes = {
    "minor",     "m7",        "m6",       "m9",      "dim(o)",    "m7b5",
    "m6/9",      "m(maj7)",   "m9(maj7)", "m11",     "m13",       "m(add9)",
    "m7(add11)", "m7(add13)", "m9(b5)",   "m11(b5)", "o(addmaj7)"};

inline constexpr std::array<std::string_view, 26> DominantChordTypes = {
    "7",        "9",        "11",     "13",       "7sus4",    "7#5",     "7b5",
    "7b9",      "9#5",      "9b5",    "9#11",     "13b9",     "7/6",     "7#9",
    "7#5b9",    "13b5b9",   "9sus",   "13sus",    "7(b5b9)",  "7(#5#9)", "7(#11)",
    "7(b9#11)", "7(#9#11)", "13(b5)", "7sus(b9)", "13sus(b9)"};

// The chord formula dictionary's own name of each type, in dictionary order:
// the name a fingering carries, so the design tab's chord-type list shows
// these rather than the menu captions ("maj" for "major", "ma9#5" for
// "maj9#5").
// clang-format off
inline constexpr std::array<std::string_view, 62> DictionaryChordNames = {
    "maj",       "6",           "maj7",      "ma9#5",      "aug(+)",    "6/9",
    "maj9",      "sus4",        "maj(b5)",   "add9",       "maj7(add13)", "maj13",
    "maj7sus",   "maj7(b5)",    "maj7(#5)",  "maj7(#11)",  "maj9(#11)", "maj7sus(b5)",
    "sus(add3/add9)", "minor",  "m7",        "m6",         "m9",        "dim(o)",
    "m7b5",      "m6/9",        "m(maj7)",   "m9(maj7)",   "m11",       "m13",
    "m(add9)",   "m7(add11)",   "m7(add13)", "m9(b5)",     "m11(b5)",   "o(addmaj7)",
    "7",         "9",           "11",        "13",         "7sus4",     "7#5",
    "7b5",       "7b9",         "9#5",       "9b5",        "9#11",      "13b9",
    "7/6",       "7#9",         "7#5b9",     "13b5b9",     "9sus",      "13sus",
    "7(b5b9)",   "7(#5#9)",     "7(#11)",    "7(b9#11)",   "7(#9#11)",  "13(b5)",
    "7sus(b9)",  "13sus(b9)"};
// clang-format on

inline constexpr ChordFamilyMenu ChordFamilies[3] = {
    {"&Major", 10, 0, MajorChordTypes.data(), 19},
    {"M&inor", 9, 19, MinorChordTypes.data(), 17},
    {"&Dominant", 13, 36, DominantChordTypes.data(), 26},
};

// The menu's caption of the chord type whose dictionary record is named
// `recordName` ("major" for "maj", "maj9#5" for "ma9#5"), so a set read from
// a page file is headed as Show Chords headed it. Trailing blanks of a record
// field are ignored; a name the dictionary does not hold (a user's chord
// type, a damaged record) comes back as it is, without those blanks.
constexpr std::string_view chordTypeCaption(std::string_view recordName) {
  while (!recordName.empty() && recordName.back() == ' ') recordName.remove_suffix(1);
  for (const ChordFamilyMenu& family : ChordFamilies)
    for (int t = 0; t < family.typeCount; ++t)
      if (DictionaryChordNames[static_cast<std::size_t>(family.dictionaryBase + t)] == recordName)
        return family.types[t];
  return recordName;
}

inline constexpr int MainScaleCount = 23;
inline constexpr std::array<std::string_view, 47> ScaleMenuNames = {
    "Ionian (Major)", "Dorian (Minor)", "Phrygian", "Lydian", "Lydian Minor", "Mixolydian",
    "Aeolian (Natural Minor)", "Locrian", "Major Locrian", "Major Pentatonic", "Minor Pentatonic",
    "Blues Pentatonic", "Blues 2", "Diminished", "Half Diminished", "Whole Tone", "Half-Whole",
    "Neopolitan Major", "Neopolitan Minor", "Hungarian Major", "Hungarian Minor", "Ascending Minor",
    "Double Harmonic",
    // "More Scales..."
    "Enigmatic", "Spanish", "Prometheus", "Messiaen", "Oriental", "Kumoi", "Hirajoshi", "Pelog",
    "13b9", "Plain Mi7b5", "Harmonic Minor (HM)", "HM 2", "HM 3", "HM 4", "HM 5", "HM 6", "HM 7",
    "Jazz/Melodic Minor (JM)", "JM 2", "JM 3", "JM 4 (Overtone)", "JM 5", "JM 6",
    "JM 7 (Super Locrian)"};
