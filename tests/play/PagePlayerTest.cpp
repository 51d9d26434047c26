#include <gtest/gtest.h>

#include <map>

#include "PlayerTestSupport.h"
#include "play/PagePlayer.h"

namespace {

struct PagePlay : ::testing::Test {
  PlayList list = emptyList();
  PlayPageState state;
  PlayerSettings settings;
  PlayOptions options;
  bool countOff = false;

  PagePlayer::Start start() {
    PagePlayer::Start s = startOf(list, state, options, settings);
    s.CountOff = countOff;
    return s;
  }
  std::vector<MidiEvent> once() {
    auto played = PagePlayer::playOnce(start(), 1'000'000);
    EXPECT_TRUE(played.has_value());
    return played ? *played : std::vector<MidiEvent>{};
  }
  // Plays with a sink that refuses where `refuse` says, resuming after each
  // refusal as the room message would.
  std::vector<MidiEvent> resumed(std::function<bool(std::size_t)> refuse) {
    PagePlayer p;
    p.keepJournal(64);  // as the engine runs it
    p.StartPagePlay(start());
    RecordingSink sink;
    sink.refuse = std::move(refuse);
    for (int calls = 0; !p.finished() && calls < 1'000'000; ++calls) p.FillPlayQueue(sink);
    EXPECT_TRUE(p.finished());
    p.FillPlayQueue(sink);
    return sink.events;
  }
  // The first `count` events of a player that never ends (loop on).
  std::vector<MidiEvent> firstEvents(std::size_t count) {
    PagePlayer p;
    p.StartPagePlay(start());
    RecordingSink sink;
    sink.refuse = [count](std::size_t n) { return n >= count; };
    p.FillPlayQueue(sink);
    EXPECT_FALSE(p.finished());
    return sink.events;
  }
  void place(int slot, const TChordDiagram& d) { list[static_cast<std::size_t>(slot)] = d; }
  TRepeatSet& marks() { return state.savedSet(); }
  void repeat(int bar, int count) {
    marks().RepeatCount[bar] = static_cast<std::uint8_t>(count);
    marks().RepeatsLeft[bar] = static_cast<std::uint8_t>(count);
  }
  // The bar a run starts in.
  int startBar() {
    PagePlayer p;
    p.StartPagePlay(start());
    return p.currentBar();
  }
  // The bars in playing order, 0-based, from the beat markers of bar starts.
  std::vector<int> bars(const std::vector<MidiEvent>& events) {
    const int spb = PlayBars::slotsPerBar(state.ThreeFour);
    std::vector<int> out{startBar()};
    for (const MidiEvent& e : events)
      if (e.Status == EventBeatMarker && (e.Data1 * 2) % spb == 0) out.push_back(e.Data1 * 2 / spb);
    return out;
  }
};

std::vector<int> range(int from, int to) {
  std::vector<int> v;
  for (int b = from; b <= to; ++b) v.push_back(b);
  return v;
}
std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST_F(PagePlay, ARefusedPutResumesExactlyWhereItStoppedAtEveryPosition) {
  // Everything the player can emit: count-off, clicks, bass, strums, holds,
  // releases, repeats with a return.
  options.Click = true;
  options.BassNote = true;
  countOff = true;
  place(0, cMajor());
  place(3, gMajor());
  place(9, aMinor());
  place(30, cMajor());
  place(70, gMajor());
  repeat(1, 2);
  marks().ReturnMark[1] = 1;
  repeat(3, 1);
  const std::vector<MidiEvent> reference = once();
  ASSERT_GT(reference.size(), 500u);

  for (std::size_t k = 0; k <= reference.size(); ++k)
    ASSERT_EQ(resumed([k](std::size_t n) { return n == k; }), reference) << "refused put " << k;
  // Refusals in a row, and a sink that takes only every third event.
  EXPECT_EQ(resumed([](std::size_t n) { return n % 2 == 1; }), reference);
  EXPECT_EQ(resumed([](std::size_t n) { return n % 3 != 0; }), reference);
  EXPECT_EQ(resumed([](std::size_t n) { return n >= 40 && n < 47; }), reference);
}

TEST_F(PagePlay, EventsTakenBackAreWrittenAgainTheSameWhenNothingWasSwitched) {
  options.Click = true;
  options.BassNote = true;
  countOff = true;
  place(0, cMajor());
  place(3, gMajor());
  place(9, aMinor());
  place(70, gMajor());
  repeat(1, 1);
  marks().ReturnMark[1] = 1;
  const std::vector<MidiEvent> reference = once();
  // After every event, give back the last 1, 5 or 40 and go on.
  for (std::size_t count : {1u, 5u, 40u}) {
    for (std::size_t k = count; k <= reference.size(); ++k) {
      PagePlayer p;
      p.keepJournal(64);
      p.StartPagePlay(start());
      RecordingSink sink;
      sink.refuse = [k](std::size_t n) { return n == k; };
      p.FillPlayQueue(sink);
      ASSERT_EQ(sink.events.size(), k);
      sink.events.resize(k - count);
      p.takeBack({count, 1'000'000}, options.Click, options.Loop);
      for (int calls = 0; !p.finished() && calls < 100; ++calls) p.FillPlayQueue(sink);
      ASSERT_EQ(sink.events, reference) << count << " given back after " << k;
    }
  }
}

TEST_F(PagePlay, LoopPlaySwitchedOnAtTheLastSlotIsTakenAgainAtTheBarsEndUnlessTooLate) {
  place(0, cMajor());
  // Everything up to the closing event, which is given back.
  const std::vector<MidiEvent> ending = once();
  options.Loop = true;
  const std::vector<MidiEvent> looping = firstEvents(ending.size() + 20);
  options.Loop = false;
  for (std::int64_t spare : {1000, 0}) {
    PagePlayer p;
    p.keepJournal(64);
    p.StartPagePlay(start());
    RecordingSink sink;
    p.FillPlayQueue(sink);
    ASSERT_EQ(sink.events, ending);
    sink.events.pop_back();
    p.takeBack({1, spare}, false, true);
    sink.refuse = [&](std::size_t) { return sink.events.size() >= looping.size(); };
    p.FillPlayQueue(sink);
    if (spare == 1000)
      EXPECT_EQ(sink.events, looping) << "the next bar falls after the point given back";
    else
      EXPECT_EQ(sink.events, ending) << "the bar's end has passed: the page still ends";
  }
}

TEST_F(PagePlay, AQueueOfFixedRoomTakesTheSameStreamWhenLooping) {
  options.Loop = true;
  options.Click = true;
  options.BassNote = true;
  place(0, cMajor());
  place(13, gMajor());
  const std::vector<MidiEvent> reference = firstEvents(5000);
  for (std::size_t room : {1u, 7u, 64u}) {
    PagePlayer p;
    p.StartPagePlay(start());
    BoundedSink queue(room);
    while (queue.events.size() < reference.size()) {
      p.FillPlayQueue(queue);
      queue.drainAll();
    }
    queue.events.resize(reference.size());
    EXPECT_EQ(queue.events, reference) << "room " << room;
  }
}

TEST_F(PagePlay, OneChordInSlotZeroRingsToSlotEightAndThePageRunsOnToItsEnd) {
  options.Click = true;
  place(0, cMajor());
  const auto events = once();
  const auto tl = timeline(events);
  ASSERT_GE(tl.size(), 3u);
  EXPECT_EQ(events[0], (MidiEvent{0, 0xC0, 25, 0, 0}));
  EXPECT_EQ(events[1], (MidiEvent{0, 0xC1, 33, 0, 0}));
  EXPECT_EQ(events[2], (MidiEvent{0, 0xC9, 0, 0, 0}));

  // Struck at slot 0 from string 4 (string 5 is muted) up, 300 / 18 = 16 ticks apart.
  const auto ons = only(tl, [](const MidiEvent& e) { return isKind(e, 0x90, Guitar); });
  ASSERT_EQ(ons.size(), 5u) << "no new strike after slot 0";
  const int notes[5] = {48, 52, 55, 60, 64};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(ons[i].Tick, 16 * i);
    EXPECT_EQ(ons[i].Event.Data1, notes[i]);
  }
  // Released at slot 8, the start of bar 2, after its click.
  const auto offs = only(tl, [](const MidiEvent& e) { return isKind(e, 0x80, Guitar); });
  ASSERT_GE(offs.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(offs[i].Tick, 8 * 240);
    EXPECT_EQ(offs[i].Event.Data1, notes[i]) << "released from string 5 up";
  }
  // Clicks only, one per slot, to the end of bar 9: on the beat, released on the off-beat.
  const auto clicks = only(tl, [](const MidiEvent& e) { return (e.Status & 0x0F) == Click; });
  const auto clickEvents =
      std::vector<Timed>(clicks.begin() + 1, clicks.end());  // after the program change
  ASSERT_EQ(clickEvents.size(), 72u);
  for (int k = 0; k < 72; ++k) {
    const MidiEvent& e = clickEvents[k].Event;
    EXPECT_EQ(clickEvents[k].Tick, 240 * k) << "slot " << k;
    EXPECT_EQ(e.Status, k % 2 == 0 ? 0x99 : 0x89) << "slot " << k;
    EXPECT_EQ(e.Data1, 34);
    EXPECT_EQ(e.Data2, k % 2 == 1 ? 0 : k % 8 == 0 ? 97 : 65) << "slot " << k;
  }
  // A beat marker 20 ticks before each beat but the first.
  const auto markers = only(tl, [](const MidiEvent& e) { return e.Status == EventBeatMarker; });
  ASSERT_EQ(markers.size(), 35u);
  for (int j = 1; j <= 35; ++j) {
    EXPECT_EQ(markers[j - 1].Event.Data1, j);
    EXPECT_EQ(markers[j - 1].Tick, 480 * j - 20);
  }
  // The closing event, 1000 ticks after the last slot's click release.
  EXPECT_EQ(events.back(), (MidiEvent{1000, 0x80, 0, 0, 0}));
  EXPECT_EQ(tl.back().Tick, 240 * 71 + 1000);
  EXPECT_EQ(
      std::max_element(tl.begin(), tl.end() - 1, [](auto& a, auto& b) { return a.Tick < b.Tick; })
          ->Tick,
      240 * 71);
}

