#include <gtest/gtest.h>

#include <cstring>

#include "FakeMidiDevices.h"
#include "midi/MidiComponent.h"
#include "midi/MidiOutSink.h"
#include "midi/VirtualClock.h"

namespace {

MidiEvent ev(int time, int status, int d1 = 0, int d2 = 0, int d3 = 0) {
  return {time, static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(d1),
          static_cast<std::uint8_t>(d2), static_cast<std::uint8_t>(d3)};
}

// At 500000 us per quarter one tick is 1041.67 us; 480 ticks are 0.5 s.
std::int64_t at(std::int64_t ticks) {
  return (ticks * 500000 + 479) / 480;
}

struct Component : ::testing::Test {
  explicit Component(std::size_t capacity = 64) : midi(clock, devices, capacity) {
    sync = midi.OpenSync(0, &target, 0, 10);
    out = midi.OpenMidiOut(&target, 0, sync, 78624);
    midi.SetTempo(sync, 500000);
  }
  void put(const MidiEvent& e) { ASSERT_EQ(midi.PutMidiOut(out, e), 0u); }
  std::vector<LogEntry> take() {
    auto e = std::move(log.entries);
    log.entries.clear();
    return e;
  }

  VirtualClock clock{0};
  MidiLog log{clock, {}, {}};
  FakeMidiDevices devices{log};
  LogTarget target{log};
  MidiComponent midi;
  std::uint32_t sync = 0, out = 0;
};

struct SmallQueue : Component {
  SmallQueue() : Component(8) {}
};

}  // namespace

TEST_F(Component, EveryEventAndMessageComesInOrderAtItsTime) {
  ASSERT_NE(sync, 0u);
  ASSERT_NE(out, 0u);
  take();
  put(ev(0, 0xC0, 25));
  put(ev(0, EventBeatMarker, 0));
  put(ev(20, 0x90, 64, 100));
  put(ev(0, EventShowFinger, 5, 3, 2));
  put(ev(460, 0x80, 64, 100));
  put(ev(0, EventBeatMarker, 1));
  put(ev(240, 0x91, 40, 90));
  EXPECT_TRUE(take().empty()) << "nothing plays before the clock starts";
  midi.StartSync(sync);
  midi.advanceTo(1'200'000);
  const std::vector<LogEntry> expected{
      {0, "send C0 19"},
      {0, "post 546F 000000"},
      {at(20), "send 90 40 64"},
      {at(20), "post 546E 050302"},
      {at(480), "send 80 40 64"},
      {at(480), "post 546F 010000"},
      {at(480), "post 5452 000001"},  // the beat after the events of its tick
      {at(720), "send 91 28 5A"},
      {at(720), "post 5457 000007"},  // the queue had taken seven events
      {at(960), "post 5452 000002"},
  };
  EXPECT_EQ(take(), expected);
  EXPECT_EQ(log.count(MidiMessageCode::AllPlayed), 1);
}

TEST_F(Component, PrivateCodesNeverReachTheDeviceAndDataBytesStaySevenBit) {
  put(ev(0, 0, 1, 2));           // not a message at all
  put(ev(0, 3, 1, 2));           // unknown private code
  put(ev(0, 0xF8));              // system real time: not ours to send
  put(ev(-50, 0x90, 200, 255));  // a negative delta is no step back in time
  put(ev(0, 0xC9, 130));
  take();
  midi.StartSync(sync);
  midi.advanceTo(10);
  EXPECT_EQ(take(), (std::vector<LogEntry>{
                        {0, "send 90 48 7F"}, {0, "send C9 02"}, {0, "post 5457 000005"}}));
}

