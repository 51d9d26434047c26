#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "music/PageSizes.h"
#include "music/Records.h"
#include "play/PlayPageModel.h"
#include "play/PlayTab.h"

class FileLayer;

// The five page files: a header record carrying the kind's signature, then
// every slot of the page's store, each record exactly as it lies in memory.
// A play page has a ".rpt" companion holding its repeat marks. Reading is all
// or nothing: a file is checked whole before anything of it is used.

// In the order of the page directories of the settings file.
enum class PageKind { Chord, Print, Design, Play, Scale };

struct PageKindInfo {
  std::string_view Extension;  // "cpf", without the dot
  std::string_view Signature;  // "pxPageChord"
  int SignatureOffset;
  int RecordSize;
  int Records;                 // the header included
  std::string_view Name;       // "Chord Page", as in "This is not a Chord Page file"
  std::string_view SaveTitle;  // "Save Chord Page File"
  std::string_view OpenTitle;  // "Open Chord Page File"
  std::string_view Filter;     // "Chord Page Files (*.cpf)"
};
const PageKindInfo& pageKindInfo(PageKind kind);
PageKind pageKindOf(PlayTab tab);
PlayTab tabOf(PageKind kind);
// The kind a path names by its extension (any case); none for another one.
std::optional<PageKind> pageKindOfPath(std::string_view path);

// What the play page's header carries besides the signature.
struct PlayPageHeader {
  bool ThreeFour = false;
  int StrumSpeed = -300;  // -800..0
  int TempoBpm = 120;     // 10..250
  bool Loop = false;
  bool Bass = false;
};

// One page file's contents; only the store of `Kind` (and, for a play page,
// the header) is meant.
struct PageContents {
  PageKind Kind = PageKind::Chord;
  TChordDiagram ChordPage[ChordPageColumns][ChordPageRows]{};
  TPrintDiagram PrintPage[PrintPageColumns][PrintPageRows]{};
  TChordDiagram DesignGroup[DesignGroupSize]{};
  TChordDiagram PlayPage[PlayPageColumns][PlayPageRows]{};
  PlayPageHeader Header;
  TScaleDiagram ScalePage[ScalePageSize]{};
};

// The bytes of the file, header first.
std::string encodePage(const PageContents& page);
// Fills `page` from a whole file of `kind`. Empty when the file is sound;
// otherwise the one sentence to show, and `page` is untouched: "This is not a
// Chord Page file" for another signature, a plain sentence for a wrong length
// or a value out of range.
std::string decodePage(PageKind kind, std::string_view bytes, PageContents& page);

std::string encodeRepeatSet(const TRepeatSet& set);
std::string decodeRepeatSet(std::string_view bytes, TRepeatSet& set);

// "dir.v2/song" -> "dir.v2/song.ppf": the kind's extension when the name has none.
std::string withExtension(std::string_view path, PageKind kind);
// The play page's companion: the extension of the final name replaced by ".rpt".
std::string companionPath(std::string_view pagePath);
// The name without its folder.
std::string fileNameOf(std::string_view path);

// Writes the page (and for a play page its companion) so that the old files
// stay byte-identical unless every new file was written whole. Empty on
// success; otherwise one sentence naming the file and the reason.
std::string savePageFile(FileLayer& files, const std::string& path, const PageContents& page,
                         const TRepeatSet* companion = nullptr);
// Reads and checks the file whole; a play page's companion too when it
// exists (`companion` stays empty without one). Empty on success, else the
// message, and nothing is filled.
std::string loadPageFile(FileLayer& files, const std::string& path, PageKind kind,
                         PageContents& page, std::optional<TRepeatSet>& companion);
