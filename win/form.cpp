#include "win/form.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <stdexcept>
#include <utility>

#include "win/app.h"
#include "win/child_window.h"
#include "win/library.h"

namespace win {

Form::~Form() {
  for (auto& [id, timer] : timers_) {
    if (hwnd()) KillTimer(hwnd(), id);
  }
  if (hwnd() && clientSize_.cx > 0) ForgetWindowDpi(hwnd());
}

void Form::CreateForm(const char* className, const std::string& caption, DWORD style, DWORD exStyle,
                      int x, int y, int clientWidth, int clientHeight, HICON icon, HWND owner) {
  RegisterClass(className, CS_DBLCLKS, nullptr, icon);
  clientSize_ = SIZE{clientWidth, clientHeight};
  // The DPI of the monitor it will stand on: its owner's, or the one at its place.
  dpi_ = owner ? WindowDpi(owner) : x == CW_USEDEFAULT ? SystemDpi() : MonitorDpiAt(POINT{x, y});
  const RECT outer = FrameAround(RECT{0, 0, dpi_.Scale(clientWidth), dpi_.Scale(clientHeight)},
                                 style, exStyle, dpi_);
  CreateWindowOf(className, caption, style, exStyle, x, y, outer.right - outer.left,
                 outer.bottom - outer.top, owner, nullptr);
  // Where the system put it decides.
  dpi_ = WindowDpi(hwnd());
  KeepWindowDpi(hwnd(), dpi_);
  FitClientArea(dpi_.Scale(clientWidth), dpi_.Scale(clientHeight));
}

void Form::CreateInnerForm(const char* className, const std::string& caption, DWORD style,
                           DWORD exStyle, HWND parent) {
  RegisterClass(className, CS_DBLCLKS, nullptr, nullptr);
  CreateWindowOf(className, caption, style, exStyle, 0, 0, 0, 0, parent, nullptr);
  dpi_ = WindowDpi(parent);
}

void Form::SetClientSize(int width, int height) {
  clientSize_ = SIZE{width, height};
  FitClientArea(dpi_.Scale(width), dpi_.Scale(height));
}

SIZE Form::OuterSize(Dpi dpi) const {
  const RECT outer = FrameAround(RECT{0, 0, dpi.Scale(clientSize_.cx), dpi.Scale(clientSize_.cy)},
                                 static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_STYLE)),
                                 static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_EXSTYLE)), dpi);
  return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

void Form::SetFont(const FontDesc& desc) {
  SetFont(MakeFont(desc, dpi_));
  font_.desc = desc;
}

void Form::SetFont(win::Font font) {
  font_.desc = DescribeFont(font.get(), dpi_);
  font_.font = std::move(font);
  for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  }
  Invalidate();
}

HFONT Form::AddFont(const FontDesc& desc) {
  fonts_.push_back(std::make_unique<ScaledFont>(ScaledFont{desc, MakeFont(desc, dpi_)}));
  return fonts_.back()->font.get();
}

namespace {

// A form that took kRescaleMessage has laid out what stands inside it.
constexpr LRESULT kRescaledInside = 1;

// Every window inside `parent`, parents before their children: the fonts the form remade, then
// the window's own re-layout.
void RescaleWindowsIn(HWND parent, Dpi dpi, FontSwaps& swaps) {
  std::vector<HWND> children;  // taken first: a re-layout may change the order
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  for (HWND child : children) {
    if (!IsWindow(child)) continue;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    for (const auto& [old, now] : swaps) {
      if (font && font == old.get()) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(now), FALSE);
        break;
      }
    }
    if (SendMessageW(child, kRescaleMessage, static_cast<WPARAM>(dpi.Value()),
                     reinterpret_cast<LPARAM>(&swaps)) != kRescaledInside) {
      RescaleWindowsIn(child, dpi, swaps);
    }
  }
}

}  // namespace

