#pragma once

#include "music/Records.h"

// Conversions between the page records. Each writes exactly the fields its
// direction carries and leaves the rest of the target as it was, because the
// print item holds either kind and keeps its own end marker (-1 for chords,
// 99 for scales) in Intervals.

// Notes := the note each played string sounds (tuning plus fret), 0 where
// the string is muted.
void soundNotes(TChordDiagram& chord);

void chordToPrintItem(const TChordDiagram& chord, TPrintDiagram& item);
void printItemToChord(const TPrintDiagram& item, TChordDiagram& chord);
// The sender sets item.BaseFret to the start fret of the position it sends.
void scaleToPrintItem(const TScaleDiagram& scale, TPrintDiagram& item);
// All six start frets become the item's BaseFret.
void printItemToScale(const TPrintDiagram& item, TScaleDiagram& scale);
