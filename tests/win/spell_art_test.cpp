// The spell atlases and the reagent icons, checked by their pixels (tools/art_preview writes
// them as pictures to look at).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/spell_art.h"
#include "win/bitmap.h"

namespace quillorb {
namespace {

using win::Pixels;
using win::ReadPixels;

int R(DWORD c) {
  return static_cast<int>((c >> 16) & 0xFF);
}
int G(DWORD c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
int B(DWORD c) {
  return static_cast<int>(c & 0xFF);
}
int Distance(DWORD a, DWORD b) {
  return abs(R(a) - R(b)) + abs(G(a) - G(b)) + abs(B(a) - B(b));
}

// Pixels of cell i that differ clearly from the same pixels of cell j.
int CellDifference(const Pixels& a, int i, const Pixels& b, int j) {
  int n = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      n += Distance(a.At(40 * (i % 8) + x, 40 * (i / 8) + y),
                    b.At(40 * (j % 8) + x, 40 * (j / 8) + y)) > 60;
    }
  }
  return n;
}

class SpellAtlas : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SpellAtlases both = MakeSpellAtlases();
    normal_ = new Pixels(ReadPixels(both.normal.get()));
    greyed_ = new Pixels(ReadPixels(both.greyed.get()));
  }
  static void TearDownTestSuite() {
    delete normal_;
    delete greyed_;
  }
  static Pixels* normal_;
  static Pixels* greyed_;
};
Pixels* SpellAtlas::normal_ = nullptr;
Pixels* SpellAtlas::greyed_ = nullptr;

TEST_F(SpellAtlas, BothAre320SquareAndTheSingleAtlasesMatch) {
  EXPECT_EQ(normal_->width, 320);
  EXPECT_EQ(normal_->height, 320);
  EXPECT_EQ(greyed_->width, 320);
  EXPECT_EQ(greyed_->height, 320);
  EXPECT_EQ(ReadPixels(MakeSpellAtlas(false).get()).px, normal_->px);
  EXPECT_EQ(ReadPixels(MakeSpellAtlas(true).get()).px, greyed_->px);
}

// Icons drawn one by one on demand are the icons of the full drawing; the others stay empty.
TEST_F(SpellAtlas, IconsDrawnOnDemandMatchTheFullDrawing) {
  SpellAtlases lazy = CreateSpellAtlases();
  ASSERT_TRUE(lazy);
  for (int i : {5, 63, 5, 0}) ASSERT_TRUE(lazy.Draw(i));
  EXPECT_FALSE(lazy.Draw(64));
  EXPECT_FALSE(lazy.Draw(-1));
  EXPECT_EQ(lazy.drawn.count(), 3u);
  const Pixels normal = ReadPixels(lazy.normal.get()), greyed = ReadPixels(lazy.greyed.get());
  for (int i = 0; i < 64; ++i) {
    const bool drawn = i == 0 || i == 5 || i == 63;
    int same = 0;
    for (int y = 40 * (i / 8); y < 40 * (i / 8 + 1); ++y) {
      for (int x = 40 * (i % 8); x < 40 * (i % 8 + 1); ++x) {
        same += normal.At(x, y) == normal_->At(x, y) && greyed.At(x, y) == greyed_->At(x, y);
        if (!drawn) {
          EXPECT_EQ(normal.At(x, y) | greyed.At(x, y), 0u) << "spell " << i;
        }
      }
    }
    if (drawn) {
      EXPECT_EQ(same, 1600) << "spell " << i;
    }
  }
}

TEST_F(SpellAtlas, EverySpellHasItsOwnSymbol) {
  for (int i = 0; i < 64; ++i) {
    for (int j = i + 1; j < 64; ++j) {
      EXPECT_GT(CellDifference(*normal_, i, *normal_, j), 80) << "spells " << i << " and " << j;
    }
  }
}

