#include "midi/StandardMidiFile.h"

#include <algorithm>
#include <fstream>
#include <string_view>

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

// One track's bytes: its events at absolute ticks, and where it ends.
struct TrackBytes {
  std::string Bytes;
  std::uint32_t At = 0;
  void event(std::uint32_t tick, std::string_view bytes) {
    varLen(Bytes, tick - At);
    At = tick;
    Bytes += bytes;
  }
  void meta(std::uint32_t tick, std::uint8_t type, std::string_view text) {
    std::string head("\xFF", 1);
    head.push_back(static_cast<char>(type));
    varLen(head, static_cast<std::uint32_t>(text.size()));
    event(tick, head + std::string(text));
  }
};

std::string chunk(const TrackBytes& track, std::uint32_t end) {
  TrackBytes closed = track;
  closed.event(end, std::string_view("\xFF\x2F\x00", 3));
  std::string out = "MTrk";
  be32(out, static_cast<std::uint32_t>(closed.Bytes.size()));
  return out + closed.Bytes;
}

std::string tempoBytes(std::int32_t microsPerQuarter) {
  const auto tempo = static_cast<std::uint32_t>(std::clamp(microsPerQuarter, 1, 0xFFFFFF));
  std::string bytes;
  bytes.push_back(static_cast<char>(tempo >> 16 & 0xFF));
  bytes.push_back(static_cast<char>(tempo >> 8 & 0xFF));
  bytes.push_back(static_cast<char>(tempo & 0xFF));
  return bytes;
}

std::string channelBytes(const MidiEvent& e) {
  std::string bytes;
  bytes.push_back(static_cast<char>(e.Status));
  bytes.push_back(static_cast<char>(e.Data1 & 0x7F));
  const std::uint8_t kind = e.Status & 0xF0;
  if (kind != 0xC0 && kind != 0xD0) bytes.push_back(static_cast<char>(e.Data2 & 0x7F));
  return bytes;
}

}  // namespace

std::string StandardMidiFile::build(const std::vector<MidiEvent>& events,
                                    std::int32_t microsPerQuarter, const Layout& layout) {
  std::vector<Layout::Track> names = layout.Tracks;
  if (names.empty()) names.push_back({});
  std::vector<TrackBytes> tracks(names.size());
  TrackBytes first;
  first.meta(0, 0x51, tempoBytes(microsPerQuarter));
  // n/4, a click every quarter, eight 32nds to the quarter.
  const int beats = std::clamp(layout.BeatsPerBar, 1, 32);
  first.meta(0, 0x58, std::string{static_cast<char>(beats), 2, 24, 8});
  for (std::size_t t = 0; t < names.size(); ++t)
    if (!names[t].Name.empty()) tracks[t].meta(0, 0x03, names[t].Name);

  std::uint32_t tick = 0;
  std::string lastName;
  for (const MidiEvent& e : events) {
    tick += static_cast<std::uint32_t>(std::max<std::int32_t>(e.Time, 0));
    if (e.Status == EventChordStruck) {
      if (e.Data1 < layout.ChordNames.size() && !layout.ChordNames[e.Data1].empty() &&
          layout.ChordNames[e.Data1] != lastName) {
        lastName = layout.ChordNames[e.Data1];
        first.meta(tick, 0x06, lastName);
      }
      continue;
    }
    if (e.Status < 0x80 || e.Status >= 0xF0) continue;
    const auto owner = std::find_if(names.begin(), names.end(), [&](const Layout::Track& t) {
      return t.Channel == (e.Status & 0x0F);
    });
    const std::size_t index =
        owner == names.end() ? 0 : static_cast<std::size_t>(owner - names.begin());
    tracks[index].event(tick, channelBytes(e));
  }

  std::string file = "MThd";
  be32(file, 6);
  file += std::string("\x00\x01", 2);  // format 1
  const auto count = static_cast<std::uint16_t>(tracks.size() + 1);
  file.push_back(static_cast<char>(count >> 8));
  file.push_back(static_cast<char>(count & 0xFF));
  file.push_back(static_cast<char>(TicksPerQuarter >> 8));
  file.push_back(static_cast<char>(TicksPerQuarter & 0xFF));
  file += chunk(first, tick);
  for (const TrackBytes& t : tracks) file += chunk(t, tick);
  return file;
}

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
