// A top-level window that hosts controls: it paints its graphic controls (double-buffered),
// routes the mouse to them, shows their hints, routes child notifications and runs its timers.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "win/control.h"
#include "win/handles.h"
#include "win/window.h"

namespace win {

class Timer;

class Form : public Window {
 public:
  Form() = default;
  ~Form() override;

  HFONT Font() const { return font_.get(); }
  // Creates the form's font (Arial -11 and so on) and hands it to the child windows.
  void SetFont(win::Font font);

  void AddControl(GraphicControl* control);
  void RemoveControl(GraphicControl* control);
  void InvalidateControl(const GraphicControl& control) const;
  void UpdateHint(const GraphicControl& control);
  const std::vector<GraphicControl*>& Controls() const { return controls_; }

  // Topmost graphic control that takes the mouse at a client point, or nullptr.
  GraphicControl* ControlAt(POINT client) const;

  // Alt+`letter` for a graphic control's accelerator: the focus goes to the first visible,
  // enabled tab stop of this form lying inside the control. Returns whether it matched. The
  // dialog manager (IsDialogMessage) finds accelerators in windows only; a modal dialog asks its
  // forms with kDrawnAccelerator (wParam: the character; the answer 1 when taken).
  bool FocusAccelerator(wchar_t letter);
  static const UINT kDrawnAccelerator;

  // Timers live on the form's window.
  UINT_PTR AddTimer(Timer* timer);
  void RemoveTimer(UINT_PTR id);

 protected:
  // Creates the window with a client area of exactly clientWidth x clientHeight.
  void CreateForm(const char* className, const std::string& caption, DWORD style, DWORD exStyle,
                  int x, int y, int clientWidth, int clientHeight, HICON icon);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PaintControls(HDC dc, const RECT& area);
  void HandleMouseDown(MouseButton button, LPARAM lp, WPARAM keys, bool doubleClick);
  void HandleMouseUp(MouseButton button, LPARAM lp, WPARAM keys);
  void HandleMouseMove(LPARAM lp, WPARAM keys);
  // Creates the tooltip (loading the common controls' classes) and registers every hint, once a
  // control has a hint and the mouse has come over the form.
  void EnsureTooltip();
  void RegisterHint(const GraphicControl& control);

  win::Font font_;
  std::vector<GraphicControl*> controls_;
  GraphicControl* captured_ = nullptr;
  MouseButton capturedButton_ = MouseButton::Left;
  bool capturedDouble_ = false;
  win::OwnedWindow tooltip_;                // created on the first hover
  std::set<const GraphicControl*> hinted_;  // controls registered with the tooltip
  std::map<UINT_PTR, Timer*> timers_;
  UINT_PTR nextTimerId_ = 1;
  HWND focusWhenInactive_ = nullptr;  // the focused control when the form was last deactivated
};

// A message-driven timer of the GUI thread, running on a form's window.
class Timer {
 public:
  Timer(Form& form, UINT intervalMs, bool enabled);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  UINT Interval() const { return interval_; }
  // A running timer restarts with the new interval.
  void SetInterval(UINT intervalMs);
  // Starts the timer on the form's window (call again after the window exists).
  void Apply();
  void Fire();

  std::function<void(Timer& sender)> OnTimer;

 private:
  Form& form_;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_;
};

}  // namespace win
