#pragma once

#include <string>

// The directory of the running executable, ending in '/': where the data
// files, the help pages and Px.ini are looked up. Symbolic links to the
// executable are followed, so an installed link in bin/ still finds the data.
std::string programDirectory(const char* argv0);
