#include "render/PlayPageStaff.h"

#include <QPainter>
#include <string>

#include "play/PlayPageGeometry.h"
#include "render/PlayPageBitmaps.h"
#include "render/SurfaceText.h"

namespace PlayPageStaff {
namespace {

using Bitmaps::PlayImage;
namespace Geometry = PlayGeometry;

void drawImage(QPainter& p, int x, int y, PlayImage id) {
  Bitmaps::paintPlayImage(p, QPoint(x, y), id);
}

// Bar numbers and blanks only: plain ASCII, the same bytes in any code page.
void writeText(QPainter& p, int x, int y, const std::string& text) {
  SurfaceText::drawText(p, QPoint(x, y), text, SurfaceText::smallFont());
}

}  // namespace

void drawGrid(QPainter& p, bool threeFour) {
  for (int r = 0; r < 6; ++r) {
    const int y = Geometry::staffY(r), ty = Geometry::rowTop(r) + Geometry::BarNumberTop;
    drawImage(p, Geometry::StaffLeft, y, PlayImage::FourFour);
    writeText(p, 393, ty, "     ");
    const int first = 3 * r / 2 + 1;
    if (r % 2 == 0) {
      writeText(p, 3, ty, std::to_string(first));
      writeText(p, 519, ty, std::to_string(first + 1));
    } else {
      // Appended, not "~" + ...: GCC 12 warns falsely (-Wrestrict) on that at -O2.
      writeText(p, 3, ty, std::string("~").append(std::to_string(first)));
      writeText(p, 267, ty, std::to_string(first + 1));
    }
  }
  for (int r = 0; r < 6; ++r) {
    const int y = Geometry::staffY(r), ty = Geometry::rowTop(r) + Geometry::BarNumberTop;
    if (threeFour) {
      drawImage(p, Geometry::StaffLeft, y, PlayImage::ThreeFour);
      drawImage(p, 396, y, PlayImage::BarLine);
      drawImage(p, 770, y, PlayImage::BarLine);
      writeText(p, 3, ty, std::to_string(2 * r + 1) + "   ");
      writeText(p, 393, ty, std::to_string(2 * r + 2));
      writeText(p, r % 2 == 0 ? 519 : 267, ty, "   ");
    } else if (r % 2 == 0) {
      drawImage(p, 522, y, PlayImage::BarLine);
    } else {
      drawImage(p, 270, y, PlayImage::BarLine);
      drawImage(p, 770, y, PlayImage::BarLine);
    }
  }
  const PagePoint start = Geometry::startMarker(0, 0);
  drawImage(p, start.X, start.Y, PlayImage::PlayCursor);
}

void drawRepeatMarks(QPainter& p, const TRepeatSet& set, bool threeFour, bool loopShown) {
  for (int b = 0; b < PlayBars::barCount(threeFour); ++b) {
    const BarEnds e = barEnds(b, threeFour);
    for (int x : {e.Xe - 16, e.Xe - 8, e.Xe}) drawImage(p, x, e.Ye, PlayImage::PlayErase);
    drawImage(p, e.Xs, e.Ys, PlayImage::PlayErase);
    if (set.ReturnMark[b] != 0) drawImage(p, e.Xs, e.Ys, PlayImage::Return);
    if (set.RepeatCount[b] != 0) {
      drawImage(p, e.Xe, e.Ye, PlayImage::Repeat);
      writeText(p, e.Xe - 16, e.Ye + 10, std::to_string(set.RepeatCount[b]));
    }
    drawImage(p, e.Xe - 26, e.Ye, PlayImage::PlayErase);
    if (loopShown && set.LoopMark[b] == 1) drawImage(p, e.Xe - 26, e.Ye, PlayImage::PlayLoop);
  }
}

void moveStartMarker(QPainter& p, int fromColumn, int fromRow, int column, int row) {
  const PagePoint from = Geometry::startMarker(fromColumn, fromRow);
  const PagePoint to = Geometry::startMarker(column, row);
  drawImage(p, from.X, from.Y, PlayImage::PlayErase);
  drawImage(p, to.X, to.Y, PlayImage::PlayCursor);
}

void drawGrid(QImage& surface, bool threeFour) {
  QPainter p(&surface);
  drawGrid(p, threeFour);
}

void moveStartMarker(QImage& surface, int fromColumn, int fromRow, int column, int row) {
  QPainter p(&surface);
  moveStartMarker(p, fromColumn, fromRow, column, row);
}

void drawRepeatMarks(QImage& surface, const TRepeatSet& set, bool threeFour, bool loopShown) {
  QPainter p(&surface);
  drawRepeatMarks(p, set, threeFour, loopShown);
}

void drawPiece(QImage& surface, PagePoint at, Bitmaps::PlayImage id) {
  QPainter p(&surface);
  Bitmaps::paintPlayImage(p, QPoint(at.X, at.Y), id);
}

}  // namespace PlayPageStaff
