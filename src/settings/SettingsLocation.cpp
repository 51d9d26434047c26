#include "settings/SettingsLocation.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "settings/FileLayer.h"

namespace {

bool isWritable(const std::string& path) {
  return ::access(path.c_str(), W_OK) == 0;
}

}  // namespace

std::string SettingsLocation::userConfigDir() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/strumbo/";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.config/strumbo/";
  return {};
}

std::string SettingsLocation::resolve(const std::string& exeDir, FileLayer& files) {
  return resolve(exeDir, files, isWritable, userConfigDir());
}

std::string SettingsLocation::resolve(const std::string& exeDir, FileLayer& files,
                                      const std::function<bool(const std::string&)>& writable,
                                      const std::string& configDir) {
  const std::string shipped = exeDir + FileName;
  // The file is replaced by rename, so the folder must be writable, not the file.
  if (writable(exeDir) || configDir.empty()) return shipped;

  std::error_code ec;
  std::filesystem::create_directories(configDir, ec);
  if (ec) return shipped;  // writes will then report the path they failed on
  const std::string user = configDir + FileName;
  if (!files.exists(user)) {
    if (const auto seed = files.read(shipped)) files.writeDurably(user, *seed);
  }
  return user;
}
