#include <gtest/gtest.h>

#include "FakeMidiDevices.h"
#include "midi/MidiComponent.h"
#include "midi/MidiOutSink.h"
#include "midi/MidiSession.h"
#include "midi/StandardMidiFile.h"
#include "midi/VirtualClock.h"

namespace {

struct Session : ::testing::Test {
  std::vector<std::string> lines() {
    std::vector<std::string> out;
    for (const auto& e : log.entries) out.push_back(e.what);
    log.entries.clear();
    return out;
  }
  VirtualClock clock{0};
  MidiLog log{clock, {}, {}};
  FakeMidiDevices devices{log};
  LogTarget target{log};
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(Session, OpensClockOutputAndInputAndClosesThemInShutdownOrder) {
  MidiComponent midi(clock, devices);
  MidiSession s(midi);
  s.open(&target, 1, 0);
  EXPECT_NE(s.sync(), 0u);
  EXPECT_NE(s.out(), 0u);
  EXPECT_NE(s.in(), 0u);
  EXPECT_EQ(lines(), (Lines{"open out 1", "open in 0"}));
  s.close();
  EXPECT_EQ(lines(), (Lines{"silence", "close in", "silence", "close out"}));
  EXPECT_EQ(s.sync() | s.out() | s.in(), 0u);
  s.close();
  EXPECT_TRUE(lines().empty()) << "closing twice closes nothing";
}

TEST_F(Session, NoOutputDeviceOpensNothingAndAFailedOpenLeavesZero) {
  devices.outs.clear();
  {
    MidiComponent midi(clock, devices);
    MidiSession s(midi);
    s.open(&target, 0, 0);
    EXPECT_EQ(s.sync() | s.out() | s.in(), 0u);
    EXPECT_TRUE(lines().empty()) << "no input without an output";
  }
  devices.outs = {"Synth"};
  MidiComponent midi(clock, devices);
  MidiSession s(midi);
  s.open(&target, 70, 65535);
  EXPECT_NE(s.sync(), 0u);
  EXPECT_EQ(s.out(), 0u);
  EXPECT_EQ(s.in(), 0u);
  // Setup's reopen leaves a closed input closed, and opens the output that
  // failed at start-up on the device now chosen.
  s.reopenOut(&target, 0);
  s.reopenIn(&target, 0);
  EXPECT_NE(s.out(), 0u);
  EXPECT_EQ(s.in(), 0u);
}

TEST_F(Session, ReopeningMovesOpenPortsToTheNewDevices) {
  MidiComponent midi(clock, devices);
  MidiSession s(midi);
  s.open(&target, 0, 0);
  const auto oldOut = s.out();
  lines();
  s.reopenOut(&target, 1);
  s.reopenIn(&target, 0);
  EXPECT_NE(s.out(), 0u);
  EXPECT_NE(s.out(), oldOut);
  EXPECT_EQ(lines(), (Lines{"silence", "close out", "open out 1", "close in", "open in 0"}));
  s.reopenOut(&target, 9);
  EXPECT_EQ(s.out(), 0u) << "a device that fails to open leaves no output";
}

TEST_F(Session, TheVoicesChosenAtOpenReachEveryOutputOpenedBeforeAnyNote) {
  MidiComponent midi(clock, devices);
  MidiSession s(midi);
  EXPECT_FALSE(s.soundReady()) << "nothing open";
  s.open(&target, 0, 0, {{0, 25}, {1, 33}, {9, 0}});
  EXPECT_TRUE(s.soundReady());
  EXPECT_EQ(lines(),
            (Lines{"open out 0", "preload 0 25", "preload 1 33", "preload 9 0", "open in 0"}));
  s.reopenOut(&target, 1);
  EXPECT_EQ(lines(), (Lines{"silence", "close out", "open out 1", "preload 0 25", "preload 1 33",
                            "preload 9 0"}));
}

TEST_F(Session, ASinkOnTheSessionFollowsTheReopenedOutput) {
  MidiComponent midi(clock, devices);
  MidiSession s(midi);
  MidiOutSink sink(s);
  EXPECT_FALSE(sink.put({0, 0x90, 60, 1, 0})) << "no output yet";
  s.open(&target, 0, 0);
  EXPECT_TRUE(sink.put({0, 0x90, 60, 1, 0}));
  s.reopenOut(&target, 1);
  EXPECT_TRUE(sink.put({0, 0x90, 61, 1, 0}));
  EXPECT_EQ(midi.queued(), 1u) << "the reopen discarded what was queued for the old device";
  s.close();
  EXPECT_FALSE(sink.put({0, 0x90, 62, 1, 0}));
}

TEST(StandardMidiFileTest, WritesFormatZeroWithTempoAndLeavesOutThePrivateCodes) {
  const std::string f = StandardMidiFile::build({{0, 0xC0, 25, 0, 0},
                                                 {10, EventBeatMarker, 1, 0, 0},
                                                 {200, 0x90, 60, 100, 0},
                                                 {0, EventShowFinger, 1, 2, 3},
                                                 {5, 0x80, 200, 0, 0}},
                                                600000);
  const std::string header("MThd\0\0\0\6\0\0\0\1\1\xE0MTrk", 18);
  ASSERT_EQ(f.substr(0, 18), header);
  const std::string track = f.substr(22);
  const std::string expected(
      "\x00\xFF\x51\x03\x09\x27\xC0"  // tempo 600000
      "\x00\xC0\x19"                  // program change
      "\x81\x52\x90\x3C\x64"          // 210 ticks later, note on
      "\x05\x80\x48\x00"              // 5 ticks later, note off, data kept to 7 bits
      "\x00\xFF\x2F\x00",
      23);
  EXPECT_EQ(track, expected);
  EXPECT_EQ(static_cast<unsigned char>(f[21]), expected.size());
}
