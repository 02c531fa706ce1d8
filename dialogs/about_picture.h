// The configuration dialog's About picture: the spell icons of the eight circles on a ring around
// the program's name, drawn on a night sky.
#pragma once

#include <windows.h>

#include <array>

#include "win/dpi.h"
#include "win/handles.h"

namespace quillorb {

// The spells shown, one of each circle. The atlas (the spell icons, 8 x 8 cells) must hold their
// icons.
inline constexpr std::array<int, 8> kAboutSpells = {5, 10, 18, 24, 33, 46, 50, 61};
// The picture `width` x `height` at 96 DPI, drawn at `dpi`.
win::Bitmap MakeAboutPicture(HBITMAP spellAtlas, int width, int height, win::Dpi dpi = win::Dpi());

}  // namespace quillorb
