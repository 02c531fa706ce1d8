#include "win/dialog.h"

#include "win/page_control.h"

namespace win {

bool AcceleratorSearchEnds(HWND dialog, HWND target) {
  for (HWND w = GetAncestor(target, GA_PARENT); w && w != dialog; w = GetAncestor(w, GA_PARENT)) {
    const LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE);
    if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) return false;
  }
  return true;
}

bool DialogMessage(HWND dialog, MSG& msg) {
  if ((msg.message == WM_CHAR || msg.message == WM_SYSCHAR) &&
      !AcceleratorSearchEnds(dialog, msg.hwnd)) {
    return false;
  }
  // The message loops take messages through the wide calls (see RunMessageLoop).
  return IsDialogMessageW(dialog, &msg) != FALSE;
}

namespace {

void AppendTabStops(HWND parent, std::vector<HWND>& stops) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
    if (style & WS_TABSTOP) stops.push_back(child);
    if (GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) AppendTabStops(child, stops);
  }
}

}  // namespace

std::vector<HWND> TabOrder(HWND dialog) {
  std::vector<HWND> stops;
  AppendTabStops(dialog, stops);
  return stops;
}

void Dialog::CreateModalForm(const char* className, const std::string& caption, HWND owner,
                             int clientWidth, int clientHeight, DWORD extraExStyle) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT | extraExStyle;
  // Made on its owner's monitor, at its scale; the dialog is placed before it shows.
  RECT at{CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
  if (owner) GetWindowRect(owner, &at);
  CreateForm(className, caption, style, exStyle, at.left, at.top, clientWidth, clientHeight,
             nullptr, owner);
}

int Dialog::ShowModal() {
  if (!hwnd() || running_) return kModalCancel;
  HWND owner = GetWindow(hwnd(), GW_OWNER);
  const bool disableOwner = owner && IsWindowEnabled(owner);
  if (disableOwner) EnableWindow(owner, FALSE);
  modalResult_ = kModalNone;
  running_ = true;
  lastFocus_ = FirstTabStop();
  UpdateDefaultFrame(lastFocus_);

  DoShow();
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetForegroundWindow(hwnd());
  if (lastFocus_ && GetFocus() != lastFocus_) SetFocus(lastFocus_);

  bool quit = false;
  int quitCode = 0;
  MSG msg{};
  while (modalResult_ == kModalNone && hwnd()) {
    // The wide calls, as in RunMessageLoop: typed characters keep their letters.
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      quitCode = static_cast<int>(msg.wParam);
      break;
    }
    if (got == -1) break;
    if (PreviewKey(msg)) continue;
    if (HandleDialogKey(msg)) continue;
    if (hwnd() && DialogMessage(hwnd(), msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (modalResult_ == kModalNone) modalResult_ = kModalCancel;
  running_ = false;
  if (OnEnd && hwnd()) {
    try {
      OnEnd(modalResult_);
    } catch (...) {
      ReportException();
    }
  }
  // The owner is enabled before the dialog hides, so that the system activates it again.
  if (disableOwner) EnableWindow(owner, TRUE);
  if (hwnd()) {
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (quit) PostQuitMessage(quitCode);
  return modalResult_;
}

std::vector<Button*> Dialog::Buttons() const {
  std::vector<Button*> buttons;
  for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (Button* b = ButtonOf(child)) buttons.push_back(b);
  }
  return buttons;
}

Button* Dialog::DefaultButton() const {
  for (Button* b : Buttons()) {
    if (b->Default) return b;
  }
  return nullptr;
}

Button* Dialog::CancelButton() const {
  for (Button* b : Buttons()) {
    if (b->Cancel) return b;
  }
  return nullptr;
}

Button* Dialog::ButtonOf(HWND window) const {
  if (!window || GetParent(window) != hwnd()) return nullptr;
  return dynamic_cast<Button*>(ChildWindow::FromHandle(window));
}

HWND Dialog::FirstTabStop() const {
  for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
    if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) return child;
  }
  return nullptr;
}

void Dialog::UpdateDefaultFrame(HWND focus) const {
  Button* focused = ButtonOf(focus);
  for (Button* b : Buttons()) b->ShowAsDefault(focused ? b == focused : b->Default);
}

void Dialog::PressCancel() {
  Button* cancel = CancelButton();
  if (cancel && IsWindowEnabled(cancel->hwnd())) {
    cancel->Press();
  } else if (!cancel) {
    SetModalResult(kModalCancel);
  }
}

