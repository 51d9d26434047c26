#include "state/Workbench.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <type_traits>

#include "design/DesignGroup.h"
#include "music/DiagramConvert.h"

namespace {

// Appends and takes back plain values byte for byte; the records are packed
// and trivially copyable, so their bytes are the page.
class Bytes {
 public:
  template <class T>
  void put(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    Out.append(reinterpret_cast<const char*>(&value), sizeof(T));
  }
  std::string Out;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : In(in) {}
  template <class T>
  void get(T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::memcpy(&value, In.data() + At, sizeof(T));
    At += sizeof(T);
  }

 private:
  std::string_view In;
  std::size_t At = 0;
};

// Both directions walk the same fields in the same order.
template <class Io, class State>
void walk(Io& io, State& st, PlayTab tab) {
  switch (tab) {
    case PlayTab::Chords:
      io(st.ChordPage);
      io(st.ChordSetCount);
      break;
    case PlayTab::ChordDesign:
      io(st.DesignGroup);
      io(st.EditChord);
      break;
    case PlayTab::PlayPage:
      io(st.PlayPage);
      io(st.Play.ThreeFour);
      io(st.Play.RepeatSet34);
      io(st.Play.RepeatSet44);
      io(st.Play.ActiveRepeatSet);
      io(st.Play.PlayPageTempo);
      io(st.Play.StrumSpeed);
      io(st.Play.Loop);
      io(st.Play.BassNote);
      break;
    case PlayTab::Print:
      io(st.PrintPage);
      break;
    case PlayTab::Scales:
      io(st.ScalePage);
      io(st.ScaleCount);
      break;
  }
}

}  // namespace

Workbench::Workbench()
    : Chords(State.ChordPage, State.ChordSetCount, State.SelectedChord),
      Scales(State.ScalePage, State.ScaleCount, State.CurrentScale, State.PrintMoveBuffer,
             State.Names),
      Print(State.PrintPage, State.SelectedPrintItem, State.PrintMoveBuffer),
      Play(State.PlayPage, State.Play, State.MoveBuffer),
      Group(State.DesignGroup, State.EditChord, State.MoveBuffer),
      SavedGroup(groupBytes()) {}

std::string Workbench::groupBytes() const {
  return std::string(reinterpret_cast<const char*>(State.DesignGroup), sizeof State.DesignGroup);
}

bool Workbench::changed(PlayTab tab) const {
  if (tab == PlayTab::ChordDesign) return groupBytes() != SavedGroup;
  return history(tab).changed();
}

PageContents Workbench::contents(PageKind kind) const {
  const AppState& st = State;
  PageContents page;
  page.Kind = kind;
  switch (kind) {
    case PageKind::Chord:
      std::copy(&st.ChordPage[0][0], &st.ChordPage[0][0] + ChordPageColumns * ChordPageRows,
                &page.ChordPage[0][0]);
      break;
    case PageKind::Print:
      std::copy(&st.PrintPage[0][0], &st.PrintPage[0][0] + PrintPageColumns * PrintPageRows,
                &page.PrintPage[0][0]);
      break;
    case PageKind::Design:
      std::copy(std::begin(st.DesignGroup), std::end(st.DesignGroup), page.DesignGroup);
      break;
    case PageKind::Play:
      std::copy(&st.PlayPage[0][0], &st.PlayPage[0][0] + PlayPageColumns * PlayPageRows,
                &page.PlayPage[0][0]);
      page.Header.ThreeFour = st.Play.ThreeFour;
      page.Header.StrumSpeed = st.Play.StrumSpeed;
      page.Header.TempoBpm = 60'000'000 / std::max(st.Play.PlayPageTempo, 1);
      page.Header.Loop = st.Play.Loop;
      page.Header.Bass = st.Play.BassNote;
      break;
    case PageKind::Scale:
      std::copy(std::begin(st.ScalePage), std::end(st.ScalePage), page.ScalePage);
      break;
  }
  return page;
}

std::string Workbench::page(PlayTab tab) const {
  Bytes out;
  auto put = [&out](const auto& value) { out.put(value); };
  walk(put, State, tab);
  return std::move(out.Out);
}

bool Workbench::restore(PlayTab tab, std::string_view bytes) {
  if (bytes.size() != page(tab).size()) return false;
  Reader in(bytes);
  auto get = [&in](auto& value) { in.get(value); };
  walk(get, State, tab);
  return true;
}

