#pragma once

// The tabs of the main window, in order.
enum PageIndex : int {
  PageChords = 0,
  PageChordDesign = 1,
  PagePlayPage = 2,
  PagePrint = 3,
  PageScales = 4,
};
