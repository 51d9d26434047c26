#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

// One page's Undo and Redo: each edit is kept as the page's bytes before and
// after it, under the name the Edit menu shows ("Place Chord"). Whole pages
// are a few kilobytes, so keeping both sides makes every step exact and lets
// any edit, however it was made, be undone the same way. The saved mark
// follows the steps, so the page counts as changed exactly when the history
// stands anywhere but where the page was last saved or loaded.
class PageHistory {
 public:
  static constexpr std::size_t DefaultLimit = 200;
  explicit PageHistory(std::size_t limit = DefaultLimit) : Limit(limit < 1 ? 1 : limit) {}

  // An edit that changed the page from `before` to `after`. Steps that could
  // be redone are dropped; an edit that changed nothing is not kept. The
  // oldest step goes when the limit is reached. With `merge`, an edit of the
  // same name as the last step, with nothing to redo and the page neither
  // saved nor changed otherwise in between, joins that step (a scroll bar
  // dragged, a root stepped while the button is held), so one Undo takes it
  // all back.
  void record(std::string_view label, std::string before, std::string after, bool merge = false);

  bool canUndo() const { return Position > 0; }
  bool canRedo() const { return Position < Steps.size(); }
  // The name of the edit Undo or Redo would act on; empty when none.
  std::string_view undoLabel() const;
  std::string_view redoLabel() const;

  // Steps back and gives the page as it was before that edit. Only when
  // canUndo().
  const std::string& undo();
  // Steps forward and gives the page as it was after that edit. Only when
  // canRedo().
  const std::string& redo();

  // The page as it stands is the one in its file (saved, loaded or new).
  void markSaved() { Saved = static_cast<long>(Position); }
  // True while the page differs from its file by the steps of this history.
  bool changed() const { return Saved != static_cast<long>(Position); }

  std::size_t steps() const { return Steps.size(); }
  std::size_t limit() const { return Limit; }

 private:
  struct Step {
    std::string Label;
    std::string Before;
    std::string After;
  };
  std::deque<Step> Steps;
  std::size_t Position = 0;  // steps done; Steps[Position - 1] is undone next
  // Steps done when the page was saved; -1 once that point is out of reach.
  long Saved = 0;
  std::size_t Limit;
};
