#include "pages/ChordPro.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <set>

#include "library/ChordLibrary.h"
#include "library/LibraryFiles.h"
#include "library/MenuTables.h"
#include "music/DiagramConvert.h"
#include "music/Tuning.h"
#include "music/Windows1252.h"
#include "pages/DiagramText.h"
#include "pages/SmoothFingerings.h"

namespace ChordPro {

namespace {

// The written form of each dictionary type, in dictionary order. Names with a
// blank, a slash or a sign the grid reads otherwise get a common spelling.
// clang-format off
constexpr std::array<std::string_view, 62> Suffixes = {
    "",          "6",           "maj7",      "maj9#5",     "aug",       "69",
    "maj9",      "sus4",        "maj(b5)",   "add9",       "maj7(add13)", "maj13",
    "maj7sus4",  "maj7(b5)",    "maj7(#5)",  "maj7(#11)",  "maj9(#11)", "maj7sus4(b5)",
    "sus4(add3,add9)", "m",     "m7",        "m6",         "m9",        "dim7",
    "m7b5",      "m69",         "m(maj7)",   "m9(maj7)",   "m11",       "m13",
    "m(add9)",   "m7(add11)",   "m7(add13)", "m9(b5)",     "m11(b5)",   "dim(maj7)",
    "7",         "9",           "11",        "13",         "7sus4",     "7#5",
    "7b5",       "7b9",         "9#5",       "9b5",        "9#11",      "13b9",
    "7(add6)",   "7#9",         "7#5b9",     "13b5b9",     "9sus4",     "13sus4",
    "7(b5b9)",   "7(#5#9)",     "7(#11)",    "7(b9#11)",   "7(#9#11)",  "13(b5)",
    "7sus4(b9)", "13sus4(b9)"};
// clang-format on

// Other spellings sheets use for the same types.
struct Alias {
  std::string_view Name;
  int Type;
};
// clang-format off
constexpr Alias Aliases[] = {
    {"M", 0},          {"maj", 0},        {"major", 0},      {"min", 19},       {"mi", 19},
    {"-", 19},         {"minor", 19},     {"min7", 20},      {"mi7", 20},       {"-7", 20},
    {"M7", 2},         {"ma7", 2},        {"j7", 2},         {"\u0394", 2},    {"\u03947", 2},
    {"+", 4},          {"aug(+)", 4},     {"6/9", 5},        {"m6/9", 25},      {"sus", 7},
    {"o7", 23},        {"\u00B07", 23},  {"dim(o)", 23},    {"m7(b5)", 24},    {"min7b5", 24},
    {"\u00F8", 24},   {"\u00F87", 24},  {"mM7", 26},       {"mmaj7", 26},     {"m(M7)", 26},
    {"7sus", 40},      {"7+5", 41},       {"7(#5)", 41},     {"7-5", 42},       {"7(b5)", 42},
    {"7(b9)", 43},     {"9(#5)", 44},     {"9(b5)", 45},     {"9(#11)", 46},    {"13(b9)", 47},
    {"7/6", 48},       {"7(#9)", 49},     {"9sus", 52},      {"13sus", 53},     {"maj7sus", 12},
    {"ma9#5", 3},      {"7sus(b9)", 60},  {"13sus(b9)", 61}};
// clang-format on

int typeOfSuffix(std::string_view s) {
  for (std::size_t i = 0; i < Suffixes.size(); ++i)
    if (Suffixes[i] == s) return static_cast<int>(i);
  for (std::size_t i = 0; i < DictionaryChordNames.size(); ++i)
    if (DictionaryChordNames[i] == s) return static_cast<int>(i);
  for (const Alias& a : Aliases)
    if (a.Name == s) return a.Type;
  return -1;
}

// A note name at the start of `s`: its pitch class and length.
std::optional<std::pair<int, std::size_t>> noteAt(std::string_view s) {
  static constexpr int Naturals[] = {9, 11, 0, 2, 4, 5, 7};  // A..G
  if (s.empty() || s[0] < 'A' || s[0] > 'G') return std::nullopt;
  int pitch = Naturals[s[0] - 'A'];
  std::size_t n = 1;
  if (s.size() > 1 && (s[1] == '#' || s[1] == 'b')) {
    pitch += s[1] == '#' ? 1 : -1;
    n = 2;
  }
  return std::pair{pitchClass(pitch), n};
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> words(std::string_view s) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    const std::size_t start = i;
    while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    if (i > start) out.push_back(s.substr(start, i - start));
  }
  return out;
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::optional<int> number(std::string_view s) {
  if (s.empty() || s.size() > 6) return std::nullopt;
  bool negative = s[0] == '-';
  if (negative) s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  int n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return negative ? -n : n;
}

// The part of a name that says the chord: "C_2" names the second fingering of C.
std::string_view withoutVariant(std::string_view name) {
  const std::size_t at = name.rfind('_');
  if (at == std::string_view::npos || at + 1 >= name.size() || at == 0) return name;
  for (char c : name.substr(at + 1))
    if (c < '0' || c > '9') return name;
  return name.substr(0, at);
}

// Record text is Windows-1252; sheets are UTF-8.
std::string utf8Of(std::string_view bytes) {
  return Windows1252::toUtf8(bytes);
}

bool validUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == 0) return false;
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
    i += n;
  }
  return true;
}

