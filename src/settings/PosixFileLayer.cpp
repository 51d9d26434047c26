#include "settings/PosixFileLayer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

std::optional<std::string> PosixFileLayer::read(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string out;
  char buf[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
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

bool PosixFileLayer::writeDurably(const std::string& path, std::string_view data) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<size_t>(n);
  }
  // A full disk may only show up at fsync or close on some file systems.
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  return ok;
}

bool PosixFileLayer::replace(const std::string& from, const std::string& to) {
  // The new file keeps the old one's permissions (a private 0600 stays private).
  struct stat old {};
  if (::stat(to.c_str(), &old) == 0) ::chmod(from.c_str(), old.st_mode & 07777);
  if (std::rename(from.c_str(), to.c_str()) != 0) return false;
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