TEST_F(PagePlay, FingerMarksFollowEachStringStruckAndAreClearedWithItsRelease) {
  place(0, cMajor());
  place(2, gMajor());
  const auto events = once();
  // Each note on is followed at once by its mark; each note off by its clear.
  int shown = 0, cleared = 0;
  for (std::size_t i = 0; i + 1 < events.size(); ++i) {
    const MidiEvent& e = events[i];
    const MidiEvent& next = events[i + 1];
    if (isKind(e, 0x90, Guitar)) {
      ++shown;
      ASSERT_EQ(next.Status, EventShowFinger);
      EXPECT_EQ(next.Time, 0);
      const TChordDiagram& d = list[i < 20 ? 0 : 2];
      const int s = next.Data1;
      EXPECT_EQ(d.Notes[s], e.Data1);
      EXPECT_EQ(next.Data2, d.Strings[s].Fret);
      EXPECT_EQ(next.Data3, d.Strings[s].Finger);
    }
    if (isKind(e, 0x80, Guitar) && e.Data1 != 0) {
      ++cleared;
      ASSERT_EQ(next.Status, EventShowFinger);
      EXPECT_EQ(next.Time, 0);
      EXPECT_EQ(next.Data3, 10);
    }
  }
  EXPECT_EQ(shown, 11);
  EXPECT_GE(cleared, 5);
}

