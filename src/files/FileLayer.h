#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
  // The same, but never more than `maxBytes` from the start of the file: a
  // caller that asks for one byte more than the longest file it takes sees a
  // longer one as such without the rest of it being read.
  virtual std::optional<std::string> readAtMost(const std::string& path, std::size_t maxBytes) {
    auto whole = read(path);
    if (whole && whole->size() > maxBytes) whole->resize(maxBytes);
    return whole;
  }
  virtual bool exists(const std::string& path) = 0;
  // Creates a new file of a name no other writer uses, beside `target` and with
  // its permissions, and writes `data` to stable storage. Its path, or nothing
  // (and no file left) when any step (create, every write, flush to disk,
  // close) failed. The name is `target` + ".tmp-" + eight of [0-9a-z].
  virtual std::optional<std::string> writeTemporary(const std::string& target,
                                                    std::string_view data) = 0;
  // Replaces `to` by `from` in one step.
  virtual bool replace(const std::string& from, const std::string& to) = 0;
  virtual void remove(const std::string& path) = 0;
  // A second name for the existing file `path`, beside it and of a name no
  // other writer uses, from which replace() can put the file back exactly as
  // it is now. Nothing on failure. This one copies; a layer that can link
  // does better (its name is `path` + ".old-" + eight of [0-9a-z]).
  virtual std::optional<std::string> keepAside(const std::string& path) {
    const auto old = read(path);
    return old ? writeTemporary(path, *old) : std::nullopt;
  }
  // Gives the file `path` the new name `path` + `tag` + a few characters, a
  // name nothing had, without ever replacing a file. The new path, or nothing.
  virtual std::optional<std::string> moveAside(const std::string& path, std::string_view tag) = 0;
  // The names in the folder that holds `path`, without the folder; empty when
  // it cannot be listed.
  virtual std::vector<std::string> namesBeside(const std::string& path) = 0;

  // Held while it lives: no other holder of the lock of the same folder, in
  // this process or another, runs meanwhile.
  class Lock {
   public:
    virtual ~Lock() = default;
  };
  // Waits for the lock of the folder that holds `path`. Where the folder cannot
  // be locked (no such folder, a file system without locks) there is nothing
  // to hold and the caller goes on unlocked.
  virtual std::unique_ptr<Lock> lockFolderOf(const std::string& path) = 0;

  // Why the last read, writeTemporary or replace that failed did so, in a few
  // words for a message ("No space left on device").
  const std::string& lastError() const { return Error; }

 protected:
  std::string Error;
};
