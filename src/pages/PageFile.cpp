#include "pages/PageFile.h"

#include <array>
#include <charconv>
#include <cstring>
#include <iterator>
#include <memory>
#include <type_traits>
#include <vector>

#include "files/FileLayer.h"
#include "files/WriteFiles.h"

namespace {

constexpr std::array<PageKindInfo, 5> Kinds{{
    {"cpf", "pxPageChord", 1, sizeof(TChordDiagram), 1 + ChordPageColumns* ChordPageRows,
     "Chord Page", "Save Chord Page File", "Open Chord Page File", "Chord Page Files (*.cpf)"},
    {"prf", "pxPagePrint", 2, sizeof(TPrintDiagram), 1 + PrintPageColumns* PrintPageRows,
     "Print Page", "Save Print Page File", "Open Print Page File", "Print Page Files (*.prf)"},
    {"cds", "pxChordDesign", 1, sizeof(TChordDiagram), 1 + DesignGroupSize, "Chord Design",
     "Save Chord Design File", "Open Chord Design File", "Chord Design Files (*.cds)"},
    {"ppf", "pxPlayPage", 1, sizeof(TChordDiagram), 1 + PlayPageColumns* PlayPageRows, "Play Page",
     "Save PlayPage File", "Open PlayPage File", "Play Page Files (*.ppf)"},
    {"spf", "pxPageScale", 1, sizeof(TScaleDiagram), 1 + ScalePageSize, "Scale Page",
     "Save Scale Page File", "Open Scale Page File", "Scale Page Files (*.spf)"},
}};

// Where the play page header keeps what it carries besides the signature.
constexpr size_t HeaderThreeFour = 0, HeaderStrumSpeed = 17, HeaderTempo = 85, HeaderLoop = 86,
                 HeaderBass = 87;
constexpr size_t StrumSpeedCapacity = 15;
constexpr int LowestTempo = 10, HighestTempo = 250;
constexpr int SlowestStrum = -800, FastestStrum = 0;

constexpr int HighestFret = 22, LowestBaseFret = 1, HighestBaseFret = 17;
constexpr int HighestNote = 127;
constexpr int HighestChordInterval = 21, HighestScaleDegree = 23;
constexpr int LowestBass = 24, HighestBass = 35;

// Every slot of a kind's store in file order, as a pointer to its record.
template <typename Visit>
void forEachSlot(PageKind kind, PageContents& page, Visit visit) {
  switch (kind) {
    case PageKind::Chord:
      for (int r = 0; r < ChordPageRows; ++r)
        for (int c = 0; c < ChordPageColumns; ++c) visit(page.ChordPage[c][r]);
      break;
    case PageKind::Print:
      for (int r = 0; r < PrintPageRows; ++r)
        for (int c = 0; c < PrintPageColumns; ++c) visit(page.PrintPage[c][r]);
      break;
    case PageKind::Design:
      for (auto& d : page.DesignGroup) visit(d);
      break;
    case PageKind::Play:
      for (int r = 0; r < PlayPageRows; ++r)
        for (int c = 0; c < PlayPageColumns; ++c) visit(page.PlayPage[c][r]);
      break;
    case PageKind::Scale:
      for (auto& d : page.ScalePage) visit(d);
      break;
  }
}

bool isFlag(std::uint8_t b) {
  return b <= 1;
}

template <size_t N>
bool fits(const ShortString<N>& s) {
  return s.Length <= N;
}

bool notesFit(const std::uint8_t (&notes)[6]) {
  for (auto n : notes)
    if (n > HighestNote) return false;
  return true;
}

// What of a diagram is out of range, or null when it is sound. Only a filled
// slot is looked at: an empty one keeps whatever stale bytes it had.
const char* chordFault(const TChordDiagram& d) {
  if (!fits(d.ChordName) || !fits(d.TuningName) || !fits(d.Formula)) return "a name or formula";
  if (!notesFit(d.Tuning)) return "the tuning";
  for (const auto& s : d.Strings) {
    if (s.Fret > HighestFret) return "a fret";
    if (s.Finger > FingerCode::Fretted) return "a finger";
  }
  for (auto i : d.Intervals)
    if (i < ChordIntervalEnd || i > HighestChordInterval) return "an interval";
  if (!notesFit(d.Notes)) return "a note";
  if (d.BaseFret < LowestBaseFret || d.BaseFret > HighestBaseFret) return "the base fret";
  if (d.Root > 11) return "the root";
  if (d.Bass < LowestBass || d.Bass > HighestBass) return "the bass note";
  return nullptr;
}

bool scaleDegreeFits(int i) {
  return (i >= 0 && i <= HighestScaleDegree) || i == ScaleIntervalEnd;
}

const char* scaleFault(const TScaleDiagram& d) {
  if (!fits(d.ScaleName) || !fits(d.TuningName) || !fits(d.Formula)) return "a name or formula";
  if (!notesFit(d.Tuning)) return "the tuning";
  for (auto i : d.Intervals)
    if (!scaleDegreeFits(i)) return "an interval";
  for (auto f : d.StartFrets)
    if (f < LowestBaseFret || f > HighestBaseFret) return "a start fret";
  if (d.Root > 11) return "the root";
  return nullptr;
}

const char* printFault(const TPrintDiagram& d) {
  if (!isFlag(d.IsChord)) return "the kind of diagram";
  if (!fits(d.Name) || !fits(d.TuningName) || !fits(d.Formula)) return "a name or formula";
  if (!notesFit(d.Tuning)) return "the tuning";
  if (d.Root > 11) return "the root";
  if (d.BaseFret < LowestBaseFret || d.BaseFret > HighestBaseFret) return "the base fret";
  if (!d.IsChord) {
    // A scale position: strings, notes and bass are never written for it.
    for (auto i : d.Intervals)
      if (!scaleDegreeFits(static_cast<std::uint8_t>(i))) return "an interval";
    return nullptr;
  }
  for (const auto& s : d.Strings) {
    if (s.Fret > HighestFret) return "a fret";
    if (s.Finger > FingerCode::Fretted) return "a finger";
  }
  for (auto i : d.Intervals)
    if (i < ChordIntervalEnd || i > HighestChordInterval) return "an interval";
  if (!notesFit(d.Notes)) return "a note";
  if (d.Bass < LowestBass || d.Bass > HighestBass) return "the bass note";
  return nullptr;
}

const char* fault(const TChordDiagram& d) {
  return chordFault(d);
}
const char* fault(const TScaleDiagram& d) {
  return scaleFault(d);
}
const char* fault(const TPrintDiagram& d) {
  return printFault(d);
}

std::string kindName(PageKind kind) {
  return std::string(pageKindInfo(kind).Name);
}

bool hasSignature(PageKind kind, std::string_view bytes) {
  const auto& info = pageKindInfo(kind);
  const size_t at = static_cast<size_t>(info.SignatureOffset);
  if (bytes.size() < at + 1 + info.Signature.size()) return false;
  return static_cast<std::uint8_t>(bytes[at]) == info.Signature.size() &&
         bytes.substr(at + 1, info.Signature.size()) == info.Signature;
}

std::optional<int> strumSpeedOf(std::string_view header) {
  const auto length = static_cast<std::uint8_t>(header[HeaderStrumSpeed]);
  if (length == 0 || length > StrumSpeedCapacity) return std::nullopt;
  const std::string_view text = header.substr(HeaderStrumSpeed + 1, length);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < SlowestStrum || value > FastestStrum) return std::nullopt;
  return value;
}

