#pragma once

#include <QDialog>

class QLabel;

// The about box: the program's name and version and the MIDI component's.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  // `midiVersion`: high byte major, low byte minor.
  explicit AboutDialog(unsigned midiVersion, QWidget* parent = nullptr);

  QLabel* ProductName;
  QLabel* Version;
  QLabel* MidiVersion;
};
