#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "music/NameTables.h"
#include "music/PageSizes.h"
#include "play/MidiEvent.h"
#include "play/PagePlayer.h"
#include "play/PlayPageModel.h"
#include "play/PlayerSettings.h"

class FileLayer;

// "Export MIDI File..." and "Export Audio...": the play page as the page
// player plays it once, loop off, from the start marker's bar, with program
// changes, count-off if Count Off is down, clicks if Click is down and bass if
// Bass Note is down, at the page tempo. The MIDI file holds exactly the
// channel events the player queues, at the same ticks, on a track per
// instrument, with the chord names as markers; the audio is those
// events rendered by the built-in synthesiser. Either file is built whole in
// memory and written through the FileLayer's safe replacement, so a failed
// export leaves no file and an earlier one at that name as it was. Every note
// struck is released by the end. It owns nothing between calls.
class PageExport {
 public:
  struct Page {
    PlayList Slots{};
    PlayPageState State;
    PlayerSettings Settings;
    PlayOptions Options;
    std::int32_t Tempo = DefaultPageTempo;
    // How the MIDI file names the chords in its markers.
    NameTables Names;
  };
  enum class Result { Written, Empty, TooLong, NoSoundFont, SoundFontFailed, WriteFailed };
  struct Outcome {
    Result Status = Result::Written;
    std::string Reason;     // WriteFailed: the file layer's words for why
    std::string SoundFont;  // the font rendered with, or the one that did not load
    // A font named by $STRUMBO_SOUNDFONT that is no soundfont and was passed over.
    std::string FontPassedOver;
  };

  // Past these a page of nested repeats is refused rather than exhausting
  // memory: about 2.5 hours of MIDI at a fast tempo, and 20 minutes of audio
  // (kept whole in memory while it renders).
  static constexpr std::size_t MaxEvents = 2'000'000;
  static constexpr double MaxAudioSeconds = 20 * 60;

  static Page pageFrom(const TChordDiagram (&slots)[PlayPageColumns][PlayPageRows],
                       const PlayPageState& state, const PlayerSettings& settings,
                       const PlayOptions& options, std::int32_t tempo);

  // The events of one play of the page; empty when it is too long. Marked,
  // each chord struck is announced by an EventChordStruck.
  static std::vector<MidiEvent> events(const Page& page, bool markChords = false);
  // The MIDI file of one play: a tempo and time signature track with a
  // marker at each chord change, then the "Guitar", "Bass" and "Click"
  // tracks (one track for channels they share); empty when it is too long.
  static std::string midiFile(const Page& page);
  // Seconds from the first event to the last.
  static double seconds(const std::vector<MidiEvent>& events, std::int32_t tempo);

  // Whether no slot of the page holds a chord: there is nothing to export.
  static bool empty(const Page& page);

  static Outcome exportMidi(FileLayer& files, const std::string& path, const Page& page);
  // `soundFont` empty: the General MIDI font of the built-in synthesiser.
  static Outcome exportAudio(FileLayer& files, const std::string& path, const Page& page,
                             const std::string& soundFont = {});
  // The words for a failed export, as one sentence; `path` is the file asked for.
  static std::string message(const Outcome& outcome, const std::string& path);
  // The note on a $STRUMBO_SOUNDFONT that was passed over for `used`.
  static std::string fontPassedOverNote(const std::string& font, const std::string& used);
  // What a successful export has to say besides (that note), or nothing.
  static std::string note(const Outcome& outcome);
};
