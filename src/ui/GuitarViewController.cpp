#include "ui/GuitarViewController.h"

#include "settings/Settings.h"
#include "state/AppState.h"
#include "ui/BusyGuard.h"
#include "ui/FretboardPanel.h"
#include "ui/GuitarViewBar.h"

GuitarViewController::GuitarViewController(AppState& state, const BusyGuard& guard,
                                           GuitarViewBar& bar, FretboardPanel& fretboard,
                                           std::function<void()> redrawPages, QObject* parent)
    : QObject(parent),
      State(state),
      Guard(guard),
      Bar(bar),
      Fretboard(fretboard),
      RedrawPages(std::move(redrawPages)) {
  connect(&Bar, &GuitarViewBar::capoChanged, this, [this](int capo) {
    change([this, capo] { State.Capo = std::clamp(capo, 0, Settings::MaxCapo); });
  });
  connect(&Bar, &GuitarViewBar::namesChosen, this,
          [this](bool sounding) { change([this, sounding] { State.SoundingNames = sounding; }); });
  connect(&Bar, &GuitarViewBar::leftHandedClicked, this,
          [this] { change([this] { State.LeftHanded = !State.LeftHanded; }); });
}

void GuitarViewController::show() {
  Bar.showGuitarView(State.Capo, State.SoundingNames, State.LeftHanded);
  Fretboard.setGuitarView(State.LeftHanded, State.Capo);
  RedrawPages();
}

void GuitarViewController::change(const std::function<void()>& edit) {
  if (Guard.active()) {
    // Refused: the bar goes back to what holds.
    Bar.showGuitarView(State.Capo, State.SoundingNames, State.LeftHanded);
    return;
  }
  edit();
  show();
}
