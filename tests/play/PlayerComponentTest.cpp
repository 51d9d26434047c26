#include <gtest/gtest.h>

#include <cmath>

#include "FakeMidiDevices.h"
#include "PlayerTestSupport.h"
#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"
#include "midi/VirtualClock.h"
#include "output/SessionTransport.h"
#include "play/PlaybackEngine.h"
#include "state/AppState.h"

// The players over the real MIDI component on a virtual clock, with the
// window's side played by a loop that hands every current message to the
// engine, as the main window does.

namespace {

class Inbox : public MidiMessageTarget {
 public:
  std::vector<MidiMessage> messages;
  void post(const MidiMessage& m) override { messages.push_back(m); }
};

struct Delivered {
  std::int64_t time;
  std::uint32_t code;
  PlayerUpdate update;
};

template <std::size_t Queue>
struct LiveWith : ::testing::Test {
  VirtualClock clock{0};
  MidiLog log{clock, {}, {}};
  FakeMidiDevices devices{log};
  MidiComponent midi{clock, devices, Queue};
  Inbox inbox;
  MidiSession session{midi};
  SessionTransport transport{session};
  PlaybackEngine engine{transport, transport};
  AppState app;
  std::vector<Delivered> delivered;

  void SetUp() override {
    session.open(&inbox, 0, 0);
    log.entries.clear();
  }
  void place(int slot, const TChordDiagram& d) { app.PlayPage[slot % 12][slot / 12] = d; }
  void deliver(PlayTab tab = PlayTab::PlayPage) {
    while (!inbox.messages.empty()) {
      const MidiMessage m = inbox.messages.front();
      inbox.messages.erase(inbox.messages.begin());
      if (!midi.isCurrent(m)) continue;
      delivered.push_back({clock.nowMicros(), m.code, engine.handleMessage(m.code, m.param, tab)});
    }
  }
  // Runs the clock until Play comes up or nothing is due before `until`.
  void run(std::int64_t until = INT64_MAX, PlayTab tab = PlayTab::PlayPage) {
    for (;;) {
      deliver(tab);
      if (!engine.playDown()) return;
      const std::int64_t due = midi.nextDue();
      if (due == MidiScheduler::Never || due > until) return;
      midi.advanceTo(due);
    }
  }
  std::vector<LogEntry> sends() const {
    std::vector<LogEntry> out;
    for (const auto& e : log.entries)
      if (e.what.rfind("send", 0) == 0) out.push_back(e);
    return out;
  }
  static std::vector<LogEntry> expectedSends(const std::vector<MidiEvent>& events,
                                             std::int32_t tempo, std::int64_t start = 0) {
    std::vector<LogEntry> out;
    for (const Timed& t : timeline(events)) {
      const MidiEvent& e = t.Event;
      if (e.Status < 0x80) continue;
      std::string what = "send " + hex(e.Status, 2) + " " + hex(e.Data1, 2);
      if ((e.Status & 0xF0) != 0xC0) what += " " + hex(e.Data2, 2);
      out.push_back({start + static_cast<std::int64_t>(std::ceil(
                                 static_cast<double>(t.Tick) * tempo / TicksPerQuarter - 1e-6)),
                     what});
    }
    return out;
  }
  PagePlayer::Start referenceStart(const PlayList& list) {
    return startOf(list, app.Play, engine.Options, engine.Settings);
  }
  std::vector<MidiEvent> reference() {
    const PlayList list = playListFrom(app.PlayPage);
    return *PagePlayer::playOnce(referenceStart(list), 1'000'000);
  }
  // The first `count` events of the page played with the options as they are
  // now, Loop Play included.
  std::vector<MidiEvent> referenceStream(std::size_t count) {
    const PlayList list = playListFrom(app.PlayPage);
    PagePlayer player;
    player.StartPagePlay(referenceStart(list));
    RecordingSink sink;
    sink.refuse = [&](std::size_t) { return sink.events.size() >= count; };
    while (!player.finished() && sink.events.size() < count) player.FillPlayQueue(sink);
    return sink.events;
  }
};

struct Live : LiveWith<64> {};         // a small queue: many refills
struct FullQueue : LiveWith<1024> {};  // the program's queue: a whole page fits
struct TinyQueue : LiveWith<16> {};

// What the tool bar's Click does: the window copies the button and tells the engine.
template <class F>
void switchClick(F& f, bool on) {
  f.engine.Options.Click = on;
  f.engine.OptionsChanged();
}

}  // namespace

