#pragma once

#include <functional>
#include <string>

class FileLayer;

// Where "Px.ini" lives: beside the executable, with the data it belongs to,
// unless that folder cannot be written or holds the PerUserMarker file (an
// installed program, whose files belong to the system even when root could
// write them). Then it is the user's configuration folder ($XDG_CONFIG_HOME/strumbo, or
// ~/.config/strumbo), seeded with the shipped file so the voice names and any
// shipped defaults come along; sections it ships that the user's file lacks
// are added to it at each start.
class SettingsLocation {
 public:
  static constexpr const char* FileName = "Px.ini";
  static constexpr const char* PerUserMarker = "settings-per-user";

  // `exeDir` ends in '/'. The environment is read for the configuration folder.
  static std::string resolve(const std::string& exeDir, FileLayer& files);
  // The same, and a settings file longer than ProfileFile::LargestFile (no
  // settings file at all, and one that would take minutes and gigabytes to
  // read) is moved aside to a new name, "Px.ini.too-large-" and a few
  // characters, so that the program starts with the shipped settings (with
  // none when the file was the shipped one). `notice` is then the one message
  // for the player, naming both files; else it is empty.
  static std::string resolve(const std::string& exeDir, FileLayer& files, std::string& notice);

  // The same with the writability test and the configuration folder given.
  static std::string resolve(const std::string& exeDir, FileLayer& files,
                             const std::function<bool(const std::string&)>& writable,
                             const std::string& configDir);
  static std::string resolve(const std::string& exeDir, FileLayer& files,
                             const std::function<bool(const std::string&)>& writable,
                             const std::string& configDir, std::string& notice);

  // $XDG_CONFIG_HOME/strumbo/ or $HOME/.config/strumbo/; empty when neither is set.
  static std::string userConfigDir();
};