void Form::ChangeDpi(Dpi dpi, const RECT* place) {
  if (dpi != dpi_) {
    dpi_ = dpi;
    if (clientSize_.cx > 0) KeepWindowDpi(hwnd(), dpi_);
    FontSwaps swaps;
    RescaleContents(swaps);
    retired_ = std::move(swaps);
  }
  if (clientSize_.cx > 0) {
    RECT now{};
    GetWindowRect(hwnd(), &now);
    const SIZE outer = OuterSize(dpi_);
    const POINT at = place ? POINT{place->left, place->top} : POINT{now.left, now.top};
    SetWindowPos(hwnd(), nullptr, at.x, at.y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea(dpi_.Scale(clientSize_.cx), dpi_.Scale(clientSize_.cy));
  }
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Form::RescaleContents(FontSwaps& swaps) {
  const auto remake = [&](ScaledFont& f) {
    if (!f.font) return;
    win::Font next = MakeFont(f.desc, dpi_);
    const HFONT made = next.get();
    swaps.emplace_back(std::exchange(f.font, std::move(next)), made);
  };
  remake(font_);
  for (auto& f : fonts_) remake(*f);
  for (GraphicControl* c : controls_) {
    for (const auto& [old, now] : swaps) c->SwapFont(old.get(), now);
    c->Rescale();
  }
  RescaleWindowsIn(hwnd(), dpi_, swaps);
  DpiChanged();
}

void Form::AddControl(GraphicControl* control) {
  controls_.push_back(control);
}

void Form::RemoveControl(GraphicControl* control) {
  if (captured_ == control) captured_ = nullptr;
  if (tooltip_ && hinted_.erase(control)) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

void Form::InvalidateControl(const GraphicControl& control) const {
  if (hwnd()) InvalidateRect(hwnd(), &control.Bounds(), FALSE);
}

void Form::EnsureTooltip() {
  if (tooltip_ || !hwnd()) return;
  if (std::none_of(controls_.begin(), controls_.end(),
                   [](const GraphicControl* c) { return !c->Hint().empty(); })) {
    return;
  }
  // The tooltip is the only common control the forms use: its class is made ready here, on the
  // first hover, not at start-up.
  if (!InitCommonControlClasses(ICC_WIN95_CLASSES)) return;
  // Not owned by the form: under Wine a topmost popup owned by the form keeps the form itself
  // from becoming topmost again once it was not. The tooltip raises itself when it shows.
  // The wide tooltip, as the form is a Unicode window: the hints are converted from ANSI.
  tooltip_.reset(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!tooltip_) return;
  for (const GraphicControl* c : controls_) {
    if (!c->Hint().empty()) RegisterHint(*c);
  }
}

void Form::RegisterHint(const GraphicControl& control) {
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_SUBCLASS;
  ti.hwnd = hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(&control);
  ti.rect = control.Bounds();
  std::wstring text = AnsiToWide(control.Hint());
  ti.lpszText = text.data();
  SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  hinted_.insert(&control);
}

void Form::UpdateHint(const GraphicControl& control) {
  if (!tooltip_) return;  // the hints are registered when the tooltip is made
  if (hinted_.erase(&control)) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(&control);
    SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  if (!control.Hint().empty()) RegisterHint(control);
}

GraphicControl* Form::ControlAt(POINT client) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    GraphicControl* c = *it;
    if (c->Visible() && c->WantsMouse() && PtInRect(&c->Bounds(), client)) return c;
  }
  return nullptr;
}

UINT_PTR Form::AddTimer(Timer* timer) {
  UINT_PTR id = nextTimerId_++;
  timers_[id] = timer;
  return id;
}

void Form::RemoveTimer(UINT_PTR id) {
  if (hwnd()) KillTimer(hwnd(), id);
  timers_.erase(id);
}

void Form::PaintControls(HDC dc, const RECT& area) {
  for (GraphicControl* c : controls_) {
    RECT overlap{};
    if (!c->Visible() || !IntersectRect(&overlap, &c->Bounds(), &area)) continue;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, c->Left(), c->Top(), c->Bounds().right, c->Bounds().bottom);
    SetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
    SelectObject(dc, Font());
    c->Paint(dc);
    RestoreDC(dc, saved);
  }
}

