#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "music/Records.h"
#include "music/Tuning.h"
#include "play/MidiEvent.h"
#include "play/MidiSink.h"
#include "play/MidiTransport.h"
#include "play/PagePlayer.h"

// The channels of the default player settings.
constexpr int Guitar = 0, Bass = 1, Click = 9;

// Events compare field by field in the tests; MidiEvent itself has no ==.
inline bool operator==(const MidiEvent& a, const MidiEvent& b) {
  return a.Time == b.Time && a.Status == b.Status && a.Data1 == b.Data1 && a.Data2 == b.Data2 &&
         a.Data3 == b.Data3;
}
inline void PrintTo(const MidiEvent& e, std::ostream* os) {
  *os << "{" << e.Time << ", 0x" << std::hex << int(e.Status) << std::dec << ", " << int(e.Data1)
      << ", " << int(e.Data2) << ", " << int(e.Data3) << "}";
}

// Keeps what it accepts; `refuse` decides, by the number of the put attempt
// (0, 1, ...), which attempts are refused.
class RecordingSink : public MidiSink {
 public:
  std::function<bool(std::size_t attempt)> refuse = [](std::size_t) { return false; };
  std::vector<MidiEvent> events;
  std::size_t attempts = 0;
  bool put(const MidiEvent& e) override {
    if (refuse(attempts++)) return false;
    events.push_back(e);
    return true;
  }
};

// A queue of fixed room: refuses once it holds `room` events until drained.
class BoundedSink : public MidiSink {
 public:
  explicit BoundedSink(std::size_t room) : room_(room) {}
  std::vector<MidiEvent> events;
  std::size_t drained = 0;
  bool put(const MidiEvent& e) override {
    if (events.size() - drained >= room_) return false;
    events.push_back(e);
    return true;
  }
  void drainAll() { drained = events.size(); }

 private:
  std::size_t room_;
};

class FakeTransport : public MidiTransport {
 public:
  bool output = true;
  std::vector<std::string> calls;
  std::int32_t tempo = 0;
  bool hasOutput() const override { return output; }
  void SetTempo(std::int32_t t) override {
    tempo = t;
    calls.push_back("tempo " + std::to_string(t));
  }
  void StartSync() override { calls.push_back("start"); }
  void PauseSync() override { calls.push_back("pause"); }
  void ReStartSync() override { calls.push_back("restart"); }
  void StopSync() override { calls.push_back("stop"); }
  void FlushMidiOut() override { calls.push_back("flush"); }
  std::vector<std::string> take() {
    auto c = std::move(calls);
    calls.clear();
    return c;
  }
};

// An event with its absolute tick.
struct Timed {
  std::int64_t Tick;
  MidiEvent Event;
};

inline std::vector<Timed> timeline(const std::vector<MidiEvent>& events) {
  std::vector<Timed> out;
  std::int64_t tick = 0;
  for (const MidiEvent& e : events) {
    tick += e.Time;
    out.push_back({tick, e});
  }
  return out;
}

inline std::vector<Timed> only(const std::vector<Timed>& t,
                               const std::function<bool(const MidiEvent&)>& keep) {
  std::vector<Timed> out;
  std::copy_if(t.begin(), t.end(), std::back_inserter(out),
               [&](const Timed& x) { return keep(x.Event); });
  return out;
}

inline bool isKind(const MidiEvent& e, std::uint8_t kind, int channel) {
  return e.Status == (kind | channel);
}

