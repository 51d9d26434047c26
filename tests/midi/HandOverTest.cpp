#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiComponent.h"
#include "midi/VirtualClock.h"

// The MIDI component with an output that places what it is sent on a clock of
// its own, on a virtual clock: what is heard, and when, through starts,
// pauses, stops, flushes, tempo changes and take-backs.
namespace {

struct Heard {
  std::int64_t time;
  std::string what;
  bool operator==(const Heard&) const = default;
};

void PrintTo(const Heard& h, std::ostream* os) {
  *os << h.time << ": " << h.what;
}

std::string bytes(const std::uint8_t* b, std::size_t n) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    if (i) s += ' ';
    s += digits[b[i] >> 4];
    s += digits[b[i] & 15];
  }
  return s;
}

// A synthesiser in miniature: what it is sent waits until its time on the
// synthesiser's clock (here the same as the program's), or plays at once when
// it comes late or before any anchor. What has played is what was heard.
class ModelSynth : public MidiOutputDevice {
 public:
  ModelSynth(const Clock& clock, std::int64_t lead) : clock_(clock), lead_(lead) {}
  std::int64_t leadMicros() const override { return lead_; }
  void anchor(std::int64_t now) override {
    play();
    anchors.push_back(now);
  }
  void send(const std::uint8_t* b, std::size_t n, std::int64_t due) override {
    play();
    const std::int64_t now = clock_.nowMicros();
    earliness.push_back(due - now);
    held_.push_back({anchors.empty() ? now : std::max(due, now), bytes(b, n)});
    play();
  }
  void withdraw() override {
    play();
    held_.clear();
    ++withdrawals;
  }
  void silence() override {
    play();
    held_.clear();
    heard.push_back({clock_.nowMicros(), "silence"});
  }
  // Plays what is due by now, in time order (and in the order sent).
  void play() {
    const std::int64_t now = clock_.nowMicros();
    std::stable_sort(held_.begin(), held_.end(),
                     [](const Heard& a, const Heard& b) { return a.time < b.time; });
    auto due =
        std::find_if(held_.begin(), held_.end(), [&](const Heard& h) { return h.time > now; });
    heard.insert(heard.end(), held_.begin(), due);
    held_.erase(held_.begin(), due);
  }
  std::size_t held() const { return held_.size(); }

  std::vector<Heard> heard;
  std::vector<std::int64_t> anchors;
  std::vector<std::int64_t> earliness;  // due time minus the time it was sent
  int withdrawals = 0;

 private:
  const Clock& clock_;
  std::int64_t lead_;
  std::vector<Heard> held_;
};

class ModelDevices : public MidiDeviceProvider {
 public:
  ModelDevices(const Clock& clock, std::int64_t lead) : clock_(clock), lead_(lead) {}
  std::vector<std::string> outputNames() override { return {"model synth"}; }
  std::vector<std::string> inputNames() override { return {}; }
  std::unique_ptr<MidiOutputDevice> openOutput(int i) override {
    if (i != 0) return nullptr;
    auto d = std::make_unique<ModelSynth>(clock_, lead_);
    opened = d.get();
    return d;
  }
  std::unique_ptr<MidiInputDevice> openInput(int) override { return nullptr; }
  ModelSynth* opened = nullptr;

 private:
  const Clock& clock_;
  std::int64_t lead_;
};

struct Posts : MidiMessageTarget {
  const Clock& clock;
  std::vector<Heard> seen;
  explicit Posts(const Clock& c) : clock(c) {}
  void post(const MidiMessage& m) override {
    if (m.code == MidiMessageCode::Beat || m.code == MidiMessageCode::ShowFinger)
      seen.push_back({clock.nowMicros(), std::to_string(m.code) + " " + std::to_string(m.param)});
  }
};

MidiEvent ev(int time, int status, int d1 = 0, int d2 = 0) {
  return {time, static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(d1),
          static_cast<std::uint8_t>(d2), 0};
}

constexpr std::int64_t Lead = 40'000;
constexpr std::int64_t Start = 1'000'000;

