#pragma once

#include <QImage>
#include <QPoint>

class QPainter;

// The play page's staff pieces: the staff row, bar lines, beat slashes, the
// step arrow and the bar markers. Each is drawn once per run and shared.
namespace Bitmaps {

inline constexpr int StaffHeight = 33;

enum class PlayImage {
  FourFour,    // a 4/4 staff row with its six beat slashes (768 wide)
  ThreeFour,   // the 3/4 time signature laid over its start (14 wide)
  BarLine,     // 1 wide
  BlackSlash,  // a beat slash (28 wide)
  RedSlash,    // the beat cursor during playback (28 wide)
  StepArrow,   // the slot cursor of step play (28 wide)
  PlayCursor,  // the start marker (8 wide)
  PlayErase,   // bare staff that wipes an 8-wide marker
  PlayLoop,    // the loop mark at a bar's end (8 wide)
  Return,      // the repeat-from sign at a bar's start (8 wide)
  Repeat,      // the repeat sign at a bar's end (8 wide)
};
inline constexpr int PlayImageCount = static_cast<int>(PlayImage::Repeat) + 1;

// The picture of `id`, StaffHeight rows high.
QImage playImage(PlayImage id);
int playImageWidth(PlayImage id);
// Piece `id` with its top-left corner at `at`: the picture pixel for pixel
// where the painter's pixels are the device's, else drawn at the device's
// resolution (a dense screen, paper).
void paintPlayImage(QPainter& p, QPoint at, PlayImage id);

}  // namespace Bitmaps
