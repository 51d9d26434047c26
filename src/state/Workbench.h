#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "design/DesignGroupModel.h"
#include "pages/ChordsPageModel.h"
#include "pages/PageFile.h"
#include "pages/PlayPageEditor.h"
#include "pages/PrintPageModel.h"
#include "pages/ScalesPageModel.h"
#include "pages/SmoothFingerings.h"
#include "pages/Transpose.h"
#include "play/PlayTab.h"
#include "state/AppState.h"
#include "state/BenchUpdate.h"
#include "state/PageHistory.h"

// A change of a page that is no page model's intent (the fingering in hand
// edited on the fretboard, a page file opened), as apply() records it: its
// name in the Edit menu, and whether it joins a last step of the same name.
struct PageEdit {
  std::string_view Edit;
  bool Merge = false;
};

// The program's state, the model of each of the five pages over it, the
// history of each page and the rules that span pages: sending a diagram from
// one page to another, erasing a page, a change of tab and Undo and Redo.
// Every edit of a page's content goes through apply(), which keeps the page as
// it was before and after, so Undo and Redo need nothing of the window and
// the change flags of the pages follow the histories. The main window owns
// one for the life of the program; tests build as many as they like.
class Workbench {
 public:
  AppState State;
  // The page models work on State's stores; the tabs draw them.
  ChordsPageModel Chords;
  ScalesPageModel Scales;
  PrintPageModel Print;
  PlayPageEditor Play;
  DesignGroupModel Group;

  Workbench();
  // The models hold on to this object's State.
  Workbench(const Workbench&) = delete;
  Workbench& operator=(const Workbench&) = delete;

  // The tab the window shows, as the last tab change or command made it.
  PlayTab activeTab() const { return Active; }
  // Another tab became active: a diagram being moved goes back where it came
  // from, one waiting to be placed stays in its buffer. By the user's choice
  // the fretboard shows the tab's chord or scale; a command that switches
  // tabs shows what it has in hand itself. Nothing when `tab` is active
  // already (a command has run the change).
  BenchUpdate tabChanged(PlayTab tab, bool byUser = true);
  // The send-to commands of the pop-up menus: the diagram under the last
  // press on `from` goes in hand on `to`, whose tab is shown. Chords go from
  // the Chords, Chord Design, PlayPage and Print pages to the PlayPage and
  // Chord Design, any diagram but one of the Print page to the Print page,
  // and only a scale of the Print page to the Scales page. An empty source
  // is refused (nothing happens), but Chord Design takes it and refuses it
  // when it is placed.
  BenchUpdate sendTo(PlayTab from, PlayTab to);
  // Erase Page and New (`label`): asks first when the Chord Design, PlayPage
  // or Print page has unsaved changes; with `confirmed` it goes on. One step
  // of the page's history, after which the page counts as saved.
  BenchUpdate erasePage(PlayTab tab, std::string_view label, bool confirmed = false);
  // Empties the page of `tab` without asking and without a history step; the
  // caller records it. On the Chord Design tab the fingering in hand stays.
  BenchUpdate clearPage(PlayTab tab);
  // Ends a move in progress on `tab`'s page, its diagram back where it came
  // from; one sent there keeps waiting.
  BenchUpdate endMove(PlayTab tab);
  // Edit > Undo and Redo on `tab`'s page: a move or placing there ends
  // first, then the page is put back one step and drawn anew. Nothing is
  // restored (Restored stays empty) when there is no step to take.
  BenchUpdate undo(PlayTab tab) { return step(tab, false); }
  BenchUpdate redo(PlayTab tab) { return step(tab, true); }

  // Smooth Fingerings on the PlayPage, read from the chord library in the
  // program folder: one step "Smooth Fingerings" when a chord changes, after
  // which the PlayPage is shown and drawn anew. A move in progress there
  // ends first.
  BenchUpdate smoothFingerings(const SmoothRequest& request);
  // How the PlayPage plays, for Smooth Fingerings: its time signature, the
  // repeat marks the player follows and Loop.
  SmoothRequest smoothRequest() const;

  // Transpose on the PlayPage, the Print page or the design group: every
  // chord and scale item `steps` semitones (see transposePage), as one step
  // "Transpose" when anything moved, after which the page is drawn anew. The
  // report says which items changed shape or could not move.
  struct Transposed {
    BenchUpdate Update;
    TransposeReport Report;
  };
  Transposed transpose(PlayTab tab, int steps);
  // The root of the first chord of `tab`'s page in reading order, the key a
  // transposition starts from; none when the page holds no chord.
  std::optional<int> firstRoot(PlayTab tab) const;

  // The page of `kind` as its file holds it.
  PageContents contents(PageKind kind) const;

  // What a page's history keeps of it: its store and everything an edit of
  // it can change (set counts, time signature, repeat marks, tempo, strum
  // speed, Loop and Bass Note, the fingering in hand on the Chord Design
  // tab), as bytes.
  std::string page(PlayTab tab) const;
  // Puts a page back as page() gave it. Bytes of the wrong length change
  // nothing and give false.
  bool restore(PlayTab tab, std::string_view bytes);

  // Runs an intent of `tab`'s page model (or any change of the page that
  // returns a PageEdit) and keeps the page before and after it in the page's
  // history, under the edit name the returned update carries; an update that
  // names no edit, or an edit that changed nothing, leaves the history as it
  // is. A move that spans presses is one step from where it began
  // (MoveBegun) to where it lands (MoveLanded); a cancelled move records
  // nothing, as the page is then as before. With Merge, the edit joins a
  // last step of the same name that the page has not left since (see
  // PageHistory::record). Gives the update back.
  template <class Intent>
  auto apply(PlayTab tab, Intent&& intent) {
    std::string before = page(tab);
    auto u = std::forward<Intent>(intent)();
    if constexpr (requires { u.MoveBegun; }) {
      if (u.MoveBegun) MoveBefore[index(tab)] = std::move(before);
      if (u.MoveLanded) before = std::move(MoveBefore[index(tab)]);
    }
    bool merge = false;
    if constexpr (requires { u.Merge; }) merge = u.Merge;
    if (!u.Edit.empty()) record(tab, u.Edit, std::move(before), merge);
    return u;
  }

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
  // The chord under the last press on `tab`'s page (empty when none).
  TChordDiagram pressedChord(PlayTab tab) const;
  // The tab change to `tab`, without the fretboard.
  void enter(PlayTab tab, BenchUpdate& u);
  // What the fretboard shows of `tab`'s page.
  void showContents(PlayTab tab, BenchUpdate& u) const;
  BenchUpdate step(PlayTab tab, bool forward);
  // A page put back or changed as a whole: drawn anew, its selection kept
  // where it still holds something.
  void redrawWhole(PlayTab tab, BenchUpdate& u);
  // The PlayPage drawn anew after its slots changed as a whole.
  void redrawPlayPage(BenchUpdate& u);
  void record(PlayTab tab, std::string_view label, std::string before, bool merge);

  PlayTab Active = PlayTab::Chords;

  std::array<PageHistory, 5> Histories;
  // Each page as it was when the move in progress on it began.
  std::array<std::string, 5> MoveBefore;
  // The design group's slots as last saved, opened or erased.
  std::string SavedGroup;
};