// ---------------------------------------------------------------- writing

struct Fingering {
  std::string Name;
  std::array<TStringFinger, 6> Strings{};
  int BaseFret = 1;
  bool operator<(const Fingering& o) const {
    if (Name != o.Name) return Name < o.Name;
    if (BaseFret != o.BaseFret) return BaseFret < o.BaseFret;
    for (int s = 0; s < 6; ++s) {
      const auto a = Strings[static_cast<std::size_t>(s)],
                 b = o.Strings[static_cast<std::size_t>(s)];
      if (a.Fret != b.Fret) return a.Fret < b.Fret;
      if (a.Finger != b.Finger) return a.Finger < b.Finger;
    }
    return false;
  }
};

// The base fret a define is written from: the record's, but never above the
// lowest fretted string, so no fret is written as zero or less.
int defineBase(const TChordDiagram& d) {
  int base = std::clamp(int(d.BaseFret), 1, 22);
  for (const TStringFinger& s : d.Strings)
    if (s.Finger != FingerCode::Muted && s.Fret > 0) base = std::min(base, int(s.Fret));
  return base;
}

// Gives every distinct fingering its unique name and its define line.
class Namer {
 public:
  explicit Namer(const NameTables& names) : Names(names) {}

  std::string nameOf(const TChordDiagram& d) {
    Fingering key{chordName(d, Names), {}, int(d.BaseFret)};
    for (int s = 0; s < 6; ++s) {
      TStringFinger f = d.Strings[s];
      if (f.Finger == FingerCode::Muted) f.Fret = 0;
      key.Strings[static_cast<std::size_t>(s)] = f;
    }
    const auto found = Known.find(key);
    if (found != Known.end()) return found->second;
    int& count = Uses[key.Name];
    ++count;
    std::string name = count == 1 ? key.Name : key.Name + "_" + std::to_string(count);
    Known.emplace(key, name);
    Defines.push_back(defineLine(name, d));
    return name;
  }

  std::vector<std::string> Defines;

 private:
  const NameTables& Names;
  std::map<Fingering, std::string> Known;
  std::map<std::string, int> Uses;
};

std::string heading(const SheetHeading& h, const PageContents* play) {
  // A brace or a line break in a file name would end the directive early.
  std::string title = h.Title;
  for (char& c : title)
    if (c == '{' || c == '}' || c == '\n' || c == '\r') c = c == '{' ? '(' : c == '}' ? ')' : ' ';
  std::string out = "{title: " + title + "}\n";
  if (play) {
    out += play->Header.ThreeFour ? "{time: 3/4}\n" : "{time: 4/4}\n";
    out += "{tempo: " + std::to_string(play->Header.TempoBpm) + "}\n";
  }
  if (h.Capo > 0) out += "{capo: " + std::to_string(h.Capo) + "}\n";
  return out;
}

std::string definesBlock(const Namer& namer) {
  std::string out = "\n";
  for (const std::string& line : namer.Defines) out += line + "\n";
  return out;
}

