#include "app/ExportRun.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "app/ProgramDir.h"
#include "files/FileLayer.h"
#include "files/PosixFileLayer.h"
#include "files/WriteFiles.h"
#include "music/NameTables.h"
#include "output/MusicXml.h"
#include "output/PageExport.h"
#include "pages/ChordPro.h"
#include "pages/PageFile.h"
#include "pages/SmoothFingerings.h"
#include "pages/Transpose.h"
#include "play/PlayPageModel.h"
#include "render/PageDrawer.h"
#include "render/PrintSheet.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "settings/SettingsLocation.h"

namespace {

int fail(const QString& line) {
  std::fprintf(stderr, "strumbo: %s\n", qPrintable(line));
  return 1;
}

// The player's channels, voices, volumes and capo, and the view the window
// would export with: the user's settings file if there is one, else the
// shipped one. Only read; an export never writes the settings.
Settings programSettings(FileLayer& files, const std::string& exeDir) {
  std::string path = SettingsLocation::userConfigDir();
  if (!path.empty()) path += SettingsLocation::FileName;
  if (path.empty() || !QFileInfo::exists(QString::fromStdString(path)))
    path = exeDir + SettingsLocation::FileName;
  ProfileFile file(path, files);
  Settings settings;
  settings.load(file, exeDir);
  return settings;
}

// Chords named as the window would show them: shapes, or what sounds with the capo.
NameTables namesOf(const Settings& settings) {
  const NameTables names;
  return settings.SoundingNames ? names.shiftedBy(settings.Capo) : names;
}

// Writing the output over the page (or its companion) would destroy the
// very file being exported.
bool overwritesInput(const QString& out, const std::string& page) {
  const QFileInfo target(out);
  if (!target.exists()) return false;
  const QString canonical = target.canonicalFilePath();
  for (const std::string& input : {page, companionPath(page)}) {
    const QFileInfo in(QString::fromStdString(input));
    if (in.exists() && in.canonicalFilePath() == canonical) return true;
  }
  return false;
}

int exportSound(const ExportRequest& request, FileLayer& files, const std::string& exeDir,
                const std::string& out, const PageContents& page,
                const std::optional<TRepeatSet>& companion) {
  // The page as opening it in the window leaves it: its time signature, the
  // companion's marks (a new page's without one), playback from bar 1.
  PlayPageState state;
  state.ThreeFour = page.Header.ThreeFour;
  if (companion) state.savedSet() = *companion;
  state.loadActiveRepeatSet();
  state.PlayStartColumn = 0;
  state.PlayStartRow = 0;
  PlayOptions options;
  options.Loop = false;
  options.BassNote = page.Header.Bass;
  options.StrumSpeed = page.Header.StrumSpeed;
  const Settings settings = programSettings(files, exeDir);
  options.Capo = settings.Capo;
  // A header that slipped past the checks must not divide by zero.
  const int bpm = page.Header.TempoBpm > 0 ? page.Header.TempoBpm : 1;
  const std::int32_t tempo = 60'000'000 / bpm;
  auto exported = PageExport::pageFrom(page.PlayPage, state, settings.Player, options, tempo);
  exported.Names = namesOf(settings);
  const PageExport::Outcome outcome = request.What == ExportRequest::Kind::Midi
                                          ? PageExport::exportMidi(files, out, exported)
                                          : PageExport::exportAudio(files, out, exported);
  if (outcome.Status == PageExport::Result::Written) {
    if (const std::string note = PageExport::note(outcome); !note.empty())
      std::fprintf(stderr, "strumbo: %s\n", note.c_str());
    return 0;
  }
  if (outcome.Status == PageExport::Result::Empty)
    return fail(request.Page + QStringLiteral(": the page is empty; nothing to play"));
  return fail(QString::fromStdString(PageExport::message(outcome, out)));
}

int exportPdf(const ExportRequest& request, FileLayer& files, const std::string& exeDir,
              const std::string& out, const PageContents& page,
              const std::optional<TRepeatSet>& companion) {
  const Settings settings = programSettings(files, exeDir);
  const PageLook look{namesOf(settings), {settings.LeftHanded, settings.Capo}};
  const std::optional<PagePicture> picture = pagePicture(page, companion, look);
  if (!picture) return fail(request.Page + QStringLiteral(": the page is empty; nothing to print"));
  const PdfSheet sheet = pdfSheet(
      picture->Art, picture->Heading + QFileInfo(request.Page).fileName(), picture->Subtitle);
  if (sheet.Bytes.isEmpty()) return fail(QStringLiteral("Could not write ") + request.Out);
  const auto failure = writeFilesTogether(
      files, {{out, std::string_view(sheet.Bytes.constData(),
                                     static_cast<std::size_t>(sheet.Bytes.size()))}});
  if (failure) return fail(QString::fromStdString(couldNotWrite(out, failure->Reason)));
  return 0;
}

// The repeat marks a play page plays with: its companion's, or a new page's
// (a return mark on bar 1, the loop on the last bar) when it has none, as
// opening it in the window gives.
TRepeatSet marksOf(const PageContents& page, const std::optional<TRepeatSet>& companion) {
  if (companion) return *companion;
  PlayPageState fresh;
  fresh.ThreeFour = page.Header.ThreeFour;
  return fresh.savedSet();
}

// The play page as a lead sheet: the chords named as the window would name
// them with the settings file's capo and naming, repeats and the page's loop
// as repeat barlines.
int exportMusicXml(const ExportRequest& request, FileLayer& files, const std::string& exeDir,
                   const std::string& out, const PageContents& page,
                   const std::optional<TRepeatSet>& companion) {
  const Settings settings = programSettings(files, exeDir);
  MusicXml::Page score;
  score.Slots = playListFrom(page.PlayPage);
  score.ThreeFour = page.Header.ThreeFour;
  score.Marks = marksOf(page, companion);
  score.Loop = page.Header.Loop;
  score.TempoBpm = page.Header.TempoBpm;
  score.Title = QFileInfo(request.Page).completeBaseName().toStdString();
  score.Names = namesOf(settings);
  score.Capo = settings.Capo;
  const MusicXml::Outcome outcome = MusicXml::exportFile(files, out, score);
  if (outcome.Status == MusicXml::Result::Written) return 0;
  if (outcome.Status == MusicXml::Result::Empty)
    return fail(request.Page + QStringLiteral(": the page is empty; nothing to write"));
  return fail(QString::fromStdString(MusicXml::message(outcome, out)));
}

// Re-fingers a play page for the hand and writes it with its companion, as
// the window would save it after Smooth Fingerings.
int smoothPage(const ExportRequest& request, FileLayer& files, const std::string& exeDir,
               const std::string& out, const PageContents& read,
               const std::optional<TRepeatSet>& companion) {
  PageContents page = read;
  SmoothRequest smooth;
  if (request.Around) {
    smooth.Where = HandPlace::AroundFret;
    smooth.Fret = *request.Around;
  }
  smooth.ThreeFour = page.Header.ThreeFour;
  smooth.Marks = marksOf(page, companion);
  smooth.Loop = page.Header.Loop;
  LibraryFingerings library(exeDir);
  const SmoothResult result = smoothFingerings(page.PlayPage, smooth, library);
  const std::string error = savePageFile(files, out, page, &smooth.Marks);
  if (!error.empty()) return fail(QString::fromStdString(error));
  std::printf("%zu chords re-fingered; the hand travels %.1f frets, was %.1f\n",
              result.Changed.size(), result.TravelAfter, result.TravelBefore);
  return 0;
}

// Transposes a play page (its companion travels with it), a print page or a
// design group and writes it as a save would; says which items changed shape.
int transposePage(const ExportRequest& request, FileLayer& files, const std::string& exeDir,
                  const std::string& out, const PageContents& read,
                  const std::optional<TRepeatSet>& companion) {
  PageContents page = read;
  LibraryFingerings library(exeDir);
  const TransposeReport report = transposePage(page, request.Steps, library);
  const TRepeatSet marks = marksOf(page, companion);
  const std::string error =
      savePageFile(files, out, page, page.Kind == PageKind::Play ? &marks : nullptr);
  if (!error.empty()) return fail(QString::fromStdString(error));
  std::printf("%d items transposed", report.Moved);
  if (!report.ShapeChanged.empty()) {
    std::printf("; shapes changed at");
    for (int i : report.ShapeChanged) std::printf(" %d", i + 1);
  }
  if (!report.NotMoved.empty()) {
    std::printf("; left as they were (no chord type or library fingering):");
    for (int i : report.NotMoved) std::printf(" %d", i + 1);
  }
  std::printf("\n");
  return 0;
}

// The page as a ChordPro sheet: its chords, fingerings and, for a play page,
// its bars and repeats.
int exportChordPro(const ExportRequest& request, FileLayer& files, const std::string& exeDir,
                   const std::string& out, const PageContents& page,
                   const std::optional<TRepeatSet>& companion) {
  ChordPro::SheetHeading heading;
  heading.Title = QFileInfo(request.Page).completeBaseName().toStdString();
  heading.Capo = programSettings(files, exeDir).Capo;
  const std::string text = ChordPro::writeSheet(page, marksOf(page, companion), heading);
  if (text.empty()) return fail(request.Page + QStringLiteral(": the page holds no chord"));
  const auto failure = writeFilesTogether(files, {{out, text}});
  if (failure) return fail(QString::fromStdString(couldNotWrite(out, failure->Reason)));
  return 0;
}

// What each request does, which pages it takes, and what it says of another.
struct ExportKind {
  ExportRequest::Kind What;
  std::vector<PageKind> Takes;
  const char* Refusal;  // follows the page's name
  // Rewrites the page: the output keeps its kind and may be the page itself.
  bool Rewrites;
  int (*Run)(const ExportRequest&, FileLayer&, const std::string& exeDir, const std::string& out,
             const PageContents&, const std::optional<TRepeatSet>& companion);
};

const ExportKind& exportKind(ExportRequest::Kind what) {
  using K = ExportRequest::Kind;
  static const ExportKind kinds[] = {
      {K::Midi, {PageKind::Play}, ": only a play page (.ppf) plays", false, exportSound},
      {K::Audio, {PageKind::Play}, ": only a play page (.ppf) plays", false, exportSound},
      {K::Pdf,
       {PageKind::Chord, PageKind::Print, PageKind::Play, PageKind::Scale},
       ": not a printable page (.cpf, .prf, .ppf or .spf)",
       false,
       exportPdf},
      {K::Smooth,
       {PageKind::Play},
       ": only a play page (.ppf) has fingerings to smooth",
       true,
       smoothPage},
      {K::Transpose,
       {PageKind::Play, PageKind::Print, PageKind::Design},
       ": only a play page, a print page or a design group transposes",
       true,
       transposePage},
      {K::MusicXml,
       {PageKind::Play},
       ": only a play page (.ppf) has a score",
       false,
       exportMusicXml},
      {K::ChordPro,
       {PageKind::Play, PageKind::Print, PageKind::Chord, PageKind::Design},
       ": only a play, print or chord page or a design group (.ppf, .prf, .cpf, .cds) has "
       "chords for ChordPro",
       false,
       exportChordPro},
  };
  for (const ExportKind& k : kinds)
    if (k.What == what) return k;
  return kinds[0];
}

}  // namespace

