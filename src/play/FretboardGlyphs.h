#pragma once

#include "music/Records.h"

// The glyph strip laid over the big fretboard: twenty 12 x 12 cells side by
// side, addressed by the x of a cell's left edge. Cell 0 is blank and cell 1
// the grey cross of a muted string; then come a green, a red and a white set,
// each a plain dot, a ring and the digits 1 to 4. Chords use the green set
// (red where a string sounds the root); playback strikes use the white set.
inline constexpr int GlyphSize = 12;
inline constexpr int GlyphCellCount = 20;
inline constexpr int GlyphSetLength = 6;  // dot, ring, digits 1..4

namespace GlyphCell {
inline constexpr int Blank = 0;
inline constexpr int Cross = GlyphSize;
inline constexpr int GreenDot = 2 * GlyphSize;
inline constexpr int GreenRing = GreenDot + GlyphSize;
inline constexpr int RedDot = GreenDot + GlyphSetLength * GlyphSize;
inline constexpr int RedRing = RedDot + GlyphSize;
inline constexpr int WhiteDot = RedDot + GlyphSetLength * GlyphSize;
inline constexpr int WhiteRing = WhiteDot + GlyphSize;
}  // namespace GlyphCell

// The cell of finger code 0..6 (see FingerCode) in the set whose plain dot lies at setDot:
// the ring for an open string, the digit for a finger, the grey cross for a
// muted string.
constexpr int fingerGlyphCell(int setDot, int finger) {
  if (finger == FingerCode::Muted) return GlyphCell::Cross;
  if (finger == FingerCode::Fretted) return setDot;
  return setDot + GlyphSize * (finger + 1);
}
