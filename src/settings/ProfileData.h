#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The text of a settings file, parsed once, read key by key and edited in
// place. Every line is kept as it was read and only the lines of keys that
// change are rewritten, so a hand-edited or damaged file (a header missing its
// "]", a NUL byte, a byte-order mark before a key, lines that are neither keys
// nor headers) survives any number of rewrites at the same size, and an
// ordinary file comes out as it went in apart from the keys set.
//
// Lines are "[section]" headers, "key=value" pairs, and anything else, which is
// kept but never read. Sections and keys ignore ASCII case; blanks around
// names and values, and byte-order marks at the start of a line, are not part
// of them; of a key given twice the last counts. A header missing its "]"
// still opens the section it names, so the keys below it are read and updated
// where they stand instead of being added again at the end.
//
// A name or value that could not be read back as exactly itself (a line break
// or NUL anywhere, blanks at either end, "=" in a key, "]" in a section, a key
// starting like a header or a comment) is refused: nothing is changed and
// refused() says so, so the caller's whole write is refused, never half done.
// Escaping such text instead would give ordinary values (Windows-style paths
// with "\n" in them, say) a meaning they never had in files already written.
class ProfileData {
 public:
  static constexpr std::size_t MaxStringLength = 1023;

  ProfileData() = default;
  explicit ProfileData(std::string_view text);

  // The file existed but could not be read: reads give defaults and the data
  // must not replace the file.
  static ProfileData unreadable();
  bool failed() const { return Failed; }

  // The raw value of a key, or nothing when there is no such key.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  // Decimal, or hexadecimal after "0x", "0X" or "$"; missing, empty or junk
  // values (and numbers beyond 32 bits) give the default.
  int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
  bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;
  // At most MaxStringLength characters; a missing key gives the default.
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // The key names of a section in file order; empty when there is no such section.
  std::vector<std::string> readKeyNames(std::string_view section) const;
  bool hasSection(std::string_view section) const;
  // Every section name in file order, each once.
  std::vector<std::string> sectionNames() const;

  void writeInteger(std::string_view section, std::string_view key, int value);
  void writeBool(std::string_view section, std::string_view key, bool value);
  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void eraseKey(std::string_view section, std::string_view key);
  void eraseSection(std::string_view section);
  // Appends the lines of `section` as `from` holds them, when this has no such section.
  void copySection(const ProfileData& from, std::string_view section);

  bool refused() const { return Refused; }
  bool changed() const { return Changed; }
  std::string text() const;

  static bool parseInteger(std::string_view text, int& value);

 private:
  enum class Kind { Other, Header, Key };
  struct Line {
    explicit Line(std::string text) : Text(std::move(text)) {}
    std::string Text;  // with its line break, if it had one
    Kind Type = Kind::Other;
    std::string Section;  // folded name of the section the line lies in
    std::size_t NameBegin = 0, NameEnd = 0, ValueBegin = 0, ValueEnd = 0;
  };

  void parse();
  std::string name(const Line& l) const;
  // Index of the line holding the key read, or npos.
  std::size_t find(std::string_view section, std::string_view key) const;
  // The line to insert a new key of `section` after, or npos for a new section.
  std::size_t insertionPoint(const std::string& foldedSection) const;
  void insertLine(std::size_t after, std::string text);
  void appendLines(std::vector<std::string> texts);

  std::vector<Line> Lines;
  // folded section + '\n' + folded key -> line index of the last occurrence.
  std::unordered_map<std::string, std::size_t> Keys;
  bool Failed = false;
  bool Refused = false;
  bool Changed = false;
};