TEST_F(Live, ThePagePlaysEveryChannelEventOnTimeThroughASmallQueueAndTheCursorFollowsTheBeats) {
  engine.Options.Click = true;
  engine.Options.BassNote = true;
  place(0, cMajor());
  place(5, gMajor());
  place(20, aMinor());
  app.Play.savedSet().RepeatCount[1] = 1;
  const std::int32_t tempo = 600000;
  const PlayerUpdate first = engine.StartPagePlay(app.PlayPage, app.Play, tempo);
  ASSERT_TRUE(first.PlayDown);
  run();
  EXPECT_FALSE(engine.playDown());
  EXPECT_EQ(sends(), expectedSends(reference(), tempo));
  int rooms = 0;
  for (const auto& d : delivered) rooms += d.code == MidiMessageCode::Room;
  EXPECT_GT(rooms, 5) << "the queue was refilled on its room messages";
  EXPECT_EQ(engine.underruns(), 0);

  // The red slash: beat 0 at the start, then each beat in turn, repeats included.
  std::vector<int> beats{0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 4, 5, 6, 7};
  for (int b = 8; b < 36; ++b) beats.push_back(b);
  std::vector<PagePoint> cursor{*first.RedSlash};
  for (const auto& d : delivered)
    if (d.update.RedSlash) {
      cursor.push_back(*d.update.RedSlash);
      EXPECT_EQ(d.time % (tempo), 0) << "on the clock's beats";
    }
  ASSERT_GE(cursor.size(), beats.size());
  for (std::size_t i = 0; i < beats.size(); ++i)
    EXPECT_EQ(cursor[i], PlayGeometry::beatSlash(beats[i])) << i;
  const Delivered& end = delivered.back();
  EXPECT_EQ(end.code, MidiMessageCode::AllPlayed);
  EXPECT_TRUE(end.update.ClearFretboard);
  EXPECT_TRUE(end.update.BlackSlash.has_value());
  // Finger marks came back in step with the strums.
  int marks = 0;
  for (const auto& d : delivered) marks += d.update.Finger.has_value();
  EXPECT_GT(marks, 30);
}

TEST_F(Live, StopSilencesAndDropsWhatWasQueuedAndLoopPlayRunsUntilStopped) {
  engine.Options.Loop = true;
  place(0, cMajor());
  engine.StartPagePlay(app.PlayPage, app.Play, 240000);
  run(60'000'000);  // a minute of a page that takes 8.6 s
  ASSERT_TRUE(engine.playDown()) << "still looping";
  const std::size_t sent = sends().size();
  const PlayerUpdate stop = engine.Stop(PlayTab::PlayPage);
  EXPECT_FALSE(stop.PlayDown);
  EXPECT_TRUE(stop.BlackSlash.has_value());
  EXPECT_EQ(log.entries.back().what, "silence");
  midi.advanceTo(clock.nowMicros() + 10'000'000);
  deliver();
  EXPECT_EQ(sends().size(), sent) << "nothing after Stop";
  EXPECT_EQ(midi.nextDue(), MidiScheduler::Never);
}

TEST_F(Live, StepPlayPausesBetweenChordsAndTheNextStrumStartsWhenTheKeyIsPressed) {
  engine.StepMode = true;
  place(3, cMajor());
  place(9, gMajor());
  engine.StartPagePlay(app.PlayPage, app.Play, DefaultPageTempo);
  run();
  ASSERT_TRUE(engine.playDown()) << "Play stays down between steps";
  EXPECT_FALSE(engine.ChordPlaying);
  const std::int64_t pressed = clock.nowMicros() + 1'234'567;
  midi.advanceTo(pressed);
  log.entries.clear();
  engine.StepKey(true, PlayTab::PlayPage);
  run();
  const auto s = sends();
  const auto firstNote = std::find_if(
      s.begin(), s.end(), [](const LogEntry& e) { return e.what.rfind("send 90", 0) == 0; });
  ASSERT_NE(firstNote, s.end());
  EXPECT_EQ(firstNote->time, pressed);
  EXPECT_EQ(firstNote->what, "send 90 2B 64") << "G2 on string 5";
  EXPECT_EQ(engine.CurrentSlot, 9);
  EXPECT_TRUE(engine.playDown());
  engine.Stop(PlayTab::PlayPage);
}