void Workbench::record(PlayTab tab, std::string_view label, std::string before, bool merge) {
  Histories[index(tab)].record(label, std::move(before), page(tab), merge);
  historyMoved(tab);
}

void Workbench::markSaved(PlayTab tab) {
  Histories[index(tab)].markSaved();
  if (tab == PlayTab::ChordDesign) SavedGroup = groupBytes();
  historyMoved(tab);
}

void Workbench::historyMoved(PlayTab tab) {
  const bool changed = this->changed(tab);
  switch (tab) {
    case PlayTab::ChordDesign:
      State.DesignGroupChanged = changed;
      break;
    case PlayTab::PlayPage:
      State.Play.PlayPageChanged = changed;
      break;
    case PlayTab::Print:
      State.PrintPageChanged = changed;
      break;
    case PlayTab::Chords:
    case PlayTab::Scales:
      // Nothing asks before these pages are discarded.
      break;
  }
  if (HistoryChanged) HistoryChanged();
}

void Workbench::enter(PlayTab tab, BenchUpdate& u) {
  Active = tab;
  // A diagram waiting to be placed stays in its buffer; a diagram being
  // moved goes back where it came from.
  u.GroupEnded = Group.cancel();
  u.PlayEnded = Play.cancel();
  u.PrintEnded = Print.cancel();
  u.ScalesEnded = Scales.setPlacing(false);
  u.Entered = tab;
}

void Workbench::redrawPlayPage(BenchUpdate& u) {
  // The chord taken from a slot may no longer be the slot's.
  State.SelectedPlayChord.Empty = 1;
  u.Restored = PlayTab::PlayPage;
  u.Play = Play.showAll();
}

SmoothRequest Workbench::smoothRequest() const {
  SmoothRequest r;
  r.ThreeFour = State.Play.ThreeFour;
  r.Marks = State.Play.savedSet();
  r.Loop = State.Play.Loop;
  return r;
}

BenchUpdate Workbench::smoothFingerings(const SmoothRequest& request) {
  BenchUpdate u;
  if (Active != PlayTab::PlayPage) {
    enter(PlayTab::PlayPage, u);
    u.ShowTab = PlayTab::PlayPage;
  } else {
    u.PlayEnded = Play.cancel();
  }
  LibraryFingerings library(State.ExeDir);
  bool changed = false;
  apply(PlayTab::PlayPage, [&] {
    changed = !::smoothFingerings(State.PlayPage, request, library).Changed.empty();
    return PageEdit{changed ? "Smooth Fingerings" : ""};
  });
  if (changed || u.ShowTab) {
    redrawPlayPage(u);
    showContents(PlayTab::PlayPage, u);
  }
  return u;
}

void Workbench::showContents(PlayTab tab, BenchUpdate& u) const {
  u.ShowContents = tab;
  if (tab != PlayTab::PlayPage) return;
  // The neck is tuned as the page's first chord, column by column.
  for (int c = 0; c < PlayPageColumns; ++c)
    for (int r = 0; r < PlayPageRows; ++r) {
      const TChordDiagram& first = State.PlayPage[c][r];
      if (isEmpty(first)) continue;
      Tuning tuning;
      std::copy(std::begin(first.Tuning), std::end(first.Tuning), tuning.begin());
      u.NeckTuning = tuning;
      return;
    }
}

BenchUpdate Workbench::tabChanged(PlayTab tab, bool byUser) {
  BenchUpdate u;
  if (tab == Active) return u;
  enter(tab, u);
  if (byUser) showContents(tab, u);
  return u;
}

TChordDiagram Workbench::pressedChord(PlayTab tab) const {
  TChordDiagram chord{};
  chord.Empty = 1;
  switch (tab) {
    case PlayTab::Chords:
      if (const TChordDiagram* d = Chords.diagramToSend()) chord = *d;
      break;
    case PlayTab::ChordDesign:
      if (DesignGroup::valid(Group.pressed())) chord = State.DesignGroup[Group.pressed()];
      break;
    case PlayTab::PlayPage: {
      const int c = State.Play.PlaySelColumn, r = State.Play.PlaySelRow;
      if (c >= 0 && c < PlayPageColumns && r >= 0 && r < PlayPageRows) chord = State.PlayPage[c][r];
      break;
    }
    case PlayTab::Print:
      // A scale item has no chord to give.
      if (const TPrintDiagram* item = Print.itemToSend(); item && item->IsChord)
        printItemToChord(*item, chord);
      break;
    case PlayTab::Scales:
      break;
  }
  return chord;
}

