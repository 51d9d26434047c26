#pragma once

#include <map>
#include <optional>
#include <string>

#include "settings/FileLayer.h"

// Files in memory, with the failures a real disk can produce switched on at will.
class FakeFileLayer : public FileLayer {
 public:
  std::map<std::string, std::string> files;
  bool failWrites = false;   // the write reports failure (disk full, I/O error)
  bool loseTail = false;     // the write claims success but keeps only half the data
  bool failReplace = false;  // the rename fails
  std::string unreadable;    // a path that exists but cannot be read
  int writes = 0;

  std::optional<std::string> read(const std::string& path) override {
    if (path == unreadable) return std::nullopt;
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool exists(const std::string& path) override {
    return path == unreadable || files.count(path) != 0;
  }
  std::optional<std::string> writeTemporary(const std::string& target,
                                            std::string_view data) override {
    ++writes;
    if (failWrites) return std::nullopt;
    const std::string path = target + ".tmp-" + std::to_string(writes);
    files[path] = std::string(loseTail ? data.substr(0, data.size() / 2) : data);
    return path;
  }
  // Whether any temporary file is left beside `target`.
  bool temporaryLeft(const std::string& target) const {
    for (const auto& [path, text] : files)
      if (path.starts_with(target + ".tmp")) return true;
    return false;
  }
  bool replace(const std::string& from, const std::string& to) override {
    if (failReplace || !files.count(from)) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  void remove(const std::string& path) override { files.erase(path); }
};
