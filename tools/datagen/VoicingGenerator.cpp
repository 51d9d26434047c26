#include "VoicingGenerator.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>

namespace {

unsigned bit(int pc) {
  return 1u << static_cast<unsigned>(((pc % 12) + 12) % 12);
}

// Whether the chord name writes the unaltered extension `digits` ("9", "11"):
// "m9" and "6/9" do, "13b9" and "7(#11)" do not.
bool writes(const std::string& name, const std::string& digits) {
  for (std::size_t at = name.find(digits); at != std::string::npos;
       at = name.find(digits, at + 1)) {
    const char before = at == 0 ? ' ' : name[at - 1];
    const char after = at + digits.size() < name.size() ? name[at + digits.size()] : ' ';
    if (before == 'b' || before == '#' || std::isdigit(static_cast<unsigned char>(before)) ||
        std::isdigit(static_cast<unsigned char>(after))) {
      continue;
    }
    return true;
  }
  return false;
}

int soundingNote(int s, int fret) {
  return StandardStrings[static_cast<std::size_t>(s)] + fret;
}

std::array<int, 6> highToLow(const std::array<int, 6>& lowToHigh) {
  std::array<int, 6> a{};
  for (std::size_t i = 0; i < 6; ++i) a[i] = lowToHigh[5 - i];
  return a;
}

}  // namespace

ChordSpec ChordSpec::of(const ChordTypeRow& type, int key) {
  ChordSpec c;
  c.Root = key;
  c.ToneCount = static_cast<int>(type.Intervals.size());
  for (int v : type.Intervals) {
    const unsigned b = bit(key + v);
    c.Tones |= b;
    if (v == 0) continue;
    if (v >= 13) c.Extensions |= b;
    const bool optional =
        v == 7 || (v == 14 && !writes(type.Name, "9")) || (v == 17 && !writes(type.Name, "11"));
    (optional ? c.Optional : c.Required) |= b;
  }
  return c;
}

std::string wrongNotes(const ChordSpec& want, const Fingering& g, bool rootlessAllowed) {
  unsigned heard = 0;
  for (int s = 0; s < 6; ++s) {
    const int f = g.Fret[static_cast<std::size_t>(s)];
    if (f >= 0) heard |= bit(soundingNote(s, f));
  }
  if (heard & ~want.Tones) return "sounds a note outside the chord";
  if ((heard & want.Required) != want.Required) return "leaves out a tone the name spells";
  if (!(heard & bit(want.Root)) && !rootlessAllowed) return "leaves out the root";
  if (std::popcount(heard) < 3) return "fewer than three different notes";
  return {};
}

bool VoicingGenerator::prepare(const SourceTables& tables, std::string& error) {
  Tables = &tables;
  OpenShapes.clear();
  MovableShapes.clear();
  BarreShapes.clear();
  for (const auto& row : tables.Shapes) {
    Fingering g;
    g.Fret = highToLow(row.LowToHighFrets);
    g.Finger = highToLow(row.LowToHighFingers);
    for (auto& f : g.Finger) {
      if (f < 0) f = FingerCode::Muted;
    }
    const auto& type = tables.ChordTypes[static_cast<std::size_t>(row.Type)];
    const auto check = [&](const Fingering& shape, int key) -> bool {
      const ChordSpec want = ChordSpec::of(type, key);
      std::string why = shape.problem();
      if (why.empty()) why = wrongNotes(want, shape, false);
      if (why.empty() && shape.sounded() < (want.ToneCount >= 4 ? 4 : 3)) {
        why = "too few strings for the chord";
      }
      if (!why.empty()) {
        error = row.Where + ": " + shape.fretText() + " " + type.Name + ": " + why;
        return false;
      }
      return true;
    };
    if (!row.Movable) {
      if (!check(g, row.Key)) return false;
      if (!OpenShapes.emplace(std::make_pair(row.Type, row.Key), g).second) {
        error = row.Where + ": a second open shape for the same chord";
        return false;
      }
      continue;
    }
    if (!check(g, row.Key)) return false;
    for (int shift = -12; shift <= 22; ++shift) {
      Fingering moved = g;
      bool fits = true;
      for (auto& f : moved.Fret) {
        if (f > 0) {
          f += shift;
          fits = fits && f >= 1 && f <= 22;
        }
      }
      if (!fits || !moved.problem().empty()) continue;
      const int key = ((row.Key + shift) % 12 + 12) % 12;
      if (!check(moved, key)) return false;
      MovableShapes[{row.Type, key}].push_back(moved);
      if (row.Barre) BarreShapes[{row.Type, key}].push_back(moved);
    }
  }
  return true;
}