// The frame at the middle of a cell's left and bottom edges carries the circle's colour.
TEST_F(SpellAtlas, FrameColourIsSharedWithinACircleAndDiffersBetweenCircles) {
  std::vector<DWORD> circle(8);
  for (int i = 0; i < 64; ++i) {
    const int left = 40 * (i % 8), top = 40 * (i / 8);
    const DWORD side = normal_->At(left + 1, top + 20), bottom = normal_->At(left + 12, top + 38);
    EXPECT_EQ(side, bottom) << "spell " << i;
    if (i % 8 == 0) {
      circle[static_cast<size_t>(i / 8)] = side;
    } else {
      EXPECT_EQ(side, circle[static_cast<size_t>(i / 8)]) << "spell " << i;
    }
  }
  for (int a = 0; a < 8; ++a) {
    for (int b = a + 1; b < 8; ++b) {
      EXPECT_GT(Distance(circle[static_cast<size_t>(a)], circle[static_cast<size_t>(b)]), 90)
          << "circles " << a + 1 << " and " << b + 1;
    }
  }
}

TEST_F(SpellAtlas, GreyedIconsAreLightGreyAndStillTellSpellsApart) {
  long long normalSum = 0, greyedSum = 0;
  for (int y = 0; y < 320; ++y) {
    for (int x = 0; x < 320; ++x) {
      const DWORD g = greyed_->At(x, y);
      ASSERT_LE(abs(R(g) - G(g)) + abs(G(g) - B(g)), 2) << x << "," << y;
      greyedSum += G(g);
      const DWORD n = normal_->At(x, y);
      normalSum += (R(n) + G(n) + B(n)) / 3;
    }
  }
  EXPECT_GT(greyedSum, normalSum + 320LL * 320 * 40) << "greyed icons should look lighter";
  for (int i = 0; i < 64; ++i) {
    EXPECT_GT(CellDifference(*greyed_, i, *normal_, i), 400) << "spell " << i;
    for (int j = i + 1; j < (i / 8 + 1) * 8; ++j) {
      int differ = 0;
      for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
          differ += Distance(greyed_->At(40 * (i % 8) + x, 40 * (i / 8) + y),
                             greyed_->At(40 * (j % 8) + x, 40 * (j / 8) + y)) > 24;
        }
      }
      EXPECT_GT(differ, 60) << "greyed spells " << i << " and " << j;
    }
  }
}

TEST(ReagentIcons, TransparentAroundOpaqueInTheMiddleAndEachDifferent) {
  const COLORREF face = RGB(212, 208, 200), dark = RGB(20, 40, 60);
  std::vector<Pixels> icons;
  for (int i = 0; i < 8; ++i) {
    const Pixels light = ReadPixels(MakeReagentPicture(i, face).get());
    const Pixels other = ReadPixels(MakeReagentPicture(i, dark).get());
    ASSERT_EQ(light.width, 25);
    ASSERT_EQ(light.height, 23);
    for (auto [x, y] : {std::pair{0, 0}, {24, 0}, {0, 22}, {24, 22}}) {
      EXPECT_EQ(light.At(x, y), 0xD4D0C8u) << "icon " << i << " at " << x << "," << y;
      EXPECT_EQ(other.At(x, y), 0x14283Cu) << "icon " << i;
    }
    int opaque = 0;
    for (int y = 6; y < 17; ++y) {
      for (int x = 7; x < 18; ++x) opaque += light.At(x, y) == other.At(x, y);
    }
    // Even the web (thin threads) covers its centre and a fair part of the middle.
    EXPECT_EQ(light.At(12, 11), other.At(12, 11)) << "icon " << i;
    EXPECT_GT(opaque, 20) << "icon " << i;
    icons.push_back(light);
  }
  for (int i = 0; i < 8; ++i) {
    for (int j = i + 1; j < 8; ++j) {
      int differ = 0;
      for (size_t k = 0; k < icons[0].px.size(); ++k) {
        differ +=
            Distance(icons[static_cast<size_t>(i)].px[k], icons[static_cast<size_t>(j)].px[k]) > 60;
      }
      EXPECT_GT(differ, 60) << "reagents " << i << " and " << j;
    }
  }
  const Pixels none = ReadPixels(MakeReagentPicture(8, face).get());
  for (DWORD c : none.px) ASSERT_EQ(c & 0xFFFFFF, 0xD4D0C8u);
}

