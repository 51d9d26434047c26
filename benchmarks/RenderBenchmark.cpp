// Times the drawing of the pictures a page shows at once: the six small
// diagrams of a chord set, a row of scale positions, a full print page, the
// design group and the big fretboard with a chord; a chord set on a dense
// screen and a print page painted into a PDF. Run with
// QT_QPA_PLATFORM=offscreen; figures are milliseconds per drawing.
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "ChordFixtures.h"
#include "music/DiagramConvert.h"
#include "render/BitmapDrawing.h"
#include "render/DiagramPainter.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "render/PageDrawer.h"
#include "render/SurfaceText.h"

namespace {

void report(const char* what, int runs, const std::function<void()>& draw) {
  draw();  // first call builds the cached bitmaps and loads the font
  std::vector<double> ms;
  ms.reserve(static_cast<std::size_t>(runs));
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    draw();
    const auto end = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(ms.begin(), ms.end());
  double sum = 0;
  for (const double m : ms) sum += m;
  std::printf("%-44s mean %7.3f  median %7.3f  p95 %7.3f  max %7.3f ms\n", what, sum / runs,
              ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back());
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QImage guitar;
  const int runs = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
  NameTables names;
  const std::array<TChordDiagram, 6> set = {
      fixtures::chord("", 0, "x32010", "x32010", 1, -1, "1 3 5"),
      fixtures::chord("", 0, "x3555x", "x1333x", 3, -1, "1 3 5"),
      fixtures::chord("", 0, "8aaa98", "134211", 8, -1, "1 3 5"),
      fixtures::chord("", 0, "x35553", "x12341", 3, -1, "1 3 5"),
      fixtures::chord("", 0, "xx5558", "xx1114", 5, -1, "1 3 5"),
      fixtures::chord("", 0, "032010", "032010", 1, 7, "1 3 5")};
  const TScaleDiagram major = fixtures::cMajor();

  QImage chords(772, 800, QImage::Format_RGB32);
  chords.fill(Qt::white);
  report("chord set: header + 6 small chords", runs, [&] {
    SurfaceText::drawChordSetHeader(chords, set[0], 2, names);
    for (int c = 0; c < 6; ++c) DrawSmallChord(chords, set[c], c, 2, SmallPage::Chords);
  });

  QImage scales(776, 800, QImage::Format_RGB32);
  scales.fill(Qt::white);
  report("scale row: header + 6 positions", runs, [&] {
    SurfaceText::drawScaleRowHeader(scales, major, 1, names);
    for (int c = 0; c < 6; ++c) DrawSmallScale(scales, major, c, 1, SmallPage::Scales);
  });

  QImage print(772, 800, QImage::Format_RGB32);
  report("print page: 30 chords with captions", std::max(10, runs / 5), [&] {
    ClearSurface(print);
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 6; ++c) {
        TPrintDiagram item{};
        item.IsChord = 1;
        item.Name = "maj7";
        DrawSmallChord(print, set[c], c, r, SmallPage::Print);
        SurfaceText::drawPrintCaptions(print, item, c, r, names);
      }
  });

  QImage design(456, 101, QImage::Format_RGB32);
  report("design group: 6 tiny chords with lines", runs, [&] {
    ClearSurface(design);
    for (int slot = 0; slot < 6; ++slot) {
      SurfaceText::drawDesignGroupLines(design, set[slot], slot, names);
      DrawTinyChord(design, set[slot], QPoint(76 * slot, 37));
      DrawOutOfRangeLine(design, slot, !fitsSixRows(set[slot]));
    }
  });

  // The same on a screen of two device pixels to the pixel, where the marks
  // are drawn as shapes rather than stamped.
  QImage dense = BitmapDrawing::blankSurface(QSize(772, 800), 2);
  report("chord set at 2 device pixels a pixel", runs, [&] {
    SurfaceText::drawChordSetHeader(dense, set[0], 2, names);
    for (int c = 0; c < 6; ++c) DrawSmallChord(dense, set[c], c, 2, SmallPage::Chords);
  });
  PageContents page;
  page.Kind = PageKind::Print;
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 6; ++c) chordToPrintItem(set[c], page.PrintPage[c][r]);
  const std::optional<PagePicture> sheet = pagePicture(page, std::nullopt, names);
  report("print page of 30 chords as a vector PDF", std::max(10, runs / 10),
         [&] { pdfSheet(sheet->Art, sheet->Heading); });

  // The neck is drawn once per density and kept: its first drawing is what
  // a window waits for at start.
  for (const qreal ratio : {1.0, 2.0}) {
    const auto start = std::chrono::steady_clock::now();
    guitar = Bitmaps::fretboard(false, ratio);
    const auto end = std::chrono::steady_clock::now();
    std::printf("fretboard picture drawn at ratio %.0f (once)       %7.3f ms\n", ratio,
                std::chrono::duration<double, std::milli>(end - start).count());
  }
  const QImage clean = Bitmaps::fretboard();
  const QImage strip = Bitmaps::fingerStrip();
  report("fretboard: restore + 6 chord glyphs", runs, [&] {
    guitar = clean.copy();
    for (int s = 0; s < 6; ++s)
      drawFretboardGlyph(guitar, strip, chordGlyphCell(set[0].Strings[s].Finger, s == 4), s,
                         set[0].Strings[s].Fret);
  });
  report("fretboard: restore + scale over the neck", runs, [&] {
    guitar = clean.copy();
    drawScaleMarks(guitar, strip, major);
  });
  std::printf("goal: a chord set well within one 16 ms frame\n");
  return 0;
}
