#include "output/MusicXml.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <tuple>

#include "files/WriteFiles.h"
#include "music/Windows1252.h"
#include "pages/DiagramText.h"

namespace MusicXml {
namespace {

// A kind and its degrees (degree number, semitones above the root).
struct KindTones {
  std::string_view Name;
  std::vector<std::pair<int, int>> Tones;
};

// In the order a tie is settled: plain triads and sevenths before the
// sixths, extended chords and suspensions.
const std::vector<KindTones>& kinds() {
  static const std::vector<KindTones> table = {
      {"major", {{1, 0}, {3, 4}, {5, 7}}},
      {"minor", {{1, 0}, {3, 3}, {5, 7}}},
      {"augmented", {{1, 0}, {3, 4}, {5, 8}}},
      {"diminished", {{1, 0}, {3, 3}, {5, 6}}},
      {"dominant", {{1, 0}, {3, 4}, {5, 7}, {7, 10}}},
      {"major-seventh", {{1, 0}, {3, 4}, {5, 7}, {7, 11}}},
      {"minor-seventh", {{1, 0}, {3, 3}, {5, 7}, {7, 10}}},
      {"diminished-seventh", {{1, 0}, {3, 3}, {5, 6}, {7, 9}}},
      {"augmented-seventh", {{1, 0}, {3, 4}, {5, 8}, {7, 10}}},
      {"half-diminished", {{1, 0}, {3, 3}, {5, 6}, {7, 10}}},
      {"major-minor", {{1, 0}, {3, 3}, {5, 7}, {7, 11}}},
      {"major-sixth", {{1, 0}, {3, 4}, {5, 7}, {6, 9}}},
      {"minor-sixth", {{1, 0}, {3, 3}, {5, 7}, {6, 9}}},
      {"dominant-ninth", {{1, 0}, {3, 4}, {5, 7}, {7, 10}, {9, 14}}},
      {"major-ninth", {{1, 0}, {3, 4}, {5, 7}, {7, 11}, {9, 14}}},
      {"minor-ninth", {{1, 0}, {3, 3}, {5, 7}, {7, 10}, {9, 14}}},
      {"dominant-11th", {{1, 0}, {3, 4}, {5, 7}, {7, 10}, {9, 14}, {11, 17}}},
      {"major-11th", {{1, 0}, {3, 4}, {5, 7}, {7, 11}, {9, 14}, {11, 17}}},
      {"minor-11th", {{1, 0}, {3, 3}, {5, 7}, {7, 10}, {9, 14}, {11, 17}}},
      {"dominant-13th", {{1, 0}, {3, 4}, {5, 7}, {7, 10}, {9, 14}, {11, 17}, {13, 21}}},
      {"major-13th", {{1, 0}, {3, 4}, {5, 7}, {7, 11}, {9, 14}, {11, 17}, {13, 21}}},
      {"minor-13th", {{1, 0}, {3, 3}, {5, 7}, {7, 10}, {9, 14}, {11, 17}, {13, 21}}},
      {"suspended-second", {{1, 0}, {2, 2}, {5, 7}}},
      {"suspended-fourth", {{1, 0}, {4, 5}, {5, 7}}},
      {"power", {{1, 0}, {5, 7}}},
  };
  return table;
}

// An added tone as a degree: alterations count from a dominant chord's
// degrees (major and perfect, the seventh minor). Below the octave b5 and
// #5 are fifths, the ninths, elevenths and thirteenths lie above it.
Degree addition(int semitones) {
  static constexpr std::array<std::pair<int, int>, 22> table = {{
      {1, 0},   {2, -1}, {2, 0},  {3, -1},  {3, 0},   {4, 0},  {5, -1}, {5, 0},
      {5, 1},   {6, 0},  {7, 0},  {7, 1},   {8, 0},   {9, -1}, {9, 0},  {9, 1},
      {11, -1}, {11, 0}, {11, 1}, {13, -2}, {13, -1}, {13, 0},
  }};
  const auto [value, alter] = table[static_cast<std::size_t>(std::clamp(semitones, 0, 21))];
  return {value, alter, Degree::Type::Add};
}

// The degrees that turn `kind` into `tones`; an alteration moves a fifth or
// an extension by a semitone, a third or seventh that is missing is removed.
std::vector<Degree> degreesOn(const KindTones& kind, const std::set<int>& tones) {
  std::set<int> used;
  std::set<int> kindTones;
  for (const auto& [degree, semitones] : kind.Tones) kindTones.insert(semitones);
  for (int s : kindTones)
    if (tones.count(s)) used.insert(s);
  std::vector<Degree> degrees;
  for (const auto& [degree, semitones] : kind.Tones) {
    if (tones.count(semitones)) continue;
    const bool alterable = degree == 5 || degree == 9 || degree == 11 || degree == 13;
    bool altered = false;
    for (int step : {-1, 1}) {
      const int t = semitones + step;
      if (!alterable || !tones.count(t) || used.count(t) || kindTones.count(t)) continue;
      degrees.push_back({degree, step, Degree::Type::Alter});
      used.insert(t);
      altered = true;
      break;
    }
    if (!altered) degrees.push_back({degree, 0, Degree::Type::Subtract});
  }
  for (int t : tones)
    if (!used.count(t) && t != 0) degrees.push_back(addition(t));
  return degrees;
}

std::string escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Record text (Windows-1252) as UTF-8 without the control characters XML
// cannot carry.
std::string recordText(std::string_view bytes) {
  std::string printable;
  for (const char b : bytes)
    if (static_cast<unsigned char>(b) >= 0x20) printable += b;
  return Windows1252::toUtf8(printable);
}

// A pitch name of the tables ("Eb", "F#") as a step and an alteration.
std::pair<char, int> stepOf(std::string_view name) {
  const char step = name.empty() ? 'C' : name.front();
  int alter = 0;
  for (const char c : name.substr(name.empty() ? 0 : 1)) {
    if (c == '#') ++alter;
    if (c == 'b') --alter;
  }
  return {step, alter};
}

class Writer {
 public:
  void open(std::string_view tag, std::string_view attributes = {}) {
    indent();
    out_ += '<';
    out_ += tag;
    if (!attributes.empty()) out_ += ' ', out_ += attributes;
    out_ += ">\n";
    ++depth_;
  }
  void close(std::string_view tag) {
    --depth_;
    indent();
    out_ += "</";
    out_ += tag;
    out_ += ">\n";
  }
  void leaf(std::string_view tag, std::string_view text, std::string_view attributes = {}) {
    indent();
    out_ += '<';
    out_ += tag;
    if (!attributes.empty()) out_ += ' ', out_ += attributes;
    out_ += '>';
    out_ += escaped(text);
    out_ += "</";
    out_ += tag;
    out_ += ">\n";
  }
  void leaf(std::string_view tag, int value) { leaf(tag, std::to_string(value)); }
  void empty(std::string_view tag, std::string_view attributes = {}) {
    indent();
    out_ += '<';
    out_ += tag;
    if (!attributes.empty()) out_ += ' ', out_ += attributes;
    out_ += "/>\n";
  }
  void raw(std::string_view text) { out_ += text; }
  std::string take() { return std::move(out_); }

