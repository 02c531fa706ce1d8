// The pictures of the 64 spells and the eight reagents, one drawing recipe per picture, in
// catalogue order. The motifs they use are in spell_motifs.cpp, the painter in model/raster.h.
#include "app/spell_recipes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "app/spell_motifs.h"

namespace quillorb {
namespace {

using namespace raster;
using namespace art;

// ================================================================== the 64 spells

struct SpellRecipe {
  const char* name;  // for the reader; the order is the catalogue's
  void (*draw)(Pen&);
};

// Most symbols centre on (19, 18): the casts-left label covers the lower right corner.
const std::array<SpellRecipe, 64> kSpellRecipes{{
    // ---- circle 1
    {"Clumsy",
     [](Pen& p) {
       p.Frame(18, 20);
       Boot(p, false);
       DownBadge(p);
     }},
    {"Create Food",
     [](Pen& p) {
       p.Frame(19, 20);
       p.Line(Bez({0, -7}, {0, -11}, {2, -14}), 1.6f, Hex(0x6A3A12));
       p.Shape(Path{Circle(-4, 1, 8.5f), Circle(4, 1, 8.5f), Circle(0, 5, 7.5f)},
               RGrad(Hex(0xFF7060), Hex(0xA80E14), {-4, -3}, 14), 1.2f);
       p.Shape(Taper({1, -8}, {7, -14}, {11, -10}, 5), VGrad(Hex(0x9AF070), Hex(0x2E8A1E), -14, -7),
               0.9f);
       p.Fill(Ellipse(-6, -2, 1.8f, 3), Hex(0xFFFFFF, 0.75f));
     }},
    {"Feeblemind",
     [](Pen& p) {
       p.Frame(17, 21);
       Brain(p);
       p.Line(Contour{{1, -11}, {-1, -6}, {2, -2}, {-1, 3}, {1, 9}}, 1.3f, Hex(0x1A0A10), 0);
       DownBadge(p);
     }},
    {"Heal",
     [](Pen& p) {
       p.Frame(19, 18);
       RedCross(p, 11, 4);
     }},
    {"Magic Arrow",
     [](Pen& p) {
       p.Reset();
       p.Fill(Stroke(Contour{{8, 31}, {30, 9}}, 7), Hex(0xFFF0A0, 0.35f));
       p.Line(Contour{{8, 31}, {27, 12}}, 2.2f, Hex(0xFFE890));
       p.Shape(Poly({{33, 6}, {22, 10}, {30, 17}}), VGrad(kWhite, Hex(0xF0C040), 6, 17), 1.0f);
       p.Shape(Poly({{9, 30}, {4, 28}, {7, 25}, {12, 27}}), Hex(0xFF8A3A), 0.9f);
       p.Shape(Poly({{9, 30}, {11, 35}, {14, 32}, {12, 27}}), Hex(0xFF8A3A), 0.9f);
     }},
    {"Night Sight",
     [](Pen& p) {
       p.Frame(17, 22);
       Contour eye = Bez({-14, 0}, {0, -13}, {14, 0});
       for (Pt q : Bez({14, 0}, {0, 13}, {-14, 0})) eye.push_back(q);
       p.Shape(Positive(eye), VGrad(kWhite, Hex(0xC8D4E0), -7, 7), 1.2f);
       p.Fill(Circle(0, 0, 5.8f), RGrad(Hex(0x7FD8FF), Hex(0x0A3A8A), {-1, -1}, 7));
       p.Fill(Circle(0, 0, 2.6f), Hex(0x05050A));
       p.Fill(Circle(-1.8f, -1.8f, 1.2f), kWhite);
       p.Reset();
       p.Shape(Crescent(31, 8, 5.5f, 4, -45), VGrad(Hex(0xFFFBD0), Hex(0xF0C830), 2, 14), 0.9f);
     }},
    {"Reactive Armor",
     [](Pen& p) {
       p.Frame(19, 19);
       for (int i = 0; i < 8; ++i) {
         const float a = (i * 45.0f + 22.5f) * kPi / 180;
         const float c = std::cos(a), s = std::sin(a);
         p.Shape(Poly({{c * 17, s * 17},
                       {c * 9 - s * 3, s * 9 + c * 3},
                       {c * 9 + s * 3, s * 9 - c * 3}}),
                 Hex(0xFF7A20), 0.8f);
       }
       Shield(p, Hex(0x9AA4B4), Hex(0x4A5262));
       p.Shape(Star(0, -1, 5.5f, 2.4f, 6), Hex(0xFF8A30), 0.8f);
     }},
    {"Weaken",
     [](Pen& p) {
       p.Frame(17, 22);
       Barbell(p);
       DownBadge(p);
     }},

    // ---- circle 2
    {"Agility",
     [](Pen& p) {
       p.Frame(21, 20);
       Boot(p, true);
       UpBadge(p);
     }},
    {"Cunning",
     [](Pen& p) {
       p.Frame(17, 21);
       Brain(p);
       Sparkle(p, 9, -9, 5, Hex(0xFFF6A0));
       UpBadge(p);
     }},
    {"Cure",
     [](Pen& p) {
       p.Frame(19, 20);
       Bottle(p, Hex(0xFF9A1E));
     }},
    {"Harm",
     [](Pen& p) {
       p.Reset();
       const Paint blood = VGrad(Hex(0xFF6A5A), Hex(0xA00810), 5, 32);
       // Three claw marks torn diagonally, each with a dark gash down its middle.
       const Pt marks[3][3] = {{{6, 12}, {13, 20}, {15, 33}},
                               {{13, 5}, {20, 15}, {23, 30}},
                               {{21, 4}, {28, 12}, {32, 24}}};
       for (const auto& m : marks) {
         p.Shape(Taper(m[0], m[1], m[2], 4.2f), blood, 1.0f);
         p.Fill(Taper(m[0], m[1], m[2], 1.4f), Hex(0x4A0004));
       }
     }},
    {"Magic Trap",
     [](Pen& p) {
       p.Frame(18, 22);
       Chest(p);
       p.Frame(27, 10);
       p.Shape(Star(0, 0, 8, 3.2f, 8, -90), RGrad(Hex(0xFFF0A0), Hex(0xF02010), {0, 0}, 8), 0.9f);
     }},
    {"Magic Untrap",
     [](Pen& p) {
       p.Frame(18, 22);
       Chest(p);
       p.Reset();
       p.Line(Contour{{20, 10}, {25, 15}, {35, 3}}, 3.2f, Hex(0x40F050), 1.2f);
     }},
    {"Protection",
     [](Pen& p) {
       p.Frame(19, 19);
       Shield(p, Hex(0x3A7AF0), kGold);
       p.Shape(Star(0, -1.5f, 5.5f, 2.2f, 5), Hex(0xFFFFFF), 0);
     }},
    {"Strength",
     [](Pen& p) {
       p.Frame(17, 22);
       Barbell(p);
       UpBadge(p);
     }},

    // ---- circle 3
    {"Bless",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Circle(0, 0, 15), RGrad(Hex(0xFFF4B0, 0.9f), Hex(0xFFD040, 0), {0, 0}, 15));
       p.Shape(Star(0, 0, 14, 3.5f, 4), VGrad(kWhite, kGold, -14, 14), 1.0f);
       p.Shape(Star(0, 0, 8, 2.5f, 4, -45), Hex(0xFFF6C0), 0.8f);
       Sparkle(p, 9, -10, 3);
       Sparkle(p, -10, 9, 3);
     }},
    {"Fireball",
     [](Pen& p) {
       p.Frame(15, 24);
       Comet(p, Hex(0xFFFFC0), Hex(0xFF8A10), Hex(0xE01000));
     }},
    {"Magic Lock",
     [](Pen& p) {
       p.Frame(19, 19);
       Padlock(p);
     }},
    {"Poison",
     [](Pen& p) {
       p.Frame(18, 22);
       p.Shape(DropShape(8.5f), RGrad(Hex(0xC8FF70), Hex(0x1E8A10), {-3, -2}, 12), 1.2f);
       p.Fill(Ellipse(-3.5f, 0, 1.6f, 3), Hex(0xFFFFFF, 0.7f));
       p.Shape(Circle(10, -12, 2.5f), Hex(0x9AF050), 0.9f);
       p.Shape(Circle(13, -6, 1.7f), Hex(0x9AF050), 0.9f);
     }},
    {"Telekinesis",
     [](Pen& p) {
       p.Frame(19, 13);
       const Paint wood = VGrad(Hex(0xD49A5A), Hex(0x7A4A1E), -7, 7);
       p.Shape(Rect(-7, -7, 14, 14), wood, 1.1f);
       p.Line(Contour{{-7, -7}, {7, 7}}, 1.4f, Hex(0x5A3410), 0);
       p.Line(Contour{{-7, 7}, {7, -7}}, 1.4f, Hex(0x5A3410), 0);
       const Col force = Hex(0xE89AFF);
       // Waves of force rising from below.
       p.Line(Arc(0, 24, 4, 3, 215, 325), 1.8f, force, 0.9f);
       p.Line(Arc(0, 24, 8.5f, 6, 220, 320), 1.8f, force, 0.9f);
       p.Line(Arc(0, 24, 13, 9, 225, 315), 1.8f, force, 0.9f);
     }},
    {"Teleport",
     [](Pen& p) {
       p.Reset();
       p.Line(Ellipse(10, 31, 6, 2.5f), 1.6f, Hex(0x9AD8FF), 0.8f, true);
       const Contour arc = Bez({10, 28}, {14, 2}, {30, 12}, 14);
       for (size_t i = 0; i + 1 < arc.size(); i += 2) {
         p.Line(Contour{arc[i], arc[i + 1]}, 2.2f, kWhite, 0.9f);
       }
       p.Shape(Poly({{34, 15}, {25, 15}, {31, 8}}), kWhite, 0.9f);
       p.Fill(Ellipse(30, 21, 6, 2.5f), Hex(0xBFEAFF, 0.9f));
       Sparkle(p, 30, 18, 3.5f);
     }},
    {"Unlock",
     [](Pen& p) {
       p.Frame(19, 18);
       Key(p);
     }},
    {"Wall of Stone",
     [](Pen& p) {
       p.Reset();
       const Paint stone = VGrad(Hex(0xC8C4BC), Hex(0x707070), 6, 32);
       for (int row = 0; row < 4; ++row) {
         const float y = 6 + row * 6.5f;
         const float shift = row % 2 ? -5 : 0;
         for (int col = 0; col < 4; ++col) {
           const float x = 4 + shift + col * 10.5f;
           const float x0 = std::max(4.0f, x), x1 = std::min(35.0f, x + 9.5f);
           if (x1 - x0 < 3) continue;
           p.Shape(RoundRect(x0, y, x1 - x0, 5.5f, 1.2f), stone, 0.9f);
         }
       }
     }},

