#include "win/dpi.h"

#include "win/library.h"

namespace win {
namespace {

// The property a form keeps its DPI in, on its top-level window.
constexpr wchar_t kDpiProperty[] = L"Quillorb.Dpi";

// Windows 10 (1607) and later; missing on older systems and in older Wine.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
// Windows 8.1 and later (shcore).
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

Dpi ScreenLogPixels() {
  HDC screen = GetDC(nullptr);
  const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : Dpi::kDesign;
  if (screen) ReleaseDC(nullptr, screen);
  return Dpi(value);
}

}  // namespace

Dpi WindowDpi(HWND window) {
  if (!window) return SystemDpi();
  HWND root = GetAncestor(window, GA_ROOT);
  if (HANDLE kept = GetPropW(root ? root : window, kDpiProperty)) {
    return Dpi(static_cast<int>(reinterpret_cast<INT_PTR>(kept)));
  }
  static const auto forWindow = LibraryFunction<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
  if (forWindow) {
    if (const UINT dpi = forWindow(window)) return Dpi(static_cast<int>(dpi));
  }
  return SystemDpi();
}

Dpi SystemDpi() {
  static const auto forSystem = LibraryFunction<GetDpiForSystemFn>("user32.dll", "GetDpiForSystem");
  if (forSystem) return Dpi(static_cast<int>(forSystem()));
  return ScreenLogPixels();
}

Dpi MonitorDpiAt(POINT screen) {
  static const auto forMonitor =
      LibraryFunction<GetDpiForMonitorFn>("shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (forMonitor && forMonitor(MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST),
                               0 /* MDT_EFFECTIVE_DPI */, &x, &y) == S_OK) {
    return Dpi(static_cast<int>(y));
  }
  return SystemDpi();
}

void KeepWindowDpi(HWND window, Dpi dpi) {
  SetPropW(window, kDpiProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi.Value())));
}

void ForgetWindowDpi(HWND window) {
  RemovePropW(window, kDpiProperty);
}

RECT FrameAround(const RECT& client, DWORD style, DWORD exStyle, Dpi dpi) {
  static const auto forDpi =
      LibraryFunction<AdjustForDpiFn>("user32.dll", "AdjustWindowRectExForDpi");
  RECT outer = client;
  if (!forDpi || !forDpi(&outer, style, FALSE, exStyle, static_cast<UINT>(dpi.Value()))) {
    outer = client;
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  }
  return outer;
}

}  // namespace win
