#pragma once

// A window over a MIDI component on virtual time with a logging device, so a
// test can press Play for real and keep the window playing for as long as it
// does not advance the clock.

#include <QCoreApplication>
#include <QMenuBar>
#include <optional>
#include <string>

#include "../play/FakeMidiDevices.h"
#include "../settings/FakeFileLayer.h"
#include "WindowRig.h"
#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"
#include "midi/VirtualClock.h"
#include "settings/ProfileFile.h"
#include "state/AppState.h"

struct MidiRig {
  VirtualClock clock;
  MidiLog log{clock, {}, {}};
  FakeMidiDevices devices{log};
  MidiComponent midi{clock, devices};
  MidiSession session{midi};
  FakeFileLayer files;
  ProfileFile ini{"/prog/Px.ini", files};
  WindowRig rig{"/prog/", {&ini, &session}};
  MainWindow& window = rig.w;
  ScriptedPrompter& ask = rig.ask;

  // Plays everything due up to `micros` and delivers the window messages.
  void runUntil(std::int64_t micros) {
    while (midi.nextDue() <= micros) {
      midi.advanceTo(midi.nextDue());
      QCoreApplication::processEvents();
    }
    clock.set(micros);
    QCoreApplication::processEvents();
  }
  bool menuEnabled() const {
    for (QAction* a : window.menuBar()->actions())
      if (a->isVisible() && !a->isEnabled()) return false;
    return true;
  }
  int sent(const std::string& prefix) const {
    int n = 0;
    for (const auto& e : log.entries) n += e.what.rfind(prefix, 0) == 0;
    return n;
  }
};

// A window whose settings and exports go to files in memory, with the
// component on a virtual clock.
struct ExportRig {
  VirtualClock clock;
  MidiLog log{clock, {}, {}};
  FakeMidiDevices devices{log};
  MidiComponent midi{clock, devices};
  MidiSession session{midi};
  FakeFileLayer files;  // the settings
  FakeFileLayer disk;   // where exports go
  ProfileFile ini{"/prog/Px.ini", files};
  ScriptedPrompter ask;
  std::optional<MainWindow> window;

  MainWindow& open() {
    window.emplace("/prog/", &ask, MainWindowServices{&ini, &session, &disk});
    return *window;
  }
  bool kept(const std::string& path, const std::string& text) {
    return disk.files[path] == text && !disk.temporaryLeft(path);
  }
};

// A chord fingered on the window's starting tuning: frets and fingers by
// string, 0 the highest; finger 5 mutes the string.
inline TChordDiagram fingered(const char* name, const int (&frets)[6], const int (&fingers)[6],
                              int root) {
  TChordDiagram c = startFingering();
  c.ChordName = name;
  for (int s = 0; s < 6; ++s) {
    c.Strings[s] = {static_cast<std::uint8_t>(frets[s]), static_cast<std::uint8_t>(fingers[s])};
    c.Notes[s] = fingers[s] == 5 ? 0 : static_cast<std::uint8_t>(c.Tuning[s] + frets[s]);
  }
  c.Root = static_cast<std::uint8_t>(root);
  c.Bass = static_cast<std::uint8_t>(24 + root);
  return c;
}

// Open E, fingered, as a player takes it in hand to play.
inline TChordDiagram openE() {
  return fingered("maj", {0, 0, 1, 2, 2, 0}, {0, 0, 1, 3, 2, 0}, 4);
}
