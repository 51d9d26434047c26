#include "pages/render/Bitmaps.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "pages/render/DrawingFont.h"
#include "pages/render/FretboardPainter.h"

namespace Bitmaps {
namespace {

const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);

QImage blankImage(int w, int h, QColor fill = White) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

QImage transparentImage(int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

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

// A glyph of text centred on a point, as a path so that its placement does
// not depend on the font's line spacing.
void fillCentredText(QPainter& p, QPointF centre, const QString& text, const QFont& font,
                     QColor colour) {
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF box = path.boundingRect();
  path.translate(centre - box.center());
  p.fillPath(path, colour);
}

QFont boldFont(int pixelSize) {
  QFont font = drawingFontPx(QStringLiteral("Ariel"), pixelSize);
  font.setBold(true);
  return font;
}

// ---------------------------------------------------------------- fretboard

constexpr int NeckTop = 8, NeckBottom = 109;  // binding rows
constexpr int NutLeft = 26, NutRight = 31;
constexpr int NeckEnd = 745;
// The wire closing each fret space (the nut closes space 0). They lie on the
// borders of the pointer's fret bands, so a press lands in the fret space it
// seems to, and each glyph column sits just behind its wire.
constexpr int FretWire[23] = {30,  81,  134, 184, 230, 273, 317, 355, 394, 429, 462, 495,
                              523, 551, 578, 602, 627, 649, 668, 690, 709, 727, 744};
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

void paintFrets(QPainter& p) {
  for (int f = 1; f < 23; ++f) {
    const int x = FretWire[f], h = NeckBottom - NeckTop - 1;
    p.fillRect(x - 1, NeckTop + 1, 1, h, QColor(120, 118, 112));
    p.fillRect(x, NeckTop + 1, 1, h, QColor(236, 236, 232));
    p.fillRect(x + 1, NeckTop + 1, 1, h, QColor(170, 168, 162));
  }
}

void paintInlays(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(190, 180, 160), 1.0));
  p.setBrush(QColor(242, 236, 224));
  const double midY = (stringCentre(2) + stringCentre(3)) / 2.0;
  for (const int f : InlayFrets) {
    const double x = (FretWire[f - 1] + FretWire[f]) / 2.0 + 0.5;
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

void paintFretNumbers(QPainter& p) {
  const QFont font = drawingFontPx(QStringLiteral("Ariel"), 9);
  p.setFont(font);
  p.setPen(QColor(110, 100, 88));
  for (const int f : InlayFrets) {
    const int mid = (FretWire[f - 1] + FretWire[f]) / 2;
    p.drawText(QRect(mid - 10, NeckBottom + 2, 21, 11), Qt::AlignHCenter | Qt::AlignTop,
               QString::number(f));
  }
}

// Strings lie across the glyph centres: two pixel rows for a plain string,
// more for the wound ones, with a dark edge so they stand out on the wood.
void paintStrings(QImage& image) {
  struct Row {
    int offset;
    QColor colour;
  };
  const std::array<std::array<Row, 4>, 6> strings = {{
      {{{-1, QColor(244, 244, 244)}, {0, QColor(150, 150, 150)}, {0, {}}, {0, {}}}},
      {{{-1, QColor(240, 240, 240)}, {0, QColor(150, 150, 150)}, {0, {}}, {0, {}}}},
      {{{-1, QColor(236, 236, 236)}, {0, QColor(176, 176, 176)}, {0, {}}, {0, {}}}},
      {{{-2, QColor(110, 98, 80)},
        {-1, QColor(236, 222, 192)},
        {0, QColor(200, 184, 150)},
        {1, QColor(90, 78, 62)}}},
      {{{-2, QColor(120, 106, 86)},
        {-1, QColor(238, 224, 194)},
        {0, QColor(206, 190, 156)},
        {1, QColor(90, 78, 62)}}},
      {{{-2, QColor(226, 210, 178)},
        {-1, QColor(240, 226, 196)},
        {0, QColor(210, 194, 160)},
        {1, QColor(96, 84, 66)}}},
  }};
  for (int s = 0; s < 6; ++s) {
    const bool wound = s >= 3;
    for (const Row& row : strings[s]) {
      if (!row.colour.isValid()) continue;
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(stringCentre(s) + row.offset));
      for (int x = 0; x <= NeckEnd; ++x) {
        // Wound strings show their winding as a faint stripe.
        const bool stripe = wound && row.offset > -2 && row.offset < 1 && (x % 3) == 0;
        line[x] = (stripe ? shade(row.colour, -40) : row.colour).rgb();
      }
    }
    if (s == 5) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(stringCentre(s) - 3));
      for (int x = 0; x <= NeckEnd; ++x) line[x] = QColor(100, 88, 70).rgb();
    }
    // A shadow on the board under each string lifts it off the wood.
    auto* below = reinterpret_cast<QRgb*>(image.scanLine(stringCentre(s) + (wound ? 2 : 1)));
    for (int x = 0; x <= NeckEnd; ++x) below[x] = shade(QColor(below[x]), -30).rgb();
  }
}

