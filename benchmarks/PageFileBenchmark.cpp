// Prints how long saving and loading a full play page takes through the real
// POSIX layer: every slot filled, with its repeat companion, into a temporary
// folder. Each save writes two temporaries, syncs them and renames them into
// place, so the figure is mostly the disk's sync time: the floor, one fsync
// of a file that size, is printed beside it. Give folders as arguments to
// measure there (a tmpfs such as /dev/shm shows the program's own share);
// the default is /tmp.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/PosixFileLayer.h"
#include "pages/PageFile.h"

namespace {

std::unique_ptr<PageContents> fullPlayPage() {
  auto page = std::make_unique<PageContents>();
  page->Kind = PageKind::Play;
  const std::uint8_t tuning[6] = {40, 45, 50, 55, 59, 64};
  for (int c = 0; c < PlayPageColumns; ++c)
    for (int r = 0; r < PlayPageRows; ++r) {
      TChordDiagram& d = page->PlayPage[c][r];
      d.ChordName = "m7b5";
      d.TuningName = "Standard";
      d.Formula = "1 b3 b5 b7";
      std::memcpy(d.Tuning, tuning, 6);
      for (int s = 0; s < 6; ++s) {
        d.Strings[s] = {static_cast<std::uint8_t>((c + s) % 12), 6};
        d.Notes[s] = static_cast<std::uint8_t>(tuning[s] + d.Strings[s].Fret);
      }
      const std::int8_t iv[7] = {0, 3, 6, 10, -1, -1, -1};
      std::memcpy(d.Intervals, iv, 7);
      d.BaseFret = 1;
      d.Root = static_cast<std::uint8_t>(c);
      d.Bass = static_cast<std::uint8_t>(24 + c);
    }
  page->Header = {false, -300, 120, true, true};
  return page;
}

void report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf(
      "%-5s median %.3f ms, 90th percentile %.3f ms, worst %.3f ms (%zu runs, target < 5 ms)\n",
      what, ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back(), ms.size());
}

double fsyncFloor(const std::filesystem::path& dir, size_t bytes) {
  const std::string file = (dir / "sync-probe").string();
  const std::string data(bytes, 'x');
  std::vector<double> ms;
  for (int i = 0; i < 50; ++i) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::write(fd, data.data(), data.size()) != static_cast<ssize_t>(data.size()))
      return -1;
    const auto t0 = std::chrono::steady_clock::now();
    ::fsync(fd);
    ms.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    ::close(fd);
  }
  ::unlink(file.c_str());
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

bool measure(const std::string& base) {
  std::string name = base + "/strumbo-pagefile-bench-XXXXXX";
  if (!::mkdtemp(name.data())) return false;
  const std::filesystem::path dir = name;
  const std::string path = (dir / "full.ppf").string();
  PosixFileLayer files;
  const auto page = fullPlayPage();
  TRepeatSet marks{};
  marks.ReturnMark[0] = 1;
  marks.LoopMark[MaxBars - 1] = 1;

  constexpr int Runs = 200;
  std::vector<double> saves, loads;
  auto loaded = std::make_unique<PageContents>();
  std::optional<TRepeatSet> companion;
  using Clock = std::chrono::steady_clock;
  for (int i = 0; i < Runs; ++i) {
    auto t0 = Clock::now();
    const std::string saved = savePageFile(files, path, *page, &marks);
    auto t1 = Clock::now();
    const std::string read = loadPageFile(files, path, PageKind::Play, *loaded, companion);
    auto t2 = Clock::now();
    if (!saved.empty() || !read.empty()) {
      std::fprintf(stderr, "%s%s\n", saved.c_str(), read.c_str());
      std::filesystem::remove_all(dir);
      return false;
    }
    saves.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    loads.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
  }
  const std::string bytes = encodePage(*page);
  std::printf("Full play page (%zu bytes) with its companion, in %s:\n", bytes.size(),
              base.c_str());
  report("save", saves);
  report("load", loads);
  std::printf("      one fsync of a file that size: median %.3f ms\n",
              fsyncFloor(dir, bytes.size()));
  std::filesystem::remove_all(dir);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  bool ok = true;
  if (argc < 2) return measure("/tmp") ? 0 : 1;
  for (int i = 1; i < argc; ++i) ok = measure(argv[i]) && ok;
  return ok ? 0 : 1;
}
