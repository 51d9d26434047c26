#pragma once

#include <QStringList>

class MainWindow;

// The page files named on a window run's command line (`strumbo FILE...`),
// handed to the window once it is built.
void openFilesInWindow(MainWindow& window, const QStringList& paths);