std::string playSheet(const PageContents& page, const TRepeatSet& marks, const SheetHeading& h) {
  const bool threeFour = page.Header.ThreeFour;
  const int perBar = PlayBars::slotsPerBar(threeFour);
  const int bars = PlayBars::barCount(threeFour);
  auto slot = [&](int s) -> const TChordDiagram& { return page.PlayPage[s % 12][s / 12]; };

  Namer namer(h.Names);
  std::array<std::string, PlaySlotCount> names{};
  bool offBeat = false;
  int lastBar = -1;
  for (int s = 0; s < PlaySlotCount; ++s) {
    if (isEmpty(slot(s))) continue;
    names[static_cast<std::size_t>(s)] = namer.nameOf(slot(s));
    offBeat |= s % 2 != 0;
    lastBar = s / perBar;
  }
  if (lastBar < 0) return {};
  const bool loop = page.Header.Loop;
  for (int b = 0; b < bars; ++b)
    if (marks.RepeatCount[b] > 0 || (loop && marks.LoopMark[b])) lastBar = std::max(lastBar, b);

  // The bars a repeat goes back to get the opening sign; the first bar's
  // mark, always there, is shown only when a repeat uses it.
  std::array<bool, MaxBars> opens{};
  for (int r = 0; r <= lastBar; ++r) {
    if (marks.RepeatCount[r] == 0) continue;
    int b = r;
    while (b > 0 && marks.ReturnMark[b] == 0) --b;
    opens[static_cast<std::size_t>(b)] = true;
  }

  // A cell per beat, or per eighth note when a chord falls between beats.
  const int cellsPerBar = offBeat ? perBar : perBar / 2;
  const int step = perBar / cellsPerBar;
  const int barsPerLine = offBeat ? 2 : 4;
  std::size_t width = 1;
  for (const std::string& n : names) width = std::max(width, n.size());
  auto cell = [&](int s) {
    std::string c =
        names[static_cast<std::size_t>(s)].empty() ? "." : names[static_cast<std::size_t>(s)];
    c.resize(width, ' ');
    return c;
  };

  std::string grid = "{start_of_grid: 1+" + std::to_string(barsPerLine) + "x" +
                     std::to_string(cellsPerBar) + "+1}\n";
  std::string line;
  int inLine = 0;
  for (int b = 0; b <= lastBar; ++b) {
    if (inLine == 0) line = opens[static_cast<std::size_t>(b)] ? "|:" : "|";
    for (int c = 0; c < cellsPerBar; ++c) {
      line += ' ';
      line += cell(b * perBar + c * step);
    }
    ++inLine;
    const int count = marks.RepeatCount[b];
    std::string margin;
    if (count >= 2) margin = "x" + std::to_string(count + 1);
    if (loop && marks.LoopMark[b]) margin += margin.empty() ? "loop" : " loop";
    if (b == lastBar || inLine == barsPerLine || !margin.empty()) {
      line += count > 0 ? " :|" : b == lastBar ? " |." : " |";
      if (!margin.empty()) line += " " + margin;
      grid += line + "\n";
      inLine = 0;
    } else {
      const bool open = opens[static_cast<std::size_t>(b + 1)];
      line += count > 0 ? (open ? " :|:" : " :|") : (open ? " |:" : " |");
    }
  }
  grid += "{end_of_grid}\n";
  return heading(h, &page) + definesBlock(namer) + "\n" + grid;
}

std::string chordListSheet(const std::vector<TChordDiagram>& chords, const SheetHeading& h) {
  Namer namer(h.Names);
  std::string lines;
  for (const TChordDiagram& d : chords) lines += "{chord: " + namer.nameOf(d) + "}\n";
  if (lines.empty()) return {};
  return heading(h, nullptr) + definesBlock(namer) + "\n" + lines;
}

// ---------------------------------------------------------------- reading

struct Define {
  std::array<TStringFinger, 6> Strings{};  // string 0 highest, as records keep them
  int BaseFret = 1;
};

// `name base-fret B frets f1..f6 [fingers n1..n6] ...`; none for a define of
// another instrument or one whose frets do not fit the neck.
std::optional<std::pair<std::string, Define>> parseDefine(std::string_view value) {
  const std::vector<std::string_view> w = words(value);
  if (w.empty()) return std::nullopt;
  std::string name(w[0]);
  int base = 1;
  std::vector<std::string_view> frets, fingers;
  static const std::set<std::string> Keywords = {"base-fret", "frets",   "fingers", "keys",
                                                 "copy",      "display", "format",  "diagram"};
  for (std::size_t i = 1; i < w.size(); ++i) {
    const std::string key = lower(w[i]);
    if (key == "base-fret" && i + 1 < w.size()) {
      const auto n = number(w[++i]);
      if (!n) return std::nullopt;
      base = *n;
    } else if (key == "frets" || key == "fingers") {
      auto& list = key == "frets" ? frets : fingers;
      while (i + 1 < w.size() && !Keywords.count(lower(w[i + 1]))) list.push_back(w[++i]);
    } else if (Keywords.count(key) && i + 1 < w.size()) {
      ++i;
    }
  }
  if (frets.size() != 6 || base < 1 || base > 22) return std::nullopt;
  if (!fingers.empty() && fingers.size() != 6) fingers.clear();
  Define d;
  d.BaseFret = base;
  for (std::size_t k = 0; k < 6; ++k) {
    TStringFinger& s = d.Strings[5 - k];
    const std::string f = lower(frets[k]);
    if (f == "x" || f == "n" || f == "-1") {
      s = {0, FingerCode::Muted};
      continue;
    }
    const auto n = number(f);
    if (!n || *n < 0 || (*n > 0 && *n + base - 1 > 22)) return std::nullopt;
    if (*n == 0) {
      s = {0, FingerCode::Open};
      continue;
    }
    s.Fret = static_cast<std::uint8_t>(*n + base - 1);
    const auto finger = fingers.empty() ? std::nullopt : number(fingers[k]);
    s.Finger = finger && *finger >= 1 && *finger <= 4 ? static_cast<std::uint8_t>(*finger)
                                                      : FingerCode::Fretted;
  }
  return std::pair{std::move(name), d};
}

