// The drawing recipes of the spell and reagent pictures.
#pragma once

#include "model/raster.h"

namespace quillorb {

inline constexpr int kSpellIconSize = 40;
inline constexpr int kReagentIconWidth = 25;
inline constexpr int kReagentIconHeight = 23;

// Spell `index` (0..63) on the background and in the frame of its circle: every pixel opaque.
raster::Canvas DrawSpellIcon(int index);
// Reagent `index` (0..7: BP BM GL GS MR NS SA SS) on a transparent canvas, soft at the edges.
raster::Canvas DrawReagentIcon(int index);

}  // namespace quillorb
