#pragma once

#include <string>
#include <string_view>

// What the Chords, Scales and Print page models share with their tabs: the
// button of a press, the pointers they show and a question to ask.

enum class PressButton { Left, Right, Other };

// The pointers of the small pages: normal, an item waiting to be placed (a
// sent one) and an item of the page being moved.
enum class PagePointer { Normal = 0, Placing = 5, Moving = 6 };

// A Yes/No question the tab asks before the intent may go on; on Yes the tab
// repeats the intent with the answer given.
struct PageQuestion {
  std::string Text;
  bool DefaultYes = true;
};
