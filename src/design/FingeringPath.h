#pragma once

#include <functional>
#include <vector>

// The cheapest choice of one fingering per chord for a whole progression.
// Chords are numbered in page order; each has its candidates, a cost for each
// (how hard it is, how far from where the player wants the hand) and links to
// the chords it is heard next to, with how often that change is heard. A
// progression is mostly a chain, but repeats and the loop add links back to
// earlier chords, and every chord keeps one fingering however often it is
// heard, so the choice is made over all links at once. Chords are taken in
// page order, and a link back is carried as part of the state until its far
// end is reached: exact, and cheap while few links back are open at a time
// (nested repeats). Past a limit the weakest links back are left out.
struct FingeringChoiceProblem {
  std::vector<std::vector<double>> Cost;  // per chord, per candidate (at least one)
  struct Link {
    int From = 0, To = 0;  // chords, in the order the change is heard
    double Weight = 1;     // how often it is heard
  };
  std::vector<Link> Links;
  // The cost of changing from candidate `a` of chord `from` to candidate `b`
  // of chord `to`.
  std::function<double(int from, int a, int to, int b)> Change;
};

struct FingeringChoice {
  std::vector<int> Chosen;  // a candidate per chord
  double Total = 0;         // the cost of the choice over all links kept
  bool Exact = true;        // false when weak links back were left out
};

// On equal cost the lower-numbered candidate wins, so a caller that lists a
// chord's present fingering first keeps it unless a change pays.
FingeringChoice chooseFingerings(const FingeringChoiceProblem& problem);

// The cost of a given choice over all links, for comparing choices.
double choiceCost(const FingeringChoiceProblem& problem, const std::vector<int>& chosen);
