#include "win/button.h"

namespace win {

Button::Button(HWND parent, int id, int left, int top, int width, int height,
               const std::string& caption) {
  CreateChild("BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, left, top,
              width, height, parent, id);
}

void Button::ShowAsDefault(bool isDefault) {
  if (ShownAsDefault() == isDefault) return;
  SendMessageA(hwnd(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool Button::ShownAsDefault() const {
  return (GetWindowLongPtrA(hwnd(), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

void Button::Press() const {
  SendMessageA(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(Id(), BN_CLICKED),
               reinterpret_cast<LPARAM>(hwnd()));
}

bool Button::OnParentCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (OnClick) OnClick(*this);
  return true;
}

}  // namespace win
