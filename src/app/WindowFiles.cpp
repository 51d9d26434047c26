#include "app/WindowFiles.h"

#include "ui/MainWindow.h"

void openFilesInWindow(MainWindow& window, const QStringList& paths) {
  if (!paths.isEmpty()) window.openFiles(paths);
}