double VoicingGenerator::score(const ChordSpec& want, const Fingering& g, Candidate& c) const {
  int lowString = -1, highString = 6;
  unsigned heard = 0;
  std::array<int, 6> notes{};
  int count = 0;
  int open = 0;
  double s0 = 0;
  for (int s = 5; s >= 0; --s) {
    const int f = g.Fret[static_cast<std::size_t>(s)];
    if (f < 0) continue;
    lowString = std::max(lowString, s);
    highString = std::min(highString, s);
    heard |= bit(soundingNote(s, f));
    notes[static_cast<std::size_t>(count++)] = soundingNote(s, f);
    if (f == 0) ++open;
  }
  // A string sounding below the one under it: the voices cross.
  for (int i = 1; i < count; ++i) {
    if (notes[static_cast<std::size_t>(i)] < notes[static_cast<std::size_t>(i - 1)]) s0 -= 6;
  }
  for (int i = 1; i < count; ++i) {  // insertion sort of at most six notes
    for (int j = i;
         j > 0 && notes[static_cast<std::size_t>(j - 1)] > notes[static_cast<std::size_t>(j)];
         --j) {
      std::swap(notes[static_cast<std::size_t>(j - 1)], notes[static_cast<std::size_t>(j)]);
    }
  }
  const int bass = notes[0];
  c.RootInBass = bit(bass) == bit(want.Root);
  c.Rootless = !(heard & bit(want.Root));
  c.Position = g.lowestFretted();

  int gaps = 0;
  for (int s = highString; s <= lowString; ++s) {
    if (g.Fret[static_cast<std::size_t>(s)] < 0) ++gaps;
  }
  const int trebleMuted = highString;
  const int low = g.lowestFretted();
  const int high = g.highestFretted();
  const int span = low == 0 ? 0 : high - low;

  double s = s0;
  if (c.RootInBass) s += 35;
  if (c.Rootless) s -= 25;
  if (!c.RootInBass && (want.Extensions & bit(bass))) s -= 15;  // a 9th or 13th in the bass
  s += 4.0 * count;
  s -= 60.0 * gaps;
  s -= 3.0 * trebleMuted;
  static constexpr std::array<double, 4> spanCost = {0, 1, 4, 14};
  s -= spanCost[static_cast<std::size_t>(span)];
  if (span == 3 && low <= 4) s -= 6;
  s -= 2.0 * g.fingersUsed();
  // Fingers crowd on one fret: three side by side is usual (A, D6), four is not.
  for (int f = std::max(low, 1); f <= high; ++f) {
    int fingers = 0;
    for (int st = 0; st < 6; ++st) {
      const auto i = static_cast<std::size_t>(st);
      if (g.Fret[i] == f && g.Finger[i] != 1) ++fingers;
      if (g.Fret[i] == f && g.Finger[i] == 1 && !g.hasBarre()) ++fingers;
    }
    if (fingers >= 4) s -= 20;
  }
  if (g.hasBarre()) s -= 4;
  if (low == 0) {
    s -= 40;  // open strings only: no shape to learn
  } else if (high <= 3) {
    s += 2.0 * open;  // open position: let them ring
  } else if (high > 4) {
    // Open strings under a hand away from the nut: the higher, the odder,
    // and oddest between fretted strings.
    s -= (low >= 5 ? 40.0 : 6.0 + high) * open;
    for (int st = highString + 1; st < lowString; ++st) {
      if (g.Fret[static_cast<std::size_t>(st)] == 0) s -= low >= 3 ? 15 : 6;
    }
  }
  const unsigned missing = want.Optional & ~heard;
  for (int pc = 0; pc < 12; ++pc) {
    if (!(missing & bit(pc))) continue;
    s -= (pc == (want.Root + 7) % 12) ? (want.ToneCount <= 3 ? 20 : 6) : 2;
  }
  // Seconds at the bottom of the chord sound muddy; a semitone between
  // neighbouring voices grates anywhere.
  if (count >= 2 && notes[1] - notes[0] <= 2 && notes[0] < 60) s -= 10;
  for (int i = 1; i < count; ++i) {
    if (notes[static_cast<std::size_t>(i)] - notes[static_cast<std::size_t>(i - 1)] == 1) {
      s -= notes[static_cast<std::size_t>(i - 1)] < 60 ? 8 : 5;
    }
  }
  // Above the 12th fret the shapes of the lower neck come again.
  if (low > 12) s -= 6.0 * (low - 12);
  s -= 0.3 * low;
  c.Score = s;
  return s;
}

