#include "render/FretboardBitmaps.h"

#include <QPainter>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "music/FretboardGeometry.h"
#include "render/BitmapDrawing.h"
#include "render/DrawingFont.h"
#include "render/FretboardPainter.h"

namespace Bitmaps {
namespace {

using namespace BitmapDrawing;

// Integer hash for the wood grain: the same pattern on every machine.
std::uint32_t mix(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

int grainAt(int x, int y) {
  // Value noise stretched along the neck gives long streaks like rosewood.
  constexpr int span = 29;
  const int cell = x / span, t = x % span;
  const auto sample = [&](int c) {
    return static_cast<int>(mix(static_cast<std::uint32_t>(y * 7919 + c * 104729)) % 23) - 11;
  };
  return (sample(cell) * (span - t) + sample(cell + 1) * t) / span;
}

QColor shade(QColor c, int delta) {
  const auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
  return QColor(clamp(c.red() + delta), clamp(c.green() + delta), clamp(c.blue() + delta));
}

// ---------------------------------------------------------------- fretboard

constexpr int NeckTop = 8, NeckBottom = 109;  // binding rows
constexpr int NutLeft = 26, NutRight = 31;
constexpr int NeckEnd = 745;
constexpr int InlayFrets[] = {3, 5, 7, 9, 12, 15, 17, 19, 21};

int stringCentre(int s) {
  return StringY[s] + GlyphSize / 2;
}

void paintWood(QImage& image) {
  const QColor headstock(48, 34, 26);
  const QColor rosewood(92, 58, 38);
  for (int y = NeckTop + 1; y < NeckBottom; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x <= NeckEnd; ++x) {
      if (x >= NutLeft && x <= NutRight) continue;
      const bool head = x < NutLeft;
      const int grain = (grainAt(x, y) + grainAt(x + 13, y - 1) / 2) / (head ? 3 : 1);
      line[x] = shade(head ? headstock : rosewood, grain).rgb();
    }
  }
}

void paintNut(QPainter& p) {
  p.fillRect(NutLeft, NeckTop, NutRight - NutLeft + 1, NeckBottom - NeckTop + 1,
             QColor(238, 232, 218));
  p.fillRect(NutLeft, NeckTop, 1, NeckBottom - NeckTop + 1, QColor(200, 192, 174));
  p.fillRect(NutRight, NeckTop, 1, NeckBottom - NeckTop + 1, QColor(160, 150, 130));
}

void paintBinding(QPainter& p) {
  const QColor binding(226, 218, 200);
  p.fillRect(0, NeckTop, NeckEnd + 1, 1, binding);
  p.fillRect(0, NeckBottom, NeckEnd + 1, 1, binding);
  p.fillRect(0, NeckTop + 1, NeckEnd + 1, 1, QColor(60, 40, 28));
}

// A wire is three columns: shadow, crown, far side. On a dense screen the
// three shade into one another across the wire's device pixels, so it reads
// as a rounded wire rather than three thick stripes.
void paintFrets(QPainter& p) {
  const QColor shadow(120, 118, 112), crown(236, 236, 232), side(170, 168, 162);
  const bool exact = pixelExact(p);
  for (int f = 1; f < FretboardFretCount; ++f) {
    const int x = FretSpaceEnd[f], h = NeckBottom - NeckTop - 1;
    if (exact) {
      p.fillRect(x - 1, NeckTop + 1, 1, h, shadow);
      p.fillRect(x, NeckTop + 1, 1, h, crown);
      p.fillRect(x + 1, NeckTop + 1, 1, h, side);
      continue;
    }
    QLinearGradient wire(x - 1, 0, x + 2, 0);
    wire.setColorAt(0.0, shadow);
    wire.setColorAt(1.0 / 6, shadow);
    wire.setColorAt(0.5, crown);
    wire.setColorAt(5.0 / 6, side);
    wire.setColorAt(1.0, side);
    p.fillRect(QRectF(x - 1, NeckTop + 1, 3, h), wire);
  }
}

void paintInlays(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(190, 180, 160), 1.0));
  p.setBrush(QColor(242, 236, 224));
  const double midY = (stringCentre(2) + stringCentre(3)) / 2.0;
  for (const int f : InlayFrets) {
    const double x = (FretSpaceEnd[f - 1] + FretSpaceEnd[f]) / 2.0 + 0.5;
    const double r = f <= 12 ? 4.0 : 3.5;
    if (f == 12) {
      p.drawEllipse(QPointF(x, (stringCentre(1) + stringCentre(2)) / 2.0), r, r);
      p.drawEllipse(QPointF(x, (stringCentre(3) + stringCentre(4)) / 2.0), r, r);
    } else {
      p.drawEllipse(QPointF(x, midY), r, r);
    }
  }
  p.setRenderHint(QPainter::Antialiasing, false);
}

