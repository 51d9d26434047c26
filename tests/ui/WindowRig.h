#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <concepts>
#include <memory>
#include <string>

#include "DataDir.h"
#include "FakeFileLayer.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "settings/ProfileFile.h"
#include "ui/MainWindow.h"

// The window every widget test drives: a private copy of the data files, a
// question seam answered from a script, and the main window over both. A
// test asks `ask` for answers and files and drives `w` with real input.
// This is the only place a test builds a MainWindow (a CTest check keeps it
// so), so no test can open a real dialog by leaving the seam out. A test
// that watches the questions more closely gives its own kind of prompter.
template <class Asker = ScriptedPrompter>
struct BasicWindowRig {
  DataDir data;
  // The program folder the window reads its data files from.
  std::string programDir;
  Asker ask;
  MainWindow w;
  QTemporaryDir files;

  explicit BasicWindowRig(MainWindow::Services services = {})
      : programDir(data.path()), w(programDir, &ask, services) {}
  // A window started over a data copy that `prepare` changed first: a file
  // taken away or damaged before the program reads it.
  template <class Prepare>
  requires std::invocable<Prepare, DataDir&>
  explicit BasicWindowRig(Prepare prepare, MainWindow::Services services = {})
      : programDir((prepare(data), data.path())), w(programDir, &ask, services) {}
  // A window over another program folder: "/nonexistent/" starts without any
  // data files, "/prog/" is where a fake file layer keeps the settings.
  explicit BasicWindowRig(const std::string& dir, MainWindow::Services services = {})
      : programDir(dir), w(programDir, &ask, services) {}

  // A second window over the same program folder, with its own questions: a
  // later start that reads what this one saved or left behind.
  struct Second {
    ScriptedPrompter ask;
    MainWindow w;
    Second(const std::string& dir, MainWindow::Services services) : w(dir, &ask, services) {}
  };
  std::unique_ptr<Second> another(MainWindow::Services services = {}) const {
    return std::make_unique<Second>(programDir, services);
  }

  // A file in the rig's own folder.
  QString file(const QString& name) const { return files.filePath(name); }
  // Saves the active tab's page through the Save button, as `name`, and
  // gives the file's bytes.
  QByteArray save(const QString& name) {
    ask.files.push_back(file(name));
    click(w, "sbtnSave");
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

using WindowRig = BasicWindowRig<>;

// A window over the program's own data files and help pages, its settings
// file in memory holding `iniText`, without MIDI.
struct SettingsWindowRig {
  static constexpr const char* Ini = "/prog/Px.ini";
  explicit SettingsWindowRig(const std::string& iniText = {}) : files(seeded(iniText)) {}
  FakeFileLayer files;
  ProfileFile ini{Ini, files};
  WindowRig rig{STRUMBO_PROGRAM_DIR "/", {&ini, nullptr}};
  MainWindow& window = rig.w;
  ScriptedPrompter& ask = rig.ask;

 private:
  static FakeFileLayer seeded(const std::string& iniText) {
    FakeFileLayer files;
    files.files[Ini] = iniText;
    return files;
  }
};
