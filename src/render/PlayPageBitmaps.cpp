#include "render/PlayPageBitmaps.h"

#include <array>

#include "play/PlayPageGeometry.h"
#include "render/BitmapDrawing.h"

namespace Bitmaps {
namespace {

using namespace BitmapDrawing;

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

// The staff row is drawn at the page's staff left, its slashes where the
// page puts the beat slashes.
constexpr int BeatSlashX = PlayGeometry::PieceLeft - PlayGeometry::StaffLeft;
constexpr int BeatSlashPitch = 2 * PlayGeometry::ColumnPitch;

QImage drawPlayImage(PlayImage id) {
  switch (id) {
    case PlayImage::FourFour: {
      QImage image = staff(768);
      timeSignature(image, 4, 4);
      for (int k = 0; k < 6; ++k) slash(image, BeatSlashX + BeatSlashPitch * k, Black);
      return image;
    }
    case PlayImage::ThreeFour: {
      QImage image = staff(14);
      timeSignature(image, 3, 4);
      return image;
    }
    case PlayImage::BarLine:
      return blankImage(1, StaffHeight, Black);
    case PlayImage::BlackSlash:
    case PlayImage::RedSlash: {
      QImage image = staff(28);
      slash(image, 0, id == PlayImage::RedSlash ? QColor(255, 0, 0) : Black);
      return image;
    }
    case PlayImage::StepArrow: {
      QImage image = staff(28);
      QPainter p(&image);
      p.setRenderHint(QPainter::Antialiasing, true);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0, 0, 220));
      const QPointF arrow[] = {{3, 14}, {15, 14}, {15, 8}, {26, 16.5}, {15, 25}, {15, 19}, {3, 19}};
      p.drawPolygon(arrow, 7);
      return image;
    }
    case PlayImage::PlayCursor: {
      QImage image = staff(8);
      QPainter p(&image);
      p.setRenderHint(QPainter::Antialiasing, true);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0, 150, 0));
      const QPointF mark[] = {{0.0, 8.0}, {7.0, 16.5}, {0.0, 25.0}};
      p.drawPolygon(mark, 3);
      return image;
    }
    case PlayImage::PlayErase:
      return staff(8);
    case PlayImage::PlayLoop: {
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
    case PlayImage::Return: {
      QImage image = staff(8);
      bar(image, 0, 2);
      bar(image, 3, 1);
      repeatDots(image, 5);
      return image;
    }
    case PlayImage::Repeat: {
      QImage image = staff(8);
      repeatDots(image, 1);
      bar(image, 4, 1);
      bar(image, 6, 2);
      return image;
    }
  }
  return {};
}

}  // namespace

QImage playImage(PlayImage id) {
  static const std::array<QImage, PlayImageCount> images = [] {
    std::array<QImage, PlayImageCount> all;
    for (int i = 0; i < PlayImageCount; ++i) all[i] = drawPlayImage(static_cast<PlayImage>(i));
    return all;
  }();
  const int i = static_cast<int>(id);
  return i >= 0 && i < PlayImageCount ? images[static_cast<std::size_t>(i)] : QImage();
}

}  // namespace Bitmaps
