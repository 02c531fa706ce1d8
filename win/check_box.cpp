#include "win/check_box.h"

namespace win {

CheckBox::CheckBox(HWND parent, int id, int left, int top, int width, int height,
                   const std::string& caption) {
  CreateChild("BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, left, top, width,
              height, parent, id);
}

bool CheckBox::Checked() const {
  return SendMessageA(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
  SendMessageA(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::OnParentCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (OnClick) OnClick(*this);
  return true;
}

}  // namespace win
