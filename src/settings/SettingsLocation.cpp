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

bool tooLarge(FileLayer& files, const std::string& path) {
  const auto head = files.readAtMost(path, ProfileFile::LargestFile + 1);
  return head && head->size() > ProfileFile::LargestFile;
}

// Moves an oversized settings file out of the way; the message that says so,
// or empty when the file is of a sound size. `startsWith` says what the
// program starts with once the file is out of the way.
std::string setAsideIfTooLarge(FileLayer& files, const std::string& path,
                               const std::string& startsWith) {
  if (!tooLarge(files, path)) return {};
  const std::string opening = "The settings file \"" + path + "\" is far too large to be one";
  if (const auto aside = files.moveAside(path, ".too-large-"))
    return opening + "; it was renamed \"" + *aside + "\" and Strumbo! starts " + startsWith + ".";
  // Then it is never read, nor replaced: every setting keeps its default.
  return opening + " and could not be renamed (" + files.lastError() +
         "); Strumbo! starts with its default settings and leaves the file as it is.";
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
  std::string notice;
  return resolve(exeDir, files, isWritable, userConfigDir(), notice);
}

std::string SettingsLocation::resolve(const std::string& exeDir, FileLayer& files,
                                      std::string& notice) {
  return resolve(exeDir, files, isWritable, userConfigDir(), notice);
}

std::string SettingsLocation::resolve(const std::string& exeDir, FileLayer& files,
                                      const std::function<bool(const std::string&)>& writable,
                                      const std::string& configDir) {
  std::string notice;
  return resolve(exeDir, files, writable, configDir, notice);
}

std::string SettingsLocation::resolve(const std::string& exeDir, FileLayer& files,
                                      const std::function<bool(const std::string&)>& writable,
                                      const std::string& configDir, std::string& notice) {
  notice.clear();
  const std::string shipped = exeDir + FileName;
  // The file is replaced by rename, so the folder must be writable, not the file.
  const bool besideProgram = writable(exeDir) && !files.exists(exeDir + PerUserMarker);
  if (besideProgram || configDir.empty()) {
    notice = setAsideIfTooLarge(files, shipped, "with its default settings");
    return shipped;
  }

  std::error_code ec;
  std::filesystem::create_directories(configDir, ec);
  if (ec) return shipped;  // writes will then report the path they failed on
  const std::string user = configDir + FileName;
  // The user's file goes first, so that a new one is seeded below.
  notice = setAsideIfTooLarge(files, user, "with the settings it ships with");
  // A shipped file as large is no seed: it is left to the administrator.
  const auto seed = files.readAtMost(shipped, ProfileFile::LargestFile + 1);
  if (!seed || seed->size() > ProfileFile::LargestFile) return user;
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
