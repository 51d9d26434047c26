#pragma once

// The tabs of the main window, in their order (the tab widget's indexes); the
// players behave by tab. The one list of them: the window converts its tab
// index here and nowhere else.
enum class PlayTab : int { Chords = 0, ChordDesign = 1, PlayPage = 2, Print = 3, Scales = 4 };
