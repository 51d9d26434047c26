#include <gtest/gtest.h>

#include <cmath>

#include "FakeMidiDevices.h"
#include "PlayerTestSupport.h"
#include "play/PlaybackEngine.h"
#include "play/midi/MidiComponent.h"
#include "play/midi/MidiSession.h"
#include "play/midi/VirtualClock.h"
#include "play/output/SessionTransport.h"
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

struct Live : ::testing::Test {
  VirtualClock clock{0};
  MidiLog log{clock, {}, {}};
  FakeMidiDevices devices{log};
  MidiComponent midi{clock, devices, 64};  // a small queue: many refills
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
  void deliver() {
    while (!inbox.messages.empty()) {
      const MidiMessage m = inbox.messages.front();
      inbox.messages.erase(inbox.messages.begin());
      if (!midi.isCurrent(m)) continue;
      delivered.push_back(
          {clock.nowMicros(), m.code, engine.handleMessage(m.code, m.param, PlayTab::PlayPage)});
    }
  }
  // Runs the clock until Play comes up or nothing is due before `until`.
  void run(std::int64_t until = INT64_MAX) {
    for (;;) {
      deliver();
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
  std::vector<MidiEvent> reference() {
    PagePlayer::Start start;
    const PlayList list = playListFrom(app.PlayPage);
    start.Slots = &list;
    start.Page = &app.Play;
    start.Settings = engine.Settings;
    start.Options = engine.Options;
    start.CountOff = engine.Options.CountOff;
    return *PagePlayer::playOnce(start, 1'000'000);
  }
};

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

TEST_F(Live, WithCountOffTheCursorAppearsOnTheFirstBeatOfThePage) {
  app.Play.ThreeFour = true;
  engine.Options.CountOff = true;
  place(0, cMajor());
  const std::int32_t tempo = 500000;
  const PlayerUpdate first = engine.StartPagePlay(app.PlayPage, app.Play, tempo);
  EXPECT_FALSE(first.RedSlash.has_value());
  run();
  EXPECT_EQ(sends(), expectedSends(reference(), tempo));
  const auto it = std::find_if(delivered.begin(), delivered.end(),
                               [](const Delivered& d) { return d.update.RedSlash.has_value(); });
  ASSERT_NE(it, delivered.end());
  EXPECT_EQ(it->time, 3 * tempo) << "three count-off clicks first";
  EXPECT_EQ(*it->update.RedSlash, PlayGeometry::beatSlash(0));
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
  for (;;) {
    const std::int64_t due = midi.nextDue();
    if (due == MidiScheduler::Never) break;
    midi.advanceTo(due);
    while (!inbox.messages.empty()) {
      const MidiMessage m = inbox.messages.front();
      inbox.messages.erase(inbox.messages.begin());
      if (midi.isCurrent(m)) engine.handleMessage(m.code, m.param, PlayTab::Chords);
    }
    if (!engine.playDown()) break;
  }
  ASSERT_FALSE(engine.playDown());
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
