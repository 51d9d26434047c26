#include "render/DiagramBitmaps.h"

#include <array>

#include "render/BitmapDrawing.h"

namespace Bitmaps {
namespace {

using namespace BitmapDrawing;

// 'x' is black.
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

void stampDigit(QImage& image, int left, int digit) {
  const auto& rows = SmallDigits[static_cast<std::size_t>(digit - 1)];
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 3; ++x)
      if (rows[y][x] == 'x') image.setPixel(left + 4 + x, 3 + y, Black.rgb());
}

}  // namespace

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

}  // namespace Bitmaps
