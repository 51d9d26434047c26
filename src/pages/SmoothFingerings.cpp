#include "pages/SmoothFingerings.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "design/FingeringPath.h"
#include "design/HandCost.h"
#include "library/ChordLibrary.h"
#include "library/LibraryFiles.h"
#include "music/DiagramConvert.h"
#include "music/Tuning.h"
#include "play/PagePlayer.h"
#include "play/PlayRoute.h"

namespace {

// Against the travel of the hand (1 a fret), how much the ease of a
// fingering counts each time it is struck, how much it costs to be a fret
// away from where the player asked the hand to be, and the price of changing
// a slot at all, so that a page that is already smooth stays as it is.
constexpr double EaseWeight = 0.25;
constexpr double PlaceWeight = 1.5;
constexpr double KeepBonus = 0.1;
constexpr double OpenPositionUpTo = 2.0;  // mean fret of an open-position chord

// The pitch class of the lowest string played, none when nothing is played.
std::optional<int> lowestNote(const TChordDiagram& d) {
  for (int s = 5; s >= 0; --s)
    if (d.Strings[s].Finger != FingerCode::Muted) return (d.Tuning[s] + d.Strings[s].Fret) % 12;
  return std::nullopt;
}

double placeCost(const TChordDiagram& d, const SmoothRequest& r) {
  const std::optional<double> at = handPosition(d.Strings);
  switch (r.Where) {
    case HandPlace::Anywhere:
      return 0;
    case HandPlace::OpenPosition:
      return at ? std::max(0.0, *at - OpenPositionUpTo) : 0.0;
    case HandPlace::AroundFret:
      return std::abs(at.value_or(0.0) - r.Fret);
  }
  return 0;
}

struct Slot {
  int Number = 0;
  std::vector<TChordDiagram> Candidates;  // the slot's own first
};

std::vector<Slot> candidatesOf(const PlayList& list, const SmoothRequest& request,
                               LibraryFingerings& library) {
  std::vector<Slot> slots;
  for (int n = 0; n < PlaySlotCount; ++n) {
    const TChordDiagram& own = list[static_cast<std::size_t>(n)];
    if (isEmpty(own)) continue;
    Slot slot{n, {own}};
    const bool standard =
        std::equal(std::begin(own.Tuning), std::end(own.Tuning), StandardTuning.begin());
    const std::array<TChordDiagram, 6>* set =
        standard && !request.Fixed[static_cast<std::size_t>(n)] ? library.of(own) : nullptr;
    if (set) {
      const bool fromLibrary = std::any_of(
          set->begin(), set->end(), [&](const TChordDiagram& d) { return sameFingering(d, own); });
      // A bass other than the root is kept by the fingerings that sound it.
      const int bass = own.Bass % 12, root = own.Root % 12;
      if (fromLibrary || request.ChangeOwn)
        for (const TChordDiagram& d : *set) {
          if (sameFingering(d, own)) continue;
          if (bass != root && lowestNote(d) != bass) continue;
          slot.Candidates.push_back(refingered(own, d));
        }
    }
    slots.push_back(std::move(slot));
  }
  return slots;
}

}  // namespace

bool sameFingering(const TChordDiagram& a, const TChordDiagram& b) {
  for (int s = 0; s < 6; ++s)
    if (a.Strings[s].Fret != b.Strings[s].Fret || a.Strings[s].Finger != b.Strings[s].Finger)
      return false;
  return true;
}

TChordDiagram refingered(const TChordDiagram& chord, const TChordDiagram& from) {
  TChordDiagram d = chord;
  std::copy(std::begin(from.Strings), std::end(from.Strings), d.Strings);
  d.BaseFret = from.BaseFret;
  soundNotes(d);
  return d;
}

