// Writes the seed corpus: for each kind an empty page and a filled one, and
// two repeat companions, all from the encoder. Usage: write_seeds DIR
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "pages/PageFile.h"

namespace {

TChordDiagram chord(int n) {
  TChordDiagram d{};
  d.ChordName = "m7";
  d.TuningName = "Standard";
  d.Formula = "1 b3 5 b7";
  const std::uint8_t tuning[6] = {40, 45, 50, 55, 59, 64};
  std::memcpy(d.Tuning, tuning, 6);
  for (int s = 0; s < 6; ++s) {
    d.Strings[s] = {static_cast<std::uint8_t>((n + s) % 6), static_cast<std::uint8_t>(s % 7)};
    d.Notes[s] = s % 7 == 5 ? 0 : static_cast<std::uint8_t>(tuning[s] + d.Strings[s].Fret);
  }
  const std::int8_t iv[7] = {0, 3, 7, 10, 14, -1, -1};
  std::memcpy(d.Intervals, iv, 7);
  d.BaseFret = static_cast<std::uint8_t>(1 + n % 17);
  d.Root = static_cast<std::uint8_t>(n % 12);
  d.Bass = static_cast<std::uint8_t>(24 + (n + 4) % 12);
  return d;
}

TScaleDiagram scale(int n) {
  TScaleDiagram d{};
  d.ScaleName = "Dorian";
  d.TuningName = "Standard";
  d.Formula = "1 2 b3 4 5 6 b7";
  const std::uint8_t iv[10] = {0, 2, 3, 5, 7, 9, 10, 99, 99, 99};
  std::memcpy(d.Intervals, iv, 10);
  const std::uint8_t frets[6] = {1, 4, 7, 10, 13, 17};
  std::memcpy(d.StartFrets, frets, 6);
  d.Root = static_cast<std::uint8_t>(n % 12);
  return d;
}

std::unique_ptr<PageContents> page(PageKind kind, bool filled) {
  auto p = std::make_unique<PageContents>();
  p->Kind = kind;
  for (int c = 0; c < ChordPageColumns; ++c)
    for (int r = 0; r < ChordPageRows; ++r) {
      p->ChordPage[c][r] = chord(c + r);
      p->ChordPage[c][r].Empty = !filled || r > 1;
    }
  for (int c = 0; c < PrintPageColumns; ++c)
    for (int r = 0; r < PrintPageRows; ++r) {
      TPrintDiagram& d = p->PrintPage[c][r];
      const TChordDiagram k = chord(c * r);
      d.Empty = !filled || (c + r) % 3 != 0;
      d.IsChord = c % 2;
      d.Name = k.ChordName;
      d.TuningName = k.TuningName;
      d.Formula = k.Formula;
      std::memcpy(d.Tuning, k.Tuning, 6);
      std::memcpy(d.Strings, k.Strings, sizeof d.Strings);
      std::memcpy(d.Notes, k.Notes, 6);
      const std::int8_t chordIv[10] = {0, 4, 7, -1, -1, -1, -1, -1, -1, -1};
      const std::int8_t scaleIv[10] = {0, 2, 4, 5, 7, 9, 11, 99, 99, 99};
      std::memcpy(d.Intervals, d.IsChord ? chordIv : scaleIv, 10);
      d.BaseFret = k.BaseFret;
      d.Root = k.Root;
      d.Bass = k.Bass;
    }
  for (int s = 0; s < DesignGroupSize; ++s) {
    p->DesignGroup[s] = chord(s * 5);
    p->DesignGroup[s].Empty = !filled || s == 2;
  }
  for (int c = 0; c < PlayPageColumns; ++c)
    for (int r = 0; r < PlayPageRows; ++r) {
      p->PlayPage[c][r] = chord(c);
      p->PlayPage[c][r].Empty = !filled || c % 2 == 1;
    }
  for (int i = 0; i < ScalePageSize; ++i) {
    p->ScalePage[i] = scale(i * 2);
    p->ScalePage[i].Empty = !filled || i > 2;
  }
  p->Header = {filled, filled ? -520 : 0, filled ? 96 : 120, filled, !filled};
  return p;
}

// Every seed must be a sound page: the fuzzer starts from what loads.
void write(const std::filesystem::path& file, const std::string& bytes, PageKind kind) {
  auto check = std::make_unique<PageContents>();
  const std::string problem = decodePage(kind, bytes, *check);
  if (!problem.empty()) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), problem.c_str());
    std::exit(1);
  }
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

void write(const std::filesystem::path& file, const std::string& bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_seeds DIR\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  const char* names[] = {"chord", "print", "design", "play", "scale"};
  for (int k = 0; k < 5; ++k) {
    const auto kind = static_cast<PageKind>(k);
    const std::string ext(pageKindInfo(kind).Extension);
    write(dir / names[k] / ("empty." + ext), encodePage(*page(kind, false)), kind);
    write(dir / names[k] / ("filled." + ext), encodePage(*page(kind, true)), kind);
  }
  TRepeatSet set{};
  set.ReturnMark[0] = 1;
  set.LoopMark[MaxBars - 1] = 1;
  write(dir / "rpt" / "default.rpt", encodeRepeatSet(set));
  set.ReturnMark[4] = 1;
  set.RepeatCount[7] = 3;
  set.RepeatsLeft[7] = 3;
  write(dir / "rpt" / "repeats.rpt", encodeRepeatSet(set));
  return 0;
}
