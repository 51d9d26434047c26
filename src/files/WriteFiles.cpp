#include "files/WriteFiles.h"

#include <vector>

namespace {

struct Pending {
  const FileWrite* Write;
  std::string Temporary;
  std::optional<std::string> Backup;  // a copy of the old file, while others may still fail
  bool Existed = false;
  bool Replaced = false;
};

void discard(FileLayer& files, std::vector<Pending>& pending) {
  for (Pending& p : pending) {
    if (!p.Replaced) files.remove(p.Temporary);
    if (p.Backup) files.remove(*p.Backup);
  }
}

}  // namespace

std::optional<FileWriteFailure> writeFilesTogether(FileLayer& files,
                                                   std::initializer_list<FileWrite> writes) {
  std::vector<Pending> pending;
  pending.reserve(writes.size());
  for (const FileWrite& w : writes) {
    auto temporary = files.writeTemporary(w.Path, w.Data);
    if (!temporary) {
      FileWriteFailure failure{w.Path, files.lastError()};
      discard(files, pending);
      return failure;
    }
    pending.push_back({&w, *temporary, std::nullopt, false, false});
  }
  // Every file but the last is replaced while a later one can still fail, so
  // each of those keeps a copy of what it replaces until the end.
  for (size_t i = 0; i + 1 < pending.size(); ++i) {
    Pending& p = pending[i];
    p.Existed = files.exists(p.Write->Path);
    if (!p.Existed) continue;
    const auto old = files.read(p.Write->Path);
    if (old) p.Backup = files.writeTemporary(p.Write->Path, *old);
    if (!old || !p.Backup) {
      FileWriteFailure failure{p.Write->Path, files.lastError()};
      discard(files, pending);
      return failure;
    }
  }
  for (size_t i = 0; i < pending.size(); ++i) {
    Pending& p = pending[i];
    if (files.replace(p.Temporary, p.Write->Path)) {
      p.Replaced = true;
      continue;
    }
    FileWriteFailure failure{p.Write->Path, files.lastError()};
    // Put back what was replaced already, newest first.
    for (size_t j = i; j-- > 0;) {
      Pending& done = pending[j];
      if (done.Backup && files.replace(*done.Backup, done.Write->Path))
        done.Backup.reset();
      else if (!done.Existed)
        files.remove(done.Write->Path);
    }
    discard(files, pending);
    return failure;
  }
  for (Pending& p : pending)
    if (p.Backup) files.remove(*p.Backup);
  return std::nullopt;
}
