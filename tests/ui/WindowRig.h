#pragma once

#include <QFile>
#include <QTemporaryDir>

#include "DataDir.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "ui/MainWindow.h"

// The window every widget test drives: a private copy of the data files, a
// question seam answered from a script, and the main window over both. A
// test asks `ask` for answers and files and drives `w` with real input.
struct WindowRig {
  DataDir data;
  ScriptedPrompter ask;
  MainWindow w;
  QTemporaryDir files;

  explicit WindowRig(MainWindow::Services services = {}) : w(data.path(), &ask, services) {}

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
