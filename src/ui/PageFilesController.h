#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <string>

#include "pages/PageFile.h"
#include "play/PlayTab.h"

class Workbench;
class BusyGuard;
class FileLayer;
class PageViews;
class ProfileFile;
class Prompter;
class QWidget;
class Settings;

// Save and Open of the page of the active tab, and opening a page file by
// name (the command line, a file dropped on the window, the recent files).
// A file is read and checked whole before the page is touched, and written so
// that a failed save leaves the old file as it was.
class PageFilesController : public QObject {
  Q_OBJECT

 public:
  struct Parts {
    // The pages to save and load, and the active tab.
    Workbench& Bench;
    const BusyGuard& Guard;
    Prompter& Ask;
    QWidget& Window;
    Settings& Config;
    // Where the recent files are kept; none in tests that need no settings.
    ProfileFile* SettingsFile;
    FileLayer& Files;
    // Draws the pages that were loaded or saved.
    PageViews& Views;
    // Brings a tab forward as the player's own change of tab does.
    std::function<void(PlayTab)> ShowTab;
  };

  explicit PageFilesController(Parts parts, QObject* parent = nullptr);

  void sbtnSaveClick();
  void sbtnOpenClick();
  // Opens each page file into the tab of its kind, as Open would after its
  // questions, and brings that tab forward once the file is in; a name of no
  // page kind and a file that cannot be loaded are refused with a message
  // and leave the tabs as they were.
  void openFiles(const QStringList& paths);
  // File > Export ChordPro...: the chords of the active tab's page (the
  // PlayPage with its bars and repeats) written as a ChordPro sheet.
  void exportChordPro();
  // The recent files of the active tab's kind, newest first.
  QStringList recentFiles() const;

 private:
  // The unsaved-changes question of Open; false when the user would rather
  // save first.
  bool mayReplace(PageKind kind);
  // Reads `path` as a page of `kind` into its page. False, with the message
  // shown, when it could not; the page is then untouched.
  bool load(const std::string& path, PageKind kind);
  // Reads the ChordPro sheet `path` into the page of `kind` (the PlayPage or
  // the Print page) as one step of its history; the page then counts as
  // changed, since no page file holds it. False, with the message shown,
  // when the sheet gives no page; the page is then untouched.
  bool importSheet(const std::string& path, PageKind kind);
  // Where the file dialogs start for `kind`, ending in '/'.
  QString startFolder(PageKind kind) const;
  // LastPageFile, the caption and the recent files after a save or a load.
  void remember(PageKind kind, const std::string& path);

  Parts P;
};
