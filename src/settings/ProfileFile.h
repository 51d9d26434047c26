#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ProfileData.h"

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

// A sectioned text settings file. Nothing is kept between calls: read() parses
// the file as it is now, and a command that reads or writes several keys
// reads once, works on the ProfileData and saves it once, so another writer's
// change made before the command is never overwritten with stale data. A save
// writes the new contents to a temporary file of its own beside the target,
// reads that back and only then renames it over the original, so a full disk
// or an I/O error leaves the old file as it was. The per-key calls are one
// such command each.
class ProfileFile {
 public:
  static constexpr std::size_t MaxStringLength = ProfileData::MaxStringLength;

  ProfileFile(std::string path, FileLayer& files);

  const std::string& path() const { return path_; }

  // The file as it is now: empty when missing, failed() when it exists but is
  // not a regular file or cannot be read.
  ProfileData read() const;
  // Replaces the file by `data`, unless nothing changed. Throws
  // ProfileWriteError (leaving the file as it was) when `data` could not be
  // read, refused a name or value, or any step of the write failed.
  void save(const ProfileData& data);
  // Whether any save of this object has failed; the program's exit status says so.
  bool writeFailed() const { return writeFailed_; }

  int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
  bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  std::vector<std::string> readKeyNames(std::string_view section) const;
  bool hasSection(std::string_view section) const;

  void writeInteger(std::string_view section, std::string_view key, int value);
  void writeBool(std::string_view section, std::string_view key, bool value);
  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void eraseSection(std::string_view section);

  static bool parseInteger(std::string_view text, int& value) {
    return ProfileData::parseInteger(text, value);
  }

 private:
  std::string path_;
  FileLayer& files_;
  bool writeFailed_ = false;
};
