// Prints the timing figures of the players:
//  - offline: the note onsets of an exported play page against their ideal
//    times, for our WAV export and for `fluidsynth -F` rendering the exported
//    MIDI file;
//  - virtual: one hour of page play at 250 beats per minute on a virtual clock,
//    with the window answering the room message late: how often the queue ran
//    dry and how much music was still queued when the room message came;
//  - switching: how long clicks go on after Click is switched off 5 s into a
//    looping page at 100 beats per minute;
//  - stalls: how much of a page is lost when the window answers late near its
//    end, and with a queue of 16 events;
//  - live: dispatch lateness of a page played on the real clock, refilled by
//    the engine on the room message as the window does.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "Onsets.h"
#include "TimingDevices.h"
#include "files/PosixFileLayer.h"
#include "midi/FluidSynthOutput.h"
#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"
#include "midi/SoundFont.h"
#include "midi/SystemClock.h"
#include "midi/VirtualClock.h"
#include "midi/WavFile.h"
#include "music/Tuning.h"
#include "output/PageExport.h"
#include "output/SessionTransport.h"
#include "play/PlaybackEngine.h"
#include "state/AppState.h"

namespace {

TChordDiagram chord(std::array<int, 6> frets) {
  TChordDiagram d{};
  d.Empty = 0;
  std::copy(StandardTuning.begin(), StandardTuning.end(), d.Tuning);
  for (int s = 0; s < 6; ++s) {
    d.Strings[s] = {static_cast<std::uint8_t>(std::max(frets[s], 0)),
                    static_cast<std::uint8_t>(frets[s] < 0 ? FingerCode::Muted : 1)};
    d.Notes[s] = frets[s] < 0 ? 0 : static_cast<std::uint8_t>(StandardTuning[s] + frets[s]);
  }
  d.Root = 0;
  d.Bass = 24;
  return d;
}

void report(const char* what, const std::vector<std::int64_t>& found,
            const std::vector<std::int64_t>& ideal) {
  if (found.size() != ideal.size()) {
    std::printf("%s: found %zu onsets for %zu strums\n", what, found.size(), ideal.size());
    return;
  }
  // The first strum, at time 0, gives the voice's own lead-in.
  const std::int64_t lead = found[0] - ideal[0];
  std::vector<std::int64_t> err;
  int withinBlock = 0;
  for (std::size_t k = 1; k < found.size(); ++k) {
    const std::int64_t e = std::llabs(found[k] - lead - ideal[k]);
    err.push_back(e);
    withinBlock += e <= 64;
  }
  std::printf("%s: onset error over %zu strums (frames): p50 %lld  max %lld  within 64: %d/%zu\n",
              what, err.size(), static_cast<long long>(percentile(err, 0.5)),
              static_cast<long long>(percentile(err, 1.0)), withinBlock, err.size());
}

void offline(const std::string& font) {
  // Single notes on different strings, a bar apart with a bar of silence
  // between; bar 9 empty so no note rings into the next pass; five passes.
  // 108 beats per minute keeps the onsets off the 64-frame blocks.
  PageExport::Page page;
  for (auto& d : page.Slots) d.Empty = 1;
  page.Slots[0] = chord({-1, -1, -1, -1, 3, -1});
  page.Slots[16] = chord({-1, -1, 2, -1, -1, -1});
  page.Slots[32] = chord({5, -1, -1, -1, -1, -1});
  page.Slots[48] = chord({-1, -1, -1, 4, -1, -1});
  page.State.savedSet().RepeatCount[8] = 4;
  page.Tempo = 555555;
  const auto events = PageExport::events(page);
  std::vector<std::int64_t> ideal;
  std::int64_t tick = 0;
  for (const MidiEvent& e : events) {
    tick += e.Time;
    if (e.Status == 0x90)
      ideal.push_back(std::llround(static_cast<double>(tick) * page.Tempo / 480 * 44100 / 1e6));
  }
  std::printf("offline: page of %zu events, %zu strums, %.1f s at 108 bpm\n", events.size(),
              ideal.size(), PageExport::seconds(events, page.Tempo));

  const auto dir =
      std::filesystem::temp_directory_path() / ("strumbo-player-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string wav = (dir / "page.wav").string(), mid = (dir / "page.mid").string(),
                    theirs = (dir / "fs.wav").string();
  const auto t0 = std::chrono::steady_clock::now();
  PosixFileLayer disk;
  const auto result = PageExport::exportAudio(disk, wav, page, font).Status;
  const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  WavFile ours;
  if (result == PageExport::Result::Written && ours.read(wav)) {
    std::printf("export audio: %.2f s of work for %.1f s of audio\n", secs,
                static_cast<double>(ours.frames()) / 44100);
    report("offline (our WAV export)   ", onsets(ours, 0.0f, 2000), ideal);
  } else {
    std::printf("export audio failed\n");
  }
  PageExport::exportMidi(disk, mid, page);
  const std::string cmd = "fluidsynth -ni -q -R 0 -C 0 -g 0.5 -r 44100 -O float -T wav -F '" +
                          theirs + "' '" + font + "' '" + mid + "' > /dev/null 2>&1";
  WavFile fs;
  if (std::system(cmd.c_str()) == 0 && fs.read(theirs))
    report("fluidsynth -F on our .mid  ", onsets(fs, 0.0f, 2000), ideal);
  else
    std::printf("fluidsynth -F: not available\n");
  std::filesystem::remove_all(dir);
}

// The page the live figures play: a chord on every beat, bass and click.
void densePage(AppState& app) {
  const TChordDiagram chords[4] = {chord({0, 1, 0, 2, 3, -1}), chord({3, 0, 0, 0, 2, 3}),
                                   chord({0, 1, 2, 2, 0, -1}), chord({1, 1, 2, 3, 3, 1})};
  for (int s = 0; s < 72; s += 2) app.PlayPage[s % 12][s / 12] = chords[(s / 2) % 4];
}

class Inbox : public MidiMessageTarget {
 public:
  std::deque<std::pair<std::int64_t, MidiMessage>> messages;
  const Clock* clock = nullptr;
  void post(const MidiMessage& m) override { messages.push_back({clock->nowMicros(), m}); }
};

// Follows the tick each accepted event is due at, as the component reckons
// it: a put into an empty queue of a running clock counts from now.
class TickCounter : public MidiSink {
 public:
  TickCounter(MidiSink& to, const MidiComponent& midi, const Clock& clock, std::int32_t tempo)
      : to_(to), midi_(midi), clock_(clock), tempo_(tempo) {}
  double tickNow() const { return static_cast<double>(clock_.nowMicros()) * 480 / tempo_; }
  bool put(const MidiEvent& e) override {
    const bool empty = midi_.queued() == 0;
    if (!to_.put(e)) return false;
    if (empty && !takenBack_)
      ticks = std::max(ticks, static_cast<std::int64_t>(std::floor(tickNow())));
    takenBack_ = false;
    ticks += std::max(e.Time, 0);
    recent_.push_back({ticks, std::max(e.Time, 0)});
    if (recent_.size() > 8192) recent_.pop_front();
    return true;
  }
  // What is given back is counted off again.
  TakenBack takeBack(std::int64_t leadMicros, std::size_t most) override {
    const TakenBack back = to_.takeBack(leadMicros, std::min(most, recent_.size()));
    if (back.Count > 0) {
      const auto first = recent_.end() - static_cast<std::ptrdiff_t>(back.Count);
      ticks = first->first - first->second;
      recent_.erase(first, recent_.end());
      takenBack_ = true;
    }
    return back;
  }
  std::int64_t ticks = 0;

 private:
  MidiSink& to_;
  const MidiComponent& midi_;
  const Clock& clock_;
  std::int32_t tempo_;
  std::deque<std::pair<std::int64_t, std::int32_t>> recent_;  // tick and delta of each event
  bool takenBack_ = false;
};

class NullDevices : public MidiDeviceProvider {
  struct Out : MidiOutputDevice {
    void send(const std::uint8_t*, std::size_t, std::int64_t) override {}
    void silence() override {}
  };

 public:
  std::vector<std::string> outputNames() override { return {"null"}; }
  std::vector<std::string> inputNames() override { return {}; }
  std::unique_ptr<MidiOutputDevice> openOutput(int i) override {
    return i == 0 ? std::make_unique<Out>() : nullptr;
  }
  std::unique_ptr<MidiInputDevice> openInput(int) override { return nullptr; }
};

// With `switchClick`, Click is switched every 10 s as well.
void virtualHour(std::int64_t answerMicros, bool switchClick = false) {
  const std::int32_t tempo = 240000;  // 250 beats per minute
  VirtualClock clock(0);
  NullDevices devices;
  MidiComponent midi(clock, devices);  // the program's queue size
  Inbox inbox;
  inbox.clock = &clock;
  MidiSession session(midi);
  session.open(&inbox, 0, 0);
  SessionTransport transport(session);
  TickCounter counter(transport, midi, clock, tempo);
  PlaybackEngine engine(counter, transport);
  engine.Options.Loop = engine.Options.Click = engine.Options.BassNote = true;
  AppState app;
  densePage(app);
  const auto t0 = std::chrono::steady_clock::now();
  engine.StartPagePlay(app.PlayPage, app.Play, tempo);
  const std::int64_t hour = 3600LL * 1'000'000;
  std::int64_t rooms = 0, minAhead = INT64_MAX, dry = 0;
  bool wasEmpty = false;
  std::int64_t nextSwitch = switchClick ? 10'000'000 : hour;
  while (clock.nowMicros() < hour && engine.playDown()) {
    std::int64_t next = midi.nextDue();
    if (!inbox.messages.empty()) next = std::min(next, inbox.messages.front().first + answerMicros);
    if (next == MidiScheduler::Never) break;
    if (next >= nextSwitch) {
      midi.advanceTo(nextSwitch);
      engine.Options.Click = !engine.Options.Click;
      engine.OptionsChanged();
      nextSwitch += 10'000'000;
    }
    midi.advanceTo(std::max(next, clock.nowMicros()));
    const bool empty = midi.queued() == 0;
    dry += empty && !wasEmpty;
    wasEmpty = empty;
    while (!inbox.messages.empty() &&
           inbox.messages.front().first + answerMicros <= clock.nowMicros()) {
      const MidiMessage m = inbox.messages.front().second;
      inbox.messages.pop_front();
      if (!midi.isCurrent(m)) continue;
      if (m.code == MidiMessageCode::Room) {
        ++rooms;
        const double played = static_cast<double>(clock.nowMicros()) * 480 / tempo;
        const auto ahead =
            static_cast<std::int64_t>((static_cast<double>(counter.ticks) - played) * tempo / 480);
        minAhead = std::min(minAhead, ahead);
      }
      engine.handleMessage(m.code, m.param, PlayTab::PlayPage);
    }
  }
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf(
      "virtual hour at 250 bpm, window answering after %lld ms%s: %.0f s played, %lld room "
      "messages, queue ran dry %lld times (%d underruns reported to the engine), least music "
      "queued at a room message %.0f ms; %.1f s of work\n",
      static_cast<long long>(answerMicros / 1000), switchClick ? ", Click switched every 10 s" : "",
      static_cast<double>(clock.nowMicros()) / 1e6, static_cast<long long>(rooms),
      static_cast<long long>(dry), engine.underruns(), static_cast<double>(minAhead) / 1000, wall);
  session.close();
}

// Remembers when the last click (a note on of the click note on the click
// channel) was sent, and how many channel messages went out.
class ClickWatch : public MidiDeviceProvider {
  struct Out : MidiOutputDevice {
    ClickWatch& w;
    explicit Out(ClickWatch& watch) : w(watch) {}
    void send(const std::uint8_t* b, std::size_t, std::int64_t t) override {
      ++w.sent;
      w.lastSend = t;
      if (b[0] == 0x99 && b[1] == 34) w.lastClick = t;
    }
    void silence() override {}
  };

 public:
  std::int64_t lastClick = -1, lastSend = -1, sent = 0;
  std::vector<std::string> outputNames() override { return {"watch"}; }
  std::vector<std::string> inputNames() override { return {}; }
  std::unique_ptr<MidiOutputDevice> openOutput(int i) override {
    return i == 0 ? std::make_unique<Out>(*this) : nullptr;
  }
  std::unique_ptr<MidiInputDevice> openInput(int) override { return nullptr; }
};

// The page played on a virtual clock with the window's side done by `answer`:
// messages are handled when their time plus the answer delay has come.
// `at(now)` runs before each step, for switches made by the user.
struct VirtualPlay {
  VirtualClock clock{0};
  ClickWatch watch;
  MidiComponent midi;
  Inbox inbox;
  MidiSession session{midi};
  SessionTransport transport{session};
  PlaybackEngine engine{transport, transport};
  explicit VirtualPlay(std::size_t queue = 1024) : midi(clock, watch, queue) {
    inbox.clock = &clock;
    session.open(&inbox, 0, 0);
  }
  ~VirtualPlay() { session.close(); }
  template <class Answer, class At>
  void run(std::int64_t until, Answer answer, At at) {
    while (clock.nowMicros() < until && engine.playDown()) {
      std::int64_t next = std::min(midi.nextDue(), until);
      if (!inbox.messages.empty())
        next = std::min(next, inbox.messages.front().first + answer(inbox.messages.front().first));
      at(next);
      if (next == MidiScheduler::Never) break;
      midi.advanceTo(std::max(next, clock.nowMicros()));
      while (!inbox.messages.empty() &&
             inbox.messages.front().first + answer(inbox.messages.front().first) <=
                 clock.nowMicros()) {
        const MidiMessage m = inbox.messages.front().second;
        inbox.messages.pop_front();
        if (midi.isCurrent(m)) engine.handleMessage(m.code, m.param, PlayTab::PlayPage);
      }
    }
  }
};

void clickSwitch(const char* what, bool chordEveryBeat) {
  VirtualPlay v;
  AppState app;
  if (chordEveryBeat)
    densePage(app);
  else
    for (int bar = 0; bar < 9; ++bar)
      app.PlayPage[(bar * 8) % 12][bar * 8 / 12] = chord({0, 1, 0, 2, 3, -1});
  v.engine.Options.Loop = v.engine.Options.Click = v.engine.Options.BassNote = true;
  v.engine.StartPagePlay(app.PlayPage, app.Play, DefaultPageTempo);
  const std::int64_t switchAt = 5'000'000;
  bool switched = false;
  v.run(
      180'000'000, [](std::int64_t) { return 0; },
      [&](std::int64_t& next) {
        if (switched) return;
        if (next >= switchAt) {
          v.midi.advanceTo(switchAt);
          v.engine.Options.Click = false;  // what the window does when the button goes up
          v.engine.OptionsChanged();
          switched = true;
          next = std::max(next, switchAt);
        }
      });
  std::printf(
      "Click switched off 5 s into a looping page at 100 bpm, %s: last click %+.2f s from "
      "the switch\n",
      what, static_cast<double>(v.watch.lastClick - switchAt) / 1e6);
}

// A page of a chord on every beat with bars 1 to 5 played twice, 100 bpm:
// the window stalls for `stall` microseconds from `before` the page's end.
void stalledEnd(const char* what, std::size_t queue, std::int64_t before, std::int64_t stall) {
  AppState app;
  densePage(app);
  app.Play.savedSet().RepeatCount[4] = 1;
  const std::int32_t tempo = DefaultPageTempo;
  std::int64_t pageEnd = 0, channelEvents = 0;
  std::vector<std::int64_t> times;
  {
    VirtualPlay ref(queue);
    ref.engine.Options.Click = ref.engine.Options.BassNote = true;
    PagePlayer::Start start;
    const PlayList list = playListFrom(app.PlayPage);
    start.Slots = &list;
    start.Page = &app.Play;
    start.Settings = ref.engine.Settings;
    start.Options = ref.engine.Options;
    const auto events = *PagePlayer::playOnce(start, 1'000'000);
    std::int64_t tick = 0;
    for (const MidiEvent& e : events) {
      tick += e.Time;
      if (e.Status >= 0x80) {
        ++channelEvents;
        times.push_back(tick * tempo / 480);
      }
    }
    pageEnd = tick * tempo / 480;
  }
  VirtualPlay v(queue);
  v.engine.Options.Click = v.engine.Options.BassNote = true;
  v.engine.StartPagePlay(app.PlayPage, app.Play, tempo);
  const std::int64_t from = pageEnd - before;
  v.run(
      pageEnd + stall + 60'000'000,
      [&](std::int64_t posted) {
        return posted >= from && posted < from + stall ? from + stall - posted : 0;
      },
      [](std::int64_t&) {});
  const std::int64_t lost = channelEvents - v.watch.sent;
  const double lostSeconds =
      lost > 0 ? static_cast<double>(pageEnd - times[static_cast<std::size_t>(v.watch.sent)]) / 1e6
               : 0.0;
  std::printf("%s: page of %lld channel events, %.1f s; %lld never played (the last %.1f s)\n",
              what, static_cast<long long>(channelEvents), static_cast<double>(pageEnd) / 1e6,
              static_cast<long long>(lost), lostSeconds);
}

class LockedInbox : public MidiMessageTarget {
 public:
  std::mutex m;
  std::condition_variable cv;
  std::deque<MidiMessage> messages;
  void post(const MidiMessage& msg) override {
    std::lock_guard lock(m);
    messages.push_back(msg);
    cv.notify_all();
  }
};

void live(const std::string& font, const char* what, double seconds) {
  SystemClock clock;
  std::vector<std::int64_t> lateness;
  lateness.reserve(100000);
  TimingDevices devices(clock, lateness, font);
  MidiComponent midi(clock, devices);
  LockedInbox inbox;
  MidiSession session(midi);
  session.open(&inbox, 0, 0);
  SessionTransport transport(session);
  PlaybackEngine engine(transport, transport);
  engine.Options.Loop = engine.Options.Click = engine.Options.BassNote = true;
  AppState app;
  densePage(app);
  engine.StartPagePlay(app.PlayPage, app.Play, 240000);
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  std::unique_lock lock(inbox.m);
  while (engine.playDown() && std::chrono::steady_clock::now() < end) {
    inbox.cv.wait_until(lock, end, [&] { return !inbox.messages.empty(); });
    while (!inbox.messages.empty()) {
      const MidiMessage msg = inbox.messages.front();
      inbox.messages.pop_front();
      lock.unlock();
      if (midi.isCurrent(msg)) engine.handleMessage(msg.code, msg.param, PlayTab::PlayPage);
      lock.lock();
    }
  }
  lock.unlock();
  engine.Stop(PlayTab::PlayPage);
  session.close();
  std::printf(
      "live page at 250 bpm, %s, %.0f s: dispatch lateness over %zu events (us): p50 %lld  p99 "
      "%lld  max %lld; queue ran dry %d times\n",
      what, seconds, lateness.size(), static_cast<long long>(percentile(lateness, 0.50)),
      static_cast<long long>(percentile(lateness, 0.99)),
      static_cast<long long>(percentile(lateness, 1.0)), engine.underruns());
}

}  // namespace

int main(int argc, char** argv) {
  // --virtual: only the figures of the virtual clock, which need no soundfont.
  const bool virtualOnly = argc > 1 && std::string(argv[1]) == "--virtual";
  const std::string font = argc > 1 && !virtualOnly ? argv[1] : SoundFont::findSmallest();
  if (virtualOnly) {
    for (std::int64_t answer : {0LL, 100'000LL, 1'000'000LL}) virtualHour(answer);
    virtualHour(1'000'000, true);
    clickSwitch("one chord per bar", false);
    clickSwitch("a chord on every beat", true);
    stalledEnd("window stalled 25 s from 30 s before the end", 1024, 30'000'000, 25'000'000);
    stalledEnd("queue of 16 events, window answering at once", 16, 0, 0);
    return 0;
  }
  if (font.empty()) {
    std::printf("no General MIDI soundfont installed\n");
    return 1;
  }
  std::printf("soundfont: %s\n", font.c_str());
  std::fflush(stdout);
  offline(font);
  std::fflush(stdout);
  for (std::int64_t answer : {0LL, 100'000LL, 1'000'000LL, 6'000'000LL}) {
    virtualHour(answer);
    std::fflush(stdout);
  }
  virtualHour(1'000'000, true);
  clickSwitch("one chord per bar", false);
  clickSwitch("a chord on every beat", true);
  std::fflush(stdout);
  stalledEnd("window stalled 25 s from 30 s before the end", 1024, 30'000'000, 25'000'000);
  stalledEnd("queue of 16 events, window answering at once", 16, 0, 0);
  std::fflush(stdout);
  live({}, "clock only", 15);
  std::fflush(stdout);
  live(font, "into the built-in synthesiser", 15);
  return 0;
}
