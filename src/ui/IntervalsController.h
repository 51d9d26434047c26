#pragma once

#include <QObject>
#include <functional>

#include "play/PlayTab.h"

struct AppState;
class BusyGuard;
class ChordDesignTab;
class ChordsTab;
class FretboardPanel;
class ProfileFile;
class Prompter;
class QString;
class QWidget;
class ToolBarPanel;

// Relates the fingering in hand to chord types: Show Intervals lays the chord
// type chosen in the chord-type list over the neck, the user's own chord
// types are added to and deleted from the list and the settings file, a click
// on an interval label names that interval an octave up or back, and the name
// typed into the chord name box becomes the edited chord's type. Show
// Arpeggio boxes the notes of the chord in hand on any chord page.
class IntervalsController : public QObject {
  Q_OBJECT

 public:
  struct Parts {
    AppState& State;
    const BusyGuard& Guard;
    Prompter& Ask;
    // Where user chord types are kept; without it none can be added.
    ProfileFile* SettingsFile;
    ChordDesignTab& Design;
    FretboardPanel& Fretboard;
    ToolBarPanel& ToolBar;
    ChordsTab& Chords;
    std::function<PlayTab()> ActiveTab;
    std::function<void(int)> ShowHelp;
    QWidget* Window;
  };

  explicit IntervalsController(Parts parts, QObject* parent = nullptr);

  void sbDisplayIntervalsClick();
  void ComboBox1Click();
  void pmenu6AddClick();
  void pmenu6DeleteClick();
  void editIntervals0Click(int tag);
  void editChordNameUserKeyUp(const QString& text);
  void sbShowArpClick();
  void menu1ArpeggioClick();

 private:
  // Loads the chord type of the chosen list item and shows it over the
  // fingering when Show Intervals is down; with it up, the fingering alone.
  void showIntervals();
  // False, with a message, when the dictionary could not be read.
  bool loadChosenFormula();

  Parts P;
};