TEST_F(PagePlay, AChordIsReleasedWhenTheNextIsStruckWithItsBassNote) {
  options.BassNote = true;
  place(0, cMajor());
  place(3, gMajor());
  const auto tl = timeline(once());
  // At slot 3 (an off-beat): click release, bass release, strings 4..0 released,
  // then the G bass and strings 5..0 struck, all from tick 720.
  auto at = only(tl, [](const MidiEvent& e) { return e.Status != EventShowFinger; });
  auto it = std::find_if(at.begin(), at.end(), [](const Timed& t) { return t.Tick == 720; });
  ASSERT_NE(it, at.end());
  std::vector<MidiEvent> slot3;
  for (; it != at.end() && it->Tick < 960 - 20; ++it) slot3.push_back(it->Event);
  const std::vector<MidiEvent> expected = {
      {20, 0x89, 34, 0, 0},   {0, 0x81, 24, 100, 0},  {0, 0x80, 48, 100, 0},
      {0, 0x80, 52, 100, 0},  {0, 0x80, 55, 100, 0},  {0, 0x80, 60, 100, 0},
      {0, 0x80, 64, 100, 0},  {0, 0x91, 31, 100, 0},  {0, 0x90, 43, 100, 0},
      {16, 0x90, 47, 100, 0}, {16, 0x90, 50, 100, 0}, {16, 0x90, 55, 100, 0},
      {16, 0x90, 59, 100, 0}, {16, 0x90, 67, 100, 0}};
  // Times here are deltas between the kept events, finger events left out.
  ASSERT_EQ(slot3.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(slot3[i].Status, expected[i].Status) << i;
    EXPECT_EQ(slot3[i].Data1, expected[i].Data1) << i;
    EXPECT_EQ(slot3[i].Data2, expected[i].Data2) << i;
  }
  const auto g =
      only(tl, [](const MidiEvent& e) { return isKind(e, 0x90, Guitar) && e.Data1 == 43; });
  ASSERT_EQ(g.size(), 1u);
  EXPECT_EQ(g[0].Tick, 720);
}

