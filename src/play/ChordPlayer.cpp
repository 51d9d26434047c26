#include "play/ChordPlayer.h"

using namespace PlayerBytes;

std::vector<MidiEvent> ChordPlayer::PlayChord(const TChordDiagram& chord, const PlayerSettings& s,
                                              const Play& play) {
  std::vector<MidiEvent> out;
  if (isEmpty(chord)) return out;
  const int gap = strumTicks(play.StrumSpeed);
  std::int32_t time = 0;
  auto add = [&](std::uint8_t st, std::uint8_t d1, std::uint8_t d2, std::uint8_t d3 = 0) {
    out.push_back({time, st, d1, d2, d3});
  };
  add(status(ProgramChange, s.GuitarChannel), data(s.GuitarPatch), 0);
  add(status(ProgramChange, s.BassChannel), data(s.BassPatch), 0);
  add(status(ProgramChange, s.ClickChannel), 0, 0);

  if (play.CountOff) {
    for (int k = 0; k < 4; ++k) {
      add(status(NoteOn, s.ClickChannel), data(s.ClickNote),
          k == 0 ? accent(s.ClickVolume) : data(s.ClickVolume));
      time = gap;
      add(status(NoteOff, s.ClickChannel), data(s.ClickNote), 0);
      // A slow strum speed would make the count-off drag: past 200 ticks the
      // clicks follow their note offs at once.
      time = play.StrumSpeed < -200 ? 0 : gap;
    }
  }
  const bool bass = play.BassNote && playable(chord.Bass);
  if (bass) {
    add(status(NoteOn, s.BassChannel), capoNote(chord.Bass, play.Capo), data(s.BassVolume));
    time = 0;
  }
  for (int string = 5; string >= 0; --string) {
    if (!playable(chord.Notes[string])) continue;
    add(status(NoteOn, s.GuitarChannel), capoNote(chord.Notes[string], play.Capo),
        data(s.GuitarVolume));
    time = 0;
    add(EventShowFinger, static_cast<std::uint8_t>(string), chord.Strings[string].Fret,
        chord.Strings[string].Finger);
    time = gap;
  }
  time = HoldTicks;
  for (int string = 5; string >= 0; --string) {
    if (!playable(chord.Notes[string])) continue;
    add(status(NoteOff, s.GuitarChannel), capoNote(chord.Notes[string], play.Capo),
        data(s.GuitarVolume));
    time = 0;
    if (play.ClearMarks)
      add(EventShowFinger, static_cast<std::uint8_t>(string), chord.Strings[string].Fret, 10);
  }
  if (bass)
    add(status(NoteOff, s.BassChannel), capoNote(chord.Bass, play.Capo), data(s.BassVolume));
  return out;
}
