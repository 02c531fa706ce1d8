#include "win/bitmap.h"

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

Bitmap CreateFilledBitmap(int width, int height, COLORREF fill) {
  DWORD* bits = nullptr;
  Bitmap bitmap = CreateDib32(width, height, &bits);
  if (!bits) return bitmap;
  const DWORD pixel = (static_cast<DWORD>(GetRValue(fill)) << 16) |
                      (static_cast<DWORD>(GetGValue(fill)) << 8) | GetBValue(fill);
  for (int i = 0; i < width * height; ++i) bits[i] = pixel;
  return bitmap;
}

}  // namespace win