    // ---- circle 4
    {"Arch Cure",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Line(Arc(0, 0, 15, 15, 0, 360), 1.2f, Hex(0xFFE890, 0.8f), 0);
       for (int i = 0; i < 8; ++i) {
         const float a = i * kPi / 4;
         Sparkle(p, 15 * std::cos(a), 15 * std::sin(a), 3, Hex(0xFFF6C0));
       }
       p.Frame(19, 20, 0.8f);
       Bottle(p, Hex(0xFF9A1E));
     }},
    {"Arch Protection",
     [](Pen& p) {
       p.Frame(14, 16, 0.8f);
       Shield(p, Hex(0x3A7AF0), kGold);
       p.Frame(24, 22, 0.8f);
       Shield(p, Hex(0x3A7AF0), kGold);
       p.Shape(Star(0, -1.5f, 5.5f, 2.2f, 5), Hex(0xFFFFFF), 0);
     }},
    {"Curse",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Circle(0, 0, 16), RGrad(Hex(0x9A30D0, 0.9f), Hex(0x5A107A, 0), {0, 0}, 16));
       Skull(p);
       DownBadge(p);
     }},
    {"Fire Field",
     [](Pen& p) {
       p.Frame(19, 29);
       p.Fill(Ellipse(0, 0, 16, 3), Hex(0x200800, 0.5f));
       for (float x : {-10.0f, 10.0f, 0.0f}) {
         p.Frame(19 + x, x == 0 ? 18 : 21, x == 0 ? 0.8f : 0.6f);
         Flame(p);
       }
     }},
    {"Greater Heal",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Circle(0, 0, 17), RGrad(Hex(0xFFF8C0, 0.95f), Hex(0xFFD040, 0), {0, 0}, 17));
       RedCross(p, 13, 4.5f);
       Sparkle(p, 11, -11, 4);
       Sparkle(p, -11, -11, 3);
     }},
    {"Lightning",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Circle(0, 0, 15), RGrad(Hex(0xFFFFA0, 0.6f), Hex(0xFFFF00, 0), {0, 0}, 15));
       Bolt(p);
     }},
    {"Mana Drain",
     [](Pen& p) {
       p.Frame(16, 18);
       p.Shape(DropShape(8), RGrad(Hex(0xA8E0FF), Hex(0x1030B0), {-3, -3}, 12), 1.2f);
       p.Fill(Ellipse(-3, -1, 1.4f, 2.6f), Hex(0xFFFFFF, 0.7f));
       p.Reset();
       p.Line(Contour{{24, 14}, {30, 8}}, 2.4f, Hex(0xFF5050), 1.0f);
       p.Shape(Poly({{35, 3}, {26, 5}, {33, 12}}), Hex(0xFF5050), 1.0f);
       p.Fill(Circle(10, 32, 1.6f), Hex(0x60A0FF));
       p.Fill(Circle(16, 34, 1.2f), Hex(0x60A0FF));
     }},
    {"Recall",
     [](Pen& p) {
       p.Frame(20, 21);
       RuneStone(p, Hex(0x80F0FF));
       p.Reset();
       p.Line(Arc(18, 16, 13, 12, 200, 300), 2.2f, kWhite, 1.0f);
       p.Shape(Poly({{2, 13}, {9, 13}, {4, 20}}), kWhite, 0.9f);
     }},

    // ---- circle 5
    {"Blade Spirits",
     [](Pen& p) {
       p.Frame(19, 19);
       for (int i = 0; i < 3; ++i) {
         const float r = i * 120.0f;
         p.Shape(Rotate(Taper({0, -2}, {8, -8}, {15, 2}, 5.5f, 3), r, {0, 0}),
                 LGrad(kWhite, kDeepSteel, {0, -8}, {6, 6}), 1.0f);
       }
       p.Shape(Circle(0, 0, 3), Hex(0xFFD24A), 0.9f);
     }},
    {"Dispel Field",
     [](Pen& p) {
       p.Frame(19, 19);
       Field(p, Hex(0x90D8FF), Hex(0x2050E0));
       NoSign(p, 14);
     }},
    {"Incognito",
     [](Pen& p) {
       p.Frame(19, 18);
       Path mask{Smooth({{-15, -5},
                         {-8, -8},
                         {0, -5},
                         {8, -8},
                         {15, -5},
                         {14, 3},
                         {8, 6},
                         {3, 4},
                         {0, 1},
                         {-3, 4},
                         {-8, 6},
                         {-14, 3}},
                        2)};
       mask.push_back(Reversed(Ellipse(-6.5f, -1.5f, 3.2f, 2.2f)));
       mask.push_back(Reversed(Ellipse(6.5f, -1.5f, 3.2f, 2.2f)));
       p.Shape(mask, VGrad(Hex(0xB070E0), Hex(0x4A1880), -8, 6), 1.2f);
       p.Line(Contour{{-15, -4}, {-17, 4}}, 1.5f, Hex(0xE8C8FF), 0.8f);
       p.Line(Contour{{15, -4}, {17, 4}}, 1.5f, Hex(0xE8C8FF), 0.8f);
       p.Fill(Ellipse(-8, -5, 3, 1), Hex(0xFFFFFF, 0.5f));
     }},
    {"Magic Reflection",
     [](Pen& p) {
       p.Frame(18, 16);
       p.Line(Contour{{0, 10}, {0, 19}}, 3.4f, VGrad(Hex(0xE0A858), Hex(0x8A5418), 10, 19));
       p.Shape(Ellipse(0, 0, 10, 12), LGrad(Hex(0xFFE88A), Hex(0xA06810), {-8, -10}, {8, 10}),
               1.1f);
       p.Fill(Ellipse(0, 0, 7.8f, 9.8f), LGrad(Hex(0xF0FCFF), Hex(0x6AA8D8), {-6, -8}, {6, 8}));
       p.Fill(Poly({{-5, -4}, {-1, -8}, {1, -7}, {-4, -2}}), Hex(0xFFFFFF, 0.9f));
       p.Reset();
       p.Line(Contour{{36, 4}, {26, 13}, {36, 22}}, 1.8f, Hex(0xFF60E0), 0.9f);
     }},
    {"Mind Blast",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Shape(Star(0, 0, 17, 9, 9, -80), RGrad(Hex(0xFFF8A0), Hex(0xFF7A10), {0, 0}, 17), 1.0f);
       p.Frame(19, 19, 0.72f);
       Brain(p);
     }},
    {"Paralyze",
     [](Pen& p) {
       p.Reset();
       const Paint steel = LGrad(kSteel, kDeepSteel, {0, 0}, {40, 40});
       const Pt links[] = {{9, 30}, {16, 23}, {23, 16}, {30, 9}};
       for (int i = 0; i < 4; ++i) {
         const Pt c = links[i];
         if (i % 2 == 0) {
           Path ring = Ring(c.x, c.y, 7.5f, 4.5f, 2.6f);
           for (auto& q : ring) q = Rotate(q, -45, c);
           p.Shape(ring, steel, 1.0f);
         } else {
           p.Line(Contour{{c.x - 5, c.y + 5}, {c.x + 5, c.y - 5}}, 3.2f, steel, 1.0f);
         }
       }
     }},
    {"Poison Field",
     [](Pen& p) {
       p.Frame(19, 19);
       Field(p, Hex(0xC8FF70), Hex(0x1E8A10));
       p.Fill(Circle(-4, -12, 2), Hex(0xC8FF70));
       p.Fill(Circle(5, -16, 1.5f), Hex(0xC8FF70));
       p.Fill(Circle(11, -13, 1.6f), Hex(0xC8FF70));
     }},
    {"Summon Creature",
     [](Pen& p) {
       p.Frame(19, 19);
       Paw(p);
     }},

    // ---- circle 6
    {"Dispel",
     [](Pen& p) {
       p.Frame(19, 19, 0.85f);
       Paw(p);
       p.Frame(19, 19);
       NoSign(p, 15);
     }},
    {"Energy Bolt",
     [](Pen& p) {
       p.Frame(16, 23);
       Comet(p, Hex(0xFFFFFF), Hex(0x40C8FF), Hex(0x3020E0));
       p.Reset();
       p.Line(Contour{{20, 19}, {23, 17}, {22, 14}, {26, 12}}, 1.0f, kWhite, 0);
     }},
    {"Explosion",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Shape(Star(0, 0, 17, 8, 11, -90), RGrad(Hex(0xFFE060), Hex(0xE02810), {0, 0}, 17), 1.0f);
       p.Fill(Star(0, 0, 10, 5, 9, -70), Hex(0xFFF0A0));
       p.Fill(Circle(0, 0, 4), kWhite);
     }},
    {"Invisibility",
     [](Pen& p) {
       p.Frame(19, 19);
       Contour body = Arc(0, 14, 11, 13, 180, 360);
       Contour outline = Arc(0, -6, 6, 6, 0, 360);
       p.Fill(Path{Positive(body), Circle(0, -6, 6)}, Hex(0xFFFFFF, 0.25f));
       const Col dash = Hex(0xFFFFFF, 0.95f);
       for (const Contour* c : {&body, &outline}) {
         for (size_t i = 0; i + 1 < c->size(); i += 2) {
           p.Line(Contour{(*c)[i], (*c)[i + 1]}, 1.6f, dash, 0);
         }
       }
       Sparkle(p, 11, -10, 3.5f);
       Sparkle(p, -11, -2, 2.5f);
     }},
    {"Mark",
     [](Pen& p) {
       p.Frame(17, 22);
       RuneStone(p, Hex(0xFF8A40));
       p.Reset();
       p.Shape(Taper({22, 19}, {29, 9}, {37, 2}, 6, 1), VGrad(kWhite, Hex(0xC0C8D8), 2, 19), 1.0f);
       p.Line(Contour{{22, 19}, {33, 6}}, 0.7f, Hex(0x8090A8), 0);
     }},
    {"Mass Curse",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Circle(0, 0, 17), RGrad(Hex(0x9A30D0, 0.9f), Hex(0x5A107A, 0), {0, 0}, 17));
       p.Frame(11, 13, 0.62f);
       Skull(p);
       p.Frame(27, 13, 0.62f);
       Skull(p);
       p.Frame(19, 25, 0.62f);
       Skull(p);
     }},
    {"Paralyze Field",
     [](Pen& p) {
       p.Frame(19, 19);
       Field(p, Hex(0xFFFFD0), Hex(0xE0C020));
       const Paint steel = LGrad(kSteel, kDeepSteel, {0, -4}, {0, 4});
       for (float x : {-10.0f, 0.0f, 10.0f}) p.Shape(Ring(x, 0, 4.5f, 3, 1.8f), steel, 0.9f);
       for (float x : {-5.0f, 5.0f}) p.Line(Contour{{x - 3, 0}, {x + 3, 0}}, 2, steel, 0.9f);
     }},
    {"Reveal",
     [](Pen& p) {
       p.Frame(16, 16);
       p.Line(Contour{{8, 8}, {17, 17}}, 4.2f, VGrad(Hex(0xC08040), Hex(0x603010), 8, 17), 1.1f);
       p.Fill(Circle(0, 0, 8.5f), Hex(0xC0F0FF, 0.55f));
       p.Shape(Ring(0, 0, 10, 10, 2.4f), LGrad(Hex(0xFFE88A), Hex(0xA06810), {-8, -8}, {8, 8}),
               1.0f);
       Sparkle(p, -2, -2, 5);
     }},

    // ---- circle 7
    {"Chain Lightning",
     [](Pen& p) {
       p.Frame(13, 16, 0.7f);
       Bolt(p);
       p.Frame(27, 14, 0.7f);
       Bolt(p);
       p.Frame(20, 26, 0.6f);
       Bolt(p);
     }},
    {"Energy Field",
     [](Pen& p) {
       p.Frame(19, 19);
       Field(p, Hex(0xC0F0FF), Hex(0x2040E0));
       p.Line(Contour{{-11, -4}, {-4, -8}, {-1, -2}, {5, -7}, {11, -2}}, 1.1f, kWhite, 0.8f);
     }},
    {"Flamestrike",
     [](Pen& p) {
       p.Frame(19, 29);
       p.Fill(Ellipse(0, 0, 14, 3.5f), RGrad(Hex(0xFFE080), Hex(0xC02000, 0.2f), {0, 0}, 14));
       p.Reset();
       p.Fill(Poly({{13, 2}, {25, 2}, {23, 28}, {15, 28}}),
              VGrad(Hex(0xFFF0A0, 0), Hex(0xFFB020, 0.9f), 2, 20));
       Contour tall = FlameShape();
       for (Pt& q : tall) q = {19 + q.x * 0.85f, 19 + q.y * 1.25f};
       p.Shape(tall, VGrad(Hex(0xFFF0A0), Hex(0xE02810), 0, 32), 1.0f);
       for (Pt& q : tall) q = {19 + (q.x - 19) * 0.45f, 26 + (q.y - 19) * 0.55f};
       p.Fill(tall, Hex(0xFFFFE0));
     }},
    {"Gate Travel",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Ellipse(0, 14, 13, 3), Hex(0x000010, 0.45f));
       p.Fill(Ellipse(0, 0, 14, 17), RGrad(Hex(0x80C8FF, 0.8f), Hex(0x2040FF, 0), {0, 0}, 17));
       p.Shape(Ellipse(0, 0, 9, 14), RGrad(Hex(0xFFFFFF), Hex(0x1850F0), {0, -2}, 13), 1.1f);
       p.Line(Arc(0, 0, 6, 10, 200, 330), 1.0f, Hex(0xFFFFFF, 0.8f), 0);
     }},
    {"Mana Vampire",
     [](Pen& p) {
       p.Frame(19, 20);
       Orb(p, 9, Hex(0xC0F0FF), Hex(0x1030C0));
       p.Frame(19, 12, 0.95f);
       p.Shape(BatShape(), VGrad(Hex(0x4A3A5A), Hex(0x100818), -7, 5), 0.9f);
       p.Fill(Circle(-1, -3, 0.8f), Hex(0xFF3030));
       p.Fill(Circle(1, -3, 0.8f), Hex(0xFF3030));
     }},
    {"Mass Dispel",
     [](Pen& p) {
       p.Frame(12, 14, 0.5f);
       Paw(p);
       p.Frame(26, 14, 0.5f);
       Paw(p);
       p.Frame(19, 25, 0.5f);
       Paw(p);
       p.Frame(19, 19);
       NoSign(p, 16.5f);
     }},
    {"Meteor Swarm",
     [](Pen& p) {
       const Pt at[] = {{10, 29}, {25, 21}, {13, 14}};
       const float size[] = {0.7f, 0.55f, 0.5f};
       for (int i = 0; i < 3; ++i) {
         p.Frame(at[i].x, at[i].y, size[i]);
         Comet(p, Hex(0x8A5030), Hex(0xFF8A10), Hex(0xD01000));
       }
     }},
    {"Polymorph",
     [](Pen& p) {
       p.Frame(19, 19);
       const Col turn = Hex(0xFFC040);
       p.Line(Arc(0, 0, 13, 13, 200, 330), 2.6f, turn, 1.0f);
       p.Line(Arc(0, 0, 13, 13, 20, 150), 2.6f, turn, 1.0f);
       p.Shape(Poly({{13.5f, -11}, {15.5f, -1}, {7, -4}}), turn, 1.0f);
       p.Shape(Poly({{-13.5f, 11}, {-15.5f, 1}, {-7, 4}}), turn, 1.0f);
       p.Shape(Circle(-3.5f, -2, 4.2f), Hex(0x60E060), 0.9f);
       p.Shape(Poly({{1, 6}, {5, -2}, {9, 6}}), Hex(0x60B0FF), 0.9f);
     }},

    // ---- circle 8
    {"Earthquake",
     [](Pen& p) {
       // The ground split in two, the right half thrown up.
       p.Reset();
       const Paint earth = VGrad(Hex(0xC89A60), Hex(0x5A3818), 17, 35);
       p.Shape(Poly({{3, 21}, {19, 19}, {17, 23}, {20, 27}, {18, 31}, {19, 35}, {3, 35}}), earth,
               1.0f);
       p.Shape(Poly({{22, 16}, {37, 16}, {37, 32}, {22, 33}, {21, 29}, {23, 25}, {20, 21}}), earth,
               1.0f);
       p.Line(Contour{{4, 21.5f}, {18, 19.5f}}, 2.2f, Hex(0x8AD060), 0);
       p.Line(Contour{{22.5f, 16.8f}, {36, 16.8f}}, 2.2f, Hex(0x8AD060), 0);
       const Col shake = Hex(0xFFFFFF, 0.9f);
       p.Line(Contour{{6, 8}, {9, 13}}, 1.5f, shake, 0);
       p.Line(Contour{{12, 4}, {13, 11}}, 1.5f, shake, 0);
       p.Line(Contour{{28, 4}, {27, 11}}, 1.5f, shake, 0);
       p.Line(Contour{{34, 8}, {31, 13}}, 1.5f, shake, 0);
       p.Shape(Poly({{19, 8}, {22, 7}, {23, 10}, {20, 11}}), Hex(0xA07850), 0.8f);
     }},
    {"Energy Vortex",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Circle(0, 0, 16), RGrad(Hex(0xE0A0FF, 0.9f), Hex(0x6020C0, 0), {0, 0}, 16));
       Contour spiral;
       for (int i = 0; i <= 80; ++i) {
         const float t = i / 80.0f * 3.2f * kPi;
         const float r = 1 + 4.5f * t / kPi;
         spiral.push_back({r * std::cos(t), r * std::sin(t)});
       }
       p.Line(spiral, 2.2f, Hex(0xF4E0FF), 1.0f);
       p.Fill(Circle(0, 0, 1.8f), kWhite);
     }},
    {"Resurrection",
     [](Pen& p) {
       p.Frame(19, 19);
       for (int i = 0; i < 12; ++i) {
         const float a = i * kPi / 6;
         p.Line(Contour{{10 * std::cos(a), 10 * std::sin(a)}, {17 * std::cos(a), 17 * std::sin(a)}},
                1.2f, Hex(0xFFF0A0, 0.7f), 0);
       }
       const Paint gold = LGrad(Hex(0xFFF0A0), Hex(0xC08010), {-8, -14}, {8, 14});
       p.Shape(Path{Ellipse(0, -8, 5, 6.5f), Reversed(Ellipse(0, -8, 2.4f, 3.8f)),
                    Rect(-2, -2, 4, 17), Rect(-10, -2.5f, 20, 4)},
               gold, 1.1f);
     }},
    {"Air Elemental",
     [](Pen& p) {
       p.Frame(19, 19);
       const Col wind = Hex(0xF0FAFF);
       const float w[] = {15, 12.5f, 10, 7.5f, 5, 3};
       for (int i = 0; i < 6; ++i) {
         const float y = -13 + i * 5.2f;
         const float x = (i % 2 ? 1.5f : -1.5f);
         p.Line(Arc(x, y, w[i], 2.2f, 0, 360), 1.8f, Alpha(wind, 0.95f - i * 0.05f), 0.9f, true);
       }
       Eyes(p, -7, Hex(0x80F0FF));
     }},
    {"Summon Daemon",
     [](Pen& p) {
       p.Frame(19, 21);
       const Paint horn = VGrad(Hex(0xFFF4D8), Hex(0x8A7A60), -15, -4);
       p.Shape(HornShape(-1), horn, 1.0f);
       p.Shape(HornShape(1), horn, 1.0f);
       p.Shape(Smooth({{-9, -6}, {0, -9}, {9, -6}, {9, 3}, {3, 11}, {0, 12}, {-3, 11}, {-9, 3}}, 2),
               VGrad(Hex(0xF04030), Hex(0x701010), -9, 12), 1.2f);
       p.Fill(Poly({{-7, -2}, {-2, 0}, {-6, 1}}), Hex(0xFFF040));
       p.Fill(Poly({{7, -2}, {2, 0}, {6, 1}}), Hex(0xFFF040));
       p.Line(Bez({-4, 6}, {0, 8}, {4, 6}), 1.1f, Hex(0x200000), 0);
     }},
    {"Earth Elemental",
     [](Pen& p) {
       p.Frame(19, 19);
       const Paint rock = LGrad(Hex(0xD0A878), Hex(0x4A3018), {-8, -12}, {8, 12});
       p.Shape(
           Poly({{-13, -5}, {-6, -14}, {5, -13}, {13, -5}, {12, 7}, {4, 13}, {-8, 12}, {-14, 3}}),
           rock, 1.2f);
       p.Fill(Poly({{-6, -14}, {5, -13}, {2, -8}, {-5, -9}}), Hex(0xFFE8C0, 0.35f));
       p.Line(Contour{{-13, -5}, {-5, -9}, {2, -8}, {13, -5}}, 0.8f, Hex(0x3A2410, 0.8f), 0);
       p.Line(Contour{{-5, 12}, {-3, 6}, {1, 4}, {4, 8}}, 0.9f, Hex(0x3A2410), 0);
       p.Shape(Poly({{-15, 8}, {-11, 6}, {-9, 11}, {-14, 13}}), rock, 0.9f);
       p.Shape(Poly({{13, 9}, {17, 8}, {17, 12}, {14, 13}}), rock, 0.9f);
       Eyes(p, -3, Hex(0xFFB030));
     }},
    {"Fire Elemental",
     [](Pen& p) {
       p.Frame(19, 21, 1.05f);
       Flame(p);
       Eyes(p, -1, Hex(0xFFFF80));
     }},
    {"Water Elemental",
     [](Pen& p) {
       p.Frame(19, 21);
       p.Shape(Smooth({{-13, 10},
                       {-12, -2},
                       {-5, -11},
                       {4, -13},
                       {11, -8},
                       {6, -8},
                       {3, -4},
                       {7, 0},
                       {12, 4},
                       {13, 10}},
                      2),
               VGrad(Hex(0x90E0FF), Hex(0x0838A8), -13, 10), 1.2f);
       p.Line(Bez({-10, 2}, {-8, -7}, {1, -10}), 1.2f, Hex(0xFFFFFF, 0.8f), 0);
       p.Line(Bez({-9, 8}, {0, 4}, {11, 8}), 1.0f, Hex(0xC0F0FF, 0.8f), 0);
       Eyes(p, -2, Hex(0xE0FFFF));
     }},
}};