struct Bar {
  std::vector<std::string> Cells;  // empty text: no new chord
  bool Return = false;
  int Repeat = 0;
  bool Loop = false;
};

// What a sheet says, before any chord is looked up.
struct Sheet {
  std::map<std::string, Define> Defines;
  std::vector<std::string> DefineOrder;
  std::vector<Bar> Bars;
  std::vector<std::string> FirstSeen;  // distinct chord names in order
  bool ThreeFour = false;
  bool TimeGiven = false;
  std::optional<int> Tempo;
  bool Directives = false;  // anything in braces at all
};

bool isBarSymbol(std::string_view t) {
  if (t.empty() || (t.front() != '|' && t.front() != ':')) return false;
  if (t.find('|') == std::string_view::npos) return false;
  return std::all_of(t.begin(), t.end(), [](char c) {
    return c == '|' || c == ':' || c == '.' || c == '>' || (c >= '0' && c <= '9');
  });
}

bool isNoChord(std::string_view t) {
  const std::string l = lower(t);
  return l == "n.c." || l == "nc" || l == "n.c" || l == "-" || l == "--";
}

// A right-hand note after a grid line: how often the repeat plays ("x3",
// "3x") and whether loop play goes back from here.
void readMargin(const std::vector<std::string_view>& notes, Bar* lastRepeat, Bar* last) {
  for (std::string_view n : notes) {
    const std::string l = lower(n);
    if (l == "loop" && last) last->Loop = true;
    std::string_view digits;
    if (l.size() > 1 && l[0] == 'x') digits = std::string_view(n).substr(1);
    if (l.size() > 1 && l.back() == 'x') digits = std::string_view(n).substr(0, n.size() - 1);
    if (const auto plays = number(digits); plays && lastRepeat && *plays >= 2)
      lastRepeat->Repeat = std::min(*plays - 1, 255);
  }
}

class SheetReader {
 public:
  Sheet S;

  void line(std::string_view raw) {
    const std::string_view text = trimmed(raw);
    if (text.empty() || text[0] == '#') return;
    if (text[0] == '{') {
      S.Directives = true;
      directive(text);
      return;
    }
    if (!SkipUntil.empty()) return;
    if (InGrid) {
      gridLine(text);
      return;
    }
    lyricLine(text);
  }

  void finish() { closeGridBar(); }

 private:
  void seen(const std::string& name) {
    if (std::find(S.FirstSeen.begin(), S.FirstSeen.end(), name) == S.FirstSeen.end())
      S.FirstSeen.push_back(name);
  }

  void directive(std::string_view text) {
    text.remove_prefix(1);
    const std::size_t close = text.rfind('}');
    if (close != std::string_view::npos) text = text.substr(0, close);
    std::size_t split = 0;
    while (split < text.size() && text[split] != ':' &&
           !std::isspace(static_cast<unsigned char>(text[split])))
      ++split;
    std::string name = lower(trimmed(text.substr(0, split)));
    std::string_view value =
        split < text.size() ? trimmed(text.substr(split + 1)) : std::string_view{};
    // A directive for one instrument only ("define-ukulele") is the guitar's
    // only when it says so.
    if (const std::size_t dash = name.find('-'); dash != std::string::npos) {
      if (name.substr(dash + 1) != "guitar") return;
      name.resize(dash);
    }
    static const std::set<std::string> Skipped = {"tab", "abc",       "ly",
                                                  "svg", "textblock", "musicxml"};
    if (!SkipUntil.empty()) {
      if (name == SkipUntil || (SkipUntil == "end_of_tab" && name == "eot")) SkipUntil.clear();
      return;
    }
    if (name.rfind("start_of_", 0) == 0 && Skipped.count(name.substr(9))) {
      SkipUntil = "end_of_" + name.substr(9);
      return;
    }
    if (name == "sot") {
      SkipUntil = "end_of_tab";
      return;
    }
    if (name == "start_of_grid" || name == "sog") {
      closeGridBar();
      InGrid = true;
      gridShape(value);
    } else if (name == "end_of_grid" || name == "eog") {
      closeGridBar();
      InGrid = false;
    } else if (name == "define" || name == "chord") {
      const auto d = parseDefine(value);
      if (d && !S.Defines.count(d->first)) {
        S.Defines.emplace(d->first, d->second);
        S.DefineOrder.push_back(d->first);
      }
      if (name == "chord") {
        const std::vector<std::string_view> w = words(value);
        if (!w.empty()) chordBar(std::string(w[0]));
      }
    } else if (name == "time") {
      const std::size_t slash = value.find('/');
      if (const auto top = number(trimmed(value.substr(0, slash)))) {
        S.ThreeFour = *top == 3 || *top == 6;
        S.TimeGiven = true;
      }
    } else if (name == "tempo") {
      const std::vector<std::string_view> w = words(value);
      if (!w.empty())
        if (const auto bpm = number(w[0]); bpm && *bpm > 0) S.Tempo = *bpm;
    }
  }

