#pragma once

#include <QFont>
#include <QImage>

class QPainter;
#include <QPoint>
#include <array>
#include <string>
#include <string_view>

#include "music/NameTables.h"
#include "music/Records.h"

// The text lines of the page surfaces, drawn at their places in each
// surface's font. Text is written as a black line on its own white box, so a
// new line covers what stood there before, as the pages expect.
namespace SurfaceText {

// The Chords and Scales pages and the fret number of a small diagram (8 pt).
QFont pageFont();
// The print page captions ("Ariel" 7 pt).
QFont printFont();
// The play page, the design group and the fret number of a tiny diagram
// ("Ariel" 6 pt).
QFont smallFont();

// Record texts are single bytes, one Windows-1252 character each.
QString fromRecord(std::string_view text);

// Each call paints on a painter in the surface's logical pixels, so text
// comes out at the device's resolution: sharp on a dense screen, real text
// in a PDF.

// Writes text with the top-left corner of its line box at topLeft.
void drawText(QPainter& p, QPoint topLeft, std::string_view text, const QFont& font);
// Several lines, all boxes first and then all texts, so a line set close
// under another never clips the one above.
void drawLines(QPainter& p, int x, const std::array<int, 4>& ys,
               const std::array<std::string, 4>& lines, const QFont& font);

// Header of chord set `row` (from the set's first diagram) on the Chords page.
void drawChordSetHeader(QPainter& p, const TChordDiagram& chord, int row, const NameTables& names);
// The same naming the chord type `chordType` (its menu caption).
void drawChordSetHeader(QPainter& p, const TChordDiagram& chord, std::string_view chordType,
                        int row, const NameTables& names);
// Header of scale `row` on the Scales page.
void drawScaleRowHeader(QPainter& p, const TScaleDiagram& scale, int row, const NameTables& names);
// The four caption lines above print page cell (column, row).
void drawPrintCaptions(QPainter& p, const TPrintDiagram& item, int column, int row,
                       const NameTables& names);
// The four lines above design group slot 0..5.
void drawDesignGroupLines(QPainter& p, const TChordDiagram& chord, int slot,
                          const NameTables& names);
// The caption above play page slot (column, row).
void drawPlayPageCaption(QPainter& p, const TChordDiagram& chord, int column, int row,
                         const NameTables& names);

// The same calls on a surface of its own: a painter is opened on it.
void drawText(QImage& surface, QPoint topLeft, std::string_view text, const QFont& font);
void drawLines(QImage& surface, int x, const std::array<int, 4>& ys,
               const std::array<std::string, 4>& lines, const QFont& font);
void drawChordSetHeader(QImage& surface, const TChordDiagram& chord, int row,
                        const NameTables& names);
void drawChordSetHeader(QImage& surface, const TChordDiagram& chord, std::string_view chordType,
                        int row, const NameTables& names);
void drawScaleRowHeader(QImage& surface, const TScaleDiagram& scale, int row,
                        const NameTables& names);
void drawPrintCaptions(QImage& surface, const TPrintDiagram& item, int column, int row,
                       const NameTables& names);
void drawDesignGroupLines(QImage& surface, const TChordDiagram& chord, int slot,
                          const NameTables& names);
void drawPlayPageCaption(QImage& surface, const TChordDiagram& chord, int column, int row,
                         const NameTables& names);

}  // namespace SurfaceText
