// Writes every bitmap and a few composed pictures as PNG files, at their own
// size and enlarged, so the drawing can be judged by eye.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "pages/render/Bitmaps.h"
#include "music/Tuning.h"
#include "pages/render/FretboardPainter.h"

namespace {

QString outDir;

void save(const QImage& image, const QString& name, int zoom = 1) {
  image.save(outDir + "/" + name + ".png");
  if (zoom > 1) {
    // Nearest-neighbour enlargement on a mid grey, so single pixels show.
    QImage big(image.width() * zoom, image.height() * zoom, QImage::Format_RGB32);
    big.fill(QColor(128, 128, 128));
    QPainter p(&big);
    p.drawImage(QRect(0, 0, big.width(), big.height()), image);
    big.save(outDir + "/" + name + "_x" + QString::number(zoom) + ".png");
  }
}

TScaleDiagram cMajorScale() {
  TScaleDiagram scale{};
  const std::uint8_t degrees[] = {0, 2, 4, 5, 7, 9, 11};
  for (std::uint8_t& i : scale.Intervals) i = ScaleIntervalEnd;
  for (std::size_t i = 0; i < std::size(degrees); ++i) scale.Intervals[i] = degrees[i];
  const std::uint8_t tuning[6] = {64, 59, 55, 50, 45, 40};
  std::copy(std::begin(tuning), std::end(tuning), scale.Tuning);
  scale.Root = 0;
  return scale;
}

void fretboardSamples() {
  const QImage strip = Bitmaps::fingerStrip();
  QImage guitar = Bitmaps::fretboard();
  save(guitar, "fretboard", 2);
  save(strip, "fingerStrip", 8);

  // C major, open position: x 3 2 0 1 0 from the low string.
  struct {
    int fret, finger;
  } c[6] = {{0, 0}, {1, 1}, {0, 0}, {2, 2}, {3, 3}, {0, 5}};
  const Tuning t = StandardTuning;
  for (int s = 0; s < 6; ++s) {
    const bool root = (t[s] + c[s].fret) % 12 == 0;
    drawFretboardGlyph(guitar, strip, chordGlyphCell(c[s].finger, root), s, c[s].fret);
  }
  drawArpeggioBox(guitar, 1, 5, QColor(0, 255, 0));
  drawArpeggioBox(guitar, 4, 15, QColor(255, 0, 0));
  drawFretboardGlyph(guitar, strip, strikeGlyphCell(2), 3, 9);
  drawFretboardGlyph(guitar, strip, strikeGlyphCell(0), 0, 12);
  save(guitar, "fretboard_c_chord", 2);

  QImage scale = Bitmaps::fretboard();
  drawScaleMarks(scale, strip, cMajorScale());
  save(scale, "fretboard_c_scale", 2);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/strumbo-samples");
  QDir().mkpath(outDir);

  save(Bitmaps::smallFret(), "smallFret", 4);
  save(Bitmaps::smallMark(), "smallMark", 12);
  save(Bitmaps::smallNumb(), "smallNumb", 12);
  save(Bitmaps::tinyFret(), "tinyFret", 6);
  save(Bitmaps::tinyMark(), "tinyMark", 16);
  for (const char* name : {"FOURFOUR", "TREEFOUR", "BARLINE", "BLAKSLAS", "REDSLASH", "STEPARRW",
                           "PLAYCURS", "PLAYERAS", "PLAYLOOP", "RETURN", "REPEAT"})
    save(Bitmaps::playImage(name), name, name[0] == 'F' ? 2 : 8);
  save(Bitmaps::cursorImage(Bitmaps::CursorFret), "CURFRET", 8);
  save(Bitmaps::cursorImage(Bitmaps::CursorMove), "CURMOVE", 8);
  {
    // All staff pieces side by side with a gap, as one enlarged strip.
    QImage strip(260, 40, QImage::Format_RGB32);
    strip.fill(QColor(200, 200, 255));
    QPainter p(&strip);
    int x = 2;
    for (const char* name : {"PLAYCURS", "PLAYERAS", "PLAYLOOP", "RETURN", "REPEAT", "BLAKSLAS",
                             "REDSLASH", "STEPARRW", "TREEFOUR", "BARLINE"}) {
      const QImage image = Bitmaps::playImage(name);
      p.drawImage(x, 3, image);
      x += image.width() + 4;
    }
    p.drawImage(x, 3, Bitmaps::cursorImage(5));
    p.drawImage(x + 36, 3, Bitmaps::cursorImage(6));
    p.end();
    save(strip, "playPieces", 5);
  }
  fretboardSamples();
  std::printf("samples written to %s\n", qPrintable(outDir));
  return 0;
}
