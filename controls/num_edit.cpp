#include "controls/num_edit.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "win/app.h"
#include "win/library.h"

namespace quillorb {
namespace {

// Every child window below `parent`, in tab (Z) order, each followed by its own children.
void AppendTabOrder(HWND parent, std::vector<HWND>& order) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    order.push_back(child);
    AppendTabOrder(child, order);
  }
}

// Visible, enabled together with all its parents, and not a window that takes no keys (a panel,
// a label: they answer DLGC_STATIC, as the dialog manager's walk expects).
bool CanTakeFocus(HWND window) {
  if (!IsWindowVisible(window)) return false;
  if (SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_STATIC) return false;
  const HWND desktop = GetDesktopWindow();
  for (HWND w = window; w && w != desktop; w = GetAncestor(w, GA_PARENT)) {
    if (!IsWindowEnabled(w)) return false;
  }
  return true;
}

// ImmAssociateContext(window, nullptr): no input method for the window. imm32 is loaded on
// demand; without it there is no input method to switch off.
void DisableInputMethod(HWND window) {
  using AssociateContext = HANDLE(WINAPI*)(HWND, HANDLE);
  static const auto associate =
      win::LibraryFunction<AssociateContext>("imm32.dll", "ImmAssociateContext");
  if (associate) associate(window, nullptr);
}

}  // namespace

// ------------------------------------------------------------------ TCustomEditEx

TCustomEditEx::TCustomEditEx(HWND parent, int id, int left, int top, int width, int height)
    : win::Edit(parent, id, left, top, width, height) {}

void TCustomEditEx::SetEscToExit(bool exit) {
  escToExit_ = exit;
  if (exit) EscToReset = true;
}

LRESULT TCustomEditEx::OnEditMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE: {
      // The dialog message handling asks with the key-down message; other askers pass none.
      // Only a key-down addressed to this control is ours (the Tab handling also asks the
      // control that is about to receive the focus).
      const auto* key = reinterpret_cast<const MSG*>(lp);
      if (key && key->message == WM_KEYDOWN && key->hwnd == hwnd()) {
        return DialogCodeForKey(key->wParam, wp, lp);
      }
      break;
    }
    case WM_KEYDOWN:
      // A single-line edit in a dialog presses the dialog's default button on Return itself
      // (DM_GETDEFID); the field moves the focus on instead, on the character that follows.
      if (wp == VK_RETURN && EnterKeyToExit) return 0;
      break;
    case WM_CHAR:
      if (wp == VK_RETURN && EnterKeyToExit) {
        DoEnterKey();
        return 0;
      }
      break;
    default:
      break;
  }
  return win::Edit::OnEditMessage(msg, wp, lp);
}

LRESULT TCustomEditEx::DialogCodeForKey(WPARAM vk, WPARAM wp, LPARAM lp) {
  // DLGC_WANTALLKEYS (= DLGC_WANTMESSAGE): the key goes to the control, not to the dialog.
  switch (vk) {
    case VK_TAB: {
      DoTabKey();
      const LRESULT code = DefaultEdit(WM_GETDLGCODE, wp, lp);
      return TabKeyToExit ? code & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS)
                          : code | DLGC_WANTTAB | DLGC_WANTALLKEYS;
    }
    case VK_RETURN:
      // Always claimed: a default button is never pressed from here.
      return DefaultEdit(WM_GETDLGCODE, wp, lp) | DLGC_WANTALLKEYS;
    case VK_ESCAPE: {
      const bool claimed = DoEscapeKey();
      const LRESULT code = DefaultEdit(WM_GETDLGCODE, wp, lp);
      return claimed ? code | DLGC_WANTALLKEYS : code & ~DLGC_WANTALLKEYS;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      DoCursorKey(static_cast<char>(vk));
      return DefaultEdit(WM_GETDLGCODE, wp, lp);
    default:
      return DefaultEdit(WM_GETDLGCODE, wp, lp);
  }
}

void TCustomEditEx::DoEnter() {
  win::Edit::DoEnter();
  EntryText = Text();
  Modified = false;
  if (AutoSelect) SelectAll();
}

void TCustomEditEx::DoChange() {
  win::Edit::DoChange();
  Modified = true;
}

void TCustomEditEx::DoCursorKey(char key) {
  if (OnCursorKey) OnCursorKey(*this, key);
}

