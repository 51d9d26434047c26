#pragma once

// The sizes of the page stores, [columns][rows]: the Chords page holds five
// chord sets of six, the play page twelve slots in each of six rows.
inline constexpr int ChordPageColumns = 6, ChordPageRows = 5;
inline constexpr int DesignGroupSize = 6;
inline constexpr int PlayPageColumns = 12, PlayPageRows = 6;
inline constexpr int PrintPageColumns = 6, PrintPageRows = 5;
inline constexpr int ScalePageSize = 5;
