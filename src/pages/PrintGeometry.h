#pragma once

// Where a page's picture and its title go on a printed sheet, in device
// pixels from the paper's top-left corner. The picture is 7.5 inches wide,
// half an inch from the left edge and one inch from the top, and keeps the
// surface's proportions on printers whose horizontal and vertical
// resolutions differ. The title's text ends 0.7 inch below the top edge and
// starts one inch from the left.
struct PrintRect {
  // Right and Bottom are one past the last pixel.
  long long Left = 0, Top = 0, Right = 0, Bottom = 0;
  long long width() const { return Right - Left; }
  long long height() const { return Bottom - Top; }
};

struct PrintLayout {
  PrintRect Picture;
  long long TitleLeft = 0;
  long long TitleBottom = 0;
};

// An empty layout (all zero) for a surface or resolution that is not
// positive, so nothing is drawn rather than dividing by zero.
PrintLayout printLayout(int dpiX, int dpiY, int surfaceWidth, int surfaceHeight);
