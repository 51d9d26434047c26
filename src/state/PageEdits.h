#pragma once

#include <string>
#include <utility>

#include "play/PlayTab.h"
#include "state/Workbench.h"

// Runs the intents of one page's model as edits of that page: whatever an
// intent changed goes into the page's history under the name its update
// gives (Edit), and a move is one step from where it began (MoveBegun) to
// where it lands (MoveLanded); a move that is cancelled records nothing, as
// the page is then as before. Intents whose update names no edit leave the
// page as it was.
class PageEdits {
 public:
  PageEdits(Workbench& bench, PlayTab tab) : Bench(bench), Tab(tab) {}

  template <class Intent>
  auto run(Intent&& intent) {
    std::string before = Bench.page(Tab);
    auto u = std::forward<Intent>(intent)();
    if constexpr (requires { u.MoveBegun; }) {
      if (u.MoveBegun) MoveBefore = std::move(before);
      if (u.MoveLanded) before = std::move(MoveBefore);
    }
    if (!u.Edit.empty()) Bench.record(Tab, u.Edit, std::move(before));
    return u;
  }

 private:
  Workbench& Bench;
  PlayTab Tab;
  std::string MoveBefore;  // the page as it was when the move in progress began
};
