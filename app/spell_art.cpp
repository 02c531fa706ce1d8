#include "app/spell_art.h"

#include <utility>

#include "win/bitmap.h"

namespace quillorb {

SpellAtlases CreateSpellAtlases(win::Dpi dpi) {
  SpellAtlases out;
  out.cell = dpi.Scale(kSpellIconSize);
  out.normal = win::CreateDib32(8 * out.cell, 8 * out.cell);
  out.greyed = win::CreateDib32(8 * out.cell, 8 * out.cell);
  if (!out) return {};
  return out;
}

bool DrawSpellIconInto(HBITMAP normal, HBITMAP greyed, int index, int cell) {
  if (index < 0 || index >= 64) return false;
  const int size = 8 * cell;
  DIBSECTION normalDib{}, greyedDib{};
  if (!GetObjectA(normal, sizeof normalDib, &normalDib) || !normalDib.dsBm.bmBits ||
      normalDib.dsBm.bmWidth != size || normalDib.dsBm.bmHeight != size ||
      !GetObjectA(greyed, sizeof greyedDib, &greyedDib) || !greyedDib.dsBm.bmBits ||
      greyedDib.dsBm.bmWidth != size || greyedDib.dsBm.bmHeight != size) {
    return false;
  }
  GdiFlush();  // GDI may still be drawing from the atlases
  raster::Canvas icon = DrawSpellIcon(index, cell);
  raster::Canvas grey = icon;
  for (int y = 0; y < icon.Height(); ++y) {
    for (int x = 0; x < icon.Width(); ++x) {
      raster::Col& c = icon.At(x, y);
      c.a = 1;  // the tile makes every pixel opaque
      // Washed out: light grey with the shapes still faintly readable.
      const float v = 120 + 0.45f * (0.30f * c.r + 0.59f * c.g + 0.11f * c.b);
      grey.At(x, y) = {v, v, v, 1};
    }
  }
  const int left = cell * (index % 8), top = cell * (index / 8);
  win::CopyCanvas(icon, static_cast<DWORD*>(normalDib.dsBm.bmBits), size, left, top, true);
  win::CopyCanvas(grey, static_cast<DWORD*>(greyedDib.dsBm.bmBits), size, left, top, true);
  return true;
}

bool SpellAtlases::Draw(int index) {
  if (index < 0 || index >= 64 || !*this) return false;
  if (drawn[static_cast<size_t>(index)]) return true;
  if (!DrawSpellIconInto(normal.get(), greyed.get(), index, cell)) return false;
  drawn.set(static_cast<size_t>(index));
  return true;
}

SpellAtlases MakeSpellAtlases(win::Dpi dpi) {
  SpellAtlases out = CreateSpellAtlases(dpi);
  for (int i = 0; i < 64; ++i) {
    if (!out.Draw(i)) return {};
  }
  return out;
}

win::Bitmap MakeSpellAtlas(bool greyed, win::Dpi dpi) {
  SpellAtlases both = MakeSpellAtlases(dpi);
  return std::move(greyed ? both.greyed : both.normal);
}

ReagentIconList::ReagentIconList(win::Dpi dpi)
    : width_(dpi.Scale(kReagentIconWidth)), height_(dpi.Scale(kReagentIconHeight)) {
  DWORD* bits = nullptr;
  strip_ = win::CreateDib32(width_ * kCount, height_, &bits);
  if (!strip_) return;
  for (int i = 0; i < kCount; ++i) {
    // Premultiplied, as AlphaBlend wants it.
    win::CopyCanvas(DrawReagentIcon(i, dpi), bits, width_ * kCount, i * width_, 0, true);
  }
  GdiFlush();
}

bool ReagentIconList::Draw(HDC dc, int index, int x, int y) const {
  if (!strip_ || index < 0 || index >= kCount) return false;
  win::MemoryDc source(CreateCompatibleDC(dc));
  if (!source) return false;
  win::SelectScope select(source.get(), strip_.get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  return GdiAlphaBlend(dc, x, y, width_, height_, source.get(), index * width_, 0, width_, height_,
                       blend) != FALSE;
}

win::Bitmap MakeReagentPicture(int index, COLORREF background, win::Dpi dpi) {
  const bool valid = index >= 0 && index < ReagentIconList::kCount;
  raster::Canvas icon =
      valid ? DrawReagentIcon(index, dpi)
            : raster::Canvas(dpi.Scale(kReagentIconWidth), dpi.Scale(kReagentIconHeight));
  const float br = GetRValue(background), bg = GetGValue(background), bb = GetBValue(background);
  for (int y = 0; y < icon.Height(); ++y) {
    for (int x = 0; x < icon.Width(); ++x) {
      raster::Col& c = icon.At(x, y);
      c = {c.r + br * (1 - c.a), c.g + bg * (1 - c.a), c.b + bb * (1 - c.a), 1};
    }
  }
  return win::CreateDibFromCanvas(icon, false);
}

}  // namespace quillorb