TEST_F(PagePlay, RepeatCountTwoOnBarTwoPlaysBarsOneTwoThreeTimesOverAndAgainOnTheNextPlay) {
  repeat(1, 2);
  place(8, gMajor());
  const auto expected = std::vector<int>{0, 1, 0, 1, 0, 1} + range(2, 8);
  EXPECT_EQ(bars(once()), expected);

  // A run stopped in the middle of the repeats, then started again, repeats twice again.
  PagePlayer p;
  p.StartPagePlay(start());
  RecordingSink partial;
  partial.refuse = [](std::size_t n) { return n >= 120; };
  p.FillPlayQueue(partial);
  p.rearmRepeats();
  p.StartPagePlay(start());
  RecordingSink full;
  while (!p.finished()) p.FillPlayQueue(full);
  EXPECT_EQ(bars(full.events), expected);
  // A saved set whose countdown was used up repeats as marked all the same.
  marks().RepeatsLeft[1] = 0;
  EXPECT_EQ(bars(once()), expected);
  // The chord in bar 2 is struck on each of the three passes.
  const auto tl = timeline(once());
  EXPECT_EQ(
      only(tl, [](const MidiEvent& e) { return isKind(e, 0x90, Guitar) && e.Data1 == 43; }).size(),
      3u);
}

TEST_F(PagePlay, AChordBeforeARepeatSignIsReleasedByTheChordItJumpsBackTo) {
  // Bar 1 repeats itself once; slot 6 rings into slot 7 and is released by
  // the strike of slot 0 on the way back, not carried over the jump.
  repeat(0, 1);
  place(0, cMajor());
  place(6, gMajor());
  const auto tl = timeline(once());
  const auto g =
      only(tl, [](const MidiEvent& e) { return e.Data1 == 43 && (e.Status & 0xEF) == 0x80; });
  ASSERT_GE(g.size(), 2u);
  EXPECT_EQ(g[0].Event.Status, 0x90);
  EXPECT_EQ(g[0].Tick, 6 * 240);
  EXPECT_EQ(g[1].Event.Status, 0x80);
  EXPECT_EQ(g[1].Tick, 8 * 240) << "released as the repeat strikes slot 0 again";
  const auto c =
      only(tl, [](const MidiEvent& e) { return isKind(e, 0x90, Guitar) && e.Data1 == 48; });
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[1].Tick, 8 * 240);
}

