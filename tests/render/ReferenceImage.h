#pragma once

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>

// Pictures whose geometry is fixed are compared pixel for pixel with a
// reference PNG in tests/render/reference/. Antialiased edges come out a
// level or two apart on CPUs whose drawing takes other SIMD paths, so each
// channel may differ by up to Tolerance; a shape moved by a single pixel
// changes its edge pixels by far more than that. Run a test with
// STRUMBO_UPDATE_REFERENCES=1 to write its references instead, then look at
// each one before committing it.
namespace reference {

inline constexpr int Tolerance = 2;

// Whether two pixels agree within Tolerance in every channel, alpha included.
inline bool close(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= Tolerance && std::abs(qGreen(a) - qGreen(b)) <= Tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= Tolerance && std::abs(qAlpha(a) - qAlpha(b)) <= Tolerance;
}

inline QString path(const QString& name) {
  return QStringLiteral(STRUMBO_REFERENCE_DIR "/") + name + QStringLiteral(".png");
}

// Empty when `drawn` matches the reference `name`; otherwise what differs.
// A mismatching picture is written next to the build for a look.
inline QString mismatch(const QImage& drawn, const QString& name) {
  const QImage got = drawn.convertToFormat(QImage::Format_ARGB32);
  if (qEnvironmentVariableIntValue("STRUMBO_UPDATE_REFERENCES") == 1) {
    QDir().mkpath(QStringLiteral(STRUMBO_REFERENCE_DIR));
    return got.save(path(name)) ? QString() : QStringLiteral("cannot write ") + path(name);
  }
  const QImage want = QImage(path(name)).convertToFormat(QImage::Format_ARGB32);
  if (want.isNull()) return QStringLiteral("no reference ") + path(name);
  QString why;
  if (got.size() != want.size()) {
    why = QStringLiteral("size %1 x %2, reference %3 x %4")
              .arg(got.width())
              .arg(got.height())
              .arg(want.width())
              .arg(want.height());
  } else {
    int count = 0;
    for (int y = 0; y < got.height(); ++y)
      for (int x = 0; x < got.width(); ++x)
        if (!close(got.pixel(x, y), want.pixel(x, y)) && count++ == 0)
          why = QStringLiteral("first difference at (%1, %2): %3, reference %4")
                    .arg(x)
                    .arg(y)
                    .arg(got.pixel(x, y), 8, 16, QLatin1Char('0'))
                    .arg(want.pixel(x, y), 8, 16, QLatin1Char('0'));
    if (count == 0) return {};
    why += QStringLiteral("; %1 pixels differ").arg(count);
  }
  const QString actual = QDir::temp().filePath(name + QStringLiteral("-drawn.png"));
  got.save(actual);
  return name + QStringLiteral(": ") + why + QStringLiteral(" (drawn picture: ") + actual + ')';
}

// Pictures side by side, two pixels apart on a transparent ground, so that a
// set of small pieces makes one reference.
inline QImage sheet(std::initializer_list<QImage> images) {
  int width = 0, height = 0;
  for (const QImage& image : images) {
    width += image.width() + 2;
    height = std::max(height, image.height());
  }
  QImage out(width, height, QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  QPainter p(&out);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  int x = 0;
  for (const QImage& image : images) {
    p.drawImage(x, 0, image);
    x += image.width() + 2;
  }
  return out;
}

}  // namespace reference

#define VERIFY_REFERENCE(image, name)                          \
  do {                                                         \
    const QString why_ = reference::mismatch((image), (name)); \
    QVERIFY2(why_.isEmpty(), qPrintable(why_));                \
  } while (false)