TEST_F(SmallQueue, AFullQueueRefusesAndSaysOnceWhenThereIsRoomAgain) {
  MidiOutSink sink(midi, out);
  int accepted = 0;
  while (sink.put(ev(10, 0x90, 60 + accepted, 100))) ++accepted;
  EXPECT_EQ(accepted, 8);
  EXPECT_EQ(midi.PutMidiOut(out, ev(10, 0x90, 1, 1)), 1u) << "refused again while full";
  take();
  midi.StartSync(sync);
  // Events play one by one; room is announced once the queue is down to half.
  for (int played = 1; played <= 8; ++played) {
    midi.advanceTo(at(10 * played));
    EXPECT_EQ(midi.queued(), static_cast<std::size_t>((played > 4 ? 9 : 8) - played));
    EXPECT_EQ(log.count(MidiMessageCode::Room), played >= 4 ? 1 : 0) << played;
    if (played == 4) {
      // The writer resumes with the refused event, which follows the last one.
      ASSERT_TRUE(sink.put(ev(10, 0x90, 68, 100)));
      EXPECT_EQ(midi.nextDue(), at(50));
    }
  }
  midi.advanceTo(at(90));
  EXPECT_EQ(log.count(MidiMessageCode::Room), 1) << "no refusal, no further room message";
  EXPECT_EQ(log.count(MidiMessageCode::AllPlayed), 1);
  auto entries = take();
  std::vector<std::int64_t> noteTimes;
  for (const auto& e : entries)
    if (e.what.rfind("send 90", 0) == 0) noteTimes.push_back(e.time);
  ASSERT_EQ(noteTimes.size(), 9u);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(noteTimes[i], at(10 * (i + 1))) << i;
}

TEST_F(SmallQueue, StopAndFlushCancelARefusalAndSilenceTheDevice) {
  while (midi.PutMidiOut(out, ev(10, 0x90, 60, 100)) == 0) {
  }
  midi.StartSync(sync);
  midi.advanceTo(at(10));
  take();
  midi.StopSync(sync);
  EXPECT_EQ(midi.queued(), 0u);
  midi.advanceTo(5'000'000);
  EXPECT_EQ(take(), (std::vector<LogEntry>{{at(10), "silence"}}))
      << "a stopped clock posts nothing: no room, no beat, no end";

  // After a stop the clock starts again from tick 0.
  put(ev(480, 0x90, 61, 1));
  midi.StartSync(sync);
  midi.advanceTo(5'000'000 + at(480));
  EXPECT_EQ(take(), (std::vector<LogEntry>{{5'000'000 + at(480), "send 90 3D 01"},
                                           {5'000'000 + at(480), "post 5457 000009"},
                                           {5'000'000 + at(480), "post 5452 000001"}}));

  while (midi.PutMidiOut(out, ev(10, 0x90, 62, 100)) == 0) {
  }
  midi.FlushMidiOut(out);
  EXPECT_EQ(midi.queued(), 0u);
  midi.advanceTo(9'000'000);
  for (const auto& e : take())
    EXPECT_TRUE(e.what == "silence" || e.what.rfind("post 5452", 0) == 0) << e.what;
  EXPECT_EQ(log.count(MidiMessageCode::Room), 0);
}

TEST_F(Component, MessagesPostedBeforeAStopOrFlushAreNoLongerCurrent) {
  put(ev(0, EventBeatMarker, 3));
  put(ev(480, 0x90, 60, 1));
  midi.StartSync(sync);
  midi.advanceTo(0);
  ASSERT_EQ(log.messages.size(), 1u);
  const MidiMessage before = log.messages.back();
  EXPECT_TRUE(midi.isCurrent(before));
  midi.FlushMidiOut(out);
  EXPECT_FALSE(midi.isCurrent(before));
  put(ev(0, EventBeatMarker, 4));
  midi.advanceTo(10);
  EXPECT_TRUE(midi.isCurrent(log.messages.back()));
  midi.StopSync(sync);
  EXPECT_FALSE(midi.isCurrent(log.messages.back()));
}

