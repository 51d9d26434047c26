#pragma once

#include <QImage>
#include <QObject>
#include <functional>
#include <memory>

#include "output/PageExport.h"
#include "play/MidiTransport.h"
#include "play/PlaybackEngine.h"

class BusyGuard;
class FileLayer;
class FretboardPanel;
class MainMenu;
class MidiSession;
class PageViews;
class Prompter;
class QScrollArea;
class QWidget;
class SessionTransport;
class Settings;
class SurfaceView;
class ToolBarPanel;
class Workbench;
struct MidiMessage;

// Joins the playback engine to the window: the transport buttons, the
// playback keys, the single-diagram play commands of the pop-up menus and the
// MIDI component's messages go in; what the engine answers comes out as
// button and menu states, the beat cursor and step arrow on the play page,
// and the finger marks on the fretboard picture. It also exports the play
// page as a MIDI file, as audio or as a MusicXML score.
class PlaybackController : public QObject {
  Q_OBJECT

 public:
  // What the controller reads and draws on.
  struct Parts {
    // What is played, and the active tab.
    Workbench& Bench;
    const BusyGuard& Guard;
    Prompter& Ask;
    const Settings& Config;
    FileLayer& Files;  // where exports are written
    ToolBarPanel& ToolBar;
    MainMenu& Menus;
    SurfaceView& PlaySurface;
    QScrollArea& PlayScroll;
    FretboardPanel& Fretboard;
    // The pressed cell taken in hand, the repeat marks drawn anew.
    PageViews& Views;
    QWidget* Window;  // parent of the questions
  };

  // Without a MIDI session every player refuses to start, as with no device.
  PlaybackController(Parts parts, MidiSession* session, QObject* parent);
  ~PlaybackController() override;

  PlaybackEngine& engine() { return *Engine; }

  void sbtnPlayClick();
  void sbtnPauseClick();
  void sbtnStopClick();
  void sbtnStepClick();
  void pmenu1PlayChordClick();
  void pmenu4PlayChordClick();
  void pmenu5PlayDiagramClick();
  void pmenu5PlayEntireClick();
  // Space, Right and Left; true when the key was used.
  bool playbackKey(int key);
  void handleMessage(const MidiMessage& message);
  void exportMidiFile();
  void exportAudio();
  // The play page as a MusicXML lead sheet, named as the page shows it.
  void exportMusicXml();

  // Play Chord of the design group's pop-up menu: the chord in hand.
  void pmenu2PlayChordClick();
  // Play Diagram of the print page's pop-up menu: the print item in hand.
  void pmenu3PlayDiagramClick();

 private:
  PlayTab activeTab() const;
  // The settings, toggles and strum speed as the players read them now.
  void syncOptions();
  void apply(const PlayerUpdate& update);
  void showFingerMark(const FingerMark& mark);
  // Before the first sound: an output that can play nothing is told once.
  void tellIfSilent();
  // Once a run: a $STRUMBO_SOUNDFONT that is no soundfont was passed over.
  void tellFontPassedOver(const std::string& note);
  // An empty page is not exported; says so.
  bool refuseEmpty(const PageExport::Page& page);
  // One message for an export that did not write, or a note for one that did.
  void reportExport(const PageExport::Outcome& outcome, const QString& path);

  Parts Use;
  std::unique_ptr<SessionTransport> Session;
  std::unique_ptr<MidiTransport> NoOutput;
  std::unique_ptr<MidiSink> NoSink;
  std::unique_ptr<PlaybackEngine> Engine;
  QImage StepBackground;
  MidiSession* Midi;
  bool SilenceTold = false;
  bool FontNoteTold = false;
  bool FontChecked = false;
};
