#pragma once

#include <fluidsynth.h>

#include <cstdint>
#include <string>
#include <vector>

#include "midi/WavFile.h"
#include "play/MidiEvent.h"

// Plays a run of player events through the MIDI component on a virtual clock
// into FluidSynth, without an audio device, and keeps the audio. Each event is
// applied where its due time falls in the sample stream; FluidSynth starts
// changes on its 64-sample block boundaries, and the renderer stops short of
// the event by half a block so the change lands on the nearest boundary.
class OfflineRenderer {
 public:
  // Without effects the render is dry: no reverb or chorus tail carries from
  // one render into the next, and a note's first sample is its onset.
  explicit OfflineRenderer(const std::string& soundFont, int sampleRate = 44100,
                           bool effects = false);
  ~OfflineRenderer();
  OfflineRenderer(const OfflineRenderer&) = delete;
  OfflineRenderer& operator=(const OfflineRenderer&) = delete;

  bool ready() const { return fontId_ >= 0; }
  int sampleRate() const { return sampleRate_; }

  // The events as a player writes them (Time in ticks since the one before),
  // at `microsPerQuarter`, followed by `tailSeconds` of release. The queue is
  // refilled on its room message, as a player would.
  WavFile render(const std::vector<MidiEvent>& events, std::int32_t microsPerQuarter,
                 double tailSeconds = 1.0);

  // Where an event's time lands in the audio.
  std::int64_t sampleAt(std::int64_t micros) const;

  // Renders up to `frame` (not beyond what was asked) into the current output.
  void renderTo(std::int64_t frame);
  void apply(const std::uint8_t* bytes, std::size_t length, std::int64_t micros);

 private:
  int sampleRate_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  int fontId_ = -1;
  WavFile* out_ = nullptr;  // the render in progress
};