// At 480000 us per quarter one tick is exactly 1000 us.
struct HandOver : ::testing::Test {
  explicit HandOver(std::int64_t lead = Lead) : devices(clock, lead), midi(clock, devices, 64) {
    sync = midi.OpenSync(0, &posts, 0, 10);
    out = midi.OpenMidiOut(&posts, 0, sync, 78624);
    synth = devices.opened;
    midi.SetTempo(sync, 480'000);
  }
  void put(const MidiEvent& e) { ASSERT_EQ(midi.PutMidiOut(out, e), 0u); }
  // Notes on key 60, 61, ... one every `gap` ticks, each lasting half of it.
  void notes(int count, int gap) {
    for (int i = 0; i < count; ++i) {
      put(ev(i == 0 ? 0 : gap / 2, 0x90, 60 + i, 100));
      put(ev(gap / 2, 0x80, 60 + i, 0));
    }
  }
  int ends() const {
    int n = 0;
    for (const auto& h : synth->heard) n += h.what.rfind("80", 0) == 0;
    return n;
  }
  void startAt(std::int64_t t) {
    midi.advanceTo(t);
    midi.StartSync(sync);
  }
  void runTo(std::int64_t t) {
    midi.advanceTo(t);
    synth->play();
  }
  // What a player writes after the take-back below: the end of the fourth
  // note again (from tick 300, where the first event given back counted
  // from), then a new note at 430 instead of the last two.
  void rewrite() {
    put(ev(50, 0x80, 63, 0));
    put(ev(80, 0x90, 80, 100));
    put(ev(50, 0x80, 80, 0));
  }
  std::vector<Heard> heardNotes() const {
    std::vector<Heard> h;
    for (const auto& e : synth->heard)
      if (e.what.rfind("90", 0) == 0 || e.what == "silence") h.push_back(e);
    return h;
  }

  VirtualClock clock{0};
  ModelDevices devices;
  Posts posts{clock};
  MidiComponent midi;
  ModelSynth* synth = nullptr;
  std::uint32_t sync = 0, out = 0;
};

struct LongLead : HandOver {
  LongLead() : HandOver(300'000) {}
};

std::string on(int key) {
  return bytes(std::vector<std::uint8_t>{0x90, static_cast<std::uint8_t>(key), 100}.data(), 3);
}

}  // namespace

TEST_F(HandOver, EventsGoOutALeadAheadStampedWithTheirTimeAndTheWindowHearsWhenDue) {
  put(ev(0, 0xC0, 25));
  put(ev(0, EventShowFinger, 1, 2));
  notes(3, 480);
  startAt(Start);
  ASSERT_EQ(synth->anchors, (std::vector<std::int64_t>{Start})) << "anchored once, at the start";
  runTo(Start + 3'000'000);
  // The clock sets off a lead after the start, so the first events are
  // ahead of time as well; each sounds exactly when due.
  const std::int64_t t0 = Start + Lead;
  EXPECT_EQ(synth->heard, (std::vector<Heard>{{t0, "C0 19"},
                                              {t0, on(60)},
                                              {t0 + 240'000, "80 3C 00"},
                                              {t0 + 480'000, on(61)},
                                              {t0 + 720'000, "80 3D 00"},
                                              {t0 + 960'000, on(62)},
                                              {t0 + 1'200'000, "80 3E 00"}}));
  for (const std::int64_t early : synth->earliness) EXPECT_EQ(early, Lead);
  // Messages to the window come at the due time, not when handed over.
  ASSERT_GE(posts.seen.size(), 2u);
  EXPECT_EQ(posts.seen[0], (Heard{t0, std::to_string(MidiMessageCode::ShowFinger) + " 66048"}));
  EXPECT_EQ(posts.seen[1], (Heard{t0 + 480'000, std::to_string(MidiMessageCode::Beat) + " 1"}));
  EXPECT_EQ(synth->withdrawals, 0);
}

TEST_F(HandOver, StopAndFlushSilenceAtOnceAndDropWhatIsHeld) {
  notes(4, 20);
  startAt(Start);
  runTo(Start + Lead + 25'000);  // notes at 0, 20, 40 and 60 ms; the last two held
  ASSERT_GT(synth->held(), 0u) << "the test needs events held ahead";
  midi.StopSync(sync);
  runTo(Start + 2'000'000);
  const std::int64_t t0 = Start + Lead;
  EXPECT_EQ(heardNotes(),
            (std::vector<Heard>{{t0, on(60)}, {t0 + 20'000, on(61)}, {t0 + 25'000, "silence"}}));

  // A flush keeps the clock going; what is put next is heard, nothing before.
  synth->heard.clear();
  notes(4, 20);
  startAt(Start + 3'000'000);
  runTo(Start + 3'000'000 + Lead + 5'000);
  midi.FlushMidiOut(out);
  const std::int64_t now = clock.nowMicros();
  put(ev(10, 0x90, 70, 100));  // due 10 ms from now: less than a lead, still exact
  runTo(Start + 5'000'000);
  EXPECT_EQ(heardNotes(),
            (std::vector<Heard>{{now - 5'000, on(60)}, {now, "silence"}, {now + 10'000, on(70)}}));
}

TEST_F(HandOver, PauseWithdrawsWhatIsHeldAndRestartPlaysItOnce) {
  notes(3, 480);
  startAt(Start);
  const std::int64_t t0 = Start + Lead;
  runTo(t0 + 470'000);  // the second note is held
  ASSERT_EQ(synth->held(), 1u);
  EXPECT_EQ(synth->withdrawals, 0);
  midi.PauseSync(sync, 0);
  EXPECT_EQ(synth->withdrawals, 1);
  runTo(t0 + 5'000'000);
  EXPECT_EQ(heardNotes().size(), 1u) << "nothing sounds while paused";
  const std::int64_t resume = clock.nowMicros();
  midi.ReStartSync(sync);
  runTo(resume + 3'000'000);
  EXPECT_EQ(synth->anchors, (std::vector<std::int64_t>{Start, resume}));
  EXPECT_EQ(heardNotes(), (std::vector<Heard>{{t0, on(60)},
                                              {resume + Lead + 10'000, on(61)},
                                              {resume + Lead + 490'000, on(62)}}));
}

TEST_F(HandOver, ATempoChangeRestampsWhatIsHeld) {
  notes(3, 480);
  startAt(Start);
  const std::int64_t t0 = Start + Lead;
  runTo(t0 + 460'000);
  ASSERT_EQ(synth->held(), 1u);
  midi.SetTempo(sync, 240'000);  // twice as fast from here: 20 ticks left take 10 ms
  runTo(t0 + 2'000'000);
  EXPECT_EQ(synth->withdrawals, 1);
  EXPECT_EQ(
      heardNotes(),
      (std::vector<Heard>{{t0, on(60)}, {t0 + 470'000, on(61)}, {t0 + 470'000 + 240'000, on(62)}}));
  midi.SetTempo(sync, 240'000);
  EXPECT_EQ(synth->withdrawals, 1) << "the same tempo withdraws nothing";
}

// A take-back as the page player makes it when Click or Loop is switched:
// what is due 250 ms or more from now is given back and written again.
TEST_F(HandOver, ATakeBackShortOfWhatIsHeldLeavesItToPlay) {
  notes(6, 100);
  startAt(Start);
  const std::int64_t t0 = Start + Lead;
  runTo(t0 + 80'000);
  ASSERT_EQ(synth->held(), 1u);  // the second note
  // From tick 330: the end of the fourth note and the last two notes.
  const TakenBack back = midi.TakeBackMidiOut(out, 250'000, 64);
  ASSERT_EQ(back.Count, 5u);
  EXPECT_EQ(back.SpareTicks, 20);
  EXPECT_EQ(synth->withdrawals, 0);
  rewrite();
  runTo(t0 + 2'000'000);
  EXPECT_EQ(heardNotes(), (std::vector<Heard>{{t0, on(60)},
                                              {t0 + 100'000, on(61)},
                                              {t0 + 200'000, on(62)},
                                              {t0 + 300'000, on(63)},
                                              {t0 + 430'000, on(80)}}));
  EXPECT_EQ(ends(), 5);
}

TEST_F(LongLead, ATakeBackReachingWhatIsHeldWithdrawsItAndHandsTheRestOverAgain) {
  notes(6, 100);
  startAt(Start);
  const std::int64_t t0 = Start + 300'000;
  runTo(t0 + 80'000);
  ASSERT_EQ(synth->held(), 6u);  // up to the end of the fourth note, at tick 350
  const TakenBack back = midi.TakeBackMidiOut(out, 250'000, 64);
  ASSERT_EQ(back.Count, 5u);
  EXPECT_EQ(synth->withdrawals, 1);
  rewrite();
  runTo(t0 + 2'000'000);
  // Every note once, at its time; none of those taken back.
  EXPECT_EQ(heardNotes(), (std::vector<Heard>{{t0, on(60)},
                                              {t0 + 100'000, on(61)},
                                              {t0 + 200'000, on(62)},
                                              {t0 + 300'000, on(63)},
                                              {t0 + 430'000, on(80)}}));
  EXPECT_EQ(ends(), 5);
}
