#include "midi/MidiComponent.h"

#include <pthread.h>
#include <sched.h>

#include <chrono>
#include <cstring>

#include "midi/Clock.h"
#include "midi/VirtualClock.h"

namespace {

// The last stretch before a due time is waited out by yielding: a timed wait
// on Linux may oversleep by tens of microseconds, and more on a busy machine.
constexpr std::int64_t SpinMicros = 300;

int describe(const std::vector<std::string>& names, int device, char* text) {
  if (!text || device < 0 || device >= static_cast<int>(names.size())) return 0;
  const std::string& name = names[static_cast<std::size_t>(device)];
  std::size_t n = std::min(name.size(), MidiComponent::DescriptionSize - 1);
  // Port names are UTF-8: never cut a character in two.
  if (n < name.size())
    while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) --n;
  std::memcpy(text, name.data(), n);
  text[n] = '\0';
  return 1;
}

}  // namespace

MidiComponent::MidiComponent(Clock& clock, MidiDeviceProvider& devices, std::size_t queueCapacity)
    : clock_(clock), devices_(devices), scheduler_(queueCapacity), epoch_(scheduler_.epoch()) {}

MidiComponent::~MidiComponent() {
  stopThread();
  std::lock_guard dl(deviceMutex_);
  if (output_) output_->silence();
  output_.reset();
  input_.reset();
}

int MidiComponent::GetNumOutDevices() {
  outNames_ = devices_.outputNames();
  return static_cast<int>(outNames_.size());
}

int MidiComponent::GetNumInDevices() {
  inNames_ = devices_.inputNames();
  return static_cast<int>(inNames_.size());
}

int MidiComponent::GetMidiOutDescription(int device, char* text) {
  if (outNames_.empty()) outNames_ = devices_.outputNames();
  return describe(outNames_, device, text);
}

int MidiComponent::GetMidiInDescription(int device, char* text) {
  if (inNames_.empty()) inNames_ = devices_.inputNames();
  return describe(inNames_, device, text);
}

std::uint32_t MidiComponent::OpenSync(int, MidiMessageTarget* window, int, int) {
  {
    std::lock_guard lock(mutex_);
    if (window) target_.store(window);
    if (!syncHandle_) syncHandle_ = nextHandle_++;
    if (clock_.isVirtual() || thread_.joinable()) return syncHandle_;
    quit_ = false;
  }
  thread_ = std::thread(&MidiComponent::run, this);
  std::lock_guard lock(mutex_);
  return syncHandle_;
}

std::uint32_t MidiComponent::OpenMidiOut(MidiMessageTarget* window, std::uint16_t device,
                                         std::uint32_t sync, int) {
  {
    std::lock_guard lock(mutex_);
    if (!validSync(sync)) return 0;
  }
  auto opened = devices_.openOutput(device);
  if (!opened) return 0;
  std::unique_ptr<MidiOutputDevice> old;
  std::uint64_t withdrawals = 0;
  {
    std::lock_guard lock(mutex_);
    scheduler_.flush(clock_.nowMicros());  // the queue was meant for the old device
    scheduler_.setLead(opened->leadMicros());
    epoch_.store(scheduler_.epoch());
    withdrawals = scheduler_.handover().withdrawals;
    if (window) target_.store(window);
    outHandle_ = nextHandle_++;
  }
  {
    std::lock_guard dl(deviceMutex_);
    if (output_) output_->silence();
    old = std::move(output_);
    output_ = std::move(opened);
    // A new device holds nothing and is anchored at its first hand-over.
    anchoredStarts_ = 0;
    withdrawnSeen_ = withdrawals;
  }
  std::lock_guard lock(mutex_);
  return outHandle_;
}

std::uint32_t MidiComponent::OpenMidiIn(MidiMessageTarget*, std::uint16_t device, int, int) {
  auto opened = devices_.openInput(device);
  if (!opened) return 0;
  {
    std::lock_guard dl(deviceMutex_);
    input_ = std::move(opened);
  }
  std::lock_guard lock(mutex_);
  inHandle_ = nextHandle_++;
  return inHandle_;
}

