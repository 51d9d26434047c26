#pragma once

class QAbstractButton;

// The shared guard of the window: while Play or Pause is down, or while the
// busy pointer shows, presses on the pages, tab changes and most commands are
// ignored. Every handler that must respect it asks active().
class BusyGuard {
 public:
  void setButtons(const QAbstractButton* play, const QAbstractButton* pause) {
    Play = play;
    Pause = pause;
  }
  bool active() const;

 private:
  const QAbstractButton* Play = nullptr;
  const QAbstractButton* Pause = nullptr;
};

// The busy pointer (the hourglass) for as long as it lives, so the shared
// guard holds meanwhile.
class BusyPointer {
 public:
  BusyPointer();
  ~BusyPointer();
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};
