#include "pages/Transpose.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "design/HandCost.h"
#include "music/ChordAnalysis.h"
#include "music/DiagramConvert.h"
#include "music/Tuning.h"

namespace {

constexpr int HighestFret = 22;
constexpr double MiddleOfNeck = 7.0;

// The shape moved by `shift` frets, when it stays on the neck and no open
// string would have to move.
std::optional<TChordDiagram> shifted(const TChordDiagram& d, int shift) {
  TChordDiagram out = d;
  for (int s = 0; s < 6; ++s) {
    const TStringFinger& f = d.Strings[s];
    if (f.Finger == FingerCode::Muted) continue;
    if (f.Fret == 0) return std::nullopt;
    const int fret = f.Fret + shift;
    if (fret < 1 || fret > HighestFret) return std::nullopt;
    out.Strings[s].Fret = static_cast<std::uint8_t>(fret);
  }
  out.BaseFret = static_cast<std::uint8_t>(baseFretFor(out));
  soundNotes(out);
  return out;
}

}  // namespace

TransposedChord transposeChord(const TChordDiagram& chord, int steps, LibraryFingerings& library) {
  const int n = ((steps % 12) + 12) % 12;
  TransposedChord r{chord, false, true};
  if (n == 0 || isEmpty(chord)) return r;
  TChordDiagram moved = chord;
  moved.Root = static_cast<std::uint8_t>((chord.Root % 12 + n) % 12);
  moved.Bass = static_cast<std::uint8_t>(24 + (chord.Bass % 12 + n) % 12);

  // The library's fingerings are for standard tuning; a chord in another
  // tuning only moves as a shape.
  const bool standard =
      std::equal(std::begin(chord.Tuning), std::end(chord.Tuning), StandardTuning.begin());
  const std::array<TChordDiagram, 6>* from = standard ? library.of(chord) : nullptr;
  const std::array<TChordDiagram, 6>* to = standard ? library.of(moved) : nullptr;
  if (from && to)
    for (std::size_t k = 0; k < from->size(); ++k)
      if (sameFingering((*from)[k], chord)) {
        r.Chord = refingered(moved, (*to)[k]);
        return r;
      }

  // By hand: up n frets or down 12 - n, whichever keeps the hand nearer
  // where it was; half an octave either way goes towards the middle of the
  // neck, so that two such steps bring the shape back where it was.
  std::optional<TChordDiagram> up = shifted(moved, n), down = shifted(moved, n - 12);
  if (up && down) {
    const bool tie = n == 6;
    const bool goUp = tie ? handPosition(chord.Strings).value_or(0.0) < MiddleOfNeck : n < 6;
    r.Chord = goUp ? *up : *down;
    return r;
  }
  if (up || down) {
    r.Chord = up ? *up : *down;
    return r;
  }
  if (!to) {
    r.Moved = false;
    return r;
  }
  const double was = handPosition(chord.Strings).value_or(0.0);
  double best = std::numeric_limits<double>::infinity();
  for (const TChordDiagram& d : *to) {
    const double distance = std::abs(handPosition(d.Strings).value_or(0.0) - was);
    if (distance < best) {
      best = distance;
      r.Chord = refingered(moved, d);
    }
  }
  r.ShapeChanged = true;
  return r;
}

TransposeReport transposePage(PageContents& page, int steps, LibraryFingerings& library) {
  TransposeReport report;
  const int n = ((steps % 12) + 12) % 12;
  // True when `d` moved; a chord that cannot move keeps every byte.
  auto chord = [&](TChordDiagram& d, int number) {
    if (isEmpty(d)) return false;
    const TransposedChord t = transposeChord(d, n, library);
    if (!t.Moved) {
      report.NotMoved.push_back(number);
      return false;
    }
    d = t.Chord;
    ++report.Moved;
    if (t.ShapeChanged) report.ShapeChanged.push_back(number);
    return true;
  };
  switch (page.Kind) {
    case PageKind::Play:
      for (int r = 0; r < PlayPageRows; ++r)
        for (int c = 0; c < PlayPageColumns; ++c)
          chord(page.PlayPage[c][r], r * PlayPageColumns + c);
      break;
    case PageKind::Design:
      for (int s = 0; s < DesignGroupSize; ++s) chord(page.DesignGroup[s], s);
      break;
    case PageKind::Print:
      for (int r = 0; r < PrintPageRows; ++r)
        for (int c = 0; c < PrintPageColumns; ++c) {
          TPrintDiagram& item = page.PrintPage[c][r];
          if (isEmpty(item)) continue;
          if (!item.IsChord) {
            item.Root = static_cast<std::uint8_t>((item.Root % 12 + n) % 12);
            ++report.Moved;
            continue;
          }
          TChordDiagram d{};
          printItemToChord(item, d);
          if (chord(d, r * PrintPageColumns + c)) chordToPrintItem(d, item);
        }
      break;
    default:
      break;
  }
  return report;
}
