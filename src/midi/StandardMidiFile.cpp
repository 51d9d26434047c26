#include "midi/StandardMidiFile.h"

#include <algorithm>
#include <fstream>

namespace {

void varLen(std::string& s, std::uint32_t v) {
  char buf[5];
  int n = 0;
  buf[n++] = static_cast<char>(v & 0x7F);
  while (v >>= 7) buf[n++] = static_cast<char>(0x80 | (v & 0x7F));
  while (n) s.push_back(buf[--n]);
}

void be32(std::string& s, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) s.push_back(static_cast<char>(v >> shift & 0xFF));
}

}  // namespace

std::string StandardMidiFile::build(const std::vector<MidiEvent>& events,
                                    std::int32_t microsPerQuarter) {
  std::string track;
  const auto tempo = static_cast<std::uint32_t>(std::clamp(microsPerQuarter, 1, 0xFFFFFF));
  track += std::string("\x00\xFF\x51\x03", 4);
  track.push_back(static_cast<char>(tempo >> 16 & 0xFF));
  track.push_back(static_cast<char>(tempo >> 8 & 0xFF));
  track.push_back(static_cast<char>(tempo & 0xFF));
  std::uint32_t pending = 0;
  for (const MidiEvent& e : events) {
    pending += static_cast<std::uint32_t>(std::max<std::int32_t>(e.Time, 0));
    if (e.Status < 0x80 || e.Status >= 0xF0) continue;
    varLen(track, pending);
    pending = 0;
    track.push_back(static_cast<char>(e.Status));
    track.push_back(static_cast<char>(e.Data1 & 0x7F));
    const std::uint8_t kind = e.Status & 0xF0;
    if (kind != 0xC0 && kind != 0xD0) track.push_back(static_cast<char>(e.Data2 & 0x7F));
  }
  varLen(track, pending);
  track += std::string("\xFF\x2F\x00", 3);

  std::string file = "MThd";
  be32(file, 6);
  file += std::string("\x00\x00\x00\x01", 4);  // format 0, one track
  file.push_back(static_cast<char>(TicksPerQuarter >> 8));
  file.push_back(static_cast<char>(TicksPerQuarter & 0xFF));
  file += "MTrk";
  be32(file, static_cast<std::uint32_t>(track.size()));
  return file + track;
}

bool StandardMidiFile::write(const std::string& path, const std::vector<MidiEvent>& events,
                             std::int32_t microsPerQuarter) {
  const std::string data = build(events, microsPerQuarter);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  out.close();
  return static_cast<bool>(out);
}
