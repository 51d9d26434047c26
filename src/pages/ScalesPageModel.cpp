#include "pages/ScalesPageModel.h"

#include <algorithm>
#include <iterator>

#include "music/DiagramConvert.h"

namespace {

constexpr std::uint8_t DefaultStartFrets[6] = {1, 4, 7, 10, 13, 17};

void setDefaultStartFrets(TScaleDiagram& scale) {
  std::copy(std::begin(DefaultStartFrets), std::end(DefaultStartFrets), scale.StartFrets);
}

}  // namespace

TScaleDiagram ScalesPageModel::newRow(const TScaleFormula& formula, const NewScale& scale,
                                      const NameTables& names) {
  TScaleDiagram sc{};
  sc.Empty = 0;
  std::copy(std::begin(formula.Intervals), std::end(formula.Intervals), sc.Intervals);
  sc.Formula = formula.Formula;
  sc.ScaleName = scale.Name;
  if (!scale.TypedTuning.empty()) {
    sc.TuningName = scale.TypedTuning;
  } else {
    std::string name;
    for (int s = 5; s >= 0; --s) {
      name += ' ';
      name += names.pitchName(scale.Strings[static_cast<std::size_t>(s)]);
      if (name.size() > 15) name.resize(15);
    }
    sc.TuningName = name;
  }
  std::copy(scale.Strings.begin(), scale.Strings.end(), sc.Tuning);
  sc.Root = static_cast<std::uint8_t>(pitchClass(scale.Key));
  setDefaultStartFrets(sc);
  return sc;
}

ScalesUpdate ScalesPageModel::showScale(const FormulaReader& read, const NewScale& scale) {
  ScalesUpdate u;
  if (Count >= ScalePageSize || Count < 0) {
    u.Message = "Maximum is 5 sets of scales. Clear the Scale page.";
    return u;
  }
  TScaleFormula formula{};
  const LibraryResult result = read(formula);
  if (result.Status != LibraryStatus::Ok) {
    u.ReadFailed = result;
    return u;
  }
  const int n = Count;
  Store[n] = newRow(formula, scale, Names);
  Count = n + 1;
  takeRow(n, u);
  u.Edit = "Show Scale";
  return u;
}

void ScalesPageModel::takeRow(int row, ScalesUpdate& u) {
  Selected = Pressed = SmallCell{0, row};
  Current = Store[row];
  u.DrawRows.push_back(row);
  u.ShowScale = true;
}

bool ScalesPageModel::filled(SmallCell cell) const {
  return SmallGeometry::inGrid(cell) && cell.Row < Count;
}

ScalesUpdate ScalesPageModel::press(int x, int y, PressButton button, bool replaceConfirmed) {
  const auto cell = SmallGeometry::cellAt(SmallPage::Scales, x, y);
  if (!cell) return {};
  Pressed = *cell;
  ScalesUpdate u;
  if (Placing) {
    if (isEmpty(Sent) || button == PressButton::Right) return setPlacing(false);
    int r = cell->Row;
    if (!isEmpty(Store[r]) && !replaceConfirmed) {
      u.Question = PageQuestion{"Do you want to replace this row of diagrams?", true};
      return u;
    }
    // A scale dropped below the last row goes into the first free one.
    if (r > Count) r = Count;
    const bool wasFree = isEmpty(Store[r]);
    printItemToScale(Sent, Store[r]);
    // The position it came from is not kept.
    setDefaultStartFrets(Store[r]);
    if (wasFree) Count += 1;
    takeRow(r, u);
    Placing = false;
    u.Pointer = PagePointer::Normal;
    u.Edit = "Place Scale";
    return u;
  }
  if (!filled(*cell)) return u;
  if (button == PressButton::Right) {
    u.OpenMenu = true;
    return u;
  }
  if (button != PressButton::Left || *cell == Selected) return u;
  return selectPressed();
}

ScalesUpdate ScalesPageModel::selectPressed() {
  if (!filled(Pressed)) return {};
  ScalesUpdate u;
  Selected = Pressed;
  Current = Store[Selected.Row];
  u.Frame = Selected;
  u.ShowScale = true;
  return u;
}

std::optional<int> ScalesPageModel::startFret() const {
  if (!filled(Pressed)) return std::nullopt;
  return Store[Pressed.Row].StartFrets[Pressed.Column];
}

ScalesUpdate ScalesPageModel::changeStartFret(int fret) {
  const auto old = startFret();
  if (!old || fret < 1 || fret > 17 || fret == *old) return {};
  const auto [c, r] = Pressed;
  Store[r].StartFrets[c] = static_cast<std::uint8_t>(fret);
  if (r == Selected.Row) Current.StartFrets[c] = static_cast<std::uint8_t>(fret);
  ScalesUpdate u;
  u.RedrawPosition = Pressed;
  // The redraw may have covered the red frame; it is drawn again where it stands.
  u.Frame = Selected;
  u.Edit = "Beginning Fret";
  return u;
}

ScalesUpdate ScalesPageModel::setPlacing(bool on) {
  Placing = on;
  ScalesUpdate u;
  u.Pointer = on ? PagePointer::Placing : PagePointer::Normal;
  return u;
}

void ScalesPageModel::erase() {
  for (auto& d : Store) d.Empty = 1;
  Count = 0;
  Current.Empty = 1;
  Pressed = SmallCell{0, 0};
  Selected = SmallCell{-1, -1};
}

ScalesUpdate ScalesPageModel::load(const Page& from) {
  erase();
  ScalesUpdate u;
  u.RedrawPage = true;
  for (int r = 0; r < ScalePageSize && !isEmpty(from[r]); ++r) {
    Store[r] = from[r];
    Count = r + 1;
    takeRow(r, u);
  }
  return u;
}

ScalesUpdate ScalesPageModel::restored() {
  if (Count < 0 || Count > ScalePageSize) Count = 0;
  ScalesUpdate u;
  u.RedrawPage = true;
  u.ShowScale = true;
  const SmallCell keep = Selected;
  for (int r = 0; r < Count; ++r) takeRow(r, u);
  if (Count == 0) {
    Current.Empty = 1;
    Pressed = SmallCell{0, 0};
    Selected = SmallCell{-1, -1};
    return u;
  }
  if (filled(keep)) {
    Pressed = keep;
    selectPressed();
    u.Frame = Selected;
  }
  return u;
}
