#pragma once

#include <string>

// The one name a page file is known by: absolute, with "." and ".." and links
// in its folders resolved as far as they exist. A name typed relative to one
// folder still finds the file from any other, and two spellings of one file
// are one entry in a list of files. The file's own name is kept even when it
// is a link, since its extension says what kind of page it holds.
std::string canonicalPath(const std::string& path);
