#pragma once

#include <QFont>
#include <QString>

// Fonts of the pictures. Diagrams name the font "Ariel", which few systems
// have; it resolves to Liberation Sans (metric-compatible with Arial and
// installed by our scripts), so every machine draws the same pixels.
QString resolveFontFamily(const QString& family);
QFont drawingFont(const QString& family, int pointSize);
