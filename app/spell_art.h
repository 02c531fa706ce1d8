// Our own pictures of the 64 spells and the eight reagents (drawn from the recipes in
// spell_recipes.cpp), handed out as 32-bit DIB sections.
#pragma once

#include <windows.h>

#include <bitset>

#include "app/spell_recipes.h"
#include "win/handles.h"

namespace quillorb {

inline constexpr int kSpellAtlasSize = 320;  // 8 x 8 cells

// The 320 x 320 atlases of the 64 spell icons: spell i in the cell at x 40 * (i % 8),
// y 40 * (i / 8). The background and frame carry the colour of the spell's circle (one colour
// per row). `greyed`: the same icons washed out to light grey, for spells not in the spellbook.
// Icons are drawn into both atlases on first use (Draw), so that a page can be shown before the
// other 56 icons are drawn.
struct SpellAtlases {
  win::Bitmap normal;
  win::Bitmap greyed;
  std::bitset<64> drawn;

  explicit operator bool() const { return normal && greyed; }
  // Draws spell `index` into both atlases unless it is drawn already. False if it cannot be
  // (index out of range or no atlases).
  bool Draw(int index);
};

// Draws spell `index` (0..63) into its cell of a normal and a greyed 320 x 320 atlas (32-bit DIB
// sections). False if it cannot (index out of range, not DIB sections).
bool DrawSpellIconInto(HBITMAP normal, HBITMAP greyed, int index);

// Both atlases, empty: nothing drawn yet.
SpellAtlases CreateSpellAtlases();
// Both atlases with every icon drawn.
SpellAtlases MakeSpellAtlases();
// One atlas with every icon drawn.
win::Bitmap MakeSpellAtlas(bool greyed);

// The eight reagent icons (BP, BM, GL, GS, MR, NS, SA, SS) with soft, transparent edges, like
// an image list. Drawing leaves the destination visible wherever an icon is transparent.
class ReagentIconList {
 public:
  static constexpr int kWidth = kReagentIconWidth;
  static constexpr int kHeight = kReagentIconHeight;
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