std::uint32_t MidiComponent::PutMidiOut(std::uint32_t out, const MidiEvent& event) {
  std::lock_guard lock(mutex_);
  if (!validOut(out)) return 1;
  if (!scheduler_.put(event, clock_.nowMicros())) return 1;
  wake_.notify_one();
  return 0;
}

TakenBack MidiComponent::TakeBackMidiOut(std::uint32_t out, std::int64_t leadMicros,
                                         std::size_t most) {
  TakenBack back;
  {
    std::lock_guard lock(mutex_);
    if (!validOut(out)) return {};
    back = scheduler_.takeBack(clock_.nowMicros(), leadMicros, most);
    noteWithdrawals();
    wake_.notify_one();
  }
  applyWithdrawal();
  return back;
}

void MidiComponent::SetTempo(std::uint32_t sync, std::int32_t microsPerQuarter) {
  {
    std::lock_guard lock(mutex_);
    if (!validSync(sync)) return;
    scheduler_.setTempo(microsPerQuarter, clock_.nowMicros());
    noteWithdrawals();
    wake_.notify_one();
  }
  applyWithdrawal();
}

void MidiComponent::StartSync(std::uint32_t sync) {
  Actions actions;
  Made batch;
  {
    std::lock_guard lock(mutex_);
    if (!validSync(sync)) return;
    scheduler_.start(clock_.nowMicros(), actions);
    batch = made();
    wake_.notify_one();
  }
  perform(actions, batch);
}

void MidiComponent::PauseSync(std::uint32_t sync, int) {
  {
    std::lock_guard lock(mutex_);
    if (!validSync(sync)) return;
    scheduler_.pause(clock_.nowMicros());
    noteWithdrawals();
    wake_.notify_one();
  }
  applyWithdrawal();
}

void MidiComponent::ReStartSync(std::uint32_t sync) {
  Made batch;
  {
    std::lock_guard lock(mutex_);
    if (!validSync(sync)) return;
    scheduler_.restart(clock_.nowMicros());
    batch = made();
    wake_.notify_one();
  }
  perform({}, batch);  // anchors the output now, as a start does
}

void MidiComponent::StopSync(std::uint32_t sync) {
  {
    std::lock_guard lock(mutex_);
    if (!validSync(sync)) return;
    scheduler_.stop();
    epoch_.store(scheduler_.epoch());
    wake_.notify_one();
  }
  silenceOutput();
}

void MidiComponent::FlushMidiOut(std::uint32_t out) {
  {
    std::lock_guard lock(mutex_);
    if (!validOut(out)) return;
    scheduler_.flush(clock_.nowMicros());
    epoch_.store(scheduler_.epoch());
    wake_.notify_one();
  }
  silenceOutput();
}

void MidiComponent::CloseSync(std::uint32_t sync) {
  {
    std::lock_guard lock(mutex_);
    if (!validSync(sync)) return;
    scheduler_.stop();
    epoch_.store(scheduler_.epoch());
    syncHandle_ = 0;
  }
  stopThread();
  silenceOutput();
}

void MidiComponent::CloseMidiIn(std::uint32_t in) {
  {
    std::lock_guard lock(mutex_);
    if (in == 0 || in != inHandle_) return;
    inHandle_ = 0;
  }
  std::lock_guard dl(deviceMutex_);
  input_.reset();
}

void MidiComponent::CloseMidiOut(std::uint32_t out) {
  {
    std::lock_guard lock(mutex_);
    if (!validOut(out)) return;
    scheduler_.flush(clock_.nowMicros());
    epoch_.store(scheduler_.epoch());
    outHandle_ = 0;
  }
  std::unique_ptr<MidiOutputDevice> closing;
  {
    std::lock_guard dl(deviceMutex_);
    if (output_) output_->silence();
    closing = std::move(output_);
  }
}

void MidiComponent::preloadVoice(std::uint32_t out, int channel, int program) {
  {
    std::lock_guard lock(mutex_);
    if (!validOut(out)) return;
  }
  std::lock_guard dl(deviceMutex_);
  if (output_) output_->preload(channel, program);
}

