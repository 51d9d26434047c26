#pragma once

#include <QString>
#include <string_view>

// Text from the model (record names, pitch names, menu tables) as the widgets
// show it. Every widget converts through here, so there is one place that
// says how record bytes become characters.
inline QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