bool Dialog::PreviewKey(const MSG& msg) {
  // Alt+letter for a drawn control's accelerator (a group box, say): IsDialogMessage looks in
  // windows only, so the forms of the dialog are asked first.
  if (msg.message == WM_SYSCHAR && hwnd() && (msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd))) {
    struct Ask {
      WPARAM letter;
      bool taken;
    } ask{msg.wParam, false};
    ask.taken = SendMessageA(hwnd(), kDrawnAccelerator, msg.wParam, 0) == 1;
    if (!ask.taken) {
      EnumChildWindows(
          hwnd(),
          [](HWND child, LPARAM lp) -> BOOL {
            auto* a = reinterpret_cast<Ask*>(lp);
            a->taken = SendMessageA(child, kDrawnAccelerator, a->letter, 0) == 1;
            return a->taken ? FALSE : TRUE;
          },
          reinterpret_cast<LPARAM>(&ask));
    }
    if (ask.taken) return true;
  }
  // Ctrl+Tab and Ctrl+Shift+Tab switch the pages, as in every tabbed dialog, wherever the focus
  // is (also in a grid that takes Tab for itself).
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || !(GetKeyState(VK_CONTROL) & 0x8000)) {
    return false;
  }
  if (!hwnd() || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
  PageControl* pages = Pages();
  if (!pages || pages->PageCount() < 2) return false;
  pages->SelectNextPage(!(GetKeyState(VK_SHIFT) & 0x8000));
  return true;
}

bool Dialog::HandleTabKey(const MSG& msg) {
  if (!Pages() || (GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000)) {
    return false;
  }
  // A control that takes Tab itself (a grid moving between its cells) keeps it; it is asked once
  // only, as its answer may run its own handler.
  const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam,
                                    reinterpret_cast<LPARAM>(const_cast<MSG*>(&msg)));
  if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
  }
  const std::vector<HWND> stops = TabOrder(hwnd());
  if (stops.empty()) return true;
  // The stop that holds the focus (the field of a combo box, the editor of a grid).
  HWND focus = GetFocus();
  size_t at = stops.size();
  for (size_t i = 0; i < stops.size() && focus; ++i) {
    if (stops[i] == focus || IsChild(stops[i], focus)) at = i;
  }
  const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  const size_t n = stops.size();
  const size_t next = at == n ? (back ? n - 1 : 0) : (back ? at + n - 1 : at + 1) % n;
  HWND target = stops[next];
  // As the dialog manager moves on: an edit's text is selected whole, the focus shows.
  if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
    SendMessageW(target, EM_SETSEL, 0, -1);
  }
  SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  ::SetFocus(target);
  return true;
}

bool Dialog::HandleDialogKey(const MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && hwnd() &&
      (msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd))) {
    return HandleTabKey(msg);
  }
  if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE)) {
    return false;
  }
  if (!hwnd() || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
  // A control that takes these keys itself (a multi-line edit, say) keeps them.
  const LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam,
                                    reinterpret_cast<LPARAM>(const_cast<MSG*>(&msg)));
  if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  if (msg.wParam == VK_ESCAPE) {
    PressCancel();
    return true;
  }
  Button* target = ButtonOf(GetFocus());
  if (!target) target = DefaultButton();
  if (target && IsWindowEnabled(target->hwnd())) target->Press();
  return true;
}

LRESULT Dialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      if (Button* b = ButtonOf(reinterpret_cast<HWND>(lp))) {
        switch (HIWORD(wp)) {
          case BN_CLICKED:
            b->OnParentCommand(BN_CLICKED);
            if (b->ModalResult != kModalNone) SetModalResult(b->ModalResult);
            return 0;
          case BN_SETFOCUS:
          case BN_KILLFOCUS:
            UpdateDefaultFrame(GetFocus());
            return 0;
          default:
            break;
        }
      } else if (lp == 0 && LOWORD(wp) == IDCANCEL) {
        PressCancel();  // Escape as the dialog manager reports it
        return 0;
      }
      break;
    }
    case WM_CLOSE:
      if (running_) {
        SetModalResult(kModalCancel);
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // Keep the focused control across deactivation, as dialogs do.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
        return 0;
      }
      if (lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd(), lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case DM_GETDEFID:
      if (Button* b = DefaultButton()) return MAKELRESULT(b->Id(), DC_HASDEFID);
      return 0;
    default:
      break;
  }
  return Form::OnMessage(msg, wp, lp);
}

}  // namespace win
