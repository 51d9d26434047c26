#pragma once

#include <map>
#include <optional>
#include <string>

#include "files/FileLayer.h"

// Files in memory, with the failures a real disk can produce switched on at will.
class FakeFileLayer : public FileLayer {
 public:
  std::map<std::string, std::string> files;
  bool failWrites = false;    // the write reports failure (disk full, I/O error)
  bool loseTail = false;      // the write claims success but keeps only half the data
  bool failReplace = false;   // the rename fails
  int failWriteNumber = 0;    // only this writeTemporary call (counted from 1) fails
  int failReplaceNumber = 0;  // only this replace call (counted from 1) fails
  std::string unreadable;     // a path that exists but cannot be read
  int writes = 0;
  int replaces = 0;

  std::optional<std::string> read(const std::string& path) override {
    if (path == unreadable) return fail("Permission denied");
    auto it = files.find(path);
    if (it == files.end()) return fail("No such file or directory");
    return it->second;
  }
  bool exists(const std::string& path) override {
    return path == unreadable || files.count(path) != 0;
  }
  std::optional<std::string> writeTemporary(const std::string& target,
                                            std::string_view data) override {
    ++writes;
    if (failWrites || writes == failWriteNumber) return fail("No space left on device");
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
    ++replaces;
    if (failReplace || replaces == failReplaceNumber || !files.count(from)) {
      Error = "Input/output error";
      return false;
    }
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  void remove(const std::string& path) override { files.erase(path); }

 private:
  std::nullopt_t fail(const char* why) {
    Error = why;
    return std::nullopt;
  }
};