  // "1+4x4+1", "16", `shape="4x3+1"`, optionally followed by a label.
  void gridShape(std::string_view value) {
    std::string_view shape;
    if (const std::size_t at = value.find("shape=\""); at != std::string_view::npos) {
      shape = value.substr(at + 7);
      shape = shape.substr(0, shape.find('"'));
    } else if (!words(value).empty()) {
      shape = words(value)[0];
    }
    if (shape.empty() || !std::all_of(shape.begin(), shape.end(), [](char c) {
          return std::isdigit(c) || c == '+' || c == 'x';
        }))
      return;  // the last grid's shape holds
    const std::size_t plus = shape.find('+');
    LeftMargin = plus != std::string_view::npos && number(shape.substr(0, plus)).value_or(0) > 0;
    std::string_view body = plus != std::string_view::npos ? shape.substr(plus + 1) : shape;
    body = body.substr(0, body.find('+'));
    if (const std::size_t x = body.find('x'); x != std::string_view::npos && !S.TimeGiven) {
      const int beats = number(body.substr(x + 1)).value_or(4);
      S.ThreeFour = beats == 3 || beats == 6;
    }
  }

  void closeGridBar() {
    if (!Open || Open->Cells.empty()) return;
    S.Bars.push_back(std::move(*Open));
    Open.reset();
  }

  Bar& openBar() {
    if (!Open) {
      Open.emplace();
      Open->Return = NextReturns;
      NextReturns = false;
    }
    return *Open;
  }

  bool isCell(std::string_view t) const {
    return t == "." || t == "/" || t == "%" || t == "%%" || isNoChord(t) || noteAt(t).has_value();
  }

  void gridLine(std::string_view text) {
    std::vector<std::string_view> w = words(text);
    std::size_t first = w.size(), last = w.size();
    for (std::size_t i = 0; i < w.size(); ++i)
      if (isBarSymbol(w[i])) {
        if (first == w.size()) first = i;
        last = i;
      }
    std::size_t begin = 0, end = w.size();
    std::vector<std::string_view> margin;
    if (first < w.size()) {
      if (LeftMargin) begin = first;
      // Notes after the last bar line, when none of them is a cell.
      if (std::none_of(w.begin() + static_cast<std::ptrdiff_t>(last) + 1, w.end(),
                       [&](std::string_view t) { return isCell(t); })) {
        margin.assign(w.begin() + static_cast<std::ptrdiff_t>(last) + 1, w.end());
        end = last + 1;
      }
    }
    Bar* lastRepeat = nullptr;
    std::size_t repeatIndex = 0;
    bool repeatSeen = false;
    for (std::size_t i = begin; i < end; ++i) {
      const std::string_view t = w[i];
      if (isBarSymbol(t)) {
        const bool ends = t.front() == ':';
        const bool opens = t.size() > 1 && t.back() == ':';
        if (Open && !Open->Cells.empty()) {
          if (ends) Open->Repeat = std::max(Open->Repeat, 1);
          closeGridBar();
          if (ends) {
            repeatIndex = S.Bars.size() - 1;
            repeatSeen = true;
          }
        } else if (ends && !S.Bars.empty()) {
          S.Bars.back().Repeat = std::max(S.Bars.back().Repeat, 1);
          repeatIndex = S.Bars.size() - 1;
          repeatSeen = true;
        }
        if (opens) NextReturns = true;
        continue;
      }
      Bar& bar = openBar();
      if (t == "%" || t == "%%") {
        // The bar before, again.
        if (!S.Bars.empty()) {
          const Bar& before = S.Bars.back();
          bar.Cells.insert(bar.Cells.end(), before.Cells.begin(), before.Cells.end());
        }
      } else if (t == ".") {
        bar.Cells.emplace_back();
      } else if (t == "/") {
        bar.Cells.push_back(LastChord);
      } else if (isNoChord(t)) {
        bar.Cells.emplace_back();
      } else {
        // Several chords in one cell ("C~G"): the first takes the cell.
        std::string chord(t.substr(0, t.find('~')));
        LastChord = chord;
        seen(chord);
        bar.Cells.push_back(chord);
      }
    }
    if (repeatSeen) lastRepeat = &S.Bars[repeatIndex];
    readMargin(margin, lastRepeat, S.Bars.empty() ? nullptr : &S.Bars.back());
  }

