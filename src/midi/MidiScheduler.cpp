#include "midi/MidiScheduler.h"

#include <algorithm>
#include <cmath>

MidiScheduler::MidiScheduler(std::size_t capacity, std::size_t room)
    : capacity_(std::max<std::size_t>(capacity, 1)),
      room_(room ? std::min(room, capacity_ - 1) : capacity_ / 2) {}

void MidiScheduler::setLead(std::int64_t leadMicros) {
  lead_ = std::max<std::int64_t>(leadMicros, 0);
}

double MidiScheduler::tickAt(std::int64_t now) const {
  // Before a delayed start the clock stands where it will set off.
  if (state_ != State::Running || now < anchorTime_) return anchorTick_;
  return anchorTick_ + static_cast<double>(now - anchorTime_) * TicksPerQuarter / tempo_;
}

std::int64_t MidiScheduler::timeOfTick(std::int64_t tick) const {
  const double us = (static_cast<double>(tick) - anchorTick_) * tempo_ / TicksPerQuarter;
  // The small allowance keeps rounding noise from pushing a whole microsecond late.
  return anchorTime_ + static_cast<std::int64_t>(std::ceil(us - 1e-6));
}

bool MidiScheduler::put(const MidiEvent& event, std::int64_t now) {
  if (queue_.size() >= capacity_) {
    refused_ = true;
    return false;
  }
  std::int64_t base = lastTick_;
  if (queue_.empty() && state_ == State::Running && !followLast_) {
    // Everything before has played: the delta counts from now, not from an
    // event long gone, which would let the whole new run out at once.
    base = std::max(base, static_cast<std::int64_t>(std::floor(tickAt(now))));
  }
  lastTick_ = base + std::max<std::int32_t>(event.Time, 0);
  queue_.push_back({lastTick_, event});
  owesAllPlayed_ = true;
  followLast_ = false;
  ++accepted_;
  return true;
}

void MidiScheduler::setTempo(std::int32_t microsPerQuarter, std::int64_t now) {
  // A tempo from a damaged page file could be 0, negative or so fast that the
  // beat messages alone would flood the window.
  microsPerQuarter = std::clamp(microsPerQuarter, MinTempo, MaxTempo);
  if (state_ == State::Running) {
    anchorTick_ = tickAt(now);
    anchorTime_ = std::max(anchorTime_, now);
    // What was handed over was stamped at the old tempo.
    if (microsPerQuarter != tempo_) withdraw();
  }
  tempo_ = microsPerQuarter;
}

void MidiScheduler::start(std::int64_t now, std::vector<Action>& out) {
  if (state_ == State::Running) return;
  if (state_ == State::Stopped) {
    anchorTick_ = 0;
    nextBeat_ = TicksPerQuarter;
  }
  anchorTime_ = now + lead_;
  state_ = State::Running;
  ++handover_.starts;
  if (queue_.empty()) {
    owesAllPlayed_ = false;
    post(out, MidiMessageCode::AllPlayed, accepted_, now);
  }
}

void MidiScheduler::pause(std::int64_t now) {
  if (state_ != State::Running) return;
  anchorTick_ = tickAt(now);
  state_ = State::Paused;
  // Nothing may sound while paused; it is handed over again on restart.
  withdraw();
}

void MidiScheduler::restart(std::int64_t now) {
  if (state_ != State::Paused) return;
  anchorTime_ = now + lead_;
  state_ = State::Running;
  ++handover_.starts;
}

void MidiScheduler::withdraw() {
  if (handed_ == 0) return;
  handed_ = 0;
  ++handover_.withdrawals;
}

void MidiScheduler::stop() {
  state_ = State::Stopped;
  queue_.clear();
  handed_ = 0;  // the device is silenced and drops what it holds
  anchorTick_ = 0;
  lastTick_ = 0;
  nextBeat_ = TicksPerQuarter;
  refused_ = false;
  owesAllPlayed_ = false;
  followLast_ = false;
  ++epoch_;
}

void MidiScheduler::flush(std::int64_t now) {
  queue_.clear();
  handed_ = 0;
  lastTick_ = static_cast<std::int64_t>(std::floor(tickAt(now)));
  refused_ = false;
  owesAllPlayed_ = false;
  followLast_ = false;
  ++epoch_;
}

