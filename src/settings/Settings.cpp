#include "settings/Settings.h"

#include <algorithm>

#include "design/UserChords.h"
#include "settings/GeneralMidiVoices.h"
#include "settings/ProfileFile.h"

namespace {

constexpr const char* RecentSection = "Recent Files";

int readClamped(const ProfileFile::Contents& f, const char* section, const char* key, int def,
                int lo, int hi) {
  return std::clamp(f.readInteger(section, key, def), lo, hi);
}

}  // namespace

void Settings::load(const ProfileFile& file, const std::string& exeDir) {
  // One read of the file for every key: start-up must not grow with it.
  const auto f = file.read();
  MidiInDevice = static_cast<std::uint16_t>(readClamped(f, "MidiIn", "Device", 0, 0, 0xFFFF));
  MidiOutDevice = static_cast<std::uint16_t>(readClamped(f, "MidiOut", "Device", 0, 0, 0xFFFF));
  Player.GuitarPatch = readClamped(f, "Guitar", "Patch", 25, 0, 127);
  Player.BassPatch = readClamped(f, "Bass", "Patch", 33, 0, 127);
  Player.GuitarChannel = readClamped(f, "Guitar", "Channel", 0, 0, 15);
  Player.BassChannel = readClamped(f, "Bass", "Channel", 1, 0, 15);
  Player.GuitarVolume = readClamped(f, "Guitar", "Volume", 100, 0, 127);
  Player.BassVolume = readClamped(f, "Bass", "Volume", 100, 0, 127);
  BassNoteOption = f.readBool("Main", "Bass", false);
  EasiestFirst = f.readBool("Main", "EasiestFirst", false);
  Capo = readClamped(f, "Main", "Capo", 0, 0, MaxCapo);
  SoundingNames = f.readBool("Main", "SoundingNames", false);
  LeftHanded = f.readBool("Main", "LeftHanded", false);
  StrumSpeed = readClamped(f, "Main", "Sspeed", -300, -800, 0);
  Player.ClickChannel = readClamped(f, "Click", "Channel", 9, 0, 15);
  Player.ClickNote = readClamped(f, "Click", "Note", 34, 0, 127);
  Player.ClickVolume = readClamped(f, "Click", "Volume", 65, 0, MaxClickVolume);
  for (std::size_t i = 0; i < DirectoryKeys.size(); ++i)
    PageDirectory[i] = f.readString("Directory", DirectoryKeys[i], exeDir + DirectoryKeys[i]);
  for (std::size_t k = 0; k < DirectoryKeys.size(); ++k) {
    RecentFiles[k].clear();
    for (std::size_t i = 1; i <= MaxRecentFiles; ++i) {
      const std::string path =
          f.readString(RecentSection, std::string(DirectoryKeys[k]).append(std::to_string(i)), "");
      // A name relative to some earlier working folder finds nothing now, and
      // one file is listed once.
      auto& list = RecentFiles[k];
      if (path.starts_with('/') && std::find(list.begin(), list.end(), path) == list.end())
        list.push_back(path);
    }
  }
  const int number = readClamped(f, "UserChords", "Number", 0, 0, MaxUserChords);
  UserChordNames.clear();
  for (int i = 0; i < number; ++i)
    UserChordNames.push_back(
        f.readString(std::to_string(FirstUserChordSection + i), "Name", DefaultUserChordName)
            .substr(0, UserChordNameLength));
}

void Settings::saveShutdown(ProfileFile& file) const {
  auto f = file.read();
  f.writeInteger("Main", "Sspeed", StrumSpeed);
  f.writeBool("Main", "Bass", BassNoteOption);
  // Each written once it has been off its default, so a file that never had
  // it keeps its bytes.
  const auto once = [&f](const char* key, bool changed) {
    return changed || !f.readString("Main", key, "").empty();
  };
  if (once("EasiestFirst", EasiestFirst)) f.writeBool("Main", "EasiestFirst", EasiestFirst);
  if (once("Capo", Capo != 0)) f.writeInteger("Main", "Capo", Capo);
  if (once("SoundingNames", SoundingNames)) f.writeBool("Main", "SoundingNames", SoundingNames);
  if (once("LeftHanded", LeftHanded)) f.writeBool("Main", "LeftHanded", LeftHanded);
  for (std::size_t i = 0; i < DirectoryKeys.size(); ++i)
    f.writeString("Directory", DirectoryKeys[i], PageDirectory[i]);
  GeneralMidiVoices::restore(f);
  file.save(f);
}

void Settings::rememberFile(PageKind kind, const std::string& path) {
  std::vector<std::string>& list = RecentFiles[static_cast<std::size_t>(kind)];
  list.erase(std::remove(list.begin(), list.end(), path), list.end());
  list.insert(list.begin(), path);
  if (list.size() > MaxRecentFiles) list.resize(MaxRecentFiles);
}

void Settings::saveRecentFiles(ProfileFile& file) const {
  auto f = file.read();
  f.eraseSection(RecentSection);
  for (std::size_t k = 0; k < DirectoryKeys.size(); ++k)
    for (std::size_t i = 0; i < RecentFiles[k].size(); ++i)
      f.writeString(RecentSection, std::string(DirectoryKeys[k]).append(std::to_string(i + 1)),
                    RecentFiles[k][i]);
  GeneralMidiVoices::restore(f);
  file.save(f);
}

void Settings::saveMidiSetup(ProfileFile& file) const {
  auto f = file.read();
  f.writeInteger("MidiIn", "Device", MidiInDevice);
  f.writeInteger("MidiOut", "Device", MidiOutDevice);
  f.writeInteger("Guitar", "Patch", Player.GuitarPatch);
  f.writeInteger("Guitar", "Channel", Player.GuitarChannel);
  f.writeInteger("Guitar", "Volume", Player.GuitarVolume);
  f.writeInteger("Bass", "Patch", Player.BassPatch);
  f.writeInteger("Bass", "Channel", Player.BassChannel);
  f.writeInteger("Bass", "Volume", Player.BassVolume);
  f.writeInteger("Click", "Channel", Player.ClickChannel);
  f.writeInteger("Click", "Note", Player.ClickNote);
  f.writeInteger("Click", "Volume", Player.ClickVolume);
  GeneralMidiVoices::restore(f);
  file.save(f);
}