  void chordBar(const std::string& chord) {
    if (chord.empty() || chord[0] == '*' || isNoChord(chord)) return;
    closeGridBar();
    seen(chord);
    Bar bar;
    bar.Cells.push_back(chord);
    S.Bars.push_back(std::move(bar));
  }

  void lyricLine(std::string_view text) {
    for (std::size_t at = text.find('['); at != std::string_view::npos;
         at = text.find('[', at + 1)) {
      const std::size_t close = text.find(']', at);
      if (close == std::string_view::npos) return;
      chordBar(std::string(trimmed(text.substr(at + 1, close - at - 1))));
      at = close;
    }
  }

  bool InGrid = false;
  bool LeftMargin = true;  // the shape grids have until one says otherwise
  bool NextReturns = false;
  std::optional<Bar> Open;
  std::string LastChord;
  std::string SkipUntil;
};

// The pitch class of the lowest string played.
std::optional<int> lowestPitch(const TChordDiagram& d) {
  for (int s = 5; s >= 0; --s)
    if (d.Strings[s].Finger != FingerCode::Muted) return (d.Tuning[s] + d.Strings[s].Fret) % 12;
  return std::nullopt;
}

// Every name of the sheet made a chord record, or left out.
class ChordResolver {
 public:
  ChordResolver(const Sheet& sheet, const std::string& dir) : S(sheet), Dir(dir), Library(dir) {}

  std::string Error;
  std::vector<std::string> Unknown;
  std::set<std::string> Defined;  // names whose fingering is the sheet's own

  const TChordDiagram* chord(const std::string& name) {
    auto [at, added] = Made.try_emplace(name);
    if (added) at->second = make(name);
    return at->second ? &*at->second : nullptr;
  }

 private:
  std::optional<TChordDiagram> make(const std::string& name) {
    const std::optional<ChordSymbol> symbol = parseChordName(withoutVariant(name));
    if (!symbol || symbol->Type < 0) return unknown(name);
    TChordFormula formula{};
    const LibraryResult read = readChordFormula(Dir, symbol->Type, formula);
    if (read.Status != LibraryStatus::Ok) {
      if (Error.empty()) Error = libraryErrorText(read);
      return std::nullopt;
    }
    TChordDiagram d{};
    d.Empty = 0;
    d.ChordName = formula.Name.view();
    d.TuningName = "Standard";
    d.Formula = formula.Formula.view();
    std::copy(StandardTuning.begin(), StandardTuning.end(), d.Tuning);
    std::copy(std::begin(formula.Intervals), std::end(formula.Intervals), d.Intervals);
    d.Root = static_cast<std::uint8_t>(symbol->Root);
    d.Bass = static_cast<std::uint8_t>(24 + symbol->Bass);
    d.BaseFret = 1;
    if (const auto define = S.Defines.find(name); define != S.Defines.end()) {
      std::copy(define->second.Strings.begin(), define->second.Strings.end(), d.Strings);
      d.BaseFret = static_cast<std::uint8_t>(std::min(define->second.BaseFret, 17));
      soundNotes(d);
      Defined.insert(name);
      return d;
    }
    const std::array<TChordDiagram, 6>* set = Library.of(d);
    if (!set) return unknown(name);
    // A slash chord takes a fingering that sounds its bass where one does.
    const TChordDiagram* pick = &(*set)[0];
    for (const TChordDiagram& f : *set)
      if (lowestPitch(f) == symbol->Bass) {
        pick = &f;
        break;
      }
    return refingered(d, *pick);
  }

  std::optional<TChordDiagram> unknown(const std::string& name) {
    if (std::find(Unknown.begin(), Unknown.end(), name) == Unknown.end()) Unknown.push_back(name);
    return std::nullopt;
  }

 public:
  LibraryFingerings& library() { return Library; }

