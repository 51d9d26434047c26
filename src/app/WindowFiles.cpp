#include "app/WindowFiles.h"

#include "ui/MainWindow.h"

void openFilesInWindow(MainWindow& window, const QStringList& paths) {
  // The window's opening of pages lands with MainWindow::openFiles; until
  // then the names are accepted and the window starts empty.
  (void)window;
  (void)paths;
}
