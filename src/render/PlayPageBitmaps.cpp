#include "render/PlayPageBitmaps.h"

#include <array>

#include "play/PlayPageGeometry.h"
#include "render/BitmapDrawing.h"

namespace Bitmaps {
namespace {

using namespace BitmapDrawing;

// The pieces are painted at a point of any painter: the cached bitmaps are
// painted so at a pixel each, and dense screens and paper get them drawn.

// Five staff lines on rows 0, 8, 16, 24 and 32 over white.
void staff(QPainter& p, int width) {
  p.fillRect(0, 0, width, StaffHeight, White);
  for (int y = 0; y < StaffHeight; y += 8) fillCrisp(p, QRect(0, y, width, 1), Black);
}

// A rhythm slash: a slanted bar across the middle of the staff.
void slash(QPainter& p, int left, QColor colour) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  const QPointF poly[] = {
      {left + 7.0, 25.0}, {left + 13.0, 25.0}, {left + 21.0, 8.0}, {left + 15.0, 8.0}};
  p.drawPolygon(poly, 4);
  p.restore();
}

void timeSignature(QPainter& p, int top, int bottom) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  const QFont font = boldFont(21);
  fillCentredText(p, QPointF(7.0, 8.5), QString::number(top), font, Black);
  fillCentredText(p, QPointF(7.0, 24.5), QString::number(bottom), font, Black);
  p.restore();
}

void repeatDots(QPainter& p, int left) {
  for (const int top : {11, 19}) fillCrisp(p, QRect(left, top, 2, 3), Black);
}

void bar(QPainter& p, int left, int width) {
  fillCrisp(p, QRect(left, 0, width, StaffHeight), Black);
}

void polygon(QPainter& p, QColor colour, const QPointF* points, int count) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPolygon(points, count);
  p.restore();
}

// The staff row is drawn at the page's staff left, its slashes where the
// page puts the beat slashes.
constexpr int BeatSlashX = PlayGeometry::PieceLeft - PlayGeometry::StaffLeft;
constexpr int BeatSlashPitch = 2 * PlayGeometry::ColumnPitch;

// Paints piece `id` with its top-left corner at the painter's origin.
void paintPiece(QPainter& p, PlayImage id) {
  switch (id) {
    case PlayImage::FourFour:
      staff(p, 768);
      timeSignature(p, 4, 4);
      for (int k = 0; k < 6; ++k) slash(p, BeatSlashX + BeatSlashPitch * k, Black);
      return;
    case PlayImage::ThreeFour:
      staff(p, 14);
      timeSignature(p, 3, 4);
      return;
    case PlayImage::BarLine:
      bar(p, 0, 1);
      return;
    case PlayImage::BlackSlash:
    case PlayImage::RedSlash:
      staff(p, 28);
      slash(p, 0, id == PlayImage::RedSlash ? QColor(255, 0, 0) : Black);
      return;
    case PlayImage::StepArrow: {
      staff(p, 28);
      const QPointF arrow[] = {{3, 14}, {15, 14}, {15, 8}, {26, 16.5}, {15, 25}, {15, 19}, {3, 19}};
      polygon(p, QColor(0, 0, 220), arrow, 7);
      return;
    }
    case PlayImage::PlayCursor: {
      staff(p, 8);
      const QPointF mark[] = {{0.0, 8.0}, {7.0, 16.5}, {0.0, 25.0}};
      polygon(p, QColor(0, 150, 0), mark, 3);
      return;
    }
    case PlayImage::PlayErase:
      staff(p, 8);
      return;
    case PlayImage::PlayLoop: {
      staff(p, 8);
      p.save();
      p.setRenderHint(QPainter::Antialiasing, true);
      // A circular arrow: playback goes round from here.
      const QColor blue(0, 0, 220);
      p.setPen(QPen(blue, 1.5));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(0.75, 12.75, 5.5, 7.0), 60 * 16, 300 * 16);
      p.restore();
      const QPointF head[] = {{2.8, 10.0}, {6.9, 12.8}, {2.8, 15.4}};
      polygon(p, blue, head, 3);
      return;
    }
    case PlayImage::Return:
      staff(p, 8);
      bar(p, 0, 2);
      bar(p, 3, 1);
      repeatDots(p, 5);
      return;
    case PlayImage::Repeat:
      staff(p, 8);
      repeatDots(p, 1);
      bar(p, 4, 1);
      bar(p, 6, 2);
      return;
  }
}

QImage drawPlayImage(PlayImage id) {
  QImage image = blankImage(playImageWidth(id), StaffHeight);
  QPainter p(&image);
  paintPiece(p, id);
  return image;
}

}  // namespace

int playImageWidth(PlayImage id) {
  switch (id) {
    case PlayImage::FourFour:
      return 768;
    case PlayImage::ThreeFour:
      return 14;
    case PlayImage::BarLine:
      return 1;
    case PlayImage::BlackSlash:
    case PlayImage::RedSlash:
    case PlayImage::StepArrow:
      return 28;
    default:
      return 8;
  }
}

void paintPlayImage(QPainter& p, QPoint at, PlayImage id) {
  const int i = static_cast<int>(id);
  if (i < 0 || i >= PlayImageCount) return;
  if (BitmapDrawing::pixelExact(p)) {
    p.drawImage(at, playImage(id));
    return;
  }
  p.save();
  p.translate(at);
  paintPiece(p, id);
  p.restore();
}

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