BenchUpdate Workbench::sendTo(PlayTab from, PlayTab to) {
  BenchUpdate u;
  if (from == to) return u;
  switch (to) {
    case PlayTab::Print: {
      TPrintDiagram item{};
      item.Empty = 1;
      if (from == PlayTab::Scales) {
        const SmallCell cell = Scales.pressed();
        if (cell.Row >= 0 && cell.Row < ScalePageSize && cell.Column >= 0 && cell.Column < 6) {
          const TScaleDiagram& scale = State.ScalePage[cell.Row];
          scaleToPrintItem(scale, item);
          // The position that was pressed.
          item.BaseFret = scale.StartFrets[cell.Column];
        }
      } else {
        chordToPrintItem(pressedChord(from), item);
      }
      if (isEmpty(item)) return u;
      State.PrintMoveBuffer = item;
      enter(to, u);
      showContents(to, u);
      u.Print = Print.send();
      break;
    }
    case PlayTab::PlayPage: {
      if (from == PlayTab::Scales) return u;
      const TChordDiagram chord = pressedChord(from);
      if (isEmpty(chord)) return u;
      enter(to, u);
      showContents(to, u);
      u.Play = Play.takeInHand(chord);
      break;
    }
    case PlayTab::ChordDesign: {
      if (from == PlayTab::Scales) return u;
      // An empty source is sent as it is: placing it is refused.
      const TChordDiagram sent = pressedChord(from);
      // Taking it in hand shows the fingering as the tab change would.
      enter(to, u);
      u.Group = Group.receive(sent);
      break;
    }
    case PlayTab::Scales: {
      // Only a scale goes to the Scales page.
      const TPrintDiagram* item = from == PlayTab::Print ? Print.itemToSend() : nullptr;
      if (!item || item->IsChord) return u;
      State.PrintMoveBuffer = *item;
      enter(to, u);
      showContents(to, u);
      u.Scales = Scales.setPlacing(true);
      break;
    }
    case PlayTab::Chords:
      return u;
  }
  u.ShowTab = to;
  u.SentTo = to;
  return u;
}

BenchUpdate Workbench::erasePage(PlayTab tab, std::string_view label, bool confirmed) {
  const char* question = nullptr;
  if (tab == PlayTab::ChordDesign && State.DesignGroupChanged)
    question = "This Design Group has changed. Do you want to erase without saving it?";
  if (tab == PlayTab::PlayPage && State.Play.PlayPageChanged)
    question = "This Play Page has changed. Do you want to erase without saving it?";
  if (tab == PlayTab::Print && State.PrintPageChanged)
    question = "This Print Page has changed. Do you want to erase without saving it?";
  BenchUpdate u;
  if (question && !confirmed) {
    u.Question = PageQuestion{question, false};
    return u;
  }
  // The erased page is a new page: nothing to save until the next edit, and
  // Undo brings the old one back.
  apply(tab, [&] {
    u = clearPage(tab);
    return PageEdit{label};
  });
  markSaved(tab);
  return u;
}

BenchUpdate Workbench::clearPage(PlayTab tab) {
  BenchUpdate u;
  u.Erased = tab;
  u.ClearFretboard = tab != PlayTab::ChordDesign;
  switch (tab) {
    case PlayTab::Chords:
      Chords.erase();
      State.SelectedChord.Empty = 1;
      break;
    case PlayTab::Print:
      Print.erase();
      u.Print = PrintUpdate{};
      // An item sent here still waits to be placed.
      if (!Print.placing()) u.Print->Pointer = PagePointer::Normal;
      break;
    case PlayTab::ChordDesign: {
      // A diagram being moved goes with the group; one sent from another
      // page still waits to be placed. The fingering in hand stays.
      GroupUpdate g;
      if (Group.mode() == GroupMode::Moving) {
        g.SetPointer = true;
        g.Pointer = GroupPointer::Normal;
      }
      Group.forget(true);
      for (auto& d : State.DesignGroup) d.Empty = 1;
      u.Group = g;
      break;
    }
    case PlayTab::Scales:
      Scales.erase();
      State.CurrentScale.Empty = 1;
      break;
    case PlayTab::PlayPage:
      u.Play = Play.erase();
      State.SelectedPlayChord.Empty = 1;
      break;
  }
  State.lastPageFile(tab).clear();
  return u;
}

