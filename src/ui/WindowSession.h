#pragma once

#include <QSize>
#include <functional>
#include <memory>
#include <string>

#include "play/PlayTab.h"

struct AppState;
class BusyGuard;
class FileLayer;
class ChordDesignTab;
class FretboardPanel;
class HelpWindow;
class MidiMessagePoster;
class MidiSession;
class ProfileFile;
class Prompter;
class QWidget;
class Settings;
class ToolBarPanel;
struct MidiMessage;

// What the program hands the window at start: the settings file and the
// MIDI component. Either may be missing (tests, no MIDI at all).
struct MainWindowServices {
  ProfileFile* SettingsFile = nullptr;
  MidiSession* Midi = nullptr;
  // Where page files are written and read; the real file system without one.
  FileLayer* PageFiles = nullptr;
  // What finding the settings file had to tell the player (a file set aside),
  // shown once the window has started; empty for nothing.
  std::string SettingsNotice = {};
};

// The program's session around the window: at start the settings are read
// into the state and the panels, MIDI is opened and the window placed; at
// the end the unsaved-changes questions are asked, MIDI is closed and the
// settings written. It owns the settings, the MIDI message poster and the
// help window.
class WindowSession {
 public:
  struct Parts {
    AppState& State;
    const BusyGuard& Guard;
    Prompter& Ask;
    ToolBarPanel& ToolBar;
    FretboardPanel& Fretboard;
    ChordDesignTab& Design;
    QWidget& Window;
    // Brings a tab forward as the player's own change of tab does.
    std::function<void(PlayTab)> ShowTab;
    std::function<void(const MidiMessage&)> OnMidiMessage;
  };

  WindowSession(Parts parts, MainWindowServices services);
  // MIDI is closed here when the window goes without a close: the clock
  // thread posts to the poster, which dies with the window.
  ~WindowSession();

  void start();
  // Refused under the guard or after a No to an unsaved page; otherwise MIDI
  // is closed and the settings written. True when the window may close.
  bool close();
  bool closed() const { return Closed; }
  // MIDI Setup from the Options menu.
  void midiSetup();
  // Shows the help at `context`, or says that the help pages are missing.
  void showHelp(int context);

  const Settings& settings() const { return *Config; }
  Settings& settings() { return *Config; }
  ProfileFile* settingsFile() const { return SettingsFile; }
  MidiSession* midi() const { return Midi; }
  HelpWindow* help() const { return Help; }
  bool midiOpen() const;
  // The window fills a screen of exactly 800 x 600; elsewhere it is 808 x 608.
  static bool maximisedOn(QSize screen) { return screen == QSize(800, 600); }

 private:
  void placeWindow();

  AppState& State;
  const BusyGuard& Guard;
  Prompter& Ask;
  ToolBarPanel* pnlTop;
  FretboardPanel* pnlBottom;
  ChordDesignTab* DesignPage;
  QWidget& Window;
  std::function<void(PlayTab)> ShowTab;
  std::function<void(const MidiMessage&)> OnMidiMessage;
  std::unique_ptr<Settings> Config;
  ProfileFile* SettingsFile;
  std::string SettingsNotice;
  MidiSession* Midi;
  MidiMessagePoster* Poster = nullptr;
  HelpWindow* Help = nullptr;
  bool Closed = false;
};
