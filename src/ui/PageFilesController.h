#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <string>

#include "pages/PageFile.h"
#include "play/PlayTab.h"

struct AppState;
class Workbench;
class BusyGuard;
class ChordDesignTab;
class ChordsTab;
class DesignGroupController;
class FileLayer;
class PageCommands;
class PlayPageTab;
class PrintPageTab;
class ProfileFile;
class Prompter;
class QWidget;
class ScalesTab;
class Settings;
class ToolBarPanel;

// Save and Open of the page of the active tab, and opening a page file by
// name (the command line, a file dropped on the window, the recent files).
// A file is read and checked whole before the page is touched, and written so
// that a failed save leaves the old file as it was.
class PageFilesController : public QObject {
  Q_OBJECT

 public:
  struct Parts {
    Workbench& Bench;
    AppState& State;
    const BusyGuard& Guard;
    Prompter& Ask;
    QWidget& Window;
    Settings& Config;
    // Where the recent files are kept; none in tests that need no settings.
    ProfileFile* SettingsFile;
    FileLayer& Files;
    ToolBarPanel& ToolBar;
    ChordsTab& Chords;
    ChordDesignTab& Design;
    DesignGroupController& Group;
    PlayPageTab& PlayPage;
    PrintPageTab& Print;
    ScalesTab& Scales;
    PageCommands& Pages;
    std::function<PlayTab()> ActiveTab;
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
  // The recent files of the active tab's kind, newest first.
  QStringList recentFiles() const;

 private:
  // The unsaved-changes question of Open; false when the user would rather
  // save first.
  bool mayReplace(PageKind kind);
  // Reads `path` as a page of `kind` into its page. False, with the message
  // shown, when it could not; the page is then untouched.
  bool load(const std::string& path, PageKind kind);
  void applyLoaded(PageKind kind, const PageContents& page,
                   const std::optional<TRepeatSet>& companion, const std::string& path);
  PageContents contentsOf(PageKind kind) const;
  // Where the file dialogs start for `kind`, ending in '/'.
  QString startFolder(PageKind kind) const;
  // LastPageFile, the caption and the recent files after a save or a load.
  void remember(PageKind kind, const std::string& path);

  Parts P;
};
