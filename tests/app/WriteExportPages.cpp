// Writes the pages the export runs read: DIR/{chord.cpf, print.prf,
// scale.spf, design.cds, song.ppf + song.rpt, empty.cpf, emptysong.ppf,
// last.ppf (a chord in the last slot), score.ppf and loop.ppf (fingered
// chords with repeats, and with the loop on)}, all through the
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

// A fingered chord; frets and fingers from the lowest string up, -1 mutes.
TChordDiagram fingered(const char* name, int root, int bass, std::array<int, 6> frets,
                       std::array<int, 6> fingers, std::initializer_list<int> intervals) {
  TChordDiagram d = startFingering();
  d.ChordName = name;
  d.Root = static_cast<std::uint8_t>(root);
  d.Bass = static_cast<std::uint8_t>(24 + bass);
  for (int s = 0; s < 6; ++s) {
    const int low = 5 - s;
    d.Strings[s] = frets[low] < 0 ? TStringFinger{0, FingerCode::Muted}
                                  : TStringFinger{static_cast<std::uint8_t>(frets[low]),
                                                  static_cast<std::uint8_t>(fingers[low])};
    d.Notes[s] = frets[low] < 0 ? 0 : static_cast<std::uint8_t>(d.Tuning[s] + frets[low]);
  }
  int i = 0;
  for (int interval : intervals) d.Intervals[i++] = static_cast<std::int8_t>(interval);
  return d;
}

// A song of open, barre, slash and altered chords, one on an off-beat.
std::unique_ptr<PageContents> scorePage() {
  auto page = blankPage(PageKind::Play);
  const TChordDiagram c = fingered("maj", 0, 0, {-1, 3, 2, 0, 1, 0}, {5, 3, 2, 0, 1, 0}, {0, 4, 7});
  const TChordDiagram f = fingered("maj", 5, 5, {1, 3, 3, 2, 1, 1}, {1, 3, 4, 2, 1, 1}, {0, 4, 7});
  const TChordDiagram cOverG =
      fingered("maj", 0, 7, {3, 3, 2, 0, 1, 0}, {3, 4, 2, 0, 1, 0}, {0, 4, 7});
  const TChordDiagram e7sharp9 =
      fingered("7#9", 4, 4, {-1, 7, 6, 7, 8, -1}, {5, 2, 1, 3, 4, 5}, {0, 4, 7, 10, 15});
  const TChordDiagram bFlat13 =
      fingered("13", 10, 10, {6, -1, 6, 7, 8, -1}, {1, 5, 2, 3, 4, 5}, {0, 4, 7, 10, 14, 21});
  const TChordDiagram susAdd =
      fingered("sus(add3/add9)", 2, 2, {-1, -1, 0, 2, 3, 0}, {5, 5, 0, 1, 3, 0}, {0, 4, 5, 7, 14});
  const TChordDiagram* bars[6][2] = {{&c, &f},      {&cOverG, nullptr}, {&e7sharp9, &bFlat13},
                                     {&f, nullptr}, {&susAdd, &c},      {&cOverG, &e7sharp9}};
  for (int bar = 0; bar < 6; ++bar)
    for (int half = 0; half < 2; ++half) {
      if (!bars[bar][half]) continue;
      // The second chord of bar 3 comes half a beat late.
      const int slot = 8 * bar + 4 * half + (bar == 2 && half == 1 ? 1 : 0);
      page->PlayPage[slot % 12][slot / 12] = *bars[bar][half];
    }
  page->Header.TempoBpm = 104;
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
  // Bars 2-3 three times, bar 5 twice inside bars 5-6 twice; a loop page
  // turning back after bar 4.
  auto score = scorePage();
  TRepeatSet scoreMarks{};
  scoreMarks.ReturnMark[0] = scoreMarks.ReturnMark[1] = scoreMarks.ReturnMark[4] = 1;
  scoreMarks.RepeatCount[2] = 2;
  scoreMarks.RepeatCount[4] = scoreMarks.RepeatCount[5] = 1;
  scoreMarks.LoopMark[3] = 1;
  ok = ok && write(dir + "score.ppf", encodePage(*score)) &&
       write(dir + "score.rpt", encodeRepeatSet(scoreMarks));
  score->Header.Loop = true;
  ok = ok && write(dir + "loop.ppf", encodePage(*score)) &&
       write(dir + "loop.rpt", encodeRepeatSet(scoreMarks));
  if (!ok) std::fprintf(stderr, "write_export_pages: could not write to %s\n", argv[1]);
  return ok ? 0 : 1;
}
