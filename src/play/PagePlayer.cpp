#include "play/PagePlayer.h"

#include <algorithm>

using namespace PlayerBytes;

namespace {

constexpr std::int32_t ClickOffset = 20;  // a slot's click (or click release) after its start
constexpr std::int32_t SlotRest = 220;    // from the first string of a slot to the next slot
constexpr std::int32_t SlotTicks = 240;   // an eighth note
constexpr std::int32_t EndDelay = 1000;   // the closing event after the last slot
constexpr std::uint8_t ClearMark = 10;
constexpr std::uint8_t RingingBass = 1u << 6;

std::uint8_t stringBit(int s) {
  return static_cast<std::uint8_t>(1u << s);
}

// Takes everything and refuses past a bound, for a page played once.
class CollectingSink : public MidiSink {
 public:
  explicit CollectingSink(std::size_t max) : max_(max) {}
  bool put(const MidiEvent& e) override {
    if (events.size() >= max_) return false;
    events.push_back(e);
    return true;
  }
  std::vector<MidiEvent> events;

 private:
  std::size_t max_;
};

}  // namespace

PlayList playListFrom(const TChordDiagram (&page)[PlayPageColumns][PlayPageRows]) {
  PlayList list{};
  for (int row = 0; row < 6; ++row)
    for (int column = 0; column < 12; ++column)
      list[static_cast<std::size_t>(PlayBars::slotNumber(column, row))] = page[column][row];
  return list;
}

void PagePlayer::StartPagePlay(const Start& start) {
  PlayList_ = *start.Slots;
  const PlayPageState& page = *start.Page;
  // The player plays a copy of the saved set with every countdown full, so a
  // set saved after an earlier run, or read from a file, repeats as marked.
  Repeats = page.savedSet();
  std::copy(std::begin(Repeats.RepeatCount), std::end(Repeats.RepeatCount),
            std::begin(Repeats.RepeatsLeft));
  SlotsPerBar = PlayBars::slotsPerBar(page.ThreeFour);
  BeatsPerBar = PlayBars::beatsPerBar(page.ThreeFour);
  LastBar = PlayBars::barCount(page.ThreeFour) - 1;
  settings_ = start.Settings;
  click_ = start.Options.Click;
  loop_ = start.Options.Loop;
  bassNote_ = start.Options.BassNote;
  capo_ = start.Options.Capo;
  markChords_ = start.MarkChords;

  SlotInBar = 0;
  SustainLeft = 0;
  const bool onPage = page.PlayStartRow >= 0 && page.PlayStartRow < 6 &&
                      page.PlayStartColumn >= 0 && page.PlayStartColumn < 12;
  CurrentBar =
      onPage ? PlayBars::slotNumber(page.PlayStartColumn, page.PlayStartRow) / SlotsPerBar : 0;
  CurrentSlot = CurrentBar * SlotsPerBar;
  StrumDelay = strumTicks(start.Options.StrumSpeed) / 18;
  StrumCount = 0;
  StrikeString = 5;
  ReleaseString = -1;  // nothing sounds yet
  std::fill(std::begin(SoundingNotes), std::end(SoundingNotes), 0);
  std::fill(std::begin(SoundingFrets), std::end(SoundingFrets), 0);
  SoundingBass = 0;
  Ringing = 0;
  PageDone = EndSent = false;
  marks_ = Marks{};
  // The first slot has no beat marker (the window draws its beat itself) and
  // no bass to release.
  marks_.BeatMarker = true;
  marks_.BassRelease = true;
  journal_.clear();
  slotEnd_.reset();

  const PlayerSettings& s = settings_;
  preamble_.clear();
  preambleNext_ = 0;
  preamble_.push_back({0, status(ProgramChange, s.GuitarChannel), data(s.GuitarPatch), 0, 0});
  preamble_.push_back({0, status(ProgramChange, s.BassChannel), data(s.BassPatch), 0, 0});
  preamble_.push_back({0, status(ProgramChange, s.ClickChannel), 0, 0, 0});
  Time = 0;
  if (start.CountOff) {
    for (int k = 0; k < BeatsPerBar; ++k) {
      preamble_.push_back({k == 0 ? 0 : SlotTicks, status(NoteOn, s.ClickChannel),
                           data(s.ClickNote), k == 0 ? accent(s.ClickVolume) : data(s.ClickVolume),
                           0});
      preamble_.push_back({SlotTicks, status(NoteOff, s.ClickChannel), data(s.ClickNote), 0, 0});
    }
    // The first slot's click falls a quarter after the last count-off click.
    Time = SlotTicks;
  }
  started_ = true;
}