// Mirrored, each number is drawn back to front in its own box, so a view
// that shows the whole picture mirrored shows it the right way round.
void paintFretNumbers(QPainter& p, bool mirrored) {
  const QFont font = drawingFontPx(QStringLiteral("Ariel"), 9);
  p.setFont(font);
  p.setPen(QColor(110, 100, 88));
  for (const int f : InlayFrets) {
    const int mid = (FretSpaceEnd[f - 1] + FretSpaceEnd[f]) / 2;
    p.save();
    if (mirrored) {
      p.translate(2 * mid + 1, 0);
      p.scale(-1, 1);
    }
    p.drawText(QRect(mid - 10, NeckBottom + 2, 21, 11), Qt::AlignHCenter | Qt::AlignTop,
               QString::number(f));
    p.restore();
  }
}

// The device pixels a logical span covers on a picture of ratio r.
struct DeviceSpan {
  int first, last;
};
DeviceSpan deviceSpan(int logicalFirst, int logicalCount, qreal r) {
  return {qRound(logicalFirst * r), qRound((logicalFirst + logicalCount) * r)};
}

// Darkens (or lightens) logical row y along the neck, at every device pixel
// of it; the nut, when skipped, keeps its own colour.
void shadeRow(QImage& image, int y, int delta, bool skipNut) {
  const qreal r = image.devicePixelRatio();
  const DeviceSpan rows = deviceSpan(y, 1, r), columns = deviceSpan(0, NeckEnd + 1, r);
  const DeviceSpan nut = deviceSpan(NutLeft, NutRight - NutLeft + 1, r);
  for (int yd = rows.first; yd < rows.last && yd < image.height(); ++yd) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(yd));
    for (int xd = columns.first; xd < columns.last && xd < image.width(); ++xd)
      if (!skipNut || xd < nut.first || xd >= nut.last)
        line[xd] = shade(QColor(line[xd]), delta).rgb();
  }
}

// Strings lie across the glyph centres: two pixel rows for a plain string,
// more for the wound ones, with a dark edge so they stand out on the wood.
struct StringRow {
  int offset;  // from the string's centre row, top to bottom
  QColor colour;
};

std::vector<StringRow> stringRows(int s) {
  switch (s) {
    case 0:
      return {{-1, QColor(244, 244, 244)}, {0, QColor(150, 150, 150)}};
    case 1:
      return {{-1, QColor(240, 240, 240)}, {0, QColor(150, 150, 150)}};
    case 2:
      return {{-1, QColor(236, 236, 236)}, {0, QColor(176, 176, 176)}};
    case 3:
      return {{-2, QColor(110, 98, 80)},
              {-1, QColor(236, 222, 192)},
              {0, QColor(200, 184, 150)},
              {1, QColor(90, 78, 62)}};
    case 4:
      return {{-2, QColor(120, 106, 86)},
              {-1, QColor(238, 224, 194)},
              {0, QColor(206, 190, 156)},
              {1, QColor(90, 78, 62)}};
    default:
      // The thickest string has a dark edge above it as well.
      return {{-3, QColor(100, 88, 70)},
              {-2, QColor(226, 210, 178)},
              {-1, QColor(240, 226, 196)},
              {0, QColor(210, 194, 160)},
              {1, QColor(96, 84, 66)}};
  }
}

bool wound(int s) {
  return s >= 3;
}

