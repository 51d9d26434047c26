#include "files/PosixFileLayer.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <system_error>

namespace {

std::string errnoText(int code) {
  return std::generic_category().message(code);
}

std::string randomSuffix() {
  static constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  unsigned char bytes[8] = {};
  if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
    // Unique enough to try: the exclusive create below catches a clash.
    static unsigned counter = 0;
    const unsigned v = static_cast<unsigned>(::getpid()) * 2654435761u + ++counter;
    for (unsigned i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<unsigned char>(v >> (i * 4));
  }
  std::string s;
  for (unsigned char b : bytes) s += Digits[b % 36];
  return s;
}

std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

class FolderLock : public FileLayer::Lock {
 public:
  explicit FolderLock(int fd) : Fd(fd) {}
  ~FolderLock() override { ::close(Fd); }  // closing the last descriptor unlocks

 private:
  int Fd;
};

bool writeAll(int fd, std::string_view data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = ENOSPC;  // nothing taken and no reason given
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::optional<std::string> PosixFileLayer::read(const std::string& path) {
  return readAtMost(path, std::numeric_limits<std::size_t>::max());
}

std::optional<std::string> PosixFileLayer::readAtMost(const std::string& path,
                                                      std::size_t maxBytes) {
  // Non-blocking, so that a FIFO or a device under the name cannot hold the
  // program in open(); only a regular file is read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    Error = errnoText(errno);
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    Error = S_ISDIR(st.st_mode) ? errnoText(EISDIR) : "Not a regular file";
    ::close(fd);
    return std::nullopt;
  }
  // What the file holds now; it may still grow or shrink while it is read.
  const auto size = static_cast<std::uint64_t>(st.st_size);
  std::string out;
  out.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(size, maxBytes)));
  char buf[65536];
  while (out.size() < maxBytes) {
    const std::size_t want = std::min(sizeof buf, maxBytes - out.size());
    const ssize_t n = ::read(fd, buf, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      Error = errnoText(errno);
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return out;
}

bool PosixFileLayer::exists(const std::string& path) {
  return ::access(path.c_str(), F_OK) == 0;
}

std::optional<std::string> PosixFileLayer::writeTemporary(const std::string& target,
                                                          std::string_view data) {
  // Private until the permissions of the file it replaces are applied.
  struct stat old {};
  const bool hadFile = ::stat(target.c_str(), &old) == 0;
  std::string path;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    path = target + ".tmp-" + randomSuffix();
    // Exclusive and not through a link: nothing planted under the name is
    // followed or written, and two instances saving at once never share a file.
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                hadFile ? 0600 : 0644);
    if (fd < 0 && errno != EEXIST) {
      Error = errnoText(errno);
      return std::nullopt;
    }
  }
  if (fd < 0) {
    Error = errnoText(EEXIST);
    return std::nullopt;
  }
  bool ok = (!hadFile || ::fchmod(fd, old.st_mode & 07777) == 0) && writeAll(fd, data);
  // A full disk may only show up at fsync or close on some file systems.
  if (ok && ::fsync(fd) != 0) ok = false;
  if (!ok) Error = errnoText(errno);
  if (::close(fd) != 0 && ok) {
    Error = errnoText(errno);
    ok = false;
  }
  if (!ok) {
    ::unlink(path.c_str());
    return std::nullopt;
  }
  return path;
}

bool PosixFileLayer::replace(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    Error = errnoText(errno);
    return false;
  }
  const auto slash = to.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : to.substr(0, slash + 1);
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);  // best effort: the rename has happened either way
    ::close(dfd);
  }
  return true;
}

void PosixFileLayer::remove(const std::string& path) {
  ::unlink(path.c_str());
}

std::optional<std::string> PosixFileLayer::keepAside(const std::string& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string aside = path + ".old-" + randomSuffix();
    if (::link(path.c_str(), aside.c_str()) == 0) return aside;
    if (errno != EEXIST) break;
  }
  // A file system without hard links still gets a whole copy.
  if (errno == EPERM || errno == EXDEV || errno == ENOTSUP) return FileLayer::keepAside(path);
  Error = errnoText(errno);
  return std::nullopt;
}

std::optional<std::string> PosixFileLayer::moveAside(const std::string& path,
                                                     std::string_view tag) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string aside = path + std::string(tag) + randomSuffix();
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
      return aside;
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS) break;
    // A file system that cannot rename without replacing: a new link fails
    // rather than replace, and the old name goes once the new one holds it.
    if (::link(path.c_str(), aside.c_str()) == 0) {
      if (::unlink(path.c_str()) == 0) return aside;
      const int code = errno;
      ::unlink(aside.c_str());
      errno = code;
      break;
    }
    if (errno != EEXIST) break;
  }
  Error = errnoText(errno);
  return std::nullopt;
}

std::vector<std::string> PosixFileLayer::namesBeside(const std::string& path) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folderOf(path).c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

std::unique_ptr<FileLayer::Lock> PosixFileLayer::lockFolderOf(const std::string& path) {
  const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  int result;
  while ((result = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
  }
  if (result != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<FolderLock>(fd);
}
