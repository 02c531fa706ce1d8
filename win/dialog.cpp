#include "win/dialog.h"

namespace win {

void Dialog::CreateModalForm(const char* className, const std::string& caption, HWND owner,
                             int clientWidth, int clientHeight, DWORD extraExStyle) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT | extraExStyle;
  RegisterClass(className, CS_DBLCLKS, nullptr, nullptr);
  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  CreateWindowOf(className, caption, style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                 outer.right - outer.left, outer.bottom - outer.top, owner, nullptr);
  FitClientArea(clientWidth, clientHeight);
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
    if (HandleDialogKey(msg)) continue;
    if (hwnd() && IsDialogMessageW(hwnd(), &msg)) continue;
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

bool Dialog::HandleDialogKey(const MSG& msg) {
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
