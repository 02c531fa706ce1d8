// A windowed control that another control can lay over part of itself (a grid over one of its
// cells) and chain into: it reports the characters typed into it (a handler that sets `key` to 0
// keeps the character from the control) and the focus leaving it.
#pragma once

#include <windows.h>

#include <functional>

#include "win/child_window.h"

namespace win {

class HostedControl : public ChildWindow {
 public:
  using KeyPressEvent = std::function<void(HostedControl& sender, char& key)>;
  using ExitEvent = std::function<void(HostedControl& sender)>;

  KeyPressEvent OnKeyPress;
  ExitEvent OnExit;

  // Lays the control over `area` (pixels) of its parent's client area (a combo box keeps its
  // drop-down list below that area).
  virtual void PlaceOver(const RECT& area) { PlaceAt(area); }
  // Closes whatever part of the control pops up (a dropped-down list).
  virtual void CloseUp() {}
  // The keyboard focus is in the control or in one of its child windows.
  bool HasFocus() const {
    HWND focus = GetFocus();
    return focus && hwnd() && (focus == hwnd() || IsChild(hwnd(), focus));
  }

 protected:
  void DoKeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(*this, key);
  }
  void DoExit() {
    if (OnExit) OnExit(*this);
  }
};

}  // namespace win
