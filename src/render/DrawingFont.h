#pragma once

#include <QFont>
#include <QString>

// Fonts of the pictures. Diagrams name the font "Ariel", which few systems
// have; it resolves to Liberation Sans (metric-compatible with Arial and
// installed by our scripts), so every machine draws the same pixels.
QString resolveFontFamily(const QString& family);
QFont drawingFont(const QString& family, int pointSize);

// The same font sized in pixels as a 96 dpi screen sizes the point size, so
// text on an image has the same size whatever the image's own resolution.
constexpr int pointsToPixels(int pointSize) {
  return (pointSize * 96 + 36) / 72;
}
QFont drawingFontPx(const QString& family, int pixelSize);