BenchUpdate Workbench::endMove(PlayTab tab) {
  BenchUpdate u;
  switch (tab) {
    case PlayTab::ChordDesign:
      u.GroupEnded = Group.endMove();
      break;
    case PlayTab::PlayPage:
      u.PlayEnded = Play.endMove();
      break;
    case PlayTab::Print:
      u.PrintEnded = Print.endMove();
      break;
    case PlayTab::Chords:
    case PlayTab::Scales:
      break;
  }
  return u;
}

BenchUpdate Workbench::step(PlayTab tab, bool forward) {
  BenchUpdate u;
  // A diagram being moved goes back before the page is stepped; one sent
  // here waits no longer either.
  switch (tab) {
    case PlayTab::ChordDesign:
      u.GroupEnded = Group.cancel();
      break;
    case PlayTab::PlayPage:
      u.PlayEnded = Play.cancel();
      break;
    case PlayTab::Print:
      u.PrintEnded = Print.cancel();
      break;
    case PlayTab::Scales:
      u.ScalesEnded = Scales.setPlacing(false);
      break;
    case PlayTab::Chords:
      break;
  }
  PageHistory& h = Histories[index(tab)];
  if (!(forward ? h.canRedo() : h.canUndo())) return u;
  restore(tab, forward ? h.redo() : h.undo());
  historyMoved(tab);
  redrawWhole(tab, u);
  return u;
}

void Workbench::redrawWhole(PlayTab tab, BenchUpdate& u) {
  u.Restored = tab;
  switch (tab) {
    case PlayTab::Chords:
      u.Chords = Chords.restored();
      break;
    case PlayTab::Scales:
      u.Scales = Scales.restored();
      break;
    case PlayTab::Print:
      u.Print = Print.restored();
      break;
    case PlayTab::PlayPage:
      redrawPlayPage(u);
      break;
    case PlayTab::ChordDesign: {
      // Nothing is taken in hand from a slot: the fingering in hand came
      // back with the group.
      const int selected = Group.selected();
      Group.forget(false);
      const DesignGroup group(State.DesignGroup);
      const int framed = group.holds(selected) ? selected : group.firstHeld();
      u.Group = framed >= 0 ? Group.frameOnly(framed) : GroupUpdate{};
      break;
    }
  }
  if (tab != PlayTab::ChordDesign) showContents(tab, u);
}

std::optional<int> Workbench::firstRoot(PlayTab tab) const {
  const AppState& st = State;
  if (tab == PlayTab::PlayPage)
    for (int n = 0; n < PlaySlotCount; ++n) {
      const TChordDiagram& d = st.PlayPage[n % PlayPageColumns][n / PlayPageColumns];
      if (!isEmpty(d)) return d.Root % 12;
    }
  if (tab == PlayTab::ChordDesign)
    for (const TChordDiagram& d : st.DesignGroup)
      if (!isEmpty(d)) return d.Root % 12;
  if (tab == PlayTab::Print)
    for (int n = 0; n < PrintPageColumns * PrintPageRows; ++n) {
      const TPrintDiagram& d = st.PrintPage[n % PrintPageColumns][n / PrintPageColumns];
      if (!isEmpty(d) && d.IsChord) return d.Root % 12;
    }
  return std::nullopt;
}

Workbench::Transposed Workbench::transpose(PlayTab tab, int steps) {
  Transposed t;
  const PageKind kind = tab == PlayTab::PlayPage ? PageKind::Play
                        : tab == PlayTab::Print  ? PageKind::Print
                                                 : PageKind::Design;
  if (tab != PlayTab::PlayPage && tab != PlayTab::Print && tab != PlayTab::ChordDesign) return t;
  t.Update = endMove(tab);
  LibraryFingerings library(State.ExeDir);
  apply(tab, [&] {
    PageContents page = contents(kind);
    t.Report = transposePage(page, steps, library);
    if (t.Report.Moved == 0 || steps % 12 == 0) return PageEdit{""};
    // Only the transposed store goes back: `page` holds no other.
    switch (kind) {
      case PageKind::Play:
        std::copy(&page.PlayPage[0][0], &page.PlayPage[0][0] + PlaySlotCount,
                  &State.PlayPage[0][0]);
        break;
      case PageKind::Print:
        std::copy(&page.PrintPage[0][0], &page.PrintPage[0][0] + PrintPageColumns * PrintPageRows,
                  &State.PrintPage[0][0]);
        break;
      default:
        std::copy(std::begin(page.DesignGroup), std::end(page.DesignGroup), State.DesignGroup);
        break;
    }
    return PageEdit{"Transpose"};
  });
  if (t.Report.Moved > 0 && steps % 12 != 0) redrawWhole(tab, t.Update);
  return t;
}
