#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

// A private copy of the program's data files (STRUMBO_PROGRAM_DIR), so a test
// can break one or take it away without touching the build's own.
struct DataDir {
  QTemporaryDir dir;
  DataDir() {
    const QDir program(QStringLiteral(STRUMBO_PROGRAM_DIR));
    for (const QString& name : program.entryList({QStringLiteral("*.dat")}, QDir::Files))
      QFile::copy(program.filePath(name), dir.filePath(name));
  }
  // The folder as the window takes it, ending in '/'.
  std::string path() const { return (dir.path() + QLatin1Char('/')).toStdString(); }
  // Record `n` of `size` bytes of a data file.
  QByteArray record(const QString& file, int size, int n) const {
    QFile f(dir.filePath(file));
    if (!f.open(QIODevice::ReadOnly)) return {};
    f.seek(static_cast<qint64>(size) * n);
    return f.read(size);
  }
};
