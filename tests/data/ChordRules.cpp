#include "ChordRules.h"

#include <algorithm>
#include <bit>
#include <set>
#include <sstream>

namespace {

constexpr std::array<int, 6> Open = {64, 59, 55, 50, 45, 40};  // strings 0..5

unsigned pcBit(int n) {
  return 1u << (((n % 12) + 12) % 12);
}

bool writesUnaltered(const std::string& name, const std::string& digits) {
  for (std::size_t at = name.find(digits); at != std::string::npos;
       at = name.find(digits, at + 1)) {
    const char before = at ? name[at - 1] : ' ';
    const std::size_t end = at + digits.size();
    const char after = end < name.size() ? name[end] : ' ';
    if (before == 'b' || before == '#' || (before >= '0' && before <= '9') ||
        (after >= '0' && after <= '9')) {
      continue;
    }
    return true;
  }
  return false;
}

}  // namespace

int semitonesOfIntervalName(const std::string& name) {
  static const std::array<int, 14> natural = {-1, 0, 2, 4, 5, 7, 9, 11, 12, 14, 16, 17, 19, 21};
  std::size_t i = 0;
  int shift = 0;
  for (; i < name.size() && (name[i] == 'b' || name[i] == '#'); ++i)
    shift += name[i] == 'b' ? -1 : 1;
  const std::string digits = name.substr(i);
  if (digits.empty() || digits.size() > 2 ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return -1;
  }
  const int degree = std::stoi(digits);
  if (degree < 1 || degree > 13) return -1;
  return natural[static_cast<std::size_t>(degree)] + shift;
}

std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> w;
  std::istringstream in(text);
  std::string s;
  while (in >> s) w.push_back(s);
  return w;
}

ChordTones chordTones(const TChordFormula& f) {
  ChordTones c;
  const std::string name = f.Name.str();
  for (auto v : f.Intervals) {
    if (v < 0) break;
    c.Intervals.push_back(v);
    c.Tones |= pcBit(v);
    const bool optional = v == 0 || v == 7 || (v == 14 && !writesUnaltered(name, "9")) ||
                          (v == 17 && !writesUnaltered(name, "11"));
    if (!optional) c.Required |= pcBit(v);
  }
  c.Count = static_cast<int>(c.Intervals.size());
  return c;
}

std::string fretText(const TChordFingering& r) {
  bool wide = false;
  for (const auto& s : r.Strings) wide = wide || (s.Finger != FingerCode::Muted && s.Fret >= 10);
  std::string t;
  for (int s = 5; s >= 0; --s) {
    const auto& sf = r.Strings[s];
    if (wide && s != 5) t += ' ';
    t += sf.Finger == FingerCode::Muted ? std::string("x") : std::to_string(sf.Fret);
  }
  return t;
}

Heard heard(const TChordFingering& r, int key) {
  Heard h;
  for (int s = 5; s >= 0; --s) {
    const auto& sf = r.Strings[s];
    if (sf.Finger == FingerCode::Muted) continue;
    const int note = Open[static_cast<std::size_t>(s)] + sf.Fret;
    if (h.Bass < 0 || note < h.Bass) h.Bass = note;
    h.PitchClasses |= pcBit(note - key);
    ++h.Strings;
    if (sf.Fret > 0 && (h.LowestFret == 0 || sf.Fret < h.LowestFret)) h.LowestFret = sf.Fret;
  }
  return h;
}

bool lowestStringIsLowestNote(const TChordFingering& r) {
  int low = -1;
  for (int s = 5; s >= 0; --s) {
    if (r.Strings[s].Finger == FingerCode::Muted) continue;
    const int note = Open[static_cast<std::size_t>(s)] + r.Strings[s].Fret;
    if (low < 0) low = note;
    if (note < low) return false;
  }
  return true;
}

