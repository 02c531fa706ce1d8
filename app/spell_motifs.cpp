#include "app/spell_motifs.h"

namespace quillorb::art {

using namespace raster;

// A small four-pointed sparkle.
void Sparkle(Pen& p, float x, float y, float r, Col c) {
  p.Fill(Star(x, y, r, r * 0.28f, 4), c);
}

// A small arrow badge in the upper right corner: up (green) for blessings, down (red) for
// curses.
void UpBadge(Pen& p) {
  p.Reset();
  p.Shape(
      Poly({{32, 2.5f}, {38, 10}, {34.5f, 10}, {34.5f, 16}, {29.5f, 16}, {29.5f, 10}, {26, 10}}),
      VGrad(Hex(0x8CFF7A), Hex(0x1FA32E), 3, 16));
}
void DownBadge(Pen& p) {
  p.Reset();
  p.Shape(Poly({{32, 16.5f}, {38, 9}, {34.5f, 9}, {34.5f, 3}, {29.5f, 3}, {29.5f, 9}, {26, 9}}),
          VGrad(Hex(0xFF9A8A), Hex(0xC01818), 3, 16));
}

void Boot(Pen& p, bool winged) {
  if (winged) {
    p.Shape(Smooth({{-4, -6}, {-15, -13}, {-13, -8}, {-17, -7}, {-13, -3}, {-16, 0}, {-5, 0}}, 2),
            VGrad(kWhite, Hex(0xB8D8F0), -13, 0));
    p.Line(Contour{{-6, -4}, {-13, -8}}, 0.8f, Hex(0x8AA8C8), 0);
    p.Line(Contour{{-6, -2}, {-13, -3}}, 0.8f, Hex(0x8AA8C8), 0);
  }
  p.Shape(Smooth({{-7, -12}, {4, -12}, {4, 0}, {9, 2}, {12, 5}, {12, 10}, {-8, 10}, {-8, 2}}, 1),
          VGrad(Hex(0xC88448), Hex(0x6E3D17), -12, 10));
  p.Fill(Rect(-8, 7.5f, 20, 2.5f), Hex(0x2E1B0C));
  p.Shape(RoundRect(-8.5f, -13.5f, 13.5f, 4, 1.5f), Hex(0xE0B078), 0.8f);
}

void Brain(Pen& p) {
  Path blob{Circle(-5, -2, 6.5f), Circle(1.5f, -5, 6.5f),   Circle(6.5f, 0, 6),
            Circle(-3, 4, 6),     Circle(3.5f, 4.5f, 5.5f), Circle(-8, 2.5f, 4.5f)};
  p.Shape(blob, VGrad(Hex(0xFFC6D6), Hex(0xD0607F), -11, 10), 1.2f);
  const Col fold = Hex(0xA8385A);
  p.Line(Bez({0, -10}, {-2, -1}, {1, 8}), 0.9f, fold, 0);
  p.Line(Bez({-9, -2}, {-5, -5}, {-3, 0}), 0.9f, fold, 0);
  p.Line(Bez({-8, 5}, {-4, 2}, {-2, 6}), 0.9f, fold, 0);
  p.Line(Bez({4, -8}, {2, -3}, {6, -2}), 0.9f, fold, 0);
  p.Line(Bez({9, 2}, {4, 2}, {5, 7}), 0.9f, fold, 0);
}

void Barbell(Pen& p) {
  p.Line(Contour{{-13, 0}, {13, 0}}, 2.4f, VGrad(kSteel, kDeepSteel, -1, 1));
  for (float side : {-1.0f, 1.0f}) {
    p.Shape(RoundRect(side < 0 ? -11 : 6, -8, 5, 16, 1.2f),
            VGrad(Hex(0x6A6A78), Hex(0x25252E), -8, 8));
    p.Shape(RoundRect(side < 0 ? -14.5f : 11, -5.5f, 3.5f, 11, 1),
            VGrad(Hex(0x8A8A98), Hex(0x35353E), -5, 5));
  }
}

void Skull(Pen& p) {
  const Paint bone = VGrad(Hex(0xFFF8E6), Hex(0xBDB193), -10, 10);
  p.Shape(Path{Circle(0, -2, 8.5f), RoundRect(-5, 3, 10, 7.5f, 2)}, bone, 1.2f);
  const Col hole = Hex(0x1A1020);
  p.Fill(Ellipse(-3.3f, -1.5f, 2.5f, 2.8f), hole);
  p.Fill(Ellipse(3.3f, -1.5f, 2.5f, 2.8f), hole);
  p.Fill(Poly({{0, 1.8f}, {-1.3f, 4.2f}, {1.3f, 4.2f}}), hole);
  for (float x : {-2.2f, 0.0f, 2.2f}) p.Fill(Rect(x - 0.4f, 6.5f, 0.8f, 3.5f), hole);
}

Contour PlusShape(float arm, float half) {
  return Poly({{-half, -arm},
               {half, -arm},
               {half, -half},
               {arm, -half},
               {arm, half},
               {half, half},
               {half, arm},
               {-half, arm},
               {-half, half},
               {-arm, half},
               {-arm, -half},
               {-half, -half}});
}
void RedCross(Pen& p, float arm, float half) {
  p.Shape(PlusShape(arm + 1.6f, half + 1.6f), kWhite, 1.0f);
  p.Fill(PlusShape(arm, half), VGrad(Hex(0xFF6A6A), Hex(0xC0101A), -arm, arm));
}

// A shield: flat top, sides curving to a point at the bottom.
Contour ShieldShape(float w, float h) {
  Contour c{{-w, -h}, {0, -h + 1.5f}, {w, -h}};
  for (Pt q : Bez({w, -h}, {w, h * 0.4f}, {0, h})) c.push_back(q);
  for (Pt q : Bez({0, h}, {-w, h * 0.4f}, {-w, -h})) c.push_back(q);
  return Positive(std::move(c));
}
void Shield(Pen& p, Col face, Col rim) {
  p.Shape(ShieldShape(10.5f, 12), rim, 1.2f);
  p.Fill(ShieldShape(8.3f, 10), VGrad(Lighter(face, 0.35f), Darker(face, 0.35f), -10, 10));
}

// Five-lobed flame pointing up, about 20 wide and 26 tall.
Contour FlameShape() {
  return Smooth({{0, -15},
                 {3, -8},
                 {6, -10},
                 {7, -3},
                 {9, 2},
                 {7, 8},
                 {0, 11},
                 {-7, 8},
                 {-9, 2},
                 {-7, -4},
                 {-5, -1},
                 {-3, -9}},
                2);
}
void Flame(Pen& p) {
  p.Shape(FlameShape(), VGrad(Hex(0xFFB02A), Hex(0xD8240E), -15, 11), 1.0f);
  Contour inner = FlameShape();
  for (Pt& q : inner) q = {q.x * 0.55f, q.y * 0.55f + 4};
  p.Fill(inner, VGrad(Hex(0xFFFFD0), Hex(0xFFD040), -4, 10));
}

// A small pair of glowing eyes (the elementals).
void Eyes(Pen& p, float y, Col glow) {
  for (float x : {-3.5f, 3.5f}) {
    p.Fill(Ellipse(x, y, 2.6f, 1.9f), Hex(0x100810));
    p.Fill(Ellipse(x, y, 1.6f, 1.0f), glow);
  }
}

Contour DropShape(float r) {
  Contour c = Arc(0, 0, r, r, -32, 212);
  c.push_back({0, -r * 1.9f});
  return Positive(std::move(c));
}

void Bottle(Pen& p, Col liquid) {
  p.Shape(Path{Circle(0, 4, 8.5f), Rect(-3, -9, 6, 8)}, Hex(0xD8ECF4, 0.55f), 1.2f);
  p.Fill(Path{Ellipse(0, 5, 7.2f, 6.8f)},
         VGrad(Lighter(liquid, 0.3f), Darker(liquid, 0.25f), 0, 12));
  p.Fill(Ellipse(-3.5f, 0.5f, 1.6f, 2.6f), Hex(0xFFFFFF, 0.8f));
  p.Shape(RoundRect(-3.8f, -12.5f, 7.6f, 4.5f, 1), VGrad(Hex(0xC08850), Hex(0x70441C), -12, -8),
          0.9f);
}

void Chest(Pen& p) {
  const Paint wood = VGrad(Hex(0xB8743A), Hex(0x5E3214), -8, 9);
  p.Shape(Path{Rect(-12, -2, 24, 11), RoundRect(-12, -9, 24, 9, 4)}, wood, 1.2f);
  p.Fill(Rect(-12, -2.6f, 24, 1.2f), Hex(0x2E1808));
  const Col band = kGold;
  p.Fill(Rect(-9, -8.8f, 2.4f, 17.6f), band);
  p.Fill(Rect(6.6f, -8.8f, 2.4f, 17.6f), band);
  p.Shape(RoundRect(-2.2f, -4, 4.4f, 5, 0.8f), kGold, 0.8f);
  p.Fill(Rect(-0.5f, -2.5f, 1, 2), Hex(0x2E1808));
}

void Padlock(Pen& p) {
  p.Line(Arc(0, -3, 6, 7.5f, 180, 360), 3.0f, VGrad(kSteel, kDeepSteel, -10, 0), 1.0f);
  p.Line(Contour{{-6, -3}, {-6, 0}}, 3.0f, kSteel, 0);
  p.Line(Contour{{6, -3}, {6, 0}}, 3.0f, kSteel, 0);
  p.Shape(RoundRect(-10, -1, 20, 14, 2.5f), VGrad(Hex(0xFFE27A), Hex(0xB07810), -1, 13), 1.2f);
  p.Fill(Circle(0, 4.5f, 2), Hex(0x2A1A08));
  p.Fill(Poly({{-1, 5}, {1, 5}, {1.6f, 9.5f}, {-1.6f, 9.5f}}), Hex(0x2A1A08));
}

void Key(Pen& p) {
  const Paint gold = LGrad(Hex(0xFFE88A), Hex(0xB07810), {-10, -10}, {10, 10});
  p.Shape(Ring(-6, -6, 6, 6, 3.2f), gold, 1.1f);
  p.Line(Contour{{-2, -2}, {11, 11}}, 3, gold, 1.1f);
  p.Line(Contour{{6, 6}, {3.5f, 8.5f}}, 2.6f, gold, 1.0f);
  p.Line(Contour{{9, 9}, {6.5f, 11.5f}}, 2.6f, gold, 1.0f);
  p.Line(Contour{{-2, -2}, {11, 11}}, 3, gold, 0);
}

Contour RuneStoneShape() {
  return Smooth({{-9, -7}, {3, -11}, {11, -4}, {9, 8}, {-2, 11}, {-11, 4}}, 3);
}
void RuneStone(Pen& p, Col glyph) {
  p.Shape(RuneStoneShape(), LGrad(Hex(0xB7A8D8), Hex(0x4A3C70), {-8, -10}, {8, 10}), 1.2f);
  p.Fill(Path{Ellipse(-3, -5, 4, 2)}, Hex(0xFFFFFF, 0.25f));
  p.Line(Contour{{-3, -5}, {-3, 6}}, 1.6f, glyph, 0);
  p.Line(Contour{{-3, -5}, {3, -1}, {-3, 2}}, 1.6f, glyph, 0);
  p.Line(Contour{{-1, 1}, {4, 6}}, 1.6f, glyph, 0);
}

void Paw(Pen& p) {
  const Paint pad = VGrad(Hex(0xF6E2C0), Hex(0xB88A5A), -11, 11);
  p.Shape(Smooth({{0, -1}, {7, 4}, {6, 10}, {0, 9}, {-6, 10}, {-7, 4}}, 3), pad, 1.2f);
  p.Shape(Ellipse(-8, -4, 2.8f, 3.4f), pad, 1.1f);
  p.Shape(Ellipse(-3, -9, 2.8f, 3.5f), pad, 1.1f);
  p.Shape(Ellipse(3, -9, 2.8f, 3.5f), pad, 1.1f);
  p.Shape(Ellipse(8, -4, 2.8f, 3.4f), pad, 1.1f);
}

// The red "no" sign over a motif.
void NoSign(Pen& p, float r) {
  Path sign = Ring(0, 0, r, r, 2.8f);
  const float d = (r - 1.4f) * 0.7071f;
  for (auto& c : Stroke(Contour{{-d, -d}, {d, d}}, 2.8f)) sign.push_back(std::move(c));
  p.Shape(sign, Hex(0xF02828), 0.9f);
}

// Three columns of a magical field standing on the ground.
void Field(Pen& p, Col top, Col bottom) {
  for (float x : {-8.0f, 0.0f, 8.0f}) {
    const float h = x == 0 ? 14 : 11;
    p.Shape(RoundRect(x - 3, -h, 6, h + 10, 3), VGrad(Alpha(top, 0.75f), bottom, -h, 10), 0.9f);
    p.Fill(RoundRect(x - 1, -h + 2, 2, h + 6, 1), Hex(0xFFFFFF, 0.7f));
  }
  p.Fill(Ellipse(0, 10, 14, 2.5f), Hex(0x000000, 0.35f));
}

void Bolt(Pen& p) {
  const Contour bolt = Poly({{4, -14}, {-7, 1}, {-1, 1}, {-5, 14}, {8, -3}, {2, -3}, {7, -14}});
  p.Shape(bolt, VGrad(Hex(0xFFFFB0), Hex(0xFFC000), -14, 14), 1.1f);
}

// A glowing ball, `inner` in the middle fading to `outer`.
void Orb(Pen& p, float r, Col inner, Col outer) {
  p.Fill(Circle(0, 0, r * 1.45f), RGrad(Alpha(outer, 0.6f), Alpha(outer, 0), {0, 0}, r * 1.45f));
  p.Shape(Circle(0, 0, r), RGrad(inner, outer, {-r * 0.3f, -r * 0.3f}, r * 1.3f), 0.9f);
}

// A ball flying towards the lower left with its tail behind it.
void Comet(Pen& p, Col core, Col mid, Col tail) {
  const Paint fade = LGrad(Alpha(mid, 1), Alpha(tail, 0), {0, 0}, {17, -17});
  p.Fill(Taper({-3, 3}, {6, -4}, {17, -17}, 10, 12), fade);
  p.Fill(Taper({-3, 3}, {10, -1}, {18, -8}, 6, 8), fade);
  p.Fill(Taper({-3, 3}, {0, -8}, {8, -18}, 6, 8), fade);
  p.Fill(Taper({-3, 3}, {5, -5}, {12, -12}, 4, 6),
         LGrad(Alpha(core, 0.9f), Alpha(mid, 0), {0, 0}, {12, -12}));
  p.Shape(Circle(-3, 3, 7.5f), RGrad(core, mid, {-4, 4}, 9), 1.0f);
}

Contour BatShape() {
  return Poly({{0, -4},   {-1.5f, -6.5f}, {-2.5f, -3}, {-6, -6},     {-11, -7}, {-15, -3},
               {-12, -1}, {-11, 3},       {-8, 0},     {-6, 4},      {-3, 1},   {0, 5},
               {3, 1},    {6, 4},         {8, 0},      {11, 3},      {12, -1},  {15, -3},
               {11, -7},  {6, -6},        {2.5f, -3},  {1.5f, -6.5f}});
}

Contour HornShape(float side) {
  Contour c = Taper({side * 4, -4}, {side * 11, -7}, {side * 9, -15}, 5, 5);
  return c;
}

}  // namespace quillorb::art
