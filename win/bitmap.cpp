#include "win/bitmap.h"

#include <algorithm>

namespace win {

Bitmap CreateDib32(int width, int height, DWORD** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  Bitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &raw, nullptr, 0));
  if (bits) *bits = static_cast<DWORD*>(raw);
  return bitmap;
}

namespace {
DWORD PixelOf(COLORREF color) {
  return (static_cast<DWORD>(GetRValue(color)) << 16) |
         (static_cast<DWORD>(GetGValue(color)) << 8) | GetBValue(color);
}
}  // namespace

Bitmap CreatePixelArt(std::span<const std::string_view> rows, std::span<const PaletteEntry> palette,
                      COLORREF other, bool mirrored) {
  const size_t width = rows.empty() ? 0 : rows[0].size();
  DWORD* px = nullptr;
  Bitmap bitmap = CreateDib32(static_cast<int>(width), static_cast<int>(rows.size()), &px);
  if (!px) return bitmap;
  for (const std::string_view row : rows) {
    for (size_t x = 0; x < width; ++x) {
      const size_t at = mirrored ? width - 1 - x : x;
      const char letter = at < row.size() ? row[at] : '\0';
      const auto entry = std::find_if(palette.begin(), palette.end(),
                                      [&](const PaletteEntry& e) { return e.letter == letter; });
      *px++ = PixelOf(entry == palette.end() ? other : entry->color);
    }
  }
  return bitmap;
}

Bitmap CreateFilledBitmap(int width, int height, COLORREF fill) {
  DWORD* bits = nullptr;
  Bitmap bitmap = CreateDib32(width, height, &bits);
  if (!bits) return bitmap;
  const DWORD pixel = PixelOf(fill);
  for (int i = 0; i < width * height; ++i) bits[i] = pixel;
  return bitmap;
}

void CopyCanvas(const quillorb::raster::Canvas& canvas, DWORD* bits, int dibWidth, int x, int y,
                bool alpha) {
  const DWORD mask = alpha ? 0xFFFFFFFF : 0x00FFFFFF;
  for (int cy = 0; cy < canvas.Height(); ++cy) {
    DWORD* row = bits + static_cast<ptrdiff_t>(y + cy) * dibWidth + x;
    for (int cx = 0; cx < canvas.Width(); ++cx) {
      const quillorb::raster::Col& c = canvas.At(cx, cy);
      row[cx] = quillorb::raster::PackArgb(c.r, c.g, c.b, c.a) & mask;
    }
  }
}

Bitmap CreateDibFromCanvas(const quillorb::raster::Canvas& canvas, bool alpha) {
  DWORD* bits = nullptr;
  Bitmap bitmap = CreateDib32(canvas.Width(), canvas.Height(), &bits);
  if (!bits) return bitmap;
  CopyCanvas(canvas, bits, canvas.Width(), 0, 0, alpha);
  GdiFlush();
  return bitmap;
}

Pixels ReadPixels(HBITMAP bitmap) {
  Pixels out;
  BITMAP info{};
  if (!GetObject(bitmap, sizeof info, &info)) return out;
  out.width = info.bmWidth;
  out.height = info.bmHeight;
  out.px.resize(static_cast<size_t>(out.width * out.height));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = out.width;
  bi.bmiHeader.biHeight = -out.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  WindowDc screen(nullptr);
  GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(out.height), out.px.data(), &bi,
            DIB_RGB_COLORS);
  return out;
}

}  // namespace win
