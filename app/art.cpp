#include "app/art.h"

#include "win/bitmap.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quillorb {
namespace {

// The 16 colours of the classic palette, by letter. '.' is transparent.
constexpr win::PaletteEntry kPalette[] = {
    {'k', RGB(0, 0, 0)},       {'R', RGB(128, 0, 0)},     {'d', RGB(0, 128, 0)},
    {'Y', RGB(128, 128, 0)},   {'B', RGB(0, 0, 128)},     {'p', RGB(128, 0, 128)},
    {'t', RGB(0, 128, 128)},   {'s', RGB(192, 192, 192)}, {'g', RGB(128, 128, 128)},
    {'r', RGB(255, 0, 0)},     {'G', RGB(0, 255, 0)},     {'y', RGB(255, 255, 0)},
    {'b', RGB(0, 0, 255)},     {'m', RGB(255, 0, 255)},   {'c', RGB(0, 255, 255)},
    {'w', RGB(255, 255, 255)},
};
constexpr COLORREF kTransparentKey = RGB(255, 0, 255);

template <size_t H>
struct Art {
  int width;
  std::array<std::string_view, H> rows;
};

// Every row as wide as the first, and the lower-left pixel transparent: checked at compile time.
template <size_t H>
consteval bool WellFormed(const Art<H>& art) {
  for (auto row : art.rows) {
    if (row.size() != static_cast<size_t>(art.width)) return false;
  }
  return art.rows[H - 1][0] == '.';
}

// Count: tally marks struck through.
constexpr Art<14> kCount{
    14,
    {"..............", ".k..k..k..k...", ".k..k..k..k...", ".k..k..k..k..r", ".k..k..k..k.rr",
     ".k..k..k..krr.", ".k..k..k.rrk..", ".k..k..krrkk..", ".k..k.rrkk.k..", ".k..krrk...k..",
     ".k.rrk.k...k..", ".krrkk.k...k..", "rr............", ".............."}};

// Bank: stacked gold coins.
constexpr Art<16> kBank{13,
                        {".............", ".............", "....kkkkk....", "...kyyyyyk...",
                         "...kYYYYYk...", "...kyyyyyk...", "..kkYYYYYkk..", ".kyyyyyyyyyk.",
                         ".kYYYYYYYYYk.", ".kyyyyyyyyyk.", "kkYYYYYYYYYkk", "kyyyyyyyyyyyk",
                         "kYYYYYYYYYYYk", "kyyyyyyyyyyyk", ".kkkkkkkkkkk.", "............."}};

// Configuration: a cog wheel.
constexpr Art<16> kConfig{
    16,
    {"................", ".......kk.......", "...kk.kssk.kk...", "...ksksssskwk...",
     "....kssssssk....", "..kksskkkksskk..", ".ksssk....ksssk.", ".kssk......kssk.",
     ".kssk......kssk.", ".ksssk....ksssk.", "..kksskkkksskk..", "....kssssssk....",
     "...ksksssskgk...", "...kk.kssk.kk...", ".......kk.......", "................"}};

// Undo: an arrow turning back to the left.
constexpr Art<16> kUndo{
    16,
    {"................", "................", "....k...........", "...kk...........",
     "..kBkkkkkkkk....", ".kBbbbbbbbbbk...", "kBbbbbbbbbbbbk..", ".kBbbbbbbbbbbbk.",
     "..kBkkkkkkkkbbk.", "...kk......kbbk.", "....k......kbbk.", "...........kbbk.",
     "..........kbbk..", "........kkbbk...", "........kkkk....", "................"}};

// Inscription: a quill over a scroll.
constexpr Art<16> kInscription{
    16,
    {"..............k.", ".............kwk", "............kwsk", "...........kwsk.",
     "..........kwsk..", ".kkkkkkkkkwskkk.", "kwwwwwwwkwskwwwk", ".kwkkkwwkkkwwwk.",
     ".kwwwwwkRwwwwwk.", ".kwkkkkRwkkkwwk.", ".kwwwwwwwwwwwwk.", ".kwkkkkkkkwwwwk.",
     ".kwwwwwwwwwwwwk.", "kwwwwwwwwwwwwwwk", ".kkkkkkkkkkkkkk.", "................"}};

// Select Character: head and shoulders.
constexpr Art<16> kSelectCharacter{
    16,
    {"................", "......kkkk......", ".....kyyyyk.....", "....kyyyyyyk....",
     "....kykyykyk....", "....kyyyyyyk....", ".....kyRRyk.....", "......kkkk......",
     "....kkbbbbkk....", "...kbbbbbbbbk...", "..kbbbbkkbbbbk..", "..kbbbbbbbbbbk..",
     "..kbbbbbbbbbbk..", "..kbbbbbbbbbbk..", "..kkkkkkkkkkkk..", "................"}};

// Analysis: a bar chart.
constexpr Art<16> kAnalysis{
    16,
    {"................", "..k.............", "..k.........kkk.", "..k.........krk.",
     "..k.........krk.", "..k.....kkk.krk.", "..k.....kGk.krk.", "..k.....kGk.krk.",
     "..k.kkk.kGk.krk.", "..k.kbk.kGk.krk.", "..k.kbk.kGk.krk.", "..k.kbk.kGk.krk.",
     "..k.kbk.kGk.krk.", "..kkkkkkkkkkkkkk", "..k.............", "................"}};

// Original Rune Casting: a speech bubble full of words.
constexpr Art<16> kRuneCasting{
    16,
    {"................", "..kkkkkkkkkkkk..", ".kwwwwwwwwwwwwk.", ".kwBBBwBBwBBBwk.",
     ".kwwwwwwwwwwwwk.", ".kwBBwBBBBwBBwk.", ".kwwwwwwwwwwwwk.", ".kwBBBBwBBBwwwk.",
     ".kwwwwwwwwwwwwk.", "..kkkwwkkkkkkk..", "....kwk.........", "....kk..........",
     "...k............", "................", "................", "................"}};

// The window icon: a quill across a glowing orb.
constexpr Art<32> kIcon{32,
                        {"................................", "............................kY..",
                         "..........................kkYY..", ".........................ksYYk..",
                         ".......................kkssYwk..", "......................ksssYww...",
                         ".............k.......ksssYYwk...", ".........kkkkkkkkk...kssYYwwk...",
                         ".......kkwwwwwwwcckkksssYwwwk...", "......kkwwwwwwcccccksssYwwwk....",
                         ".....kwwwwwwwcccccckssYYwwwk....", "....kwwwwwwwccccccbkssYwwwk.....",
                         "...kkwwwwwccccccbbbssYwwwk......", "...kwwwwwccccccbbbksYYwwk.......",
                         "..kwwwwwccccccbbbbkYYwkkk.......", "..kwwwccccccbbbbbbkYwkbBk.......",
                         "..kwwccccccbbbbbbbYkkBBBk.......", "..kwccccccbbbbbbbYYbBBBBk.......",
                         ".kkcccccbbbbbbbbbYBBBBBBkk......", "..kccccbbbbbbbbbYBBBBBBBk.......",
                         "..kcccbbbbbbbbbYYBBBBBBpk.......", "..kcbbbbbbbbbbYYBBBBBpppk.......",
                         "..kbbbbbbbbbbBYBBBBBppppk.......", "...kbbbbbbbbBYBBBBBppppk........",
                         "...kkbbbbbBBkkBBBpppppkk........", "....kbbbbBBkkBBBppppppk.........",
                         ".....kbbBBBkBBBppppppk..........", "......kkBBBBBppppppkk...........",
                         ".......kkBBBppppppkk............", ".........kkkkkkkkk..............",
                         ".............k..................", "................................"}};

static_assert(WellFormed(kCount) && WellFormed(kBank) && WellFormed(kConfig) && WellFormed(kUndo) &&
              WellFormed(kInscription) && WellFormed(kSelectCharacter) && WellFormed(kAnalysis) &&
              WellFormed(kRuneCasting) && WellFormed(kIcon));

// A 32-bit top-down DIB section with the art's pixels; transparent pixels get `transparent`.
template <size_t H>
win::Bitmap Render(const Art<H>& art, COLORREF transparent) {
  return win::CreatePixelArt(art.rows, kPalette, transparent);
}

}  // namespace

