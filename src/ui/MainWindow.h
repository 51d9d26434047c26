#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "state/AppState.h"
#include "ui/BusyGuard.h"
#include "ui/Prompter.h"

class ChordDesignTab;
class HelpWindow;
class MidiMessagePoster;
class MidiSession;
class ProfileFile;
class Settings;
struct MidiMessage;
class ChordsTab;
class PlayPageTab;
class PlaybackController;
class ScalesTab;
class FretboardPanel;
class QAction;
class QMenu;
class QScrollArea;
class QTabWidget;
class QVBoxLayout;
class SurfaceView;
class ToolBarPanel;

// What the program hands the window at start: the settings file and the
// MIDI component. Either may be missing (tests, no MIDI at all).
struct MainWindowServices {
  ProfileFile* SettingsFile = nullptr;
  MidiSession* Midi = nullptr;
};

// The program's one window. It owns the program state for its whole life and
// composes the tool bar, the five tab pages and the fretboard panel; menu and
// tool-bar commands are routed from here to the panel or page that owns them.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  using Services = MainWindowServices;

  // Questions and dialogs go through `prompter`; without one the real Qt
  // dialogs are used.
  explicit MainWindow(const std::string& exeDir, Prompter* prompter = nullptr,
                      Services services = {}, QWidget* parent = nullptr);
  ~MainWindow() override;

  AppState& state() { return State; }
  const BusyGuard& guard() const { return Guard; }
  Prompter& prompter() { return *Ask; }
  QTabWidget* pageControl() const { return PageControl1; }
  ToolBarPanel* toolBar() const { return pnlTop; }
  FretboardPanel* fretboard() const { return pnlBottom; }
  ChordDesignTab* chordDesign() const { return DesignPage; }
  ChordsTab* chordsPage() const { return Chords; }
  ScalesTab* scalesPage() const { return Scales; }
  PlayPageTab* playPage() const { return PlayTab; }
  PlaybackController* playback() const { return Playback; }
  SurfaceView* surface(int page) const;
  QScrollArea* scroll(int page) const { return page >= 0 && page < 5 ? Scrolls[page] : nullptr; }
  bool fretboardOnTop() const { return FretboardOnTop; }

  const Settings& settings() const { return *Config; }
  MidiSession* midi() const { return Midi; }
  HelpWindow* help() const { return Help; }
  bool midiOpen() const;
  // The window fills a screen of exactly 800 x 600; elsewhere it is 808 x 608.
  static bool maximisedOn(QSize screen) { return screen == QSize(800, 600); }

  // Handlers.
  void FormCreate();
  void FormActivate();
  // Closing: refused under the guard or after a No to an unsaved page;
  // otherwise MIDI is closed and the settings written. True when it may close.
  bool FormClose();
  void mnuMidiSetupClick();
  void mnuTempoClick();
  void mnuTopicsClick();
  void mnuAboutClick();
  void mnuFlatSharpClick();
  // The window's keyboard commands, seen before the focused control while
  // key preview is on. True when the key was a command and is used up.
  bool FormKeyDown(int key);
  bool keyPreview() const { return KeyPreview; }
  void editTuningNameEnter() { KeyPreview = false; }
  void editTuningNameExit() { KeyPreview = true; }
  void mnuCClick(int key);
  void chooseChordType(int family, int type);
  void chooseScale(int index);
  void btnShowChordsClick();
  void editChordRootExit();
  void pmenu1SendtoPlayClick();
  void sbtnFlipClick();
  void menuFlipClick();
  void sbtnBassNoteClick();
  void sbtnLeftHandedClick();

  QAction* mnuFlatSharp = nullptr;
  QAction* menuFlip = nullptr;
  QMenu* menuKey = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildPages();
  void handleMidiMessage(const MidiMessage& message);
  void placeWindow();
  void buildMenus();
  void placePanels();
  void pageChanged(int index);
  // Puts a toggle back where it was when the guard refuses its click.
  void undoToggle(QAbstractButton* button);

  AppState State;
  BusyGuard Guard;
  std::unique_ptr<Prompter> OwnPrompter;
  Prompter* Ask;
  std::unique_ptr<Settings> Config;
  ProfileFile* SettingsFile = nullptr;
  MidiSession* Midi = nullptr;
  MidiMessagePoster* Poster = nullptr;
  HelpWindow* Help = nullptr;
  bool Closed = false;
  bool KeyPreview = true;
  ToolBarPanel* pnlTop = nullptr;
  FretboardPanel* pnlBottom = nullptr;
  QTabWidget* PageControl1 = nullptr;
  ChordDesignTab* DesignPage = nullptr;
  ChordsTab* Chords = nullptr;
  ScalesTab* Scales = nullptr;
  PlayPageTab* PlayTab = nullptr;
  PlaybackController* Playback = nullptr;
  QAction* mnuExportMidi = nullptr;
  QAction* mnuExportAudio = nullptr;
  SurfaceView* Surfaces[5] = {};
  QScrollArea* Scrolls[5] = {};
  QVBoxLayout* Column = nullptr;
  bool FretboardOnTop = false;
  int ShownPage = 0;
};
