#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "midi/MidiDevices.h"
#include "midi/MidiMessage.h"
#include "midi/MidiScheduler.h"
#include "play/MidiEvent.h"

class Clock;

// The program's MIDI library: device lists, one output and one input port, and
// the synchronisation clock that plays the queued events in time and reports to
// the window through a MidiMessageTarget. It owns the scheduler, the open
// devices and, on a real clock, the clock thread. The thread only reads the
// queue and writes to the device; the queue lock is never held while a device
// is written to, and a device write that a stop or flush has overtaken is
// dropped, so a note cannot start after the silence that should end it.
// On a virtual clock there is no thread: advanceTo() plays everything due.
// An output with a lead (the built-in synthesiser) is sent each event that
// long before it is due, stamped with its due time, and places it on its own
// sample clock; the device is anchored to this clock on the first hand-over
// after each start, and told to withdraw what it holds when the scheduler
// takes handed-over events back. Writes for a withdrawal that came after them
// are dropped like writes overtaken by a stop. Messages to the window still go
// out at the due time, in step with what is heard.
class MidiComponent {
 public:
  static constexpr std::uint16_t Version = 0x0100;  // 1.0
  static constexpr std::size_t DescriptionSize = 32;

  MidiComponent(Clock& clock, MidiDeviceProvider& devices, std::size_t queueCapacity = 1024);
  ~MidiComponent();
  MidiComponent(const MidiComponent&) = delete;
  MidiComponent& operator=(const MidiComponent&) = delete;

  std::uint16_t GetMaxMidiVersion() const { return Version; }
  // The counts also refresh the lists that the descriptions read.
  int GetNumOutDevices();
  int GetNumInDevices();
  // Copies the device's name, cut to fit and NUL-terminated, into `text` (of
  // DescriptionSize characters); non-zero on success.
  int GetMidiOutDescription(int device, char* text);
  int GetMidiInDescription(int device, char* text);

  // Arguments that this component has no use for (a sync mode, a buffer
  // size) are accepted and not used, so every caller passes the same shape.
  std::uint32_t OpenSync(int, MidiMessageTarget* window, int, int);
  std::uint32_t OpenMidiOut(MidiMessageTarget* window, std::uint16_t device, std::uint32_t sync,
                            int);
  std::uint32_t OpenMidiIn(MidiMessageTarget* window, std::uint16_t device, int, int);
  // 0 when queued; non-zero when refused (queue full, or no such output).
  std::uint32_t PutMidiOut(std::uint32_t out, const MidiEvent& event);
  // Gives back the newest queued events due `leadMicros` or more from now, at
  // most `most` of them, for the writer to put again (see MidiScheduler::takeBack).
  TakenBack TakeBackMidiOut(std::uint32_t out, std::int64_t leadMicros, std::size_t most);
  void SetTempo(std::uint32_t sync, std::int32_t microsPerQuarter);
  void StartSync(std::uint32_t sync);
  void PauseSync(std::uint32_t sync, int);
  void ReStartSync(std::uint32_t sync);
  // Ends playing, discards the queue and silences every sounding note.
  void StopSync(std::uint32_t sync);
  // Discards the queue and silences every sounding note; the clock keeps its state.
  void FlushMidiOut(std::uint32_t out);
  void CloseSync(std::uint32_t sync);
  void CloseMidiIn(std::uint32_t in);
  void CloseMidiOut(std::uint32_t out);
  // Passes a voice choice to the open output ahead of play (see
  // MidiOutputDevice::preload), and asks whether the output has started up.
  void preloadVoice(std::uint32_t out, int channel, int program);
  bool outputReady(std::uint32_t out);
  // Whether the open output knows it plays nothing (see MidiOutputDevice::silent).
  bool outputSilent(std::uint32_t out);

  // True when the message was posted after the last stop or flush. The window
  // checks this on delivery and drops the rest.
  bool isCurrent(const MidiMessage& message) const { return message.epoch == epoch_.load(); }

  // Virtual clock only: sets the clock to each due time in turn up to `micros`
  // and plays what is due there. Returns false when nothing was due.
  bool advanceTo(std::int64_t micros);
  // The time of the next thing due, or MidiScheduler::Never.
  std::int64_t nextDue() const;
  std::size_t queued() const;

 private:
  using Actions = std::vector<MidiScheduler::Action>;
  // What a batch of actions was made under: later stops, flushes and
  // withdrawals make its writes stale.
  struct Made {
    std::uint64_t epoch = 0;
    MidiScheduler::Handover handover;
  };
  Made made() const { return {scheduler_.epoch(), scheduler_.handover()}; }
  void perform(const Actions& actions, const Made& made);
  // Publishes the scheduler's withdrawals and passes one on to the device.
  void noteWithdrawals();
  void applyWithdrawal();
  void silenceOutput();
  void run();  // the clock thread
  void stopThread();
  bool validSync(std::uint32_t h) const { return h != 0 && h == syncHandle_; }
  bool validOut(std::uint32_t h) const { return h != 0 && h == outHandle_; }

  Clock& clock_;
  MidiDeviceProvider& devices_;
  std::vector<std::string> outNames_, inNames_;
  bool listed_ = false;

  mutable std::mutex mutex_;  // the scheduler and the handles
  std::condition_variable wake_;
  MidiScheduler scheduler_;
  std::atomic<std::uint64_t> epoch_;
  std::atomic<std::uint64_t> withdrawals_{0};
  std::uint32_t nextHandle_ = 1;
  std::uint32_t syncHandle_ = 0, outHandle_ = 0, inHandle_ = 0;
  std::atomic<MidiMessageTarget*> target_{nullptr};
  bool quit_ = false;
  std::thread thread_;

  std::mutex deviceMutex_;  // the open devices
  std::unique_ptr<MidiOutputDevice> output_;
  std::unique_ptr<MidiInputDevice> input_;
  std::uint64_t anchoredStarts_ = 0;  // the start the output was last anchored for
  std::uint64_t withdrawnSeen_ = 0;   // the last withdrawal passed to the output
};
