#include "Fingering.h"

#include <algorithm>
#include <vector>

namespace {

struct Note {
  int String;
  int Fret;
};

// Lowest fret first; on a shared fret the lower-sounding string (higher
// index) first, as a hand lays fingers 1..4 across the neck.
void sortForFingers(std::vector<Note>& notes) {
  std::sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
    if (a.Fret != b.Fret) return a.Fret < b.Fret;
    return a.String > b.String;
  });
}

// Fingers first..4 to `notes` (sorted): ideally one finger per fret counted
// from `handFret` (where finger 1 lies), never two notes on one finger and
// always rising with the fret.
void spreadFingers(const std::vector<Note>& notes, int first, int handFret,
                   std::array<int, 6>& finger) {
  const int n = static_cast<int>(notes.size());
  int prev = first - 1;
  for (int i = 0; i < n; ++i) {
    const int ideal = 1 + notes[static_cast<std::size_t>(i)].Fret - handFret;
    const int cap = 4 - (n - 1 - i);
    const int f = std::min(std::max(ideal, prev + 1), cap);
    finger[static_cast<std::size_t>(notes[static_cast<std::size_t>(i)].String)] = f;
    prev = f;
  }
}

}  // namespace

std::optional<Fingering> Fingering::withNaturalFingers(const std::array<int, 6>& frets) {
  Fingering g;
  g.Fret = frets;
  std::vector<Note> notes;
  for (int s = 0; s < 6; ++s) {
    const auto i = static_cast<std::size_t>(s);
    g.Finger[i] = frets[i] == Muted ? FingerCode::Muted : 0;
    if (frets[i] > 0) notes.push_back({s, frets[i]});
  }
  if (notes.empty()) return g;
  sortForFingers(notes);
  const int low = notes.front().Fret;
  const auto atLow =
      std::count_if(notes.begin(), notes.end(), [&](const Note& n) { return n.Fret == low; });
  // Up to four notes take a finger each, unless three or more share the
  // lowest fret: those lie under one finger as a barre when nothing open or
  // muted is in between.
  bool barre = notes.size() > 4;
  if (!barre && atLow >= 3) {
    int hi = 6, lo = -1;
    for (const auto& n : notes) {
      if (n.Fret == low) {
        hi = std::min(hi, n.String);
        lo = std::max(lo, n.String);
      }
    }
    barre = true;
    for (int s = hi; s <= lo; ++s) barre = barre && frets[static_cast<std::size_t>(s)] >= low;
  }
  if (!barre) {
    spreadFingers(notes, 1, low, g.Finger);
  } else {
    // Finger 1 across every string fretted at the lowest fret, and across the
    // strings between them, which must all be fretted at or above it.
    std::vector<Note> rest;
    int hi = 6, lo = -1;
    for (const auto& n : notes) {
      if (n.Fret == low) {
        hi = std::min(hi, n.String);
        lo = std::max(lo, n.String);
      } else {
        rest.push_back(n);
      }
    }
    if (lo == hi || rest.size() > 3) return std::nullopt;
    for (int s = hi; s <= lo; ++s) {
      if (frets[static_cast<std::size_t>(s)] < low) return std::nullopt;
    }
    for (const auto& n : notes) {
      if (n.Fret == low) g.Finger[static_cast<std::size_t>(n.String)] = 1;
    }
    spreadFingers(rest, 2, low, g.Finger);
  }
  if (!g.problem().empty()) return std::nullopt;
  return g;
}

int Fingering::lowestFretted() const {
  int low = 0;
  for (int f : Fret) {
    if (f > 0 && (low == 0 || f < low)) low = f;
  }
  return low;
}

int Fingering::highestFretted() const {
  int high = 0;
  for (int f : Fret) high = std::max(high, f);
  return high;
}

int Fingering::baseFret() const {
  return highestFretted() <= 4 ? 1 : lowestFretted();
}

int Fingering::sounded() const {
  return static_cast<int>(std::count_if(Fret.begin(), Fret.end(), [](int f) { return f >= 0; }));
}

bool Fingering::hasBarre() const {
  int ones = 0;
  for (int s = 0; s < 6; ++s) {
    if (Fret[static_cast<std::size_t>(s)] > 0 && Finger[static_cast<std::size_t>(s)] == 1) ++ones;
  }
  return ones >= 2;
}