TEST_F(PagePlay, StartMarkerOnBarThreeStartsThereAndEarlierMarksApplyWhenAJumpReachesThem) {
  state.PlayStartColumn = 4;
  state.PlayStartRow = 1;  // slot 16, bar 3
  place(0, cMajor());
  place(8, aMinor());
  place(16, gMajor());
  EXPECT_EQ(bars(once()), range(2, 8));
  const auto first =
      only(timeline(once()), [](const MidiEvent& e) { return isKind(e, 0x90, Guitar); });
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first[0].Tick, 0);
  EXPECT_EQ(first[0].Event.Data1, 43) << "the chord of bar 3 comes first";

  // A repeat on bar 4 returning to bar 2 goes back before the marker.
  repeat(3, 1);
  marks().ReturnMark[1] = 1;
  EXPECT_EQ(bars(once()), (std::vector<int>{2, 3, 1, 2, 3} + range(4, 8)));
  const auto tl = timeline(once());
  EXPECT_TRUE(
      only(tl, [](const MidiEvent& e) { return isKind(e, 0x90, Guitar) && e.Data1 == 48; }).empty())
      << "bar 1 is never reached";
  EXPECT_EQ(
      only(tl, [](const MidiEvent& e) { return isKind(e, 0x90, Guitar) && e.Data1 == 57; }).size(),
      1u)
      << "bar 2 is played once, by the jump";

  // A marker outside the page starts at bar 1.
  for (const auto& [column, row] : {std::pair{4, 40}, std::pair{4, INT32_MAX}, std::pair{12, 5},
                                    std::pair{-1, 0}, std::pair{0, -1}}) {
    state.PlayStartColumn = column;
    state.PlayStartRow = row;
    EXPECT_EQ(startBar(), 0) << column << ", " << row;
  }
}

TEST_F(PagePlay, LoopPlayGoesBackToBarOneAtTheLoopMarkOnlyWhenOn) {
  place(0, cMajor());
  EXPECT_EQ(bars(once()), range(0, 8));
  options.Loop = true;
  const auto looping = bars(firstEvents(6000));
  ASSERT_GT(looping.size(), 20u);
  for (std::size_t i = 0; i < looping.size(); ++i)
    EXPECT_EQ(looping[i], static_cast<int>(i % 9)) << i;

  // The loop mark moved to bar 3; with Loop Play up it is ignored.
  std::fill(std::begin(marks().LoopMark), std::end(marks().LoopMark), 0);
  marks().LoopMark[2] = 1;
  place(4, gMajor());
  const auto loopingShort = firstEvents(3000);
  const auto short_ = bars(loopingShort);
  for (std::size_t i = 0; i < short_.size(); ++i)
    EXPECT_EQ(short_[i], static_cast<int>(i % 3)) << i;
  // Bar 1 has no loop mark, so the chord in slot 4 rings on into bar 2 for
  // its full eight slots; looking ahead into bar 1 again would cut it at slot 8.
  std::vector<std::int64_t> releases;
  for (const Timed& t :
       only(timeline(loopingShort), [](const MidiEvent& e) { return isKind(e, 0x80, Guitar); }))
    if (releases.empty() || releases.back() != t.Tick) releases.push_back(t.Tick);
  ASSERT_GE(releases.size(), 2u);
  EXPECT_EQ(releases[0], 4 * 240) << "C released by the G in slot 4";
  EXPECT_EQ(releases[1], 12 * 240) << "G released at slot 12";
  options.Loop = false;
  EXPECT_EQ(bars(once()), range(0, 8));
}

