#include "settings/SettingsLocation.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "files/FileLayer.h"
#include "settings/ProfileFile.h"

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
  const auto seed = files.read(shipped);
  if (!seed) return user;
  if (!files.exists(user)) {
    // Whole or not at all: a copy cut short by a full disk would pass for the
    // user's file at every later start.
    const auto temp = files.writeTemporary(user, *seed);
    if (temp && !files.replace(*temp, user)) files.remove(*temp);
    return user;
  }
  // A file seeded by an older copy, cut short or emptied, gets back what the
  // program ships (the voice list of MIDI setup); nothing the user has is changed.
  ProfileFile file(user, files);
  auto data = file.read();
  data.addMissingSections(ProfileFile::Contents(*seed));
  try {
    if (!data.failed()) file.save(data);
  } catch (const ProfileWriteError&) {
    // Left as it is; the next write of a setting reports the path.
  }
  return user;
}
