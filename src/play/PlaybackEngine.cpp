#include "play/PlaybackEngine.h"

#include <algorithm>

#include "music/DiagramConvert.h"
#include "play/ChordPlayer.h"
#include "play/FretboardGlyphs.h"
#include "play/MidiMessageCodes.h"
#include "play/ScalePlayer.h"

namespace {
bool pageOrScales(PlayTab tab) {
  return tab == PlayTab::PlayPage || tab == PlayTab::Scales;
}
}  // namespace

PlayerUpdate PlaybackEngine::state() const {
  PlayerUpdate u;
  u.PlayDown = playDown_;
  u.PauseDown = pauseDown_;
  u.MenuEnabled = menuEnabled_;
  return u;
}

PlayerUpdate PlaybackEngine::refuse() {
  playDown_ = false;
  return state();
}

void PlaybackEngine::endRun() {
  playDown_ = pauseDown_ = false;
  menuEnabled_ = true;
  pageRunning_ = false;
  ChordPlaying = false;
  pending_.clear();
  steps_.clear();
}

void PlaybackEngine::queue(const std::vector<MidiEvent>& events) {
  pending_.assign(events.begin(), events.end());
  drain();
}

void PlaybackEngine::drain() {
  while (!pending_.empty() && sink_.put(pending_.front())) pending_.pop_front();
}

void PlaybackEngine::takeCursorAway(PlayerUpdate& u) {
  if (cursor_ == Cursor::RedSlash) u.BlackSlash = PagePoint{CursorX, CursorY};
  if (cursor_ == Cursor::StepArrow) u.RestoreStepBackground = PagePoint{CursorX, CursorY};
  cursor_ = Cursor::None;
}

PlayerUpdate PlaybackEngine::sbtnPlayClick(const PlaySources& app, PlayTab tab, int scalePosition,
                                           std::int32_t pageTempo) {
  if (playDown_) return state();
  SetTempo(PlayButtonTempo);
  switch (tab) {
    case PlayTab::Chords:
      return PlayChord(app.SelectedChord, tab);
    case PlayTab::ChordDesign:
      return PlayChord(app.EditChord, tab);
    case PlayTab::PlayPage:
      return StartPagePlay(app.PlayPage, app.Play, pageTempo);
    case PlayTab::Scales:
      return PlayScale(app.CurrentScale, scalePosition, false);
    case PlayTab::Print:
      if (app.SelectedPrintItem.IsChord) {
        TChordDiagram chord{};
        printItemToChord(app.SelectedPrintItem, chord);
        return PlayChord(chord, tab);
      } else {
        TScaleDiagram scale{};
        printItemToScale(app.SelectedPrintItem, scale);
        return PlayScale(scale, 0, false);
      }
  }
  return state();
}

PlayerUpdate PlaybackEngine::StartPagePlay(
    const TChordDiagram (&page)[PlayPageColumns][PlayPageRows], PlayPageState& pageState,
    std::int32_t pageTempo) {
  SingleChordMode = false;
  if (!transport_.hasOutput()) return refuse();
  // A chord played before leaves the clock paused somewhere in a beat; from
  // tick 0 its beats fall on the page's beats, which the cursor follows.
  transport_.StopSync();
  transport_.SetTempo(pageTempo);
  pageState.loadActiveRepeatSet();
  const PlayList list = playListFrom(page);
  countOffQueued_ = Options.CountOff && !StepMode;
  page_.StartPagePlay({&list, &pageState, Settings, Options, countOffQueued_});
  CurrentSlot = page_.currentSlot();
  CountOffSkip = page_.beatsPerBar() - 1;
  CountOffSkipped = 0;
  playDown_ = true;
  pauseDown_ = false;
  menuEnabled_ = false;
  pending_.clear();
  steps_.clear();
  cursor_ = Cursor::None;
  // Step play strums the page chord by chord through the chord player, which
  // sends its own program changes; the page player itself does not run.
  if (StepMode) return StepTo(PlayTab::PlayPage);

  pageRunning_ = true;
  page_.FillPlayQueue(sink_);
  CurrentBeat = CurrentSlot / 2;
  PlayerUpdate u = state();
  const PagePoint beat = PlayGeometry::beatSlash(CurrentBeat);
  u.ScrollY = PlayGeometry::scrollFor(beat);
  // With a count-off the first beat past it draws the cursor.
  if (!countOffQueued_) {
    u.RedSlash = beat;
    cursor_ = Cursor::RedSlash;
    CursorX = beat.X;
    CursorY = beat.Y;
  }
  transport_.StartSync();
  return u;
}

PlayerUpdate PlaybackEngine::PlayChord(const TChordDiagram& chord, PlayTab tab) {
  if (!transport_.hasOutput() || isEmpty(chord)) return refuse();
  ChordPlayer::Play play;
  play.StrumSpeed = Options.StrumSpeed;
  play.CountOff = Options.CountOff && tab != PlayTab::PlayPage;
  play.BassNote = Options.BassNote;
  play.ClearMarks = !(tab == PlayTab::PlayPage && StepMode && !SingleChordMode);
  play.Capo = Options.Capo;
  playDown_ = true;
  menuEnabled_ = false;
  queue(ChordPlayer::PlayChord(chord, Settings, play));
  ChordPlaying = true;
  transport_.StartSync();
  return state();
}

