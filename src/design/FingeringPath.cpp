#include "design/FingeringPath.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <map>

namespace {

// The largest number of joint states carried from one chord to the next:
// six candidates on four open links.
constexpr std::size_t MaxStates = 6 * 6 * 6 * 6 * 7;
constexpr double Tie = 1e-9;

// Both directions of the changes between two chords, u < v, as one table.
struct Pair {
  int U = 0, V = 0;
  double Weight = 0;          // both directions, to find the weakest
  std::vector<double> Table;  // [a * |cand(V)| + b]
};

std::vector<Pair> pairsOf(const FingeringChoiceProblem& p) {
  std::map<std::pair<int, int>, Pair> pairs;
  const int n = static_cast<int>(p.Cost.size());
  for (const auto& link : p.Links) {
    if (link.From == link.To || link.From < 0 || link.To < 0 || link.From >= n || link.To >= n ||
        link.Weight <= 0)
      continue;
    const int u = std::min(link.From, link.To), v = std::max(link.From, link.To);
    Pair& pair = pairs[{u, v}];
    const std::size_t cu = p.Cost[u].size(), cv = p.Cost[v].size();
    if (pair.Table.empty()) {
      pair.U = u;
      pair.V = v;
      pair.Table.assign(cu * cv, 0.0);
    }
    pair.Weight += link.Weight;
    for (std::size_t a = 0; a < cu; ++a)
      for (std::size_t b = 0; b < cv; ++b) {
        const double c =
            link.From == u ? p.Change(u, int(a), v, int(b)) : p.Change(v, int(b), u, int(a));
        pair.Table[a * cv + b] += link.Weight * c;
      }
  }
  std::vector<Pair> out;
  for (auto& [key, pair] : pairs) out.push_back(std::move(pair));
  return out;
}

// Chords still open after chord i: at or before i, with a pair beyond i.
std::vector<std::vector<int>> frontiers(int n, const std::vector<Pair>& pairs) {
  std::vector<int> reach(static_cast<std::size_t>(n), -1);
  for (const Pair& p : pairs) reach[p.U] = std::max(reach[p.U], p.V);
  std::vector<std::vector<int>> f(static_cast<std::size_t>(n));
  std::vector<int> open;
  for (int i = 0; i < n; ++i) {
    open.push_back(i);
    std::erase_if(open, [&](int v) { return reach[v] <= i; });
    f[i] = open;
  }
  return f;
}

std::size_t statesOf(const std::vector<int>& f, const FingeringChoiceProblem& p) {
  std::size_t s = 1;
  for (int v : f) s *= std::max<std::size_t>(1, p.Cost[v].size());
  return s;
}

}  // namespace

FingeringChoice chooseFingerings(const FingeringChoiceProblem& problem) {
  FingeringChoice result;
  const int n = static_cast<int>(problem.Cost.size());
  result.Chosen.assign(static_cast<std::size_t>(n), 0);
  if (n == 0) return result;
  for (const auto& c : problem.Cost)
    if (c.empty()) return result;  // every chord needs a candidate

  std::vector<Pair> pairs = pairsOf(problem);
  std::vector<std::vector<int>> front = frontiers(n, pairs);
  // Too many links open at once: drop the weakest link that is not a plain
  // step to the next chord, until the states fit.
  for (;;) {
    std::size_t worst = 0;
    for (const auto& f : front) worst = std::max(worst, statesOf(f, problem));
    if (worst <= MaxStates) break;
    auto weakest = pairs.end();
    for (auto it = pairs.begin(); it != pairs.end(); ++it)
      if (it->V > it->U + 1 && (weakest == pairs.end() || it->Weight < weakest->Weight))
        weakest = it;
    if (weakest == pairs.end()) break;
    pairs.erase(weakest);
    result.Exact = false;
    front = frontiers(n, pairs);
  }
  // The pairs ending at each chord.
  std::vector<std::vector<const Pair*>> into(static_cast<std::size_t>(n));
  for (const Pair& p : pairs) into[p.V].push_back(&p);

  constexpr double Inf = std::numeric_limits<double>::infinity();
  std::vector<int> prevFront;     // F(i-1)
  std::vector<double> best{0.0};  // per state of F(i-1)
  std::vector<std::vector<std::pair<std::size_t, int>>> back(static_cast<std::size_t>(n));
  std::vector<int> values;
  for (int i = 0; i < n; ++i) {
    const std::vector<int>& f = front[i];
    const std::size_t ci = std::max<std::size_t>(1, problem.Cost[i].size());
    std::vector<double> next(statesOf(f, problem), Inf);
    back[i].assign(next.size(), {0, 0});
    values.assign(prevFront.size(), 0);
    for (std::size_t s = 0; s < best.size(); ++s) {
      if (best[s] == Inf) continue;
      // Decode the state: the candidate of each chord of F(i-1), last fastest.
      std::size_t rest = s;
      for (std::size_t j = prevFront.size(); j-- > 0;) {
        const std::size_t c = problem.Cost[prevFront[j]].size();
        values[j] = static_cast<int>(rest % c);
        rest /= c;
      }
      auto valueOf = [&](int v) {
        const auto at = std::lower_bound(prevFront.begin(), prevFront.end(), v);
        return values[static_cast<std::size_t>(at - prevFront.begin())];
      };
      for (std::size_t k = 0; k < ci; ++k) {
        double cost = best[s] + (problem.Cost[i].empty() ? 0.0 : problem.Cost[i][k]);
        for (const Pair* p : into[i])
          cost += p->Table[static_cast<std::size_t>(valueOf(p->U)) * ci + k];
        std::size_t code = 0;
        for (int v : f) {
          const std::size_t c = std::max<std::size_t>(1, problem.Cost[v].size());
          code = code * c + static_cast<std::size_t>(v == i ? int(k) : valueOf(v));
        }
        if (cost < next[code] - Tie) {
          next[code] = cost;
          back[i][code] = {s, static_cast<int>(k)};
        }
      }
    }
    best = std::move(next);
    prevFront = f;
  }
  // After the last chord nothing is open: one state.
  result.Total = best[0];
  std::size_t state = 0;
  for (int i = n; i-- > 0;) {
    result.Chosen[i] = back[i][state].second;
    state = back[i][state].first;
  }
  return result;
}

double choiceCost(const FingeringChoiceProblem& problem, const std::vector<int>& chosen) {
  double total = 0;
  for (std::size_t i = 0; i < problem.Cost.size() && i < chosen.size(); ++i)
    if (!problem.Cost[i].empty()) total += problem.Cost[i][static_cast<std::size_t>(chosen[i])];
  for (const auto& l : problem.Links)
    if (l.From != l.To && l.Weight > 0)
      total += l.Weight * problem.Change(l.From, chosen[l.From], l.To, chosen[l.To]);
  return total;
}
