#include "ui/ApplicationName.h"

#include <QApplication>

void nameApplication() {
  QApplication::setApplicationName(QStringLiteral("Strumbo!"));
  // No display name: once one is set, Qt appends " — Strumbo!" to every
  // window title it hands the window system, and the captions are the
  // program's own already ("Strumbo!   song.cpf", "Plectrix", "MIDI Setup").
}
