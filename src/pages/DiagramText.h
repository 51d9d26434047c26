#pragma once

#include <array>
#include <string>
#include <string_view>

#include "music/NameTables.h"
#include "music/Records.h"

// The text lines that go with the diagrams on each page: the chord set and
// scale row headers, the print page captions, the design group lines and the
// play page caption, built from a record and the current pitch names. Every
// value taken from a record is reduced to a pitch class before it names
// anything, so a damaged record gives odd names, never a bad read.
namespace DiagramText {

// One space and a pitch name per interval, up to the first end marker.
std::string chordNotes(const TChordDiagram& chord, const NameTables& names);
std::string scaleNotes(const TScaleDiagram& scale, const NameTables& names);
std::string printItemNotes(const TPrintDiagram& item, const NameTables& names);

// " /" and the bass pitch when the bass is not the root, else nothing.
std::string slash(int root, int bass, const NameTables& names);

// The header of a chord set, its type named by the menu's caption of the
// record's dictionary name ("E major" for a record named "maj").
std::string chordSetHeader(const TChordDiagram& chord, const NameTables& names);
// The same with the chord type named by `chordType` as it stands.
std::string chordSetHeader(const TChordDiagram& chord, std::string_view chordType,
                           const NameTables& names);
std::string scaleRowHeader(const TScaleDiagram& scale, const NameTables& names);
// Name (with the slash, for chords), notes, formula, tuning name.
std::array<std::string, 4> printCaptions(const TPrintDiagram& item, const NameTables& names);
// Name with the slash, notes, formula, tuning name.
std::array<std::string, 4> designGroupLines(const TChordDiagram& chord, const NameTables& names);
std::string playPageCaption(const TChordDiagram& chord, const NameTables& names);

// What a screen reader says of a chord on the neck: each string from the
// lowest (string 6) to the highest, as "string 5 fret 3 C", "string 3 open G"
// or "string 6 not played", joined by ", ".
std::string stringByString(const TChordDiagram& chord, const NameTables& names);
// A chosen diagram said aloud: its name, the fret its diagram starts at and
// its strings ("C maj, from fret 1: string 6 not played, ...").
std::string spokenChord(const TChordDiagram& chord, const NameTables& names);
// A scale: its name and notes ("A Minor Pentatonic scale: A C D E G").
std::string spokenScale(const TScaleDiagram& scale, const NameTables& names);
// A print page item: its chord as spokenChord says it, or its scale with the
// fret its position starts at.
std::string spokenPrintItem(const TPrintDiagram& item, const NameTables& names);

std::string_view trimRight(std::string_view text);
std::string_view trim(std::string_view text);

}  // namespace DiagramText
