#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "music/Windows1252.h"

// Text between the model (record names, pitch names, menu tables) and the
// widgets. Every widget converts through here, so record bytes become the
// same characters wherever they are shown, and typed text goes back into
// records as the same bytes.
inline QString qs(std::string_view text) {
  return QString::fromStdU16String(Windows1252::decode(text));
}

// Typed text as record bytes; fields refuse at typing what the record
// cannot hold, so the replacement is only a last resort.
inline std::string recordText(const QString& text) {
  return Windows1252::encode(text.toStdU16String());
}
