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
  // Cells are counted in logical pixels, whatever the strip's density.
  const QSizeF stripSize = strip.deviceIndependentSize();
  if (!onNeck(s, f) || cellX < 0 || cellX % GlyphSize != 0 ||
      cellX + GlyphSize > qRound(stripSize.width()) || qRound(stripSize.height()) < GlyphSize)
    return;
  const qreal r = strip.devicePixelRatio();
  QPainter p(&guitar);
  // A strip drawn for another density is scaled smoothly, never in blocks.
  p.setRenderHint(QPainter::SmoothPixmapTransform, r != guitar.devicePixelRatio());
  p.drawImage(QRectF(FretX[f], StringY[s], GlyphSize, GlyphSize), strip,
              QRectF(cellX * r, 0, GlyphSize * r, GlyphSize * r));
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
