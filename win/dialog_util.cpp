#include "win/dialog_util.h"

#include <utility>

#include "win/app.h"
#include "win/window.h"

namespace win {
namespace {

// The message box of ShowMessage with an answer callback: the first dialog this thread creates
// while it runs, and the callback for the button commands it is sent.
struct AnswerWatch {
  const std::function<void(int)>& onAnswer;
  HWND box = nullptr;
};
thread_local AnswerWatch* t_answerWatch = nullptr;

// Sees every message sent to a window of this thread before its procedure does: a button's
// click reaches the box as a sent WM_COMMAND, before the box ends.
LRESULT CALLBACK WatchAnswer(int code, WPARAM wp, LPARAM lp) {
  AnswerWatch* watch = t_answerWatch;
  if (code == HC_ACTION && watch) {
    const auto& m = *reinterpret_cast<const CWPSTRUCT*>(lp);
    if (m.message == WM_INITDIALOG && !watch->box) {
      watch->box = m.hwnd;
    } else if (m.message == WM_COMMAND && m.hwnd == watch->box && HIWORD(m.wParam) == BN_CLICKED) {
      try {
        watch->onAnswer(LOWORD(m.wParam));
      } catch (...) {
        ReportException();
      }
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

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

int ShowMessage(HWND owner, const std::string& text, UINT flags, const std::string& caption,
                const std::function<void(int button)>& onAnswer) {
  AnswerWatch watch{onAnswer};
  AnswerWatch* outer = std::exchange(t_answerWatch, &watch);
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchAnswer, nullptr, GetCurrentThreadId());
  const int answer = ShowMessage(owner, text, flags, caption);
  if (hook) UnhookWindowsHookEx(hook);
  t_answerWatch = outer;
  return answer;
}

}  // namespace win
