#include "ui/LibraryMessages.h"

#include "ui/Prompter.h"

bool libraryReadOk(Prompter& ask, QWidget* parent, const LibraryResult& read,
                   const QString& missing) {
  if (read.Status == LibraryStatus::Ok) return true;
  ask.error(parent, read.Status == LibraryStatus::MissingFiles
                        ? missing
                        : QString::fromStdString(libraryErrorText(read)));
  return false;
}
