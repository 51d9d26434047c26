#pragma once

#include <string_view>
#include <vector>

#include "music/TuningPresets.h"
#include "settings/ProfileFile.h"

// The player's own named tunings in "Px.ini": section "User Tunings" counts
// them in "Number" and holds tuning n (from 1) as "Name<n>" and "Notes<n>",
// the six open-string note numbers from the lowest string up, as a player
// reads a tuning. Whatever the file holds, only entries that could have been
// saved are read: a name of 1 to 15 printable characters that is no built-in
// preset's and not given before, and six notes on the neck.
namespace UserTuningStore {

inline constexpr const char* Section = "User Tunings";
// Far more than a drop-down list is any use with; the bound also keeps a
// damaged "Number" from stalling start-up.
inline constexpr int MaxTunings = 100;

std::vector<NamedTuning> read(const ProfileFile::Contents& file);

enum class SaveResult { Added, Replaced, BadName, BuiltInName, Full };

// Keeps `notes` under `name` (blanks at either end dropped): a tuning of the
// same name is replaced in its place, otherwise the tuning is added at the
// end. Nothing is written for a bad or built-in name, notes off the neck
// (BadName too), or when the list is full. Throws ProfileWriteError, with the file as it was, when
// it cannot be written.
SaveResult save(ProfileFile& file, std::string_view name, const Tuning& notes);

// Removes the tuning of that name; false, with nothing written, when there
// is none.
bool remove(ProfileFile& file, std::string_view name);

// The name as it would be stored: blanks at either end dropped. Empty when
// it could not be stored (empty, too long, or holding control characters).
std::string storableName(std::string_view name);

}  // namespace UserTuningStore
