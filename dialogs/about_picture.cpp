#include "dialogs/about_picture.h"

#include <algorithm>
#include <cmath>

#include "win/bitmap.h"
#include "win/dialog_util.h"

namespace quillorb {

win::Bitmap MakeAboutPicture(HBITMAP spellAtlas, int width96, int height96, win::Dpi dpi) {
  const int width = dpi.Scale(width96);
  const int height = dpi.Scale(height96);
  const int m = dpi.Multiple();  // a star's side
  DWORD* bits = nullptr;
  win::Bitmap picture = win::CreateDib32(width, height, &bits);
  if (!picture || !bits) return picture;
  // A night sky: deep blue above, violet at the horizon, with a scatter of stars.
  for (int y = 0; y < height; ++y) {
    const double t = static_cast<double>(y) / (height - 1);
    const auto r = static_cast<DWORD>(12 + 58 * t);
    const auto g = static_cast<DWORD>(16 + 18 * t);
    const auto b = static_cast<DWORD>(58 + 50 * t);
    for (int x = 0; x < width; ++x) bits[y * width + x] = (r << 16) | (g << 8) | b;
  }
  uint32_t seed = 0x51u;
  for (int n = 0; n < 70; ++n) {
    seed = seed * 1103515245u + 12345u;
    const int x = static_cast<int>((seed >> 8) % static_cast<uint32_t>(width));
    seed = seed * 1103515245u + 12345u;
    const int y = static_cast<int>((seed >> 8) % static_cast<uint32_t>(height));
    const DWORD level = 150 + (seed >> 24) % 100;
    for (int sy = y; sy < std::min(y + m, height); ++sy) {
      for (int sx = x; sx < std::min(x + m, width); ++sx) {
        bits[sy * width + sx] = (level << 16) | (level << 8) | level;
      }
    }
  }

  win::MemoryDc dc(CreateCompatibleDC(nullptr));
  win::SelectScope select(dc.get(), picture.get());
  const int cx = width / 2;
  const int cy = height / 2 - dpi.Scale(6);
  // Two gold rings.
  win::Pen gold(CreatePen(PS_SOLID, 2 * m, RGB(214, 176, 84)));
  win::Pen thin(CreatePen(PS_SOLID, m, RGB(160, 128, 60)));
  SelectObject(dc.get(), GetStockObject(NULL_BRUSH));
  SelectObject(dc.get(), gold.get());
  const int outer = dpi.Scale(80), inner = dpi.Scale(46);
  Ellipse(dc.get(), cx - outer, cy - outer, cx + outer + 1, cy + outer + 1);
  SelectObject(dc.get(), thin.get());
  Ellipse(dc.get(), cx - inner, cy - inner, cx + inner + 1, cy + inner + 1);
  // One spell of each circle on the ring, from our own spell icons.
  if (spellAtlas) {
    win::MemoryDc icons(CreateCompatibleDC(nullptr));
    win::SelectScope selectIcons(icons.get(), spellAtlas);
    SetStretchBltMode(dc.get(), HALFTONE);
    BITMAP atlas{};
    GetObjectA(spellAtlas, sizeof atlas, &atlas);
    const int cell = atlas.bmWidth / 8;
    const int icon = dpi.Scale(28);
    const double radius = 63.0 * dpi.Value() / win::Dpi::kDesign;
    for (int c = 0; c < 8; ++c) {
      const double angle = -1.5707963 + c * 0.7853982;
      const int x = cx + static_cast<int>(std::lround(radius * std::cos(angle))) - icon / 2;
      const int y = cy + static_cast<int>(std::lround(radius * std::sin(angle))) - icon / 2;
      const int spell = kAboutSpells[static_cast<size_t>(c)];  // one of circle c + 1
      StretchBlt(dc.get(), x, y, icon, icon, icons.get(), cell * (spell % 8), cell * (spell / 8),
                 cell, cell, SRCCOPY);
    }
  }
  // The name in the middle, the version below the rings.
  win::Font title = win::MakeFont({.face = L"Times New Roman",
                                   .height = -19,
                                   .weight = FW_BOLD,
                                   .italic = true,
                                   .quality = ANTIALIASED_QUALITY,
                                   .pitchAndFamily = VARIABLE_PITCH | FF_ROMAN},
                                  dpi);
  win::Font small = win::MakeFont({.height = -11, .quality = ANTIALIASED_QUALITY}, dpi);
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), RGB(240, 208, 120));
  SelectObject(dc.get(), title.get());
  RECT middle{cx - dpi.Scale(45), cy - dpi.Scale(12), cx + dpi.Scale(45), cy + dpi.Scale(12)};
  DrawTextA(dc.get(), "Quillorb", -1, &middle, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc.get(), small.get());
  SetTextColor(dc.get(), RGB(200, 196, 220));
  RECT bottom{0, height - dpi.Scale(16), width, height - dpi.Scale(2)};
  DrawTextA(dc.get(), "reagents counted, spells at hand", -1, &bottom, DT_CENTER | DT_SINGLELINE);
  SelectObject(dc.get(), GetStockObject(BLACK_PEN));
  SelectObject(dc.get(), GetStockObject(SYSTEM_FONT));
  GdiFlush();
  return picture;
}

}  // namespace quillorb
