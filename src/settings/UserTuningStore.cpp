#include "settings/UserTuningStore.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "music/NameTables.h"
#include "settings/GeneralMidiVoices.h"

namespace {

const char* const CountKey = "Number";

std::string nameKey(std::size_t n) {
  return "Name" + std::to_string(n + 1);
}

std::string notesKey(std::size_t n) {
  return "Notes" + std::to_string(n + 1);
}

// Six whole numbers on the neck, separated by blanks, lowest string first.
bool parseNotes(std::string_view text, Tuning& notes) {
  const char* p = text.data();
  const char* const end = text.data() + text.size();
  for (int s = StringCount - 1; s >= 0; --s) {
    while (p != end && *p == ' ') ++p;
    int value = 0;
    const auto [next, error] = std::from_chars(p, end, value);
    if (error != std::errc() || next == p) return false;
    if (next != end && *next != ' ') return false;
    if (value < LowestNote || value > HighestNote) return false;
    p = next;
    notes[static_cast<std::size_t>(s)] = static_cast<std::uint8_t>(value);
  }
  while (p != end && *p == ' ') ++p;
  return p == end;
}

std::string notesText(const Tuning& notes) {
  std::string text;
  for (int s = StringCount - 1; s >= 0; --s) {
    text += std::to_string(notes[static_cast<std::size_t>(s)]);
    if (s > 0) text += ' ';
  }
  return text;
}

auto findNamed(std::vector<NamedTuning>& list, std::string_view name) {
  return std::ranges::find_if(list,
                              [&](const NamedTuning& t) { return sameTuningName(t.Name, name); });
}

void write(ProfileFile& file, ProfileFile::Contents& f, const std::vector<NamedTuning>& list) {
  // Written afresh, so entries the read passed over do not linger.
  f.eraseSection(UserTuningStore::Section);
  f.writeInteger(UserTuningStore::Section, CountKey, static_cast<int>(list.size()));
  for (std::size_t n = 0; n < list.size(); ++n) {
    f.writeString(UserTuningStore::Section, nameKey(n), list[n].Name);
    f.writeString(UserTuningStore::Section, notesKey(n), notesText(list[n].Notes));
  }
  GeneralMidiVoices::restore(f);
  file.save(f);
}

}  // namespace

namespace UserTuningStore {

std::string storableName(std::string_view name) {
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name.empty() || name.size() > TuningNameLength) return {};
  const bool printable = std::ranges::none_of(name, [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
  });
  return printable ? std::string(name) : std::string();
}

std::vector<NamedTuning> read(const ProfileFile::Contents& file) {
  std::vector<NamedTuning> list;
  const int count = std::clamp(file.readInteger(Section, CountKey, 0), 0, MaxTunings);
  for (int n = 0; n < count; ++n) {
    const std::string stored = file.readString(Section, nameKey(std::size_t(n)), "");
    NamedTuning t{storableName(stored), {}};
    // A name the file holds with blanks around it was not written by us.
    if (t.Name.empty() || t.Name != stored || presetNamed(t.Name) ||
        findNamed(list, t.Name) != list.end())
      continue;
    if (!parseNotes(file.readString(Section, notesKey(std::size_t(n)), ""), t.Notes)) continue;
    list.push_back(std::move(t));
  }
  return list;
}

SaveResult save(ProfileFile& file, std::string_view name, const Tuning& notes) {
  const std::string stored = storableName(name);
  if (stored.empty() || !tuningOnNeck(notes)) return SaveResult::BadName;
  if (presetNamed(stored)) return SaveResult::BuiltInName;
  auto f = file.read();
  std::vector<NamedTuning> list = read(f);
  auto same = findNamed(list, stored);
  const bool replacing = same != list.end();
  if (replacing) {
    *same = {stored, notes};
  } else {
    if (list.size() >= std::size_t(MaxTunings)) return SaveResult::Full;
    list.push_back({stored, notes});
  }
  write(file, f, list);
  return replacing ? SaveResult::Replaced : SaveResult::Added;
}

bool remove(ProfileFile& file, std::string_view name) {
  auto f = file.read();
  std::vector<NamedTuning> list = read(f);
  const auto found = findNamed(list, storableName(name));
  if (found == list.end()) return false;
  list.erase(found);
  write(file, f, list);
  return true;
}

}  // namespace UserTuningStore