std::vector<Candidate> VoicingGenerator::candidates(int type, int key) const {
  const auto& row = Tables->ChordTypes[static_cast<std::size_t>(type)];
  const ChordSpec want = ChordSpec::of(row, key);
  const int minStrings = want.ToneCount >= 4 ? 4 : 3;
  const bool rootlessAllowed = want.ToneCount >= 5;
  std::set<std::array<int, 6>> templates;
  if (const auto m = MovableShapes.find({type, key}); m != MovableShapes.end()) {
    for (const auto& g : m->second) templates.insert(g.Fret);
  }

  std::vector<Candidate> out;
  std::array<int, 6> frets{};
  // Windows of four frets starting at the lowest fretted fret p; a voicing
  // with only open strings belongs to the first window.
  for (int p = 1; p <= 17; ++p) {
    std::array<std::vector<int>, 6> options;
    for (int s = 0; s < 6; ++s) {
      auto& o = options[static_cast<std::size_t>(s)];
      o.push_back(Fingering::Muted);
      if (want.Tones & bit(soundingNote(s, 0))) o.push_back(0);
      for (int f = p; f <= std::min(p + 3, 22); ++f) {
        if (want.Tones & bit(soundingNote(s, f))) o.push_back(f);
      }
    }
    const auto leaf = [&]() {
      int low = 0, sounded = 0;
      for (int f : frets) {
        if (f >= 0) ++sounded;
        if (f > 0 && (low == 0 || f < low)) low = f;
      }
      if (sounded < minStrings) return;
      if (low == 0 ? p != 1 : low != p) return;
      // Open strings ring only with a hand near the nut.
      if (low >= 7 && std::find(frets.begin(), frets.end(), 0) != frets.end()) return;
      // The lowest string sounds the lowest note, so "the bass" means one
      // thing to the eye and to the ear.
      int bassString = -1;
      for (int st = 5; st >= 0 && bassString < 0; --st) {
        if (frets[static_cast<std::size_t>(st)] >= 0) bassString = st;
      }
      const int bassNote = soundingNote(bassString, frets[static_cast<std::size_t>(bassString)]);
      for (int st = 0; st < bassString; ++st) {
        const int f = frets[static_cast<std::size_t>(st)];
        if (f >= 0 && soundingNote(st, f) < bassNote) return;
      }
      Fingering plain;
      plain.Fret = frets;
      if (!wrongNotes(want, plain, rootlessAllowed).empty()) return;
      const auto g = Fingering::withNaturalFingers(frets);
      if (!g) return;
      Candidate c;
      c.Shape = *g;
      score(want, *g, c);
      if (p <= 12 && templates.count(frets)) {
        c.Template = true;
        c.Score += 15;
      }
      out.push_back(c);
    };
    for (int f0 : options[0]) {
      frets[0] = f0;
      for (int f1 : options[1]) {
        frets[1] = f1;
        for (int f2 : options[2]) {
          frets[2] = f2;
          for (int f3 : options[3]) {
            frets[3] = f3;
            for (int f4 : options[4]) {
              frets[4] = f4;
              for (int f5 : options[5]) {
                frets[5] = f5;
                leaf();
              }
            }
          }
        }
      }
    }
  }
  // Hand-picked movable shapes keep their written fingers.
  if (const auto m = MovableShapes.find({type, key}); m != MovableShapes.end()) {
    for (const auto& g : m->second) {
      for (auto& c : out) {
        if (c.Shape.Fret == g.Fret) c.Shape = g;
      }
    }
  }
  return out;
}