bool MidiComponent::outputReady(std::uint32_t out) {
  {
    std::lock_guard lock(mutex_);
    if (!validOut(out)) return false;
  }
  std::lock_guard dl(deviceMutex_);
  return output_ && output_->ready();
}

bool MidiComponent::outputSilent(std::uint32_t out) {
  {
    std::lock_guard lock(mutex_);
    if (!validOut(out)) return false;
  }
  std::lock_guard dl(deviceMutex_);
  return output_ && output_->silent();
}

bool MidiComponent::advanceTo(std::int64_t micros) {
  auto* virtualClock = dynamic_cast<VirtualClock*>(&clock_);
  if (!virtualClock) return false;
  bool any = false;
  for (;;) {
    Actions actions;
    Made batch;
    {
      std::lock_guard lock(mutex_);
      const std::int64_t due = scheduler_.nextDue();
      if (due > micros) break;
      virtualClock->set(due);
      scheduler_.dispatchDue(due, actions);
      batch = made();
    }
    any = true;
    perform(actions, batch);
  }
  virtualClock->set(micros);
  return any;
}

std::int64_t MidiComponent::nextDue() const {
  std::lock_guard lock(mutex_);
  return scheduler_.nextDue();
}

std::size_t MidiComponent::queued() const {
  std::lock_guard lock(mutex_);
  return scheduler_.queued();
}

void MidiComponent::noteWithdrawals() {
  withdrawals_.store(scheduler_.handover().withdrawals);
}

void MidiComponent::applyWithdrawal() {
  std::lock_guard dl(deviceMutex_);
  const std::uint64_t w = withdrawals_.load();
  if (w == withdrawnSeen_) return;
  withdrawnSeen_ = w;
  if (output_) output_->withdraw();
}

void MidiComponent::perform(const Actions& actions, const Made& batch) {
  {
    std::lock_guard dl(deviceMutex_);
    if (batch.epoch != epoch_.load()) return;  // a stop or flush came first
    if (output_) {
      // A withdrawal not yet passed on goes first, so nothing handed over
      // after it is withdrawn with it.
      const std::uint64_t w = withdrawals_.load();
      if (w != withdrawnSeen_) {
        withdrawnSeen_ = w;
        output_->withdraw();
      }
      if (batch.handover.starts > anchoredStarts_) {
        anchoredStarts_ = batch.handover.starts;
        output_->anchor(clock_.nowMicros());
      }
      // Events of a batch made before the last withdrawal are handed over again.
      if (batch.handover.withdrawals == w) {
        for (const auto& a : actions)
          if (!a.isMessage) output_->send(a.bytes, a.length, a.timeMicros);
      }
    }
  }
  MidiMessageTarget* target = target_.load();
  if (!target) return;
  for (const auto& a : actions)
    if (a.isMessage) target->post(a.message);
}

void MidiComponent::silenceOutput() {
  std::lock_guard dl(deviceMutex_);
  if (output_) output_->silence();
}

void MidiComponent::run() {
  // A modest real-time priority keeps a busy machine from holding the clock
  // back; where the system does not allow it the thread runs as it is.
  sched_param param{};
  param.sched_priority = 10;
  pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
  std::unique_lock lock(mutex_);
  while (!quit_) {
    const std::int64_t due = scheduler_.nextDue();
    const std::int64_t now = clock_.nowMicros();
    if (due > now) {
      if (due == MidiScheduler::Never) {
        wake_.wait(lock);
      } else if (due - now > SpinMicros) {
        wake_.wait_for(lock, std::chrono::microseconds(due - now - SpinMicros));
      } else {
        lock.unlock();
        std::this_thread::yield();
        lock.lock();
      }
      continue;
    }
    Actions actions;
    scheduler_.dispatchDue(now, actions);
    const Made batch = made();
    lock.unlock();
    perform(actions, batch);
    lock.lock();
  }
}

void MidiComponent::stopThread() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
    wake_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
}
