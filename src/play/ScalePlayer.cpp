#include "play/ScalePlayer.h"

#include "music/Tuning.h"

using namespace PlayerBytes;

std::vector<ScalePlayer::Note> ScalePlayer::scaleNotes(const TScaleDiagram& scale, int position,
                                                       bool wholeScale) {
  std::vector<Note> notes;
  if (!wholeScale && (position < 0 || position > 5)) return notes;
  static constexpr int WholeSpans[6] = {22, 15, 13, 11, 9, 7};
  const int startFret = wholeScale ? 1 : scale.StartFrets[position];
  int highest = 0;
  for (int string = 5; string >= 0; --string) {
    const int span = wholeScale ? WholeSpans[string] : 6;
    for (int i = 0; i <= span; ++i) {
      if (i == 0 && startFret != 1) continue;
      const int fret = i + startFret - 1;
      // A damaged start fret may not reach the open string nor run off the neck.
      if ((fret == 0 && startFret != 1) || fret < 0 || fret > HighestFret) continue;
      const int e = scale.Tuning[string] + fret;
      if (!playable(e) || e <= highest) continue;
      bool inScale = false;
      for (int k = 0; k < 10 && scale.Intervals[k] != ScaleIntervalEnd; ++k)
        if ((scale.Intervals[k] + scale.Root) % 12 == e % 12) {
          inScale = true;
          break;
        }
      if (!inScale) continue;
      notes.push_back({string, fret, e});
      highest = e;
    }
  }
  return notes;
}

std::vector<MidiEvent> ScalePlayer::PlayScale(const TScaleDiagram& scale, int position,
                                              bool wholeScale, const PlayerSettings& s,
                                              const Play& play) {
  std::vector<MidiEvent> out;
  if (isEmpty(scale) || (!wholeScale && (position < 0 || position > 5))) return out;
  const std::int32_t length = strumTicks(play.StrumSpeed);
  out.push_back({0, status(ProgramChange, s.GuitarChannel), data(s.GuitarPatch), 0, 0});
  out.push_back({0, status(ProgramChange, s.BassChannel), data(s.BassPatch), 0, 0});
  const std::uint8_t bassNote = capoNote(scale.Root % 12 + 36, play.Capo);
  if (play.BassNote)
    out.push_back({0, status(NoteOn, s.BassChannel), bassNote, data(s.BassVolume), 0});
  for (const Note& n : scaleNotes(scale, position, wholeScale)) {
    const auto string = static_cast<std::uint8_t>(n.String);
    const auto fret = static_cast<std::uint8_t>(n.Fret);
    const auto note = capoNote(n.Number, play.Capo);
    out.push_back({0, status(NoteOn, s.GuitarChannel), note, data(s.GuitarVolume), 0});
    out.push_back({0, EventShowFinger, string, fret, FingerCode::Fretted});
    out.push_back({length, status(NoteOff, s.GuitarChannel), note, data(s.GuitarVolume), 0});
    out.push_back({0, EventShowFinger, string, fret, 10});
  }
  if (play.BassNote)
    out.push_back({0, status(NoteOff, s.BassChannel), bassNote, data(s.BassVolume), 0});
  return out;
}