TEST_F(Live, AfterAChordOnAnotherTabThePagesBeatsFallOnTheClocksBeats) {
  engine.PlayChord(gMajor(), PlayTab::Chords);
  run(INT64_MAX, PlayTab::Chords);
  ASSERT_FALSE(engine.playDown());
  delivered.clear();
  const std::int64_t start = clock.nowMicros() + 333'333;
  midi.advanceTo(start);
  place(0, cMajor());
  const std::int32_t tempo = 600000;
  engine.StartPagePlay(app.PlayPage, app.Play, tempo);
  log.entries.clear();
  run(start + 10 * tempo);
  std::vector<std::int64_t> times;
  std::vector<PagePoint> cursor;
  for (const auto& d : delivered)
    if (d.update.RedSlash) {
      times.push_back(d.time - start);
      cursor.push_back(*d.update.RedSlash);
    }
  ASSERT_GE(times.size(), 9u);
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(times[i], static_cast<std::int64_t>(i + 1) * tempo) << i;
    EXPECT_EQ(cursor[i], PlayGeometry::beatSlash(static_cast<int>(i + 1))) << i;
  }
  const auto s = sends();
  ASSERT_FALSE(s.empty());
  EXPECT_EQ(s.front().time, start);
  engine.Stop(PlayTab::PlayPage);
}

TEST_F(FullQueue, ClickSwitchedDuringALoopingPageIsHeardWithinASecondAtSlowAndFastTempi) {
  for (int bar = 0; bar < 9; ++bar) place(bar * 8, bar % 2 ? gMajor() : cMajor());
  for (std::int32_t tempo : {6'000'000, 240'000}) {  // 10 and 250 beats per minute
    SCOPED_TRACE(tempo);
    engine.Stop(PlayTab::PlayPage);
    log.entries.clear();
    delivered.clear();
    engine.Options.Loop = engine.Options.Click = engine.Options.BassNote = true;
    const std::int64_t beat = tempo, start = clock.nowMicros();
    const std::int64_t off = start + 12 * beat + beat / 3, on = start + 31 * beat + beat / 5,
                       end = start + 50 * beat;
    const std::vector<MidiEvent> clicking = referenceStream(4000);
    engine.StartPagePlay(app.PlayPage, app.Play, tempo);
    run(off);
    midi.advanceTo(off);
    switchClick(*this, false);
    run(on);
    midi.advanceTo(on);
    switchClick(*this, true);
    run(end);
    ASSERT_TRUE(engine.playDown()) << "still looping";

    // Everything comes exactly as with Click down all along, except that the
    // beat clicks are silent from a second after Click went up until a
    // second after it came down again.
    const auto got = sends();
    const auto want = expectedSends(clicking, tempo, start);
    ASSERT_LT(got.size(), want.size());
    int silent = 0, heard = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
      ASSERT_EQ(got[i].time, want[i].time) << i;
      const bool beatClick = want[i].what.rfind("send 99 22", 0) == 0;
      if (!beatClick) {
        ASSERT_EQ(got[i].what, want[i].what) << i;
        continue;
      }
      std::string silentClick = want[i].what;
      silentClick.replace(5, 2, "89");
      const std::int64_t t = got[i].time;
      if (t > off + 1'000'000 && t < on)
        EXPECT_EQ(got[i].what, silentClick) << "a click " << t - off << " us after Click went up";
      else if (t < off || t > on + 1'000'000)
        EXPECT_EQ(got[i].what, want[i].what)
            << "no click " << t - on << " us after Click came down";
      else
        EXPECT_TRUE(got[i].what == want[i].what || got[i].what == silentClick) << i;
      silent += got[i].what == silentClick;
      heard += got[i].what == want[i].what && t > on;
    }
    EXPECT_GE(silent, 15);
    EXPECT_GE(heard, 15);
    EXPECT_EQ(engine.underruns(), 0);
  }
}