TEST_F(PagePlay, CountOffInThreeFourIsThreeClicksTheFirstAccented) {
  state.ThreeFour = true;
  countOff = true;
  options.Click = true;
  const auto tl = timeline(once());
  const auto clicks =
      only(tl, [](const MidiEvent& e) { return (e.Status & 0xEF) == (0x80 | Click); });
  ASSERT_GE(clicks.size(), 7u);
  const std::vector<std::pair<std::int64_t, MidiEvent>> expected = {
      {0, {0, 0x99, 34, 97, 0}},    {240, {240, 0x89, 34, 0, 0}},  {480, {240, 0x99, 34, 65, 0}},
      {720, {240, 0x89, 34, 0, 0}}, {960, {240, 0x99, 34, 65, 0}}, {1200, {240, 0x89, 34, 0, 0}}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(clicks[i].Tick, expected[i].first) << i;
    EXPECT_EQ(clicks[i].Event, expected[i].second) << i;
  }
  // The page's first click, accented, a quarter after the last count-off click.
  EXPECT_EQ(clicks[6].Tick, 1440);
  EXPECT_EQ(clicks[6].Event.Status, 0x99);
  EXPECT_EQ(clicks[6].Event.Data2, 97);
  // 12 bars of 6 slots follow.
  EXPECT_EQ(clicks.size(), 6u + 72u);
  EXPECT_EQ(bars(once()), range(0, 11));
}

TEST_F(PagePlay, ClickUpSendsNoteOffsWithTheSameTiming) {
  place(0, cMajor());
  place(5, gMajor());
  options.BassNote = true;
  options.Click = true;
  const auto down = once();
  options.Click = false;
  const auto up = once();
  ASSERT_EQ(up.size(), down.size());
  int silent = 0;
  for (std::size_t i = 0; i < up.size(); ++i) {
    EXPECT_EQ(up[i].Time, down[i].Time) << i;
    if (down[i].Status == (0x90 | Click)) {
      EXPECT_EQ(up[i].Status, 0x80 | Click) << i;
      EXPECT_EQ(up[i].Data1, down[i].Data1);
      ++silent;
    } else {
      EXPECT_EQ(up[i], down[i]) << i;
    }
  }
  EXPECT_EQ(silent, 36);
}

TEST_F(PagePlay, StrumSpeedSpreadsTheStringsWithinTheSlot) {
  place(0, gMajor());
  place(1, gMajor());
  for (int speed : {0, -800, -300}) {
    options.StrumSpeed = speed;
    const int gap = -speed / 18;
    const auto tl = timeline(once());
    const auto ons = only(tl, [](const MidiEvent& e) { return isKind(e, 0x90, Guitar); });
    ASSERT_EQ(ons.size(), 12u);
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(ons[i].Tick, gap * i) << speed;
      EXPECT_EQ(ons[6 + i].Tick, 240 + gap * i) << speed << ": the next slot keeps its place";
    }
    EXPECT_LE(gap * 5, 220);
  }
}

TEST_F(PagePlay, NotesADamagedRecordCannotPlayAreLeftOut) {
  TChordDiagram d = cMajor();
  d.Notes[0] = 200;
  d.Notes[1] = 128;
  d.Notes[2] = 127;  // the highest note there is still plays
  place(0, d);
  settings.GuitarChannel = 99;
  settings.GuitarVolume = 1000;
  const auto tl = timeline(once());
  const auto ons = only(tl, [](const MidiEvent& e) { return (e.Status & 0xF0) == 0x90; });
  ASSERT_EQ(ons.size(), 3u);
  for (const auto& t : ons) {
    EXPECT_EQ(t.Event.Status, 0x9F) << "the channel kept to 0..15";
    EXPECT_LE(t.Event.Data1, 127);
    EXPECT_EQ(t.Event.Data2, 127);
  }
  EXPECT_EQ(ons.back().Event.Data1, 127);
}

