#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "midi/MidiMessage.h"
#include "play/MidiEvent.h"
#include "play/MidiSink.h"

// The timing core of the MIDI component: the bounded event queue, the tempo and
// the clock's running state, with no thread and no lock of its own. Each queued
// event gets an absolute tick when it is put; the time of a tick is computed
// from the last tempo anchor, so long runs do not drift. dispatchDue() turns
// everything due by a given time into actions (bytes for the device, messages
// for the window), in time order, events before the beat of the same tick.
// The all-played message carries the number of events the queue had taken
// (modulo 2^32) when it ran empty, so a writer can tell it from one that came
// before its latest puts.
// With a lead (a device that places messages on its own sample clock) the
// bytes of an event are handed over `lead` before it is due, stamped with its
// due time, while the event stays queued until then: its messages are still
// posted at the due time, and what was handed over can be withdrawn (pause, a
// tempo change, a take-back reaching it) and handed over again. The clock then
// starts `lead` after a start, so the first events are ahead of time as well.
class MidiScheduler {
 public:
  struct Action {
    bool isMessage = false;
    std::uint8_t bytes[3] = {0, 0, 0};
    std::uint8_t length = 0;
    MidiMessage message;
    std::int64_t timeMicros = 0;  // when it was due
  };
  // Counters the device side follows: a play (re)started, so the device's
  // clock is to be tied to this one again; events handed over were withdrawn.
  struct Handover {
    std::uint64_t starts = 0;
    std::uint64_t withdrawals = 0;
  };
  enum class State { Stopped, Running, Paused };
  static constexpr std::int64_t Never = INT64_MAX;
  // Tempi (microseconds per quarter note) are kept between 3000 and 1 beats
  // per minute.
  static constexpr std::int32_t MinTempo = 20000, MaxTempo = 60000000;

  // `room` is the fill level at or below which a refused writer is told to go
  // on; half the capacity leaves it time to answer before the queue runs dry.
  explicit MidiScheduler(std::size_t capacity = 1024, std::size_t room = 0);

  // How long before its due time an event's bytes are handed over; 0 hands
  // them over when due. Set while stopped (a new output is opened).
  void setLead(std::int64_t leadMicros);
  std::int64_t lead() const { return lead_; }

  bool put(const MidiEvent& event, std::int64_t now);
  void setTempo(std::int32_t microsPerQuarter, std::int64_t now);
  // Starts from tick 0 when stopped, or goes on from a pause. With nothing
  // queued the all-played message comes at once, so a caller never waits for it.
  void start(std::int64_t now, std::vector<Action>& out);
  void pause(std::int64_t now);
  void restart(std::int64_t now);
  // Both discard the queue and cancel a pending room message: the writer that
  // was refused is no longer playing.
  void stop();
  void flush(std::int64_t now);
  // Removes the newest queued events due `leadMicros` or more after `now`, at
  // most `most` of them; the next put follows on from the last event kept.
  TakenBack takeBack(std::int64_t now, std::int64_t leadMicros, std::size_t most);

  std::int64_t nextDue() const;
  void dispatchDue(std::int64_t now, std::vector<Action>& out);

  State state() const { return state_; }
  Handover handover() const { return handover_; }
  // Events handed over ahead and still queued.
  std::size_t handedOver() const { return handed_; }
  std::int32_t tempo() const { return tempo_; }
  std::size_t queued() const { return queue_.size(); }
  std::size_t capacity() const { return capacity_; }
  std::uint64_t epoch() const { return epoch_; }
  std::uint32_t accepted() const { return accepted_; }
  double tickAt(std::int64_t now) const;

 private:
  struct Queued {
    std::int64_t tick;
    MidiEvent event;
  };
  std::int64_t timeOfTick(std::int64_t tick) const;
  void post(std::vector<Action>& out, std::uint32_t code, std::uint32_t param, std::int64_t t);
  void dispatchEvent(const Queued& q, std::int64_t t, std::vector<Action>& out);
  void handOver(const Queued& q, std::int64_t t, std::vector<Action>& out);
  void withdraw();

  std::size_t capacity_;
  std::size_t room_;
  std::deque<Queued> queue_;
  State state_ = State::Stopped;
  std::int32_t tempo_ = 500000;
  double anchorTick_ = 0;  // the clock's tick at anchorTime_ (or where it paused)
  std::int64_t anchorTime_ = 0;
  std::int64_t lastTick_ = 0;  // tick of the last event put
  std::int64_t nextBeat_ = TicksPerQuarter;
  bool refused_ = false;
  bool owesAllPlayed_ = false;
  bool followLast_ = false;  // the queue was emptied by takeBack, not by playing
  std::uint32_t accepted_ = 0;
  std::uint64_t epoch_ = 1;
  std::int64_t lead_ = 0;
  std::size_t handed_ = 0;  // the queue's first events, already handed over
  Handover handover_;
};
