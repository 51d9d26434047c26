#pragma once

#include <QString>

#include "library/LibraryFiles.h"

class Prompter;
class QWidget;

// Tells the user why a library read failed: `missing` when the file is not
// there, the file's name when it is short or damaged. True when it was read.
bool libraryReadOk(Prompter& ask, QWidget* parent, const LibraryResult& read,
                   const QString& missing);
