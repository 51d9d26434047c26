#include "app/ProgramDir.h"

#include <filesystem>
#include <system_error>

std::string programDirectory(const char* argv0) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) {
    exe = fs::weakly_canonical(fs::absolute(argv0 ? argv0 : "", ec), ec);
  }
  std::string dir = exe.parent_path().string();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}