TEST_F(Component, PauseHoldsTheClockAndRestartGoesOnWhereItStopped) {
  put(ev(0, 0x90, 60, 1));
  put(ev(480, 0x90, 61, 1));
  put(ev(480, 0x90, 62, 1));
  midi.StartSync(sync);
  midi.advanceTo(600'000);  // tick 576
  midi.PauseSync(sync, 0);
  take();
  midi.advanceTo(5'000'000);
  EXPECT_TRUE(take().empty()) << "no events and no beats while paused";
  midi.ReStartSync(sync);
  midi.advanceTo(6'000'000);
  const std::int64_t resume = 5'000'000 + at(960 - 576);
  EXPECT_EQ(take(), (std::vector<LogEntry>{{resume, "send 90 3E 01"},
                                           {resume, "post 5457 000003"},
                                           {resume, "post 5452 000002"},
                                           {resume + 500'000, "post 5452 000003"}}));
}

TEST_F(Component, EventsTakenBackAreTheNewestDueLaterAndThoseWrittenAgainKeepTheirTime) {
  for (int i = 0; i < 4; ++i) put(ev(i == 0 ? 0 : 480, 0x90, 60 + i, 1));
  midi.StartSync(sync);
  midi.advanceTo(at(528));
  take();
  // Due 384 ticks from now or later: the events of ticks 960 and 1440.
  TakenBack back = midi.TakeBackMidiOut(out, at(384), 10);
  EXPECT_EQ(back.Count, 2u);
  EXPECT_EQ(back.SpareTicks, 960 - 912);
  EXPECT_EQ(midi.TakeBackMidiOut(out, at(384), 10).Count, 0u);
  put(ev(480, 0x90, 70, 1));
  // All that is left, at most one: the event just written. The queue is then
  // empty, and what follows still counts from it, not from now.
  midi.advanceTo(at(700));
  back = midi.TakeBackMidiOut(out, 0, 1);
  EXPECT_EQ(back.Count, 1u);
  EXPECT_EQ(midi.queued(), 0u);
  put(ev(480, 0x90, 71, 1));
  put(ev(480, 0x90, 72, 1));
  midi.advanceTo(at(1500));
  EXPECT_EQ(take(), (std::vector<LogEntry>{{at(960), "send 90 47 01"},
                                           {at(960), "post 5452 000002"},
                                           {at(1440), "send 90 48 01"},
                                           {at(1440), "post 5457 000007"},
                                           {at(1440), "post 5452 000003"}}));
  EXPECT_EQ(midi.TakeBackMidiOut(0, 0, 10).Count, 0u) << "no such output";
}

TEST_F(Component, AllPlayedComesOncePerRunAndAtOnceForAnEmptyQueue) {
  for (int i = 0; i < 20; ++i) put(ev(i % 3 * 7, i % 2 ? 0x80 : 0x90, 60, 50));
  midi.StartSync(sync);
  for (std::int64_t t = 0; t < 3'000'000; t += 7'000) midi.advanceTo(t);
  EXPECT_EQ(log.count(MidiMessageCode::AllPlayed), 1);

  // Step play's way: pause and flush on the end, queue the next chord, start.
  midi.PauseSync(sync, 0);
  midi.FlushMidiOut(out);
  put(ev(0, 0x90, 64, 1));
  put(ev(480, 0x80, 64, 0));
  const std::int64_t now = clock.nowMicros();
  midi.StartSync(sync);
  midi.advanceTo(now + 2'000'000);
  EXPECT_EQ(log.count(MidiMessageCode::AllPlayed), 2);

  midi.StopSync(sync);
  midi.StartSync(sync);
  EXPECT_EQ(log.count(MidiMessageCode::AllPlayed), 3) << "nothing queued: the end comes at once";
}

TEST_F(Component, AnEventAfterAnIdleRunningClockCountsFromNow) {
  put(ev(0, 0x90, 60, 1));
  midi.StartSync(sync);
  midi.advanceTo(3'000'000);
  take();
  put(ev(480, 0x90, 61, 1));
  EXPECT_EQ(midi.nextDue(), 3'000'000 + at(480)) << "480 ticks from tick 2880 at 3 s";
}

TEST_F(Component, ATempoChangeTakesEffectFromWhereTheClockIs) {
  put(ev(960, 0x90, 60, 1));  // tick 960
  midi.StartSync(sync);
  midi.advanceTo(250'000);         // tick 240
  midi.SetTempo(sync, 1'000'000);  // half as fast
  midi.advanceTo(5'000'000);
  ASSERT_FALSE(log.entries.empty());
  const auto it = std::find_if(log.entries.begin(), log.entries.end(),
                               [](const LogEntry& e) { return e.what == "send 90 3C 01"; });
  ASSERT_NE(it, log.entries.end());
  EXPECT_EQ(it->time, 250'000 + 720 * 1'000'000 / 480);
}

// Times come from the tick count, not from adding up rounded deltas, so a
// long run at a tempo whose ticks are not whole microseconds ends on time.
TEST_F(Component, LongRunsDoNotDrift) {
  MidiOutSink sink(midi, out);
  midi.SetTempo(sync, 700001);  // 1458.335... us per tick
  constexpr int Events = 20000;
  int put = 0;
  while (put < 64 && sink.put(ev(7, 0x90, 60, 1))) ++put;
  midi.StartSync(sync);
  std::int64_t lastSend = 0;
  int sent = 0;
  while (sent < Events) {
    midi.advanceTo(midi.nextDue());
    for (const auto& e : log.entries)
      if (e.what.rfind("send", 0) == 0) {
        ++sent;
        lastSend = e.time;
      }
    log.entries.clear();
    while (put < Events && sink.put(ev(7, 0x90, 60, 1))) ++put;
  }
  const double ideal = 7.0 * Events * 700001 / 480;
  EXPECT_LE(std::abs(static_cast<double>(lastSend) - ideal), 1.0);
}

TEST_F(Component, ADamagedTempoIsKeptWithinBounds) {
  put(ev(480, 0x90, 60, 1));
  midi.SetTempo(sync, 0);
  midi.StartSync(sync);
  EXPECT_EQ(midi.nextDue(), MidiScheduler::MinTempo) << "3000 beats per minute at most";
  midi.StopSync(sync);
  put(ev(480, 0x90, 60, 1));
  midi.SetTempo(sync, -7);
  midi.StartSync(sync);
  EXPECT_EQ(midi.nextDue(), clock.nowMicros() + MidiScheduler::MinTempo);
  midi.StopSync(sync);
  put(ev(480, 0x90, 60, 1));
  midi.SetTempo(sync, 2147483647);
  midi.StartSync(sync);
  EXPECT_EQ(midi.nextDue(), clock.nowMicros() + MidiScheduler::MaxTempo);
}

TEST_F(Component, DevicesHandlesAndDescriptions) {
  EXPECT_EQ(midi.GetMaxMidiVersion(), 0x0100);
  EXPECT_EQ(midi.GetNumOutDevices(), 2);
  EXPECT_EQ(midi.GetNumInDevices(), 1);
  char text[MidiComponent::DescriptionSize];
  std::memset(text, 'x', sizeof text);
  EXPECT_NE(midi.GetMidiOutDescription(1, text), 0);
  EXPECT_EQ(std::strlen(text), 31u);
  EXPECT_EQ(std::string(text), std::string(devices.outs[1], 0, 31));
  EXPECT_NE(midi.GetMidiInDescription(0, text), 0);
  EXPECT_STREQ(text, "Keyboard");
  devices.outs.push_back(std::string(30, 'a') + "\xC3\xA9t\xC3\xA9");  // "...été"
  EXPECT_EQ(midi.GetNumOutDevices(), 3);
  EXPECT_NE(midi.GetMidiOutDescription(2, text), 0);
  EXPECT_EQ(std::string(text), std::string(30, 'a')) << "the cut falls between characters";
  EXPECT_EQ(midi.GetMidiOutDescription(3, text), 0);
  EXPECT_EQ(midi.GetMidiOutDescription(-1, text), 0);
  EXPECT_EQ(midi.GetMidiInDescription(1, text), 0);

  EXPECT_EQ(midi.OpenMidiOut(&target, 7, sync, 78624), 0u) << "no such device";
  EXPECT_EQ(midi.OpenMidiOut(&target, 0, 0, 78624), 0u) << "no clock";
  const std::uint32_t in = midi.OpenMidiIn(&target, 0, 0, 78624);
  EXPECT_NE(in, 0u);
  EXPECT_EQ(midi.OpenMidiIn(&target, 65535, 0, 78624), 0u);
  midi.CloseMidiIn(in);

  // Reopening the output (MIDI setup) retires the old handle.
  const std::uint32_t again = midi.OpenMidiOut(&target, 1, sync, 78624);
  ASSERT_NE(again, 0u);
  EXPECT_NE(again, out);
  EXPECT_NE(midi.PutMidiOut(out, ev(0, 0x90, 1, 1)), 0u);
  EXPECT_EQ(midi.PutMidiOut(again, ev(0, 0x90, 1, 1)), 0u);
  midi.CloseSync(sync);
  midi.CloseMidiOut(again);
  EXPECT_NE(midi.PutMidiOut(again, ev(0, 0x90, 1, 1)), 0u);
  midi.StartSync(sync);  // closed handles are ignored, not crashed on
  midi.FlushMidiOut(again);
}