TEST_F(PagePlay, EndlessRepeatsAreRefusedByPlayOnceInsteadOfRunningOutOfMemory) {
  for (int b = 0; b < 9; ++b) {
    repeat(b, 255);
    marks().ReturnMark[b] = 0;
  }
  marks().ReturnMark[0] = 1;
  EXPECT_FALSE(PagePlayer::playOnce(start(), 200'000).has_value());
}

// Whether every note struck has its note off later in the stream, on the same
// channel and key, by the closing event. A note on of velocity 0 is an off.
::testing::AssertionResult everyNoteEnds(const std::vector<MidiEvent>& events) {
  std::map<std::pair<int, int>, int> on;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const MidiEvent& e = events[i];
    const int kind = e.Status & 0xF0;
    const std::pair<int, int> key{e.Status & 0x0F, e.Data1};
    if (kind == 0x90 && e.Data2 > 0) ++on[key];
    if ((kind == 0x80 || (kind == 0x90 && e.Data2 == 0)) && on[key] > 0) --on[key];
  }
  for (const auto& [key, count] : on)
    if (count > 0)
      return ::testing::AssertionFailure()
             << "channel " << key.first << " key " << key.second << " is never released";
  return ::testing::AssertionSuccess();
}

TEST_F(PagePlay, AChordInAnyOfTheLastSlotsIsReleasedAtTheClosingEvent) {
  options.BassNote = true;
  options.Click = true;
  for (const bool threeFour : {false, true}) {
    state.ThreeFour = threeFour;
    for (int slot = PlaySlotCount - 8; slot < PlaySlotCount; ++slot) {
      list = emptyList();
      place(0, gMajor());
      place(slot, cMajor());
      const auto events = once();
      ASSERT_FALSE(events.empty());
      EXPECT_TRUE(everyNoteEnds(events)) << "slot " << slot << (threeFour ? " in 3/4" : "");
      // The last chord rings until the page closes, 1000 ticks after the last
      // slot's events, as long as before; its note offs come with the closing event.
      const auto tl = timeline(events);
      const std::int64_t end = tl.back().Tick;
      std::int64_t before = 0;
      for (const Timed& t : tl)
        if (t.Tick < end) before = std::max(before, t.Tick);
      EXPECT_EQ(end - before, 1000) << "slot " << slot;
      EXPECT_GE(before, 240 * 71) << "slot " << slot;
      EXPECT_EQ(events.back(), (MidiEvent{0, 0x80, 0, 0, 0})) << "slot " << slot;
      const auto offs = only(tl, [](const MidiEvent& e) {
        return (isKind(e, 0x80, Guitar) && e.Data1 != 0) || isKind(e, 0x80, Bass);
      });
      std::vector<int> released;
      for (const Timed& t : offs)
        if (t.Tick == end) released.push_back(t.Event.Data1);
      EXPECT_EQ(released, (std::vector<int>{24, 48, 52, 55, 60, 64})) << "slot " << slot;
      // However often the queue refuses, the same stream comes out.
      EXPECT_EQ(resumed([](std::size_t n) { return n % 3 == 2; }), events) << "slot " << slot;
    }
  }
}

TEST_F(PagePlay, AChordReleasedBeforeTheEndIsNotReleasedAgainThere) {
  options.BassNote = true;
  place(0, cMajor());
  const auto events = once();
  EXPECT_TRUE(everyNoteEnds(events));
  // The release at slot 8 ended everything: the page closes with its one event.
  const auto tl = timeline(events);
  const auto atEnd = only(tl, [](const MidiEvent& e) { return (e.Status & 0xF0) == 0x80; });
  ASSERT_FALSE(atEnd.empty());
  EXPECT_EQ(atEnd.back().Event, (MidiEvent{1000, 0x80, 0, 0, 0}));
  EXPECT_LT(atEnd[atEnd.size() - 2].Tick, atEnd.back().Tick);
}
