#pragma once

#include <string>
#include <utility>
#include <vector>

#include "SourceTables.h"
#include "VoicingGenerator.h"

// Writes the eight data files the program reads from its directory: the
// chord formula dictionary, the scale library and the six chord library
// files, byte for byte in their record layouts.
class DataWriter {
 public:
  DataWriter(const SourceTables& tables, const VoicingGenerator& voicings)
      : Tables(tables), Voicings(voicings) {}

  // False with a message when a file cannot be written or a chord comes out
  // with fewer than six fingerings; nothing is written then.
  bool writeAll(const std::string& dir, std::string& error) const;

 private:
  using Files = std::vector<std::pair<std::string, std::vector<char>>>;
  void dictionary(Files& files) const;
  void scales(Files& files) const;
  bool library(ChordFamilyKind family, Files& files, std::string& error) const;

  const SourceTables& Tables;
  const VoicingGenerator& Voicings;
};
