#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "play/PlayTab.h"
#include "state/AppState.h"
#include "state/PageHistory.h"

// The program's state and the history of each of the five pages. Every edit
// of a page's content goes through edit(), which keeps the page as it was
// before and after, so Undo and Redo need nothing of the window and the
// change flags of the pages follow the histories. The main window owns one
// for the life of the program; tests build as many as they like.
class Workbench {
 public:
  AppState State;

  Workbench();

  // What a page's history keeps of it: its store and everything an edit of
  // it can change (set counts, time signature, repeat marks, tempo and strum
  // speed, the fingering in hand on the Chord Design tab), as bytes.
  std::string page(PlayTab tab) const;
  // Puts a page back as page() gave it. Bytes of the wrong length change
  // nothing and give false.
  bool restore(PlayTab tab, std::string_view bytes);

  // Runs `change` as one edit of `tab`'s page named `label` ("Place Chord").
  // An edit that changes nothing leaves the history as it is. With `merge`,
  // it joins a last step of the same name (see PageHistory::record).
  template <class Change>
  void edit(PlayTab tab, std::string_view label, Change&& change, bool merge = false) {
    std::string before = page(tab);
    std::forward<Change>(change)();
    record(tab, label, std::move(before), merge);
  }
  // The second half of edit(), for an edit that began with `before = page(tab)`
  // and ends now (a move that waits for its drop).
  void record(PlayTab tab, std::string_view label, std::string before, bool merge = false);

  // One step back or forward on `tab`'s page; false when there is none.
  bool undo(PlayTab tab);
  bool redo(PlayTab tab);
  const PageHistory& history(PlayTab tab) const { return Histories[index(tab)]; }

  // The page is as its file has it (saved, loaded, erased or new).
  void markSaved(PlayTab tab);
  // The design group's file holds its six slots but not the fingering in
  // hand, so only a change of the slots counts there.
  bool changed(PlayTab tab) const;

  // Told after every step recorded, undone or redone and every saved mark,
  // so the Edit menu can follow.
  std::function<void()> HistoryChanged;

 private:
  static std::size_t index(PlayTab tab) { return static_cast<std::size_t>(tab); }
  // The change flags the questions ask about follow the histories.
  void historyMoved(PlayTab tab);

  std::string groupBytes() const;

  std::array<PageHistory, 5> Histories;
  // The design group's slots as last saved, opened or erased.
  std::string SavedGroup;
};
