#include "settings/ProfileFile.h"

#include "settings/FileLayer.h"

ProfileWriteError::ProfileWriteError(const std::string& path)
    : std::runtime_error("Unable to write to " + path), path_(path) {}

ProfileFile::ProfileFile(std::string path, FileLayer& files)
    : path_(std::move(path)), files_(files) {}

ProfileData ProfileFile::read() const {
  const auto text = files_.read(path_);
  if (text) return ProfileData(*text);
  // Missing: an empty file; there but unreadable: never to be replaced.
  return files_.exists(path_) ? ProfileData::unreadable() : ProfileData();
}

void ProfileFile::save(const ProfileData& data) {
  if (data.failed() || data.refused()) {
    writeFailed_ = true;
    throw ProfileWriteError(path_);
  }
  if (!data.changed()) return;
  const std::string text = data.text();
  const auto temp = files_.writeTemporary(path_, text);
  const auto back = temp ? files_.read(*temp) : std::nullopt;
  if (!back || *back != text || !files_.replace(*temp, path_)) {
    if (temp) files_.remove(*temp);
    writeFailed_ = true;
    throw ProfileWriteError(path_);
  }
}

int ProfileFile::readInteger(std::string_view section, std::string_view key,
                             int defaultValue) const {
  return read().readInteger(section, key, defaultValue);
}

bool ProfileFile::readBool(std::string_view section, std::string_view key,
                           bool defaultValue) const {
  return read().readBool(section, key, defaultValue);
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  return read().readString(section, key, defaultValue);
}

std::vector<std::string> ProfileFile::readKeyNames(std::string_view section) const {
  return read().readKeyNames(section);
}

bool ProfileFile::hasSection(std::string_view section) const {
  return read().hasSection(section);
}

void ProfileFile::writeInteger(std::string_view section, std::string_view key, int value) {
  ProfileData data = read();
  data.writeInteger(section, key, value);
  save(data);
}

void ProfileFile::writeBool(std::string_view section, std::string_view key, bool value) {
  ProfileData data = read();
  data.writeBool(section, key, value);
  save(data);
}

void ProfileFile::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
  ProfileData data = read();
  data.writeString(section, key, value);
  save(data);
}

void ProfileFile::eraseSection(std::string_view section) {
  ProfileData data = read();
  data.eraseSection(section);
  save(data);
}
