#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "play/PlayTab.h"
#include "state/Workbench.h"
#include "ui/BusyGuard.h"
#include "ui/PageViews.h"
#include "ui/Prompter.h"
#include "ui/WindowSession.h"

class ChordDesignTab;
class ChordsTab;
class DesignGroupController;
class FretboardPanel;
class MainMenu;
class FileLayer;
class PageCommands;
class PageFilesController;
class QDragEnterEvent;
class QDropEvent;
class PrintPageTab;
class PlayPageTab;
class PlaybackController;
class PrintController;
class QScrollArea;
class QTabWidget;
class QVBoxLayout;
class ScalesTab;
class SurfaceView;
class ToolBarController;
class ToolBarPanel;

// The program's one window. It owns the program state for its whole life,
// composes the tool bar, the five tab pages, the fretboard panel and the
// menus, and routes each command to the class that carries it out. Its page
// views are the page commands', made after the players need them.
class MainWindow : public QMainWindow, public PageViews {
  Q_OBJECT

 public:
  using Services = MainWindowServices;

  // Questions and dialogs go through `prompter`; without one the real Qt
  // dialogs are used.
  explicit MainWindow(const std::string& exeDir, Prompter* prompter = nullptr,
                      Services services = {}, QWidget* parent = nullptr);
  ~MainWindow() override;

  AppState& state() { return State; }
  Workbench& workbench() { return Bench; }
  const BusyGuard& guard() const { return Guard; }
  FretboardPanel* fretboard() const { return pnlBottom; }
  ChordDesignTab* chordDesign() const { return DesignPage; }
  ChordsTab* chordsPage() const { return Chords; }
  ScalesTab* scalesPage() const { return Scales; }
  PlayPageTab* playPage() const { return PlayPage; }
  PlaybackController* playback() const { return Playback; }
  PrintPageTab* printPage() const { return Print; }
  bool fretboardOnTop() const { return FretboardOnTop; }
  const Settings& settings() const { return Session->settings(); }
  HelpWindow* help() const { return Session->help(); }
  bool midiOpen() const { return Session->midiOpen(); }
  static bool maximisedOn(QSize screen) { return WindowSession::maximisedOn(screen); }

  // The one place a tab widget index becomes a tab and back.
  PlayTab currentTab() const;
  void showTab(PlayTab tab);
  // Makes `tab` active exactly as the player's click on its caption does:
  // pointers, caption, tuning controls and the tab's own chord or scale on
  // the fretboard.
  void bringTabForward(PlayTab tab);

  // Opens page files into the tabs of their kinds (the command line, a drop).
  void openFiles(const QStringList& paths);
  PageFilesController* pageFiles() const { return Files; }

  // True when the window may close (see WindowSession::close).
  bool FormClose();
  bool keyPreview() const { return KeyPreview; }
  DesignGroupController* designGroup() const { return Group; }

  void apply(const BenchUpdate& u) override;
  void pageLoaded(PageKind kind, const PageContents& page,
                  const std::optional<TRepeatSet>& companion, const std::string& path) override;
  void pageSaved(PageKind kind, const std::string& path) override;
  void selectPressed(PlayTab tab) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Page files dropped on the window are opened.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void FormCreate();
  void FormActivate();
  // The window's keyboard commands, seen before the focused control while
  // key preview is on. True when the key was a command and is used up.
  bool FormKeyDown(int key);
  void editTuningNameEnter() { KeyPreview = false; }
  void editTuningNameExit() { KeyPreview = true; }
  void buildPages();
  void routeCommands();
  void routePageCommands();
  void placePanels();
  void pageChanged(int index);
  // The Edit menu names the active tab's next undo and redo.
  void showHistory();
  // Every page, the design group and the fretboard's contents drawn again
  // after the capo, the naming or the hand changed.
  void redrawInGuitarView();
  void mnuTempoClick();
  void mnuTopicsClick();
  void mnuAboutClick();
  void mnuFlatSharpClick();
  void sbtnFlipClick();
  void menuFlipClick();

  Workbench Bench;
  AppState& State = Bench.State;
  BusyGuard Guard;
  std::unique_ptr<Prompter> OwnPrompter;
  Prompter* Ask;
  std::unique_ptr<WindowSession> Session;
  bool KeyPreview = true;
  ToolBarPanel* pnlTop = nullptr;
  FretboardPanel* pnlBottom = nullptr;
  QTabWidget* PageControl1 = nullptr;
  ChordDesignTab* DesignPage = nullptr;
  ChordsTab* Chords = nullptr;
  ScalesTab* Scales = nullptr;
  PlayPageTab* PlayPage = nullptr;
  PlaybackController* Playback = nullptr;
  MainMenu* Menus = nullptr;
  ToolBarController* Picker = nullptr;
  SurfaceView* Surfaces[5] = {};
  QScrollArea* Scrolls[5] = {};
  QVBoxLayout* Column = nullptr;
  bool FretboardOnTop = false;
  int ShownPage = 0;
  // Set while a command, not the user, changes the tab.
  bool SwitchingTab = false;
  DesignGroupController* Group = nullptr;
  PageCommands* Pages = nullptr;
  std::unique_ptr<FileLayer> OwnFiles;
  PageFilesController* Files = nullptr;
  PrintPageTab* Print = nullptr;

 public:
  PrintController* printing() const { return Printing; }

 private:
  PrintController* Printing = nullptr;
};