// One logical pixel per row, stamped exactly.
void stampString(QImage& image, int s) {
  for (const StringRow& row : stringRows(s)) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(stringCentre(s) + row.offset));
    for (int x = 0; x <= NeckEnd; ++x) {
      // Wound strings show their winding as a faint stripe.
      const bool stripe = wound(s) && row.offset > -2 && row.offset < 1 && (x % 3) == 0;
      line[x] = (stripe ? shade(row.colour, -40) : row.colour).rgb();
    }
  }
}

// On a dense screen the rows shade into one another across the string's
// device pixels, so it looks round, and the winding is a fine slanted line.
void drawString(QPainter& p, int s) {
  const std::vector<StringRow> rows = stringRows(s);
  const int top = stringCentre(s) + rows.front().offset;
  const int height = rows.back().offset - rows.front().offset + 1;
  QLinearGradient body(0, top, 0, top + height);
  for (const StringRow& row : rows)
    body.setColorAt((row.offset - rows.front().offset + 0.5) / height, row.colour);
  p.fillRect(QRectF(0, top, NeckEnd + 1, height), body);
  if (!wound(s)) return;
  const double centre = stringCentre(s);
  p.save();
  p.setClipRect(QRectF(0, centre - 1, NeckEnd + 1, 2));
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 48));
  for (int x = 0; x <= NeckEnd; x += 3) {
    const QPointF turn[] = {
        {x + 0.0, centre - 1}, {x + 1.0, centre - 1}, {x + 1.6, centre + 1}, {x + 0.6, centre + 1}};
    p.drawPolygon(turn, 4);
  }
  p.restore();
}

void paintStrings(QImage& image) {
  const bool exact = image.devicePixelRatio() == 1;
  for (int s = 0; s < 6; ++s) {
    if (exact) {
      stampString(image, s);
    } else {
      QPainter p(&image);
      drawString(p, s);
    }
    // A shadow on the board under each string lifts it off the wood.
    shadeRow(image, stringCentre(s) + (wound(s) ? 2 : 1), -30, false);
  }
}

// The board darkens towards its edges, as a rounded neck does in side light.
void shadeNeckEdges(QImage& image) {
  const int depth[] = {-26, -16, -8};
  for (int i = 0; i < 3; ++i)
    for (const int y : {NeckTop + 2 + i, NeckBottom - 1 - i}) shadeRow(image, y, depth[i], true);
}

// ---------------------------------------------------------------- glyphs

const QColor GlyphEdge(20, 20, 20);
const QColor Green(36, 196, 64);
const QColor Red(238, 44, 40);
const QColor WhiteGlyph(250, 250, 250);
constexpr QPointF GlyphCentre(6.0, 6.0);

void glyphDot(QPainter& p, QColor fill) {
  p.setPen(QPen(GlyphEdge, 1.0));
  p.setBrush(fill);
  p.drawEllipse(GlyphCentre, 5.0, 5.0);
}

void glyphRing(QPainter& p, QColor colour) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(GlyphEdge, 4.0));
  p.drawEllipse(GlyphCentre, 4.0, 4.0);
  p.setPen(QPen(colour, 2.0));
  p.drawEllipse(GlyphCentre, 4.0, 4.0);
}

void glyphDigit(QPainter& p, QColor fill, QColor ink, int digit) {
  glyphDot(p, fill);
  fillCentredText(p, GlyphCentre + QPointF(0.0, 0.0), QString::number(digit), boldFont(9), ink);
}

