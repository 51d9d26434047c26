#include "files/WriteFiles.h"

#include <algorithm>

namespace {

constexpr std::string_view PlanHeading = "strumbo write plan 1\n";
constexpr std::string_view PlanSuffix = ".saving", UndoSuffix = ".undoing";
// Far more than any plan of a few file names; a longer file is not one.
constexpr std::size_t LongestPlan = 65536;

// The folder part of a path, with its '/'; empty for a bare name.
std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// `member` + ".tmp-" or ".old-" + eight of [0-9a-z]: a temporary or a second
// name of `member`, as the file layer makes them.
bool isLeftoverOf(std::string_view name, std::string_view member) {
  if (!name.starts_with(member)) return false;
  std::string_view rest = name.substr(member.size());
  if (!rest.starts_with(".tmp-") && !rest.starts_with(".old-")) return false;
  rest.remove_prefix(5);
  return rest.size() == 8 && std::all_of(rest.begin(), rest.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
         });
}

// One file of a write of several, as its plan keeps it. Names are without
// the folder: every file of a group lies in the folder of the first.
struct Step {
  std::string Name;
  bool Existed = false;   // there was an old file to take back
  std::string Temporary;  // the new contents until they are renamed into place
  std::string Backup;     // a second name of the old file; empty without one
};

// NUL ends each field: the one character no file name holds.
std::string encodePlan(const std::vector<Step>& steps) {
  std::string out(PlanHeading);
  for (const Step& s : steps) {
    for (const std::string_view field :
         {std::string_view(s.Name), std::string_view(s.Existed ? "1" : "0"),
          std::string_view(s.Temporary), std::string_view(s.Backup)}) {
      out += field;
      out += '\0';
    }
  }
  return out;
}

// The plan's steps, or nothing when the text is not a plan for files of
// `group` (names without the folder), so that no stranger file is touched.
std::optional<std::vector<Step>> decodePlan(std::string_view text,
                                            const std::vector<std::string>& group) {
  if (!text.starts_with(PlanHeading)) return std::nullopt;
  text.remove_prefix(PlanHeading.size());
  std::vector<std::string_view> fields;
  while (!text.empty()) {
    const auto end = text.find('\0');
    if (end == std::string_view::npos) return std::nullopt;
    fields.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  if (fields.empty() || fields.size() % 4 != 0) return std::nullopt;
  std::vector<Step> steps;
  for (size_t i = 0; i < fields.size(); i += 4) {
    Step s{std::string(fields[i]), fields[i + 1] == "1", std::string(fields[i + 2]),
           std::string(fields[i + 3])};
    if (std::find(group.begin(), group.end(), s.Name) == group.end()) return std::nullopt;
    if (fields[i + 1] != "0" && fields[i + 1] != "1") return std::nullopt;
    if (!isLeftoverOf(s.Temporary, s.Name)) return std::nullopt;
    if (!s.Backup.empty() && !isLeftoverOf(s.Backup, s.Name)) return std::nullopt;
    steps.push_back(std::move(s));
  }
  return steps;
}

// Every temporary still there goes into place, then the second names of the
// old files go. Each step can be run again after a crash in the middle.
bool rollForward(FileLayer& files, const std::string& folder, const std::vector<Step>& steps,
                 FileWriteFailure& failure) {
  for (const Step& s : steps) {
    const std::string temporary = folder + s.Temporary;
    if (files.exists(temporary) && !files.replace(temporary, folder + s.Name)) {
      failure = {folder + s.Name, files.lastError()};
      return false;
    }
  }
  for (const Step& s : steps)
    if (!s.Backup.empty() && files.exists(folder + s.Backup)) files.remove(folder + s.Backup);
  return true;
}

// Every old file comes back (a file that was not there before goes again) and
// every temporary goes, newest first. Can be run again after a crash too.
bool rollBack(FileLayer& files, const std::string& folder, const std::vector<Step>& steps,
              FileWriteFailure& failure) {
  for (auto s = steps.rbegin(); s != steps.rend(); ++s) {
    const std::string target = folder + s->Name;
    const std::string backup = folder + s->Backup;
    if (!s->Backup.empty() && files.exists(backup)) {
      if (!files.replace(backup, target)) {
        failure = {target, files.lastError()};
        return false;
      }
      // Renaming a second name over the first does nothing when the file was
      // never replaced: the name is still there.
      if (files.exists(backup)) files.remove(backup);
    } else if (!s->Existed && files.exists(target)) {
      files.remove(target);
    }
    if (files.exists(folder + s->Temporary)) files.remove(folder + s->Temporary);
  }
  return true;
}

void discard(FileLayer& files, const std::string& folder, const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    if (!s.Temporary.empty()) files.remove(folder + s.Temporary);
    if (!s.Backup.empty()) files.remove(folder + s.Backup);
  }
}

}  // namespace

