#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Interleaved float audio kept for a WAV file: written as 16-bit PCM, read
// from 16-bit PCM or 32-bit float files (ours and FluidSynth's own).
class WavFile {
 public:
  int sampleRate = 44100;
  int channels = 2;
  std::vector<float> samples;  // interleaved, -1..1

  std::size_t frames() const { return channels ? samples.size() / channels : 0; }
  // The whole file as 16-bit PCM.
  std::string bytes() const;
  // Straight to `path`, for tests and tools; exports write bytes() through a FileLayer.
  bool write(const std::string& path) const;
  // False when the file is missing or in another format.
  bool read(const std::string& path);
};