void glyphCross(QPainter& p) {
  const QLineF a(2.5, 2.5, 9.5, 9.5), b(9.5, 2.5, 2.5, 9.5);
  p.setPen(QPen(GlyphEdge, 3.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(a);
  p.drawLine(b);
  p.setPen(QPen(QColor(200, 200, 200), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(a);
  p.drawLine(b);
}

}  // namespace

static QImage drawFretboard(bool mirroredText, qreal ratio) {
  QImage image = blankImage(FretboardWidth, FretboardHeight, QColor(233, 229, 222));
  paintWood(image);
  if (ratio != 1) {
    // The grain is a texture: enlarged smoothly it still reads as wood. The
    // nut and the binding go under the enlargement too, so that it blends
    // the wood into them rather than into the background; they are drawn
    // sharp over it below.
    {
      QPainter p(&image);
      paintNut(p);
      paintBinding(p);
    }
    image = image.scaled(QSize(FretboardWidth, FretboardHeight) * ratio, Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
  }
  {
    QPainter p(&image);
    paintNut(p);
    paintBinding(p);
    paintFrets(p);
    paintInlays(p);
    paintFretNumbers(p, mirroredText);
  }
  shadeNeckEdges(image);
  paintStrings(image);
  return image;
}

static QImage drawFingerStrip(qreal ratio) {
  QImage image(QSize(GlyphSize * GlyphCellCount, GlyphSize) * ratio,
               QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  const auto cell = [&](int index, auto draw) {
    p.save();
    p.translate(GlyphSize * index, 0);
    p.setClipRect(0, 0, GlyphSize, GlyphSize);
    draw();
    p.restore();
  };
  cell(GlyphCell::Cross / GlyphSize, [&] { glyphCross(p); });
  const struct {
    int dot;
    QColor fill, ink;
  } sets[] = {{GlyphCell::GreenDot, Green, White},
              {GlyphCell::RedDot, Red, White},
              {GlyphCell::WhiteDot, WhiteGlyph, Black}};
  for (const auto& set : sets) {
    const int first = set.dot / GlyphSize;
    cell(first, [&] { glyphDot(p, set.fill); });
    cell(first + 1, [&] { glyphRing(p, set.fill); });
    for (int d = 1; d <= 4; ++d) cell(first + 1 + d, [&] { glyphDigit(p, set.fill, set.ink, d); });
  }
  return image;
}

namespace {

// A ratio in hundredths: a run meets one density, or a few, and a ratio
// from a broken setting must not ask for a picture of any size.
int ratioKey(qreal ratio) {
  if (!std::isfinite(ratio) || ratio <= 0) return 100;
  return qBound(25, qRound(ratio * 100), 800);
}

template <class Draw>
QImage cachedAt(std::map<int, QImage>& cache, qreal ratio, Draw draw) {
  const int key = ratioKey(ratio);
  auto found = cache.find(key);
  if (found == cache.end()) found = cache.emplace(key, draw(key / 100.0)).first;
  return found->second;
}

}  // namespace

// The pictures never change while the program runs, so each is drawn once
// per density and handed out as a shared copy (a caller that paints on its
// copy gets its own).
QImage fretboard(bool mirroredText, qreal ratio) {
  static std::map<int, QImage> plain, mirrored;
  return cachedAt(mirroredText ? mirrored : plain, ratio,
                  [&](qreal r) { return drawFretboard(mirroredText, r); });
}

void drawCapo(QImage& guitar) {
  // A rubber-padded bar across every string, just past the nut, where a
  // player clamps it.
  QPainter p(&guitar);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRectF bar(NutRight + 3.5, NeckTop - 2.5, 9, NeckBottom - NeckTop + 5);
  p.setPen(QPen(QColor(20, 20, 20), 1));
  p.setBrush(QColor(45, 45, 48));
  p.drawRoundedRect(bar, 3, 3);
  p.setPen(QPen(QColor(150, 150, 155), 1));
  p.drawLine(QPointF(bar.left() + 2.5, bar.top() + 3), QPointF(bar.left() + 2.5, bar.bottom() - 3));
}

QImage mirroredGlyphCells(const QImage& strip) {
  QImage mirrored = strip.copy();
  QPainter p(&mirrored);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  // Cells are found by their logical place, whatever the strip's density.
  const QSizeF size = strip.deviceIndependentSize();
  const int width = qRound(size.width()), height = qRound(size.height());
  for (int x = 0; x + GlyphSize <= width; x += GlyphSize)
    p.drawImage(QPoint(x, 0),
                copyLogical(strip, QRect(x, 0, GlyphSize, height)).mirrored(true, false));
  return mirrored;
}

QImage fingerStrip(qreal ratio) {
  static std::map<int, QImage> strips;
  return cachedAt(strips, ratio, drawFingerStrip);
}

}  // namespace Bitmaps