void Form::HandleMouseDown(MouseButton button, LPARAM lp, WPARAM keys, bool doubleClick) {
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  GraphicControl* c = ControlAt(pt);
  if (!c || !c->Enabled()) return;
  captured_ = c;
  capturedButton_ = button;
  capturedDouble_ = doubleClick;
  SetCapture(hwnd());
  c->MouseDown({button, pt.x - c->Left(), pt.y - c->Top(), keys, doubleClick});
}

void Form::HandleMouseUp(MouseButton button, LPARAM lp, WPARAM keys) {
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  GraphicControl* c = captured_;
  if (!c || button != capturedButton_) return;
  captured_ = nullptr;
  if (GetCapture() == hwnd()) ReleaseCapture();
  bool inside = PtInRect(&c->Bounds(), pt) && ControlAt(pt) == c;
  // The release of a double click's second press is no click of its own.
  c->MouseUp({button, pt.x - c->Left(), pt.y - c->Top(), keys, capturedDouble_}, inside);
}

void Form::HandleMouseMove(LPARAM lp, WPARAM keys) {
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  GraphicControl* c = captured_ ? captured_ : ControlAt(pt);
  if (!c || !c->Enabled()) return;
  c->MouseMove(pt.x - c->Left(), pt.y - c->Top(), keys, PtInRect(&c->Bounds(), pt) != FALSE);
}

const UINT Form::kDrawnAccelerator = RegisterWindowMessageA("Quillorb.DrawnAccelerator");

