#pragma once

#include <array>
#include <optional>
#include <string>

#include "library/ChordLibrary.h"

// One way to finger a chord: fret and finger for strings 0 (high E) to 5
// (low E). Knows the rules a hand sets (four fingers, finger 1 may lay a barre
// at the lowest fret, fingers follow the frets, four frets at most) and the
// diagram's (base fret), and finds a natural finger for each fretted note.
struct Fingering {
  static constexpr int Muted = -1;

  std::array<int, 6> Fret{};    // Muted, 0 open, 1..22
  std::array<int, 6> Finger{};  // 0 open, 1..4, 5 muted

  // Fingers for the given frets: one finger per fret from the lowest fretted
  // fret, the lower string first on a shared fret; finger 1 barres the lowest
  // fret when more than four notes are fretted. Nothing when no hand can.
  static std::optional<Fingering> withNaturalFingers(const std::array<int, 6>& frets);

  // Empty when the fingering keeps every rule, else what it breaks.
  std::string problem() const;

  int lowestFretted() const;   // 0 when nothing is fretted
  int highestFretted() const;  // 0 when nothing is fretted
  int baseFret() const;        // 1 when all fretted notes lie at fret 4 or below
  int sounded() const;
  bool hasBarre() const;  // finger 1 on two or more strings
  int fingersUsed() const;

  TChordFingering record() const;
  static Fingering fromRecord(const TChordFingering& r);

  // Low E first: "x32010", or "x 10 12 12 12 10" when a fret has two digits.
  std::string fretText() const;
  std::string fingerText() const;

  bool operator==(const Fingering&) const = default;
};