// A chord diagram in standard tuning from six frets, string 0 first; -1 mutes
// a string.
inline TChordDiagram chordFromFrets(std::array<int, 6> frets, int root, int bassPitchClass) {
  TChordDiagram d{};
  d.Empty = 0;
  d.ChordName = "test";
  d.TuningName = "Standard";
  std::copy(StandardTuning.begin(), StandardTuning.end(), d.Tuning);
  for (int s = 0; s < 6; ++s) {
    if (frets[s] < 0) {
      d.Strings[s] = {0, FingerCode::Muted};
      d.Notes[s] = 0;
    } else {
      d.Strings[s] = {
          static_cast<std::uint8_t>(frets[s]),
          static_cast<std::uint8_t>(frets[s] == 0 ? FingerCode::Open : std::min(frets[s], 4))};
      d.Notes[s] = static_cast<std::uint8_t>(StandardTuning[s] + frets[s]);
    }
  }
  d.Intervals[0] = 0;
  std::fill(d.Intervals + 1, d.Intervals + 7, ChordIntervalEnd);
  d.BaseFret = 1;
  d.Root = static_cast<std::uint8_t>(root);
  d.Bass = static_cast<std::uint8_t>(24 + bassPitchClass);
  return d;
}

inline TChordDiagram cMajor() {
  return chordFromFrets({0, 1, 0, 2, 3, -1}, 0, 0);
}
inline TChordDiagram gMajor() {
  return chordFromFrets({3, 0, 0, 0, 2, 3}, 7, 7);
}
inline TChordDiagram aMinor() {
  return chordFromFrets({0, 1, 2, 2, 0, -1}, 9, 9);
}

// A scale in standard tuning: its degrees, root and the start fret of each position.
inline TScaleDiagram scaleOf(std::vector<int> intervals, int root, std::array<int, 6> startFrets) {
  TScaleDiagram d{};
  d.Empty = 0;
  d.ScaleName = "test";
  d.TuningName = "Standard";
  std::copy(StandardTuning.begin(), StandardTuning.end(), d.Tuning);
  std::fill(std::begin(d.Intervals), std::end(d.Intervals), ScaleIntervalEnd);
  for (std::size_t i = 0; i < intervals.size() && i < 10; ++i)
    d.Intervals[i] = static_cast<std::uint8_t>(intervals[i]);
  for (int p = 0; p < 6; ++p) d.StartFrets[p] = static_cast<std::uint8_t>(startFrets[p]);
  d.Root = static_cast<std::uint8_t>(root);
  return d;
}

// A page player's start as the engine makes it: the count-off as the button says.
inline PagePlayer::Start startOf(const PlayList& slots, const PlayPageState& page,
                                 const PlayOptions& options = {},
                                 const PlayerSettings& settings = {}) {
  PagePlayer::Start s;
  s.Slots = &slots;
  s.Page = &page;
  s.Settings = settings;
  s.Options = options;
  s.CountOff = options.CountOff;
  return s;
}

inline PlayList emptyList() {
  PlayList list{};
  for (auto& d : list) d.Empty = 1;
  return list;
}

// `sounding` is `fretted` with a capo `capo` frets up: the same events at the
// same times, every guitar and bass note that many semitones higher and
// everything else (the click, program changes, marks, the end) as it was.
inline ::testing::AssertionResult soundsCapoHigher(const std::vector<MidiEvent>& fretted,
                                                   const std::vector<MidiEvent>& sounding,
                                                   int capo) {
  if (fretted.size() != sounding.size())
    return ::testing::AssertionFailure() << fretted.size() << " events against " << sounding.size();
  int moved = 0;
  for (std::size_t i = 0; i < fretted.size(); ++i) {
    MidiEvent expected = fretted[i];
    const int kind = expected.Status & 0xF0, channel = expected.Status & 0x0F;
    // Note 0 is no note: the page player's end of the stream.
    if ((kind == 0x90 || kind == 0x80) && (channel == Guitar || channel == Bass) &&
        expected.Data1 > 0) {
      expected.Data1 = static_cast<std::uint8_t>(expected.Data1 + capo);
      ++moved;
    }
    if (!(sounding[i] == expected))
      return ::testing::AssertionFailure() << "event " << i << " differs";
  }
  if (moved == 0) return ::testing::AssertionFailure() << "no note to move";
  return ::testing::AssertionSuccess();
}
