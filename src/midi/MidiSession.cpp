#include "midi/MidiSession.h"

#include "midi/MidiComponent.h"

std::vector<MidiSession::Voice> MidiSession::voicesOf(const PlayerSettings& p) {
  return {{p.GuitarChannel, p.GuitarPatch}, {p.BassChannel, p.BassPatch}, {p.ClickChannel, 0}};
}

void MidiSession::setVoices(std::vector<Voice> voices) {
  voices_ = std::move(voices);
  preload();
}

void MidiSession::open(MidiMessageTarget* window, std::uint16_t outDevice, std::uint16_t inDevice,
                       std::vector<Voice> voices) {
  close();
  voices_ = std::move(voices);
  if (midi_.GetNumOutDevices() <= 0) return;
  sync_ = midi_.OpenSync(0, window, 0, 10);
  out_ = midi_.OpenMidiOut(window, outDevice, sync_, 78624);
  preload();
  in_ = midi_.OpenMidiIn(window, inDevice, 0, 78624);
}

void MidiSession::close() {
  if (sync_) midi_.CloseSync(sync_);
  if (in_) midi_.CloseMidiIn(in_);
  if (out_) midi_.CloseMidiOut(out_);
  sync_ = out_ = in_ = 0;
}

void MidiSession::reopenIn(MidiMessageTarget* window, std::uint16_t device) {
  if (!in_) return;
  midi_.CloseMidiIn(in_);
  in_ = midi_.OpenMidiIn(window, device, 0, 78624);
}

void MidiSession::reopenOut(MidiMessageTarget* window, std::uint16_t device) {
  // Without the clock the session was never opened (no output device at all).
  if (!sync_) return;
  if (out_) midi_.CloseMidiOut(out_);
  out_ = midi_.OpenMidiOut(window, device, sync_, 78624);
  preload();
}

bool MidiSession::soundReady() const {
  return out_ != 0 && midi_.outputReady(out_);
}

bool MidiSession::soundMissing() const {
  return out_ != 0 && midi_.outputSilent(out_);
}

void MidiSession::preload() {
  if (!out_) return;
  for (const Voice& v : voices_) midi_.preloadVoice(out_, v.channel, v.program);
}