std::string couldNotWrite(const std::string& path, const std::string& reason) {
  return reason.empty() ? "Could not write " + path
                        : "Could not write " + path + ": " + reason + ".";
}

std::optional<FileWriteFailure> settleFiles(FileLayer& files, const std::vector<std::string>& group,
                                            std::unique_ptr<FileLayer::Lock>& held) {
  held.reset();
  if (group.empty()) return std::nullopt;
  const std::string& first = group.front();
  held = files.lockFolderOf(first);
  const std::string folder = folderOf(first);
  std::vector<std::string> names;
  for (const std::string& path : group) names.push_back(nameOf(path));

  // A plan being undone first: it was the plan of the last write.
  for (const std::string_view suffix : {UndoSuffix, PlanSuffix}) {
    const std::string plan = first + std::string(suffix);
    if (!files.exists(plan)) continue;
    const auto text = files.readAtMost(plan, LongestPlan + 1);
    if (!text) return FileWriteFailure{first, files.lastError()};
    // Anything else under the name is no plan of this program's; it goes.
    if (const auto steps = text->size() <= LongestPlan ? decodePlan(*text, names) : std::nullopt) {
      FileWriteFailure failure;
      const bool done = suffix == UndoSuffix ? rollBack(files, folder, *steps, failure)
                                             : rollForward(files, folder, *steps, failure);
      if (!done) return failure;
    }
    files.remove(plan);
  }

  std::vector<std::string> members = names;
  members.push_back(nameOf(first) + std::string(PlanSuffix));
  for (const std::string& name : files.namesBeside(first)) {
    for (const std::string& member : members) {
      if (isLeftoverOf(name, member)) {
        files.remove(folder + name);
        break;
      }
    }
  }
  return std::nullopt;
}

std::optional<FileWriteFailure> writeFilesTogether(FileLayer& files,
                                                   std::initializer_list<FileWrite> writes,
                                                   const std::vector<std::string>& others) {
  if (writes.size() == 0) return std::nullopt;
  std::vector<std::string> group;
  for (const FileWrite& w : writes) group.push_back(w.Path);
  group.insert(group.end(), others.begin(), others.end());
  std::unique_ptr<FileLayer::Lock> lock;
  if (auto failure = settleFiles(files, group, lock)) return failure;

  const std::string& first = writes.begin()->Path;
  const std::string folder = folderOf(first);
  std::vector<Step> steps;
  steps.reserve(writes.size());
  for (const FileWrite& w : writes) {
    auto temporary = files.writeTemporary(w.Path, w.Data);
    if (!temporary) {
      FileWriteFailure failure{w.Path, files.lastError()};
      discard(files, folder, steps);
      return failure;
    }
    steps.push_back({nameOf(w.Path), false, nameOf(*temporary), {}});
  }
  if (steps.size() == 1) {
    // One rename replaces one file whole; there is nothing to plan.
    if (files.replace(folder + steps[0].Temporary, first)) return std::nullopt;
    FileWriteFailure failure{first, files.lastError()};
    discard(files, folder, steps);
    return failure;
  }

  // Every file but the last is replaced while a later one can still fail, so
  // each of those keeps a second name of what it replaces until the end.
  for (size_t i = 0; i < steps.size(); ++i) {
    Step& s = steps[i];
    const std::string target = folder + s.Name;
    s.Existed = files.exists(target);
    if (!s.Existed || i + 1 == steps.size()) continue;
    const auto backup = files.keepAside(target);
    if (!backup) {
      FileWriteFailure failure{target, files.lastError()};
      discard(files, folder, steps);
      return failure;
    }
    s.Backup = nameOf(*backup);
  }

  const std::string planPath = first + std::string(PlanSuffix);
  const std::string undoPath = first + std::string(UndoSuffix);
  const auto planTemporary = files.writeTemporary(planPath, encodePlan(steps));
  if (!planTemporary || !files.replace(*planTemporary, planPath)) {
    FileWriteFailure failure{first, files.lastError()};
    if (planTemporary) files.remove(*planTemporary);
    discard(files, folder, steps);
    return failure;
  }

  for (const Step& s : steps) {
    if (files.replace(folder + s.Temporary, folder + s.Name)) continue;
    FileWriteFailure failure{folder + s.Name, files.lastError()};
    // The plan is marked as undone before anything is put back, so that a
    // crash while putting back finishes putting back. Should even the mark
    // fail, the plan stays as it is and the next reader finishes the write:
    // undoing without the mark could leave a mix after a crash.
    FileWriteFailure ignored;
    if (files.replace(planPath, undoPath) && rollBack(files, folder, steps, ignored))
      files.remove(undoPath);
    return failure;
  }
  for (const Step& s : steps)
    if (!s.Backup.empty()) files.remove(folder + s.Backup);
  files.remove(planPath);
  return std::nullopt;
}
