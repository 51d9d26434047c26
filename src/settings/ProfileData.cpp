#include "settings/ProfileData.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string fold(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Text that reads back as itself where a name or value stands.
bool fitsOnItsLine(std::string_view s) {
  if (s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
  return s.empty() || (s.front() != ' ' && s.front() != '\t' && s.back() != ' ' && s.back() != '\t');
}

bool validSection(std::string_view s) {
  return !s.empty() && fitsOnItsLine(s) && !s.starts_with(Bom) &&
         s.find(']') == std::string_view::npos;
}

bool validKey(std::string_view k) {
  return !k.empty() && fitsOnItsLine(k) && !k.starts_with(Bom) &&
         k.find('=') == std::string_view::npos && k.front() != '[' && k.front() != ';' &&
         k.front() != '#';
}

std::size_t contentEnd(const std::string& text) {
  std::size_t end = text.size();
  if (end > 0 && text[end - 1] == '\n') --end;
  if (end > 0 && text[end - 1] == '\r') --end;
  return end;
}

bool blankLine(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return isBlank(c) || c == '\n'; });
}

}  // namespace

ProfileData::ProfileData(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t nl = text.find('\n', pos);
    const std::size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
    Lines.push_back(Line{std::string(text.substr(pos, end - pos))});
    pos = end;
  }
  parse();
}

ProfileData ProfileData::unreadable() {
  ProfileData d;
  d.Failed = true;
  return d;
}

void ProfileData::parse() {
  Keys.clear();
  std::string section;
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    Line& l = Lines[i];
    const std::string& t = l.Text;
    const std::size_t end = contentEnd(t);
    l.Type = Kind::Other;
    std::size_t p = 0;
    for (;;) {
      while (p < end && isBlank(t[p])) ++p;
      if (std::string_view(t).substr(p, end - p).starts_with(Bom))
        p += Bom.size();
      else
        break;
    }
    if (p < end && t[p] == '[') {
      std::size_t b = p + 1;
      while (b < end && isBlank(t[b])) ++b;
      std::size_t e = std::min(t.find(']', b), end);
      while (e > b && isBlank(t[e - 1])) --e;
      l.Type = Kind::Header;
      l.NameBegin = b;
      l.NameEnd = e;
      section = fold(std::string_view(t).substr(b, e - b));
    } else if (p < end && t[p] != ';' && t[p] != '#') {
      const std::size_t eq = t.find('=', p);
      if (eq < end) {
        std::size_t ke = eq;
        while (ke > p && isBlank(t[ke - 1])) --ke;
        if (ke > p) {
          std::size_t vb = eq + 1;
          while (vb < end && isBlank(t[vb])) ++vb;
          // A value ends at a NUL byte, as the text a C string would hold.
          std::size_t ve = std::min(t.find('\0', vb), end);
          while (ve > vb && isBlank(t[ve - 1])) --ve;
          l.Type = Kind::Key;
          l.NameBegin = p;
          l.NameEnd = ke;
          l.ValueBegin = vb;
          l.ValueEnd = ve;
          Keys[section + '\n' + fold(name(l))] = i;
        }
      }
    }
    l.Section = section;
  }
}

std::string ProfileData::name(const Line& l) const {
  return l.Text.substr(l.NameBegin, l.NameEnd - l.NameBegin);
}

std::size_t ProfileData::find(std::string_view section, std::string_view key) const {
  const auto it = Keys.find(fold(section) + '\n' + fold(key));
  return it == Keys.end() ? std::string::npos : it->second;
}

std::optional<std::string> ProfileData::value(std::string_view section,
                                              std::string_view key) const {
  const std::size_t i = find(section, key);
  if (i == std::string::npos) return std::nullopt;
  const Line& l = Lines[i];
  return l.Text.substr(l.ValueBegin, l.ValueEnd - l.ValueBegin);
}

