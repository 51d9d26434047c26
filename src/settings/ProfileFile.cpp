#include "settings/ProfileFile.h"

#include <SimpleIni.h>

#include <algorithm>
#include <cstdint>

#include "files/FileLayer.h"

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The text with the damage SimpleIni would make worse at every save made into
// what a reader of the file sees in it; ordinary text is left as it is.
// - A header missing its "]": SimpleIni skips the line but keeps the section
//   name running on to the next key, so that key lands in a section named
//   "Main\nSspeed", which is saved as one more broken header line each time
//   while the program adds the key again. The "]" is added.
// - A NUL byte: SimpleIni stops reading there, and the next save drops the
//   rest of the file. The byte is dropped.
// - A byte-order mark at the start of a line (other than the file's first,
//   which SimpleIni takes itself): SimpleIni makes it part of the key's name,
//   or of a header it then no longer sees. The mark is dropped.
// SimpleIni ends a line at "\r" as well as at "\n".
std::string mended(std::string_view in) {
  std::string out;
  out.reserve(in.size() + 1);
  if (in.starts_with(Bom)) {
    out = Bom;
    in.remove_prefix(Bom.size());
  }
  while (!in.empty()) {
    const std::size_t end = std::min(in.find_first_of("\r\n"), in.size());
    std::string line(in.substr(0, end));
    std::erase(line, '\0');
    std::size_t start = line.find_first_not_of(" \t");
    while (start != std::string::npos && std::string_view(line).substr(start).starts_with(Bom)) {
      line.erase(start, Bom.size());
      start = line.find_first_not_of(" \t");
    }
    if (start != std::string::npos && line[start] == '[' &&
        line.find(']', start) == std::string::npos)
      line += ']';
    out += line;
    out.append(in.substr(end, 1));
    in.remove_prefix(std::min(end + 1, in.size()));
  }
  return out;
}

// Text that reads back as itself where a name or value stands: SimpleIni ends
// a line at "\r" or "\n", takes a C string, and trims blanks around names and values.
bool fitsOnItsLine(std::string_view s) {
  if (s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
  return s.empty() ||
         (s.front() != ' ' && s.front() != '\t' && s.back() != ' ' && s.back() != '\t');
}

bool validSection(std::string_view s) {
  return !s.empty() && fitsOnItsLine(s) && s.find(']') == std::string_view::npos;
}

bool validKey(std::string_view k) {
  return !k.empty() && fitsOnItsLine(k) && !k.starts_with(Bom) &&
         k.find('=') == std::string_view::npos && k.front() != '[' && k.front() != ';' &&
         k.front() != '#';
}

}  // namespace

struct ProfileFile::Contents::Ini {
  // Bytes as they are (no conversion), one value a key, no "<<<" blocks, and
  // "key=value" without spaces.
  CSimpleIniA si{true, false, false};
  Ini() { si.SetSpaces(false); }
  std::string saved() const {
    std::string out;
    si.Save(out);
    return out;
  }
  const char* value(std::string_view section, std::string_view key) const {
    return si.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
  }
};

ProfileFile::Contents::Contents() : ini_(std::make_unique<Ini>()) {}

ProfileFile::Contents::Contents(std::string_view text) : Contents() {
  failed_ = ini_->si.LoadData(mended(text)) < 0;
}

ProfileFile::Contents::Contents(Contents&&) noexcept = default;
ProfileFile::Contents& ProfileFile::Contents::operator=(Contents&&) noexcept = default;
ProfileFile::Contents::~Contents() = default;

ProfileFile::Contents ProfileFile::Contents::unreadable() {
  Contents c;
  c.failed_ = true;
  return c;
}

int ProfileFile::Contents::readInteger(std::string_view section, std::string_view key,
                                       int defaultValue) const {
  const char* text = ini_->value(section, key);
  int value = 0;
  if (!text || !parseInteger(text, value)) return defaultValue;
  return value;
}

