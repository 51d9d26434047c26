#pragma once

#include "play/PlayTab.h"

// Tab numbers for code that still compares the tab widget's index as an int
// (the fretboard panel); they follow PlayTab, the one list of the tabs.
inline constexpr int PageChords = static_cast<int>(PlayTab::Chords);
inline constexpr int PageChordDesign = static_cast<int>(PlayTab::ChordDesign);
inline constexpr int PagePlayPage = static_cast<int>(PlayTab::PlayPage);
inline constexpr int PagePrint = static_cast<int>(PlayTab::Print);
inline constexpr int PageScales = static_cast<int>(PlayTab::Scales);
