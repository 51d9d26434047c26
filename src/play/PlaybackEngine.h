#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "music/PageSizes.h"
#include "music/Records.h"
#include "play/MidiEvent.h"
#include "play/MidiSink.h"
#include "play/MidiTransport.h"
#include "play/PagePlayer.h"
#include "play/PlayPageModel.h"
#include "play/PlayerSettings.h"
#include "play/PlayerUpdate.h"

// The records Play can start from, one per tab: what is in hand on the
// Chords, Chord Design, Scales and Print tabs, and the play page itself.
struct PlaySources {
  const TChordDiagram& SelectedChord;
  const TChordDiagram& EditChord;
  const TChordDiagram (&PlayPage)[PlayPageColumns][PlayPageRows];
  PlayPageState& Play;
  const TScaleDiagram& CurrentScale;
  const TPrintDiagram& SelectedPrintItem;
};

// The playback engine behind the transport buttons, the playback keys and the
// MIDI component's messages: it owns the shared playback flags, the state of
// the Play and Pause buttons and of the main menu, the page player, the beat
// cursor and step arrow positions, and the events and steps still waiting to
// be queued. It draws nothing: every call returns what the window must show.
// Single chords and scales are queued like the page, as far as the sink
// takes them, and the rest follows on the room message; a step asked for while
// a chord still sounds waits in a queue instead of in a nested message loop.
class PlaybackEngine {
 public:
  enum class Key { Space, Right, Left, Other };
  enum class KeyAction { None, Play, Stop, StepForward, StepBackward, FocusStrumSpeed };
  static constexpr std::size_t MaxWaitingSteps = 8;

  // How far ahead of the clock a switch of Click or Loop Play reaches into
  // what is already queued: well inside a second at any tempo, and time
  // enough to write the events again before they are due.
  static constexpr std::int64_t ReactionMicros = 250'000;
  // Resume points the page player keeps: more than the component queues.
  static constexpr std::size_t JournalEntries = 4096;

  PlaybackEngine(MidiSink& sink, MidiTransport& transport) : sink_(sink), transport_(transport) {
    page_.keepJournal(JournalEntries);
  }

  // Copied from the settings file's values and the tool bar. Click and Loop
  // Play may change while the page plays: see OptionsChanged.
  PlayerSettings Settings;
  PlayOptions Options;

  // The window calls this when Click or Loop Play has been switched. During
  // page play the events queued for later than ReactionMicros from now are
  // taken back and written again with the new state, so the switch is heard
  // at once however much music is queued.
  void OptionsChanged();

  bool StepMode = false;  // mirrors sbtnStep
  bool StepBackward = false;
  bool SingleChordMode = false;
  bool ChordPlaying = false;
  int CurrentBeat = 0;
  int CurrentSlot = 0;
  int CursorX = 0, CursorY = 0;
  int CountOffSkip = 0, CountOffSkipped = 0;

  // sbtnPlayClick: Play on the tab `tab` at 120 beats per minute (the page at
  // its own tempo). `scalePosition` is the column of the Scales page's
  // selected cell. A click while Play is down changes nothing.
  PlayerUpdate sbtnPlayClick(const PlaySources& app, PlayTab tab, int scalePosition,
                             std::int32_t pageTempo);

  // The players. Each presses Play, or leaves it up when it cannot play (no
  // output, nothing to play).
  PlayerUpdate StartPagePlay(const TChordDiagram (&page)[PlayPageColumns][PlayPageRows],
                             PlayPageState& pageState, std::int32_t pageTempo);
  PlayerUpdate PlayChord(const TChordDiagram& chord, PlayTab tab);
  // "Play Chord" of the PlayPage pop-up menu: the chord alone, no cursor.
  PlayerUpdate PlayPageChord(const TChordDiagram& chord);
  PlayerUpdate PlayScale(const TScaleDiagram& scale, int position, bool wholeScale);
  void SetTempo(std::int32_t microsPerQuarter) { transport_.SetTempo(microsPerQuarter); }

  // A message of the MIDI component (only those posted since the last stop or
  // flush), by MidiMessageCode: Room fills the queue, BeatMarker sets
  // CurrentBeat, Beat moves the beat cursor, ShowFinger is a finger mark,
  // AllPlayed ends the playback when its parameter is eventsAccepted()
  // (nothing was queued after it was posted).
  PlayerUpdate handleMessage(std::uint32_t code, std::uint32_t param, PlayTab tab);

  PlayerUpdate Pause(bool pressed, PlayTab tab);
  PlayerUpdate Stop(PlayTab tab);
  // A step key with Play and Step Play down.
  PlayerUpdate StepKey(bool forward, PlayTab tab);
  KeyAction keyAction(Key key, PlayTab tab) const;

  bool playDown() const { return playDown_; }
  bool pauseDown() const { return pauseDown_; }
  bool menuEnabled() const { return menuEnabled_; }
  // Step Play, Loop Play, Time Signature and Bass Note are refused while true.
  bool busy() const { return playDown_ || pauseDown_; }
  PlayerUpdate state() const;
  const PagePlayer& pagePlayer() const { return page_; }
  std::size_t waitingEvents() const { return pending_.size(); }
  std::size_t waitingSteps() const { return steps_.size(); }
  // Times the queue ran dry while the page player still had events to write.
  int underruns() const { return underruns_; }
  // Events the sink has taken from this engine, modulo 2^32; the component's
  // all-played message carries the same count, and one carrying an older
  // count is followed by a later one.
  std::uint32_t eventsAccepted() const { return sink_.accepted; }

  // The finger mark of a 0x546E parameter, or none when it names no string,
  // fret or finger the fretboard has.
  static std::optional<FingerMark> fingerMark(std::uint32_t param, PlayTab tab);

 private:
  enum class Cursor { None, RedSlash, StepArrow };

  void onRoom(PlayTab tab);
  PlayerUpdate onBeat(PlayTab tab);
  PlayerUpdate onAllPlayed(std::uint32_t accepted, PlayTab tab);
  PlayerUpdate StepTo(PlayTab tab);
  PlayerUpdate stepAt(int slot);
  PlayerUpdate refuse();
  void queue(const std::vector<MidiEvent>& events);
  void drain();
  void takeCursorAway(PlayerUpdate& u);
  void endRun();

  // The sink, counting what it takes.
  class CountingSink : public MidiSink {
   public:
    explicit CountingSink(MidiSink& to) : to_(to) {}
    bool put(const MidiEvent& event) override {
      if (!to_.put(event)) return false;
      ++accepted;
      return true;
    }
    TakenBack takeBack(std::int64_t leadMicros, std::size_t most) override {
      return to_.takeBack(leadMicros, most);
    }
    std::uint32_t accepted = 0;

   private:
    MidiSink& to_;
  };

  CountingSink sink_;
  MidiTransport& transport_;
  PagePlayer page_;
  bool pageRunning_ = false;
  bool countOffQueued_ = false;
  int underruns_ = 0;
  bool playDown_ = false, pauseDown_ = false, menuEnabled_ = true;
  Cursor cursor_ = Cursor::None;
  std::deque<MidiEvent> pending_;
  std::deque<int> steps_;
};
