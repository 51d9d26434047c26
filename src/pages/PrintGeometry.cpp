#include "pages/PrintGeometry.h"

PrintLayout printLayout(int dpiX, int dpiY, int surfaceWidth, int surfaceHeight) {
  if (dpiX <= 0 || dpiY <= 0 || surfaceWidth <= 0 || surfaceHeight <= 0) return {};
  const long long x = dpiX, y = dpiY;
  PrintLayout layout;
  layout.Picture.Left = x / 2;
  layout.Picture.Top = y;
  layout.Picture.Right = 8 * x;
  // Height in vertical pixels of the width in horizontal ones, in one
  // integer division so no rounding creeps in before the truncation.
  layout.Picture.Bottom = layout.Picture.Top + layout.Picture.width() * surfaceHeight * y /
                                                   (static_cast<long long>(surfaceWidth) * x);
  layout.TitleLeft = x;
  layout.TitleBottom = 7 * y / 10;
  return layout;
}
