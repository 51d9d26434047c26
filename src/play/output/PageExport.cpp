#include "play/output/PageExport.h"

#include "play/midi/OfflineRenderer.h"
#include "play/midi/SoundFont.h"
#include "play/midi/StandardMidiFile.h"
#include "play/midi/WavFile.h"

PageExport::Page PageExport::pageFrom(const TChordDiagram (&slots)[PlayPageColumns][PlayPageRows],
                                      const PlayPageState& state, const PlayerSettings& settings,
                                      const PlayOptions& options, std::int32_t tempo) {
  Page page;
  page.Slots = playListFrom(slots);
  page.State = state;
  page.Settings = settings;
  page.Options = options;
  page.Tempo = tempo;
  return page;
}

std::vector<MidiEvent> PageExport::events(const Page& page) {
  PagePlayer::Start start;
  start.Slots = &page.Slots;
  start.Page = &page.State;
  start.Settings = page.Settings;
  start.Options = page.Options;
  start.CountOff = page.Options.CountOff;
  auto played = PagePlayer::playOnce(start, MaxEvents);
  return played ? std::move(*played) : std::vector<MidiEvent>{};
}

double PageExport::seconds(const std::vector<MidiEvent>& events, std::int32_t tempo) {
  double ticks = 0;
  for (const MidiEvent& e : events) ticks += e.Time > 0 ? e.Time : 0;
  return ticks * tempo / TicksPerQuarter / 1e6;
}

namespace {
// The file and the render must agree; the component would ignore a tempo of 0.
std::int32_t tempoOf(const PageExport::Page& page) {
  return page.Tempo > 0 ? page.Tempo : DefaultPageTempo;
}
}  // namespace

PageExport::Result PageExport::exportMidi(const std::string& path, const Page& page) {
  const std::vector<MidiEvent> played = events(page);
  if (played.empty()) return Result::TooLong;
  return StandardMidiFile::write(path, played, tempoOf(page)) ? Result::Written
                                                              : Result::WriteFailed;
}

PageExport::Result PageExport::exportAudio(const std::string& path, const Page& page,
                                           const std::string& soundFont) {
  const std::vector<MidiEvent> played = events(page);
  if (played.empty() || seconds(played, tempoOf(page)) > MaxAudioSeconds) return Result::TooLong;
  const std::string font = soundFont.empty() ? SoundFont::findGeneralMidi() : soundFont;
  if (font.empty()) return Result::NoSoundFont;
  OfflineRenderer renderer(font);
  if (!renderer.ready()) return Result::NoSoundFont;
  const WavFile wav = renderer.render(played, tempoOf(page), 2.0);
  return wav.write(path) ? Result::Written : Result::WriteFailed;
}
