#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "files/FileLayer.h"

struct FileWrite {
  std::string Path;
  std::string_view Data;
};

struct FileWriteFailure {
  std::string Path;    // the file that could not be written
  std::string Reason;  // the layer's words for why
};

// Writes every file, or none: each one goes to a complete temporary beside
// its destination first, and only when all are whole do they replace the old
// files, in the order given. Should a later replacement fail, the files
// already replaced are put back as they were, so on any failure every old file
// is byte-identical and no temporary is left.
std::optional<FileWriteFailure> writeFilesTogether(FileLayer& files,
                                                   std::initializer_list<FileWrite> writes);