// The board darkens towards its edges, as a rounded neck does in side light.
void shadeNeckEdges(QImage& image) {
  const int depth[] = {-26, -16, -8};
  for (int i = 0; i < 3; ++i)
    for (const int y : {NeckTop + 2 + i, NeckBottom - 1 - i}) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x <= NeckEnd; ++x)
        if (x < NutLeft || x > NutRight) line[x] = shade(QColor(line[x]), depth[i]).rgb();
    }
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

// ---------------------------------------------------------------- small marks

// Marks are pixel patterns, so they stay crisp at their size and print as
// clean black on white; 'x' is black.
using Pattern10 = std::array<const char*, 10>;
using Pattern5 = std::array<const char*, 5>;

const Pattern10 SmallDot = {"..........", "...xxxxx..", "..xxxxxxx.", ".xxxxxxxxx", ".xxxxxxxxx",
                            ".xxxxxxxxx", ".xxxxxxxxx", ".xxxxxxxxx", "..xxxxxxx.", "...xxxxx.."};
const Pattern10 SmallRing = {"..........", "...xxxxx..", "..x.....x.", ".x.......x", ".x.......x",
                             ".x.......x", ".x.......x", ".x.......x", "..x.....x.", "...xxxxx.."};
const Pattern10 SmallCross = {"..........", ".x.......x", ".xx.....xx", "..xx...xx.", "...xx.xx..",
                              "....xxx...", "...xx.xx..", "..xx...xx.", ".xx.....xx", ".x.......x"};
// Digits 1 to 4, three pixels wide and five high, set inside the ring.
const std::array<std::array<const char*, 5>, 4> SmallDigits = {{
    {".x.", "xx.", ".x.", ".x.", "xxx"},
    {"xx.", "..x", ".x.", "x..", "xxx"},
    {"xx.", "..x", ".x.", "..x", "xx."},
    {"x.x", "x.x", "xxx", "..x", "..x"},
}};

const Pattern5 TinyDot = {".xxx.", "xxxxx", "xxxxx", "xxxxx", ".xxx."};
const Pattern5 TinyRing = {".xxx.", "x...x", "x...x", "x...x", ".xxx."};
const Pattern5 TinyCross = {"x...x", ".x.x.", "..x..", ".x.x.", "x...x"};

template <std::size_t N>
void stamp(QImage& image, int left, int top, const std::array<const char*, N>& rows) {
  for (std::size_t y = 0; y < N; ++y)
    for (int x = 0; rows[y][x] != '\0'; ++x)
      if (rows[y][x] == 'x') image.setPixel(left + x, top + static_cast<int>(y), Black.rgb());
}

void stampDigit(QImage& image, int left, int digit) {
  const auto& rows = SmallDigits[static_cast<std::size_t>(digit - 1)];
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 3; ++x)
      if (rows[y][x] == 'x') image.setPixel(left + 4 + x, 3 + y, Black.rgb());
}

// ---------------------------------------------------------------- staff

// Five staff lines on rows 0, 8, 16, 24 and 32.
QImage staff(int width) {
  QImage image = blankImage(width, StaffHeight);
  for (int y = 0; y < StaffHeight; y += 8)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, Black.rgb());
  return image;
}

// A rhythm slash: a slanted bar across the middle of the staff.
void slash(QImage& image, int left, QColor colour) {
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  const QPointF poly[] = {
      {left + 7.0, 25.0}, {left + 13.0, 25.0}, {left + 21.0, 8.0}, {left + 15.0, 8.0}};
  p.drawPolygon(poly, 4);
}

void timeSignature(QImage& image, int top, int bottom) {
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QFont font = boldFont(21);
  fillCentredText(p, QPointF(7.0, 8.5), QString::number(top), font, Black);
  fillCentredText(p, QPointF(7.0, 24.5), QString::number(bottom), font, Black);
}

void repeatDots(QImage& image, int left) {
  for (const int top : {11, 19})
    for (int y = top; y < top + 3; ++y)
      for (int x = left; x < left + 2; ++x) image.setPixel(x, y, Black.rgb());
}

void bar(QImage& image, int left, int width) {
  for (int y = 0; y < StaffHeight; ++y)
    for (int x = left; x < left + width; ++x) image.setPixel(x, y, Black.rgb());
}

