#include "files/PosixFileLayer.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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
  std::string out;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
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