// ================================================================== the 8 reagents

// Each drawn on a transparent 25 x 23 canvas, centred on (12.5, 11.5).
const std::array<void (*)(Pen&), 8> kReagentRecipes{{
    // BP: a black pearl with a blue sheen.
    [](Pen& p) {
      p.Frame(12.5f, 12);
      p.Fill(Ellipse(0, 9, 8, 1.6f), Hex(0x000000, 0.25f));
      p.Shape(Circle(0, 0, 9), RGrad(Hex(0x8A90B8), Hex(0x06060C), {-3, -3}, 11), 0.8f);
      p.Fill(Ellipse(-3.5f, -4, 2.6f, 1.6f), Hex(0xFFFFFF, 0.9f));
      p.Line(Arc(0, 0, 7.2f, 7.2f, 20, 110), 1.2f, Hex(0x8090FF, 0.45f), 0);
    },
    // BM: a tuft of blood-red moss.
    [](Pen& p) {
      p.Frame(12.5f, 12);
      Path tuft{Ellipse(0, 5, 10, 5)};
      for (int i = 0; i < 9; ++i) {  // fronds fanning out of the clump
        const float a = (-160 + i * 17.5f) * kPi / 180;
        tuft.push_back(Taper({0, 6}, {5 * std::cos(a), 2 + 4 * std::sin(a)},
                             {11 * std::cos(a), 5 + 13 * std::sin(a)}, 3.2f, 3));
      }
      p.Shape(tuft, RGrad(Hex(0xF05050), Hex(0x5A0008), {0, -2}, 13), 0.9f);
      const Col vein = Hex(0x3A0004, 0.8f);
      for (float x : {-5.0f, 0.0f, 5.0f})
        p.Line(Bez({x * 0.4f, 8}, {x, 4}, {x * 1.4f, -2}), 0.5f, vein, 0);
    },
    // GL: a garlic bulb.
    [](Pen& p) {
      p.Frame(12.5f, 12);
      p.Line(Contour{{-2, 9}, {-3, 11}}, 0.8f, Hex(0xA09070), 0);
      p.Line(Contour{{0, 9}, {0, 11}}, 0.8f, Hex(0xA09070), 0);
      p.Line(Contour{{2, 9}, {3, 11}}, 0.8f, Hex(0xA09070), 0);
      p.Shape(
          Smooth({{0, -11}, {2, -6}, {8, -1}, {8, 6}, {3, 9}, {-3, 9}, {-8, 6}, {-8, -1}, {-2, -6}},
                 2),
          LGrad(kWhite, Hex(0xC8BCA8), {-4, -4}, {6, 8}), 0.9f);
      const Col seam = Hex(0xA89880);
      p.Line(Bez({0, -5}, {-6, 1}, {-2, 8.5f}), 0.7f, seam, 0);
      p.Line(Bez({0, -5}, {6, 1}, {2, 8.5f}), 0.7f, seam, 0);
      p.Line(Bez({0, -5}, {0, 2}, {0, 9}), 0.6f, seam, 0);
      p.Fill(Ellipse(-4, 0, 1.2f, 2.6f), Hex(0xFFFFFF, 0.9f));
    },
    // GS: a pale forked ginseng root with its red berries.
    [](Pen& p) {
      p.Frame(12.5f, 12);
      const Paint root = LGrad(Hex(0xFFEAC0), Hex(0xC09050), {-4, -4}, {4, 10});
      p.Shape(Path{Taper({0, -4}, {-1, 2}, {-6, 11}, 5, 6),
                   Taper({0, -4}, {2, 3}, {6, 10}, 4.5f, 6), Ellipse(0, -1, 3.5f, 5)},
              root, 0.8f);
      p.Line(Contour{{-1, -1}, {1, 0}}, 0.5f, Hex(0x9A7040), 0);
      p.Line(Contour{{-1, 3}, {1, 3.5f}}, 0.5f, Hex(0x9A7040), 0);
      p.Line(Bez({0, -6}, {0, -9}, {3, -10}), 1, Hex(0x2E8A1E), 0.6f);
      p.Shape(Path{Circle(3, -9, 1.9f), Circle(6, -8, 1.9f), Circle(4.5f, -11, 1.9f)},
              Hex(0xE82020), 0.7f);
      p.Shape(Taper({0, -6}, {-5, -10}, {-9, -8}, 3.5f), Hex(0x40B030), 0.6f);
    },
    // MR: a dark, gnarled mandrake root under broad leaves.
    [](Pen& p) {
      p.Frame(12.5f, 12);
      const Paint root = LGrad(Hex(0xB07848), Hex(0x4A2810), {-4, -2}, {4, 11});
      p.Shape(Path{Ellipse(0, 1, 4.5f, 5.5f), Taper({-1, 3}, {-4, 7}, {-8, 11}, 4, 4),
                   Taper({1, 3}, {4, 8}, {4, 11.5f}, 4, 4),
                   Taper({-3, 0}, {-7, 1}, {-10, 4}, 2.5f, 2.5f)},
              root, 0.8f);
      p.Fill(Circle(-1.5f, 0, 0.7f), Hex(0x1A0A04));
      p.Fill(Circle(1.5f, 0, 0.7f), Hex(0x1A0A04));
      const Paint leaf = VGrad(Hex(0x80D850), Hex(0x1E6A14), -11, -4);
      p.Shape(Taper({0, -4}, {-6, -7}, {-9, -12}, 5), leaf, 0.7f);
      p.Shape(Taper({0, -4}, {6, -7}, {9, -12}, 5), leaf, 0.7f);
      p.Shape(Taper({0, -4}, {-1, -8}, {1, -12}, 4.5f), leaf, 0.7f);
    },
    // NS: a purple nightshade flower with a dark berry.
    [](Pen& p) {
      p.Frame(11, 11);
      p.Line(Bez({7, 11}, {8, 5}, {5, 2}), 1.1f, Hex(0x2E7A1E), 0.6f);
      p.Shape(Circle(7.5f, 7, 3.2f), RGrad(Hex(0x9070C0), Hex(0x1A0830), {6.5f, 6}, 4), 0.8f);
      Path petals;
      for (int i = 0; i < 5; ++i) {
        petals.push_back(Rotate(Ellipse(0, -5, 3.2f, 5), i * 72.0f, {0, 0}));
      }
      p.Shape(petals, RGrad(Hex(0xE0A0FF), Hex(0x6018A0), {0, 0}, 10), 0.8f);
      p.Shape(Star(0, 0, 3, 1.2f, 5), Hex(0xFFE030), 0.5f);
      p.Fill(Circle(6.5f, 6, 0.9f), Hex(0xFFFFFF, 0.8f));
    },
    // SA: a heap of yellow sulphurous ash.
    [](Pen& p) {
      p.Frame(12.5f, 12);
      p.Shape(Smooth({{-12, 9}, {-8, 2}, {-3, -7}, {1, -7}, {4, -1}, {7, -3}, {10, 2}, {12, 9}}, 2),
              VGrad(Hex(0xFFF080), Hex(0xB08A10), -7, 9), 0.9f);
      const Col speck = Hex(0x806000);
      for (Pt q : {Pt{-5, 5}, Pt{-1, 1}, Pt{3, 4}, Pt{0, 7}, Pt{6, 7}, Pt{-7, 8}, Pt{2, -3}}) {
        p.Fill(Circle(q.x, q.y, 0.6f), speck);
      }
      p.Fill(Ellipse(-2, -3, 1.5f, 2.5f), Hex(0xFFFFE0, 0.8f));
    },
    // SS: spider's silk, a white web.
    [](Pen& p) {
      p.Frame(12.5f, 11.5f);
      const Col silk = Hex(0xFFFFFF);
      p.ink = Hex(0x505868, 0.85f);
      for (int i = 0; i < 8; ++i) {
        const float a = i * kPi / 4 + 0.2f;
        p.Line(Contour{{0, 0}, {11 * std::cos(a), 10.5f * std::sin(a)}}, 1.1f, silk, 0.6f);
      }
      for (float r : {3.5f, 6.5f, 9.5f}) {
        Contour ring;
        for (int i = 0; i < 8; ++i) {
          const float a = i * kPi / 4 + 0.2f;
          ring.push_back({r * std::cos(a), r * 0.95f * std::sin(a)});
        }
        p.Line(ring, 1.0f, silk, 0.6f, true);
      }
    },
}};

