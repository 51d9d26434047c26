#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "music/NameTables.h"
#include "music/PageSizes.h"
#include "music/Records.h"
#include "music/Tuning.h"
#include "play/PlayPageModel.h"
#include "play/PlayTab.h"
#include "play/PlaybackEngine.h"

// The program's state: every page store, the record in hand on each page,
// the counters, the naming mode and the current tuning. The main window owns
// one for the life of the program and hands it to the pages; tests make as
// many as they like. Stores are indexed [column][row].
struct AppState {
  TChordDiagram ChordPage[ChordPageColumns][ChordPageRows];
  TChordDiagram DesignGroup[DesignGroupSize];
  TChordDiagram PlayPage[PlayPageColumns][PlayPageRows];
  TPrintDiagram PrintPage[PrintPageColumns][PrintPageRows];
  TScaleDiagram ScalePage[ScalePageSize];

  std::int32_t ChordSetCount;
  std::int32_t ScaleCount;

  TChordDiagram SelectedChord;
  TChordDiagram EditChord;
  TChordDiagram SelectedPlayChord;
  TChordDiagram MoveBuffer;
  TScaleDiagram CurrentScale;
  TPrintDiagram SelectedPrintItem;
  TPrintDiagram PrintMoveBuffer;

  NameTables Names;
  Tuning CurrentTuning;

  // The guitar as the player holds it, settings of the program rather than
  // of a page: a capo on fret 1..11 (0 none) sounds every note that many
  // semitones higher; chords are named as fretted (shapes) or, with
  // SoundingNames, as they sound; LeftHanded mirrors the fretboard and every
  // diagram.
  std::int32_t Capo = 0;
  bool SoundingNames = false;
  bool LeftHanded = false;
  // The names chords, scales and their notes are shown with on screen and
  // paper. Records are always named with Names, whatever the capo.
  NameTables shownNames() const {
    return SoundingNames && Capo > 0 ? Names.shiftedBy(Capo) : Names;
  }

  // The big fretboard: the root last shown (for the pointer read-out), the
  // intervals shown an octave up and the cell last under the pointer.
  std::int32_t LastRoot;
  std::array<bool, 12> ExtensionFlags;
  std::int32_t HoverString;
  std::int32_t HoverFret;

  // The key (pitch class, -1 until chosen) and chord type picked from the
  // menus; family 0 none, 1 major, 2 minor, 3 dominant.
  std::int32_t Key;
  std::uint8_t ChordFamily;
  std::int32_t ChordType;
  // The scale picked from the Scale menu: its record in the scale library.
  std::int32_t ScaleChoice;

  // Time signature, repeat marks, start marker, tempo, strum speed, Loop,
  // Bass Note and change flag of the play page.
  PlayPageState Play;
  // Set when the design group changes; asked about before it is discarded.
  bool DesignGroupChanged = false;
  // Set when the print page changes; asked about before it is discarded.
  bool PrintPageChanged = false;

  // The file each page was last saved to or loaded from, by tab; empty for a
  // page never saved or erased since. The window caption names it.
  std::array<std::string, 5> LastPageFile;
  std::string& lastPageFile(PlayTab tab) { return LastPageFile[static_cast<std::size_t>(tab)]; }

  // The chord type chosen for the intervals display; zero-filled at start.
  TChordFormula ChosenFormula;
  // Show Intervals on the Chord Design tab: the chosen chord type is laid
  // over the fingering in hand. Its button only shows this.
  bool IntervalsShown = false;
  // Options > Easiest First: Show Chords orders a set's six fingerings by
  // ease; off, they stay in the library's order.
  bool EasiestFirst = false;
  // Suggest on the Chord Design tab: a search result dropped on the group
  // comes ordered by the change from the PlayPage chord before the selected
  // slot.
  bool SuggestFingerings = false;

  // The program directory, ending in a separator: data, help and Px.ini.
  std::string ExeDir;

  // Everything zero; then the start values of the program and of the window.
  AppState();

  // Start values before any window exists.
  void unitStart();
  // Start values set when the main window is created.
  void windowStart();

  // What Play starts from on each tab.
  PlaySources playSources() {
    return {SelectedChord, EditChord, PlayPage, Play, CurrentScale, SelectedPrintItem};
  }
};

// The fingering the fretboard starts with: live, all strings muted, root C.
TChordDiagram startFingering();
