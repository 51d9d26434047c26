#include "state/Workbench.h"

#include <cstring>
#include <type_traits>

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

Workbench::Workbench() : SavedGroup(groupBytes()) {}

std::string Workbench::groupBytes() const {
  return std::string(reinterpret_cast<const char*>(State.DesignGroup), sizeof State.DesignGroup);
}

bool Workbench::changed(PlayTab tab) const {
  if (tab == PlayTab::ChordDesign) return groupBytes() != SavedGroup;
  return history(tab).changed();
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

bool Workbench::undo(PlayTab tab) {
  PageHistory& h = Histories[index(tab)];
  if (!h.canUndo()) return false;
  restore(tab, h.undo());
  historyMoved(tab);
  return true;
}

bool Workbench::redo(PlayTab tab) {
  PageHistory& h = Histories[index(tab)];
  if (!h.canRedo()) return false;
  restore(tab, h.redo());
  historyMoved(tab);
  return true;
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
