#include "ui/MidiMessagePoster.h"

#include "midi/MidiComponent.h"

MidiMessagePoster::MidiMessagePoster(const MidiComponent& midi, Handler handler, QObject* parent)
    : QObject(parent), midi_(midi), handler_(std::move(handler)) {}

void MidiMessagePoster::post(const MidiMessage& message) {
  QMetaObject::invokeMethod(
      this,
      [this, message] {
        if (midi_.isCurrent(message) && handler_) handler_(message);
      },
      Qt::QueuedConnection);
}