bool ProfileFile::Contents::readBool(std::string_view section, std::string_view key,
                                     bool defaultValue) const {
  return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::string ProfileFile::Contents::readString(std::string_view section, std::string_view key,
                                              std::string_view defaultValue) const {
  const char* text = ini_->value(section, key);
  std::string value = text ? std::string(text) : std::string(defaultValue);
  if (value.size() > MaxStringLength) value.resize(MaxStringLength);
  return value;
}

std::vector<std::string> ProfileFile::Contents::readKeyNames(std::string_view section) const {
  CSimpleIniA::TNamesDepend keys;
  std::vector<std::string> names;
  if (!ini_->si.GetAllKeys(std::string(section).c_str(), keys)) return names;
  keys.sort(CSimpleIniA::Entry::LoadOrder());
  for (const auto& e : keys) names.emplace_back(e.pItem);
  return names;
}

bool ProfileFile::Contents::hasSection(std::string_view section) const {
  return ini_->si.GetSection(std::string(section).c_str()) != nullptr;
}

void ProfileFile::Contents::writeInteger(std::string_view section, std::string_view key,
                                         int value) {
  writeString(section, key, std::to_string(value));
}

void ProfileFile::Contents::writeBool(std::string_view section, std::string_view key, bool value) {
  writeInteger(section, key, value ? 1 : 0);
}

void ProfileFile::Contents::writeString(std::string_view section, std::string_view key,
                                        std::string_view value) {
  if (!validSection(section) || !validKey(key) || !fitsOnItsLine(value)) {
    refused_ = true;
    return;
  }
  const char* old = ini_->value(section, key);
  if (old && value == old) return;
  const std::string s(section), k(key), v(value);
  if (ini_->si.SetValue(s.c_str(), k.c_str(), v.c_str()) < 0)
    refused_ = true;
  else
    changed_ = true;
}

void ProfileFile::Contents::eraseSection(std::string_view section) {
  if (ini_->si.Delete(std::string(section).c_str(), nullptr)) changed_ = true;
}

void ProfileFile::Contents::addMissingSections(const Contents& from) {
  const CSimpleIniA& src = from.ini_->si;
  CSimpleIniA& dst = ini_->si;
  CSimpleIniA::TNamesDepend sections;
  src.GetAllSections(sections);
  sections.sort(CSimpleIniA::Entry::LoadOrder());
  for (const auto& section : sections) {
    if (!*section.pItem || dst.GetSection(section.pItem)) continue;
    dst.SetValue(section.pItem, nullptr, nullptr, section.pComment);
    CSimpleIniA::TNamesDepend keys;
    src.GetAllKeys(section.pItem, keys);
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    for (const auto& key : keys)
      dst.SetValue(section.pItem, key.pItem, src.GetValue(section.pItem, key.pItem), key.pComment);
    changed_ = true;
  }
}

std::string ProfileFile::Contents::text() const {
  std::string out = ini_->saved();
  // SimpleIni does not always read its own layout back the same: a comment
  // before the first entry becomes the file's comment, an empty nameless
  // section leaves only blank lines. The text is written as it settles, so
  // the next save of the same keys gives the same bytes.
  for (int round = 0; round < 4; ++round) {
    std::string again = Contents(out).ini_->saved();
    if (again == out) break;
    out = std::move(again);
  }
  return out;
}

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

ProfileFile::Contents ProfileFile::read() const {
  const auto text = files_.readAtMost(path_, LargestFile + 1);
  if (text && text->size() > LargestFile) return Contents::unreadable();
  if (text) return Contents(*text);
  // Missing: an empty file; there but unreadable: never to be replaced.
  return files_.exists(path_) ? Contents::unreadable() : Contents();
}

void ProfileFile::save(const Contents& contents) {
  if (contents.failed() || contents.refused()) {
    writeFailed_ = true;
    throw ProfileWriteError(path_);
  }
  if (!contents.changed()) return;
  const std::string text = contents.text();
  const auto temp = files_.writeTemporary(path_, text);
  const auto back = temp ? files_.read(*temp) : std::nullopt;
  if (!back || *back != text || !files_.replace(*temp, path_)) {
    if (temp) files_.remove(*temp);
    writeFailed_ = true;
    throw ProfileWriteError(path_);
  }
}

int ProfileFile::readInteger(std::string_view section, std::string_view key,
                             int defaultValue) const {
  return read().readInteger(section, key, defaultValue);
}

bool ProfileFile::readBool(std::string_view section, std::string_view key,
                           bool defaultValue) const {
  return read().readBool(section, key, defaultValue);
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  return read().readString(section, key, defaultValue);
}

std::vector<std::string> ProfileFile::readKeyNames(std::string_view section) const {
  return read().readKeyNames(section);
}

bool ProfileFile::hasSection(std::string_view section) const {
  return read().hasSection(section);
}

void ProfileFile::writeInteger(std::string_view section, std::string_view key, int value) {
  Contents c = read();
  c.writeInteger(section, key, value);
  save(c);
}

void ProfileFile::writeBool(std::string_view section, std::string_view key, bool value) {
  Contents c = read();
  c.writeBool(section, key, value);
  save(c);
}

void ProfileFile::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
  Contents c = read();
  c.writeString(section, key, value);
  save(c);
}

void ProfileFile::eraseSection(std::string_view section) {
  Contents c = read();
  c.eraseSection(section);
  save(c);
}
