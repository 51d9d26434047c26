#pragma once

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

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
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08d", writes);
    const std::string path = target + ".tmp-" + suffix;
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
  std::optional<std::string> moveAside(const std::string& path, std::string_view tag) override {
    if (!files.count(path)) return fail("No such file or directory");
    for (int n = 1;; ++n) {
      const std::string aside = path + std::string(tag) + std::to_string(n);
      if (files.count(aside)) continue;
      files[aside] = files[path];
      files.erase(path);
      return aside;
    }
  }
  std::vector<std::string> namesBeside(const std::string& path) override {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::vector<std::string> names;
    for (const auto& [name, text] : files)
      if (name.starts_with(folder) && name.find('/', folder.size()) == std::string::npos)
        names.push_back(name.substr(folder.size()));
    return names;
  }
  std::unique_ptr<Lock> lockFolderOf(const std::string&) override { return nullptr; }

 private:
  std::nullopt_t fail(const char* why) {
    Error = why;
    return std::nullopt;
  }
};
