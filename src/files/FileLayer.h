#pragma once

#include <optional>
#include <string>
#include <string_view>

// The few file operations the settings file and the page files need. The
// program uses the POSIX one; tests put a layer in its place that fails or
// loses data on purpose, since running as root makes permission-based failures
// impossible to provoke.
class FileLayer {
 public:
  virtual ~FileLayer() = default;

  // The whole file, or nothing when it does not exist, is not a regular file
  // or cannot be read.
  virtual std::optional<std::string> read(const std::string& path) = 0;
  virtual bool exists(const std::string& path) = 0;
  // Creates a new file of a name no other writer uses, beside `target` and with
  // its permissions, and writes `data` to stable storage. Its path, or nothing
  // (and no file left) when any step (create, every write, flush to disk,
  // close) failed.
  virtual std::optional<std::string> writeTemporary(const std::string& target,
                                                    std::string_view data) = 0;
  // Replaces `to` by `from` in one step.
  virtual bool replace(const std::string& from, const std::string& to) = 0;
  virtual void remove(const std::string& path) = 0;

  // Why the last read, writeTemporary or replace that failed did so, in a few
  // words for a message ("No space left on device").
  const std::string& lastError() const { return Error; }

 protected:
  std::string Error;
};