// ------------------------------------------------------------------ circles

// The colour of each circle, from green for the first to black and silver for the eighth.
constexpr std::array<uint32_t, 8> kCircleColors{0x4FA03A, 0x1E9C9C, 0x2864E6, 0x8C3CD2,
                                                0xDC4696, 0xD22828, 0xEB9614, 0x3A3848};

void DrawBackground(Pen& p, int circle) {
  const Col base = Hex(kCircleColors[static_cast<size_t>(circle)]);
  p.Reset();
  p.Fill(Rect(0, 0, 40, 40), RGrad(Lighter(base, 0.2f), Darker(base, 0.45f), {19, 16}, 30));
}

// Drawn over the symbol, so that the frame stays whole: two rings of `line` whole pixels each.
void DrawFrame(raster::Canvas& canvas, int circle, int line) {
  const Col base = Hex(kCircleColors[static_cast<size_t>(circle)]);
  Pen p(canvas);
  Col frame = Lighter(base, 0.3f);
  if (circle == 7) frame = Hex(0xC8CDDC);  // the deepest circle: a silver frame
  const auto ring = [&](int inset, Col colour) {
    const auto at = static_cast<float>(inset);
    const auto size = static_cast<float>(canvas.Width() - 2 * inset);
    const auto inner = static_cast<float>(line);
    p.Fill(Path{Rect(at, at, size, size),
                Reversed(Rect(at + inner, at + inner, size - 2 * inner, size - 2 * inner))},
           colour);
  };
  ring(0, Darker(base, 0.7f));
  ring(line, frame);
}

}  // namespace

raster::Canvas DrawSpellIcon(int index, int size) {
  raster::Canvas canvas(size, size);
  raster::Pen pen(canvas, static_cast<float>(size) / kSpellIconSize);
  DrawBackground(pen, index / 8);
  kSpellRecipes[static_cast<size_t>(index)].draw(pen);
  DrawFrame(canvas, index / 8, std::max(size / kSpellIconSize, 1));
  return canvas;
}

raster::Canvas DrawReagentIcon(int index, win::Dpi dpi) {
  raster::Canvas canvas(dpi.Scale(kReagentIconWidth), dpi.Scale(kReagentIconHeight));
  raster::Pen pen(canvas, static_cast<float>(dpi.Value()) / win::Dpi::kDesign);
  kReagentRecipes[static_cast<size_t>(index)](pen);
  return canvas;
}

}  // namespace quillorb
