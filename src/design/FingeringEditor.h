#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "music/ChordAnalysis.h"
#include "music/NameTables.h"
#include "music/Records.h"
#include "music/Tuning.h"

// The fingering editor: every change the user makes to the fingering in hand
// on the big fretboard (a string pressed at a fret, the root, the bass, a new
// tuning, an interval named an octave up) and the texts that follow from it
// (chord name, tablature, formula). It edits records it is handed; of its own
// it keeps only the tuning the fretboard shows, so the widgets only forward
// input and show the result, and no record text is read back from a field.
class FingeringEditor {
 public:
  FingeringEditor(TChordDiagram& chord, ExtensionFlagSet& extensionFlags, const NameTables& names);

  // String s (0..5) pressed at fret f (0..22); anything else is ignored. At
  // the nut a plain press toggles the string between muted and open, a root
  // press always opens it; above the nut the string takes `finger` (a
  // FingerCode). A root press also makes the pressed note root and bass.
  // Base fret and interval list follow.
  void press(int s, int f, int finger, bool rootPress);
  // String s (0..5) as a tablature box says it: no fret mutes it, fret 0
  // opens it and frets 1..22 take `finger`, whatever the string was before.
  // Anything else is ignored.
  void typeFret(int s, std::optional<int> fret, int finger);
  // A new root; the bass goes with it.
  void setRoot(int root);
  void setBass(int bass);
  // The open strings change; played strings keep their frets, so their notes
  // move with them, and muted strings stay muted.
  void retune(const Tuning& tuning, std::string_view tuningName);
  // Lists interval i (0..11) an octave up, or back in place.
  void setExtension(int interval, bool raised);
  void recomputeIntervals();
  // Formula := the interval captions on show, each followed by a space, cut to
  // 20 characters. On show are the intervals of `compared` when a chord type
  // is laid over the fingering, else the fingering's own.
  void rebuildFormula(const TChordFormula* compared);
  // After an edit of the fingering: while the sounded notes still belong to
  // the chord type the name gives, over the root, nothing changes. Otherwise
  // the chord is named as a search of the dictionary in `dictionaryDir` names
  // it first, for these notes only, over the current root and then over each
  // sounded note; when that finds it over another note, the root (and a bass
  // that went with the root) moves there too. Nothing found empties the name.
  // A fingering without a name takes the first chord found over its root,
  // when the root sounds, and otherwise stays unnamed. A name the dictionary
  // does not hold (typed by the user) is left alone, and so is everything when
  // the dictionary cannot be read. True when the root moved.
  bool keepNameTrue(const std::string& dictionaryDir);

  // A name typed into the chord name box: when it names a chord type, the
  // fingering takes it. True when the record changed.
  bool typeChordName(std::string_view typed);

  // The tuning name under the fretboard, as shown there or typed by the user,
  // and the open string s the tuning controls show.
  void showTuningName(std::string_view name) { TuningNameShown = name; }
  const std::string& tuningNameShown() const { return TuningNameShown; }
  void showString(int s, int note);
  // Before the fingering joins the design group: its tuning name as shown
  // (the six string names when none is) and its formula from its own
  // intervals, not from a chord type laid over it.
  void nameForGroup();

  // Pitch classes.
  int root() const;
  int bass() const;
  // Root, chord type and, when the bass differs, " /" and the bass: "C maj7 /E".
  std::string chordName() const;
  // Per string, 0 first: the fret of a played string, empty for a muted one.
  std::array<std::string, 6> tabTexts() const;
  const TChordDiagram& chord() const { return Chord; }

 private:
  TChordDiagram& Chord;
  ExtensionFlagSet& Flags;
  const NameTables& Names;
  std::string TuningNameShown = "Standard";
  Tuning StringsShown = StandardTuning;
};

// A scale shown on the fretboard takes a new tuning the same way.
void retuneScale(TScaleDiagram& scale, const Tuning& tuning, std::string_view tuningName);
