#pragma once

#include <cstdint>
#include <vector>

#include "play/PlayerSettings.h"

class MidiComponent;
class MidiMessageTarget;

// The three handles the program keeps open from start-up to shutdown: the
// clock, the output and the input. With no output device nothing is opened
// and all three stay 0, which the players read as "no MIDI output". The
// voices the players will choose are handed to every output opened, so that a
// synthesiser loading its sounds on demand has them in before the first note.
class MidiSession {
 public:
  struct Voice {
    int channel;
    int program;
  };

  // The voices the players choose with these settings: guitar and bass
  // patches on their channels, the drum kit on the click channel.
  static std::vector<Voice> voicesOf(const PlayerSettings& players);

  explicit MidiSession(MidiComponent& midi) : midi_(midi) {}
  ~MidiSession() { close(); }
  MidiSession(const MidiSession&) = delete;
  MidiSession& operator=(const MidiSession&) = delete;

  // The start-up order: clock, output on `outDevice`, input on `inDevice`.
  void open(MidiMessageTarget* window, std::uint16_t outDevice, std::uint16_t inDevice,
            std::vector<Voice> voices = {});
  // Shutdown: clock, input, output, each only when open.
  void close();
  // MIDI setup: a port that is open is closed and opened on the new device;
  // an input that is closed stays closed. An output that failed to open at
  // start-up is opened on the new device: the user chose it to hear sound.
  void reopenIn(MidiMessageTarget* window, std::uint16_t device);
  void reopenOut(MidiMessageTarget* window, std::uint16_t device);
  // New voices chosen: kept for later outputs and loaded into the open one.
  void setVoices(std::vector<Voice> voices);

  MidiComponent& component() { return midi_; }
  std::uint32_t sync() const { return sync_; }
  std::uint32_t out() const { return out_; }
  std::uint32_t in() const { return in_; }
  // True once the output is open and has started up.
  bool soundReady() const;
  // True when the open output is known to play nothing (no soundfont).
  bool soundMissing() const;

 private:
  MidiComponent& midi_;
  void preload();

  std::uint32_t sync_ = 0, out_ = 0, in_ = 0;
  std::vector<Voice> voices_;
};
