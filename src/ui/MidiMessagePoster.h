#pragma once

#include <QObject>
#include <functional>

#include "midi/MidiMessage.h"

class MidiComponent;

// Carries the MIDI component's messages from its clock thread to the
// user-interface thread as queued calls, and drops those a stop or flush has
// made stale before they arrive. The MIDI clock must be closed before this
// object is destroyed, since the clock thread posts to it.
class MidiMessagePoster : public QObject, public MidiMessageTarget {
  Q_OBJECT

 public:
  using Handler = std::function<void(const MidiMessage&)>;
  MidiMessagePoster(const MidiComponent& midi, Handler handler, QObject* parent = nullptr);

  void post(const MidiMessage& message) override;  // any thread

 private:
  const MidiComponent& midi_;
  Handler handler_;
};