PlayerUpdate PlaybackEngine::PlayPageChord(const TChordDiagram& chord) {
  SingleChordMode = true;
  return PlayChord(chord, PlayTab::PlayPage);
}

PlayerUpdate PlaybackEngine::PlayScale(const TScaleDiagram& scale, int position, bool wholeScale) {
  if (!transport_.hasOutput() || isEmpty(scale)) return refuse();
  if (!wholeScale && (position < 0 || position > 5)) return refuse();
  ScalePlayer::Play play;
  play.StrumSpeed = Options.StrumSpeed;
  play.BassNote = Options.BassNote;
  play.Capo = Options.Capo;
  playDown_ = true;
  menuEnabled_ = false;
  queue(ScalePlayer::PlayScale(scale, position, wholeScale, Settings, play));
  transport_.StartSync();
  return state();
}

PlayerUpdate PlaybackEngine::handleMessage(std::uint32_t code, std::uint32_t param, PlayTab tab) {
  switch (code) {
    case MidiMessageCode::Room:
      onRoom(tab);
      return state();
    case MidiMessageCode::Beat:
      return onBeat(tab);
    case MidiMessageCode::BeatMarker:
      CurrentBeat = std::min<int>(static_cast<int>(param >> 16 & 0xFF), PlaySlotCount / 2 - 1);
      return state();
    case MidiMessageCode::ShowFinger: {
      PlayerUpdate u = state();
      u.Finger = fingerMark(param, tab);
      return u;
    }
    case MidiMessageCode::AllPlayed:
      return onAllPlayed(param, tab);
    default:
      return state();
  }
}

void PlaybackEngine::onRoom(PlayTab tab) {
  drain();
  if (pageRunning_ && tab == PlayTab::PlayPage) {
    OptionsChanged();
    page_.FillPlayQueue(sink_);
  }
}

void PlaybackEngine::OptionsChanged() {
  if (!pageRunning_) return;
  if (Options.Click == page_.click() && Options.Loop == page_.loop()) return;
  page_.takeBack(sink_.takeBack(ReactionMicros, page_.journalSize()), Options.Click, Options.Loop);
  page_.FillPlayQueue(sink_);
}

PlayerUpdate PlaybackEngine::onBeat(PlayTab tab) {
  if (tab != PlayTab::PlayPage || StepMode || SingleChordMode || !pageRunning_) return state();
  // Whether a count-off was queued is fixed at the start: switching Count
  // Off during play must not hold the cursor back.
  if (countOffQueued_ && CountOffSkipped < CountOffSkip) {
    ++CountOffSkipped;
    return state();
  }
  PlayerUpdate u = state();
  const PagePoint beat = PlayGeometry::beatSlash(CurrentBeat);
  u.ScrollY = PlayGeometry::scrollFor(beat);
  if (cursor_ == Cursor::RedSlash) u.BlackSlash = PagePoint{CursorX, CursorY};
  u.RedSlash = beat;
  cursor_ = Cursor::RedSlash;
  CursorX = beat.X;
  CursorY = beat.Y;
  return u;
}

PlayerUpdate PlaybackEngine::onAllPlayed(std::uint32_t accepted, PlayTab tab) {
  if (!playDown_) return state();
  if (!pending_.empty() || (pageRunning_ && !page_.finished())) {
    // The queue ran dry before the player had written everything (the window
    // answered the room message late): that is no end of play. Go on.
    ++underruns_;
    drain();
    if (pageRunning_) {
      OptionsChanged();
      page_.FillPlayQueue(sink_);
    }
    return state();
  }
  // Posted before the latest events were queued (the room message that came
  // with it was answered first): those have yet to sound, and their own
  // all-played message follows.
  if (accepted != sink_.accepted) return state();
  if (tab == PlayTab::PlayPage && StepMode && !SingleChordMode) {
    // Play stays down: the step keys go on from here.
    transport_.PauseSync();
    transport_.FlushMidiOut();
    ChordPlaying = false;
    if (steps_.empty()) return state();
    const int slot = steps_.front();
    steps_.pop_front();
    return stepAt(slot);
  }
  PlayerUpdate u;
  if (tab == PlayTab::PlayPage) {
    takeCursorAway(u);
    transport_.StopSync();
    u.ClearFretboard = true;
  } else {
    transport_.PauseSync();
    transport_.FlushMidiOut();
  }
  endRun();
  u.PlayDown = playDown_;
  u.PauseDown = pauseDown_;
  u.MenuEnabled = menuEnabled_;
  return u;
}

PlayerUpdate PlaybackEngine::Pause(bool pressed, PlayTab tab) {
  if (pressed) {
    if (!playDown_ || pauseDown_ || !pageOrScales(tab)) return state();
    transport_.PauseSync();
    pauseDown_ = true;
  } else if (pauseDown_) {
    transport_.ReStartSync();
    pauseDown_ = false;
  }
  return state();
}

