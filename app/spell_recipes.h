// The drawing recipes of the spell and reagent pictures.
#pragma once

#include "model/raster.h"
#include "win/dpi.h"

namespace quillorb {

// The pictures' sizes at 96 DPI. They are drawn at the size of the DPI they are shown at, from
// their recipes, not enlarged from the small ones: sharp at every scale.
inline constexpr int kSpellIconSize = 40;
inline constexpr int kReagentIconWidth = 25;
inline constexpr int kReagentIconHeight = 23;

// Spell `index` (0..63) on the background and in the frame of its circle, `size` pixels square:
// every pixel opaque. The frame's lines are whole pixels (1 up to 79, 2 from 80).
raster::Canvas DrawSpellIcon(int index, int size = kSpellIconSize);
// Reagent `index` (0..7: BP BM GL GS MR NS SA SS) on a transparent canvas, soft at the edges,
// 25 x 23 at 96 DPI and scaled to `dpi`.
raster::Canvas DrawReagentIcon(int index, win::Dpi dpi = win::Dpi());

}  // namespace quillorb
