#include "settings/ProfileFile.h"

#include <SimpleIni.h>

#include <algorithm>
#include <cstdint>
#include <list>

#include "settings/FileLayer.h"

namespace {

bool loadIni(CSimpleIniA& ini, FileLayer& files, const std::string& path) {
  ini.SetUnicode(true);
  ini.SetSpaces(false);
  ini.SetMultiKey(false);
  const auto text = files.read(path);
  if (!text) return !files.exists(path);  // missing: an empty file; unreadable: fail
  return ini.LoadData(*text) >= 0;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A value on one line: the file is line-based, so a line break would start a
// new key of the caller's making.
std::string oneLine(std::string_view v) {
  std::string s(v);
  std::replace_if(
      s.begin(), s.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  return s;
}

}  // namespace

ProfileWriteError::ProfileWriteError(const std::string& path)
    : std::runtime_error("Unable to write to " + path), path_(path) {}

ProfileFile::ProfileFile(std::string path, FileLayer& files)
    : path_(std::move(path)), files_(files) {}

bool ProfileFile::parseInteger(std::string_view t, int& value) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  bool negative = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  bool hex = false;
  if (t.starts_with("0x") || t.starts_with("0X")) {
    hex = true;
    t.remove_prefix(2);
  } else if (t.starts_with('$')) {
    hex = true;
    t.remove_prefix(1);
  }
  if (t.empty()) return false;
  std::uint64_t v = 0;
  if (hex) {
    // Up to 32 bits, taken as a signed 32-bit pattern ("$FFFFFFFF" is -1).
    if (t.size() > 8) return false;
    for (char c : t) {
      const int d = hexDigit(c);
      if (d < 0) return false;
      v = v * 16 + static_cast<unsigned>(d);
    }
    auto bits = static_cast<std::uint32_t>(v);
    if (negative) bits = 0u - bits;
    value = static_cast<std::int32_t>(bits);
    return true;
  }
  for (char c : t) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<unsigned>(c - '0');
    if (v > 2147483648ull) return false;
  }
  if (!negative && v > 2147483647ull) return false;
  value = negative ? static_cast<int>(-static_cast<std::int64_t>(v)) : static_cast<int>(v);
  return true;
}

std::string ProfileFile::rawValue(std::string_view section, std::string_view key,
                                  bool& found) const {
  found = false;
  CSimpleIniA ini;
  if (!loadIni(ini, files_, path_)) return {};
  const std::string s(section), k(key);
  const char* v = ini.GetValue(s.c_str(), k.c_str(), nullptr);
  if (!v) return {};
  found = true;
  return v;
}

int ProfileFile::readInteger(std::string_view section, std::string_view key,
                             int defaultValue) const {
  bool found = false;
  const std::string text = rawValue(section, key, found);
  int value = 0;
  if (!found || !parseInteger(text, value)) return defaultValue;
  return value;
}

bool ProfileFile::readBool(std::string_view section, std::string_view key,
                           bool defaultValue) const {
  return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  bool found = false;
  std::string text = rawValue(section, key, found);
  if (!found) text = std::string(defaultValue);
  if (text.size() > MaxStringLength) text.resize(MaxStringLength);
  return text;
}

std::vector<std::string> ProfileFile::readKeyNames(std::string_view section) const {
  CSimpleIniA ini;
  std::vector<std::string> names;
  if (!loadIni(ini, files_, path_)) return names;
  CSimpleIniA::TNamesDepend keys;
  const std::string s(section);
  if (!ini.GetAllKeys(s.c_str(), keys)) return names;
  keys.sort(CSimpleIniA::Entry::LoadOrder());
  for (const auto& e : keys) names.emplace_back(e.pItem);
  return names;
}

bool ProfileFile::hasSection(std::string_view section) const {
  CSimpleIniA ini;
  if (!loadIni(ini, files_, path_)) return false;
  const std::string s(section);
  return ini.GetSection(s.c_str()) != nullptr;
}

void ProfileFile::writeInteger(std::string_view section, std::string_view key, int value) {
  const std::string text = std::to_string(value);
  update(section, key, &text);
}

void ProfileFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeInteger(section, key, value ? 1 : 0);
}

void ProfileFile::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
  const std::string text = oneLine(value);
  update(section, key, &text);
}

void ProfileFile::eraseSection(std::string_view section) {
  update(section, {}, nullptr);
}

void ProfileFile::update(std::string_view section, std::string_view key, const std::string* value) {
  CSimpleIniA ini;
  // A file that exists but cannot be read is not replaced by one holding a
  // single key.
  if (!loadIni(ini, files_, path_)) throw ProfileWriteError(path_);
  const std::string s(section), k(key);
  if (value) {
    if (ini.SetValue(s.c_str(), k.c_str(), value->c_str()) < 0) throw ProfileWriteError(path_);
  } else if (key.empty()) {
    ini.Delete(s.c_str(), nullptr);
  } else {
    ini.Delete(s.c_str(), k.c_str());
  }
  std::string data;
  if (ini.Save(data) < 0) throw ProfileWriteError(path_);

  const std::string temp = path_ + ".tmp";
  const bool written = files_.writeDurably(temp, data);
  const auto back = written ? files_.read(temp) : std::nullopt;
  if (!back || *back != data || !files_.replace(temp, path_)) {
    files_.remove(temp);
    throw ProfileWriteError(path_);
  }
}