 private:
  const Sheet& S;
  std::string Dir;
  LibraryFingerings Library;
  std::map<std::string, std::optional<TChordDiagram>> Made;
};

void emptyPage(PageContents& page) {
  for (auto& column : page.PlayPage)
    for (TChordDiagram& d : column) d.Empty = 1;
  for (auto& column : page.PrintPage)
    for (TPrintDiagram& d : column) d.Empty = 1;
}

void fillPlayPage(const Sheet& sheet, ChordResolver& chords, Imported& out) {
  PageContents& page = out.Page;
  page.Header.ThreeFour = sheet.ThreeFour;
  page.Header.TempoBpm = std::clamp(sheet.Tempo.value_or(120), 10, 250);
  const bool threeFour = sheet.ThreeFour;
  const int perBar = PlayBars::slotsPerBar(threeFour);
  const int bars = PlayBars::barCount(threeFour);
  PlayPageState fresh;
  fresh.ThreeFour = threeFour;
  out.Marks = fresh.savedSet();
  std::set<int> ownSlots;
  int loopBar = -1;
  bool any = false;
  for (std::size_t b = 0; b < sheet.Bars.size(); ++b) {
    const Bar& bar = sheet.Bars[b];
    const int n = static_cast<int>(bar.Cells.size());
    for (int c = 0; c < n; ++c) {
      const std::string& name = bar.Cells[static_cast<std::size_t>(c)];
      if (name.empty()) continue;
      const TChordDiagram* d = chords.chord(name);
      if (!d) continue;
      if (static_cast<int>(b) >= bars) {
        ++out.LeftOut;
        continue;
      }
      const int s = static_cast<int>(b) * perBar + c * perBar / n;
      TChordDiagram& slot = page.PlayPage[s % 12][s / 12];
      if (!isEmpty(slot)) continue;  // more cells than eighth notes: the first keeps it
      slot = *d;
      any = true;
      if (chords.Defined.count(name)) ownSlots.insert(s);
    }
    if (static_cast<int>(b) >= bars) continue;
    if (bar.Return) out.Marks.ReturnMark[b] = 1;
    if (bar.Repeat > 0)
      out.Marks.RepeatCount[b] = out.Marks.RepeatsLeft[b] = static_cast<std::uint8_t>(bar.Repeat);
    if (bar.Loop) loopBar = static_cast<int>(b);
  }
  if (!any) return;
  if (loopBar >= 0) {
    std::fill(std::begin(out.Marks.LoopMark), std::end(out.Marks.LoopMark), 0);
    out.Marks.LoopMark[loopBar] = 1;
    page.Header.Loop = true;
  }
  // Chords the sheet does not finger get the library's fingerings that suit
  // the whole page; the sheet's own stay as written.
  SmoothRequest request;
  request.ThreeFour = threeFour;
  request.Marks = out.Marks;
  request.Loop = page.Header.Loop;
  for (int s : ownSlots) request.Fixed.set(static_cast<std::size_t>(s));
  smoothFingerings(page.PlayPage, request, chords.library());
}

void fillPrintPage(const Sheet& sheet, ChordResolver& chords, Imported& out) {
  int placed = 0;
  for (const std::string& name : sheet.FirstSeen) {
    const TChordDiagram* d = chords.chord(name);
    if (!d) continue;
    if (placed >= PrintPageColumns * PrintPageRows) {
      ++out.LeftOut;
      continue;
    }
    TPrintDiagram& item = out.Page.PrintPage[placed % PrintPageColumns][placed / PrintPageColumns];
    item = TPrintDiagram{};
    chordToPrintItem(*d, item);
    ++placed;
  }
}

}  // namespace

bool isSheetPath(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    return false;
  const std::string ext = lower(path.substr(dot + 1));
  return ext == "cho" || ext == "chordpro" || ext == "crd" || ext == "pro";
}

std::optional<ChordSymbol> parseChordName(std::string_view token) {
  const auto root = noteAt(token);
  if (!root) return std::nullopt;
  ChordSymbol symbol{root->first, root->first, -1};
  std::string_view rest = token.substr(root->second);
  // A bass after the last slash, when what follows it is a note name alone;
  // "6/9" and "sus4(add3,add9)" keep theirs.
  if (const std::size_t slash = rest.rfind('/'); slash != std::string_view::npos) {
    const std::string_view after = rest.substr(slash + 1);
    if (const auto bass = noteAt(after); bass && bass->second == after.size()) {
      symbol.Bass = bass->first;
      rest = rest.substr(0, slash);
    }
  }
  symbol.Type = typeOfSuffix(rest);
  return symbol;
}

