#include "design/HandCost.h"

#include <algorithm>
#include <cmath>

namespace {

// Weights, in frets of hand travel. They are set so that a shift of two or
// three frets outweighs any one difficulty but a barre or a wide stretch,
// and so that the hand keeps a common chord shape unless moving pays.
constexpr double BarreCost = 1.2;
constexpr double ExtraFingerCost = 0.4;  // each finger beyond two
constexpr double TooManyFingers = 6.0;   // more than four places to press
constexpr double MutedInnerCost = 1.0;   // each damped string inside the chord
constexpr double ComfortStretch = 2.2;   // in widths of the first fret
constexpr double StretchCost = 1.5;      // per first-fret width beyond that
constexpr double WideStretch = 3.2;      // a reach most hands find hard
constexpr double WideStretchCost = 1.5;
constexpr double HighNeckFret = 7.0;      // the arm reaches on beyond this fret
constexpr double HighNeckCost = 0.15;     // per fret beyond it
constexpr double NewFingerCost = 0.1;     // a finger lifted and set down elsewhere
constexpr double GuideFingerCost = 0.05;  // a finger sliding along its string
constexpr double StrummedStringCost = 0.1;

constexpr double EasyBelow = 1.5, HardFrom = 3.5;

bool muted(const TStringFinger& s) {
  return s.Finger == FingerCode::Muted;
}
bool fretted(const TStringFinger& s) {
  return !muted(s) && s.Fret > 0;
}

// Distance of the middle of fret space f from the nut, in widths of the
// first fret (each fret is 2^(-1/12) as wide as the one before it).
double fretMiddle(int f) {
  const double r = std::pow(2.0, -1.0 / 12.0);
  auto edge = [&](int n) { return (1.0 - std::pow(r, n)) / (1.0 - r); };
  return (edge(f - 1) + edge(f)) / 2.0;
}

}  // namespace

FingeringEase fingeringEase(const Fingers& strings) {
  FingeringEase e;
  int low = 99, high = 0, places = 0;
  bool barre = false;
  bool fingerUsed[5] = {};
  int fingerFret[5] = {};
  for (const TStringFinger& s : strings) {
    if (!fretted(s)) continue;
    low = std::min<int>(low, s.Fret);
    high = std::max<int>(high, s.Fret);
    if (s.Finger >= 1 && s.Finger <= 4) {
      // One finger on several strings at one fret is a barre: one place.
      if (fingerUsed[s.Finger]) {
        if (fingerFret[s.Finger] == s.Fret)
          barre = true;
        else
          ++places;
        continue;
      }
      fingerUsed[s.Finger] = true;
      fingerFret[s.Finger] = s.Fret;
    }
    ++places;
  }
  if (places == 0) return e;

  const double stretch = fretMiddle(high) - fretMiddle(low);
  if (stretch > ComfortStretch) {
    e.Cost += (stretch - ComfortStretch) * StretchCost;
    if (stretch > WideStretch) {
      e.Cost += WideStretchCost;
      e.Reasons.emplace_back("a wide stretch");
    }
  }
  if (places > 4) {
    e.Cost += TooManyFingers;
    e.Reasons.emplace_back("more than four fingers");
  } else if (places > 2) {
    e.Cost += ExtraFingerCost * (places - 2);
    if (places == 4) e.Reasons.emplace_back("four fingers");
  }
  if (barre) {
    e.Cost += BarreCost;
    e.Reasons.emplace_back("a barre");
  }
  // A damped string with played strings on both sides must be touched
  // lightly by a finger, which is hard to do cleanly.
  int first = -1, last = -1;
  for (int s = 0; s < 6; ++s)
    if (!muted(strings[s])) {
      if (first < 0) first = s;
      last = s;
    }
  int inner = 0;
  for (int s = first + 1; s < last; ++s)
    if (muted(strings[s])) ++inner;
  if (inner > 0) {
    e.Cost += MutedInnerCost * inner;
    e.Reasons.emplace_back(inner == 1 ? "a damped inner string" : "damped inner strings");
  }
  const double at = *handPosition(strings);
  if (at > HighNeckFret) {
    e.Cost += (at - HighNeckFret) * HighNeckCost;
    e.Reasons.emplace_back("high up the neck");
  }
  e.Level = e.Cost < EasyBelow  ? EaseLevel::Easy
            : e.Cost < HardFrom ? EaseLevel::Moderate
                                : EaseLevel::Hard;
  return e;
}

std::string easeText(const FingeringEase& ease) {
  std::string text = ease.Level == EaseLevel::Easy       ? "easy"
                     : ease.Level == EaseLevel::Moderate ? "moderate"
                                                         : "hard";
  for (std::size_t i = 0; i < ease.Reasons.size(); ++i)
    text += (i == 0 ? ": " : ", ") + ease.Reasons[i];
  return text;
}

std::optional<double> handPosition(const Fingers& strings) {
  int sum = 0, count = 0;
  for (const TStringFinger& s : strings)
    if (fretted(s)) {
      sum += s.Fret;
      ++count;
    }
  if (count == 0) return std::nullopt;
  return static_cast<double>(sum) / count;
}

double changeCost(const Fingers& from, const Fingers& to) {
  double cost = 0;
  const auto a = handPosition(from), b = handPosition(to);
  if (a && b) cost += std::abs(*a - *b);
  for (int s = 0; s < 6; ++s) {
    const TStringFinger& n = to[s];
    if (muted(from[s]) != muted(n)) cost += StrummedStringCost;
    if (!fretted(n)) continue;
    if (n.Finger >= 1 && n.Finger <= 4) {
      const TStringFinger& o = from[s];
      if (fretted(o) && o.Finger == n.Finger) {
        // The same finger on the same string: it stays, or guides the hand.
        if (o.Fret != n.Fret) cost += GuideFingerCost;
        continue;
      }
      // A finger of a barre is set down once, on its first string.
      bool seen = false;
      for (int t = 0; t < s; ++t)
        if (fretted(to[t]) && to[t].Finger == n.Finger && to[t].Fret == n.Fret) seen = true;
      if (seen) continue;
    }
    cost += NewFingerCost;
  }
  return cost;
}
