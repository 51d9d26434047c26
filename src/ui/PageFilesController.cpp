#include "ui/PageFilesController.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>
#include <algorithm>

#include "files/Paths.h"
#include "files/WriteFiles.h"
#include "pages/ChordPro.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "state/AppState.h"
#include "state/Workbench.h"
#include "ui/BusyGuard.h"
#include "ui/PageViews.h"
#include "ui/Prompter.h"

namespace {

QString qsv(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Paths are the file system's, in UTF-8, and kept absolute: a name given on
// the command line must still open from the recent files in another folder.
std::string pathOf(const QString& path) {
  return canonicalPath(path.toStdString());
}

// The page of `kind` is drawn on the tab of the same place in both orders.
Settings::PageKind settingsKind(PageKind kind) {
  return static_cast<Settings::PageKind>(static_cast<int>(kind));
}

const QString SheetFilter = QStringLiteral("ChordPro Files (*.cho *.chordpro *.crd *.pro)");
// Far more than any song; a longer file is something else.
constexpr std::size_t MaxSheetBytes = 1 << 20;

}  // namespace

PageFilesController::PageFilesController(Parts parts, QObject* parent)
    : QObject(parent), P(parts) {}

QStringList PageFilesController::recentFiles() const {
  QStringList list;
  const auto kind = static_cast<std::size_t>(pageKindOf(P.Bench.activeTab()));
  for (const std::string& path : P.Config.RecentFiles[kind]) list << QString::fromStdString(path);
  return list;
}

bool PageFilesController::mayReplace(PageKind kind) {
  if (kind == PageKind::Play && P.Bench.State.Play.PlayPageChanged &&
      P.Ask.ask(&P.Window,
                QStringLiteral("This Play Page has changed. Do you want to save changes?"), true))
    return false;
  if (kind == PageKind::Design && P.Bench.State.DesignGroupChanged &&
      P.Ask.ask(&P.Window,
                QStringLiteral("This Design Group has changed. Do you want to save changes?"),
                true))
    return false;
  if (kind == PageKind::Print && P.Bench.State.PrintPageChanged &&
      P.Ask.ask(&P.Window,
                QStringLiteral("This Print Page has changed. Do you want to save changes?"), true))
    return false;
  return true;
}

QString PageFilesController::startFolder(PageKind kind) const {
  const auto k = static_cast<std::size_t>(kind);
  QString folder = QString::fromStdString(P.Config.PageDirectory[k]);
  // Nothing makes the folders of the settings, so on a fresh install they
  // are not there (and their names would stand in the dialog as a file
  // name): the folder the player last used for this kind, else Documents.
  if (folder.isEmpty() || !QDir(folder).exists()) {
    folder.clear();
    const auto& recent = P.Config.RecentFiles[k];
    if (!recent.empty()) {
      const QString used = QFileInfo(QString::fromStdString(recent.front())).absolutePath();
      if (QDir(used).exists()) folder = used;
    }
  }
  if (folder.isEmpty()) {
    folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  }
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

void PageFilesController::sbtnOpenClick() {
  if (P.Guard.active()) return;
  const PageKind kind = pageKindOf(P.Bench.activeTab());
  if (!mayReplace(kind)) return;
  const PageKindInfo& info = pageKindInfo(kind);
  // The PlayPage and the Print page also take a ChordPro sheet's chords.
  const bool sheets = kind == PageKind::Play || kind == PageKind::Print;
  const QString filter =
      qsv(info.Filter) + (sheets ? QStringLiteral(";;") + SheetFilter : QString());
  const QString path =
      P.Ask.openFileName(&P.Window, qsv(info.OpenTitle), startFolder(kind), filter);
  if (path.isEmpty()) return;
  if (sheets && ChordPro::isSheetPath(path.toStdString()))
    importSheet(pathOf(path), kind);
  else
    load(pathOf(path), kind);
}

void PageFilesController::openFiles(const QStringList& paths) {
  if (P.Guard.active()) return;
  for (const QString& path : paths) {
    // A ChordPro sheet named or dropped becomes the PlayPage.
    if (ChordPro::isSheetPath(path.toStdString())) {
      if (!mayReplace(PageKind::Play)) return;
      if (importSheet(pathOf(path), PageKind::Play) && P.Bench.activeTab() != PlayTab::PlayPage)
        P.ShowTab(PlayTab::PlayPage);
      continue;
    }
    const std::optional<PageKind> kind = pageKindOfPath(pathOf(path));
    if (!kind) {
      P.Ask.error(&P.Window,
                  QFileInfo(path).fileName() + QStringLiteral(" is not a page file of Strumbo!"));
      continue;
    }
    // The question is about the page the file would replace, wherever the
    // player is; the tab changes only when the file has come in.
    if (!mayReplace(*kind)) return;
    if (load(pathOf(path), *kind) && P.Bench.activeTab() != tabOf(*kind)) P.ShowTab(tabOf(*kind));
  }
}

bool PageFilesController::load(const std::string& path, PageKind kind) {
  PageContents page;
  std::optional<TRepeatSet> companion;
  // A print page of thirty pictures and captions takes a while to draw.
  std::optional<BusyPointer> busy;
  if (kind == PageKind::Print) busy.emplace();
  const std::string error = loadPageFile(P.Files, path, kind, page, companion);
  if (!error.empty()) {
    busy.reset();
    P.Ask.error(&P.Window, QString::fromStdString(error));
    return false;
  }
  // Opening is one step of the page's history, and the page is then as its file.
  const PlayTab tab = tabOf(kind);
  P.Bench.apply(tab, [&] {
    P.Views.pageLoaded(kind, page, companion, path);
    return PageEdit{"Open"};
  });
  P.Bench.markSaved(tab);
  remember(kind, path);
  return true;
}

void PageFilesController::sbtnSaveClick() {
  if (P.Guard.active()) return;
  const PageKind kind = pageKindOf(P.Bench.activeTab());
  const PageKindInfo& info = pageKindInfo(kind);
  // A diagram in the middle of a move belongs to the page: it goes back
  // where it came from and is saved there.
  P.Views.apply(P.Bench.endMove(tabOf(kind)));
  // The page as it is before the dialog.
  const PageContents page = P.Bench.contents(kind);
  // The folder of the kind, with the page's file name when it has one.
  const QString start =
      startFolder(kind) + QString::fromStdString(P.Bench.State.lastPageFile(tabOf(kind)));
  const QString chosen =
      P.Ask.saveFileName(&P.Window, qsv(info.SaveTitle), start, qsv(info.Filter));
  if (chosen.isEmpty()) return;
  const std::string path = canonicalPath(withExtension(pathOf(chosen), kind));
  const TRepeatSet* companion =
      kind == PageKind::Play ? &P.Bench.State.Play.ActiveRepeatSet : nullptr;
  const std::string error = savePageFile(P.Files, path, page, companion);
  if (!error.empty()) {
    // The old file is as it was, and so is everything here.
    P.Ask.error(&P.Window, QString::fromStdString(error));
    return;
  }
  P.Views.pageSaved(kind, path);
  P.Bench.markSaved(tabOf(kind));
  remember(kind, path);
}

void PageFilesController::remember(PageKind kind, const std::string& path) {
  const PlayTab tab = tabOf(kind);
  P.Bench.State.lastPageFile(tab) = fileNameOf(path);
  if (P.Bench.activeTab() == tab)
    P.Window.setWindowTitle(QStringLiteral("Strumbo!   ") +
                            QString::fromStdString(P.Bench.State.lastPageFile(tab)));
  P.Config.rememberFile(settingsKind(kind), path);
  if (!P.SettingsFile) return;
  try {
    P.Config.saveRecentFiles(*P.SettingsFile);
  } catch (const ProfileWriteError&) {
    // The list is only a convenience; the page itself is saved or loaded.
  }
}

bool PageFilesController::importSheet(const std::string& path, PageKind kind) {
  const QString file = QString::fromStdString(fileNameOf(path));
  const std::optional<std::string> text = P.Files.readAtMost(path, MaxSheetBytes + 1);
  if (!text || text->size() > MaxSheetBytes) {
    P.Ask.error(&P.Window, text ? file + QStringLiteral(" is too long for a ChordPro file.")
                                : QStringLiteral("Could not read ") + file + QStringLiteral("."));
    return false;
  }
  ChordPro::Imported sheet = ChordPro::readSheet(*text, kind, P.Bench.State.ExeDir);
  QString unknown;
  for (const std::string& name : sheet.Unknown)
    unknown +=
        (unknown.isEmpty() ? QString() : QStringLiteral(", ")) + QString::fromStdString(name);
  const QString leftOutLine =
      QStringLiteral("These chords have no chord type in the dictionary and were left out: ") +
      unknown + QStringLiteral(".");
  if (!sheet.Error.empty()) {
    QString text = QString::fromStdString(sheet.Error);
    if (!unknown.isEmpty()) text += QStringLiteral("\n\n") + leftOutLine;
    P.Ask.error(&P.Window, text);
    return false;
  }
  std::optional<TRepeatSet> marks;
  if (kind == PageKind::Play) {
    // How the player strums and whether the bass sounds are not the sheet's
    // to say.
    sheet.Page.Header.StrumSpeed = P.Bench.State.Play.StrumSpeed;
    sheet.Page.Header.Bass = P.Bench.State.Play.BassNote;
    marks = sheet.Marks;
  }
  const PlayTab tab = tabOf(kind);
  P.Bench.apply(tab, [&] {
    P.Views.pageLoaded(kind, sheet.Page, marks, path);
    return PageEdit{"Import ChordPro"};
  });
  QStringList notes;
  if (!unknown.isEmpty()) notes << leftOutLine;
  if (sheet.LeftOut > 0)
    notes << QStringLiteral("%1 more chords did not fit on the page and were left out.")
                 .arg(sheet.LeftOut);
  if (!notes.isEmpty()) P.Ask.message(&P.Window, notes.join(QStringLiteral("\n\n")));
  return true;
}

void PageFilesController::exportChordPro() {
  if (P.Guard.active()) return;
  const PlayTab tab = P.Bench.activeTab();
  if (tab == PlayTab::Scales) return;
  const PageKind kind = pageKindOf(tab);
  P.Views.apply(P.Bench.endMove(tab));
  const std::string& file = P.Bench.State.lastPageFile(tab);
  const QString stem = file.empty() ? QStringLiteral("Untitled")
                                    : QFileInfo(QString::fromStdString(file)).completeBaseName();
  ChordPro::SheetHeading heading;
  heading.Title = stem.toStdString();
  heading.Capo = P.Bench.State.Capo;
  heading.Names = P.Bench.State.Names;
  const std::string text =
      ChordPro::writeSheet(P.Bench.contents(kind), P.Bench.State.Play.ActiveRepeatSet, heading);
  if (text.empty()) {
    P.Ask.message(&P.Window, QStringLiteral("This page holds no chord to export."));
    return;
  }
  QString path = P.Ask.saveFileName(&P.Window, QStringLiteral("Export ChordPro"),
                                    startFolder(kind) + stem + QStringLiteral(".cho"), SheetFilter);
  if (path.isEmpty()) return;
  if (!ChordPro::isSheetPath(path.toStdString())) path += QStringLiteral(".cho");
  const std::string out = pathOf(path);
  // Written whole or not at all, like a page.
  if (const auto failure = writeFilesTogether(P.Files, {{out, text}}))
    P.Ask.error(&P.Window, QString::fromStdString(couldNotWrite(out, failure->Reason)));
}
