#pragma once

#include "render/PageCells.h"
#include "state/AppState.h"

// How the window draws pages now: the names shown (shapes or sounding with a
// capo) and the player's diagram style.
inline PageLook pageLookOf(const AppState& state) {
  return {state.shownNames(), {state.LeftHanded, state.Capo}};
}