bool PagePlayer::put(MidiSink& sink, std::uint8_t status, std::uint8_t d1, std::uint8_t d2,
                     std::uint8_t d3) {
  return putEvent(sink, MidiEvent{Time, status, d1, d2, d3});
}

bool PagePlayer::putEvent(MidiSink& sink, const MidiEvent& event) {
  if (journalMax_ == 0) return sink.put(event);
  // Where the player stands now is where writing this event starts again.
  Entry entry{event.Time, progress(), std::nullopt};
  if (!sink.put(event)) return false;
  entry.Before = std::move(slotEnd_);
  slotEnd_.reset();
  journal_.push_back(std::move(entry));
  if (journal_.size() > journalMax_) journal_.pop_front();
  return true;
}

void PagePlayer::keepJournal(std::size_t entries) {
  journalMax_ = entries;
  while (journal_.size() > journalMax_) journal_.pop_front();
  if (journalMax_ == 0) slotEnd_.reset();
}

void PagePlayer::takeBack(const TakenBack& back, bool click, bool loop) {
  click_ = click;
  loop_ = loop;
  if (back.Count == 0 || back.Count > journal_.size()) return;
  const auto first = journal_.end() - static_cast<std::ptrdiff_t>(back.Count);
  const Entry entry = *first;
  journal_.erase(first, journal_.end());
  slotEnd_.reset();
  // Going back before the slot's end lets the loop decision be taken again.
  progress() = entry.Before ? *entry.Before : entry.At;
  if (entry.Before && entry.Time - nextTime() > back.SpareTicks) progress() = entry.At;
}

std::int32_t PagePlayer::nextTime() {
  class First : public MidiSink {
   public:
    std::optional<MidiEvent> event;
    bool put(const MidiEvent& e) override {
      if (event) return false;
      event = e;
      return true;
    }
  } first;
  const Progress saved = progress();
  const std::size_t keep = journalMax_;
  journalMax_ = 0;
  FillPlayQueue(first);
  journalMax_ = keep;
  progress() = saved;
  slotEnd_.reset();
  return first.event ? first.event->Time : 0;
}

void PagePlayer::FillPlayQueue(MidiSink& sink) {
  if (!started_) return;
  while (preambleNext_ < preamble_.size()) {
    if (!putEvent(sink, preamble_[preambleNext_])) return;
    ++preambleNext_;
  }
  for (;;) {
    if (PageDone) {
      queueEnd(sink);
      return;
    }
    if (!beatWork(sink) || !release(sink) || !strike(sink)) return;
    if (journalMax_ > 0) slotEnd_ = progress();
    if (++SlotInBar == SlotsPerBar) {
      SlotInBar = 0;
      endBar();
    }
    if (PageDone) {
      // The chord still sounding rings on until the closing event.
      Time = EndDelay;
      queueEnd(sink);
      return;
    }
    closeSlot();
    if (SustainLeft > 0)
      --SustainLeft;
    else
      lookAhead();
  }
}

