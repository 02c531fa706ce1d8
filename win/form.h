// A top-level window that hosts controls: it paints its graphic controls (double-buffered),
// routes the mouse to them, shows their hints, routes child notifications and runs its timers.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "win/control.h"
#include "win/dialog_util.h"
#include "win/dpi.h"
#include "win/handles.h"
#include "win/window.h"

namespace win {

class Timer;

// The fonts a form remade for a new DPI, the old ones beside their successors.
using FontSwaps = std::vector<std::pair<win::Font, HFONT>>;

// A form is laid out at 96 DPI and shown at the DPI of its monitor (win/dpi.h): the controls and
// child windows created on it take 96-DPI coordinates, its fonts are made for its DPI, and when
// the window moves to a monitor of another scale (WM_DPICHANGED) everything is laid out again.
class Form : public Window {
 public:
  Form() = default;
  ~Form() override;

  // The DPI the form is laid out at.
  Dpi Scaling() const { return dpi_; }

  HFONT Font() const { return font_.font.get(); }
  // The form's font (Arial -11 and so on), made for the form's DPI and handed to the child
  // windows. A ready font counts as made for the form's present DPI.
  void SetFont(const FontDesc& desc);
  void SetFont(win::Font font);
  // Another font of the form (a bold caption, say), owned by it and remade at every change of
  // DPI (the labels and child windows that draw with it get the new one).
  HFONT AddFont(const FontDesc& desc);

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

  // Lays the form out at `dpi` (what WM_DPICHANGED does): its controls, child windows and fonts,
  // and a top-level form's client area. `place`, when given, is where the window goes (the
  // system's suggestion); otherwise its top-left corner stays.
  void ChangeDpi(Dpi dpi, const RECT* place = nullptr);
  // The client area at 96 DPI, scaled to the form's DPI now and at every change of it.
  void SetClientSize(int width, int height);

 protected:
  // Creates the top-level window with a client area of exactly clientWidth x clientHeight at 96
  // DPI, scaled to the DPI of the monitor it is created on.
  void CreateForm(const char* className, const std::string& caption, DWORD style, DWORD exStyle,
                  int x, int y, int clientWidth, int clientHeight, HICON icon,
                  HWND owner = nullptr);
  // A form inside another window (a page): it takes the DPI of the window it stands in.
  void CreateInnerForm(const char* className, const std::string& caption, DWORD style,
                       DWORD exStyle, HWND parent);
  // What the form itself must redo at a new DPI beyond its controls (pictures drawn for it, say).
  virtual void DpiChanged() {}
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct ScaledFont {
    FontDesc desc;
    win::Font font;
  };
  void PaintControls(HDC dc, const RECT& area);
  void HandleMouseDown(MouseButton button, LPARAM lp, WPARAM keys, bool doubleClick);
  void HandleMouseUp(MouseButton button, LPARAM lp, WPARAM keys);
  void HandleMouseMove(LPARAM lp, WPARAM keys);
  // Creates the tooltip (loading the common controls' classes) and registers every hint, once a
  // control has a hint and the mouse has come over the form.
  void EnsureTooltip();
  void RegisterHint(const GraphicControl& control);
  // The form's controls, fonts and child windows at the form's new DPI (for a form inside
  // another, from its kRescaleMessage).
  void RescaleContents(FontSwaps& swaps);
  // The outer size of the window at `dpi` (WM_GETDPISCALEDSIZE).
  SIZE OuterSize(Dpi dpi) const;

  Dpi dpi_;
  SIZE clientSize_{};  // at 96 DPI; none for a form inside another
  // The fonts of the scale before: a window that borrowed one (a dialog over this form, say)
  // may still draw with it until it takes a new one at its own change of scale.
  FontSwaps retired_;
  ScaledFont font_;
  std::vector<std::unique_ptr<ScaledFont>> fonts_;  // AddFont's
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
