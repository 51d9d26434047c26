#include "state/PageHistory.h"

#include <utility>

void PageHistory::record(std::string_view label, std::string before, std::string after,
                         bool merge) {
  if (before == after) return;
  if (merge && canUndo() && !canRedo() && Steps.back().Label == label &&
      Steps.back().After == before && Saved != static_cast<long>(Position)) {
    Step& last = Steps.back();
    if (after == last.Before) {
      // The joined edits came back to where they started.
      Steps.pop_back();
      --Position;
    } else {
      last.After = std::move(after);
    }
    return;
  }
  Steps.erase(Steps.begin() + static_cast<std::ptrdiff_t>(Position), Steps.end());
  // The saved point was among the dropped steps: no undo or redo reaches it now.
  if (Saved > static_cast<long>(Position)) Saved = -1;
  Steps.push_back({std::string(label), std::move(before), std::move(after)});
  ++Position;
  if (Steps.size() > Limit) {
    Steps.pop_front();
    --Position;
    Saved = Saved > 0 ? Saved - 1 : -1;
  }
}

std::string_view PageHistory::undoLabel() const {
  return canUndo() ? std::string_view(Steps[Position - 1].Label) : std::string_view();
}

std::string_view PageHistory::redoLabel() const {
  return canRedo() ? std::string_view(Steps[Position].Label) : std::string_view();
}

const std::string& PageHistory::undo() {
  --Position;
  return Steps[Position].Before;
}

const std::string& PageHistory::redo() {
  return Steps[Position++].After;
}