bool PagePlayer::beatWork(MidiSink& sink) {
  const std::uint8_t note = data(settings_.ClickNote);
  if (SlotInBar % 2 == 0) {
    if (!marks_.BeatMarker) {
      if (!put(sink, EventBeatMarker, static_cast<std::uint8_t>(CurrentSlot / 2), 0)) return false;
      marks_.BeatMarker = true;
      Time = ClickOffset;
    }
    if (!marks_.ClickOn) {
      // With Click up a silent note off keeps the same time line.
      const std::uint8_t kind = click_ ? NoteOn : NoteOff;
      const std::uint8_t velocity =
          SlotInBar == 0 ? accent(settings_.ClickVolume) : data(settings_.ClickVolume);
      if (!put(sink, status(kind, settings_.ClickChannel), note, velocity)) return false;
      marks_.ClickOn = true;
      Time = 0;
    }
  } else if (!marks_.ClickOff) {
    if (!marks_.ClickDelay) {
      Time += ClickOffset;
      marks_.ClickDelay = true;
    }
    if (!put(sink, status(NoteOff, settings_.ClickChannel), note, 0)) return false;
    marks_.ClickOff = true;
    Time = 0;
  }
  return true;
}

bool PagePlayer::release(MidiSink& sink) {
  if (SustainLeft != 0) return true;
  if (bassNote_ && !marks_.BassRelease) {
    if (!put(sink, status(NoteOff, settings_.BassChannel), SoundingBass,
             data(settings_.BassVolume)))
      return false;
    marks_.BassRelease = true;
    Ringing &= static_cast<std::uint8_t>(~RingingBass);
    Time = 0;
  }
  // The notes are never forgotten: a release with nothing struck since the
  // last one sends the same note offs and clearing events again.
  for (; ReleaseString >= 0; --ReleaseString) {
    const int s = ReleaseString;
    if (SoundingNotes[s] == 0) continue;
    if (!marks_.NoteRelease[s]) {
      if (!put(sink, status(NoteOff, settings_.GuitarChannel), SoundingNotes[s],
               data(settings_.GuitarVolume)))
        return false;
      marks_.NoteRelease[s] = true;
      Ringing &= static_cast<std::uint8_t>(~stringBit(s));
      Time = 0;
    }
    if (!marks_.MarkClear[s]) {
      if (!put(sink, EventShowFinger, static_cast<std::uint8_t>(s), SoundingFrets[s], ClearMark))
        return false;
      marks_.MarkClear[s] = true;
      Time = 0;
    }
  }
  return true;
}

bool PagePlayer::strike(MidiSink& sink) {
  const TChordDiagram& d = PlayList_[static_cast<std::size_t>(CurrentSlot)];
  if (isEmpty(d)) return true;
  if (markChords_ && !marks_.ChordMark) {
    if (!put(sink, EventChordStruck, static_cast<std::uint8_t>(CurrentSlot), 0)) return false;
    marks_.ChordMark = true;
    Time = 0;
  }
  if (bassNote_ && !marks_.BassStrike && playable(d.Bass)) {
    SoundingBass = capoNote(d.Bass, capo_);
    if (!put(sink, status(NoteOn, settings_.BassChannel), SoundingBass, data(settings_.BassVolume)))
      return false;
    marks_.BassStrike = true;
    Ringing |= RingingBass;
    Time = 0;
  }
  // From string 5, the lowest, up to string 0.
  for (; StrikeString >= 0; --StrikeString) {
    const int s = StrikeString;
    if (!playable(d.Notes[s])) continue;
    if (!marks_.NoteStrike[s]) {
      const std::uint8_t note = capoNote(d.Notes[s], capo_);
      if (!put(sink, status(NoteOn, settings_.GuitarChannel), note, data(settings_.GuitarVolume)))
        return false;
      marks_.NoteStrike[s] = true;
      SoundingNotes[s] = note;
      Ringing |= stringBit(s);
      Time = 0;
    }
    if (!marks_.MarkShow[s]) {
      if (!put(sink, EventShowFinger, static_cast<std::uint8_t>(s), d.Strings[s].Fret,
               d.Strings[s].Finger))
        return false;
      marks_.MarkShow[s] = true;
      SoundingFrets[s] = d.Strings[s].Fret;
      Time = StrumDelay;
      ++StrumCount;
    }
  }
  return true;
}

