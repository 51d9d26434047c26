// Writes every bitmap and a few composed pictures as PNG files, at their own
// size and enlarged, so the drawing can be judged by eye.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <utility>

#include "ChordFixtures.h"
#include "music/DiagramConvert.h"
#include "music/Tuning.h"
#include "render/CursorBitmaps.h"
#include "render/DiagramBitmaps.h"
#include "render/DiagramPainter.h"
#include "render/FretboardBitmaps.h"
#include "render/FretboardPainter.h"
#include "render/PlayPageBitmaps.h"
#include "render/SurfaceText.h"

namespace {

using Bitmaps::PlayImage;

// File names of the staff pieces.
const std::pair<PlayImage, const char*> PlayImageNames[] = {
    {PlayImage::FourFour, "FOURFOUR"},   {PlayImage::ThreeFour, "TREEFOUR"},
    {PlayImage::BarLine, "BARLINE"},     {PlayImage::BlackSlash, "BLAKSLAS"},
    {PlayImage::RedSlash, "REDSLASH"},   {PlayImage::StepArrow, "STEPARRW"},
    {PlayImage::PlayCursor, "PLAYCURS"}, {PlayImage::PlayErase, "PLAYERAS"},
    {PlayImage::PlayLoop, "PLAYLOOP"},   {PlayImage::Return, "RETURN"},
    {PlayImage::Repeat, "REPEAT"}};

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

// One chord set: the six fingerings of C major the library might give.
std::array<TChordDiagram, 6> cMajorSet() {
  return {fixtures::chord("", 0, "x32010", "x32010", 1, -1, "1 3 5"),
          fixtures::chord("", 0, "x3555x", "x1333x", 3, -1, "1 3 5"),
          fixtures::chord("", 0, "8aaa98", "134211", 8, -1, "1 3 5"),
          fixtures::chord("", 0, "x35553", "x12341", 3, -1, "1 3 5"),
          fixtures::chord("", 0, "xx5558", "xx1114", 5, -1, "1 3 5"),
          fixtures::chord("", 0, "032010", "032010", 1, 7, "1 3 5")};
}

void pageSamples() {
  NameTables names;
  QImage chords(772, 800, QImage::Format_RGB32);
  ClearSurface(chords);
  const auto set = cMajorSet();
  SurfaceText::drawChordSetHeader(chords, set[0], 0, names);
  for (int c = 0; c < 6; ++c) DrawSmallChord(chords, set[c], c, 0, SmallPage::Chords, {});
  const auto sevenths =
      std::array{fixtures::chord("maj7", 9, "x02120", "x02130", 1, -1, "1 3 5 7"),
                 fixtures::chord("m7", 9, "x02010", "x02010", 1, -1, "1 b3 5 b7"),
                 fixtures::chord("7", 9, "x02020", "x02030", 1, -1, "1 3 5 b7"),
                 fixtures::chord("m7b5", 9, "5x554x", "2x341x", 4, -1, "1 b3 b5 b7"),
                 fixtures::chord("dim7", 9, "x0121x", "x0132x", 1, -1, "1 b3 b5 bb7"),
                 fixtures::chord("7", 9, "575685", "131241", 5, -1, "1 3 5 b7")};
  SurfaceText::drawChordSetHeader(chords, sevenths[0], 1, names);
  for (int c = 0; c < 6; ++c) DrawSmallChord(chords, sevenths[c], c, 1, SmallPage::Chords, {});
  SelectionFrame frame;
  frame.Column = 1;
  MoveSelectionFrame(chords, frame, ChordsPageFrame);
  frame.Column = 2;
  frame.Row = 1;
  MoveSelectionFrame(chords, frame, ChordsPageFrame);
  save(chords.copy(0, 0, 772, 320), "chordsPage", 2);

  QImage scales(776, 800, QImage::Format_RGB32);
  ClearSurface(scales);
  const TScaleDiagram major = fixtures::cMajor();
  SurfaceText::drawScaleRowHeader(scales, major, 0, names);
  for (int c = 0; c < 6; ++c) DrawSmallScale(scales, major, c, 0, SmallPage::Scales, {});
  save(scales.copy(0, 0, 776, 170), "scalesPage", 2);

  QImage print(772, 800, QImage::Format_RGB32);
  ClearSurface(print);
  for (int c = 0; c < 3; ++c) {
    TPrintDiagram item{};
    chordToPrintItem(c == 2 ? sevenths[5] : set[c == 0 ? 0 : 5], item);
    TChordDiagram chord{};
    printItemToChord(item, chord);
    DrawSmallChord(print, chord, c, 0, SmallPage::Print, {});
    SurfaceText::drawPrintCaptions(print, item, c, 0, names);
  }
  for (int c = 3; c < 6; ++c) {
    TPrintDiagram item{};
    item.BaseFret = major.StartFrets[c - 3];
    scaleToPrintItem(major, item);
    TScaleDiagram position{};
    printItemToScale(item, position);
    DrawSmallScale(print, position, c, 0, SmallPage::Print, {});
    SurfaceText::drawPrintCaptions(print, item, c, 0, names);
  }
  SelectionFrame printFrame;
  printFrame.Column = 4;
  MoveSelectionFrame(print, printFrame, PrintPageFrame);
  save(print.copy(0, 0, 772, 170), "printPage", 2);

  QImage design(456, 101, QImage::Format_RGB32);
  ClearSurface(design);
  const auto group =
      std::array{set[0], sevenths[0], sevenths[5], fixtures::chord("7", 9, "5x5c85", "1x1431", 5)};
  for (int slot = 0; slot < 4; ++slot) {
    SurfaceText::drawDesignGroupLines(design, group[slot], slot, names);
    DrawTinyChord(design, group[slot], QPoint(76 * slot, 37), {});
    DrawOutOfRangeLine(design, slot, !fitsSixRows(group[slot]));
  }
  SelectionFrame designFrame;
  designFrame.Column = 1;
  MoveSelectionFrame(design, designFrame, DesignGroupFrame);
  save(design, "designGroup", 3);

  QImage play(772, 833, QImage::Format_RGB32);
  ClearSurface(play);
  {
    QPainter p(&play);
    p.drawImage(3, 95, Bitmaps::playImage(PlayImage::FourFour));
    p.drawImage(522, 95, Bitmaps::playImage(PlayImage::BarLine));
    p.drawImage(30, 95, Bitmaps::playImage(PlayImage::PlayCursor));
    p.drawImage(20, 95, Bitmaps::playImage(PlayImage::Return));
    p.drawImage(39 + 126 * 2, 95, Bitmaps::playImage(PlayImage::RedSlash));
    p.drawImage(39 + 63 * 5, 95, Bitmaps::playImage(PlayImage::StepArrow));
    p.drawImage(514, 95, Bitmaps::playImage(PlayImage::Repeat));
    p.drawImage(514 - 26, 95, Bitmaps::playImage(PlayImage::PlayLoop));
  }
  SurfaceText::drawText(play, QPoint(3, 85), "1", SurfaceText::smallFont());
  SurfaceText::drawText(play, QPoint(519, 85), "2", SurfaceText::smallFont());
  SurfaceText::drawText(play, QPoint(514 - 16, 95 + 10), "2", SurfaceText::smallFont());
  const TChordDiagram placed[] = {set[0], sevenths[1], set[5], sevenths[2]};
  for (int c = 0; c < 8; c += 2) {
    const TChordDiagram& chord = placed[c / 2];
    SurfaceText::drawPlayPageCaption(play, chord, c, 0, names);
    DrawTinyChord(play, chord, QPoint(63 * c + 20, 25), {});
  }
  save(play.copy(0, 0, 772, 132), "playPage", 2);
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
  for (const auto& [id, name] : PlayImageNames)
    save(Bitmaps::playImage(id), name, id == PlayImage::FourFour ? 2 : 8);
  save(Bitmaps::cursorImage(Bitmaps::CursorFret), "CURFRET", 8);
  save(Bitmaps::cursorImage(Bitmaps::CursorMove), "CURMOVE", 8);
  {
    // All staff pieces side by side with a gap, as one enlarged strip.
    QImage strip(260, 40, QImage::Format_RGB32);
    strip.fill(QColor(200, 200, 255));
    QPainter p(&strip);
    int x = 2;
    for (const PlayImage id :
         {PlayImage::PlayCursor, PlayImage::PlayErase, PlayImage::PlayLoop, PlayImage::Return,
          PlayImage::Repeat, PlayImage::BlackSlash, PlayImage::RedSlash, PlayImage::StepArrow,
          PlayImage::ThreeFour, PlayImage::BarLine}) {
      const QImage image = Bitmaps::playImage(id);
      p.drawImage(x, 3, image);
      x += image.width() + 4;
    }
    p.drawImage(x, 3, Bitmaps::cursorImage(5));
    p.drawImage(x + 36, 3, Bitmaps::cursorImage(6));
    p.end();
    save(strip, "playPieces", 5);
  }
  fretboardSamples();
  pageSamples();
  std::printf("samples written to %s\n", qPrintable(outDir));
  return 0;
}
