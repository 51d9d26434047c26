#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "design/DesignGroup.h"
#include "library/LibraryFiles.h"
#include "music/PageSizes.h"
#include "music/Records.h"

// What the design group is doing with the next press on it.
enum class GroupMode {
  Normal,   // a press selects a slot, a right press opens the pop-up menu
  Placing,  // a diagram sent here waits in the move buffer for a slot
  Moving,   // a slot's diagram is lifted and lands on the next press
};

// A question the tab asks before an intent can go on; the answer comes back
// as the same intent with the question answered.
enum class GroupQuestion {
  None,
  Replace,    // "Do you want to replace this diagram?"
  Erase,      // "Do you want to erase this diagram?"
  SaveFirst,  // the group has unsaved changes and is about to be filled
};

// The pointer over the group: its shape number, as the surface takes it.
enum class GroupPointer { Normal = 0, Placing = 5, Moving = 6 };

// Everything one intent asks of the screen, in the order it is to be done.
struct GroupUpdate {
  struct Draw {
    int Slot;
    bool Picture;  // the slot's diagram (or the free slot) is drawn anew
    bool Frame;    // then the frame moves onto it
  };
  // The frame drawn last is gone from the picture: forget where it was.
  bool ForgetFrame = false;
  std::vector<Draw> Draws;
  // The fingering in hand changed: root, bass, tablature and fretboard show it.
  bool ShowInHand = false;
  GroupQuestion Ask = GroupQuestion::None;
  bool SetPointer = false;
  GroupPointer Pointer = GroupPointer::Normal;
  bool PopupMenu = false;
  // The name of the page edit this intent made, for Undo; empty when the
  // page's content is as it was.
  std::string_view Edit;
  // Filling from the library: a failed read, for the message.
  LibraryResult Read;
};

// The design group as the Chord Design tab works it: the six slots, the
// fingering in hand and the move buffer (all owned by the caller), the mode
// of the next press, the pressed and the selected slot. Every input is an
// intent that returns one GroupUpdate; the tab draws what it says, asks the
// question it names and records the edit it names. A lifted diagram (Move)
// stays in its slot until it lands, so the page content is untouched while a
// move is pending and a cancelled move changes nothing.
class DesignGroupModel {
 public:
  using Slots = DesignGroup::Slots;

  DesignGroupModel(Slots& six, TChordDiagram& inHand, TChordDiagram& moveBuffer)
      : Group(six), InHand(inHand), Buffer(moveBuffer) {}

  GroupMode mode() const { return Mode; }
  int pressed() const { return Pressed; }
  int selected() const { return Selected; }
  // The slot whose diagram is lifted by a pending Move, or -1.
  int lifted() const { return Mode == GroupMode::Moving ? MoveSource : -1; }
  // The diagram slot s shows: a lifted one shows as a free slot.
  TChordDiagram shown(int s) const;
  const TChordDiagram& at(int s) const { return Group[s]; }
  bool holds(int s) const { return DesignGroup::valid(s) && !isEmpty(Group[s]); }

  // A press on slot s (-1 outside the six). Moving: any button lands the
  // lifted diagram there ("Move Chord"). Placing: a right press, or an empty
  // buffer, ends placing; a held slot asks Replace first, and on No placing
  // goes on ("Place Chord"). Normal: a right press on a held slot opens the
  // pop-up menu, a left press selects it and takes its diagram in hand.
  GroupUpdate press(int s, bool right, bool replaceConfirmed = false);
  // Send to Chord Design: `diagram` waits for the next press.
  GroupUpdate receive(const TChordDiagram& diagram);
  // A pending Move ends with the diagram where it was; a sent diagram waits.
  GroupUpdate endMove();
  // Ends moving and placing alike.
  GroupUpdate cancel();
  // The pop-up commands, on the pressed slot.
  GroupUpdate chooseMove();
  GroupUpdate chooseDelete(bool confirmed);
  // Play Chord: the pressed slot in hand first.
  GroupUpdate choosePlay();
  // A search result dropped: the six library fingerings of dictionary type
  // `type` in key `root` ("Show Chords"). With unsaved changes it asks first.
  // With `comingFrom`, the six are ordered by how easily the hand changes to
  // each from that fingering (the library's order between equals).
  GroupUpdate showChords(const std::string& dir, int type, int root, bool unsavedChanges,
                         bool discardConfirmed, const TChordDiagram* comingFrom = nullptr);
  // The fingering in hand dropped on slot s ("Drop Chord"). `nameInHand`
  // gives it its tuning name and own formula just before it lands.
  template <class Name>
  GroupUpdate dropInHand(int s, bool replaceConfirmed, Name&& nameInHand) {
    GroupUpdate u = endMove();
    if (!DesignGroup::valid(s) || isEmpty(InHand)) return u;
    if (holds(s) && !replaceConfirmed) return ask(std::move(u), GroupQuestion::Replace);
    nameInHand();
    Group[s] = InHand;
    draw(u, s);
    u.Edit = "Drop Chord";
    return u;
  }
  // The group emptied or loaded afresh: nothing selected, lifted or placed
  // (a sent diagram keeps waiting after an erase).
  void forget(bool keepPlacing);
  // Selects slot s without a press: frame and fingering in hand.
  GroupUpdate select(int s);
  // Frames slot s as the selected one, the fingering in hand left as it is
  // (after Undo put both back).
  GroupUpdate frameOnly(int s);

 private:
  // Draws slot s and frames it when it shows a diagram, which selects it.
  void draw(GroupUpdate& u, int s);
  void frame(GroupUpdate& u, int s);
  GroupUpdate ask(GroupUpdate u, GroupQuestion q) {
    u.Ask = q;
    return u;
  }
  void setPointer(GroupUpdate& u, GroupPointer p) {
    u.SetPointer = true;
    u.Pointer = p;
  }
  void takeInHand(GroupUpdate& u, int s);

  TChordDiagram* Group;
  TChordDiagram& InHand;
  TChordDiagram& Buffer;
  GroupMode Mode = GroupMode::Normal;
  int MoveSource = -1;
  int Pressed = 0;
  int Selected = -1;
};
