#include "win/screen_place.h"

#include <algorithm>
#include <climits>

#include "win/dpi.h"

namespace win {
namespace {

LONG Saturated(int64_t value) {
  return static_cast<LONG>(std::clamp<int64_t>(value, LONG_MIN, LONG_MAX));
}

}  // namespace

POINT TopLeftOnAMonitor(HWND window, int32_t left, int32_t top) {
  RECT now{};
  GetWindowRect(window, &now);
  int64_t width = now.right - now.left;
  int64_t height = now.bottom - now.top;
  // On a monitor of another scale the window takes that scale's size when it gets there.
  const Dpi here = WindowDpi(window);
  const Dpi there = MonitorDpiAt(POINT{left, top});
  if (there != here) {
    width = width * there.Value() / here.Value();
    height = height * there.Value() / here.Value();
  }
  // Computed in 64 bits: a saved position near the end of the range must not wrap.
  const RECT saved{left, top, Saturated(left + width), Saturated(top + height)};
  if (MonitorFromRect(&saved, MONITOR_DEFAULTTONULL)) return POINT{left, top};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info)) {
    return POINT{left, top};
  }
  const RECT& work = info.rcWork;
  const int64_t x =
      std::clamp<int64_t>(left, work.left, std::max<int64_t>(work.left, work.right - width));
  const int64_t y =
      std::clamp<int64_t>(top, work.top, std::max<int64_t>(work.top, work.bottom - height));
  return POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
}

}  // namespace win
