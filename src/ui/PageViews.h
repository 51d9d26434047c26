#pragma once

#include <optional>
#include <string>

#include "music/Records.h"
#include "pages/PageFile.h"
#include "play/PlayTab.h"

struct BenchUpdate;

// What the commands of files and playback ask of the five tabs, so they need
// none of them: drawing what a Workbench command gave back, a page that came
// in from its file, and the few pop-up commands that take a diagram in hand.
class PageViews {
 public:
  virtual ~PageViews() = default;

  // Does on the tabs and the fretboard what a Workbench command gave back.
  virtual void apply(const BenchUpdate& u) = 0;
  // The page of `kind` is erased and filled from its file (at `path`), as
  // one edit the caller records.
  virtual void pageLoaded(PageKind kind, const PageContents& page,
                          const std::optional<TRepeatSet>& companion, const std::string& path) = 0;
  // The page of `kind` was saved to `path`.
  virtual void pageSaved(PageKind kind, const std::string& path) = 0;
  // Play commands of the Chords and Scales pop-up menus: the pressed cell is
  // framed and taken in hand first, when it is not already.
  virtual void selectPressed(PlayTab tab) = 0;
};
