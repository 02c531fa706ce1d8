// Runs steps inside a dialog's modal loop: one step per tick of a thread timer, so that every key
// and click a step sends has been handled before the next step looks at the result. The first step
// waits until a visible window of this thread is active: activation arrives asynchronously and
// moves the focus, so keys sent before it would go astray.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace quillorb {

class DialogScript {
 public:
  explicit DialogScript(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 30, &DialogScript::Tick);
  }
  ~DialogScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;
  bool Finished() const { return next_ >= steps_.size(); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogScript* self = current_;
    if (!self || self->Finished()) return;
    HWND active = GetActiveWindow();
    if (self->next_ == 0 && !(active && IsWindowVisible(active))) return;
    self->steps_[self->next_++]();
  }
  static inline DialogScript* current_ = nullptr;
  std::vector<std::function<void()>> steps_;
  size_t next_ = 0;
  UINT_PTR timer_ = 0;
};

// A click of a windowless control of a form: the button messages at a client point.
inline void ClickAt(HWND form, int x, int y, bool right = false) {
  const LPARAM at = MAKELPARAM(x, y);
  SendMessageA(form, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
  SendMessageA(form, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
}

}  // namespace quillorb