std::string quoted(const std::string& path) {
  return "\"" + path + "\"";
}

}  // namespace

const PageKindInfo& pageKindInfo(PageKind kind) {
  return Kinds[static_cast<size_t>(kind)];
}

namespace {

// The tab that shows each kind of page, in PageKind order.
constexpr PlayTab TabOfKind[] = {PlayTab::Chords, PlayTab::Print, PlayTab::ChordDesign,
                                 PlayTab::PlayPage, PlayTab::Scales};

}  // namespace

PageKind pageKindOf(PlayTab tab) {
  for (size_t k = 0; k < std::size(TabOfKind); ++k)
    if (TabOfKind[k] == tab) return static_cast<PageKind>(k);
  return PageKind::Chord;
}

PlayTab tabOf(PageKind kind) {
  return TabOfKind[static_cast<size_t>(kind)];
}

std::optional<PageKind> pageKindOfPath(std::string_view path) {
  const std::string name = fileNameOf(path);
  const auto dot = name.find_last_of('.');
  if (dot == std::string::npos) return std::nullopt;
  std::string ext = name.substr(dot + 1);
  for (char& ch : ext)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  for (size_t k = 0; k < Kinds.size(); ++k)
    if (Kinds[k].Extension == ext) return static_cast<PageKind>(k);
  return std::nullopt;
}

