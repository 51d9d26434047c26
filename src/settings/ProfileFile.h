#pragma once

#include <cstddef>
#include <memory>
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

// A sectioned text settings file, parsed and written by SimpleIni. Nothing is
// kept between calls: read() parses the file as it is now, and a command that
// reads or writes several keys reads once, works on the Contents and saves
// them once, so another writer's change made before the command is never
// overwritten with stale data. A save writes the new text to a temporary file
// of its own beside the target, reads that back and only then renames it over
// the original, so a full disk or an I/O error leaves the old file as it was.
// The per-key calls are one such command each.
class ProfileFile {
 public:
  static constexpr std::size_t MaxStringLength = 1023;
  // Far more than any real settings file holds (a thousand user chords take a
  // few hundred KiB); a longer file is not read, as parsing it at every
  // access would stall the program.
  static constexpr std::size_t LargestFile = 1 << 20;

  // The file parsed once. Sections and keys ignore ASCII case; of a key given
  // twice the last counts. A name or value that would not read back as
  // exactly itself (a line break or NUL, blanks at either end, "=" in a key or
  // "]" in a section, a key starting like a header or a comment) is refused:
  // nothing changes and refused() says so, so the whole command is refused,
  // never half done. Escaping instead would give ordinary values (Windows
  // paths holding "\n") a meaning they never had in files already written.
  class Contents {
   public:
    Contents();
    explicit Contents(std::string_view text);
    Contents(Contents&&) noexcept;
    Contents& operator=(Contents&&) noexcept;
    ~Contents();

    // The file existed but could not be read: reads give defaults and the
    // contents must not replace the file.
    static Contents unreadable();
    bool failed() const { return failed_; }
    bool refused() const { return refused_; }
    bool changed() const { return changed_; }

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

    void writeInteger(std::string_view section, std::string_view key, int value);
    void writeBool(std::string_view section, std::string_view key, bool value);
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void eraseSection(std::string_view section);
    // Adds each named section of `from` this lacks, with its keys and comments.
    void addMissingSections(const Contents& from);

    std::string text() const;

   private:
    struct Ini;
    std::unique_ptr<Ini> ini_;
    bool failed_ = false;
    bool refused_ = false;
    bool changed_ = false;
  };

  ProfileFile(std::string path, FileLayer& files);

  const std::string& path() const { return path_; }

  // The file as it is now: empty when missing, failed() when it exists but is
  // not a regular file, cannot be read or is longer than LargestFile.
  Contents read() const;
  // Replaces the file by `contents`, unless nothing changed. Throws
  // ProfileWriteError (leaving the file as it was) when `contents` could not
  // be read, refused a name or value, or any step of the write failed.
  void save(const Contents& contents);
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

  static bool parseInteger(std::string_view text, int& value);

 private:
  std::string path_;
  FileLayer& files_;
  bool writeFailed_ = false;
};