PlayerUpdate PlaybackEngine::Stop(PlayTab tab) {
  if (!playDown_) return state();
  pauseDown_ = false;
  if (!pageOrScales(tab)) return state();
  PlayerUpdate u;
  if (tab == PlayTab::PlayPage) {
    takeCursorAway(u);
    page_.rearmRepeats();
    transport_.StopSync();
    u.ClearFretboard = true;
  } else {
    transport_.StopSync();
    u.ShowScale = true;
  }
  endRun();
  u.PlayDown = playDown_;
  u.PauseDown = pauseDown_;
  u.MenuEnabled = menuEnabled_;
  return u;
}

PlayerUpdate PlaybackEngine::StepKey(bool forward, PlayTab tab) {
  if (!playDown_ || !StepMode || !pageOrScales(tab)) return state();
  // Keys held down must not pile up more chords than anyone wants to hear.
  if (steps_.size() >= MaxWaitingSteps) return state();
  if (forward)
    CurrentSlot = CurrentSlot >= PlaySlotCount - 1 ? 0 : CurrentSlot + 1;
  else
    CurrentSlot = CurrentSlot <= 0 ? PlaySlotCount - 1 : CurrentSlot - 1;
  StepBackward = !forward;
  return StepTo(tab);
}

PlayerUpdate PlaybackEngine::StepTo(PlayTab tab) {
  if (tab != PlayTab::PlayPage) return state();
  const PlayList& list = page_.playList();
  const int from = std::clamp(CurrentSlot, 0, PlaySlotCount - 1);
  int found = -1;
  if (StepBackward) {
    for (int s = from; s >= 0 && found < 0; --s)
      if (!isEmpty(list[static_cast<std::size_t>(s)])) found = s;
    for (int s = PlaySlotCount - 1; s > from && found < 0; --s)
      if (!isEmpty(list[static_cast<std::size_t>(s)])) found = s;
  } else {
    for (int s = from; s < PlaySlotCount && found < 0; ++s)
      if (!isEmpty(list[static_cast<std::size_t>(s)])) found = s;
    for (int s = 0; s < from && found < 0; ++s)
      if (!isEmpty(list[static_cast<std::size_t>(s)])) found = s;
  }
  if (found < 0) {
    PlayerUpdate u;
    takeCursorAway(u);
    endRun();
    u.PlayDown = playDown_;
    u.PauseDown = pauseDown_;
    u.MenuEnabled = menuEnabled_;
    return u;
  }
  CurrentSlot = found;
  // The chord still sounding finishes first; this step follows on its end.
  if (ChordPlaying) {
    steps_.push_back(found);
    return state();
  }
  return stepAt(found);
}

PlayerUpdate PlaybackEngine::stepAt(int slot) {
  PlayerUpdate u;
  if (!transport_.hasOutput()) {
    takeCursorAway(u);
    endRun();
  } else {
    if (cursor_ == Cursor::StepArrow) u.RestoreStepBackground = PagePoint{CursorX, CursorY};
    const PagePoint arrow = PlayGeometry::stepPosition(slot);
    u.StepArrow = arrow;
    u.ScrollY = PlayGeometry::scrollFor(arrow);
    cursor_ = Cursor::StepArrow;
    CursorX = arrow.X;
    CursorY = arrow.Y;
    u.RestoreFretboard = true;
    PlayChord(page_.playList()[static_cast<std::size_t>(slot)], PlayTab::PlayPage);
  }
  u.PlayDown = playDown_;
  u.PauseDown = pauseDown_;
  u.MenuEnabled = menuEnabled_;
  return u;
}

PlaybackEngine::KeyAction PlaybackEngine::keyAction(Key key, PlayTab tab) const {
  if (key == Key::Other) return KeyAction::FocusStrumSpeed;
  if (key == Key::Space || key == Key::Right) {
    if (!playDown_) return KeyAction::Play;
    if (!pageOrScales(tab)) return KeyAction::None;
    return StepMode ? KeyAction::StepForward : KeyAction::Stop;
  }
  if (playDown_ && StepMode && pageOrScales(tab)) return KeyAction::StepBackward;
  return KeyAction::None;
}

std::optional<FingerMark> PlaybackEngine::fingerMark(std::uint32_t param, PlayTab tab) {
  const int string = static_cast<int>(param >> 16 & 0xFF);
  const int fret = static_cast<int>(param >> 8 & 0xFF);
  const int finger = static_cast<int>(param & 0xFF);
  if (string > 5 || fret > 22) return std::nullopt;
  FingerMark m;
  m.String = string;
  m.Fret = fret;
  m.Finger = finger;
  if (finger == 10) {
    m.Clear = true;
    m.RefillFromClean = tab == PlayTab::PlayPage;
    return m;
  }
  if (finger > FingerCode::Fretted) return std::nullopt;
  m.GlyphX = fingerGlyphCell(GlyphCell::WhiteDot, finger);
  return m;
}
