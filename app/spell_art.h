// Our own pictures of the 64 spells and the eight reagents (drawn from the recipes in
// spell_recipes.cpp), handed out as 32-bit DIB sections.
#pragma once

#include <windows.h>

#include <bitset>

#include "app/spell_recipes.h"
#include "win/handles.h"

namespace quillorb {

inline constexpr int kSpellAtlasSize = 320;  // 8 x 8 cells at 96 DPI

// The atlases of the 64 spell icons, 8 x 8 cells of `cell` pixels (40 at 96 DPI, 80 at 192):
// spell i in the cell at x cell * (i % 8), y cell * (i / 8). The background and frame carry the
// colour of the spell's circle (one colour per row). `greyed`: the same icons washed out to light
// grey, for spells not in the spellbook. Icons are drawn into both atlases on first use (Draw),
// so that a page can be shown before the other 56 icons are drawn.
struct SpellAtlases {
  win::Bitmap normal;
  win::Bitmap greyed;
  std::bitset<64> drawn;
  int cell = kSpellIconSize;

  explicit operator bool() const { return normal && greyed; }
  // Draws spell `index` into both atlases unless it is drawn already. False if it cannot be
  // (index out of range or no atlases).
  bool Draw(int index);
};

// Draws spell `index` (0..63) into its cell of a normal and a greyed atlas of `cell`-pixel cells
// (32-bit DIB sections 8 cells square). False if it cannot (index out of range, not such DIB
// sections).
bool DrawSpellIconInto(HBITMAP normal, HBITMAP greyed, int index, int cell = kSpellIconSize);

// Both atlases for `dpi`, empty: nothing drawn yet.
SpellAtlases CreateSpellAtlases(win::Dpi dpi = win::Dpi());
// Both atlases with every icon drawn.
SpellAtlases MakeSpellAtlases(win::Dpi dpi = win::Dpi());
// One atlas with every icon drawn.
win::Bitmap MakeSpellAtlas(bool greyed, win::Dpi dpi = win::Dpi());

// The eight reagent icons (BP, BM, GL, GS, MR, NS, SA, SS) at `dpi` with soft, transparent edges,
// like an image list. Drawing leaves the destination visible wherever an icon is transparent.
class ReagentIconList {
 public:
  static constexpr int kCount = 8;

  explicit ReagentIconList(win::Dpi dpi = win::Dpi());
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Draws icon `index` (0..7) with its top-left corner at x, y. Returns false if nothing was
  // drawn (index out of range or a GDI failure).
  bool Draw(HDC dc, int index, int x, int y) const;
  // The icons side by side, kCount * Width() x Height(), 32-bit with premultiplied alpha.
  HBITMAP Strip() const { return strip_.get(); }

 private:
  int width_;
  int height_;
  win::Bitmap strip_;
};

// A 25 x 23 picture at 96 DPI, scaled to `dpi`: `background` everywhere, reagent icon `index`
// (0..7) drawn on it transparently. An index out of range gives the plain background.
win::Bitmap MakeReagentPicture(int index, COLORREF background, win::Dpi dpi = win::Dpi());

}  // namespace quillorb
