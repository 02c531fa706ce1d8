// Graphic controls of a form: they have no window of their own; the form paints them in creation
// order and gives the mouse to the topmost one under the pointer (so a control created later lies
// over one created earlier). Windowed controls are ChildWindows (win/child_window.h).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace win {

class Form;

enum class MouseButton { Left, Right, Middle };

struct MouseEvent {
  MouseButton button = MouseButton::Left;
  int x = 0;  // relative to the control
  int y = 0;
  WPARAM keys = 0;           // MK_* flags
  bool doubleClick = false;  // on a release: the press was the second of a double click
};

class GraphicControl {
 public:
  // The place is at 96 DPI, scaled to the form's DPI (now and at every change of it); Bounds()
  // and the mouse events are in the form's pixels.
  GraphicControl(Form& parent, int left, int top, int width, int height);
  GraphicControl(const GraphicControl&) = delete;
  GraphicControl& operator=(const GraphicControl&) = delete;
  virtual ~GraphicControl();

  const RECT& Bounds() const { return bounds_; }
  void SetBounds(int left, int top, int width, int height);
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.right - bounds_.left; }
  int Height() const { return bounds_.bottom - bounds_.top; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  // Whether the mouse goes to this control where it lies (false: to whatever lies beneath).
  virtual bool WantsMouse() const { return true; }
  // A caption whose "&" marks a keyboard accelerator (Alt+letter): the form gives the focus to
  // AcceleratorTarget, or without one to the first control in tab order that lies inside this
  // one. Empty: none.
  virtual const std::string& AcceleratorCaption() const;
  virtual HWND AcceleratorTarget() const { return nullptr; }

  // Invalidates the control's area of the form.
  void Repaint() const;
  // The form changed its DPI: the control takes its place at the new scale, and the fonts the
  // form remade replace the old ones it draws with.
  virtual void Rescale();
  virtual void SwapFont(HFONT /*from*/, HFONT /*to*/) {}
  Form& Parent() const { return parent_; }

  int Tag = 0;
  std::function<void(GraphicControl& sender)> OnClick;
  std::function<void(GraphicControl& sender)> OnDblClick;
  std::function<void(GraphicControl& sender, const MouseEvent& e)> OnMouseDown;
  std::function<void(GraphicControl& sender, const MouseEvent& e)> OnMouseUp;
  std::function<void(GraphicControl& sender, int x, int y, WPARAM keys)> OnMouseMove;

  // Called by the form. Paint draws with the origin at the control's top-left corner.
  virtual void Paint(HDC dc) = 0;
  virtual void MouseDown(const MouseEvent& e);
  virtual void MouseUp(const MouseEvent& e, bool inside);
  virtual void MouseMove(int x, int y, WPARAM keys, bool inside);
  virtual void Click();
  virtual void DblClick();

 protected:
  HFONT FormFont() const;
  // Sets the place in the form's pixels (a control that sizes itself to its content); the
  // corner that stays is the caller's to keep at a change of scale.
  void SetPixelBounds(const RECT& pixels);

 private:
  Form& parent_;
  RECT design_{};  // at 96 DPI
  RECT bounds_{};  // in the form's pixels
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
};

}  // namespace win