int runExport(const ExportRequest& request, FileLayer& files, const std::string& exeDir) {
  const std::string pagePath = QFile::encodeName(request.Page).toStdString();
  const std::string out = QFile::encodeName(request.Out).toStdString();
  const std::optional<PageKind> kind = pageKindOfPath(pagePath);
  const ExportKind& what = exportKind(request.What);
  if (!kind || std::find(what.Takes.begin(), what.Takes.end(), *kind) == what.Takes.end())
    return fail(request.Page + QString::fromLatin1(what.Refusal));
  // A rewritten page keeps its kind: another name would hide it from Open.
  if (what.Rewrites && pageKindOfPath(out) != kind)
    return fail(request.Out + QStringLiteral(": the page written must keep the extension of ") +
                request.Page);
  // A rewrite reads the page whole before it writes, so it may write over it.
  if (!what.Rewrites && overwritesInput(request.Out, pagePath))
    return fail(request.Out + QStringLiteral(" is the page itself; choose another output file"));

  PageContents page;
  std::optional<TRepeatSet> companion;
  const std::string error = loadPageFile(files, pagePath, *kind, page, companion);
  if (!error.empty())
    return fail(request.Page + QStringLiteral(": ") + QString::fromStdString(error));
  return what.Run(request, files, exeDir, out, page, companion);
}

std::optional<int> runExportCommandLine(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const ExportCommand command = parseExportCommand(arguments);
  if (!command.Error.isEmpty()) return fail(command.Error);
  if (!command.Request) return std::nullopt;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  PosixFileLayer files;
  return runExport(*command.Request, files, programDirectory(argv[0]));
}