std::vector<Candidate> VoicingGenerator::chord(int type, int key) const {
  const auto& row = Tables->ChordTypes[static_cast<std::size_t>(type)];
  const ChordSpec want = ChordSpec::of(row, key);
  const std::vector<Candidate> all = candidates(type, key);

  // Fingering 0: the hand-picked open shape, else the best root-position
  // voicing, with a strong pull toward the nut and to the known shapes. When
  // too few voicings lie above it to fill the six, the next best is tried.
  std::vector<std::pair<double, Candidate>> firsts;
  const auto barres = BarreShapes.find({type, key});
  if (const auto o = OpenShapes.find({type, key}); o != OpenShapes.end()) {
    Candidate c;
    c.Shape = o->second;
    score(want, c.Shape, c);
    firsts.emplace_back(1e9, c);
  } else if (barres != BarreShapes.end()) {
    // The barre chord nearest the nut, as every method book teaches it.
    for (const auto& g : barres->second) {
      Candidate c;
      c.Shape = g;
      score(want, c.Shape, c);
      firsts.emplace_back(1e9 - 100.0 * c.Position + c.Shape.sounded(), c);
    }
    std::stable_sort(firsts.begin(), firsts.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    firsts.resize(1);
  } else {
    // Where no hand can hold the chord over its root (a few six-tone chords
    // in some keys), an inversion that still sounds the root leads.
    for (bool inversion : {false, true}) {
      for (const auto& c : all) {
        if (inversion ? c.Rootless : !c.RootInBass) continue;
        firsts.emplace_back(
            c.Score + (c.Template ? 8 : 0) - 5.0 * c.Position + 2.0 * c.Shape.sounded(), c);
      }
      if (!firsts.empty()) break;
    }
    std::stable_sort(firsts.begin(), firsts.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
  }
  // Two of the six may have another chord tone in the bass. A few chords with
  // six required tones have fewer than four root-position voicings that a
  // hand can hold; they take more inversions rather than fewer fingerings.
  std::vector<Candidate> chosen;
  for (bool looseRootless : {false, true}) {
    for (int inversions = 2; inversions <= 6; ++inversions) {
      for (const auto& [value, first] : firsts) {
        chosen = pickAbove(first, all, inversions, looseRootless);
        if (chosen.size() == 6) return chosen;
      }
    }
  }
  return chosen;
}

namespace {

// Order of fingerings 1..5: up the neck, and on one fret the voicings with a
// root before the rootless ones.
bool upTheNeck(const Candidate& a, const Candidate& b) {
  if (a.Position != b.Position) return a.Position < b.Position;
  if (a.Shape.baseFret() != b.Shape.baseFret()) return a.Shape.baseFret() < b.Shape.baseFret();
  if (a.Rootless != b.Rootless) return !a.Rootless;
  return a.Shape.Fret < b.Shape.Fret;
}

}  // namespace

std::vector<Candidate> VoicingGenerator::pickAbove(const Candidate& first,
                                                   const std::vector<Candidate>& all,
                                                   int inversions, bool looseRootless) const {
  std::vector<Candidate> chosen = {first};
  std::set<std::array<int, 6>> banned = {first.Shape.Fret};
  // Whether one voicing is the other with strings left out.
  const auto within = [](const Fingering& a, const Fingering& b) {
    for (std::size_t s = 0; s < 6; ++s) {
      if (a.Fret[s] >= 0 && a.Fret[s] != b.Fret[s]) return false;
    }
    return true;
  };
  while (chosen.size() < 6) {
    int notRootBass = 0;
    for (const auto& c : chosen) notRootBass += c.RootInBass ? 0 : 1;
    // Keep room for the root-position voicings still owed.
    const int owed = 6 - inversions - (static_cast<int>(chosen.size()) - notRootBass);
    const bool rootOnly = owed >= 6 - static_cast<int>(chosen.size());
    const Candidate* pick = nullptr;
    double best = -1e9;
    for (const auto& c : all) {
      if (banned.count(c.Shape.Fret)) continue;
      // Up the neck both by lowest fret and by diagram base fret.
      const int base = c.Shape.baseFret();
      bool inOrder = c.Position >= first.Position && base >= first.Shape.baseFret();
      for (const auto& k : chosen) {
        const int dp = c.Position - k.Position;
        const int db = base - k.Shape.baseFret();
        if ((dp < 0 && db > 0) || (dp > 0 && db < 0)) inOrder = false;
      }
      if (!inOrder) continue;
      if (!c.RootInBass && (notRootBass >= inversions || rootOnly)) continue;
      // A rootless voicing goes only where two others already lie below it.
      if (c.Rootless && !looseRootless) {
        int below = 0;
        for (std::size_t i = 1; i < chosen.size(); ++i) below += upTheNeck(chosen[i], c) ? 1 : 0;
        if (below < 2) continue;
      }
      double v = c.Score;
      for (const auto& k : chosen) {
        const int d = std::abs(c.Position - k.Position);
        if (d <= 1) {
          v -= 12;
        } else if (d <= 3) {
          v -= 5;
        }
        if (within(c.Shape, k.Shape) || within(k.Shape, c.Shape)) v -= 30;
        // The same shape an octave away teaches nothing new.
        int octave = 0, other = 0;
        for (std::size_t st = 0; st < 6; ++st) {
          const int a = c.Shape.Fret[st], b = k.Shape.Fret[st];
          if (a >= 0 && b >= 0) ++(std::abs(a - b) == 12 ? octave : other);
        }
        if (octave >= 4 && other == 0) v -= 40;
        int same = 0;
        for (std::size_t st = 0; st < 6; ++st) {
          same += c.Shape.Fret[st] >= 0 && c.Shape.Fret[st] == k.Shape.Fret[st] ? 1 : 0;
        }
        if (same >= 5) {
          v -= 35;
        } else if (same == 4) {
          v -= 20;
        } else if (same == 3) {
          v -= 6;
        }
      }
      if (v > best) {
        best = v;
        pick = &c;
      }
    }
    if (!pick) break;
    banned.insert(pick->Shape.Fret);
    chosen.push_back(*pick);
    std::stable_sort(chosen.begin() + 1, chosen.end(), upTheNeck);
  }
  return chosen;
}
