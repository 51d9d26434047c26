#include "pages/ChordsPageModel.h"

#include <algorithm>

#include "design/HandCost.h"

ChordsUpdate ChordsPageModel::showChords(const SetReader& read, bool easiestFirst) {
  ChordsUpdate u;
  if (SetCount >= ChordPageRows || SetCount < 0) {
    u.Message = "Maximum is 5 sets of chords. Clear the Chord page.";
    return u;
  }
  TChordDiagram set[6];
  const LibraryResult result = read(set);
  if (result.Status != LibraryStatus::Ok) {
    u.ReadFailed = result;
    return u;
  }
  if (easiestFirst)
    std::stable_sort(std::begin(set), std::end(set), [](const auto& a, const auto& b) {
      return fingeringEase(a.Strings).Cost < fingeringEase(b.Strings).Cost;
    });
  const int r = SetCount;
  for (int c = 0; c < ChordPageColumns; ++c) Store[c][r] = set[c];
  SetCount = r + 1;
  Framed = Current = SmallCell{0, r};
  Selected = Store[0][r];
  u.ScrollToRow = r;
  u.DrawSet = r;
  u.Frame = Framed;
  u.ShowChord = true;
  u.Edit = "Show Chords";
  return u;
}

std::string ChordsPageModel::easeAt(int x, int y) const {
  if (!SmallGeometry::pressReaches(SmallPage::Chords, x, y)) return {};
  const SmallCell cell = SmallGeometry::cellUnder(SmallPage::Chords, x, y);
  if (!filled(cell)) return {};
  return easeText(fingeringEase(Store[cell.Column][cell.Row].Strings));
}

bool ChordsPageModel::filled(SmallCell cell) const {
  return SmallGeometry::inGrid(cell) && cell.Row < SetCount;
}

ChordsUpdate ChordsPageModel::press(int x, int y, PressButton button) {
  if (!SmallGeometry::pressReaches(SmallPage::Chords, x, y)) return {};
  // The pop-up commands act on the cell last pressed, even an empty one.
  Current = SmallGeometry::cellUnder(SmallPage::Chords, x, y);
  if (!filled(Current)) return {};
  ChordsUpdate u;
  if (button == PressButton::Right) {
    u.OpenMenu = true;
    return u;
  }
  if (button != PressButton::Left || Current == Framed) return u;
  return select(Current);
}

ChordsUpdate ChordsPageModel::select(SmallCell cell) {
  if (!filled(cell)) return {};
  ChordsUpdate u;
  Framed = cell;
  Selected = Store[cell.Column][cell.Row];
  u.Frame = Framed;
  u.ShowChord = true;
  return u;
}

void ChordsPageModel::erase() {
  for (auto& column : Store)
    for (auto& d : column) d.Empty = 1;
  SetCount = 0;
  Selected.Empty = 1;
  Framed = SmallCell{-1, -1};
  Current = SmallCell{0, 0};
}

ChordsUpdate ChordsPageModel::load(const Page& from) {
  erase();
  // Sets are saved from the top, so the first empty diagram ends the page.
  for (int r = 0; r < ChordPageRows; ++r) {
    for (int c = 0; c < ChordPageColumns; ++c) {
      if (isEmpty(from[c][r])) return loaded();
      Store[c][r] = from[c][r];
    }
    SetCount = r + 1;
  }
  return loaded();
}

ChordsUpdate ChordsPageModel::loaded() {
  ChordsUpdate u;
  if (SetCount > 0) u = select({0, 0});
  Current = SmallCell{0, 0};
  u.RedrawPage = true;
  return u;
}

ChordsUpdate ChordsPageModel::restored() {
  if (SetCount < 0 || SetCount > ChordPageRows) SetCount = 0;
  ChordsUpdate u;
  if (SetCount == 0) {
    Selected.Empty = 1;
    Framed = SmallCell{-1, -1};
  } else {
    u = select(filled(Framed) ? Framed : SmallCell{0, SetCount - 1});
    // The set in hand comes into view, as after Show Chords.
    u.ScrollToRow = Framed.Row;
  }
  u.RedrawPage = true;
  u.ShowChord = true;
  return u;
}

const TChordDiagram* ChordsPageModel::diagramToSend() const {
  if (!SmallGeometry::inGrid(Current)) return nullptr;
  const TChordDiagram& d = Store[Current.Column][Current.Row];
  return isEmpty(d) ? nullptr : &d;
}
