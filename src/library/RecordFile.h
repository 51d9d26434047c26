#pragma once

#include <cstddef>
#include <fstream>
#include <string>
#include <string_view>
#include <type_traits>

// A headerless data file of fixed-size records T, opened for reading. Every
// read is checked: a record past the end of the file, or a short read, is a
// failure rather than junk in the caller's record.
template <typename T>
class RecordFile {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  // `dir` is the directory, with or without a trailing separator.
  bool open(std::string_view dir, std::string_view name) {
    std::string path(dir);
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    In.close();
    In.clear();
    In.open(path, std::ios::binary);
    if (!In) return false;
    In.seekg(0, std::ios::end);
    const auto size = static_cast<std::streamoff>(In.tellg());
    Records = size > 0 ? static_cast<std::size_t>(size) / sizeof(T) : 0;
    In.seekg(0);
    return static_cast<bool>(In);
  }

  bool isOpen() const { return In.is_open(); }
  // Whole records in the file.
  std::size_t count() const { return Records; }

  bool read(std::size_t n, T& out) {
    if (!In.is_open() || n >= Records) return false;
    In.clear();
    In.seekg(static_cast<std::streamoff>(n * sizeof(T)));
    T record;
    In.read(reinterpret_cast<char*>(&record), sizeof(T));
    if (In.gcount() != static_cast<std::streamsize>(sizeof(T))) return false;
    out = record;
    return true;
  }

  void close() { In.close(); }

 private:
  std::ifstream In;
  std::size_t Records = 0;
};
