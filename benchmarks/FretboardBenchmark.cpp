// Times ShowDiagram on the big fretboard: the picture restored, six glyphs,
// the read-outs, and with Show Arpeggio down the boxes over the whole neck.
// Run with QT_QPA_PLATFORM=offscreen; figures are milliseconds per call.
#include <QApplication>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "ui/FretboardPanel.h"
#include "ui/MainWindow.h"

namespace {

TChordDiagram barreF() {
  TChordDiagram c = startFingering();
  c.ChordName = "maj7";
  c.Formula = "1 3 5 7";
  const int frets[6] = {1, 1, 2, 3, 3, 1};
  const int fingers[6] = {1, 1, 2, 4, 3, 1};
  for (int s = 0; s < 6; ++s) {
    c.Strings[s] = {static_cast<std::uint8_t>(frets[s]), static_cast<std::uint8_t>(fingers[s])};
    c.Notes[s] = static_cast<std::uint8_t>(c.Tuning[s] + frets[s]);
  }
  const std::int8_t iv[7] = {0, 4, 7, 11, -1, -1, -1};
  std::copy(iv, iv + 7, c.Intervals);
  c.Root = 5;
  c.Bass = 29;
  return c;
}

void report(const char* what, FretboardPanel* fb, const TChordDiagram& chord) {
  fb->ShowDiagram(chord);
  std::vector<double> ms;
  for (int i = 0; i < 300; ++i) {
    const auto start = std::chrono::steady_clock::now();
    fb->ShowDiagram(chord);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%-36s median %7.3f  p95 %7.3f  max %7.3f ms\n", what, ms[ms.size() / 2],
              ms[ms.size() * 95 / 100], ms.back());
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  MainWindow window("/nonexistent/");
  report("ShowDiagram", window.fretboard(), barreF());
  window.findChild<QToolButton*>(QStringLiteral("sbShowArp"))->setChecked(true);
  report("ShowDiagram with the arpeggio", window.fretboard(), barreF());
  return 0;
}
