#include "win/dialog_util.h"

#include "win/app.h"

namespace win {

Font MakeFont(const FontDesc& desc) {
  return Font(CreateFontW(desc.height, 0, 0, 0, desc.weight, desc.italic ? TRUE : FALSE, FALSE,
                          FALSE, desc.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          desc.quality, desc.pitchAndFamily, desc.face));
}

Font CopyFont(HFONT font) {
  LOGFONTW lf{};
  if (font && GetObjectW(font, sizeof lf, &lf)) return Font(CreateFontIndirectW(&lf));
  return ArialFont(-11);
}

Bitmap CopyBitmap(HBITMAP bitmap) {
  if (!bitmap) return Bitmap();
  return Bitmap(static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void CenterWindow(HWND window, HWND over) {
  RECT box{};
  GetWindowRect(window, &box);
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT r{};
  if (over && GetWindowRect(over, &r)) area = r;
  const int left = area.left + (area.right - area.left) / 2 - (box.right - box.left) / 2;
  const int top = area.top + (area.bottom - area.top) / 2 - (box.bottom - box.top) / 2;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ShowMessage(HWND owner, const std::string& text, UINT flags, const std::string& caption) {
  return ShowMessage(owner, Utf8ToWide(text).c_str(), flags, Utf8ToWide(caption).c_str());
}

int ShowMessage(HWND owner, const wchar_t* text, UINT flags, const wchar_t* caption) noexcept {
  return MessageBoxW(owner, text, caption, flags);
}

}  // namespace win
