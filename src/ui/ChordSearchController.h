#pragma once

#include <QObject>

#include "library/ChordSearch.h"

struct AppState;
class BusyGuard;
class ChordDesignTab;
class FretboardPanel;
class Prompter;
class ToolBarPanel;

// The Search button of the Chord Design tab: names the fingering in hand
// from the chord formula dictionary and lists what it found. It owns the
// search, and with it the (dictionary index, root) pair of every line.
class ChordSearchController : public QObject {
  Q_OBJECT

 public:
  struct Parts {
    AppState& State;
    const BusyGuard& Guard;
    Prompter& Ask;
    ChordDesignTab& Tab;
    FretboardPanel& Fretboard;
    ToolBarPanel& ToolBar;
  };
  ChordSearchController(Parts parts, QObject* parent = nullptr);

  void btnSearchClick();
  // The pairs of the lines last found, in line order.
  const std::vector<ChordSearch::Pair>& SearchResults() const { return Search.results(); }

 private:
  Parts P;
  ChordSearch Search;
};
