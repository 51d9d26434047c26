// Smooth Fingerings, measured. First the time to choose a full 72-slot page
// with nested repeats and the loop (target < 5 ms). Then the hand's travel
// on an evaluation set of common progressions (pop, jazz, blues, minor,
// modal) in all twelve keys, written as pages of first fingerings: the travel
// of the first fingerings, after smoothing, and the least travel the six
// stored fingerings allow (found by the same search with travel as its only
// cost); and with "Around fret N", how far the hand strays from N.
// `smooth_benchmark PROGRAM_DIR OUT_DIR` also writes the evaluation pages
// (first fingerings) to OUT_DIR, to try on the command line and in the window.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "design/FingeringPath.h"
#include "design/HandCost.h"
#include "files/PosixFileLayer.h"
#include "library/ChordLibrary.h"
#include "library/LibraryFiles.h"
#include "pages/PageFile.h"
#include "pages/SmoothFingerings.h"
#include "play/PagePlayer.h"
#include "play/PlayRoute.h"

namespace {

std::string Dir = std::string(STRUMBO_PROGRAM_DIR) + "/";

// A chord of a progression: semitones above the key, dictionary index.
struct Step {
  int Degree, Type;
};
constexpr int Maj = 0, Min = 19, Dom7 = 36, Min7 = 20, Maj7 = 2, M7b5 = 24, Sus4 = 7, Dom9 = 37;

struct Progression {
  const char* Name;
  std::vector<Step> Steps;
};

const std::vector<Progression>& evaluationSet() {
  static const std::vector<Progression> set = {
      {"pop I-V-vi-IV", {{0, Maj}, {7, Maj}, {9, Min}, {5, Maj}}},
      {"pop I-vi-IV-V", {{0, Maj}, {9, Min}, {5, Maj}, {7, Maj}}},
      {"pop vi-IV-I-V", {{9, Min}, {5, Maj}, {0, Maj}, {7, Maj}}},
      {"jazz ii-V-I-VI7", {{2, Min7}, {7, Dom7}, {0, Maj7}, {9, Dom7}}},
      {"jazz iii-vi-ii-V", {{4, Min7}, {9, Dom7}, {2, Min7}, {7, Dom7}}},
      {"blues 12 bars",
       {{0, Dom7},
        {5, Dom7},
        {0, Dom7},
        {0, Dom7},
        {5, Dom7},
        {5, Dom7},
        {0, Dom7},
        {0, Dom7},
        {7, Dom7},
        {5, Dom7},
        {0, Dom7},
        {7, Dom9}}},
      {"minor i-iv-v-i", {{0, Min}, {5, Min}, {7, Min}, {0, Min}}},
      {"minor ii-V-i", {{2, M7b5}, {7, Dom7}, {0, Min}, {0, Min}}},
      {"andalusian", {{0, Min}, {10, Maj}, {8, Maj}, {7, Maj}}},
      {"mixolydian I-bVII-IV", {{0, Maj}, {10, Maj}, {5, Maj}, {0, Maj}}},
      {"dorian i-IV", {{0, Min7}, {5, Maj}, {0, Min7}, {5, Sus4}}},
  };
  return set;
}

// One chord a bar (4/4), first fingerings; the section repeated once.
struct Page {
  PlayPageSlots Slots{};
  SmoothRequest Request;
};

bool build(Page& page, const Progression& p, int key) {
  for (auto& column : page.Slots)
    for (auto& d : column) d.Empty = 1;
  int slot = 0;
  for (const Step& s : p.Steps) {
    if (slot >= PlaySlotCount) break;
    const auto family = ChordLibrary::familyOfDictionaryIndex(s.Type);
    TChordDiagram set[6];
    TChordFormula formula{};
    if (readChordSet(Dir, int(family->Family), family->Type, (key + s.Degree) % 12, set, formula)
            .Status != LibraryStatus::Ok)
      return false;
    page.Slots[slot % 12][slot / 12] = set[0];
    slot += p.Steps.size() > 8 ? 4 : 8;
  }
  page.Request.Marks.ReturnMark[0] = 1;
  const int lastBar = (slot - 1) / 8;
  page.Request.Marks.RepeatCount[lastBar] = 1;
  return true;
}

// The least travel the stored fingerings allow: the same search, with the
// distance between hand positions as its only cost.
double leastTravel(const Page& page) {
  LibraryFingerings lib(Dir);
  const PlayList list = playListFrom(page.Slots);
  const PlayRoute route = playRoute(list, page.Request.Marks, false, false);
  std::vector<int> index(PlaySlotCount, -1);
  std::vector<std::vector<TChordDiagram>> cands;
  FingeringChoiceProblem problem;
  for (int s = 0; s < PlaySlotCount; ++s) {
    if (isEmpty(list[s])) continue;
    index[s] = int(cands.size());
    const auto* set = lib.of(list[s]);
    cands.emplace_back(set->begin(), set->end());
    problem.Cost.emplace_back(6, 0.0);
  }
  for (const auto& c : route.Changes)
    problem.Links.push_back({index[c.From], index[c.To], double(c.Count)});
  problem.Change = [&](int f, int a, int t, int b) {
    const auto x = handPosition(cands[f][a].Strings), y = handPosition(cands[t][b].Strings);
    return x && y ? std::abs(*x - *y) : 0.0;
  };
  return chooseFingerings(problem).Total;
}

void timing() {
  Page page;
  const Progression& blues = evaluationSet()[5];
  std::vector<double> ms;
  for (int run = 0; run < 200; ++run) {
    for (auto& column : page.Slots)
      for (auto& d : column) d.Empty = 1;
    // Every slot filled from the twelve-bar blues in a key that changes per
    // run, with nested repeats and the loop.
    for (int s = 0; s < PlaySlotCount; ++s) {
      const Step& st = blues.Steps[std::size_t(s / 6) % blues.Steps.size()];
      const auto family = ChordLibrary::familyOfDictionaryIndex(st.Type);
      TChordDiagram set[6];
      TChordFormula formula{};
      readChordSet(Dir, int(family->Family), family->Type, (run + st.Degree) % 12, set, formula);
      page.Slots[s % 12][s / 12] = set[0];
    }
    page.Request = {};
    page.Request.Marks.ReturnMark[0] = page.Request.Marks.ReturnMark[2] = 1;
    page.Request.Marks.RepeatCount[3] = 2;
    page.Request.Marks.RepeatCount[6] = 3;
    page.Request.Marks.ReturnMark[7] = 1;
    page.Request.Marks.RepeatCount[8] = 1;
    page.Request.Marks.LoopMark[8] = 1;
    page.Request.Loop = true;
    LibraryFingerings lib(Dir);
    lib.of(page.Slots[0][0]);  // the dictionary read is not part of the choice
    const auto t0 = std::chrono::steady_clock::now();
    smoothFingerings(page.Slots, page.Request, lib);
    const auto t1 = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("full page, nested repeats and loop: median %.3f ms, worst %.3f ms (target < 5 ms)\n",
              ms[ms.size() / 2], ms.back());
}

}  // namespace

void writePages(const std::string& out) {
  PosixFileLayer files;
  for (const Progression& p : evaluationSet())
    for (int key = 0; key < 12; ++key) {
      Page page;
      if (!build(page, p, key)) return;
      PageContents contents;
      contents.Kind = PageKind::Play;
      std::copy(&page.Slots[0][0], &page.Slots[0][0] + PlaySlotCount, &contents.PlayPage[0][0]);
      contents.Header = {false, -300, 100, false, false};
      std::string name = std::string(p.Name) + "-" + std::to_string(key);
      std::replace(name.begin(), name.end(), ' ', '_');
      savePageFile(files, out + "/" + name + ".ppf", contents, &page.Request.Marks);
    }
}

int main(int argc, char** argv) {
  if (argc > 1) Dir = std::string(argv[1]) + "/";
  if (argc > 2) writePages(argv[2]);
  timing();
  std::printf("\n%-22s %9s %9s %9s %7s %9s\n", "progression (12 keys)", "first", "smoothed",
              "least", "ratio", "around 7");
  double sumFirst = 0, sumSmooth = 0, sumLeast = 0;
  for (const Progression& p : evaluationSet()) {
    double first = 0, smooth = 0, least = 0, stray = 0;
    int chords = 0;
    for (int key = 0; key < 12; ++key) {
      Page page;
      if (!build(page, p, key)) {
        std::printf("cannot read the chord library in %s\n", Dir.c_str());
        return 1;
      }
      least += leastTravel(page);
      Page around = page;
      LibraryFingerings lib(Dir);
      const SmoothResult r = smoothFingerings(page.Slots, page.Request, lib);
      first += r.TravelBefore;
      smooth += r.TravelAfter;
      around.Request.Where = HandPlace::AroundFret;
      around.Request.Fret = 7;
      smoothFingerings(around.Slots, around.Request, lib);
      for (const auto& column : around.Slots)
        for (const auto& d : column)
          if (!isEmpty(d)) {
            stray += std::abs(handPosition(d.Strings).value_or(0) - 7);
            ++chords;
          }
    }
    sumFirst += first;
    sumSmooth += smooth;
    sumLeast += least;
    std::printf("%-22s %9.1f %9.1f %9.1f %7.2f %8.2f\n", p.Name, first, smooth, least,
                least > 0 ? smooth / least : 1.0, stray / chords);
  }
  std::printf("%-22s %9.1f %9.1f %9.1f %7.2f\n", "all", sumFirst, sumSmooth, sumLeast,
              sumSmooth / sumLeast);
  std::printf(
      "(travel in frets over one play of each page with its repeat; ratio = smoothed / "
      "least; around 7 = mean frets from fret 7)\n");
  return 0;
}
