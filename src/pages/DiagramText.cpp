#include "pages/DiagramText.h"

#include "library/MenuTables.h"
#include "music/DiagramConvert.h"

namespace DiagramText {
namespace {

template <typename Entry, std::size_t N>
std::string notesOf(const Entry (&intervals)[N], int end, int root, const NameTables& names) {
  std::string text;
  for (const Entry entry : intervals) {
    if (static_cast<int>(entry) == end) break;
    text += ' ';
    text += names.pitchName(root + static_cast<int>(entry));
  }
  return text;
}

std::string nameOf(int root, std::string_view name, const NameTables& names) {
  std::string text(names.pitchName(root));
  text += ' ';
  text += name;
  return text;
}

}  // namespace

std::string_view trimRight(std::string_view text) {
  const auto last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::string_view trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view{} : trimRight(text.substr(first));
}

std::string chordNotes(const TChordDiagram& chord, const NameTables& names) {
  return notesOf(chord.Intervals, ChordIntervalEnd, chord.Root, names);
}

std::string scaleNotes(const TScaleDiagram& scale, const NameTables& names) {
  return notesOf(scale.Intervals, ScaleIntervalEnd, scale.Root, names);
}

std::string printItemNotes(const TPrintDiagram& item, const NameTables& names) {
  // A print item keeps the end marker of the kind it holds.
  const int end = item.IsChord ? ChordIntervalEnd : static_cast<int>(ScaleIntervalEnd);
  return notesOf(item.Intervals, end, item.Root, names);
}

std::string slash(int root, int bass, const NameTables& names) {
  if (pitchClass(bass) == pitchClass(root)) return {};
  return " /" + std::string(names.pitchName(bass));
}

std::string chordSetHeader(const TChordDiagram& chord, const NameTables& names) {
  return chordSetHeader(chord, chordTypeCaption(chord.ChordName.view()), names);
}

std::string chordSetHeader(const TChordDiagram& chord, std::string_view chordType,
                           const NameTables& names) {
  return nameOf(chord.Root, chordType, names) + "   [ " + chordNotes(chord, names) + " ] " +
         "   [ " + std::string(trimRight(chord.Formula.view())) + " ]";
}

std::string scaleRowHeader(const TScaleDiagram& scale, const NameTables& names) {
  return nameOf(scale.Root, scale.ScaleName.view(), names) + " Scale" + "   [ " +
         scaleNotes(scale, names) + " ] " + "   [ " + std::string(trimRight(scale.Formula.view())) +
         " ] " + "Tuning: " + scale.TuningName.str();
}

std::array<std::string, 4> printCaptions(const TPrintDiagram& item, const NameTables& names) {
  std::string name = nameOf(item.Root, trim(item.Name.view()), names);
  if (item.IsChord) name += slash(item.Root, item.Bass, names);
  return {name, std::string(trim(printItemNotes(item, names))),
          std::string(trim(item.Formula.view())), std::string(trim(item.TuningName.view()))};
}

std::array<std::string, 4> designGroupLines(const TChordDiagram& chord, const NameTables& names) {
  return {playPageCaption(chord, names), std::string(trim(chordNotes(chord, names))),
          std::string(trim(chord.Formula.view())), std::string(trim(chord.TuningName.view()))};
}

std::string playPageCaption(const TChordDiagram& chord, const NameTables& names) {
  return nameOf(chord.Root, chord.ChordName.view(), names) + slash(chord.Root, chord.Bass, names);
}

std::string stringByString(const TChordDiagram& chord, const NameTables& names) {
  std::string text;
  for (int s = 5; s >= 0; --s) {
    if (!text.empty()) text += ", ";
    text += "string " + std::to_string(s + 1);
    const TStringFinger string = chord.Strings[s];
    if (string.Finger == FingerCode::Muted) {
      text += " not played";
      continue;
    }
    // Named as the picture marks it: the open string plus the fret.
    text += string.Fret == 0 ? std::string(" open ") : " fret " + std::to_string(string.Fret) + " ";
    text += names.pitchName(chord.Tuning[s] + string.Fret);
  }
  return text;
}

std::string spokenChord(const TChordDiagram& chord, const NameTables& names) {
  if (isEmpty(chord)) return "empty";
  return std::string(trim(playPageCaption(chord, names))) + ", from fret " +
         std::to_string(chord.BaseFret) + ": " + stringByString(chord, names);
}

std::string spokenScale(const TScaleDiagram& scale, const NameTables& names) {
  if (isEmpty(scale)) return "empty";
  return std::string(trim(nameOf(scale.Root, trim(scale.ScaleName.view()), names))) +
         " scale: " + std::string(trim(scaleNotes(scale, names)));
}

std::string spokenPrintItem(const TPrintDiagram& item, const NameTables& names) {
  if (isEmpty(item)) return "empty";
  const std::string name = printCaptions(item, names)[0];
  if (item.IsChord) {
    TChordDiagram chord{};
    printItemToChord(item, chord);
    return name + ", from fret " + std::to_string(item.BaseFret) + ": " +
           stringByString(chord, names);
  }
  return name + " scale, position from fret " + std::to_string(item.BaseFret) + ": " +
         std::string(trim(printItemNotes(item, names)));
}

}  // namespace DiagramText
