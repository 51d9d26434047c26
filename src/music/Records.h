#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "music/ShortString.h"

// The diagram records. They are written to and read from page and data files
// exactly as they lie in memory, so every field is a byte or a byte array and
// the layouts below must never change. Booleans are kept as bytes: a file may
// hold any value there, and non-zero reads as true.

#pragma pack(push, 1)

struct TStringFinger {
  std::uint8_t Fret;    // 0 open, 1..22 fretted
  std::uint8_t Finger;  // see FingerCode
};

// A chord fingering on six strings.
struct TChordDiagram {
  std::uint8_t Empty;
  ShortString<15> ChordName;
  ShortString<15> TuningName;
  ShortString<20> Formula;
  std::uint8_t Tuning[6];
  TStringFinger Strings[6];
  std::int8_t Intervals[7];  // 0 first, then semitones 1..11 or 13..21, -1 after the last
  std::uint8_t Notes[6];     // sounding note per string, 0 = not played
  std::uint8_t BaseFret;     // first fret row of a small diagram, 1..17
  std::uint8_t Root;         // pitch class
  std::uint8_t Bass;         // 24 + pitch class of the bass note
};

// A scale laid over the neck in six position diagrams.
struct TScaleDiagram {
  std::uint8_t Empty;
  ShortString<26> ScaleName;
  ShortString<15> TuningName;
  ShortString<26> Formula;
  std::uint8_t Tuning[6];
  std::uint8_t Intervals[10];  // degrees in semitones, 99 after the last
  std::uint8_t StartFrets[6];
  std::uint8_t Root;
};

// One item of the print page: a chord diagram or one position of a scale.
struct TPrintDiagram {
  std::uint8_t Empty;
  std::uint8_t IsChord;
  ShortString<26> Name;
  ShortString<15> TuningName;
  ShortString<26> Formula;
  std::uint8_t Tuning[6];
  TStringFinger Strings[6];
  std::int8_t Intervals[10];  // a chord's 7 entries and three -1, or a scale's 10 ended by 99
  std::uint8_t Notes[6];
  std::uint8_t BaseFret;  // chords: base fret; scales: start fret of the position sent
  std::uint8_t Root;
  std::uint8_t Bass;
};

// A chord type of the chord formula dictionary.
struct TChordFormula {
  std::int8_t Intervals[7];
  ShortString<15> Name;
  ShortString<20> Formula;
};

// A scale of the scale library (the name is the menu caption, not stored).
struct TScaleFormula {
  std::uint8_t Intervals[10];
  ShortString<26> Formula;
};

#pragma pack(pop)

static_assert(sizeof(TStringFinger) == 2);
static_assert(sizeof(TChordDiagram) == 88);
static_assert(sizeof(TScaleDiagram) == 94);
static_assert(sizeof(TPrintDiagram) == 109);
static_assert(sizeof(TChordFormula) == 44);
static_assert(sizeof(TScaleFormula) == 37);
static_assert(std::is_trivially_copyable_v<TChordDiagram> &&
              std::is_standard_layout_v<TChordDiagram>);
static_assert(std::is_trivially_copyable_v<TScaleDiagram> &&
              std::is_standard_layout_v<TScaleDiagram>);
static_assert(std::is_trivially_copyable_v<TPrintDiagram> &&
              std::is_standard_layout_v<TPrintDiagram>);
static_assert(std::is_trivially_copyable_v<TChordFormula> &&
              std::is_standard_layout_v<TChordFormula>);
static_assert(std::is_trivially_copyable_v<TScaleFormula> &&
              std::is_standard_layout_v<TScaleFormula>);

namespace FingerCode {
inline constexpr std::uint8_t Open = 0;  // played open, no finger
// 1..4 are finger numbers
inline constexpr std::uint8_t Muted = 5;    // string not played
inline constexpr std::uint8_t Fretted = 6;  // fretted, no finger number
}  // namespace FingerCode

inline constexpr std::int8_t ChordIntervalEnd = -1;
inline constexpr std::uint8_t ScaleIntervalEnd = 99;

inline bool isEmpty(const TChordDiagram& d) {
  return d.Empty != 0;
}
inline bool isEmpty(const TScaleDiagram& d) {
  return d.Empty != 0;
}
inline bool isEmpty(const TPrintDiagram& d) {
  return d.Empty != 0;
}
