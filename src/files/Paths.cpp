#include "files/Paths.h"

#include <filesystem>
#include <system_error>

std::string canonicalPath(const std::string& path) {
  if (path.empty()) return path;
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error).lexically_normal();
  if (error) return path;
  const fs::path name = absolute.filename();
  if (name.empty() || name == "." || name == "..") {
    const fs::path whole = fs::weakly_canonical(absolute, error);
    return (error ? absolute : whole).string();
  }
  const fs::path folder = fs::weakly_canonical(absolute.parent_path(), error);
  return error ? absolute.string() : (folder / name).string();
}
