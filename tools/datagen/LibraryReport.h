#pragma once

#include <iosfwd>
#include <optional>
#include <string>

// Prints the shipped chord library as text so a person can review it without
// starting the program: a chord's six fingerings (low string first, with
// fingers, base fret, notes and intervals), and a summary per chord type.
// Reads the data files as the program does, not the generator's memory.
class LibraryReport {
 public:
  explicit LibraryReport(std::string dir) : Dir(std::move(dir)) {}

  // Key 0..11 or every key; type 0..61 or every type.
  bool showChords(std::ostream& out, std::optional<int> key, std::optional<int> type,
                  std::string& error) const;
  bool showSummary(std::ostream& out, std::string& error) const;

  // Dictionary index of a dictionary name such as "maj7", or of "0".."61".
  std::optional<int> typeByName(const std::string& name, std::string& error) const;

 private:
  std::string Dir;
};