std::string encodePage(const PageContents& page) {
  const auto& info = pageKindInfo(page.Kind);
  const size_t size = static_cast<size_t>(info.RecordSize);
  std::string out(size * static_cast<size_t>(info.Records), '\0');
  out[static_cast<size_t>(info.SignatureOffset)] = static_cast<char>(info.Signature.size());
  std::memcpy(out.data() + info.SignatureOffset + 1, info.Signature.data(), info.Signature.size());
  if (page.Kind == PageKind::Play) {
    const PlayPageHeader& h = page.Header;
    // A value out of range is brought in range, so that every file written
    // here loads back.
    const int speed = h.StrumSpeed < SlowestStrum   ? SlowestStrum
                      : h.StrumSpeed > FastestStrum ? FastestStrum
                                                    : h.StrumSpeed;
    const int tempo = h.TempoBpm < LowestTempo    ? LowestTempo
                      : h.TempoBpm > HighestTempo ? HighestTempo
                                                  : h.TempoBpm;
    const std::string text = std::to_string(speed);
    out[HeaderThreeFour] = h.ThreeFour ? 1 : 0;
    out[HeaderStrumSpeed] = static_cast<char>(text.size());
    std::memcpy(out.data() + HeaderStrumSpeed + 1, text.data(), text.size());
    out[HeaderTempo] = static_cast<char>(tempo);
    out[HeaderLoop] = h.Loop ? 1 : 0;
    out[HeaderBass] = h.Bass ? 1 : 0;
  }
  size_t at = size;
  forEachSlot(page.Kind, const_cast<PageContents&>(page), [&](const auto& record) {
    std::memcpy(out.data() + at, &record, sizeof record);
    // Any non-zero Empty means empty in memory; the file holds it as 1, the
    // one value a reader takes for it.
    out[at] = isEmpty(record) ? 1 : 0;
    at += sizeof record;
  });
  return out;
}

std::string decodePage(PageKind kind, std::string_view bytes, PageContents& page) {
  const auto& info = pageKindInfo(kind);
  const size_t size = static_cast<size_t>(info.RecordSize);
  const size_t whole = size * static_cast<size_t>(info.Records);
  if (bytes.empty()) return "The file is empty.";
  if (!hasSignature(kind, bytes)) return "This is not a " + kindName(kind) + " file";
  if (bytes.size() < whole) return "The file is too short to be a " + kindName(kind) + " file.";
  if (bytes.size() > whole) return "The file is too long to be a " + kindName(kind) + " file.";

  const std::string damaged = "The " + kindName(kind) + " file is damaged: ";
  PlayPageHeader header;
  if (kind == PageKind::Play) {
    const std::string_view h = bytes.substr(0, size);
    const auto flag = [&](size_t at) { return static_cast<std::uint8_t>(h[at]); };
    if (!isFlag(flag(HeaderThreeFour)) || !isFlag(flag(HeaderLoop)) || !isFlag(flag(HeaderBass)))
      return damaged + "a switch of its header is neither on nor off.";
    const int tempo = flag(HeaderTempo);
    if (tempo < LowestTempo || tempo > HighestTempo)
      return damaged + "its tempo of " + std::to_string(tempo) +
             " beats per minute is out of range.";
    const auto speed = strumSpeedOf(h);
    if (!speed) return damaged + "its strum speed is not a whole number from -800 to 0.";
    header = {flag(HeaderThreeFour) == 1, *speed, tempo, flag(HeaderLoop) == 1,
              flag(HeaderBass) == 1};
  }

  // Every record is checked before any is taken, so a bad one changes nothing.
  std::string problem;
  size_t at = size;
  int number = 0;
  // The walk over `page` only gives each record's type; nothing is written.
  forEachSlot(kind, page, [&](const auto& slot) {
    ++number;
    std::remove_cvref_t<decltype(slot)> record;
    std::memcpy(&record, bytes.data() + at, sizeof record);
    at += sizeof record;
    if (!problem.empty()) return;
    if (!isFlag(record.Empty)) {
      problem = damaged + "diagram " + std::to_string(number) + " is neither empty nor filled.";
    } else if (!isEmpty(record)) {
      if (const char* what = fault(record))
        problem = damaged + what + " of diagram " + std::to_string(number) + " is out of range.";
    }
  });
  if (!problem.empty()) return problem;

  at = size;
  forEachSlot(kind, page, [&](auto& slot) {
    std::memcpy(&slot, bytes.data() + at, sizeof slot);
    at += sizeof slot;
  });
  page.Kind = kind;
  if (kind == PageKind::Play) page.Header = header;
  return {};
}

