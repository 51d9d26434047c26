#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The headless exports: `strumbo --export-midi PAGE.ppf OUT.mid`,
// `--export-audio PAGE.ppf OUT.wav`, `--export-pdf PAGE OUT.pdf` and
// `--export-musicxml PAGE.ppf OUT.musicxml`, and
// `--smooth-fingerings IN.ppf OUT.ppf [--around FRET]` and
// `--transpose N IN OUT`, and `--export-chordpro PAGE OUT.cho`. They
// are told apart from a window run before any application object exists,
// because an export must not need a display.
struct ExportRequest {
  enum class Kind { Midi, Audio, Pdf, Smooth, Transpose, MusicXml, ChordPro };
  Kind What = Kind::Midi;
  QString Page;
  QString Out;
  std::optional<int> Around;  // Smooth: keep the hand near this fret
  int Steps = 0;              // Transpose: semitones, -11..11
};

struct ExportCommand {
  std::optional<ExportRequest> Request;  // set when the line asks for an export
  QString Error;                         // set when it names an export wrongly
};

// Looks at the arguments after the program name. Neither field is set when
// no export option is present: the line is the window's.
ExportCommand parseExportCommand(const QStringList& arguments);
