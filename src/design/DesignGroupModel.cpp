#include "design/DesignGroupModel.h"

#include <algorithm>

#include "design/HandCost.h"

TChordDiagram DesignGroupModel::shown(int s) const {
  if (!DesignGroup::valid(s)) return TChordDiagram{};
  TChordDiagram d = Group[s];
  if (s == lifted()) d.Empty = 1;
  return d;
}

void DesignGroupModel::draw(GroupUpdate& u, int s) {
  const bool held = !isEmpty(shown(s));
  u.Draws.push_back({s, true, held});
  if (held) Selected = Pressed = s;
}

void DesignGroupModel::frame(GroupUpdate& u, int s) {
  u.Draws.push_back({s, false, true});
  Selected = Pressed = s;
}

void DesignGroupModel::takeInHand(GroupUpdate& u, int s) {
  InHand = Group[s];
  u.ShowInHand = true;
}

GroupUpdate DesignGroupModel::select(int s) {
  GroupUpdate u;
  if (!holds(s)) return u;
  frame(u, s);
  takeInHand(u, s);
  return u;
}

GroupUpdate DesignGroupModel::frameOnly(int s) {
  GroupUpdate u;
  if (holds(s)) frame(u, s);
  return u;
}

GroupUpdate DesignGroupModel::press(int s, bool right, bool replaceConfirmed) {
  GroupUpdate u;
  if (!DesignGroup::valid(s)) return u;
  Pressed = s;
  if (Mode == GroupMode::Moving) {
    // Any button lands the lifted diagram.
    const int from = MoveSource;
    const TChordDiagram moved = Group[from];
    MoveSource = -1;
    Mode = GroupMode::Normal;
    setPointer(u, GroupPointer::Normal);
    DesignGroup group(Group);
    group.takeOut(from);
    const DesignGroup::Written w = group.landMoved(s, from, moved);
    for (int k = 0; k < w.Count; ++k) draw(u, w.Slot[static_cast<std::size_t>(k)]);
    takeInHand(u, s);
    // Back home the group is as it was: only the diagram is taken in hand.
    if (s != from) u.Edit = "Move Chord";
    return u;
  }
  if (Mode == GroupMode::Placing) {
    if (isEmpty(Buffer) || right) {
      Mode = GroupMode::Normal;
      setPointer(u, GroupPointer::Normal);
      return u;
    }
    // On No placing goes on, so the next press can place elsewhere.
    if (holds(s) && !replaceConfirmed) return ask(std::move(u), GroupQuestion::Replace);
    Group[s] = Buffer;
    Mode = GroupMode::Normal;
    setPointer(u, GroupPointer::Normal);
    draw(u, s);
    takeInHand(u, s);
    u.Edit = "Place Chord";
    return u;
  }
  if (!holds(s)) return u;
  if (right) {
    u.PopupMenu = true;
    return u;
  }
  if (s == Selected) return u;
  return select(s);
}

GroupUpdate DesignGroupModel::receive(const TChordDiagram& diagram) {
  // The move buffer is about to hold the sent diagram: a lifted one goes home.
  GroupUpdate u = endMove();
  Buffer = diagram;
  Mode = GroupMode::Placing;
  setPointer(u, GroupPointer::Placing);
  return u;
}

GroupUpdate DesignGroupModel::endMove() {
  GroupUpdate u;
  if (Mode != GroupMode::Moving) return u;
  const int home = MoveSource;
  MoveSource = -1;
  Mode = GroupMode::Normal;
  u.Draws.push_back({home, true, home == Selected && holds(home)});
  setPointer(u, GroupPointer::Normal);
  return u;
}

GroupUpdate DesignGroupModel::cancel() {
  GroupUpdate u = endMove();
  Mode = GroupMode::Normal;
  setPointer(u, GroupPointer::Normal);
  return u;
}

GroupUpdate DesignGroupModel::chooseMove() {
  GroupUpdate u;
  const int p = Pressed;
  if (Mode != GroupMode::Normal || !holds(p)) return u;
  Buffer = Group[p];
  MoveSource = p;
  Mode = GroupMode::Moving;
  setPointer(u, GroupPointer::Moving);
  u.Draws.push_back({p, true, false});
  return u;
}

GroupUpdate DesignGroupModel::chooseDelete(bool confirmed) {
  GroupUpdate u;
  const int p = Pressed;
  if (Mode == GroupMode::Moving || !holds(p)) return u;
  if (!confirmed) return ask(std::move(u), GroupQuestion::Erase);
  Group[p].Empty = 1;
  u.Edit = "Delete Chord";
  u.Draws.push_back({p, true, false});
  if (p != Selected) return u;
  DesignGroup group(Group);
  const int next = group.firstHeld();
  if (next < 0) return u;
  // The frame was painted over with the slot; the next diagram is taken in
  // hand whole, so the root, bass and tablature agree with the fretboard.
  u.ForgetFrame = true;
  frame(u, next);
  takeInHand(u, next);
  return u;
}

GroupUpdate DesignGroupModel::choosePlay() {
  GroupUpdate u;
  const int p = Pressed;
  if (!holds(p) || p == Selected) return u;
  frame(u, p);
  takeInHand(u, p);
  return u;
}

GroupUpdate DesignGroupModel::showChords(const std::string& dir, int type, int root,
                                         bool unsavedChanges, bool discardConfirmed,
                                         const TChordDiagram* comingFrom) {
  GroupUpdate u = endMove();
  if (unsavedChanges && !discardConfirmed) return ask(std::move(u), GroupQuestion::SaveFirst);
  DesignGroup group(Group);
  u.Read = group.fillFromLibrary(dir, type, root);
  if (u.Read.Status != LibraryStatus::Ok) return u;
  if (comingFrom)
    std::stable_sort(Group, Group + DesignGroupSize, [&](const auto& a, const auto& b) {
      return changeCost(comingFrom->Strings, a.Strings) <
             changeCost(comingFrom->Strings, b.Strings);
    });
  for (int s = DesignGroupSize - 1; s >= 0; --s) draw(u, s);
  takeInHand(u, 0);
  u.Edit = "Show Chords";
  return u;
}

void DesignGroupModel::forget(bool keepPlacing) {
  MoveSource = -1;
  if (Mode == GroupMode::Moving || !keepPlacing) Mode = GroupMode::Normal;
  Selected = -1;
}
