#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class FileLayer;

// Raised when the settings file could not be written; what() is the text shown
// to the user, "Unable to write to " followed by the path.
class ProfileWriteError : public std::runtime_error {
 public:
  explicit ProfileWriteError(const std::string& path);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A sectioned text settings file read and written one key at a time. Nothing is
// cached: every call opens, reads (and for writes replaces) the whole file, so
// another writer's change is never overwritten with stale data. A write builds
// the new contents in memory, writes them to a temporary file beside the target,
// reads that back and only then renames it over the original, so a full disk or
// an I/O error leaves the old file as it was.
class ProfileFile {
 public:
  static constexpr std::size_t MaxStringLength = 1023;

  ProfileFile(std::string path, FileLayer& files);

  const std::string& path() const { return path_; }

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

  // Each write replaces the file atomically or throws ProfileWriteError.
  void writeInteger(std::string_view section, std::string_view key, int value);
  void writeBool(std::string_view section, std::string_view key, bool value);
  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void eraseSection(std::string_view section);

  static bool parseInteger(std::string_view text, int& value);

 private:
  std::string rawValue(std::string_view section, std::string_view key, bool& found) const;
  // Sets (or, with no key, erases the section) and saves; value null erases the key.
  void update(std::string_view section, std::string_view key, const std::string* value);

  std::string path_;
  FileLayer& files_;
};
