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

void drawImage(QImage& surface, int x, int y, PlayImage id) {
  QPainter p(&surface);
  p.drawImage(x, y, Bitmaps::playImage(id));
}

// Bar numbers and blanks only: plain ASCII, the same bytes in any code page.
void writeText(QImage& surface, int x, int y, const std::string& text) {
  SurfaceText::drawText(surface, QPoint(x, y), text, SurfaceText::smallFont());
}

}  // namespace

void drawGrid(QImage& surface, bool threeFour) {
  for (int r = 0; r < 6; ++r) {
    const int y = Geometry::staffY(r), ty = Geometry::rowTop(r) + Geometry::BarNumberTop;
    drawImage(surface, Geometry::StaffLeft, y, PlayImage::FourFour);
    writeText(surface, 393, ty, "     ");
    const int first = 3 * r / 2 + 1;
    if (r % 2 == 0) {
      writeText(surface, 3, ty, std::to_string(first));
      writeText(surface, 519, ty, std::to_string(first + 1));
    } else {
      // Appended, not "~" + ...: GCC 12 warns falsely (-Wrestrict) on that at -O2.
      writeText(surface, 3, ty, std::string("~").append(std::to_string(first)));
      writeText(surface, 267, ty, std::to_string(first + 1));
    }
  }
  for (int r = 0; r < 6; ++r) {
    const int y = Geometry::staffY(r), ty = Geometry::rowTop(r) + Geometry::BarNumberTop;
    if (threeFour) {
      drawImage(surface, Geometry::StaffLeft, y, PlayImage::ThreeFour);
      drawImage(surface, 396, y, PlayImage::BarLine);
      drawImage(surface, 770, y, PlayImage::BarLine);
      writeText(surface, 3, ty, std::to_string(2 * r + 1) + "   ");
      writeText(surface, 393, ty, std::to_string(2 * r + 2));
      writeText(surface, r % 2 == 0 ? 519 : 267, ty, "   ");
    } else if (r % 2 == 0) {
      drawImage(surface, 522, y, PlayImage::BarLine);
    } else {
      drawImage(surface, 270, y, PlayImage::BarLine);
      drawImage(surface, 770, y, PlayImage::BarLine);
    }
  }
  const PagePoint start = Geometry::startMarker(0, 0);
  drawImage(surface, start.X, start.Y, PlayImage::PlayCursor);
}

void drawRepeatMarks(QImage& surface, const TRepeatSet& set, bool threeFour, bool loopShown) {
  for (int b = 0; b < PlayBars::barCount(threeFour); ++b) {
    const BarEnds e = barEnds(b, threeFour);
    for (int x : {e.Xe - 16, e.Xe - 8, e.Xe}) drawImage(surface, x, e.Ye, PlayImage::PlayErase);
    drawImage(surface, e.Xs, e.Ys, PlayImage::PlayErase);
    if (set.ReturnMark[b] != 0) drawImage(surface, e.Xs, e.Ys, PlayImage::Return);
    if (set.RepeatCount[b] != 0) {
      drawImage(surface, e.Xe, e.Ye, PlayImage::Repeat);
      writeText(surface, e.Xe - 16, e.Ye + 10, std::to_string(set.RepeatCount[b]));
    }
    drawImage(surface, e.Xe - 26, e.Ye, PlayImage::PlayErase);
    if (loopShown && set.LoopMark[b] == 1) drawImage(surface, e.Xe - 26, e.Ye, PlayImage::PlayLoop);
  }
}

void moveStartMarker(QImage& surface, int fromColumn, int fromRow, int column, int row) {
  const PagePoint from = Geometry::startMarker(fromColumn, fromRow);
  const PagePoint to = Geometry::startMarker(column, row);
  drawImage(surface, from.X, from.Y, PlayImage::PlayErase);
  drawImage(surface, to.X, to.Y, PlayImage::PlayCursor);
}

}  // namespace PlayPageStaff
