#include "dialogs/dialog_util.h"

#include "win/file_error.h"

namespace quillorb {

win::Font ArialFont(int height, bool bold) {
  return win::Font(CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial"));
}

win::Font CopyFont(HFONT font) {
  LOGFONTA lf{};
  if (font && GetObjectA(font, sizeof lf, &lf)) return win::Font(CreateFontIndirectA(&lf));
  return ArialFont(-11);
}

win::Bitmap CopyBitmap(HBITMAP bitmap) {
  if (!bitmap) return win::Bitmap();
  return win::Bitmap(
      static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void CenterOnScreen(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ShowMessage(HWND owner, const std::string& text, UINT flags) {
  // The texts carry names of characters and files.
  return MessageBoxW(owner, win::FileText(text).c_str(), L"Quillorb", flags);
}

}  // namespace quillorb