bool PagePlayer::releaseRinging(MidiSink& sink) {
  if (Ringing & RingingBass) {
    if (!put(sink, status(NoteOff, settings_.BassChannel), SoundingBass,
             data(settings_.BassVolume)))
      return false;
    Ringing &= static_cast<std::uint8_t>(~RingingBass);
    Time = 0;
  }
  for (int s = 5; s >= 0; --s) {
    if (!(Ringing & stringBit(s))) continue;
    if (!put(sink, status(NoteOff, settings_.GuitarChannel), SoundingNotes[s],
             data(settings_.GuitarVolume)))
      return false;
    Ringing &= static_cast<std::uint8_t>(~stringBit(s));
    Time = 0;
  }
  return true;
}

void PagePlayer::queueEnd(MidiSink& sink) {
  if (EndSent) return;
  // Every note struck ends with the page, or a synthesiser or a MIDI file
  // player would hold the last chord for ever.
  if (!releaseRinging(sink)) return;
  if (put(sink, status(NoteOff, settings_.GuitarChannel), 0, 0)) EndSent = true;
}

int PagePlayer::returnTarget(int bar) const {
  for (int b = bar; b >= 0; --b)
    if (Repeats.ReturnMark[b] != 0) return b;
  return bar;
}

void PagePlayer::endBar() {
  if (Repeats.RepeatsLeft[CurrentBar] > 0) {
    --Repeats.RepeatsLeft[CurrentBar];
    CurrentBar = returnTarget(CurrentBar);
    return;
  }
  // Armed again, so that a later pass through this bar repeats again.
  Repeats.RepeatsLeft[CurrentBar] = Repeats.RepeatCount[CurrentBar];
  if (Repeats.LoopMark[CurrentBar] == 1 && loop_) {
    CurrentBar = 0;
  } else if (++CurrentBar > LastBar) {
    PageDone = true;
  }
}

void PagePlayer::closeSlot() {
  // Every slot spans 240 ticks: 20 to its click, the strum, and the rest.
  Time = StrumCount > 0 ? SlotRest - StrumDelay * (StrumCount - 1) : SlotRest;
  StrumCount = 0;
  StrikeString = ReleaseString = 5;
  marks_ = Marks{};
  CurrentSlot = CurrentBar * SlotsPerBar + SlotInBar;
}

void PagePlayer::lookAhead() {
  // A chord rings through the empty slots after it, at most 8 slots in all.
  for (int i = 0; i < 7; ++i) {
    const int h = SlotInBar + i;
    int slot = CurrentBar * SlotsPerBar + h;
    if (h >= SlotsPerBar) {
      int bar = CurrentBar + 1;
      if (Repeats.RepeatsLeft[CurrentBar] > 0)
        bar = returnTarget(CurrentBar);
      else if (Repeats.LoopMark[CurrentBar] == 1 && loop_)
        bar = 0;
      slot = bar * SlotsPerBar + h % SlotsPerBar;
    }
    if (slot >= PlaySlotCount || !isEmpty(PlayList_[static_cast<std::size_t>(slot)])) break;
    ++SustainLeft;
  }
}

void PagePlayer::rearmRepeats() {
  std::copy(std::begin(Repeats.RepeatCount), std::end(Repeats.RepeatCount),
            std::begin(Repeats.RepeatsLeft));
}

std::optional<std::vector<MidiEvent>> PagePlayer::playOnce(Start start, std::size_t maxEvents) {
  start.Options.Loop = false;
  PagePlayer player;
  player.StartPagePlay(start);
  CollectingSink sink(maxEvents);
  player.FillPlayQueue(sink);
  if (!player.finished()) return std::nullopt;
  return std::move(sink.events);
}
