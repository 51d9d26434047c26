#include "music/Tuning.h"

#include "music/NameTables.h"

std::string tuningName(const Tuning& tuning, const NameTables& names) {
  if (tuning == StandardTuning) return "Standard";
  std::string text;
  for (int s = StringCount - 1; s >= 0; --s) {
    text += names.pitchName(tuning[s]);
    text += ' ';
  }
  return text;
}
