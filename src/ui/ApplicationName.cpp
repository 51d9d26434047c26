#include "ui/ApplicationName.h"

#include <QApplication>

void nameApplication() {
  QApplication::setApplicationName(QStringLiteral("Strumbo!"));
  // No display name: once one is set, Qt appends " — Strumbo!" to every
  // window title it hands the window system, and the captions are the
  // program's own already ("Strumbo!   song.cpf", "Plectrix", "MIDI Setup").
  // The desktop entry's name, so that a Wayland desktop shows the windows
  // with the launcher's icon and name.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.strumbo.Strumbo"));
}
