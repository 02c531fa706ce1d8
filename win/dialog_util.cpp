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

Font MakeFont(const FontDesc& desc, Dpi dpi) {
  return Font(CreateFontW(dpi.Scale(desc.height), 0, 0, 0, desc.weight, desc.italic ? TRUE : FALSE,
                          FALSE, FALSE, desc.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          desc.quality, desc.pitchAndFamily, desc.face.c_str()));
}

FontDesc DescribeFont(HFONT font, Dpi madeFor) {
  LOGFONTW lf{};
  if (!font || !GetObjectW(font, sizeof lf, &lf)) return FontDesc{};
  return FontDesc{.face = lf.lfFaceName,
                  .height = madeFor.Unscale(lf.lfHeight),
                  .weight = static_cast<int>(lf.lfWeight),
                  .italic = lf.lfItalic != FALSE,
                  .charset = lf.lfCharSet,
                  .quality = lf.lfQuality,
                  .pitchAndFamily = lf.lfPitchAndFamily};
}

Bitmap CopyBitmap(HBITMAP bitmap) {
  if (!bitmap) return Bitmap();
  return Bitmap(static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void CenterWindow(HWND window, HWND over) {
  RECT area{};
  if (!over || !GetWindowRect(over, &area)) {
    HWND owner = GetWindow(window, GW_OWNER);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    area =
        GetMonitorInfoW(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTOPRIMARY), &info)
            ? info.rcMonitor
            : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  // Twice at most: a move onto a monitor of another scale resizes the window (WM_DPICHANGED).
  for (int pass = 0; pass < 2; ++pass) {
    RECT box{};
    GetWindowRect(window, &box);
    const int left = area.left + (area.right - area.left) / 2 - (box.right - box.left) / 2;
    const int top = area.top + (area.bottom - area.top) / 2 - (box.bottom - box.top) / 2;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT after{};
    GetWindowRect(window, &after);
    if (after.right - after.left == box.right - box.left &&
        after.bottom - after.top == box.bottom - box.top) {
      break;
    }
  }
}

int ShowMessage(HWND owner, const quillorb::Utf8& text, UINT flags, const quillorb::Utf8& caption) {
  return ShowMessage(owner, Wide(text).c_str(), flags, Wide(caption).c_str());
}

int ShowMessage(HWND owner, const wchar_t* text, UINT flags, const wchar_t* caption) noexcept {
  return MessageBoxW(owner, text, caption, flags);
}

int ShowMessage(HWND owner, const quillorb::Utf8& text, UINT flags, const quillorb::Utf8& caption,
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
