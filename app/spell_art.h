// Our own pictures of the 64 spells and the eight reagents, drawn at start-up from small drawing
// recipes (see the tables in spell_art.cpp), anti-aliased, and handed out as 32-bit DIB sections.
#pragma once

#include <windows.h>

#include "win/handles.h"

namespace quillorb {

inline constexpr int kSpellIconSize = 40;    // one atlas cell
inline constexpr int kSpellAtlasSize = 320;  // 8 x 8 cells

// The 320 x 320 atlas of the 64 spell icons: spell i in the cell at x 40 * (i % 8),
// y 40 * (i / 8). The background and frame carry the colour of the spell's circle (one colour
// per row). `greyed`: the same icons washed out to light grey, for spells not in the spellbook.
win::Bitmap MakeSpellAtlas(bool greyed);

// Both atlases from one drawing of the icons (half the work of two MakeSpellAtlas calls).
struct SpellAtlases {
  win::Bitmap normal;
  win::Bitmap greyed;
};
SpellAtlases MakeSpellAtlases();

// The eight reagent icons (BP, BM, GL, GS, MR, NS, SA, SS) with soft, transparent edges, like
// an image list. Drawing leaves the destination visible wherever an icon is transparent.
class ReagentIconList {
 public:
  static constexpr int kWidth = 25;
  static constexpr int kHeight = 23;
  static constexpr int kCount = 8;

  ReagentIconList();
  // Draws icon `index` (0..7) with its top-left corner at x, y. Returns false if nothing was
  // drawn (index out of range or a GDI failure).
  bool Draw(HDC dc, int index, int x, int y) const;
  // The icons side by side, kCount * kWidth x kHeight, 32-bit with premultiplied alpha.
  HBITMAP Strip() const { return strip_.get(); }

 private:
  win::Bitmap strip_;
};

// A 25 x 23 picture: `background` everywhere, reagent icon `index` (0..7) drawn on it
// transparently. An index out of range gives the plain background.
win::Bitmap MakeReagentPicture(int index, COLORREF background);

}  // namespace quillorb
