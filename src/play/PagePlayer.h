#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "music/PageSizes.h"
#include "music/Records.h"
#include "play/MidiEvent.h"
#include "play/MidiSink.h"
#include "play/PlayPageModel.h"
#include "play/PlayerSettings.h"

// The 72 slots of the play page in slot-number order, row after row.
using PlayList = std::array<TChordDiagram, PlaySlotCount>;
PlayList playListFrom(const TChordDiagram (&page)[PlayPageColumns][PlayPageRows]);

// Everything of the page player that moves while it plays: where it is on the
// page, the repeat countdowns, what sounds, the marks of the slot in hand and
// the pending time. A copy is a point the player can go back to.
struct PagePlayerProgress {
  struct Marks {
    bool BeatMarker = false, ClickOn = false, ClickDelay = false, ClickOff = false;
    bool BassRelease = false, BassStrike = false, ChordMark = false;
    bool NoteRelease[6] = {}, MarkClear[6] = {}, NoteStrike[6] = {}, MarkShow[6] = {};
  };

  TRepeatSet Repeats{};
  std::size_t preambleNext_ = 0;
  int CurrentBar = 0, SlotInBar = 0, CurrentSlot = 0;
  int SustainLeft = 0;
  int StrumCount = 0;
  std::uint8_t SoundingNotes[6] = {}, SoundingFrets[6] = {}, SoundingBass = 0;
  // Which notes are on now: bit s for string s, RingingBass for the bass.
  std::uint8_t Ringing = 0;
  int ReleaseString = -1, StrikeString = 5;
  Marks marks_;
  std::int32_t Time = 0;  // the pending delta of the next event
  bool PageDone = false, EndSent = false;
};

// The page player: turns the play page into a stream of timed events, slot by
// slot, with beat markers, clicks, bass notes, strums, repeats, returns and
// the loop. It owns its copy of the slots and of the repeat set, the slot and
// bar counters and the progress marks of the slot in hand. It writes until the
// sink refuses an event; the marks make the next FillPlayQueue resume with the
// refused event, so the stream a sink accepts is the same however often it
// refuses. The program changes and the count-off go through the same resumable
// path. With a journal it also remembers where it stood for each event it
// wrote, so that events a sink gives back can be written again, with Click
// and Loop Play as they are now.
class PagePlayer : private PagePlayerProgress {
 public:
  struct Start {
    const PlayList* Slots = nullptr;
    const PlayPageState* Page = nullptr;
    PlayerSettings Settings;
    PlayOptions Options;
    bool CountOff = false;    // queue one bar of count-off first
    bool MarkChords = false;  // an EventChordStruck before each chord struck
  };

  // Resets every counter and mark for a new run from the start marker's bar.
  void StartPagePlay(const Start& start);
  // Writes events until the sink refuses one or the page has ended.
  void FillPlayQueue(MidiSink& sink);

  // Click may be switched during play; it takes effect from the next click queued.
  void setClick(bool click) { click_ = click; }
  bool click() const { return click_; }
  bool loop() const { return loop_; }
  // Keeps the resume points of the last `entries` events written (0: none).
  void keepJournal(std::size_t entries);
  std::size_t journalSize() const { return journal_.size(); }
  // The sink gave back the newest `back.Count` events: the player goes back to
  // where it stood before the first of them and writes on from there with
  // these toggles. A decision at a bar's end that would now bring the next
  // event more than `back.SpareTicks` earlier (the end of the page becoming a
  // loop) stays as it was, so nothing is written into the past.
  void takeBack(const TakenBack& back, bool click, bool loop);
  // Stop puts every repeat countdown back to its count.
  void rearmRepeats();

  bool started() const { return started_; }
  bool finished() const { return PageDone && EndSent; }
  int currentSlot() const { return CurrentSlot; }
  int currentBar() const { return CurrentBar; }
  int slotsPerBar() const { return SlotsPerBar; }
  int beatsPerBar() const { return BeatsPerBar; }
  int strumDelay() const { return StrumDelay; }
  const PlayList& playList() const { return PlayList_; }

  // The whole page played once with the loop off, as FillPlayQueue queues it;
  // none when it would take more than `maxEvents` events (nested repeats of
  // 255 can make a page practically endless).
  static std::optional<std::vector<MidiEvent>> playOnce(Start start, std::size_t maxEvents);

 private:
  using Progress = PagePlayerProgress;
  struct Entry {
    std::int32_t Time = 0;           // of the event written
    Progress At;                     // where the player stood when it wrote it
    std::optional<Progress> Before;  // for the first event of a slot: before the slot's end
  };

  Progress& progress() { return *this; }
  bool putEvent(MidiSink& sink, const MidiEvent& event);
  std::int32_t nextTime();
  bool put(MidiSink& sink, std::uint8_t status, std::uint8_t d1, std::uint8_t d2,
           std::uint8_t d3 = 0);
  bool beatWork(MidiSink& sink);
  bool release(MidiSink& sink);
  bool strike(MidiSink& sink);
  bool releaseRinging(MidiSink& sink);
  void queueEnd(MidiSink& sink);
  void endBar();
  void closeSlot();
  void lookAhead();
  int returnTarget(int bar) const;

  PlayList PlayList_{};
  PlayerSettings settings_;
  bool click_ = false, loop_ = false, bassNote_ = false;
  int capo_ = 0;
  bool markChords_ = false;
  std::vector<MidiEvent> preamble_;  // program changes and count-off
  bool started_ = false;
  int SlotsPerBar = 8, BeatsPerBar = 4, LastBar = 8;
  int StrumDelay = 0;

  std::size_t journalMax_ = 0;
  std::deque<Entry> journal_;
  std::optional<Progress> slotEnd_;  // taken before a slot's end, for the next event written
};
