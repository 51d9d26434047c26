#pragma once

#include "files/FileLayer.h"

// FileLayer over POSIX calls: reads take regular files only, writes are checked
// call by call and fsync'd, and a replacement also syncs the directory so the
// rename itself survives a crash.
class PosixFileLayer : public FileLayer {
 public:
  std::optional<std::string> read(const std::string& path) override;
  // Only the size found by fstat on the opened file, and never more than
  // `maxBytes`, is read: a huge file costs no more than a small one.
  std::optional<std::string> readAtMost(const std::string& path, std::size_t maxBytes) override;
  bool exists(const std::string& path) override;
  std::optional<std::string> writeTemporary(const std::string& target,
                                            std::string_view data) override;
  bool replace(const std::string& from, const std::string& to) override;
  void remove(const std::string& path) override;
  // A hard link: the old file itself, kept without copying or syncing it.
  std::optional<std::string> keepAside(const std::string& path) override;
  std::optional<std::string> moveAside(const std::string& path, std::string_view tag) override;
  std::vector<std::string> namesBeside(const std::string& path) override;
  // flock on the folder itself: nothing is created for it, so no name can be
  // planted in its place and nothing is left behind, and it works in a folder
  // this user may read but not write.
  std::unique_ptr<Lock> lockFolderOf(const std::string& path) override;
};
