// A push button: the system BUTTON class as a child window of a form. A button with a modal
// result ends the modal run of the dialog it sits on (win/dialog.h) with that result when it is
// clicked; the dialog presses its default button on Enter and its cancel button on Escape.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/child_window.h"

namespace win {

class Button : public ChildWindow {
 public:
  Button(HWND parent, int id, int left, int top, int width, int height, const std::string& caption);

  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& caption) { SetText(caption); }

  // Draws the thick default frame (BS_DEFPUSHBUTTON) or the plain one.
  void ShowAsDefault(bool isDefault);
  bool ShownAsDefault() const;

  // Sends the button's click through its parent, as a mouse click or the space bar does.
  void Press() const;

  int ModalResult = 0;   // non-zero: clicking ends the dialog's modal run with this result
  bool Default = false;  // pressed by Enter when no other button has the focus
  bool Cancel = false;   // pressed by Escape
  std::function<void(Button& sender)> OnClick;

  bool OnParentCommand(WORD code) override;
};

}  // namespace win
