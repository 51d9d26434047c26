#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "music/NameTables.h"
#include "music/Records.h"
#include "play/PagePlayer.h"
#include "play/PlayPageModel.h"

class FileLayer;

// "Export MusicXML...": the play page as a lead sheet that notation programs
// read. One part, one measure per bar, a slash (or a rest where nothing
// sounds) per beat, and at each chord a chord symbol with its fretboard
// frame. Repeats become repeat barlines; with Loop Play on, the loop becomes
// the outermost repeat and the score ends where the page turns back. Repeat
// barlines cannot nest, so a repeat inside another one is written out bar by
// bar, as often as the page plays it.
namespace MusicXml {

// One degree of a chord symbol, as MusicXML counts them: an addition
// relative to a dominant chord's degrees, or an alteration or removal of a
// degree of the kind.
struct Degree {
  enum class Type { Add, Alter, Subtract };
  int Value = 0;  // 1 root, 3 third, ... 13
  int Alter = 0;  // semitones
  Type What = Type::Add;
  bool operator==(const Degree&) const = default;
};

struct ChordSpelling {
  std::string_view Kind;  // a kind value of the standard: "major", "minor-seventh", "other", ...
  std::vector<Degree> Degrees;
};

// The kind, and the fewest degrees on it, that spell these intervals
// (semitones above the root; 9, 11 and 13 and their alterations as 13..21).
ChordSpelling spellChord(const std::vector<int>& intervals);
// The record's intervals up to its end marker; the root alone when it has none.
std::vector<int> chordIntervals(const TChordDiagram& chord);

// A fretboard frame: string 1 is the highest, muted strings have no note.
struct FrameNote {
  enum class Barre { None, Start, Stop };
  int String = 0;
  int Fret = 0;    // 0 open
  int Finger = 0;  // 1..4, 0 none given
  Barre Bar = Barre::None;
  bool operator==(const FrameNote&) const = default;
};
struct Frame {
  int Frets = 4;                 // fret spaces drawn
  int FirstFret = 1;             // the fret of the top space; 1 is the nut
  std::vector<FrameNote> Notes;  // lowest string first
};
Frame frameOf(const TChordDiagram& chord);

// One measure of the score: the page bar it shows and its repeat barlines.
struct Measure {
  int Bar = 0;           // 0-based bar of the page
  bool Forward = false;  // a forward repeat at its start
  int Backward = 0;      // at its end: a backward repeat played this many times in all
  bool LoopEnd = false;  // that backward repeat is the loop's
  bool operator==(const Measure&) const = default;
};
// Past this a page of nested repeats is refused rather than written out.
inline constexpr std::size_t MaxMeasures = 5000;
// The measures in score order; none when there would be more than MaxMeasures.
std::optional<std::vector<Measure>> measuresOf(const PlayList& slots, const TRepeatSet& marks,
                                               bool threeFour, bool loop);

struct Page {
  PlayList Slots{};
  bool ThreeFour = false;
  TRepeatSet Marks{};
  bool Loop = false;
  int TempoBpm = 120;
  std::string Title;  // UTF-8
  NameTables Names;   // the names the chords are shown with
  int Capo = 0;
};

// The whole document; none when the page is too long to write out.
std::optional<std::string> document(const Page& page);

enum class Result { Written, Empty, TooLong, WriteFailed };
struct Outcome {
  Result Status = Result::Written;
  std::string Reason;  // WriteFailed: the file layer's words for why
};
// Builds the document whole and writes it like a page: a failure leaves no
// file and an earlier one at that name as it was.
Outcome exportFile(FileLayer& files, const std::string& path, const Page& page);
// The words for a failed export, as one sentence.
std::string message(const Outcome& outcome, const std::string& path);

}  // namespace MusicXml
