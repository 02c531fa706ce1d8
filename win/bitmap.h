// Off-screen bitmaps the program draws into: 32-bit top-down DIB sections.
#pragma once

#include <windows.h>

#include "win/handles.h"

namespace win {

// A width x height, 32-bit, top-down DIB section; `bits` (if given) receives its pixels, one
// 0x00RRGGBB (or premultiplied ARGB) DWORD per pixel, row after row.
Bitmap CreateDib32(int width, int height, DWORD** bits = nullptr);

// The same, filled with one colour.
Bitmap CreateFilledBitmap(int width, int height, COLORREF fill);

}  // namespace win