 private:
  void indent() { out_.append(static_cast<std::size_t>(2 * depth_), ' '); }
  std::string out_;
  int depth_ = 0;
};

void writeHarmony(Writer& w, const TChordDiagram& chord, const NameTables& names) {
  w.open("harmony");
  const auto [step, alter] = stepOf(names.pitchName(chord.Root));
  w.open("root");
  w.leaf("root-step", std::string(1, step));
  if (alter != 0) w.leaf("root-alter", alter);
  w.close("root");
  const ChordSpelling spelling = spellChord(chordIntervals(chord));
  const std::string name = recordText(DiagramText::trim(chord.ChordName.view()));
  w.leaf("kind", spelling.Kind, name.empty() ? std::string() : "text=\"" + escaped(name) + "\"");
  if (pitchClass(chord.Bass) != pitchClass(chord.Root)) {
    const auto [bassStep, bassAlter] = stepOf(names.pitchName(chord.Bass));
    w.open("bass");
    w.leaf("bass-step", std::string(1, bassStep));
    if (bassAlter != 0) w.leaf("bass-alter", bassAlter);
    w.close("bass");
  }
  for (const Degree& d : spelling.Degrees) {
    w.open("degree");
    w.leaf("degree-value", d.Value);
    w.leaf("degree-alter", d.Alter);
    static constexpr std::string_view types[] = {"add", "alter", "subtract"};
    w.leaf("degree-type", types[static_cast<int>(d.What)]);
    w.close("degree");
  }
  const Frame frame = frameOf(chord);
  if (!frame.Notes.empty()) {
    w.open("frame");
    w.leaf("frame-strings", 6);
    w.leaf("frame-frets", frame.Frets);
    if (frame.FirstFret > 1) w.leaf("first-fret", frame.FirstFret);
    for (const FrameNote& n : frame.Notes) {
      w.open("frame-note");
      w.leaf("string", n.String);
      w.leaf("fret", n.Fret);
      if (n.Finger > 0) w.leaf("fingering", n.Finger);
      if (n.Bar != FrameNote::Barre::None)
        w.empty("barre", n.Bar == FrameNote::Barre::Start ? "type=\"start\"" : "type=\"stop\"");
      w.close("frame-note");
    }
    w.close("frame");
  }
  w.close("harmony");
}

// A slash where a chord sounds, a rest where none does; `divisions` of a quarter.
void writeNote(Writer& w, bool sounding, int duration) {
  const std::string_view type = duration == 2 ? "quarter" : "eighth";
  w.open("note");
  if (sounding) {
    w.open("pitch");
    w.leaf("step", "B");
    w.leaf("octave", 4);
    w.close("pitch");
  } else {
    w.empty("rest");
  }
  w.leaf("duration", duration);
  w.leaf("voice", 1);
  w.leaf("type", type);
  if (sounding) {
    w.leaf("stem", "none");
    w.leaf("notehead", "slash");
  }
  w.close("note");
}

void writeFirstAttributes(Writer& w, const Page& page) {
  const int beats = PlayBars::beatsPerBar(page.ThreeFour);
  w.open("attributes");
  w.leaf("divisions", 2);
  w.open("key");
  w.leaf("fifths", 0);
  w.close("key");
  w.open("time");
  w.leaf("beats", beats);
  w.leaf("beat-type", 4);
  w.close("time");
  w.open("clef");
  w.leaf("sign", "G");
  w.leaf("line", 2);
  w.close("clef");
  w.close("attributes");
  const int bpm = page.TempoBpm > 0 ? page.TempoBpm : 120;
  w.open("direction", "placement=\"above\"");
  w.open("direction-type");
  w.open("metronome");
  w.leaf("beat-unit", "quarter");
  w.leaf("per-minute", bpm);
  w.close("metronome");
  w.close("direction-type");
  w.empty("sound", "tempo=\"" + std::to_string(bpm) + "\"");
  w.close("direction");
  if (page.Capo > 0) {
    w.open("direction", "placement=\"above\"");
    w.open("direction-type");
    w.leaf("words", "Capo " + std::to_string(page.Capo));
    w.close("direction-type");
    w.close("direction");
  }
}

}  // namespace

std::vector<int> chordIntervals(const TChordDiagram& chord) {
  std::vector<int> intervals;
  for (const std::int8_t i : chord.Intervals) {
    if (i == ChordIntervalEnd) break;
    // A damaged record may hold anything; only what names a tone is kept.
    if (i >= 0 && i <= 21 && i != 12) intervals.push_back(i);
  }
  if (std::find(intervals.begin(), intervals.end(), 0) == intervals.end())
    intervals.insert(intervals.begin(), 0);
  return intervals;
}

ChordSpelling spellChord(const std::vector<int>& intervals) {
  std::set<int> tones(intervals.begin(), intervals.end());
  tones.insert(0);
  // Every tone added to a bare root is the last resort.
  ChordSpelling best{"other", degreesOn({"other", {{1, 0}}}, tones)};
  auto rank = [](const std::vector<Degree>& d) {
    const auto count = [&d](Degree::Type t) {
      return std::count_if(d.begin(), d.end(), [t](const Degree& x) { return x.What == t; });
    };
    return std::make_tuple(d.size(), count(Degree::Type::Subtract), count(Degree::Type::Alter));
  };
  bool found = false;
  auto bestRank = rank(best.Degrees);
  for (const KindTones& kind : kinds()) {
    std::vector<Degree> degrees = degreesOn(kind, tones);
    const auto r = rank(degrees);
    // "other" wins only where every kind needs more degrees.
    if (found ? r < bestRank : r <= bestRank) {
      best = {kind.Name, std::move(degrees)};
      bestRank = r;
      found = true;
    }
  }
  return best;
}

Frame frameOf(const TChordDiagram& chord) {
  Frame frame;
  int low = 99, high = 0;
  // Strings 0..5 run from the highest to the lowest; the frame lists the
  // lowest first, string 6.
  for (int s = 5; s >= 0; --s) {
    const TStringFinger& f = chord.Strings[s];
    if (f.Finger == FingerCode::Muted) continue;
    FrameNote note;
    note.String = s + 1;
    note.Fret = f.Fret;
    if (f.Fret > 0 && f.Finger >= 1 && f.Finger <= 4) note.Finger = f.Finger;
    if (f.Fret > 0) low = std::min(low, int(f.Fret)), high = std::max(high, int(f.Fret));
    frame.Notes.push_back(note);
  }
  if (high > 5) frame.FirstFret = low;
  frame.Frets = std::max(4, high - frame.FirstFret + 1);
  // One finger holding one fret on several strings lies across them: the
  // barre runs from the lowest of those strings to the highest.
  for (int finger = 1; finger <= 4; ++finger) {
    std::map<int, std::vector<FrameNote*>> byFret;
    for (FrameNote& n : frame.Notes)
      if (n.Finger == finger) byFret[n.Fret].push_back(&n);
    for (auto& [fret, notes] : byFret) {
      if (notes.size() < 2) continue;
      notes.front()->Bar = FrameNote::Barre::Start;
      notes.back()->Bar = FrameNote::Barre::Stop;
    }
  }
  return frame;
}

std::optional<std::vector<Measure>> measuresOf(const PlayList& slots, const TRepeatSet& marks,
                                               bool threeFour, bool loop) {
  const int perBar = PlayBars::slotsPerBar(threeFour);
  const int lastBar = PlayBars::barCount(threeFour) - 1;
  int lastChordBar = -1;
  for (int s = 0; s < PlaySlotCount; ++s)
    if (!isEmpty(slots[static_cast<std::size_t>(s)])) lastChordBar = s / perBar;
  if (lastChordBar < 0) return std::vector<Measure>{};
  // With Loop Play on the page turns back at the first loop mark it meets
  // and never plays past it.
  int loopEnd = -1;
  if (loop)
    for (int b = 0; b <= lastBar && loopEnd < 0; ++b)
      if (marks.LoopMark[b] == 1) loopEnd = b;
  const int walkEnd = loopEnd >= 0 ? loopEnd : lastBar;
  auto returnTarget = [&](int bar) {
    for (int b = bar; b >= 0; --b)
      if (marks.ReturnMark[b] != 0) return b;
    return bar;
  };
  // Repeats that share a return mark nest; the last of them is the
  // outermost. Repeats with different return marks never overlap.
  std::map<int, int> outerEnd;  // return bar -> last repeat bar going back to it
  for (int b = 0; b <= walkEnd; ++b)
    if (marks.RepeatCount[b] > 0) outerEnd[returnTarget(b)] = b;
  int end = loopEnd >= 0 ? loopEnd : lastChordBar;
  for (const auto& [start, e] : outerEnd) end = std::max(end, e);

  // The spans written as repeat barlines: the loop, or else each outermost
  // repeat. Everything inside them is walked as the player walks it.
  std::vector<std::pair<int, int>> spans;
  std::uint8_t counts[MaxBars];
  std::copy(std::begin(marks.RepeatCount), std::end(marks.RepeatCount), std::begin(counts));
  if (loopEnd >= 0) {
    spans.push_back({0, loopEnd});
  } else {
    for (const auto& [start, e] : outerEnd) {
      spans.push_back({start, e});
      counts[e] = 0;
    }
  }
  std::uint8_t left[MaxBars];
  std::copy(std::begin(counts), std::end(counts), std::begin(left));
  std::vector<Measure> measures;
  for (int bar = 0; bar <= end;) {
    if (measures.size() >= MaxMeasures) return std::nullopt;
    measures.push_back({bar, false, 0, false});
    if (left[bar] > 0) {
      --left[bar];
      bar = returnTarget(bar);
    } else {
      left[bar] = counts[bar];
      ++bar;
    }
  }
  for (const auto& [start, e] : spans) {
    auto first = std::find_if(measures.begin(), measures.end(),
                              [start = start](const Measure& m) { return m.Bar == start; });
    auto last = std::find_if(measures.rbegin(), measures.rend(),
                             [e = e](const Measure& m) { return m.Bar == e; });
    first->Forward = true;
    last->LoopEnd = loopEnd >= 0;
    last->Backward = loopEnd >= 0 ? 2 : marks.RepeatCount[e] + 1;
  }
  return measures;
}

std::optional<std::string> document(const Page& page) {
  const std::optional<std::vector<Measure>> measures =
      measuresOf(page.Slots, page.Marks, page.ThreeFour, page.Loop);
  if (!measures) return std::nullopt;
  const int perBar = PlayBars::slotsPerBar(page.ThreeFour);
  Writer w;
  w.raw(
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
      "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
      "\"http://www.musicxml.org/dtds/partwise.dtd\">\n");
  w.open("score-partwise", "version=\"4.0\"");
  if (!page.Title.empty()) {
    w.open("work");
    w.leaf("work-title", page.Title);
    w.close("work");
  }
  w.open("identification");
  w.open("encoding");
  w.leaf("software", "Strumbo!");
  w.close("encoding");
  w.close("identification");
  w.open("part-list");
  w.open("score-part", "id=\"P1\"");
  w.leaf("part-name", "Guitar");
  w.close("score-part");
  w.close("part-list");
  w.open("part", "id=\"P1\"");
  // How many slots the chord struck last still rings: it sounds through at
  // most seven empty slots after its own, as the page player holds it.
  int ringing = 0;
  for (std::size_t i = 0; i < measures->size(); ++i) {
    const Measure& m = (*measures)[i];
    w.open("measure", "number=\"" + std::to_string(i + 1) + "\"");
    if (m.Forward) {
      w.open("barline", "location=\"left\"");
      w.leaf("bar-style", "heavy-light");
      w.empty("repeat", "direction=\"forward\"");
      w.close("barline");
    }
    if (i == 0) writeFirstAttributes(w, page);
    const int first = m.Bar * perBar;
    auto chordAt = [&](int slot) -> const TChordDiagram* {
      const TChordDiagram& d = page.Slots[static_cast<std::size_t>(slot)];
      return isEmpty(d) ? nullptr : &d;
    };
    auto sounds = [&](int slot) {
      if (chordAt(slot)) {
        ringing = 8;
      } else if (ringing > 0) {
        --ringing;
      }
      return ringing > 0;
    };
    for (int beat = 0; beat < perBar / 2; ++beat) {
      const int on = first + 2 * beat, off = on + 1;
      const bool onSounds = sounds(on);
      if (const TChordDiagram* c = chordAt(on)) writeHarmony(w, *c, page.Names);
      if (const TChordDiagram* c = chordAt(off)) {
        writeNote(w, onSounds, 1);
        writeHarmony(w, *c, page.Names);
        writeNote(w, sounds(off), 1);
      } else {
        sounds(off);
        writeNote(w, onSounds, 2);
      }
    }
    if (m.Backward > 0) {
      w.open("barline", "location=\"right\"");
      w.leaf("bar-style", "light-heavy");
      w.empty("repeat", m.Backward > 2
                            ? "direction=\"backward\" times=\"" + std::to_string(m.Backward) + "\""
                            : std::string("direction=\"backward\""));
      w.close("barline");
    } else if (i + 1 == measures->size()) {
      w.open("barline", "location=\"right\"");
      w.leaf("bar-style", "light-heavy");
      w.close("barline");
    }
    w.close("measure");
  }
  w.close("part");
  w.close("score-partwise");
  return w.take();
}

Outcome exportFile(FileLayer& files, const std::string& path, const Page& page) {
  Outcome outcome;
  if (std::all_of(page.Slots.begin(), page.Slots.end(),
                  [](const TChordDiagram& d) { return isEmpty(d); })) {
    outcome.Status = Result::Empty;
    return outcome;
  }
  const std::optional<std::string> text = document(page);
  if (!text) {
    outcome.Status = Result::TooLong;
    return outcome;
  }
  if (const auto failure = writeFilesTogether(files, {{path, *text}})) {
    outcome.Status = Result::WriteFailed;
    outcome.Reason = failure->Reason;
  }
  return outcome;
}

std::string message(const Outcome& outcome, const std::string& path) {
  switch (outcome.Status) {
    case Result::Written:
      break;
    case Result::Empty:
      return "The play page is empty; there is nothing to export.";
    case Result::TooLong:
      return "The page's repeats run too long to write out as a score.";
    case Result::WriteFailed:
      return couldNotWrite(path, outcome.Reason);
  }
  return {};
}

}  // namespace MusicXml
