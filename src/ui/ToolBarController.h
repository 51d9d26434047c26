#pragma once

#include <QObject>
#include <functional>

#include "play/PlayTab.h"

struct AppState;
class BusyGuard;
class ChordsTab;
class ScalesTab;
class ToolBarPanel;

// Chord and scale picking: the key, chord type or scale chosen in the menus
// goes into the state and the tool bar's fields, and Show Chords (or Show
// Scale) adds a row for them to the page that shows it.
class ToolBarController : public QObject {
  Q_OBJECT

 public:
  ToolBarController(AppState& state, const BusyGuard& guard, ToolBarPanel& toolBar,
                    ChordsTab& chords, ScalesTab& scales, std::function<void(PlayTab)> showTab,
                    QObject* parent);

  void mnuCClick(int key);
  // `family` 1..3, `type` its index in the family's menu list.
  void chooseChordType(int family, int type);
  void chooseScale(int index);
  void btnShowChordsClick();
  void editChordRootExit();
  // After a switch between flats and sharps: the chosen key is renamed.
  void namingChanged();

 private:
  AppState& State;
  const BusyGuard& Guard;
  ToolBarPanel& ToolBar;
  ChordsTab& Chords;
  ScalesTab& Scales;
  std::function<void(PlayTab)> ShowTab;
};
