#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

// A headerless data file of fixed-size records T, opened for reading. Every
// read is checked: a record past the end of the file, or a short read, is a
// failure rather than junk in the caller's record. Only a regular file opens:
// a FIFO or a device under the name would otherwise hold the program in open()
// or read() for good, so it counts as a file that cannot be read.
template <typename T>
class RecordFile {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile() { close(); }

  // `dir` is the directory, with or without a trailing separator.
  bool open(std::string_view dir, std::string_view name) {
    std::string path(dir);
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    close();
    Fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (Fd < 0) return false;
    struct stat st {};
    if (::fstat(Fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      close();
      return false;
    }
    Bytes = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    Records = static_cast<std::size_t>(Bytes / sizeof(T));
    return true;
  }

  bool isOpen() const { return Fd >= 0; }
  // Whole records in the file.
  std::size_t count() const { return Records; }
  // The file's length when it was opened.
  std::uint64_t size() const { return Bytes; }

  bool read(std::size_t n, T& out) {
    if (Fd < 0 || n >= Records) return false;
    T record;
    auto* bytes = reinterpret_cast<char*>(&record);
    std::size_t done = 0;
    while (done < sizeof(T)) {
      const ssize_t got =
          ::pread(Fd, bytes + done, sizeof(T) - done, static_cast<off_t>(n * sizeof(T) + done));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      done += static_cast<std::size_t>(got);
    }
    out = record;
    return true;
  }

  void close() {
    if (Fd >= 0) ::close(Fd);
    Fd = -1;
    Records = 0;
    Bytes = 0;
  }

 private:
  int Fd = -1;
  std::size_t Records = 0;
  std::uint64_t Bytes = 0;
};
