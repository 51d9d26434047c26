#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "FakeFileLayer.h"
#include "settings/GeneralMidiVoices.h"
#include "settings/Settings.h"
#include "settings/UserChordStore.h"

namespace {

ProfileFile::Contents shipped() {
  std::ifstream in(STRUMBO_SOURCE_DIR "/data/Px.ini", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return ProfileFile::Contents(text.str());
}

}  // namespace

TEST(GeneralMidiVoices, TheBuiltInListIsTheShippedOne) {
  const std::vector<std::string> keys = shipped().readKeyNames(GeneralMidiVoices::Section);
  ASSERT_EQ(keys.size(), GeneralMidiVoices::Count);
  const auto& names = GeneralMidiVoices::names();
  EXPECT_EQ(keys, std::vector<std::string>(names.begin(), names.end()));
}

TEST(GeneralMidiVoices, EverySettingsWriteRestoresAMissingOrEmptyListAndKeepsAnOwnOne) {
  const std::vector<std::string> standard(GeneralMidiVoices::names().begin(),
                                          GeneralMidiVoices::names().end());
  Settings settings;
  const std::vector<std::function<void(ProfileFile&)>> writes{
      [&](ProfileFile& f) { settings.saveShutdown(f); },
      [&](ProfileFile& f) { settings.saveMidiSetup(f); },
      [&](ProfileFile& f) { settings.saveRecentFiles(f); },
      [&](ProfileFile& f) {
        const UserIntervals intervals{0, 4, 7, 255, 255, 255, 255};
        UserChordStore::add(f, Settings::FirstUserChordSection, "mine", "1 3 5", intervals);
      },
  };
  for (std::size_t k = 0; k < writes.size(); ++k) {
    for (const char* before : {"", "[Main]\nBass=1\n", "[General MIDI]\n[Main]\nBass=1\n"}) {
      FakeFileLayer fs;
      if (*before) fs.files["/p/Px.ini"] = before;
      ProfileFile file("/p/Px.ini", fs);
      writes[k](file);
      EXPECT_EQ(file.readKeyNames(GeneralMidiVoices::Section), standard)
          << "write " << k << " over '" << before << "'";
      EXPECT_NE(fs.files["/p/Px.ini"].find("\n001 Acoustic Grand Piano=\n"), std::string::npos);
    }
    FakeFileLayer fs;
    fs.files["/p/Px.ini"] = "[General MIDI]\nMy Guitar=\nMy Bass=\n";
    ProfileFile file("/p/Px.ini", fs);
    writes[k](file);
    EXPECT_EQ(file.readKeyNames(GeneralMidiVoices::Section),
              (std::vector<std::string>{"My Guitar", "My Bass"}))
        << "write " << k;
  }
  // What MIDI Setup offers before any write.
  EXPECT_EQ(GeneralMidiVoices::offered(ProfileFile::Contents("[Main]\nBass=1\n")), standard);
  EXPECT_EQ(GeneralMidiVoices::offered(ProfileFile::Contents("[General MIDI]\nOne=\n")),
            std::vector<std::string>{"One"});
}