TakenBack MidiScheduler::takeBack(std::int64_t now, std::int64_t leadMicros, std::size_t most) {
  const auto cut = static_cast<std::int64_t>(
      std::ceil(tickAt(now) + static_cast<double>(std::max<std::int64_t>(leadMicros, 0)) *
                                  TicksPerQuarter / tempo_));
  std::size_t n = 0;
  while (n < most && n < queue_.size() && queue_[queue_.size() - 1 - n].tick >= cut) ++n;
  if (n == 0) return {};
  const Queued& first = queue_[queue_.size() - n];
  const TakenBack back{n, first.tick - cut};
  // The event written again in its place counts from the same point.
  lastTick_ = first.tick - std::max<std::int32_t>(first.event.Time, 0);
  queue_.erase(queue_.end() - static_cast<std::ptrdiff_t>(n), queue_.end());
  // The device cannot give back single events: when the take-back reaches
  // what it holds, all of that is withdrawn and what stays is handed over again.
  if (handed_ > queue_.size()) withdraw();
  followLast_ = queue_.empty();
  return back;
}

std::int64_t MidiScheduler::nextDue() const {
  if (state_ != State::Running) return Never;
  std::int64_t due = timeOfTick(nextBeat_);
  if (!queue_.empty()) due = std::min(due, timeOfTick(queue_.front().tick));
  if (handed_ < queue_.size()) due = std::min(due, timeOfTick(queue_[handed_].tick) - lead_);
  return due;
}

void MidiScheduler::post(std::vector<Action>& out, std::uint32_t code, std::uint32_t param,
                         std::int64_t t) {
  Action a;
  a.isMessage = true;
  a.message = {code, param, epoch_};
  a.timeMicros = t;
  out.push_back(a);
}

void MidiScheduler::dispatchEvent(const Queued& q, std::int64_t t, std::vector<Action>& out) {
  const MidiEvent& e = q.event;
  // Its bytes, if any, went to the device when it was handed over.
  if (e.Status == EventShowFinger) {
    post(out, MidiMessageCode::ShowFinger,
         static_cast<std::uint32_t>(e.Data1) << 16 | static_cast<std::uint32_t>(e.Data2) << 8 |
             e.Data3,
         t);
    return;
  }
  if (e.Status == EventBeatMarker) {
    post(out, MidiMessageCode::BeatMarker, static_cast<std::uint32_t>(e.Data1) << 16, t);
  }
}

void MidiScheduler::handOver(const Queued& q, std::int64_t t, std::vector<Action>& out) {
  const MidiEvent& e = q.event;
  if (e.Status < 0x80 || e.Status >= 0xF0) return;  // nothing a port should get
  Action a;
  a.bytes[0] = e.Status;
  // Data bytes above 127 would read as status bytes and garble the stream.
  a.bytes[1] = e.Data1 & 0x7F;
  a.bytes[2] = e.Data2 & 0x7F;
  const std::uint8_t kind = e.Status & 0xF0;
  a.length = (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
  a.timeMicros = t;
  out.push_back(a);
}

void MidiScheduler::dispatchDue(std::int64_t now, std::vector<Action>& out) {
  if (state_ != State::Running) return;
  // Every event due by now has been handed over first, as the lead is never
  // negative; with no lead this is exactly what is due.
  while (handed_ < queue_.size()) {
    const Queued& q = queue_[handed_];
    const std::int64_t t = timeOfTick(q.tick);
    if (t - lead_ > now) break;
    handOver(q, t, out);
    ++handed_;
  }
  while (state_ == State::Running) {
    const std::int64_t beatTime = timeOfTick(nextBeat_);
    const std::int64_t eventTime = queue_.empty() ? Never : timeOfTick(queue_.front().tick);
    if (eventTime <= beatTime && eventTime <= now) {
      const Queued q = queue_.front();
      queue_.pop_front();
      --handed_;
      dispatchEvent(q, eventTime, out);
      if (refused_ && queue_.size() <= room_) {
        refused_ = false;
        post(out, MidiMessageCode::Room, 0, eventTime);
      }
      if (queue_.empty() && owesAllPlayed_) {
        owesAllPlayed_ = false;
        post(out, MidiMessageCode::AllPlayed, accepted_, eventTime);
      }
    } else if (beatTime <= now) {
      post(out, MidiMessageCode::Beat, static_cast<std::uint32_t>(nextBeat_ / TicksPerQuarter),
           beatTime);
      nextBeat_ += TicksPerQuarter;
    } else {
      break;
    }
  }
}
