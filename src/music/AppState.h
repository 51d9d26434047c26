#pragma once

#include <cstdint>
#include <string>

#include "music/NameTables.h"
#include "music/Records.h"
#include "music/Tuning.h"

inline constexpr int ChordPageColumns = 6, ChordPageRows = 5;
inline constexpr int DesignGroupSize = 6;
inline constexpr int PlayPageColumns = 12, PlayPageRows = 6;
inline constexpr int PrintPageColumns = 6, PrintPageRows = 5;
inline constexpr int ScalePageSize = 5;

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

  // The program directory, ending in a separator: data, help and Px.ini.
  std::string ExeDir;

  // Everything zero; then the start values of the program and of the window.
  AppState();

  // Start values before any window exists.
  void unitStart();
  // Start values set when the main window is created.
  void windowStart();
};

// The fingering the fretboard starts with: live, all strings muted, root C.
TChordDiagram startFingering();
