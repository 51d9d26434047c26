#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "PlayerTestSupport.h"
#include "music/DiagramConvert.h"
#include "play/ChordPlayer.h"
#include "play/FretboardGlyphs.h"
#include "play/MidiMessageCodes.h"
#include "play/PlaybackEngine.h"
#include "state/AppState.h"

namespace {

using namespace MidiMessageCode;
using Calls = std::vector<std::string>;

struct Engine : ::testing::Test {
  AppState app;
  RecordingSink sink;
  FakeTransport transport;
  PlaybackEngine engine{sink, transport};

  void place(int slot, const TChordDiagram& d) { app.PlayPage[slot % 12][slot / 12] = d; }
  PlayerUpdate startPage(std::int32_t tempo = DefaultPageTempo) {
    return engine.StartPagePlay(app.PlayPage, app.Play, tempo);
  }
  // Without a parameter, an all-played message carries what the component
  // would: the count of events it had taken.
  PlayerUpdate message(std::uint32_t code, std::optional<std::uint32_t> param = std::nullopt,
                       PlayTab tab = PlayTab::PlayPage) {
    const std::uint32_t p = param ? *param : code == AllPlayed ? engine.eventsAccepted() : 0;
    return engine.handleMessage(code, p, tab);
  }
  // The guitar notes struck in the sink since `from`.
  std::vector<int> struck(std::size_t from = 0) {
    std::vector<int> notes;
    for (std::size_t i = from; i < sink.events.size(); ++i)
      if (sink.events[i].Status == 0x90) notes.push_back(sink.events[i].Data1);
    return notes;
  }
};

std::vector<int> notesOf(const TChordDiagram& d) {
  std::vector<int> n;
  for (int s = 5; s >= 0; --s)
    if (d.Notes[s]) n.push_back(d.Notes[s]);
  return n;
}

}  // namespace

