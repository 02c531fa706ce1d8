// A check box (the system BUTTON class with BS_AUTOCHECKBOX): a caption with a tick that a click,
// the space bar or its accelerator turns on and off.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/child_window.h"

namespace win {

class CheckBox : public ChildWindow {
 public:
  CheckBox(HWND parent, int id, int left, int top, int width, int height,
           const std::string& caption);

  bool Checked() const;
  // Changes the tick without firing OnClick.
  void SetChecked(bool checked);

  // The player changed the tick.
  std::function<void(CheckBox& sender)> OnClick;

  bool OnParentCommand(WORD code) override;
};

}  // namespace win