win::Bitmap MakeGlyph(Glyph glyph) {
  switch (glyph) {
    case Glyph::Count:
      return Render(kCount, kTransparentKey);
    case Glyph::Bank:
      return Render(kBank, kTransparentKey);
    case Glyph::Config:
      return Render(kConfig, kTransparentKey);
    case Glyph::Undo:
      return Render(kUndo, kTransparentKey);
    case Glyph::Inscription:
      return Render(kInscription, kTransparentKey);
    case Glyph::SelectCharacter:
      return Render(kSelectCharacter, kTransparentKey);
    case Glyph::Analysis:
      return Render(kAnalysis, kTransparentKey);
    case Glyph::RuneCasting:
      return Render(kRuneCasting, kTransparentKey);
  }
  return win::Bitmap();
}

win::Icon MakeWindowIcon(int multiple) {
  // Each pixel of the art as a multiple x multiple square.
  const auto m = static_cast<size_t>(std::max(multiple, 1));
  const size_t side = 32 * m;
  std::vector<std::string> rows;
  for (std::string_view row : kIcon.rows) {
    std::string wide;
    for (char c : row) wide.append(m, c);
    rows.insert(rows.end(), m, wide);
  }
  const std::vector<std::string_view> views(rows.begin(), rows.end());
  win::Bitmap color = win::CreatePixelArt(views, kPalette, RGB(0, 0, 0));
  // The mask: 1 where the art is transparent, rows of whole 16-bit words.
  const size_t stride = (side + 15) / 16 * 2;
  std::vector<BYTE> maskBits(stride * side, 0);
  for (size_t y = 0; y < side; ++y) {
    for (size_t x = 0; x < side; ++x) {
      if (rows[y][x] == '.') maskBits[y * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
    }
  }
  win::Bitmap mask(
      CreateBitmap(static_cast<int>(side), static_cast<int>(side), 1, 1, maskBits.data()));
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = color.get();
  info.hbmMask = mask.get();
  return win::Icon(CreateIconIndirect(&info));
}

}  // namespace quillorb
