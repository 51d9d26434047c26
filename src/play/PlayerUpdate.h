#pragma once

#include <cstdint>
#include <optional>

#include "play/PlayPageGeometry.h"
#include "play/PlayTab.h"

// What message 0x546E asks of the fretboard picture imgGuitar. The square is
// the 12 x 12 glyph cell at (FretX[Fret], StringY[String]); each string has a
// save buffer of that size. String, fret and finger are checked, so the
// window may index its tables with them.
struct FingerMark {
  int String = 0;
  int Fret = 0;
  int Finger = 0;  // 0..6, or 10 for a clear
  bool Clear = false;
  // Clear: first refill the string's buffer from the same square of
  // imgGuitarCopy (on the PlayPage tab), then copy the buffer back.
  bool RefillFromClean = false;
  // Show: save the square into the string's buffer, then copy the cell of
  // imgFinger starting at this x onto it.
  int GlyphX = 0;
  bool operator==(const FingerMark&) const = default;
};

// What the window must do after a call into the playback engine. The button
// and menu states are always given; the rest only when something changes, to
// be applied in the order of the fields: the page picture first (step
// background, black slash, red slash, step arrow, scroll), then the fretboard
// (clear or restore, then a finger mark).
struct PlayerUpdate {
  bool PlayDown = false;
  bool PauseDown = false;
  bool MenuEnabled = true;

  std::optional<PagePoint> RestoreStepBackground;  // put the saved 28 x 33 picture back here
  std::optional<PagePoint> BlackSlash;  // draw PlayImage::BlackSlash: the red cursor goes
  std::optional<PagePoint> RedSlash;    // draw PlayImage::RedSlash: the beat cursor
  std::optional<PagePoint>
      StepArrow;               // save the 28 x 33 picture here, then draw PlayImage::StepArrow
  std::optional<int> ScrollY;  // vertical scroll position of the page

  bool ClearFretboard = false;    // ClearFretboard: clean picture and empty read-outs
  bool RestoreFretboard = false;  // imgGuitar from imgGuitarCopy, read-outs kept
  bool ShowScale = false;         // ShowScaleOnFretboard(CurrentScale)
  std::optional<FingerMark> Finger;
};
