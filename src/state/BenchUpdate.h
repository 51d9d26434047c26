#pragma once

#include <optional>

#include "design/DesignGroupModel.h"
#include "music/Tuning.h"
#include "pages/ChordsPageModel.h"
#include "pages/PlayPageEditor.h"
#include "pages/PrintPageModel.h"
#include "pages/ScalesPageModel.h"
#include "pages/SmallPageIntent.h"
#include "play/PlayTab.h"

// What the window must do after a command that spans pages, in the order of
// the fields: ask, end what the pages had in hand, show a tab, draw the pages
// that were emptied, put back or sent to, and show on the fretboard.
struct BenchUpdate {
  // Ask first; the command goes on only when run again with the answer Yes.
  std::optional<PageQuestion> Question;

  // A move or placing ended on each page (a change of tab, Undo, a save).
  std::optional<GroupUpdate> GroupEnded;
  std::optional<PlayPageUpdate> PlayEnded;
  std::optional<PrintUpdate> PrintEnded;
  std::optional<ScalesUpdate> ScalesEnded;
  // The tab change has run for this tab: interval colours back to normal, the
  // tuning controls enabled on Chord Design and Scales only, its caption.
  std::optional<PlayTab> Entered;
  // A command made this tab active; its tab change has already run.
  std::optional<PlayTab> ShowTab;

  // The page of this tab was emptied (scrolled to the top, the caption with
  // no file) or put back by its history; its model's update is below.
  std::optional<PlayTab> Erased;
  std::optional<PlayTab> Restored;
  // A diagram was sent to this tab and waits there, its update below.
  std::optional<PlayTab> SentTo;
  std::optional<ChordsUpdate> Chords;
  std::optional<ScalesUpdate> Scales;
  std::optional<PrintUpdate> Print;
  std::optional<PlayPageUpdate> Play;
  std::optional<GroupUpdate> Group;

  // The fretboard: wiped, then (or else) the neck tuned and the chord or
  // scale of a tab shown.
  bool ClearFretboard = false;
  std::optional<Tuning> NeckTuning;
  std::optional<PlayTab> ShowContents;

  // Nothing happened: the command had nothing to work on.
  bool empty() const {
    return !Question && !GroupEnded && !PlayEnded && !PrintEnded && !ScalesEnded && !Entered &&
           !ShowTab && !Erased && !Restored && !SentTo && !ClearFretboard && !ShowContents;
  }
};
