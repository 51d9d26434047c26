#include "render/FretboardPainter.h"

#include <QPainter>

namespace {

int fingerIndex(int finger) {
  return finger >= 0 && finger <= FingerCode::Fretted ? finger : FingerCode::Fretted;
}

bool onNeck(int s, int f) {
  return s >= 0 && s < FretboardStringCount && f >= 0 && f < FretboardFretCount;
}

}  // namespace

int chordGlyphCell(int finger, bool root) {
  return fingerGlyphCell(root ? GlyphCell::RedDot : GlyphCell::GreenDot, fingerIndex(finger));
}

int strikeGlyphCell(int finger) {
  return fingerGlyphCell(GlyphCell::WhiteDot, fingerIndex(finger));
}

void drawFretboardGlyph(QImage& guitar, const QImage& strip, int cellX, int s, int f) {
  if (!onNeck(s, f) || cellX < 0 || cellX % GlyphSize != 0 || cellX + GlyphSize > strip.width() ||
      strip.height() < GlyphSize)
    return;
  QPainter p(&guitar);
  p.drawImage(QPoint(FretX[f], StringY[s]), strip, QRect(cellX, 0, GlyphSize, GlyphSize));
}

void drawArpeggioBox(QImage& guitar, int s, int f, QColor pen) {
  if (!onNeck(s, f)) return;
  // The box covers one pixel more than the glyph on every side.
  const int left = FretX[f] - 1, top = StringY[s] - 1, size = GlyphSize + 2;
  QPainter p(&guitar);
  p.fillRect(left, top, size, 1, pen);
  p.fillRect(left, top + size - 1, size, 1, pen);
  p.fillRect(left, top, 1, size, pen);
  p.fillRect(left + size - 1, top, 1, size, pen);
}

void drawScaleMarks(QImage& guitar, const QImage& strip, const TScaleDiagram& scale) {
  const int root = scale.Root % 12;
  for (int s = 0; s < FretboardStringCount; ++s) {
    for (int j = 0; j < FretboardFretCount; ++j) {
      const int pitch = (scale.Tuning[s] + j) % 12;
      for (const std::uint8_t entry : scale.Intervals) {
        if (entry == ScaleIntervalEnd) break;
        if ((entry + root) % 12 != pitch) continue;
        const bool open = j == 0;
        const int cell = pitch == root ? (open ? GlyphCell::RedRing : GlyphCell::RedDot)
                                       : (open ? GlyphCell::GreenRing : GlyphCell::GreenDot);
        drawFretboardGlyph(guitar, strip, cell, s, j);
        break;
      }
    }
  }
}
