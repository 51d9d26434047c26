#include "render/DiagramBitmaps.h"

#include <QPainterPath>
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

void paintMark(QPainter& p, const QRect& cell, MarkShape shape) {
  p.save();
  p.fillRect(cell, Qt::white);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.translate(cell.topLeft());
  // The bitmaps are 10 pixels (small) or 5 (tiny); the small ones leave
  // their top row and left column blank.
  const bool small = cell.width() >= SmallCell;
  const QRectF disc = small ? QRectF(1, 1, 9, 9) : QRectF(0, 0, 5, 5);
  const qreal stroke = small ? 1.0 : 0.9;
  p.setPen(Qt::NoPen);
  p.setBrush(Black);
  switch (shape) {
    case MarkShape::Dot:
      p.drawEllipse(disc);
      break;
    case MarkShape::Cross: {
      p.setPen(QPen(Black, small ? 1.5 : 1.0, Qt::SolidLine, Qt::FlatCap));
      const qreal a = small ? 1.5 : 0.5, b = small ? 9.5 : 4.5;
      p.drawLine(QPointF(a, a), QPointF(b, b));
      p.drawLine(QPointF(b, a), QPointF(a, b));
      break;
    }
    case MarkShape::Hatched: {
      // The root of a scale: the ring, hatched inside.
      QPainterPath inside;
      inside.addEllipse(disc);
      p.setClipPath(inside, Qt::IntersectClip);
      p.setPen(QPen(Black, 0.6));
      for (int k = 0; k <= 18; k += 3) p.drawLine(QPointF(k + 0.5, 0), QPointF(0, k + 0.5));
      p.setClipping(false);
      [[fallthrough]];
    }
    case MarkShape::Ring:
    case MarkShape::Finger1:
    case MarkShape::Finger2:
    case MarkShape::Finger3:
    case MarkShape::Finger4: {
      p.setPen(QPen(Black, stroke));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(disc.adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2));
      if (shape >= MarkShape::Finger1) {
        const int digit = static_cast<int>(shape) - static_cast<int>(MarkShape::Finger1) + 1;
        QFont font = boldFont(7);
        fillCentredText(p, QPointF(5.5, 5.5), QString::number(digit), font, Black);
      }
      break;
    }
  }
  p.restore();
}

}  // namespace Bitmaps
