#include "render/DrawingFont.h"

QString resolveFontFamily(const QString& family) {
  if (family.compare(QLatin1String("Ariel"), Qt::CaseInsensitive) == 0 ||
      family.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Liberation Sans");
  return family;
}

QFont drawingFont(const QString& family, int pointSize) {
  QFont font(resolveFontFamily(family), pointSize);
  font.setStyleHint(QFont::SansSerif, QFont::PreferMatch);
  return font;
}

QFont drawingFontPx(const QString& family, int pixelSize) {
  QFont font(resolveFontFamily(family));
  font.setPixelSize(pixelSize);
  font.setStyleHint(QFont::SansSerif, QFont::PreferMatch);
  return font;
}
