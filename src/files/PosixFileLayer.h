#pragma once

#include "files/FileLayer.h"

// FileLayer over POSIX calls: reads take regular files only, writes are checked
// call by call and fsync'd, and a replacement also syncs the directory so the
// rename itself survives a crash.
class PosixFileLayer : public FileLayer {
 public:
  std::optional<std::string> read(const std::string& path) override;
  bool exists(const std::string& path) override;
  std::optional<std::string> writeTemporary(const std::string& target,
                                            std::string_view data) override;
  bool replace(const std::string& from, const std::string& to) override;
  void remove(const std::string& path) override;
};