std::string handProblem(const TChordFingering& r) {
  int low = 0, high = 0;
  for (int s = 0; s < 6; ++s) {
    const auto& sf = r.Strings[s];
    if (sf.Finger == FingerCode::Muted) {
      if (sf.Fret != 0) return "muted string with a fret";
      continue;
    }
    if (sf.Fret == 0) {
      if (sf.Finger != 0) return "open string with a finger";
      continue;
    }
    if (sf.Fret > 22) return "fret above 22";
    if (sf.Finger < 1 || sf.Finger > 4) return "fretted note without finger 1..4";
    low = low ? std::min(low, static_cast<int>(sf.Fret)) : sf.Fret;
    high = std::max(high, static_cast<int>(sf.Fret));
  }
  const int expectedBase = high <= 4 ? 1 : low;
  if (r.BaseFret != expectedBase) return "base fret should be " + std::to_string(expectedBase);
  if (r.BaseFret < 1 || r.BaseFret > 17) return "base fret outside 1..17";
  if (high && (low < r.BaseFret || high > r.BaseFret + 5)) return "a note lies off the diagram";
  if (high - low > 3) return "stretch over more than four frets";
  for (const auto& sf : r.Strings) {
    if (low >= 7 && sf.Finger == 0) return "open string with the hand at fret 7 or above";
  }
  // Fingers: 2..4 hold one note each; finger 1 holds one note or a barre at
  // the lowest fret with nothing open or muted under it; a higher fret never
  // takes a lower (or the same) finger.
  int ones = 0, top = 6, bottom = -1;
  for (int a = 0; a < 6; ++a) {
    const auto& fa = r.Strings[a];
    if (fa.Finger == FingerCode::Muted || fa.Fret == 0) continue;
    if (fa.Finger == 1) {
      ++ones;
      top = std::min(top, a);
      bottom = std::max(bottom, a);
    }
    for (int b = 0; b < 6; ++b) {
      const auto& fb = r.Strings[b];
      if (b == a || fb.Finger == FingerCode::Muted || fb.Fret == 0) continue;
      if (fb.Fret > fa.Fret && fb.Finger <= fa.Finger) return "fingers cross";
      if (fb.Finger == fa.Finger && fa.Finger != 1) return "one finger on two notes";
    }
  }
  if (ones > 1) {
    for (int s = top; s <= bottom; ++s) {
      const auto& sf = r.Strings[s];
      if (sf.Finger == FingerCode::Muted || sf.Fret < low)
        return "open or muted string under the barre";
      if (sf.Finger == 1 && sf.Fret != low) return "barre not at the lowest fret";
    }
  }
  return {};
}

std::string noteProblem(const TChordFingering& r, int key, const ChordTones& c,
                        bool rootlessAllowed) {
  const Heard h = heard(r, key);
  if (h.Strings < (c.Count >= 4 ? 4 : 3)) return "too few strings sounded";
  if (h.PitchClasses & ~c.Tones) return "sounds a note outside the chord";
  if ((h.PitchClasses & c.Required) != c.Required) return "leaves out a tone the name spells";
  if (!(h.PitchClasses & 1u) && !rootlessAllowed) return "leaves out the root";
  if (std::popcount(h.PitchClasses) < 3) return "fewer than three different notes";
  return {};
}

int rootPositionVoicings(int key, const ChordTones& c, int limit) {
  std::set<std::array<int, 6>> found;
  std::array<int, 6> frets{};
  for (int p = 1; p <= 17; ++p) {
    std::array<std::vector<int>, 6> options;
    for (int s = 0; s < 6; ++s) {
      auto& o = options[static_cast<std::size_t>(s)];
      o.push_back(-1);
      for (int f : {0, p, p + 1, p + 2, p + 3}) {
        if (c.Tones & pcBit(Open[static_cast<std::size_t>(s)] + f - key)) o.push_back(f);
      }
    }
    const auto check = [&] {
      // Notes and root in the bass.
      TChordFingering r{};
      int fretted = 0;
      for (int s = 0; s < 6; ++s) {
        r.Strings[s].Fret = static_cast<std::uint8_t>(
            frets[static_cast<std::size_t>(s)] < 0 ? 0 : frets[static_cast<std::size_t>(s)]);
        r.Strings[s].Finger = frets[static_cast<std::size_t>(s)] < 0 ? FingerCode::Muted : 0;
        fretted += frets[static_cast<std::size_t>(s)] > 0 ? 1 : 0;
      }
      const Heard h = heard(r, key);
      if (h.Bass < 0 || (h.Bass - key) % 12 != 0 || !lowestStringIsLowestNote(r)) return;
      if (!noteProblem(r, key, c, false).empty()) return;
      // A hand: four fretted notes, or a barre at the lowest fret (nothing
      // open or muted under it) and at most three notes above it.
      int low = 99, high = 0;
      for (int f : frets) {
        if (f > 0) {
          low = std::min(low, f);
          high = std::max(high, f);
        }
      }
      if (fretted && high - low > 3) return;
      if (fretted && low >= 7 && std::find(frets.begin(), frets.end(), 0) != frets.end()) return;
      if (fretted && high > 4 && low > 17) return;
      if (fretted > 4) {
        int top = 6, bottom = -1, above = 0;
        for (int s = 0; s < 6; ++s) {
          const int f = frets[static_cast<std::size_t>(s)];
          if (f == low) {
            top = std::min(top, s);
            bottom = std::max(bottom, s);
          } else if (f > low) {
            ++above;
          }
        }
        if (top == bottom || above > 3) return;
        for (int s = top; s <= bottom; ++s) {
          if (frets[static_cast<std::size_t>(s)] < low) return;
        }
      }
      found.insert(frets);
    };
    for (int a : options[0]) {
      frets[0] = a;
      for (int b : options[1]) {
        frets[1] = b;
        for (int d : options[2]) {
          frets[2] = d;
          for (int e : options[3]) {
            frets[3] = e;
            for (int g : options[4]) {
              frets[4] = g;
              for (int h : options[5]) {
                frets[5] = h;
                check();
                if (static_cast<int>(found.size()) >= limit) return limit;
              }
            }
          }
        }
      }
    }
  }
  return static_cast<int>(found.size());
}
