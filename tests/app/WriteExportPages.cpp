// Writes the pages the export runs read: DIR/{chord.cpf, print.prf,
// scale.spf, design.cds, song.ppf + song.rpt, empty.cpf, emptysong.ppf,
// last.ppf (a chord in the last slot)}, all through the
// page encoder, plus damaged.ppf (cut short) and wrongkind.ppf (a chord page
// under a play page's name). Usage: write_export_pages DIR
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "../state/TestChords.h"
#include "music/DiagramConvert.h"
#include "pages/PageFile.h"
#include "state/AppState.h"

namespace {

bool write(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  return static_cast<bool>(out);
}

std::unique_ptr<PageContents> blankPage(PageKind kind) {
  auto page = std::make_unique<PageContents>();
  page->Kind = kind;
  for (auto& column : page->ChordPage)
    for (auto& d : column) d.Empty = 1;
  for (auto& column : page->PrintPage)
    for (auto& d : column) d.Empty = 1;
  for (auto& column : page->PlayPage)
    for (auto& d : column) d.Empty = 1;
  for (auto& d : page->ScalePage) d.Empty = 1;
  for (auto& d : page->DesignGroup) d.Empty = 1;
  return page;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) return 2;
  const std::string dir = std::string(argv[1]) + "/";
  bool ok = write(dir + "empty.cpf", encodePage(*blankPage(PageKind::Chord)));

  auto chords = blankPage(PageKind::Chord);
  for (int c = 0; c < ChordPageColumns; ++c) chords->ChordPage[c][0] = chordNamed("m7", c);
  const std::string chordBytes = encodePage(*chords);
  ok = ok && write(dir + "chord.cpf", chordBytes) && write(dir + "wrongkind.ppf", chordBytes);

  auto print = blankPage(PageKind::Print);
  chordToPrintItem(chordNamed("m7", 7), print->PrintPage[2][1]);
  ok = ok && write(dir + "print.prf", encodePage(*print));

  auto scales = blankPage(PageKind::Scale);
  TScaleDiagram& scale = scales->ScalePage[0];
  scale = TScaleDiagram{};
  scale.ScaleName = "Major Pentatonic";
  scale.TuningName = " E A D G B E";
  const std::uint8_t tuning[6] = {40, 45, 50, 55, 59, 64};
  const std::uint8_t intervals[10] = {0, 2, 4, 7, 9, 99, 99, 99, 99, 99};
  const std::uint8_t frets[6] = {1, 4, 7, 10, 13, 17};
  for (int i = 0; i < 6; ++i) scale.Tuning[i] = tuning[i], scale.StartFrets[i] = frets[i];
  for (int i = 0; i < 10; ++i) scale.Intervals[i] = intervals[i];
  scale.Root = 7;
  ok = ok && write(dir + "scale.spf", encodePage(*scales));

  auto design = blankPage(PageKind::Design);
  design->DesignGroup[0] = chordNamed("m7", 2);
  ok = ok && write(dir + "design.cds", encodePage(*design));

  auto song = blankPage(PageKind::Play);
  for (int c = 0; c < PlayPageColumns; c += 4) song->PlayPage[c][0] = chordNamed("m7", c);
  song->Header.ThreeFour = true;
  song->Header.TempoBpm = 96;
  song->Header.Bass = true;
  TRepeatSet repeats{};
  repeats.ReturnMark[0] = 1;
  repeats.RepeatCount[1] = repeats.RepeatsLeft[1] = 2;
  repeats.LoopMark[11] = 1;
  const std::string songBytes = encodePage(*song);
  ok =
      ok && write(dir + "song.ppf", songBytes) && write(dir + "song.rpt", encodeRepeatSet(repeats));
  ok = ok && write(dir + "damaged.ppf", songBytes.substr(0, songBytes.size() - 5));
  ok = ok && write(dir + "emptysong.ppf", encodePage(*blankPage(PageKind::Play)));

  // A chord in the very last slot, with the bass: it must still end.
  auto last = blankPage(PageKind::Play);
  last->PlayPage[0][0] = chordNamed("m7", 0);
  last->PlayPage[PlayPageColumns - 1][PlayPageRows - 1] = chordNamed("m7", 5);
  last->Header.Bass = true;
  ok = ok && write(dir + "last.ppf", encodePage(*last));
  if (!ok) std::fprintf(stderr, "write_export_pages: could not write to %s\n", argv[1]);
  return ok ? 0 : 1;
}
