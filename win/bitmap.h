// Off-screen bitmaps the program draws into: 32-bit top-down DIB sections.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>
#include <vector>

#include "model/raster.h"
#include "win/handles.h"

namespace win {

// A width x height, 32-bit, top-down DIB section; `bits` (if given) receives its pixels, one
// 0x00RRGGBB (or premultiplied ARGB) DWORD per pixel, row after row.
Bitmap CreateDib32(int width, int height, DWORD** bits = nullptr);

// One letter of a pixel-art palette and its colour.
struct PaletteEntry {
  char letter;
  COLORREF color;
};

// Pixel art drawn as text, one string per row of pixels and one letter per pixel, as a DIB section
// as wide as the first row: each letter gets its colour from `palette`, any other character
// `other`; `mirrored` reads every row from right to left.
Bitmap CreatePixelArt(std::span<const std::string_view> rows, std::span<const PaletteEntry> palette,
                      COLORREF other, bool mirrored = false);

// The same, filled with one colour.
Bitmap CreateFilledBitmap(int width, int height, COLORREF fill);

// Copies a canvas into the pixels of a 32-bit DIB `dibWidth` pixels wide, its top-left corner at
// x, y: premultiplied 0xAARRGGBB, or 0x00RRGGBB with `alpha` false. The canvas must fit.
void CopyCanvas(const quillorb::raster::Canvas& canvas, DWORD* bits, int dibWidth, int x, int y,
                bool alpha);

// A DIB section of the canvas's size holding its pixels.
Bitmap CreateDibFromCanvas(const quillorb::raster::Canvas& canvas, bool alpha);

// The pixels of any bitmap as 0x00RRGGBB, top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<DWORD> px;
  DWORD At(int x, int y) const { return px[static_cast<size_t>(y * width + x)] & 0xFFFFFF; }
};
Pixels ReadPixels(HBITMAP bitmap);

}  // namespace win
