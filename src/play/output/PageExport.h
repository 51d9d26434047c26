#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "music/PageSizes.h"
#include "play/MidiEvent.h"
#include "play/PagePlayer.h"
#include "play/PlayPageModel.h"
#include "play/PlayerSettings.h"

// "Export MIDI File..." and "Export Audio...": the play page as the page
// player plays it once, loop off, from the start marker's bar, with program
// changes, count-off if Count Off is down, clicks if Click is down and bass if
// Bass Note is down, at the page tempo. The MIDI file holds exactly the
// channel events the player queues, at the same ticks; the audio is those
// events rendered by the built-in synthesiser. It owns nothing between calls.
class PageExport {
 public:
  struct Page {
    PlayList Slots{};
    PlayPageState State;
    PlayerSettings Settings;
    PlayOptions Options;
    std::int32_t Tempo = DefaultPageTempo;
  };
  enum class Result { Written, TooLong, NoSoundFont, WriteFailed };

  // Past these a page of nested repeats is refused rather than exhausting
  // memory: about 2.5 hours of MIDI at a fast tempo, and 20 minutes of audio
  // (kept whole in memory while it renders).
  static constexpr std::size_t MaxEvents = 2'000'000;
  static constexpr double MaxAudioSeconds = 20 * 60;

  static Page pageFrom(const TChordDiagram (&slots)[PlayPageColumns][PlayPageRows],
                       const PlayPageState& state, const PlayerSettings& settings,
                       const PlayOptions& options, std::int32_t tempo);

  // The events of one play of the page; empty when it is too long.
  static std::vector<MidiEvent> events(const Page& page);
  // Seconds from the first event to the last.
  static double seconds(const std::vector<MidiEvent>& events, std::int32_t tempo);

  static Result exportMidi(const std::string& path, const Page& page);
  // `soundFont` empty: the General MIDI font of the built-in synthesiser.
  static Result exportAudio(const std::string& path, const Page& page,
                            const std::string& soundFont = {});
};
