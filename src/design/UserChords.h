#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "music/Records.h"

// The user's own chord types: the interval boxes of the Add User Chord
// dialog, what a set of ticked boxes stores, the checks applied to a chord
// type read back from the settings file, and the name the user types for the
// chord in hand.

struct IntervalBox {
  const char* Caption;
  int Semitones;
};

// Box 0 is the root, always ticked; boxes 1 to 18 are the user's choice.
inline constexpr std::array<IntervalBox, 19> IntervalBoxes{{
    {"1", 0},   {"b2", 1},  {"2", 2},    {"b3", 3},   {"3", 4},   {"4", 5},   {"b5", 6},
    {"5", 7},   {"#5", 8},  {"6", 9},    {"b7", 10},  {"7", 11},  {"b9", 13}, {"9", 14},
    {"#9", 15}, {"11", 17}, {"#11", 18}, {"b13", 20}, {"13", 21},
}};
inline constexpr int MaxUserIntervals = 6;
// An interval place the user left empty, as the settings file stores it.
inline constexpr int NoUserInterval = 255;
inline constexpr std::size_t UserChordNameLength = 15;
inline constexpr std::size_t UserChordFormulaLength = 20;
inline constexpr const char* DefaultUserChordName = "NONAME";

using IntervalTicks = std::array<bool, IntervalBoxes.size()>;
using UserIntervals = std::array<int, 7>;

// "1" and the caption of every ticked box 1..18 in box order, blank separated.
std::string userChordFormulaText(const IntervalTicks& ticked);
// 0, then the semitones of the ticked boxes in box order, at most six of
// them, the rest NoUserInterval.
UserIntervals userChordIntervals(const IntervalTicks& ticked);
bool anyIntervalTicked(const IntervalTicks& ticked);

// A user chord type as read from the settings file, made safe to show: the
// name cut to 15 and the formula to 20 characters, the root first, then the
// values of I1..I6 that are intervals (1 to 21) rising from the one before,
// at most six; other values (a damaged or hand-edited file) are left out, so
// what remains is a list the display can always use.
TChordFormula userChordFormula(std::string_view name, std::string_view formula,
                               const UserIntervals& stored);

// The chord type a typed chord name holds: leading blanks, a root name
// (A to G with an optional b or #) and a slash bass are dropped, "6/9" stays
// whole; cut to 15 characters ("Bb" gives an empty type). Nothing when only
// blanks were typed: the chord keeps its type.
std::optional<std::string> typedChordType(std::string_view typed);
