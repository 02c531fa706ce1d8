// The drawing motifs the spell and reagent pictures are made of (boots, skulls, flames, orbs, ...).
// Each motif is drawn around 0, 0 in its own frame, about 24 pixels across at scale 1; the
// caller places it with Pen::Frame.
#pragma once

#include "model/raster.h"

namespace quillorb::art {

using raster::Col;
using raster::Contour;
using raster::Hex;
using raster::Pen;

inline const Col kWhite = Hex(0xFFFFFF);
inline const Col kGold = Hex(0xFFD24A);
inline const Col kDeepGold = Hex(0xB87A10);
inline const Col kSteel = Hex(0xE4E8EE);
inline const Col kDeepSteel = Hex(0x7A8494);

// A small four-pointed sparkle.
void Sparkle(Pen& p, float x, float y, float r, Col c = kWhite);
// A small arrow badge in the upper right corner: up (green) for blessings, down (red) for
// curses.
void UpBadge(Pen& p);
void DownBadge(Pen& p);
void Boot(Pen& p, bool winged);
void Brain(Pen& p);
void Barbell(Pen& p);
void Skull(Pen& p);
Contour PlusShape(float arm, float half);
void RedCross(Pen& p, float arm, float half);
// A shield: flat top, sides curving to a point at the bottom.
Contour ShieldShape(float w, float h);
void Shield(Pen& p, Col face, Col rim);
// Five-lobed flame pointing up, about 20 wide and 26 tall.
Contour FlameShape();
void Flame(Pen& p);
// A small pair of glowing eyes (the elementals).
void Eyes(Pen& p, float y, Col glow);
Contour DropShape(float r);
void Bottle(Pen& p, Col liquid);
void Chest(Pen& p);
void Padlock(Pen& p);
void Key(Pen& p);
Contour RuneStoneShape();
void RuneStone(Pen& p, Col glyph);
void Paw(Pen& p);
// The red "no" sign over a motif.
void NoSign(Pen& p, float r);
// Three columns of a magical field standing on the ground.
void Field(Pen& p, Col top, Col bottom);
void Bolt(Pen& p);
// A glowing ball, `inner` in the middle fading to `outer`.
void Orb(Pen& p, float r, Col inner, Col outer);
// A ball flying towards the lower left with its tail behind it.
void Comet(Pen& p, Col core, Col mid, Col tail);
Contour BatShape();
Contour HornShape(float side);

}  // namespace quillorb::art
