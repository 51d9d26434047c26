#include "settings/UserChordStore.h"

#include <string>

#include "settings/GeneralMidiVoices.h"

namespace {

const char* const CountSection = "UserChords";
const char* const CountKey = "Number";
const char* const IntervalKeys[7] = {"I0", "I1", "I2", "I3", "I4", "I5", "I6"};

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

namespace UserChordStore {

TChordFormula read(const ProfileFile::Contents& file, int section) {
  const std::string name = std::to_string(section);
  UserIntervals stored;
  for (std::size_t k = 0; k < stored.size(); ++k)
    stored[k] = file.readInteger(name, IntervalKeys[k], NoUserInterval);
  return userChordFormula(file.readString(name, "Name", DefaultUserChordName),
                          file.readString(name, "Formula", ""), stored);
}

std::string add(ProfileFile& file, int section, std::string_view name, std::string_view formula,
                const UserIntervals& intervals) {
  auto f = file.read();
  std::string stored(trimmed(name).substr(0, UserChordNameLength));
  if (stored.empty()) stored = DefaultUserChordName;
  const std::string key = std::to_string(section);
  f.writeInteger(CountSection, CountKey, f.readInteger(CountSection, CountKey, 0) + 1);
  f.writeString(key, "Name", stored);
  f.writeString(key, "Formula", trimmed(formula).substr(0, UserChordFormulaLength));
  for (std::size_t k = 0; k < intervals.size(); ++k)
    f.writeInteger(key, IntervalKeys[k], intervals[k]);
  GeneralMidiVoices::restore(f);
  file.save(f);
  return stored;
}

bool remove(ProfileFile& file, int item, int itemCount) {
  auto f = file.read();
  const int count = f.readInteger(CountSection, CountKey, 0);
  if (count <= 0) return false;
  for (int c = item; c <= itemCount - 2; ++c) {
    const std::string from = std::to_string(c + 1);
    const std::string to = std::to_string(c);
    for (const char* k : IntervalKeys)
      f.writeInteger(to, k, f.readInteger(from, k, NoUserInterval));
    f.writeString(to, "Formula", f.readString(from, "Formula", ""));
    f.writeString(to, "Name", f.readString(from, "Name", DefaultUserChordName));
  }
  f.eraseSection(std::to_string(itemCount - 1));
  f.writeInteger(CountSection, CountKey, count - 1);
  GeneralMidiVoices::restore(f);
  file.save(f);
  return true;
}

}  // namespace UserChordStore