constexpr int BeatSlashX = 36;  // first slash in the staff row, then every 126
constexpr int BeatSlashPitch = 126;

}  // namespace

static QImage drawFretboard() {
  QImage image = blankImage(FretboardWidth, FretboardHeight, QColor(233, 229, 222));
  paintWood(image);
  {
    QPainter p(&image);
    paintNut(p);
    paintBinding(p);
    paintFrets(p);
    paintInlays(p);
    paintFretNumbers(p);
  }
  shadeNeckEdges(image);
  paintStrings(image);
  return image;
}

static QImage drawFingerStrip() {
  QImage image = transparentImage(GlyphSize * GlyphCellCount, GlyphSize);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  const auto cell = [&](int index, auto draw) {
    p.save();
    p.translate(GlyphSize * index, 0);
    p.setClipRect(0, 0, GlyphSize, GlyphSize);
    draw();
    p.restore();
  };
  cell(1, [&] { glyphCross(p); });
  const struct {
    int first;
    QColor fill, ink;
  } sets[] = {{2, Green, White}, {8, Red, White}, {14, WhiteGlyph, Black}};
  for (const auto& set : sets) {
    cell(set.first, [&] { glyphDot(p, set.fill); });
    cell(set.first + 1, [&] { glyphRing(p, set.fill); });
    for (int d = 1; d <= 4; ++d)
      cell(set.first + 1 + d, [&] { glyphDigit(p, set.fill, set.ink, d); });
  }
  return image;
}

QImage smallFret() {
  QImage image = blankImage(SmallFretWidth, SmallFretHeight);
  for (int x = 21; x <= 96; x += 15)
    for (int y = 17; y <= 119; ++y) image.setPixel(x, y, Black.rgb());
  for (int y = 17; y <= 119; y += 17)
    for (int x = 21; x <= 96; ++x) image.setPixel(x, y, Black.rgb());
  return image;
}

QImage smallMark() {
  QImage image = blankImage(4 * SmallCell, SmallCell);
  stamp(image, 0, 0, SmallDot);
  stamp(image, 10, 0, SmallRing);
  stamp(image, 20, 0, SmallCross);
  // The root of a scale: the ring, hatched inside.
  for (int y = 0; y < SmallCell; ++y)
    for (int x = 0; x < SmallCell; ++x)
      if (SmallRing[y][x] == 'x' || (SmallDot[y][x] == 'x' && (x + y) % 3 == 0))
        image.setPixel(30 + x, y, Black.rgb());
  return image;
}

QImage smallNumb() {
  QImage image = blankImage(7 * SmallCell, SmallCell);
  stamp(image, 0, 0, SmallRing);
  for (int d = 1; d <= 4; ++d) {
    stamp(image, 10 * d, 0, SmallRing);
    stampDigit(image, 10 * d, d);
  }
  stamp(image, 50, 0, SmallCross);
  stamp(image, 60, 0, SmallDot);
  return image;
}

QImage tinyFret() {
  QImage image = blankImage(TinyFretWidth, TinyFretHeight);
  for (int x = 10; x <= 55; x += 9)
    for (int y = 6; y <= 60; ++y) image.setPixel(x, y, Black.rgb());
  for (int y = 6; y <= 60; y += 9)
    for (int x = 10; x <= 55; ++x) image.setPixel(x, y, Black.rgb());
  return image;
}

QImage tinyMark() {
  QImage image = blankImage(3 * TinyCell, TinyCell);
  stamp(image, 0, 0, TinyDot);
  stamp(image, 5, 0, TinyRing);
  stamp(image, 10, 0, TinyCross);
  return image;
}

