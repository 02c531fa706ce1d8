// The owning base of every child window built on a system control class (EDIT, BUTTON, LISTBOX,
// COMBOBOX, ...). It creates the window, links it to this object with a subclass
// (win/subclass.h), through which the control's own messages come to it and the parent's routing
// of notifications finds it, hands it the parent's font, and follows its life: when the window
// goes (WM_NCDESTROY, also when the parent destroys its children first) the link is cut and the
// handle cleared; when the object goes first, the link is cut before the window is destroyed, so
// that notifications sent during DestroyWindow (EN_KILLFOCUS and the like) never reach a dying
// object.
#pragma once

#include <windows.h>

#include <string>

#include "model/path.h"
#include "win/dpi.h"
#include "win/subclass.h"

namespace win {

// The text of any window, whatever its length.
std::string WindowText(HWND hwnd);
// The window's text as it is held, letters outside the ANSI code page included.
std::wstring WindowTextW(HWND hwnd);

class ChildWindow {
 public:
  ChildWindow() = default;
  ChildWindow(const ChildWindow&) = delete;
  ChildWindow& operator=(const ChildWindow&) = delete;
  virtual ~ChildWindow();

  HWND hwnd() const { return hwnd_; }
  int Id() const { return GetDlgCtrlID(hwnd_); }
  std::string Text() const { return WindowText(hwnd_); }
  // Replaces the text only when it differs (for an edit, each replacement is a change).
  void SetText(const std::string& text);
  // The text with letters outside the ANSI code page included (a path, say).
  quillorb::Utf8 Utf8Text() const;
  void SetUtf8Text(const quillorb::Utf8& text);
  void SetFont(HFONT font, bool redraw = true);  // not owned
  bool Focused() const { return hwnd_ && GetFocus() == hwnd_; }
  void SetFocus() const { ::SetFocus(hwnd_); }
  bool Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
  void SetVisible(bool visible) const { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
  bool Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
  void SetEnabled(bool enabled) const { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
  // Places the window at 96-DPI coordinates of its parent, scaled to its DPI now and at every
  // later change of scale.
  void SetBounds(int left, int top, int width, int height);
  // Places the window at pixels of its parent as they are now (over a grid's cell, say): the
  // owner places it again after a change of scale.
  void PlaceAt(const RECT& pixels);
  // Places the window right after `previous` in the tab (Z) order; first when nullptr.
  void SetTabOrderAfter(HWND previous) const;

  // The object linked to a child window, or nullptr.
  static ChildWindow* FromHandle(HWND hwnd);

  // Notifications the parent received for this window. Return true when handled; `result` is
  // then the message result.
  virtual bool OnParentCommand(WORD /*code*/) { return false; }
  virtual bool OnParentNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual bool OnParentColor(HDC /*dc*/, LRESULT& /*result*/) { return false; }
  // The parent's form changed its DPI (kRescaleMessage): back to the place set at 96 DPI.
  virtual void Rescale(Dpi dpi);

 protected:
  // Creates the control (a Unicode window) as a child of `parent` with the parent's font, at
  // 96-DPI coordinates scaled to the parent's DPI. Throws on failure.
  void CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                   int left, int top, int width, int height, HWND parent, int id);
  // The control's own messages, before the system class handles them.
  virtual LRESULT OnChildMessage(UINT msg, WPARAM wp, LPARAM lp) {
    return DefaultChild(msg, wp, lp);
  }
  LRESULT DefaultChild(UINT msg, WPARAM wp, LPARAM lp) {
    return link_.CallNext(hwnd_, msg, wp, lp);
  }

 private:
  // The subclass that links the window to this object.
  class Link : public Subclass {
   public:
    explicit Link(ChildWindow& owner) : owner_(owner) {}
    using Subclass::CallNext;
    ChildWindow& owner_;

   protected:
    LRESULT OnSubclassMessage(HWND, UINT msg, WPARAM wp, LPARAM lp) override;
    // The window went first (its parent is being destroyed): the handle is forgotten.
    void OnWindowGone() override { owner_.hwnd_ = nullptr; }
  };
  HWND hwnd_ = nullptr;
  RECT design_{};       // the place at 96 DPI
  bool placed_ = true;  // false: placed in pixels by its owner
  Link link_{*this};
};

}  // namespace win
