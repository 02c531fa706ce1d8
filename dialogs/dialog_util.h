// Small helpers the dialogs share: fonts, centring, copies of pictures, the program's message box.
#pragma once

#include <windows.h>

#include <string>

#include "win/handles.h"

namespace quillorb {

// Arial of `height` pixels (negative: character height), as the forms are designed.
win::Font ArialFont(int height, bool bold = false);
// A font of its own with the same face and size as `font` (Arial 11 pixels without one).
win::Font CopyFont(HFONT font);
// A copy of a bitmap the dialog owns, so that it needs nothing of the window it came from.
win::Bitmap CopyBitmap(HBITMAP bitmap);
// Centres the window (its outer size) on the screen.
void CenterOnScreen(HWND window);
// A message box owned by `owner`, captioned "Quillorb". Returns the button pressed.
int ShowMessage(HWND owner, const std::string& text, UINT flags);

}  // namespace quillorb