TEST_F(FullQueue, LoopPlaySwitchedDuringAPageTakesEffectWithinASecond) {
  // A page of 9 bars, a chord on each, at 10 and at 250 beats per minute.
  for (int bar = 0; bar < 9; ++bar) place(bar * 8, bar % 2 ? aMinor() : cMajor());
  const std::int64_t pass = 9 * 4;  // beats
  for (std::int32_t tempo : {6'000'000, 240'000}) {
    SCOPED_TRACE(tempo);
    const std::int64_t beat = tempo;
    // Switched off in the middle of the second pass: that pass is the last.
    engine.Options.Loop = true;
    engine.Options.Click = true;
    std::vector<MidiEvent> looping = referenceStream(4000);
    log.entries.clear();
    std::int64_t start = clock.nowMicros();
    engine.StartPagePlay(app.PlayPage, app.Play, tempo);
    run(start + pass * beat + 5 * beat);
    midi.advanceTo(start + pass * beat + 5 * beat);
    engine.Options.Loop = false;
    engine.OptionsChanged();
    run();
    ASSERT_FALSE(engine.playDown()) << "the page ended";
    auto got = sends();
    auto want = expectedSends(looping, tempo, start);
    ASSERT_FALSE(got.empty());
    const LogEntry closing = got.back();
    got.pop_back();
    // With the closing event the last chord, C major from string 4 up, ends.
    std::vector<std::string> released;
    while (!got.empty() && got.back().time == closing.time) {
      released.insert(released.begin(), got.back().what);
      got.pop_back();
    }
    EXPECT_EQ(released, (std::vector<std::string>{"send 80 30 64", "send 80 34 64", "send 80 37 64",
                                                  "send 80 3C 64", "send 80 40 64"}));
    std::erase_if(want, [&](const LogEntry& e) { return e.time >= start + 2 * pass * beat; });
    EXPECT_EQ(got, want) << "the second pass as looping, then nothing of a third";
    EXPECT_EQ(closing.what, "send 80 00 00");

    // Switched on during the last pass of a page played once, 1.5 s before
    // its last bar ends (at 10 beats per minute inside its last slot): it
    // loops, as if Loop Play had been down from the start.
    engine.Options.Loop = false;
    log.entries.clear();
    start = clock.nowMicros();
    engine.StartPagePlay(app.PlayPage, app.Play, tempo);
    run(start + pass * beat - 1'500'000);
    midi.advanceTo(start + pass * beat - 1'500'000);
    engine.Options.Loop = true;
    engine.OptionsChanged();
    run(start + 2 * pass * beat);
    ASSERT_TRUE(engine.playDown()) << "looping";
    got = sends();
    want = expectedSends(looping, tempo, start);
    want.resize(got.size());
    EXPECT_EQ(got, want);
    engine.Stop(PlayTab::PlayPage);
  }
}

TEST_F(FullQueue, LoopPlaySwitchedOnAfterTheLastBarHasEndedNeverWritesIntoThePast) {
  place(0, cMajor());
  const std::int32_t tempo = 6'000'000;  // the closing event comes 12.5 s after the last slot
  const std::vector<MidiEvent> once = reference();
  const std::int64_t barsEnd = 9LL * 4 * tempo;
  engine.StartPagePlay(app.PlayPage, app.Play, tempo);
  run(barsEnd + 1'000'000);
  midi.advanceTo(barsEnd + 1'000'000);
  engine.Options.Loop = true;
  engine.OptionsChanged();
  run();
  EXPECT_FALSE(engine.playDown());
  EXPECT_EQ(sends(), expectedSends(once, tempo)) << "the page ends as it would have";
}

// The window stalls for 25 s near the end of the page: its room message and
// the all-played message of the queue run dry come together, the room
// message first, and the refill it brings may reach the end of the page.
TEST_F(Live, AnAllPlayedMessageOlderThanTheLastEventsQueuedDoesNotCutThePage) {
  engine.Options.Click = engine.Options.BassNote = true;
  for (int s = 0; s < 72; s += 2) place(s, s % 4 ? gMajor() : cMajor());
  const std::int32_t tempo = DefaultPageTempo;
  const auto expected = expectedSends(reference(), tempo);
  const std::int64_t pageEnd = expected.back().time;
  for (std::int64_t stall = pageEnd - 6'000'000; stall < pageEnd; stall += 250'000) {
    SCOPED_TRACE(stall);
    const std::int64_t start = clock.nowMicros();
    log.entries.clear();
    engine.StartPagePlay(app.PlayPage, app.Play, tempo);
    run(start + stall);
    midi.advanceTo(start + stall);
    const std::size_t beforeStall = sends().size();
    midi.advanceTo(start + stall + 25'000'000);  // nothing is answered
    run();
    ASSERT_FALSE(engine.playDown());
    // Every event sounded: on time before the stall, late by the stall after it.
    const auto s = sends();
    ASSERT_EQ(s.size(), expected.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
      EXPECT_EQ(s[i].what, expected[i].what) << i;
      if (i < beforeStall) {
        EXPECT_EQ(s[i].time, start + expected[i].time) << i;
      }
    }
  }
}

TEST_F(TinyQueue, WithRoomForSixteenEventsEveryEventOfEachPageSoundsOnTime) {
  engine.Options.Click = engine.Options.BassNote = true;
  const TChordDiagram chords[3] = {cMajor(), gMajor(), aMinor()};
  for (int every : {1, 2, 3, 4, 8}) {
    for (std::int32_t tempo : {240'000, 600'000, 1'000'000}) {
      SCOPED_TRACE(std::to_string(every) + " " + std::to_string(tempo));
      app = AppState{};
      for (int s = 0; s < 72; s += every) place(s, chords[s / every % 3]);
      log.entries.clear();
      const std::int64_t start = clock.nowMicros();
      engine.StartPagePlay(app.PlayPage, app.Play, tempo);
      run();
      ASSERT_FALSE(engine.playDown());
      EXPECT_EQ(sends(), expectedSends(reference(), tempo, start));
    }
  }
}
