#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Interleaved float audio kept for a WAV file: written as 16-bit PCM, read back
// from 16-bit PCM files (ours and FluidSynth's own).
class WavFile {
 public:
  int sampleRate = 44100;
  int channels = 2;
  std::vector<float> samples;  // interleaved, -1..1

  std::size_t frames() const { return channels ? samples.size() / channels : 0; }
  bool write(const std::string& path) const;
  // False when the file is missing or not 16-bit PCM.
  bool read(const std::string& path);
};