std::string_view typeSuffix(int type) {
  return type >= 0 && type < static_cast<int>(Suffixes.size())
             ? Suffixes[static_cast<std::size_t>(type)]
             : std::string_view{};
}

std::string chordName(const TChordDiagram& chord, const NameTables& names) {
  std::string name(names.pitchName(chord.Root));
  const std::string_view type = DiagramText::trimRight(chord.ChordName.view());
  const auto known = std::find(DictionaryChordNames.begin(), DictionaryChordNames.end(), type);
  if (known != DictionaryChordNames.end()) {
    name += typeSuffix(static_cast<int>(known - DictionaryChordNames.begin()));
  } else {
    // A name of the player's own, without what would end the chord token.
    for (char c : utf8Of(type))
      if (!std::isspace(static_cast<unsigned char>(c)) && c != '[' && c != ']' && c != '|' &&
          c != '{' && c != '}' && c != '~')
        name += c;
  }
  if (pitchClass(chord.Bass) != pitchClass(chord.Root)) {
    name += '/';
    name += names.pitchName(chord.Bass);
  }
  return name;
}

std::string defineLine(std::string_view name, const TChordDiagram& chord) {
  const int base = defineBase(chord);
  std::string frets, fingers;
  for (int s = 5; s >= 0; --s) {
    const TStringFinger f = chord.Strings[s];
    const bool muted = f.Finger == FingerCode::Muted;
    frets += " " + (muted         ? std::string("x")
                    : f.Fret == 0 ? std::string("0")
                                  : std::to_string(f.Fret - base + 1));
    fingers += " " + std::to_string(f.Finger >= 1 && f.Finger <= 4 && !muted ? f.Finger : 0);
  }
  return "{define: " + std::string(name) + " base-fret " + std::to_string(base) + " frets" + frets +
         " fingers" + fingers + "}";
}

std::string writeSheet(const PageContents& page, const TRepeatSet& marks,
                       const SheetHeading& heading) {
  std::vector<TChordDiagram> chords;
  switch (page.Kind) {
    case PageKind::Play:
      return playSheet(page, marks, heading);
    case PageKind::Chord:
      for (int r = 0; r < ChordPageRows; ++r)
        for (int c = 0; c < ChordPageColumns; ++c)
          if (!isEmpty(page.ChordPage[c][r])) chords.push_back(page.ChordPage[c][r]);
      break;
    case PageKind::Print:
      for (int r = 0; r < PrintPageRows; ++r)
        for (int c = 0; c < PrintPageColumns; ++c) {
          const TPrintDiagram& item = page.PrintPage[c][r];
          if (isEmpty(item) || !item.IsChord) continue;
          TChordDiagram d{};
          printItemToChord(item, d);
          chords.push_back(d);
        }
      break;
    case PageKind::Design:
      for (const TChordDiagram& d : page.DesignGroup)
        if (!isEmpty(d)) chords.push_back(d);
      break;
    case PageKind::Scale:
      break;
  }
  return chordListSheet(chords, heading);
}

Imported readSheet(std::string_view text, PageKind target, const std::string& programDir) {
  Imported out;
  out.Page.Kind = target;
  emptyPage(out.Page);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (!validUtf8(text)) {
    out.Error = "This is not a ChordPro file: it is not text.";
    return out;
  }
  SheetReader reader;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    reader.line(text.substr(start, end - start));
    start = end + 1;
  }
  reader.finish();
  Sheet& sheet = reader.S;
  if (sheet.Bars.empty())
    for (const std::string& name : sheet.DefineOrder) {
      Bar bar;
      bar.Cells.push_back(name);
      sheet.Bars.push_back(bar);
      sheet.FirstSeen.push_back(name);
    }
  if (sheet.Bars.empty()) {
    out.Error = sheet.Directives ? "This ChordPro file holds no chords."
                                 : "This is not a ChordPro file: it holds no chords.";
    return out;
  }
  ChordResolver chords(sheet, programDir);
  if (target == PageKind::Play)
    fillPlayPage(sheet, chords, out);
  else
    fillPrintPage(sheet, chords, out);
  out.Unknown = chords.Unknown;
  if (!chords.Error.empty()) {
    out.Error = chords.Error;
    return out;
  }
  bool any = false;
  for (int s = 0; s < PlaySlotCount && !any; ++s)
    any = target == PageKind::Play ? !isEmpty(out.Page.PlayPage[s % 12][s / 12])
                                   : s < 30 && !isEmpty(out.Page.PrintPage[s % 6][s / 6]);
  if (!any) out.Error = "None of the chords of this ChordPro file is in the chord dictionary.";
  return out;
}

}  // namespace ChordPro