std::string encodeRepeatSet(const TRepeatSet& set) {
  return std::string(reinterpret_cast<const char*>(&set), sizeof set);
}

std::string decodeRepeatSet(std::string_view bytes, TRepeatSet& set) {
  if (bytes.size() < sizeof(TRepeatSet)) return "The file is too short to hold repeat marks.";
  if (bytes.size() > sizeof(TRepeatSet)) return "The file is too long to hold repeat marks.";
  TRepeatSet read;
  std::memcpy(&read, bytes.data(), sizeof read);
  for (int bar = 0; bar < MaxBars; ++bar) {
    if (!isFlag(read.ReturnMark[bar]) || !isFlag(read.LoopMark[bar]))
      return "The repeat marks are damaged: a mark of bar " + std::to_string(bar + 1) +
             " is neither set nor clear.";
  }
  set = read;
  return {};
}

std::string fileNameOf(std::string_view path) {
  const auto slash = path.find_last_of('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

namespace {
// Where the final name's extension starts (its dot), or npos without one. A
// name that only starts with a dot (".song") has none.
size_t extensionDot(std::string_view path) {
  const auto slash = path.find_last_of('/');
  const size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const auto dot = path.find_last_of('.');
  if (dot == std::string_view::npos || dot <= nameStart) return std::string_view::npos;
  return dot;
}
}  // namespace

std::string withExtension(std::string_view path, PageKind kind) {
  std::string out(path);
  const auto dot = extensionDot(path);
  if (dot != std::string_view::npos && dot + 1 < path.size()) return out;
  if (dot == std::string_view::npos) out += '.';
  out += pageKindInfo(kind).Extension;
  return out;
}

std::string companionPath(std::string_view pagePath) {
  const auto dot = extensionDot(pagePath);
  return std::string(pagePath.substr(0, dot)) + ".rpt";
}

namespace {

// The files a page's save writes and a load reads together.
std::vector<std::string> groupOf(const std::string& path, PageKind kind) {
  if (kind == PageKind::Play) return {path, companionPath(path)};
  return {path};
}

}  // namespace

std::string savePageFile(FileLayer& files, const std::string& path, const PageContents& page,
                         const TRepeatSet* companion) {
  const std::string bytes = encodePage(page);
  std::optional<FileWriteFailure> failure;
  if (page.Kind == PageKind::Play && companion) {
    const std::string marks = encodeRepeatSet(*companion);
    failure = writeFilesTogether(files, {{path, bytes}, {companionPath(path), marks}});
  } else {
    const auto group = groupOf(path, page.Kind);
    failure = writeFilesTogether(files, {{path, bytes}}, {group.begin() + 1, group.end()});
  }
  if (!failure) return {};
  return "Could not save the file " + quoted(failure->Path) + ": " + failure->Reason + ".";
}

std::string loadPageFile(FileLayer& files, const std::string& path, PageKind kind,
                         PageContents& page, std::optional<TRepeatSet>& companion) {
  // Read under the folder's lock, once a save that a crash cut short is
  // finished or undone: the page and its companion are always of one save.
  std::unique_ptr<FileLayer::Lock> lock;
  if (const auto failure = settleFiles(files, groupOf(path, kind), lock))
    return "Could not open the file " + quoted(failure->Path) + ": " + failure->Reason + ".";
  // One byte more than the kind's length is enough to refuse a longer file;
  // the rest of it is never read.
  const auto& info = pageKindInfo(kind);
  const auto bytes =
      files.readAtMost(path, static_cast<size_t>(info.RecordSize) * info.Records + 1);
  if (!bytes) return "Could not open the file " + quoted(path) + ": " + files.lastError() + ".";
  // Decoded into a copy: the companion is checked too before the page changes.
  auto decoded = std::make_unique<PageContents>(page);
  if (auto problem = decodePage(kind, *bytes, *decoded); !problem.empty()) return problem;
  std::optional<TRepeatSet> marks;
  if (kind == PageKind::Play) {
    const std::string rpt = companionPath(path);
    if (files.exists(rpt)) {
      const auto rptBytes = files.readAtMost(rpt, sizeof(TRepeatSet) + 1);
      if (!rptBytes)
        return "Could not open the file " + quoted(rpt) + ": " + files.lastError() + ".";
      TRepeatSet set{};
      if (auto problem = decodeRepeatSet(*rptBytes, set); !problem.empty())
        return quoted(rpt) + ": " + problem;
      marks = set;
    }
  }
  page = *decoded;
  companion = marks;
  return {};
}