// The image-list path (alpha blending in GDI) gives the same picture as the composed one.
TEST(ReagentIcons, ListDrawsLikeThePicture) {
  const ReagentIconList list;
  const COLORREF face = RGB(212, 208, 200);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, 25, 23);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, target);
  HBRUSH brush = CreateSolidBrush(face);
  RECT all{0, 0, 25, 23};
  for (int i = 0; i < 8; ++i) {
    FillRect(dc, &all, brush);
    ASSERT_TRUE(list.Draw(dc, i, 0, 0));
    GdiFlush();
    SelectObject(dc, old);
    const Pixels drawn = ReadPixels(target);
    SelectObject(dc, target);
    const Pixels composed = ReadPixels(MakeReagentPicture(i, face).get());
    int apart = 0;
    for (size_t k = 0; k < drawn.px.size(); ++k) apart += Distance(drawn.px[k], composed.px[k]) > 9;
    EXPECT_EQ(apart, 0) << "icon " << i;
  }
  EXPECT_FALSE(list.Draw(dc, 8, 0, 0));
  EXPECT_FALSE(list.Draw(dc, -1, 0, 0));
  SelectObject(dc, old);
  DeleteObject(brush);
  DeleteObject(target);
  DeleteDC(dc);
}

// At twice and three times the scale every picture is drawn anew at its full size, and each
// square of pixels averages to the picture at 96 DPI: every part of every recipe grows with the
// scale (none stays at its 96-DPI size or place), and the edges stay as sharp as at 96 DPI.
TEST(ScaledPictures, AverageToThePicturesAt96) {
  const COLORREF face = RGB(212, 208, 200);
  const Pixels spells96 = ReadPixels(MakeSpellAtlas(false).get());
  for (int k : {2, 3}) {
    SCOPED_TRACE(k);
    const win::Dpi dpi(96 * k);
    const Pixels spells = ReadPixels(MakeSpellAtlas(false, dpi).get());
    ASSERT_EQ(spells.width, 320 * k);
    // Mean channel difference of the averaged squares, per picture.
    const auto apart = [k](const Pixels& big, int bx, int by, const Pixels& small, int sx, int sy,
                           int w, int h) {
      long total = 0;
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          int r = 0, g = 0, b = 0;
          for (int dy = 0; dy < k; ++dy) {
            for (int dx = 0; dx < k; ++dx) {
              const DWORD c = big.At(bx + x * k + dx, by + y * k + dy);
              r += R(c), g += G(c), b += B(c);
            }
          }
          const DWORD c = small.At(sx + x, sy + y);
          total += abs(r / (k * k) - R(c)) + abs(g / (k * k) - G(c)) + abs(b / (k * k) - B(c));
        }
      }
      return static_cast<double>(total) / (3.0 * w * h);
    };
    for (int i = 0; i < 64; ++i) {
      EXPECT_LT(apart(spells, 40 * k * (i % 8), 40 * k * (i / 8), spells96, 40 * (i % 8),
                      40 * (i / 8), 40, 40),
                4.0)
          << "spell " << i;
    }
    for (int i = 0; i < 8; ++i) {
      const Pixels big = ReadPixels(MakeReagentPicture(i, face, dpi).get());
      ASSERT_EQ(big.width, 25 * k);
      ASSERT_EQ(big.height, 23 * k);
      EXPECT_LT(apart(big, 0, 0, ReadPixels(MakeReagentPicture(i, face).get()), 0, 0, 25, 23), 4.0)
          << "reagent " << i;
    }
  }
}

}  // namespace
}  // namespace quillorb