bool Form::FocusAccelerator(wchar_t letter) {
  for (GraphicControl* control : controls_) {
    if (!control->Visible() || !control->Enabled()) continue;
    const std::string& caption = control->AcceleratorCaption();
    size_t amp = caption.find('&');
    while (amp != std::string::npos && amp + 1 < caption.size() && caption[amp + 1] == '&') {
      amp = caption.find('&', amp + 2);
    }
    if (amp == std::string::npos || amp + 1 >= caption.size()) continue;
    const auto mark = static_cast<wint_t>(static_cast<unsigned char>(caption[amp + 1]));
    if (std::towupper(mark) != std::towupper(static_cast<wint_t>(letter))) continue;
    if (HWND target = control->AcceleratorTarget()) {
      if (!IsWindowVisible(target) || !IsWindowEnabled(target)) continue;
      ::SetFocus(target);
      return true;
    }
    const RECT& area = control->Bounds();
    for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
      if (!(style & WS_TABSTOP) || !(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
      RECT r{};
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
      const POINT corner{r.left, r.top};
      if (!PtInRect(&area, corner)) continue;
      ::SetFocus(child);
      return true;
    }
  }
  return false;
}

LRESULT Form::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kDrawnAccelerator) {
    return IsWindowVisible(hwnd()) && FocusAccelerator(static_cast<wchar_t>(wp)) ? 1 : 0;
  }
  if (msg == kRescaleMessage) {
    // A form inside another: the DPI is the outer form's.
    dpi_ = Dpi(static_cast<int>(wp));
    FontSwaps own;
    RescaleContents(lp ? *reinterpret_cast<FontSwaps*>(lp) : own);
    return kRescaledInside;
  }
  switch (msg) {
    case kDpiChangedMessage:
      if (clientSize_.cx <= 0) break;
      ChangeDpi(Dpi(HIWORD(wp)), reinterpret_cast<const RECT*>(lp));
      return 0;
    case kGetDpiScaledSizeMessage:
      // The size the window will have at the new DPI, so that the system's suggestion fits it.
      if (clientSize_.cx <= 0 || !lp) break;
      *reinterpret_cast<SIZE*>(lp) = OuterSize(Dpi(static_cast<int>(wp)));
      return TRUE;
    case WM_NCDESTROY:
      if (clientSize_.cx > 0) ForgetWindowDpi(hwnd());
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintBuffered([this](HDC dc, const RECT& dirty) {
        RECT client = ClientRect();
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        PaintControls(dc, dirty);
      });
      return 0;
    case WM_LBUTTONDOWN:
      HandleMouseDown(MouseButton::Left, lp, wp, false);
      return 0;
    case WM_LBUTTONDBLCLK:
      HandleMouseDown(MouseButton::Left, lp, wp, true);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      HandleMouseDown(MouseButton::Right, lp, wp, msg == WM_RBUTTONDBLCLK);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      HandleMouseDown(MouseButton::Middle, lp, wp, msg == WM_MBUTTONDBLCLK);
      return 0;
    case WM_LBUTTONUP:
      HandleMouseUp(MouseButton::Left, lp, wp);
      return 0;
    case WM_RBUTTONUP:
      HandleMouseUp(MouseButton::Right, lp, wp);
      return 0;
    case WM_MBUTTONUP:
      HandleMouseUp(MouseButton::Middle, lp, wp);
      return 0;
    case WM_MOUSEMOVE:
      if (!tooltip_) {
        EnsureTooltip();
        if (tooltip_) {
          // The tooltip watches the form's mouse from the next move on; this one it is told.
          MSG m{hwnd(), msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
          m.pt.x = GET_X_LPARAM(lp), m.pt.y = GET_Y_LPARAM(lp);
          ClientToScreen(hwnd(), &m.pt);
          SendMessageW(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
        }
      }
      HandleMouseMove(lp, wp);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd()) captured_ = nullptr;
      return 0;
    case WM_TIMER: {
      auto it = timers_.find(wp);
      if (it == timers_.end()) break;
      it->second->Fire();
      return 0;
    }
    case WM_ACTIVATE:
      // The focused control is kept across a deactivation, as dialog boxes do: after a switch to
      // another program and back, typing goes on where it was.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) focusWhenInactive_ = focus;
        return 0;
      }
      if (!HIWORD(wp) && focusWhenInactive_ && IsWindow(focusWhenInactive_) &&
          IsChild(hwnd(), focusWhenInactive_) && IsWindowVisible(focusWhenInactive_) &&
          IsWindowEnabled(focusWhenInactive_)) {
        ::SetFocus(focusWhenInactive_);
        return 0;
      }
      break;
    case WM_GETFONT:
      // Child windows created on the form ask for the font they should draw with.
      return reinterpret_cast<LRESULT>(Font());
    case WM_COMMAND:
      if (lp) {
        if (ChildWindow* child = ChildWindow::FromHandle(reinterpret_cast<HWND>(lp))) {
          if (child->OnParentCommand(HIWORD(wp))) return 0;
        }
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (ChildWindow* child = header ? ChildWindow::FromHandle(header->hwndFrom) : nullptr) {
        LRESULT result = 0;
        if (child->OnParentNotify(*header, result)) return result;
      }
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (ChildWindow* child = ChildWindow::FromHandle(reinterpret_cast<HWND>(lp))) {
        LRESULT result = 0;
        if (child->OnParentColor(reinterpret_cast<HDC>(wp), result)) return result;
      }
      break;
    default:
      break;
  }
  return Window::OnMessage(msg, wp, lp);
}

Timer::Timer(Form& form, UINT intervalMs, bool enabled)
    : form_(form), id_(form.AddTimer(this)), interval_(intervalMs), enabled_(enabled) {
  Apply();
}

Timer::~Timer() {
  form_.RemoveTimer(id_);
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Apply();
}

void Timer::SetInterval(UINT intervalMs) {
  interval_ = intervalMs;
  Apply();
}

void Timer::Apply() {
  if (!form_.hwnd()) return;
  if (enabled_) {
    SetTimer(form_.hwnd(), id_, interval_, nullptr);  // (re)starts the interval
  } else {
    KillTimer(form_.hwnd(), id_);
  }
}

void Timer::Fire() {
  if (enabled_ && OnTimer) OnTimer(*this);
}

}  // namespace win
