#pragma once

#include <Qt>

#include "pages/SmallPageIntent.h"

// The button of a press on a page picture, as the page models take it.
inline PressButton pressButton(Qt::MouseButton button) {
  if (button == Qt::LeftButton) return PressButton::Left;
  if (button == Qt::RightButton) return PressButton::Right;
  return PressButton::Other;
}