int Fingering::fingersUsed() const {
  std::array<bool, 5> used{};
  for (int s = 0; s < 6; ++s) {
    const auto i = static_cast<std::size_t>(s);
    if (Fret[i] > 0 && Finger[i] >= 1 && Finger[i] <= 4)
      used[static_cast<std::size_t>(Finger[i])] = true;
  }
  return static_cast<int>(std::count(used.begin(), used.end(), true));
}

std::string Fingering::problem() const {
  int fretted = 0;
  for (int s = 0; s < 6; ++s) {
    const auto i = static_cast<std::size_t>(s);
    const int f = Fret[i];
    if (f < Muted || f > 22) return "fret out of range";
    if (f == Muted && Finger[i] != FingerCode::Muted) return "muted string needs finger 5";
    if (f == 0 && Finger[i] != 0) return "open string needs finger 0";
    if (f > 0) {
      ++fretted;
      if (Finger[i] < 1 || Finger[i] > 4) return "fretted note without a finger 1..4";
    }
  }
  if (sounded() < 3) return "fewer than three strings";
  if (fretted == 0) return {};
  const int low = lowestFretted();
  const int high = highestFretted();
  if (high - low > 3) return "fretted notes span more than four frets";
  if (high > 4 && low > ChordLibrary::HighestBaseFret) return "base fret above 17";
  // Fingers rise with the fret; each of 2..4 holds one note; finger 1 holds
  // one note or a barre at the lowest fret.
  int hi = 6, lo = -1, ones = 0;
  for (int a = 0; a < 6; ++a) {
    const auto ia = static_cast<std::size_t>(a);
    if (Fret[ia] <= 0) continue;
    if (Finger[ia] == 1) {
      ++ones;
      hi = std::min(hi, a);
      lo = std::max(lo, a);
    }
    for (int b = 0; b < 6; ++b) {
      const auto ib = static_cast<std::size_t>(b);
      if (b == a || Fret[ib] <= 0) continue;
      if (Fret[ib] > Fret[ia] && Finger[ib] <= Finger[ia]) return "fingers cross";
      if (Finger[ib] == Finger[ia] && Finger[ia] != 1) return "one finger on two notes";
    }
  }
  if (ones >= 2) {
    for (int s = hi; s <= lo; ++s) {
      const auto i = static_cast<std::size_t>(s);
      if (Fret[i] < low) return "open or muted string under the barre";
      if (Finger[i] == 1 && Fret[i] != low) return "barre not at the lowest fret";
    }
  }
  return {};
}

TChordFingering Fingering::record() const {
  TChordFingering r{};
  r.BaseFret = static_cast<std::uint8_t>(baseFret());
  for (int s = 0; s < 6; ++s) {
    const auto i = static_cast<std::size_t>(s);
    r.Strings[i].Fret = static_cast<std::uint8_t>(Fret[i] < 0 ? 0 : Fret[i]);
    r.Strings[i].Finger = static_cast<std::uint8_t>(Finger[i]);
  }
  return r;
}

Fingering Fingering::fromRecord(const TChordFingering& r) {
  Fingering g;
  for (int s = 0; s < 6; ++s) {
    const auto i = static_cast<std::size_t>(s);
    g.Finger[i] = r.Strings[i].Finger;
    g.Fret[i] = r.Strings[i].Finger == FingerCode::Muted ? Muted : r.Strings[i].Fret;
  }
  return g;
}

std::string Fingering::fretText() const {
  const bool wide = highestFretted() >= 10;
  std::string text;
  for (int s = 5; s >= 0; --s) {
    const int f = Fret[static_cast<std::size_t>(s)];
    if (wide && s != 5) text += ' ';
    text += f < 0 ? std::string("x") : std::to_string(f);
  }
  return text;
}

std::string Fingering::fingerText() const {
  std::string text;
  for (int s = 5; s >= 0; --s) {
    const int f = Finger[static_cast<std::size_t>(s)];
    text += f == FingerCode::Muted ? 'x' : static_cast<char>('0' + f);
  }
  return text;
}