void TCustomEditEx::DoEnterKey() {
  if (OnEnterKey) OnEnterKey(*this);
  SelectNextControl();
}

bool TCustomEditEx::DoEscapeKey() {
  bool canReset = EscToReset;
  bool canExit = escToExit_;
  if (OnEscapeKey) OnEscapeKey(*this, canReset, canExit);
  if (canReset) {
    SetText(EntryText);
    Modified = false;
  }
  if (canExit) {
    SelectNextControl();
    return false;
  }
  return true;
}

void TCustomEditEx::DoTabKey() {
  if (OnTabKey) OnTabKey(*this);
}

void TCustomEditEx::SelectNextControl() {
  std::vector<HWND> order;
  AppendTabOrder(GetAncestor(hwnd(), GA_ROOT), order);
  std::optional<size_t> self;
  if (auto it = std::find(order.begin(), order.end(), hwnd()); it != order.end()) {
    self = static_cast<size_t>(it - order.begin());
  }
  const auto next = NextFocusIndex(order.size(), self, [&](size_t i) {
    return CanTakeFocus(order[i]) && GetWindow(order[i], GW_CHILD) == nullptr;
  });
  if (next) ::SetFocus(order[*next]);
}

// ------------------------------------------------------------------ TNumEdit

TNumEdit::TNumEdit(HWND parent, int id, int left, int top, int width, int height)
    : TCustomEditEx(parent, id, left, top, width, height) {
  DisableInputMethod(hwnd());
  RefreshText();
  Modified = false;
}

void TNumEdit::SetInteger(int32_t value) {
  NumericField::SetInteger(value);
  RefreshText();
}

void TNumEdit::SetIntegerLater(int32_t value) {
  NumericField::SetInteger(value);
  textStale_ = true;
}

void TNumEdit::FlushText() {
  if (textStale_) RefreshText();
}

void TNumEdit::SetReal(double value) {
  NumericField::SetReal(value);
  RefreshText();
}

void TNumEdit::SetNumDecimals(int32_t decimals) {
  NumericField::SetNumDecimals(decimals);
  RefreshText();
}

void TNumEdit::SetPrefix(std::string prefix) {
  NumericField::SetPrefix(std::move(prefix));
  RefreshText();
}

void TNumEdit::SetSuffix(std::string suffix) {
  NumericField::SetSuffix(std::move(suffix));
  RefreshText();
}

void TNumEdit::SetClearStart(bool clear) {
  NumericField::SetClearStart(clear);
  RefreshText();
}

void TNumEdit::FollowDecimalSeparator() {
  // Only where it shows: the counters, refreshed at every cast, never ask.
  if (NumDecimals() > 0) SetDecimalSeparator(win::UserDecimalSeparator());
}

void TNumEdit::RefreshText() {
  textStale_ = false;
  FollowDecimalSeparator();
  SetText(DisplayText());
  // Scrolled while typing, the view would keep hiding the first digits once the field is left
  // (a text that did not change is not replaced, so nothing else scrolls it back).
  if (!Focused()) ShowFromStart();
}

LRESULT TNumEdit::OnEditMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR) {
    // Typed characters only: a paste or WM_SETTEXT is not filtered, just parsed. A decimal point
    // typed as '.' or ',' goes in as the separator the field shows.
    FollowDecimalSeparator();
    const Selection sel = GetSelection();
    const auto typed = static_cast<char>(wp);
    if (wp > 0x7F || Filter(typed, Text(), sel.start, sel.length) == TypedChar::Discard) {
      // As the system's edit does with a character it cannot take; a control character (Escape,
      // Ctrl+C) is no typing mistake.
      if (wp >= 0x20 && wp != 0x7F) MessageBeep(MB_OK);
      return 0;
    }
    wp = static_cast<unsigned char>(Inserted(typed));
  }
  return TCustomEditEx::OnEditMessage(msg, wp, lp);
}

void TNumEdit::DoEnter() {
  BeginEditing();
  RefreshText();
  TCustomEditEx::DoEnter();
}

void TNumEdit::DoExit() {
  TCustomEditEx::DoExit();
  EndEditing(Modified);
  SetText(DisplayText());
  ShowFromStart();  // the focus is on its way out: Focused() may still say yes
}

void TNumEdit::DoChange() {
  // Only typed text is parsed; an assigned value's text is not read back.
  if (Editing()) TextChanged(Text());
  TCustomEditEx::DoChange();
}

}  // namespace quillorb
