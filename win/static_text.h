// A static text child window (the system STATIC class). Unlike a windowless label it takes part in
// the dialog's keyboard handling: Alt with its underlined letter moves the focus to the next
// control in the tab order.
#pragma once

#include <windows.h>

#include <string>

#include "win/child_window.h"

namespace win {

class StaticText : public ChildWindow {
 public:
  StaticText(HWND parent, int id, int left, int top, int width, int height,
             const std::string& text);
};

}  // namespace win
