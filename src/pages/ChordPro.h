#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "music/NameTables.h"
#include "music/Records.h"
#include "pages/PageFile.h"
#include "play/PlayPageModel.h"

// ChordPro, the text format of chord-sheet programs: a page's chords written
// as a sheet (title, time, tempo, capo, one `define` per fingering and a chord
// grid or `chord` lines), and a sheet read back into the play page or the
// print page.
//
// Chord names are written compactly, root and type without a blank ("Cmaj7",
// "Dm7", "C/G"), and each of the 62 dictionary types has one written form the
// reader takes back to the same type. When one name stands for two fingerings
// on a page, the second is written "C_2", the third "C_3": a name sheet
// programs take as it is and the reader strips again.
namespace ChordPro {

// The file names a sheet goes by: ".cho", ".chordpro", ".crd", ".pro" (any case).
bool isSheetPath(std::string_view path);

// What a chord name says: root and bass pitch classes and the dictionary type
// (0..61), or -1 when the dictionary has no type of that name.
struct ChordSymbol {
  int Root = 0;
  int Bass = 0;
  int Type = -1;
};
// None when `token` does not begin with a note name (A to G).
std::optional<ChordSymbol> parseChordName(std::string_view token);
// The written form of dictionary type `type` without its root ("" for major,
// "m" for minor, "dim7" for "dim(o)").
std::string_view typeSuffix(int type);
// The written name of a chord record: pitch name of the root, the type,
// "/" and the bass when the bass is not the root.
std::string chordName(const TChordDiagram& chord, const NameTables& names);
// `{define: NAME base-fret B frets ... fingers ...}`, strings low to high.
std::string defineLine(std::string_view name, const TChordDiagram& chord);

struct SheetHeading {
  std::string Title = "Untitled";
  int Capo = 0;  // 0 = none
  NameTables Names;
};

// The sheet of a page: a play page (with its repeat marks) as a grid, any
// other page as its chords in page order; scale items are passed over. Empty
// when the page holds no chord.
std::string writeSheet(const PageContents& page, const TRepeatSet& marks,
                       const SheetHeading& heading);

// A sheet read into a page of `Page.Kind`.
struct Imported {
  std::string Error;  // set when the text gives no page: nothing is to change
  PageContents Page;
  TRepeatSet Marks{};                // the play page's repeat marks
  std::vector<std::string> Unknown;  // names the dictionary cannot name, left out
  int LeftOut = 0;                   // chords that did not fit on the page
};

// Reads `text` into a play page (`target` Play) or a print page (Print).
// Play page: every chord grid's bars as written, then each chord in brackets
// in a lyric line and each `chord` directive one bar of its own, all in the
// order of the sheet; a bar's cells share its beats evenly. Print page: the
// distinct chords in order of first appearance, up to thirty. A sheet with no
// chord in use gives its defined chords. Each chord takes its `define` when
// the sheet has one; otherwise a library fingering, on the play page the one
// Smooth Fingerings picks for the whole page. Chord types come from the
// dictionary and fingerings from the library in `programDir`.
Imported readSheet(std::string_view text, PageKind target, const std::string& programDir);

}  // namespace ChordPro
