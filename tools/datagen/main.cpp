// strumbo_datagen: builds the program's data files from the tables under
// data/ and prints the chord library for review.
//
//   strumbo_datagen generate DATA_DIR OUT_DIR
//   strumbo_datagen show LIB_DIR [KEY|all] [TYPE|all]   e.g. show bin C maj7
//   strumbo_datagen summary LIB_DIR
//   strumbo_datagen candidates DATA_DIR KEY TYPE
#include <algorithm>
#include <iomanip>
#include <iostream>
#include <optional>
#include <string>

#include "DataWriter.h"
#include "LibraryReport.h"
#include "SourceTables.h"
#include "VoicingGenerator.h"

namespace {

int usage() {
  std::cerr << "usage: strumbo_datagen generate DATA_DIR OUT_DIR\n"
               "       strumbo_datagen show LIB_DIR [KEY|all] [TYPE|all]\n"
               "       strumbo_datagen summary LIB_DIR\n"
               "       strumbo_datagen candidates DATA_DIR KEY TYPE\n";
  return 2;
}

int fail(const std::string& error) {
  std::cerr << "strumbo_datagen: " << error << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string mode = argv[1];
  std::string error;
  if (mode == "generate" && argc == 4) {
    SourceTables tables;
    VoicingGenerator voicings;
    if (!tables.load(argv[2], error) || !voicings.prepare(tables, error)) return fail(error);
    DataWriter writer(tables, voicings);
    if (!writer.writeAll(argv[3], error)) return fail(error);
    return 0;
  }
  if (mode == "show" && argc >= 3 && argc <= 5) {
    LibraryReport report(argv[2]);
    std::optional<int> key, type;
    if (argc >= 4 && std::string(argv[3]) != "all") {
      key = keyByName(argv[3]);
      if (!key) return fail(std::string("no key ") + argv[3]);
    }
    if (argc == 5 && std::string(argv[4]) != "all") {
      type = report.typeByName(argv[4], error);
      if (!type) return fail(error);
    }
    if (!report.showChords(std::cout, key, type, error)) return fail(error);
    return 0;
  }
  if (mode == "candidates" && argc == 5) {
    // Every fingering the search finds for one chord, best first: for tuning
    // the scores.
    SourceTables tables;
    VoicingGenerator voicings;
    if (!tables.load(argv[2], error) || !voicings.prepare(tables, error)) return fail(error);
    const auto key = keyByName(argv[3]);
    const auto type = tables.typeByName(argv[4]);
    if (!key || !type) return fail("unknown key or type");
    auto all = voicings.candidates(*type, *key);
    std::stable_sort(all.begin(), all.end(),
                     [](const Candidate& a, const Candidate& b) { return a.Score > b.Score; });
    for (const auto& c : all) {
      std::cout << std::fixed << std::setprecision(1) << std::setw(7) << c.Score << "  "
                << std::left << std::setw(18) << c.Shape.fretText() << std::right << " "
                << c.Shape.fingerText() << (c.RootInBass ? "  root-bass" : "")
                << (c.Rootless ? "  rootless" : "") << (c.Template ? "  shape" : "") << "\n";
    }
    return 0;
  }
  if (mode == "summary" && argc == 3) {
    LibraryReport report(argv[2]);
    if (!report.showSummary(std::cout, error)) return fail(error);
    return 0;
  }
  return usage();
}