const std::array<TChordDiagram, 6>* LibraryFingerings::of(const TChordDiagram& slot) {
  if (!Dictionary) {
    Dictionary.emplace();
    for (int i = 0; i < ChordLibrary::ChordTypeCount; ++i) {
      TChordFormula f{};
      if (readChordFormula(Dir, i, f).Status != LibraryStatus::Ok) {
        Dictionary->clear();
        break;
      }
      Dictionary->push_back(f);
    }
  }
  int type = -1;
  for (int i = 0; i < static_cast<int>(Dictionary->size()); ++i) {
    const TChordFormula& f = (*Dictionary)[static_cast<std::size_t>(i)];
    if (std::memcmp(f.Intervals, slot.Intervals, sizeof f.Intervals) != 0) continue;
    if (type < 0 || f.Name.str() == slot.ChordName.str()) type = i;
  }
  // Intervals recomputed from a voicing that leaves a note out (a fifth) match
  // no type; the name the chord was given still says which it is.
  for (int i = 0; type < 0 && i < static_cast<int>(Dictionary->size()); ++i)
    if ((*Dictionary)[static_cast<std::size_t>(i)].Name.str() == slot.ChordName.str()) type = i;
  const int key = slot.Root % 12;
  if (type < 0) return nullptr;
  auto [at, added] = Sets.try_emplace({type, key});
  if (added) {
    const auto family = ChordLibrary::familyOfDictionaryIndex(type);
    std::array<TChordDiagram, 6> set{};
    TChordDiagram read[6];
    TChordFormula formula{};
    if (family &&
        readChordSet(Dir, static_cast<int>(family->Family), family->Type, key, read, formula)
                .Status == LibraryStatus::Ok) {
      std::copy(std::begin(read), std::end(read), set.begin());
      at->second = set;
    }
  }
  return at->second ? &*at->second : nullptr;
}

double handTravel(const PlayPageSlots& page, const SmoothRequest& request) {
  const PlayList list = playListFrom(page);
  const PlayRoute route = playRoute(list, request.Marks, request.ThreeFour, request.Loop);
  double travel = 0;
  for (const PlayRoute::Change& c : route.Changes) {
    const auto a = handPosition(list[static_cast<std::size_t>(c.From)].Strings);
    const auto b = handPosition(list[static_cast<std::size_t>(c.To)].Strings);
    if (a && b) travel += c.Count * std::abs(*a - *b);
  }
  return travel;
}

SmoothResult smoothFingerings(PlayPageSlots& page, const SmoothRequest& request,
                              LibraryFingerings& library) {
  SmoothResult result;
  result.TravelBefore = handTravel(page, request);
  const PlayList list = playListFrom(page);
  const std::vector<Slot> slots = candidatesOf(list, request, library);
  const PlayRoute route = playRoute(list, request.Marks, request.ThreeFour, request.Loop);

  std::vector<int> index(PlaySlotCount, -1);
  for (std::size_t i = 0; i < slots.size(); ++i)
    index[static_cast<std::size_t>(slots[i].Number)] = int(i);
  FingeringChoiceProblem problem;
  for (const Slot& slot : slots) {
    const double heard = std::max(1, route.Heard[static_cast<std::size_t>(slot.Number)]);
    std::vector<double> cost;
    for (std::size_t k = 0; k < slot.Candidates.size(); ++k) {
      const TChordDiagram& d = slot.Candidates[k];
      cost.push_back(heard * (EaseWeight * fingeringEase(d.Strings).Cost +
                              PlaceWeight * placeCost(d, request)) +
                     (k == 0 ? 0.0 : KeepBonus));
    }
    problem.Cost.push_back(std::move(cost));
  }
  for (const PlayRoute::Change& c : route.Changes)
    problem.Links.push_back({index[static_cast<std::size_t>(c.From)],
                             index[static_cast<std::size_t>(c.To)], double(c.Count)});
  problem.Change = [&](int from, int a, int to, int b) {
    return changeCost(
        slots[static_cast<std::size_t>(from)].Candidates[static_cast<std::size_t>(a)].Strings,
        slots[static_cast<std::size_t>(to)].Candidates[static_cast<std::size_t>(b)].Strings);
  };
  const FingeringChoice choice = chooseFingerings(problem);
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const int k = choice.Chosen[i];
    if (k == 0) continue;
    const int n = slots[i].Number;
    const PlaySlot at{n % PlayPageColumns, n / PlayPageColumns};
    page[at.Column][at.Row] = slots[i].Candidates[static_cast<std::size_t>(k)];
    result.Changed.push_back(at);
  }
  result.TravelAfter = handTravel(page, request);
  return result;
}
