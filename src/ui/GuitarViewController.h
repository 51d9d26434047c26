#pragma once

#include <QObject>
#include <functional>

struct AppState;
class BusyGuard;
class FretboardPanel;
class GuitarViewBar;

// The guitar as the player holds it: the capo, chords named as fretted or as
// they sound, and the left-handed view. The state holds them (the settings
// file keeps them between runs); their bar beside the page tabs shows them. A change redraws
// the fretboard and every page in the new look; none is allowed while
// something plays.
class GuitarViewController : public QObject {
  Q_OBJECT

 public:
  GuitarViewController(AppState& state, const BusyGuard& guard, GuitarViewBar& bar,
                       FretboardPanel& fretboard, std::function<void()> redrawPages,
                       QObject* parent);

  // Shows the view the state holds on the tool bar and the fretboard, and
  // redraws the pages in it.
  void show();

 private:
  void change(const std::function<void()>& edit);

  AppState& State;
  const BusyGuard& Guard;
  GuitarViewBar& Bar;
  FretboardPanel& Fretboard;
  std::function<void()> RedrawPages;
};
