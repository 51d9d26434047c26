#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../play/PlayerTestSupport.h"
#include "../settings/FakeFileLayer.h"
#include "library/LibraryFiles.h"
#include "output/MusicXml.h"

using namespace MusicXml;

namespace {

// The bars the real page player walks, in order, for its first `count` bars:
// read from its beat markers (the first beat of a run has none).
std::vector<int> barsPlayed(const PlayList& slots, const PlayPageState& state, bool loop,
                            std::size_t count) {
  PlayOptions options;
  options.Loop = loop;
  PagePlayer player;
  player.StartPagePlay(startOf(slots, state, options));
  const int beatsPerBar = PlayBars::beatsPerBar(state.ThreeFour);
  std::vector<int> bars{0};
  struct Markers : MidiSink {
    std::vector<int>* bars;
    int beatsPerBar;
    std::size_t count;
    bool put(const MidiEvent& e) override {
      if (e.Status != EventBeatMarker) return true;
      if (e.Data1 % beatsPerBar != 0) return true;
      if (bars->size() >= count) return false;
      bars->push_back(e.Data1 / beatsPerBar);
      return true;
    }
  } sink;
  sink.bars = &bars;
  sink.beatsPerBar = beatsPerBar;
  sink.count = count;
  player.FillPlayQueue(sink);
  return bars;
}

// The bars a musician plays from the score: a backward repeat goes back to
// the last forward repeat (or the top) until its section has been played
// `times` times; repeat barlines do not nest.
std::vector<int> barsRead(const std::vector<Measure>& measures) {
  std::vector<int> bars;
  std::size_t start = 0;
  std::map<std::size_t, int> played;
  for (std::size_t i = 0; i < measures.size(); ++i) {
    if (measures[i].Forward) start = i;
    bars.push_back(measures[i].Bar);
    if (measures[i].Backward > 0 && ++played[i] < measures[i].Backward) {
      i = start - 1;
      continue;
    }
    if (measures[i].Backward > 0) played[i] = 0;
  }
  return bars;
}

PlayList pageWithChordsInBars(std::initializer_list<int> bars, bool threeFour = false) {
  PlayList slots = emptyList();
  for (int b : bars)
    slots[static_cast<std::size_t>(PlayBars::firstSlotOfBar(b, threeFour))] = cMajor();
  return slots;
}

// What each kind means, read from the schema's own description of it: a
// line "name (part, part)" whose parts are intervals over the root or other
// kinds ("major triad", "dominant-seventh"). Degrees as in <degree-value>:
// 9, 11 and 13 as such, each standing for its semitones (14, 17, 21).
const std::map<std::string, std::map<int, int>>& schemaKinds() {
  static const std::map<std::string, std::map<int, int>> kinds = [] {
    // The words the description uses for an interval: its degree and semitones.
    const std::map<std::string, std::pair<int, int>> intervals = {
        {"major second", {2, 2}},    {"minor third", {3, 3}},      {"major third", {3, 4}},
        {"perfect fourth", {4, 5}},  {"diminished fifth", {5, 6}}, {"perfect fifth", {5, 7}},
        {"augmented fifth", {5, 8}}, {"added sixth", {6, 9}},      {"diminished seventh", {7, 9}},
        {"minor seventh", {7, 10}},  {"major seventh", {7, 11}},   {"major ninth", {9, 14}},
        {"perfect 11th", {11, 17}},  {"major 13th", {13, 21}}};
    std::ifstream xsd(STRUMBO_MUSICXML_SCHEMA);
    std::string text((std::istreambuf_iterator<char>(xsd)), std::istreambuf_iterator<char>());
    const std::size_t from = text.find("<xs:simpleType name=\"kind-value\">");
    text = text.substr(from, text.find("</xs:documentation>", from) - from);
    std::map<std::string, std::map<int, int>> read;
    const std::regex line(R"(\n\t([a-z0-9-]+) \(([^)]*)\))");
    for (std::sregex_iterator m(text.begin(), text.end(), line), end; m != end; ++m) {
      std::map<int, int> tones = {{1, 0}};
      std::stringstream parts((*m)[2].str());
      for (std::string part; std::getline(parts, part, ',');) {
        part.erase(0, part.find_first_not_of(' '));
        if (const auto i = intervals.find(part); i != intervals.end()) {
          tones[i->second.first] = i->second.second;
          continue;
        }
        // Another kind named earlier: "major triad", "dominant-seventh".
        std::string kind = part.substr(0, part.find(" triad"));
        if (kind == "dominant-seventh") kind = "dominant";
        if (const auto k = read.find(kind); k != read.end())
          tones.insert(k->second.begin(), k->second.end());
        else if (part != "pedal-point bass")
          ADD_FAILURE() << "no meaning for \"" << part << "\"";
      }
      read[(*m)[1].str()] = tones;
    }
    read["other"] = {{1, 0}};
    return read;
  }();
  return kinds;
}

std::set<int> tonesOf(const ChordSpelling& spelling) {
  const auto& kinds = schemaKinds();
  // An added degree counts from a dominant chord: major and perfect, the seventh minor.
  static const std::map<int, int> dominant = {{1, 0}, {2, 2},  {3, 4},  {4, 5},   {5, 7},
                                              {6, 9}, {7, 10}, {9, 14}, {11, 17}, {13, 21}};
  const auto kind = kinds.find(std::string(spelling.Kind));
  if (kind == kinds.end()) return {-1};
  std::map<int, int> degrees = kind->second;
  std::set<int> added;
  for (const Degree& d : spelling.Degrees) {
    switch (d.What) {
      case Degree::Type::Add:
        if (!dominant.count(d.Value)) return {-2};
        added.insert(dominant.at(d.Value) + d.Alter);
        break;
      case Degree::Type::Alter:
        if (!degrees.count(d.Value)) return {-3};
        degrees[d.Value] += d.Alter;
        break;
      case Degree::Type::Subtract:
        if (!degrees.erase(d.Value)) return {-4};
        break;
    }
  }
  for (const auto& [value, semitones] : degrees) added.insert(semitones);
  return added;
}

TChordDiagram fingered(std::array<int, 6> frets, std::array<int, 6> fingers) {
  TChordDiagram d = chordFromFrets(frets, 0, 0);
  for (int s = 0; s < 6; ++s)
    d.Strings[s].Finger = static_cast<std::uint8_t>(frets[s] < 0 ? FingerCode::Muted : fingers[s]);
  return d;
}

std::size_t countOf(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(MusicXmlScore, MeasuresAndRepeatsPlayWhatThePagePlayerPlays) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> returns;  // bar, mark
    std::vector<std::pair<int, int>> repeats;  // bar, count
    int loopBar;
    bool loop;
    bool threeFour;
    std::vector<Measure> expected;
  };
  const std::vector<Case> cases = {
      {"one repeat played three times",
       {{1, 1}},
       {{2, 2}},
       8,
       false,
       false,
       {{0, false, 0}, {1, true, 0}, {2, false, 3}, {3, false, 0}}},
      {"two repeats going back to one mark nest: the inner one is written out",
       {{1, 1}},
       {{1, 1}, {2, 1}},
       8,
       false,
       false,
       {{0, false, 0}, {1, true, 0}, {1, false, 0}, {2, false, 2}, {3, false, 0}}},
      {"a repeat past the last chord keeps its empty bars",
       {{0, 1}},
       {{5, 1}},
       8,
       false,
       false,
       {{0, true, 0}, {1}, {2}, {3}, {4}, {5, false, 2}}},
      {"the loop is the outermost repeat and the score ends where it turns back",
       {{2, 1}},
       {{2, 1}},
       3,
       true,
       false,
       {{0, true, 0}, {1}, {2}, {2}, {3, false, 2, true}}},
      {"the silent bars before the page turns back are part of the loop",
       {},
       {},
       5,
       true,
       false,
       {{0, true, 0}, {1}, {2}, {3}, {4}, {5, false, 2, true}}},
      {"Loop Play off passes the loop mark by", {{0, 1}}, {}, 1, false, true, {{0}, {1}, {2}, {3}}},
      {"a repeat without a return mark repeats its own bar",
       {},
       {{2, 3}},
       11,
       false,
       true,
       {{0}, {1}, {2, true, 4}, {3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PlayPageState state;
    state.ThreeFour = c.threeFour;
    TRepeatSet& marks = state.savedSet();
    marks = TRepeatSet{};
    for (auto [bar, mark] : c.returns) marks.ReturnMark[bar] = static_cast<std::uint8_t>(mark);
    for (auto [bar, count] : c.repeats) marks.RepeatCount[bar] = static_cast<std::uint8_t>(count);
    marks.LoopMark[c.loopBar] = 1;
    const PlayList slots = pageWithChordsInBars({0, 1, 2, 3}, c.threeFour);
    const auto measures = measuresOf(slots, marks, c.threeFour, c.loop);
    ASSERT_TRUE(measures.has_value());
    EXPECT_EQ(*measures, c.expected);
    // Read as a musician reads it, the score is the music the player plays.
    const std::vector<int> read = barsRead(*measures);
    std::vector<int> played = barsPlayed(slots, state, c.loop, read.size());
    // Past the score's end the player only plays empty trailing bars.
    EXPECT_EQ(read, played);
  }
}

TEST(MusicXmlScore, RepeatsTooDeepToWriteOutAreRefused) {
  TRepeatSet marks{};
  marks.ReturnMark[0] = 1;
  marks.RepeatCount[0] = 255;
  marks.RepeatCount[1] = 255;
  marks.RepeatCount[2] = 1;
  const PlayList slots = pageWithChordsInBars({0, 1, 2});
  EXPECT_FALSE(measuresOf(slots, marks, false, false).has_value());
  Page page;
  page.Slots = slots;
  page.Marks = marks;
  FakeFileLayer disk;
  EXPECT_EQ(exportFile(disk, "/out/a.musicxml", page).Status, Result::TooLong);
  EXPECT_TRUE(disk.files.empty());
  page.Slots = emptyList();
  EXPECT_EQ(exportFile(disk, "/out/a.musicxml", page).Status, Result::Empty);
  EXPECT_TRUE(disk.files.empty());
}

TEST(MusicXmlChords, EveryDictionaryTypeReadsBackAsItsIntervals) {
  for (int i = 0; i < 62; ++i) {
    TChordFormula formula{};
    ASSERT_EQ(readChordFormula(STRUMBO_TEST_PROGRAM_DIR "/", i, formula).Status, LibraryStatus::Ok);
    TChordDiagram chord = cMajor();
    std::copy(std::begin(formula.Intervals), std::end(formula.Intervals), chord.Intervals);
    const std::vector<int> intervals = chordIntervals(chord);
    const ChordSpelling spelling = spellChord(intervals);
    SCOPED_TRACE(formula.Name.str() + " as " + std::string(spelling.Kind));
    EXPECT_EQ(tonesOf(spelling), std::set<int>(intervals.begin(), intervals.end()));
    // Every type of the dictionary is near enough a standard kind to say so.
    EXPECT_NE(spelling.Kind, "other");
    EXPECT_LE(spelling.Degrees.size(), 3u);
  }
  // The common ones are the standard's kinds as they stand.
  EXPECT_EQ(spellChord({0, 3, 6, 9}).Kind, "diminished-seventh");
  EXPECT_EQ(spellChord({0, 3, 6, 10}).Kind, "half-diminished");
  EXPECT_TRUE(spellChord({0, 3, 7, 10, 14, 17, 21}).Degrees.empty());
  // A shape of no kind at all is spelled tone by tone.
  const ChordSpelling cluster = spellChord({0, 1, 2});
  EXPECT_EQ(cluster.Kind, "other");
  EXPECT_EQ(tonesOf(cluster), (std::set<int>{0, 1, 2}));
}

TEST(MusicXmlChords, FramesShowTheFingeringExactly) {
  using B = FrameNote::Barre;
  // Open C, x32010: the low E muted and left out.
  const Frame c = frameOf(fingered({0, 1, 0, 2, 3, -1}, {0, 1, 0, 2, 3, 5}));
  EXPECT_EQ(c.Frets, 4);
  EXPECT_EQ(c.FirstFret, 1);
  EXPECT_EQ(c.Notes,
            (std::vector<FrameNote>{{5, 3, 3}, {4, 2, 2}, {3, 0, 0}, {2, 1, 1}, {1, 0, 0}}));
  // F, 133211 at the first fret: the first finger lies across strings 6 to 1.
  const Frame f = frameOf(fingered({1, 1, 2, 3, 3, 1}, {1, 1, 2, 4, 3, 1}));
  EXPECT_EQ(f.FirstFret, 1);
  EXPECT_EQ(
      f.Notes,
      (std::vector<FrameNote>{
          {6, 1, 1, B::Start}, {5, 3, 3}, {4, 3, 4}, {3, 2, 2}, {2, 1, 1}, {1, 1, 1, B::Stop}}));
  // The same shape at the eighth fret (C) starts the frame there.
  const Frame high = frameOf(fingered({8, 8, 9, 10, 10, 8}, {1, 1, 2, 4, 3, 1}));
  EXPECT_EQ(high.FirstFret, 8);
  EXPECT_EQ(high.Frets, 4);
  // Up to the fifth fret the nut stays in the frame.
  const Frame fifth = frameOf(fingered({3, 5, 5, 5, 3, -1}, {1, 4, 3, 2, 1, 5}));
  EXPECT_EQ(fifth.FirstFret, 1);
  EXPECT_EQ(fifth.Frets, 5);
  // A stretch from the nut past the fifth fret keeps the nut and every fret.
  const Frame wide = frameOf(fingered({0, 7, 0, 0, 0, 1}, {0, 4, 0, 0, 0, 1}));
  EXPECT_EQ(wide.FirstFret, 1);
  EXPECT_EQ(wide.Frets, 7);
}

TEST(MusicXmlDocument, ChordsStandOverTheirBeatsAndSilenceIsRest) {
  Page page;
  page.Slots = emptyList();
  TChordDiagram slashChord = cMajor();
  slashChord.ChordName = "maj";
  slashChord.Bass = 24 + 7;  // C /G
  page.Slots[0] = slashChord;
  TChordDiagram offBeat = aMinor();
  offBeat.ChordName = "m<7>";
  page.Slots[3] = offBeat;    // the second half of beat 2
  page.Slots[24] = gMajor();  // the fourth bar
  page.Slots[40] = cMajor();  // the sixth, after a bar the G no longer reaches
  page.Names.setSharps(true);
  page.Capo = 2;
  const std::optional<std::string> xml = document(page);
  ASSERT_TRUE(xml.has_value());
  // Beat 2 splits in two eighths so the A minor stands over its own half.
  const auto bar1 = xml->substr(0, xml->find("<measure number=\"2\""));
  EXPECT_EQ(countOf(bar1, "<duration>1</duration>"), 2u);
  EXPECT_EQ(countOf(bar1, "<duration>2</duration>"), 3u);
  EXPECT_LT(bar1.find("<type>eighth</type>"), bar1.find("m&lt;7&gt;"));
  EXPECT_LT(bar1.find("m&lt;7&gt;"), bar1.rfind("<type>eighth</type>"));
  EXPECT_NE(bar1.find("<bass-step>G</bass-step>"), std::string::npos);
  EXPECT_NE(bar1.find("<words>Capo 2</words>"), std::string::npos);
  // The A minor rings through seven empty slots, into the second beat of the
  // next bar; then all is silent until the G two bars on.
  const std::size_t second = xml->find("<measure number=\"2\"");
  const std::size_t third = xml->find("<measure number=\"3\"");
  const std::size_t fourth = xml->find("<measure number=\"4\"");
  const std::string bar2 = xml->substr(second, third - second);
  const std::string bar3 = xml->substr(third, fourth - third);
  EXPECT_EQ(countOf(bar2, "<notehead>slash</notehead>"), 2u);
  EXPECT_EQ(countOf(bar2, "<rest/>"), 2u);
  EXPECT_EQ(countOf(bar3, "<rest/>"), 4u);
  const std::size_t fifth = xml->find("<measure number=\"5\"");
  EXPECT_EQ(countOf(xml->substr(fourth, fifth - fourth), "<notehead>slash</notehead>"), 4u);
  EXPECT_EQ(countOf(xml->substr(fifth, xml->find("<measure number=\"6\"") - fifth), "<rest/>"), 4u);
  EXPECT_EQ(countOf(*xml, "<measure "), 6u);
  // The page's own naming: sharps.
  page.Slots[0].Root = 1;
  EXPECT_NE(document(page)->find("<root-step>C</root-step>\n          <root-alter>1</root-alter>"),
            std::string::npos);
}
