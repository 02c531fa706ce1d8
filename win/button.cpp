#include "win/button.h"

#include <stdexcept>

namespace win {

Button::Button(HWND parent, int id, int left, int top, int width, int height,
               const std::string& caption) {
  hwnd_ = CreateWindowExA(0, "BUTTON", caption.c_str(),
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, left, top,
                          width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) throw std::runtime_error("cannot create a button");
  Attach(hwnd_);
  SendMessageA(hwnd_, WM_SETFONT, SendMessageA(parent, WM_GETFONT, 0, 0), FALSE);
}

Button::~Button() {
  if (hwnd_) {
    Attach(nullptr);
    DestroyWindow(hwnd_);
  }
}

std::string Button::Caption() const {
  char text[256] = {};
  GetWindowTextA(hwnd_, text, sizeof text);
  return text;
}

void Button::SetCaption(const std::string& caption) {
  SetWindowTextA(hwnd_, caption.c_str());
}

void Button::SetFont(HFONT font) {
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Button::ShowAsDefault(bool isDefault) {
  if (ShownAsDefault() == isDefault) return;
  SendMessageA(hwnd_, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool Button::ShownAsDefault() const {
  return (GetWindowLongPtrA(hwnd_, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

void Button::Press() const {
  SendMessageA(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(Id(), BN_CLICKED),
               reinterpret_cast<LPARAM>(hwnd_));
}

bool Button::OnParentCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (OnClick) OnClick(*this);
  return true;
}

}  // namespace win
