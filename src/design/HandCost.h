#pragma once

#include <optional>
#include <string>
#include <vector>

#include "music/Records.h"

// How hard a fingering is for the fretting hand, and how hard the change from
// one fingering to the next. Both are counted in "frets of hand travel", so
// they add up: a shift of the hand by one fret costs 1, a barre about as much.
//
// A fingering is harder the wider it stretches (measured in real distance:
// frets near the nut are wider than frets up the neck), the more fingers it
// needs, when it needs a barre, when a string inside the chord must be damped
// and when it sits high up the neck, away from where the arm rests. A change
// costs the distance the hand moves (from the mean fret of the fretted notes
// of one fingering to the other's), plus a little for every finger set down
// anew; a finger that stays on its note, or slides along its string as a
// guide, costs less. A string that changes between played and not played
// costs a little for the strumming hand.

enum class EaseLevel { Easy, Moderate, Hard };

struct FingeringEase {
  double Cost = 0;  // 0 for open strings only; about 1.5 and up is no longer easy
  EaseLevel Level = EaseLevel::Easy;
  std::vector<std::string> Reasons;  // "a barre", "a wide stretch", ...
};

using Fingers = TStringFinger[6];

FingeringEase fingeringEase(const Fingers& strings);

// "easy", "moderate" or "hard", with the reasons after a colon:
// "hard: a barre, a wide stretch".
std::string easeText(const FingeringEase& ease);

// Where the hand is: the mean fret of the fretted notes; none when every
// played string is open (the hand is then free).
std::optional<double> handPosition(const Fingers& strings);

// The cost of going from `from` to `to`.
double changeCost(const Fingers& from, const Fingers& to);