TEST_F(Engine, WithoutAnOutputEveryPlayerLeavesPlayUpAndQueuesNothing) {
  transport.output = false;
  place(0, cMajor());
  app.SelectedChord = cMajor();
  EXPECT_FALSE(startPage().PlayDown);
  EXPECT_FALSE(engine.PlayChord(cMajor(), PlayTab::Chords).PlayDown);
  EXPECT_FALSE(engine.PlayScale(app.CurrentScale, 0, true).PlayDown);
  EXPECT_TRUE(sink.events.empty());
  for (const auto& c : transport.calls) EXPECT_NE(c, "start");
  EXPECT_TRUE(engine.menuEnabled());
  // An empty diagram, a scale position off the page: the same.
  transport.output = true;
  TChordDiagram empty = cMajor();
  empty.Empty = 1;
  EXPECT_FALSE(engine.PlayChord(empty, PlayTab::Chords).PlayDown);
  TScaleDiagram scale{};
  scale.Empty = 0;
  EXPECT_FALSE(engine.PlayScale(scale, 6, false).PlayDown);
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(Engine, PagePlayWithoutCountOffDrawsTheCursorAtOnceAndMovesItOnEachBeat) {
  place(0, cMajor());
  app.Play.PlayStartColumn = 8;  // bar 2, beat 4: the row's fifth slash
  const PlayerUpdate u = startPage(700000);
  EXPECT_TRUE(u.PlayDown);
  EXPECT_FALSE(u.MenuEnabled);
  EXPECT_EQ(transport.take(), (Calls{"stop", "tempo 700000", "start"}));
  ASSERT_TRUE(u.RedSlash.has_value());
  EXPECT_EQ(*u.RedSlash, (PagePoint{39 + 126 * 4, 95}));
  EXPECT_EQ(u.ScrollY, 0);
  EXPECT_FALSE(u.BlackSlash.has_value());
  EXPECT_EQ(engine.CurrentBeat, 4);
  EXPECT_FALSE(sink.events.empty());

  // Beat 6 lies on the second row: the page scrolls and the old slash turns black.
  message(BeatMarker, 6u << 16);
  const PlayerUpdate b = message(Beat);
  EXPECT_EQ(b.BlackSlash, (PagePoint{39 + 126 * 4, 95}));
  EXPECT_EQ(b.RedSlash, (PagePoint{39, 132 + 95}));
  EXPECT_EQ(b.ScrollY, 132);
  EXPECT_EQ(engine.CursorX, 39);
  EXPECT_EQ(engine.CursorY, 227);
  // Not on another tab; a marker out of range stays on the page.
  EXPECT_FALSE(message(Beat, 0, PlayTab::Chords).RedSlash.has_value());
  message(BeatMarker, 200u << 16);
  EXPECT_EQ(engine.CurrentBeat, 35);
}

TEST_F(Engine, CountOffBeatsAreSwallowedAndTheCursorStartsAfterThem) {
  app.Play.ThreeFour = true;
  engine.Options.CountOff = true;
  place(0, cMajor());
  const PlayerUpdate u = startPage();
  EXPECT_FALSE(u.RedSlash.has_value());
  EXPECT_EQ(u.ScrollY, 0);
  EXPECT_EQ(engine.CountOffSkip, 2);
  // Switching Count Off during play does not change what was queued.
  engine.Options.CountOff = false;
  EXPECT_FALSE(message(Beat).RedSlash.has_value());
  engine.Options.CountOff = true;
  EXPECT_FALSE(message(Beat).RedSlash.has_value());
  const PlayerUpdate first = message(Beat);
  EXPECT_EQ(first.RedSlash, (PagePoint{39, 95}));
  EXPECT_FALSE(first.BlackSlash.has_value()) << "nothing drawn yet to take away";
  EXPECT_EQ(engine.CountOffSkipped, 2);

  // Without a count-off queued no beat is swallowed, whatever the button says later.
  message(AllPlayed);
  engine.Options.CountOff = false;
  startPage();
  engine.Options.CountOff = true;
  message(BeatMarker, 1u << 16);
  EXPECT_EQ(message(Beat).RedSlash, (PagePoint{39 + 126, 95}));
}

TEST_F(Engine, TheRoomMessageResumesTheFillOnThePlayPageTab) {
  place(0, cMajor());
  place(4, gMajor());
  sink.refuse = [](std::size_t n) { return n == 10; };
  startPage();
  EXPECT_EQ(sink.events.size(), 10u);
  message(Room, 0, PlayTab::Chords);
  EXPECT_EQ(sink.events.size(), 10u) << "only on the PlayPage tab";
  message(Room);
  EXPECT_GT(sink.events.size(), 100u);
  EXPECT_TRUE(engine.pagePlayer().finished());

  const PlayList list = playListFrom(app.PlayPage);
  EXPECT_EQ(sink.events, *PagePlayer::playOnce(startOf(list, app.Play), 100000));
  // Click switched on during play counts from the next click queued.
  sink.events.clear();
  sink.attempts = 0;
  sink.refuse = [](std::size_t n) { return n == 20; };
  message(AllPlayed);
  startPage();
  engine.Options.Click = true;
  message(Room);
  int clicks = 0;
  for (const auto& e : sink.events) clicks += e.Status == 0x99;
  EXPECT_GT(clicks, 30);
}

TEST_F(Engine, TheEndOfPlayTakesTheCursorAwayStopsTheClockAndLiftsTheGuard) {
  place(0, cMajor());
  startPage();
  transport.take();
  const PlayerUpdate end = message(AllPlayed);
  EXPECT_EQ(end.BlackSlash, (PagePoint{39, 95}));
  EXPECT_TRUE(end.ClearFretboard);
  EXPECT_FALSE(end.PlayDown);
  EXPECT_TRUE(end.MenuEnabled);
  EXPECT_EQ(transport.take(), (Calls{"stop"}));
  // A late message changes nothing more.
  EXPECT_FALSE(message(AllPlayed).BlackSlash.has_value());
  EXPECT_TRUE(transport.take().empty());

  // A chord on another tab: pause and flush, Play raised.
  engine.PlayChord(cMajor(), PlayTab::Chords);
  EXPECT_TRUE(engine.ChordPlaying);
  transport.take();
  const PlayerUpdate chordEnd = message(AllPlayed, std::nullopt, PlayTab::Chords);
  EXPECT_EQ(transport.take(), (Calls{"pause", "flush"}));
  EXPECT_FALSE(chordEnd.PlayDown);
  EXPECT_FALSE(chordEnd.ClearFretboard);
  EXPECT_FALSE(engine.ChordPlaying);
}

TEST_F(Engine, PauseOnlyWhilePlayingOnThePlayPageOrScalesTabAndStopByTab) {
  EXPECT_FALSE(engine.Pause(true, PlayTab::PlayPage).PauseDown) << "Play is up";
  place(0, cMajor());
  startPage();
  transport.take();
  EXPECT_FALSE(engine.Pause(true, PlayTab::Chords).PauseDown);
  EXPECT_TRUE(engine.Pause(true, PlayTab::PlayPage).PauseDown);
  EXPECT_TRUE(engine.busy());
  EXPECT_FALSE(engine.Pause(false, PlayTab::PlayPage).PauseDown);
  EXPECT_EQ(transport.take(), (Calls{"pause", "restart"}));

  engine.Pause(true, PlayTab::PlayPage);
  transport.take();
  const PlayerUpdate stop = engine.Stop(PlayTab::PlayPage);
  EXPECT_FALSE(stop.PlayDown);
  EXPECT_FALSE(stop.PauseDown);
  EXPECT_TRUE(stop.MenuEnabled);
  EXPECT_EQ(stop.BlackSlash, (PagePoint{39, 95}));
  EXPECT_TRUE(stop.ClearFretboard);
  EXPECT_EQ(transport.take(), (Calls{"stop"}));
  EXPECT_FALSE(engine.busy());
  // Room after Stop fills nothing.
  const std::size_t queued = sink.events.size();
  message(Room);
  EXPECT_EQ(sink.events.size(), queued);

  // On the Scales tab Stop shows the scale again; on the Chords tab it only raises Pause.
  const TScaleDiagram scale = scaleOf({0}, 0, {1, 1, 1, 1, 1, 1});
  engine.PlayScale(scale, 0, true);
  transport.take();
  const PlayerUpdate scaleStop = engine.Stop(PlayTab::Scales);
  EXPECT_TRUE(scaleStop.ShowScale);
  EXPECT_FALSE(scaleStop.PlayDown);
  EXPECT_EQ(transport.take(), (Calls{"stop"}));
  engine.PlayChord(cMajor(), PlayTab::Chords);
  transport.take();
  EXPECT_TRUE(engine.Stop(PlayTab::Chords).PlayDown);
  EXPECT_TRUE(transport.take().empty());
}

TEST_F(Engine, StepPlayAlternatesBetweenTheChordsWrappingBothWaysAndKeepsTheMarks) {
  place(3, cMajor());
  place(40, gMajor());
  engine.StepMode = true;
  engine.Options.CountOff = true;  // no count-off in step play
  const PlayerUpdate first = startPage();
  EXPECT_TRUE(first.PlayDown);
  EXPECT_EQ(engine.CurrentSlot, 3);
  EXPECT_EQ(first.StepArrow, (PagePoint{39 + 63 * 3, 95}));
  EXPECT_FALSE(first.RestoreStepBackground.has_value());
  EXPECT_TRUE(first.RestoreFretboard);
  EXPECT_EQ(struck(), notesOf(cMajor()));
  for (const auto& e : sink.events) {
    EXPECT_NE(e.Status, 0x99) << "no count-off";
    if (e.Status == EventShowFinger) {
      EXPECT_NE(e.Data3, 10) << "the marks stay";
    }
  }
  EXPECT_TRUE(engine.ChordPlaying);

  // The chord ends: the clock pauses, Play stays down.
  transport.take();
  const PlayerUpdate rest = message(AllPlayed);
  EXPECT_TRUE(rest.PlayDown);
  EXPECT_FALSE(rest.ClearFretboard);
  EXPECT_EQ(transport.take(), (Calls{"pause", "flush"}));
  EXPECT_FALSE(engine.ChordPlaying);
  EXPECT_FALSE(message(Beat).RedSlash.has_value()) << "no beat cursor in step play";

  // Right: slot 40; Right again wraps past 71 to slot 3; Left goes back to 40.
  std::size_t mark = sink.events.size();
  const PlayerUpdate right = engine.StepKey(true, PlayTab::PlayPage);
  EXPECT_EQ(engine.CurrentSlot, 40);
  EXPECT_EQ(right.RestoreStepBackground, (PagePoint{39 + 63 * 3, 95}));
  EXPECT_EQ(right.StepArrow, (PagePoint{39 + 63 * 4, 132 * 3 + 95}));
  EXPECT_EQ(right.ScrollY, 132 * 3);
  EXPECT_EQ(struck(mark), notesOf(gMajor()));
  message(AllPlayed);
  engine.StepKey(true, PlayTab::PlayPage);
  EXPECT_EQ(engine.CurrentSlot, 3);
  message(AllPlayed);
  mark = sink.events.size();
  engine.StepKey(false, PlayTab::PlayPage);
  EXPECT_EQ(engine.CurrentSlot, 40);
  EXPECT_TRUE(engine.StepBackward);
  EXPECT_EQ(struck(mark), notesOf(gMajor()));
  message(AllPlayed);
  engine.StepKey(false, PlayTab::PlayPage);
  EXPECT_EQ(engine.CurrentSlot, 3);
  message(AllPlayed);

  // Stop puts back what the arrow covers.
  const PlayerUpdate stop = engine.Stop(PlayTab::PlayPage);
  EXPECT_EQ(stop.RestoreStepBackground, (PagePoint{39 + 63 * 3, 95}));
  EXPECT_FALSE(stop.BlackSlash.has_value());

  // The last step went backward: the next start begins with slot 40.
  engine.StartPagePlay(app.PlayPage, app.Play, DefaultPageTempo);
  EXPECT_EQ(engine.CurrentSlot, 40);
}

TEST_F(Engine, StepKeysCrossBetweenTheLastAndTheFirstSlotDirectly) {
  place(0, cMajor());
  place(71, gMajor());
  engine.StepMode = true;
  startPage();
  message(AllPlayed);
  // Each key moves one slot first: from slot 0 backward is slot 71, and from
  // 71 forward is slot 0, with no search across the page on the way.
  std::size_t mark = sink.events.size();
  PlayerUpdate u = engine.StepKey(false, PlayTab::PlayPage);
  EXPECT_EQ(engine.CurrentSlot, 71);
  EXPECT_EQ(u.StepArrow, (PagePoint{39 + 63 * 11, 132 * 5 + 95}));
  EXPECT_EQ(struck(mark), notesOf(gMajor()));
  message(AllPlayed);
  mark = sink.events.size();
  u = engine.StepKey(true, PlayTab::PlayPage);
  EXPECT_EQ(engine.CurrentSlot, 0);
  EXPECT_EQ(u.StepArrow, (PagePoint{39, 95}));
  EXPECT_EQ(struck(mark), notesOf(cMajor()));
}

TEST_F(Engine, AStepAskedForWhileAChordSoundsFollowsWhenItEnds) {
  place(3, cMajor());
  place(40, gMajor());
  place(50, aMinor());
  engine.StepMode = true;
  startPage();
  const std::size_t mark = sink.events.size();
  const PlayerUpdate waiting = engine.StepKey(true, PlayTab::PlayPage);
  EXPECT_FALSE(waiting.StepArrow.has_value());
  engine.StepKey(true, PlayTab::PlayPage);
  EXPECT_EQ(engine.CurrentSlot, 50);
  EXPECT_EQ(engine.waitingSteps(), 2u);
  EXPECT_EQ(sink.events.size(), mark) << "nothing queued while the chord sounds";

  const PlayerUpdate next = message(AllPlayed);
  EXPECT_EQ(next.StepArrow, PlayGeometry::stepPosition(40));
  EXPECT_EQ(struck(mark), notesOf(gMajor()));
  const PlayerUpdate last = message(AllPlayed);
  EXPECT_EQ(last.StepArrow, PlayGeometry::stepPosition(50));
  EXPECT_EQ(last.RestoreStepBackground, PlayGeometry::stepPosition(40));
  EXPECT_EQ(engine.waitingSteps(), 0u);
  // Held keys do not pile up without bound.
  for (int i = 0; i < 30; ++i) engine.StepKey(true, PlayTab::PlayPage);
  EXPECT_EQ(engine.waitingSteps(), PlaybackEngine::MaxWaitingSteps);
  EXPECT_TRUE(engine.Stop(PlayTab::PlayPage).MenuEnabled);
  EXPECT_EQ(engine.waitingSteps(), 0u);
}

TEST_F(Engine, StepPlayOnAPageWithoutChordsLiftsTheGuard) {
  engine.StepMode = true;
  const PlayerUpdate u = startPage();
  EXPECT_FALSE(u.PlayDown);
  EXPECT_TRUE(u.MenuEnabled);
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(Engine, PlayChordFromThePlayPageIsASingleChordWithoutCursorOrCountOff) {
  engine.StepMode = true;
  engine.Options.CountOff = true;
  const PlayerUpdate u = engine.PlayPageChord(gMajor());
  EXPECT_TRUE(engine.SingleChordMode);
  EXPECT_TRUE(u.PlayDown);
  int clears = 0;
  for (const auto& e : sink.events) {
    EXPECT_NE(e.Status, 0x99);
    clears += e.Status == EventShowFinger && e.Data3 == 10;
  }
  EXPECT_EQ(clears, 6) << "marks cleared: not a step";
  EXPECT_FALSE(message(Beat).RedSlash.has_value());
  const PlayerUpdate end = message(AllPlayed);
  EXPECT_FALSE(end.PlayDown) << "ends even with Step Play down";
  EXPECT_TRUE(end.ClearFretboard);
  EXPECT_FALSE(end.BlackSlash.has_value());
  // On the Chords tab Count Off clicks first.
  sink.events.clear();
  engine.PlayChord(gMajor(), PlayTab::Chords);
  int counts = 0;
  for (const auto& e : sink.events) counts += e.Status == 0x99;
  EXPECT_EQ(counts, 4);
}

TEST_F(Engine, PlayButtonStartsThePlayerOfTheTabAt120BeatsPerMinute) {
  app.SelectedChord = gMajor();
  engine.sbtnPlayClick(app.playSources(), PlayTab::Chords, 0, DefaultPageTempo);
  EXPECT_EQ(transport.take(), (Calls{"tempo 500000", "start"}));
  EXPECT_EQ(struck(), notesOf(gMajor()));
  // Play already down: a click changes nothing.
  const std::size_t queued = sink.events.size();
  EXPECT_TRUE(
      engine.sbtnPlayClick(app.playSources(), PlayTab::Chords, 0, DefaultPageTempo).PlayDown);
  EXPECT_EQ(sink.events.size(), queued);
  EXPECT_TRUE(transport.take().empty());
  message(AllPlayed, std::nullopt, PlayTab::Chords);
  transport.take();

  // The page at its own tempo.
  place(0, cMajor());
  engine.sbtnPlayClick(app.playSources(), PlayTab::PlayPage, 0, 750000);
  EXPECT_EQ(transport.take(), (Calls{"tempo 500000", "stop", "tempo 750000", "start"}));
  message(AllPlayed);

  // The print page's scale item: position 0 of a scale from fret 5.
  const TScaleDiagram scale = scaleOf({0}, 0, {1, 1, 1, 1, 1, 1});
  scaleToPrintItem(scale, app.SelectedPrintItem);
  app.SelectedPrintItem.BaseFret = 5;
  sink.events.clear();
  engine.sbtnPlayClick(app.playSources(), PlayTab::Print, 0, DefaultPageTempo);
  for (const auto& e : sink.events)
    if (e.Status == EventShowFinger) {
      EXPECT_GE(e.Data2, 5);
    }
  EXPECT_EQ(struck(), (std::vector<int>{48, 60, 72}));
}

TEST_F(Engine, SingleChordsLongerThanTheQueueFollowOnTheRoomMessage) {
  engine.Options.CountOff = true;
  engine.Options.BassNote = true;
  BoundedSink queue(5);
  PlaybackEngine small(queue, transport);
  small.Options = engine.Options;
  small.PlayChord(gMajor(), PlayTab::Chords);
  EXPECT_EQ(queue.events.size(), 5u);
  EXPECT_GT(small.waitingEvents(), 0u);
  // Played out before the room message came: the rest still follows.
  queue.drainAll();
  EXPECT_TRUE(small.handleMessage(AllPlayed, small.eventsAccepted(), PlayTab::Chords).PlayDown);
  EXPECT_EQ(queue.events.size(), 10u);
  while (small.waitingEvents() > 0) {
    queue.drainAll();
    small.handleMessage(Room, 0, PlayTab::Chords);
  }
  ChordPlayer::Play play;
  play.CountOff = true;
  play.BassNote = true;
  EXPECT_EQ(queue.events, ChordPlayer::PlayChord(gMajor(), PlayerSettings{}, play));
  EXPECT_FALSE(small.handleMessage(AllPlayed, small.eventsAccepted(), PlayTab::Chords).PlayDown);
}

TEST(FingerMarks, TheParameterNamesStringFretAndGlyphOrAClear) {
  auto mark = [](int s, int f, int finger, PlayTab tab = PlayTab::Chords) {
    return PlaybackEngine::fingerMark(static_cast<std::uint32_t>(s << 16 | f << 8 | finger), tab);
  };
  // Every finger code has a cell of its own in the white set; a muted
  // string keeps the grey cross, and fingers 1 to 4 lie side by side.
  std::set<int> cells;
  for (int finger = 0; finger <= 6; ++finger) {
    const auto m = mark(2, 7, finger);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(std::tuple(m->String, m->Fret, m->Clear), std::tuple(2, 7, false));
    cells.insert(m->GlyphX);
  }
  EXPECT_EQ(cells.size(), 7u);
  EXPECT_EQ(mark(2, 7, FingerCode::Muted)->GlyphX, GlyphCell::Cross);
  EXPECT_EQ(mark(2, 7, FingerCode::Open)->GlyphX, GlyphCell::WhiteRing);
  EXPECT_EQ(mark(2, 7, FingerCode::Fretted)->GlyphX, GlyphCell::WhiteDot);
  for (int finger = 2; finger <= 4; ++finger)
    EXPECT_EQ(mark(2, 7, finger)->GlyphX, mark(2, 7, finger - 1)->GlyphX + GlyphSize);
  // A clear; only the play page refills the fretboard from its clean copy.
  EXPECT_TRUE(mark(5, 22, 10, PlayTab::PlayPage)->Clear);
  EXPECT_TRUE(mark(5, 22, 10, PlayTab::PlayPage)->RefillFromClean);
  EXPECT_FALSE(mark(5, 22, 10, PlayTab::Scales)->RefillFromClean);
  // Nothing the fretboard's tables do not hold.
  for (const auto& [s, f, finger] : {std::tuple{6, 0, 1}, {0, 23, 1}, {0, 0, 7}, {0, 0, 255}})
    EXPECT_FALSE(mark(s, f, finger).has_value()) << s << " " << f << " " << finger;
}

TEST_F(Engine, PlaybackKeysFollowPlayStepAndTab) {
  using K = PlaybackEngine::Key;
  using A = PlaybackEngine::KeyAction;
  EXPECT_EQ(engine.keyAction(K::Space, PlayTab::Chords), A::Play);
  EXPECT_EQ(engine.keyAction(K::Right, PlayTab::PlayPage), A::Play);
  EXPECT_EQ(engine.keyAction(K::Left, PlayTab::PlayPage), A::None);
  EXPECT_EQ(engine.keyAction(K::Other, PlayTab::PlayPage), A::FocusStrumSpeed);
  place(0, cMajor());
  startPage();
  EXPECT_EQ(engine.keyAction(K::Space, PlayTab::PlayPage), A::Stop);
  EXPECT_EQ(engine.keyAction(K::Right, PlayTab::Scales), A::Stop);
  EXPECT_EQ(engine.keyAction(K::Right, PlayTab::Chords), A::None);
  EXPECT_EQ(engine.keyAction(K::Left, PlayTab::PlayPage), A::None);
  engine.Stop(PlayTab::PlayPage);
  engine.StepMode = true;
  startPage();
  EXPECT_EQ(engine.keyAction(K::Space, PlayTab::PlayPage), A::StepForward);
  EXPECT_EQ(engine.keyAction(K::Left, PlayTab::PlayPage), A::StepBackward);
  EXPECT_EQ(engine.keyAction(K::Other, PlayTab::PlayPage), A::FocusStrumSpeed);
  // On the Scales tab a step moves the slot and plays nothing.
  const std::size_t queued = sink.events.size();
  engine.StepKey(true, PlayTab::Scales);
  EXPECT_EQ(engine.CurrentSlot, 1);
  EXPECT_EQ(sink.events.size(), queued);
}

TEST_F(Engine, AQueueRunDryBeforeThePageEndsIsNoEndOfPlay) {
  place(0, cMajor());
  sink.refuse = [](std::size_t n) { return n >= 30 && n < 32; };
  startPage();
  transport.take();
  const PlayerUpdate u = message(AllPlayed);
  EXPECT_TRUE(u.PlayDown);
  EXPECT_FALSE(u.ClearFretboard);
  EXPECT_TRUE(transport.take().empty()) << "the clock runs on";
  EXPECT_EQ(engine.underruns(), 1);
  EXPECT_FALSE(engine.pagePlayer().finished());
  EXPECT_TRUE(message(AllPlayed).PlayDown) << "taken this time: the rest of the page is written";
  EXPECT_TRUE(engine.pagePlayer().finished());
  EXPECT_TRUE(message(AllPlayed, engine.eventsAccepted() - 5).PlayDown)
      << "posted before the last events were queued: they have yet to sound";
  EXPECT_FALSE(message(AllPlayed).PlayDown);
}
