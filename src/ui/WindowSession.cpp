#include "ui/WindowSession.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"
#include "play/PlayerSettings.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "state/AppState.h"
#include "ui/BusyGuard.h"
#include "ui/ChordDesignTab.h"
#include "ui/FretboardPanel.h"
#include "ui/HelpWindow.h"
#include "ui/MidiMessagePoster.h"
#include "ui/MidiSetupDialog.h"
#include "ui/Prompter.h"
#include "ui/ToolBarPanel.h"

WindowSession::WindowSession(Parts parts, MainWindowServices services)
    : State(parts.State),
      Guard(parts.Guard),
      Ask(parts.Ask),
      pnlTop(&parts.ToolBar),
      pnlBottom(&parts.Fretboard),
      DesignPage(&parts.Design),
      Window(parts.Window),
      ShowTab(std::move(parts.ShowTab)),
      OnMidiMessage(std::move(parts.OnMidiMessage)),
      Config(std::make_unique<Settings>()),
      SettingsFile(services.SettingsFile),
      SettingsNotice(std::move(services.SettingsNotice)),
      Midi(services.Midi) {}

WindowSession::~WindowSession() {
  if (Midi && !Closed) Midi->close();
}

void WindowSession::start() {
  State.Key = -1;
  State.ChordFamily = 0;
  if (SettingsFile) {
    Config->load(*SettingsFile, State.ExeDir);
  } else {
    for (std::size_t k = 0; k < Settings::DirectoryKeys.size(); ++k)
      Config->PageDirectory[k] = State.ExeDir + Settings::DirectoryKeys[k];
  }
  // The bar's range holds whatever the file says.
  State.Play.StrumSpeed = clampStrumSpeed(Config->StrumSpeed);
  pnlTop->setStrumSpeed(State.Play.StrumSpeed);
  DesignPage->setUserChordNames(Config->UserChordNames);
  State.Play.PlayPageTempo = DefaultPageTempo;
  State.EditChord = startFingering();
  State.Names.setSharps(false);
  State.CurrentTuning = StandardTuning;
  pnlBottom->refreshStringNames();

  if (Midi && Midi->component().GetNumOutDevices() > 0) {
    Poster = new MidiMessagePoster(Midi->component(), OnMidiMessage, &Window);
    // The players' program changes, so the synthesiser has them in before a note.
    Midi->open(Poster, Config->MidiOutDevice, Config->MidiInDevice,
               MidiSession::voicesOf(Config->Player));
  }

  State.Play.BassNote = Config->BassNoteOption;
  State.EasiestFirst = Config->EasiestFirst;
  State.Capo = Config->Capo;
  State.SoundingNames = Config->SoundingNames;
  State.LeftHanded = Config->LeftHanded;
  pnlTop->setOn(ToolBarPanel::Toggle::BassNote, Config->BassNoteOption);
  DesignPage->showRootAndBass(0, State.Names.pitchName(0), 0, State.Names.pitchName(0));
  Help = new HelpWindow(QString::fromStdString(State.ExeDir + "help/index.html"), &Window);

  // The Chords tab is active at start, where the tuning cannot be changed.
  ShowTab(PlayTab::Chords);
  pnlBottom->setTuningEnabled(false);
  placeWindow();
  if (!SettingsNotice.empty()) Ask.error(&Window, QString::fromStdString(SettingsNotice));
}

void WindowSession::placeWindow() {
  Window.move(0, 0);
  const QScreen* screen = QApplication::primaryScreen();
  if (screen && maximisedOn(screen->size()))
    Window.setWindowState(Window.windowState() | Qt::WindowMaximized);
  else
    Window.resize(808, 608);
}

bool WindowSession::midiOpen() const {
  return Midi && Midi->out() != 0;
}

bool WindowSession::close() {
  if (Guard.active()) return false;
  // A No brings the unsaved page to the front, ready for Save.
  if (State.Play.PlayPageChanged &&
      !Ask.ask(&Window, QStringLiteral("Do you want to close without saving changes to PlayPage?"),
               false)) {
    ShowTab(PlayTab::PlayPage);
    return false;
  }
  if (State.DesignGroupChanged &&
      !Ask.ask(&Window,
               QStringLiteral("Do you want to close without saving changes to the Design Group?"),
               false)) {
    ShowTab(PlayTab::ChordDesign);
    return false;
  }
  if (State.PrintPageChanged &&
      !Ask.ask(&Window,
               QStringLiteral("Do you want to close without saving changes to the Print Page?"),
               false)) {
    ShowTab(PlayTab::Print);
    return false;
  }
  if (Midi) Midi->close();
  Closed = true;
  Config->StrumSpeed = State.Play.StrumSpeed;
  Config->BassNoteOption = State.Play.BassNote;
  Config->EasiestFirst = State.EasiestFirst;
  Config->Capo = State.Capo;
  Config->SoundingNames = State.SoundingNames;
  Config->LeftHanded = State.LeftHanded;
  if (SettingsFile) {
    try {
      Config->saveShutdown(*SettingsFile);
    } catch (const ProfileWriteError& error) {
      // The window still closes: only the strum speed, Bass Note and folders
      // are lost, and keeping the user in a program they asked to leave helps nobody.
      Ask.error(&Window, QString::fromStdString(error.what()));
    }
  }
  if (Help) Help->close();
  return true;
}

void WindowSession::midiSetup() {
  if (!Midi || !SettingsFile) {
    Ask.error(&Window, QStringLiteral("MIDI is not available."));
    return;
  }
  MidiSetupDialog dialog(*Config, *SettingsFile, *Midi, Poster, &Window);
  dialog.showError = [this](const QString& text) { Ask.error(&Window, text); };
  dialog.setHelp([this](int context) { showHelp(context); });
  Ask.execDialog(dialog);
}

void WindowSession::showHelp(int context) {
  if (!Help || !Help->showContext(context))
    Ask.error(&Window, QStringLiteral("The help pages are missing from the program folder."));
}
