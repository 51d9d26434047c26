#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <array>
#include <cstddef>

// Small tools shared by the bitmap files: plain images, text centred as a
// path, and black pixel patterns stamped from rows of 'x'.
namespace BitmapDrawing {

inline const QColor Black(0, 0, 0);
inline const QColor White(255, 255, 255);

QImage blankImage(int w, int h, QColor fill = White);
// A white surface `logical` pixels in size holding `ratio` device pixels
// per pixel, so that a painter on it draws in logical pixels.
QImage blankSurface(QSize logical, qreal ratio);
// The device pixels of the logical rectangle of a surface, as an image of
// the same ratio.
QImage copyLogical(const QImage& surface, const QRect& logical);
// True when the painter's pixels are the device's, one to one: a pattern
// stamped pixel by pixel is then exact; anything else (a dense screen,
// paper) takes the shape drawn.
bool pixelExact(const QPainter& p);
// Fills a logical rectangle (a grid line, a staff line, a bar) with its
// edges on whole device pixels, every line of a logical width as wide as
// its fellows: at 1.5 device pixels to the pixel a one-pixel line is two
// device pixels everywhere rather than one here and two there. At a pixel
// to the pixel it is fillRect.
void fillCrisp(QPainter& p, const QRect& logical, const QColor& colour);
QImage transparentImage(int w, int h);

// A glyph of text centred on a point, as a path so that its placement does
// not depend on the font's line spacing.
void fillCentredText(QPainter& p, QPointF centre, const QString& text, const QFont& font,
                     QColor colour);
QFont boldFont(int pixelSize);

template <std::size_t N>
void stamp(QImage& image, int left, int top, const std::array<const char*, N>& rows) {
  for (std::size_t y = 0; y < N; ++y)
    for (int x = 0; rows[y][x] != '\0'; ++x)
      if (rows[y][x] == 'x') image.setPixel(left + x, top + static_cast<int>(y), Black.rgb());
}

}  // namespace BitmapDrawing
