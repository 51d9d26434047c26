#include "midi/WavFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

namespace {

void put16(std::string& s, std::uint16_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}
void put32(std::string& s, std::uint32_t v) {
  put16(s, static_cast<std::uint16_t>(v & 0xFFFF));
  put16(s, static_cast<std::uint16_t>(v >> 16));
}
std::uint32_t get32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}
std::uint16_t get16(const std::string& s, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                    static_cast<unsigned char>(s[at + 1]) << 8);
}

}  // namespace

std::string WavFile::bytes() const {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::string out;
  out.reserve(44 + dataBytes);
  out += "RIFF";
  put32(out, 36 + dataBytes);
  out += "WAVEfmt ";
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, static_cast<std::uint16_t>(channels));
  put32(out, static_cast<std::uint32_t>(sampleRate));
  put32(out, static_cast<std::uint32_t>(sampleRate * channels * 2));
  put16(out, static_cast<std::uint16_t>(channels * 2));
  put16(out, 16);
  out += "data";
  put32(out, dataBytes);
  for (float f : samples) {
    const long v = std::lround(std::clamp(f, -1.0f, 1.0f) * 32767.0f);
    put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
  }
  return out;
}

bool WavFile::write(const std::string& path) const {
  const std::string out = bytes();
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  file.close();
  return static_cast<bool>(file);
}

bool WavFile::read(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  const std::string s((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (s.size() < 12 || s.compare(0, 4, "RIFF") != 0 || s.compare(8, 4, "WAVE") != 0) return false;
  bool haveFormat = false;
  std::uint16_t format = 0, bits = 0;
  for (std::size_t at = 12; at + 8 <= s.size();) {
    const std::string id = s.substr(at, 4);
    const std::uint32_t size = get32(s, at + 4);
    const std::size_t body = at + 8;
    if (body + size > s.size() && id != "data") return false;
    if (id == "fmt " && size >= 16) {
      format = get16(s, body);
      bits = get16(s, body + 14);
      // 16-bit PCM, or 32-bit float (also behind the extensible format tag).
      if (format == 0xFFFE && size >= 26) format = get16(s, body + 24);
      if (!((format == 1 && bits == 16) || (format == 3 && bits == 32))) return false;
      channels = get16(s, body + 2);
      sampleRate = static_cast<int>(get32(s, body + 4));
      haveFormat = channels > 0;
    } else if (id == "data" && haveFormat) {
      const std::size_t width = bits / 8;
      const std::size_t n = std::min<std::size_t>(size, s.size() - body) / width;
      samples.resize(n);
      for (std::size_t i = 0; i < n; ++i) {
        if (format == 1) {
          samples[i] = static_cast<std::int16_t>(get16(s, body + 2 * i)) / 32768.0f;
        } else {
          const std::uint32_t v = get32(s, body + 4 * i);
          std::memcpy(&samples[i], &v, sizeof v);
        }
      }
      return true;
    }
    at = body + size + (size & 1);
  }
  return false;
}