static QImage drawPlayImage(std::string_view name) {
  if (name == "FOURFOUR") {
    QImage image = staff(768);
    timeSignature(image, 4, 4);
    for (int k = 0; k < 6; ++k) slash(image, BeatSlashX + BeatSlashPitch * k, Black);
    return image;
  }
  if (name == "TREEFOUR") {
    QImage image = staff(14);
    timeSignature(image, 3, 4);
    return image;
  }
  if (name == "BARLINE") return blankImage(1, StaffHeight, Black);
  if (name == "BLAKSLAS" || name == "REDSLASH") {
    QImage image = staff(28);
    slash(image, 0, name == "REDSLASH" ? QColor(255, 0, 0) : Black);
    return image;
  }
  if (name == "STEPARRW") {
    QImage image = staff(28);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 220));
    const QPointF arrow[] = {{3, 14}, {15, 14}, {15, 8}, {26, 16.5}, {15, 25}, {15, 19}, {3, 19}};
    p.drawPolygon(arrow, 7);
    return image;
  }
  if (name == "PLAYCURS") {
    QImage image = staff(8);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 150, 0));
    const QPointF mark[] = {{0.0, 8.0}, {7.0, 16.5}, {0.0, 25.0}};
    p.drawPolygon(mark, 3);
    return image;
  }
  if (name == "PLAYERAS") return staff(8);
  if (name == "PLAYLOOP") {
    QImage image = staff(8);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // A circular arrow: playback goes round from here.
    const QColor blue(0, 0, 220);
    p.setPen(QPen(blue, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(0.75, 12.75, 5.5, 7.0), 60 * 16, 300 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    const QPointF head[] = {{2.8, 10.0}, {6.9, 12.8}, {2.8, 15.4}};
    p.drawPolygon(head, 3);
    return image;
  }
  if (name == "RETURN") {
    QImage image = staff(8);
    bar(image, 0, 2);
    bar(image, 3, 1);
    repeatDots(image, 5);
    return image;
  }
  if (name == "REPEAT") {
    QImage image = staff(8);
    repeatDots(image, 1);
    bar(image, 4, 1);
    bar(image, 6, 2);
    return image;
  }
  return {};
}

QImage cursorImage(int number) {
  if (number != CursorFret && number != CursorMove) return {};
  QImage image = transparentImage(32, 32);
  QPainter p(&image);
  // The arrow, black with a white rim, tip at the hot spot (0, 0).
  const QPoint arrow[] = {{0, 0}, {0, 15}, {4, 11}, {7, 18}, {9, 17}, {6, 10}, {11, 10}};
  p.setPen(White);
  p.setBrush(Black);
  p.drawPolygon(arrow, 7);
  if (number == CursorFret) {
    // A little chord box: a diagram is in hand. Filled rectangles only, so
    // every line falls on whole pixels.
    const int left = 14, top = 12;
    p.fillRect(left, top, 14, 18, Black);
    p.fillRect(left + 1, top + 1, 12, 16, White);
    for (int x = left + 2; x <= left + 11; x += 3) p.fillRect(x, top + 2, 1, 14, Black);
    for (int y = top + 3; y <= top + 15; y += 4) p.fillRect(left + 2, y, 10, 1, Black);
    p.fillRect(left + 2, top + 2, 10, 1, Black);  // the nut, doubled
    for (const QPoint dot :
         {QPoint(left + 5, top + 5), QPoint(left + 11, top + 9), QPoint(left + 8, top + 9)})
      p.fillRect(dot.x() - 1, dot.y() - 1, 3, 3, Black);
  } else {
    // Four arrows: the diagram is being moved.
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c(21.5, 21.5);
    p.setPen(QPen(White, 4.0));
    p.drawLine(QPointF(c.x() - 8, c.y()), QPointF(c.x() + 8, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - 8), QPointF(c.x(), c.y() + 8));
    p.setPen(QPen(Black, 1.6));
    p.drawLine(QPointF(c.x() - 8, c.y()), QPointF(c.x() + 8, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - 8), QPointF(c.x(), c.y() + 8));
    p.setPen(QPen(White, 1.0));
    p.setBrush(Black);
    for (int k = 0; k < 4; ++k) {
      p.save();
      p.translate(c);
      p.rotate(90.0 * k);
      const QPointF head[] = {{10.0, 0.0}, {5.5, -4.0}, {5.5, 4.0}};
      p.drawPolygon(head, 3);
      p.restore();
    }
  }
  return image;
}

QCursor cursor(int number) {
  const QImage image = cursorImage(number);
  if (image.isNull()) return QCursor(Qt::ArrowCursor);
  return QCursor(QPixmap::fromImage(image), 0, 0);
}


// The pictures never change while the program runs, so each is drawn once and
// handed out as a shared copy (a caller that paints on its copy gets its own).
QImage fretboard() {
  static const QImage image = drawFretboard();
  return image;
}

QImage fingerStrip() {
  static const QImage image = drawFingerStrip();
  return image;
}

QImage playImage(std::string_view name) {
  static const std::map<std::string, QImage, std::less<>> images = [] {
    std::map<std::string, QImage, std::less<>> all;
    for (const char* n : {"FOURFOUR", "TREEFOUR", "BARLINE", "BLAKSLAS", "REDSLASH", "STEPARRW",
                          "PLAYCURS", "PLAYERAS", "PLAYLOOP", "RETURN", "REPEAT"})
      all.emplace(n, drawPlayImage(n));
    return all;
  }();
  const auto it = images.find(name);
  return it == images.end() ? QImage() : it->second;
}

}  // namespace Bitmaps
