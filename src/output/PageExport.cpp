#include "output/PageExport.h"

#include <algorithm>
#include <memory>

#include "files/WriteFiles.h"
#include "midi/OfflineRenderer.h"
#include "midi/SoundFont.h"
#include "midi/StandardMidiFile.h"
#include "midi/WavFile.h"
#include "pages/DiagramText.h"

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

std::vector<MidiEvent> PageExport::events(const Page& page, bool markChords) {
  PagePlayer::Start start;
  start.Slots = &page.Slots;
  start.Page = &page.State;
  start.Settings = page.Settings;
  start.Options = page.Options;
  start.CountOff = page.Options.CountOff;
  start.MarkChords = markChords;
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

bool PageExport::empty(const Page& page) {
  return std::all_of(page.Slots.begin(), page.Slots.end(),
                     [](const TChordDiagram& d) { return isEmpty(d); });
}

namespace {

PageExport::Outcome written(FileLayer& files, const std::string& path, std::string_view data) {
  PageExport::Outcome outcome;
  if (const auto failure = writeFilesTogether(files, {{path, data}})) {
    outcome.Status = PageExport::Result::WriteFailed;
    outcome.Reason = failure->Reason;
  }
  return outcome;
}

PageExport::Outcome refused(PageExport::Result why) {
  PageExport::Outcome outcome;
  outcome.Status = why;
  return outcome;
}

}  // namespace

std::string PageExport::midiFile(const Page& page) {
  const std::vector<MidiEvent> played = events(page, true);
  if (played.empty()) return {};
  StandardMidiFile::Layout layout;
  layout.BeatsPerBar = page.State.ThreeFour ? 3 : 4;
  layout.Tracks = {{"Guitar", page.Settings.GuitarChannel},
                   {"Bass", page.Settings.BassChannel},
                   {"Click", page.Settings.ClickChannel}};
  // Instruments on one channel share one track, under the first name.
  for (std::size_t t = layout.Tracks.size(); t-- > 1;)
    for (std::size_t u = 0; u < t; ++u)
      if (layout.Tracks[u].Channel == layout.Tracks[t].Channel) {
        layout.Tracks.erase(layout.Tracks.begin() + static_cast<std::ptrdiff_t>(t));
        break;
      }
  for (const TChordDiagram& chord : page.Slots)
    layout.ChordNames.push_back(isEmpty(chord) ? std::string()
                                               : DiagramText::playPageCaption(chord, page.Names));
  return StandardMidiFile::build(played, tempoOf(page), layout);
}

PageExport::Outcome PageExport::exportMidi(FileLayer& files, const std::string& path,
                                           const Page& page) {
  if (empty(page)) return refused(Result::Empty);
  const std::string file = midiFile(page);
  if (file.empty()) return refused(Result::TooLong);
  return written(files, path, file);
}

PageExport::Outcome PageExport::exportAudio(FileLayer& files, const std::string& path,
                                            const Page& page, const std::string& soundFont) {
  if (empty(page)) return refused(Result::Empty);
  const std::vector<MidiEvent> played = events(page);
  if (played.empty() || seconds(played, tempoOf(page)) > MaxAudioSeconds)
    return refused(Result::TooLong);
  SoundFont::Choice font{soundFont, {}};
  if (soundFont.empty()) font = SoundFont::chooseGeneralMidi();
  Outcome outcome;
  outcome.FontPassedOver = font.Unusable;
  if (font.Path.empty()) {
    outcome.Status = Result::NoSoundFont;
    return outcome;
  }
  auto renderer = std::make_unique<OfflineRenderer>(font.Path);
  // The user's soundfont may begin like one and still not load: it is passed
  // over for the installed one all the same.
  if (!renderer->ready() && soundFont.empty() && font.Unusable.empty()) {
    const std::string installed = SoundFont::installedGeneralMidi();
    if (!installed.empty() && installed != font.Path) {
      outcome.FontPassedOver = font.Path;
      font.Path = installed;
      renderer = std::make_unique<OfflineRenderer>(font.Path);
    }
  }
  outcome.SoundFont = font.Path;
  if (!renderer->ready()) {
    outcome.Status = Result::SoundFontFailed;
    return outcome;
  }
  const std::string bytes = renderer->render(played, tempoOf(page), 2.0).bytes();
  renderer.reset();
  Outcome write = written(files, path, bytes);
  write.FontPassedOver = outcome.FontPassedOver;
  write.SoundFont = outcome.SoundFont;
  return write;
}

std::string PageExport::message(const Outcome& outcome, const std::string& path) {
  switch (outcome.Status) {
    case Result::Written:
      break;
    case Result::Empty:
      return "The play page is empty; there is nothing to export.";
    case Result::TooLong:
      return "The page plays too long to export.";
    case Result::NoSoundFont:
      if (!outcome.FontPassedOver.empty())
        return "The soundfont " + outcome.FontPassedOver +
               " could not be used, and no General MIDI soundfont is installed.";
      return "No General MIDI soundfont is installed.";
    case Result::SoundFontFailed:
      return "The soundfont " + outcome.SoundFont + " could not be loaded.";
    case Result::WriteFailed:
      return couldNotWrite(path, outcome.Reason);
  }
  return {};
}

std::string PageExport::fontPassedOverNote(const std::string& font, const std::string& used) {
  if (used.empty()) return "The soundfont " + font + " could not be used.";
  return "The soundfont " + font + " could not be used; " + used + " is used instead.";
}

std::string PageExport::note(const Outcome& outcome) {
  if (outcome.FontPassedOver.empty() || outcome.Status != Result::Written) return {};
  return fontPassedOverNote(outcome.FontPassedOver, outcome.SoundFont);
}