bool ProfileData::parseInteger(std::string_view t, int& value) {
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

int ProfileData::readInteger(std::string_view section, std::string_view key,
                             int defaultValue) const {
  const auto text = value(section, key);
  int v = 0;
  if (!text || !parseInteger(*text, v)) return defaultValue;
  return v;
}

bool ProfileData::readBool(std::string_view section, std::string_view key,
                           bool defaultValue) const {
  return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::string ProfileData::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  std::string text = value(section, key).value_or(std::string(defaultValue));
  if (text.size() > MaxStringLength) text.resize(MaxStringLength);
  return text;
}

std::vector<std::string> ProfileData::readKeyNames(std::string_view section) const {
  const std::string s = fold(section);
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  for (const Line& l : Lines)
    if (l.Type == Kind::Key && l.Section == s && seen.insert(fold(name(l))).second)
      names.push_back(name(l));
  return names;
}

bool ProfileData::hasSection(std::string_view section) const {
  const std::string s = fold(section);
  return std::any_of(Lines.begin(), Lines.end(),
                     [&](const Line& l) { return l.Type == Kind::Header && l.Section == s; });
}

std::vector<std::string> ProfileData::sectionNames() const {
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  for (const Line& l : Lines)
    if (l.Type == Kind::Header && seen.insert(l.Section).second) names.push_back(name(l));
  return names;
}

void ProfileData::writeInteger(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void ProfileData::writeBool(std::string_view section, std::string_view key, bool value) {
  writeInteger(section, key, value ? 1 : 0);
}

void ProfileData::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
  if (!validSection(section) || !validKey(key) || !fitsOnItsLine(value)) {
    Refused = true;
    return;
  }
  const std::size_t i = find(section, key);
  if (i != std::string::npos) {
    Line& l = Lines[i];
    if (std::string_view(l.Text).substr(l.ValueBegin, l.ValueEnd - l.ValueBegin) == value) return;
    l.Text = l.Text.substr(0, l.NameEnd) + "=" + std::string(value) +
             l.Text.substr(contentEnd(l.Text));
  } else {
    std::string line(key);
    line.append("=").append(value);
    const std::size_t after = insertionPoint(fold(section));
    if (after != std::string::npos) {
      insertLine(after, line);
    } else {
      std::string header("[");
      header.append(section).append("]");
      appendLines({header, line});
    }
  }
  Changed = true;
  parse();
}

std::size_t ProfileData::insertionPoint(const std::string& foldedSection) const {
  std::size_t at = std::string::npos;
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    const Line& l = Lines[i];
    if (l.Section != foldedSection) continue;
    if (l.Type == Kind::Header || l.Type == Kind::Key) at = i;
  }
  return at;
}

void ProfileData::insertLine(std::size_t after, std::string text) {
  std::string& prev = Lines[after].Text;
  const std::string eol = prev.substr(contentEnd(prev));
  if (eol.empty()) prev += '\n';
  Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(after) + 1,
               Line{text + (eol.empty() ? "\n" : eol)});
}

void ProfileData::appendLines(std::vector<std::string> texts) {
  if (!Lines.empty()) {
    if (Lines.back().Text.back() != '\n') Lines.back().Text += '\n';
    // Sections are set apart by two empty lines.
    int blanks = 0;
    for (auto it = Lines.rbegin(); it != Lines.rend() && blankLine(it->Text) && blanks < 2; ++it)
      ++blanks;
    for (; blanks < 2; ++blanks) Lines.push_back(Line{"\n"});
  }
  for (auto& t : texts) {
    if (t.empty() || t.back() != '\n') t += '\n';
    Lines.push_back(Line{std::move(t)});
  }
}

void ProfileData::eraseKey(std::string_view section, std::string_view key) {
  const std::string s = fold(section), k = fold(key);
  const auto before = Lines.size();
  std::erase_if(Lines, [&](const Line& l) {
    return l.Type == Kind::Key && l.Section == s && fold(name(l)) == k;
  });
  if (Lines.size() == before) return;
  Changed = true;
  parse();
}

void ProfileData::eraseSection(std::string_view section) {
  const std::string s = fold(section);
  const auto before = Lines.size();
  std::erase_if(Lines, [&](const Line& l) { return l.Section == s && !s.empty(); });
  if (Lines.size() == before) return;
  while (!Lines.empty() && blankLine(Lines.back().Text)) Lines.pop_back();
  Changed = true;
  parse();
}

void ProfileData::copySection(const ProfileData& from, std::string_view section) {
  if (hasSection(section) || !from.hasSection(section)) return;
  const std::string s = fold(section);
  std::vector<std::string> texts;
  for (const Line& l : from.Lines)
    if (l.Section == s) texts.push_back(l.Text);
  while (!texts.empty() && blankLine(texts.back())) texts.pop_back();
  appendLines(std::move(texts));
  Changed = true;
  parse();
}

std::string ProfileData::text() const {
  std::string out;
  for (const Line& l : Lines) out += l.Text;
  return out;
}
