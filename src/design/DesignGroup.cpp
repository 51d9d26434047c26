#include "design/DesignGroup.h"

#include <algorithm>
#include <iterator>

#include "library/ChordLibrary.h"

namespace {
constexpr int SlotWidth = 76;
}

int DesignGroup::slotAt(int x) {
  if (x < 0) return -1;
  const int s = x / SlotWidth;
  return valid(s) ? s : -1;
}

int DesignGroup::firstHeld() const {
  for (int s = 0; s < DesignGroupSize; ++s)
    if (holds(s)) return s;
  return -1;
}

void DesignGroup::place(int s, const TChordDiagram& chord) {
  if (!valid(s)) return;
  Group[s] = chord;
}

TChordDiagram DesignGroup::takeOut(int s) {
  if (!valid(s)) return TChordDiagram{};
  TChordDiagram out = Group[s];
  Group[s].Empty = 1;
  return out;
}

DesignGroup::Written DesignGroup::landMoved(int to, int from, const TChordDiagram& moved) {
  Written w;
  if (!valid(to)) return w;
  if (valid(from) && to != from && holds(to)) {
    const int n = (from - to + DesignGroupSize) % DesignGroupSize;
    for (int k = 0; k < n; ++k) {
      const int dst = (from - k + DesignGroupSize) % DesignGroupSize;
      Group[dst] = Group[(from - k + DesignGroupSize - 1) % DesignGroupSize];
      w.Slot[static_cast<std::size_t>(w.Count++)] = dst;
    }
  }
  Group[to] = moved;
  w.Slot[static_cast<std::size_t>(w.Count++)] = to;
  return w;
}

void DesignGroup::erase(int s) {
  if (!valid(s)) return;
  Group[s].Empty = 1;
}

LibraryResult DesignGroup::fillFromLibrary(const std::string& dir, int type, int root) {
  const auto family = ChordLibrary::familyOfDictionaryIndex(type);
  if (!family) return {LibraryStatus::MissingFiles, {}};
  TChordDiagram set[DesignGroupSize];
  TChordFormula formula{};
  const LibraryResult read =
      readChordSet(dir, static_cast<int>(family->Family), family->Type, root, set, formula);
  if (read.Status != LibraryStatus::Ok) return read;
  std::copy(std::begin(set), std::end(set), Group);
  return read;
}
