#pragma once

#include <string_view>

#include "design/UserChords.h"
#include "music/Records.h"
#include "settings/ProfileFile.h"

// The user chord types in "Px.ini": section "UserChords" counts them in
// "Number", and list item n (62 on) is the section named n, holding "Name",
// "Formula" and the interval list "I0" to "I6". Each change reads the file
// once and saves it once, so a failed write (ProfileWriteError) leaves the
// file exactly as it was.
namespace UserChordStore {

// The chord type of section `section`, checked as userChordFormula checks it.
TChordFormula read(const ProfileFile::Contents& file, int section);

// Adds a chord type as section `section` and counts it. Blanks at either end
// of the name and formula are dropped (the file could not keep them); an
// empty name is stored as "NONAME". Returns the name stored.
std::string add(ProfileFile& file, int section, std::string_view name, std::string_view formula,
                const UserIntervals& intervals);

// Deletes list item `item` of a list of `itemCount` items: each later
// section moves down one, the last section is erased and the count lowered.
// False, with nothing changed, when the file counts no user chord.
bool remove(ProfileFile& file, int item, int itemCount);

}  // namespace UserChordStore
