#pragma once

class PlaybackEngine;

// The shared guard of the window: while the playback engine plays or pauses,
// or while a busy pointer lives, presses on the pages, tab changes and most
// commands are ignored. Every handler that must respect it asks active().
// It asks the engine and the busy pointers, never a button or the cursor.
class BusyGuard {
 public:
  // The engine whose playback holds the guard; none until the window has one.
  void watch(const PlaybackEngine* engine) { Engine = engine; }
  bool active() const;
  // Play is down (playing or paused).
  bool playing() const;

 private:
  const PlaybackEngine* Engine = nullptr;
};

// The busy pointer (the hourglass) for as long as it lives, so the shared
// guard holds meanwhile. They nest: the guard holds until the last one goes.
class BusyPointer {
 public:
  BusyPointer();
  ~BusyPointer();
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

  // Whether a busy pointer lives now.
  static bool showing() { return Living > 0; }

 private:
  // The window has one user-interface thread, the only one that makes them.
  static inline int Living = 0;
};
