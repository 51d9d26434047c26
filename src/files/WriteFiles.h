#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileLayer.h"

struct FileWrite {
  std::string Path;
  std::string_view Data;
};

struct FileWriteFailure {
  std::string Path;    // the file that could not be written
  std::string Reason;  // the layer's words for why
};

// A few files in one folder that belong together (a page and its companion):
// they are written together and read together. The first is the group's own
// name; a write of several of them keeps its plan beside it, in
// `first` + ".saving" (".undoing" once it is being taken back), until every
// file is in place.
//
// How a write of the group stays whole through a crash at any point: the new
// contents go to complete, synced temporaries first, and the old files get a
// second name each; only then is the plan written (itself through a temporary
// and a rename), and only then are the temporaries renamed over the old
// files. So a crash before the plan leaves only the old files and leftovers,
// and a crash after it leaves a plan that the next reader or writer of the
// group carries out to the end (or takes back, when the plan says the write
// was being undone). Everything runs under the folder's lock, so two
// instances never write or settle the group at once and never read it half
// written.
//
// Takes the folder's lock, finishes or undoes a write of `group` that was cut
// short, and removes what such writes left beside the group's files (their
// temporaries and second names, by their exact patterns; nothing else). The
// lock is handed to `held`, so that the caller reads the group while nobody
// writes it. A failure when an interrupted write could not be carried out;
// then the files may be a mix, and must not be read as one page.
std::optional<FileWriteFailure> settleFiles(FileLayer& files, const std::vector<std::string>& group,
                                            std::unique_ptr<FileLayer::Lock>& held);

// One line for the player or the terminal: "Could not write PATH: REASON."
std::string couldNotWrite(const std::string& path, const std::string& reason);

// Writes every file, or none: the group is settled first, as above; should a
// replacement fail, the files already replaced are put back as they were, so
// on any failure every old file is byte-identical and no temporary is left.
// `others` are further members of the group not written this time (a page
// saved without its companion), whose leftovers go too.
std::optional<FileWriteFailure> writeFilesTogether(FileLayer& files,
                                                   std::initializer_list<FileWrite> writes,
                                                   const std::vector<std::string>& others = {});
