// A single-line edit control (the system EDIT class), subclassed so that derived controls see
// its messages first.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/child_window.h"
#include "win/handles.h"

namespace win {

class Edit : public ChildWindow {
 public:
  Edit(HWND parent, int id, int left, int top, int width, int height, DWORD extraStyle = 0);

  void SetColor(COLORREF color);
  COLORREF Color() const { return color_; }
  // The caret position and the selection, in characters.
  struct Selection {
    size_t start = 0;
    size_t length = 0;
  };
  Selection GetSelection() const;
  void SetSelection(size_t start, size_t length);
  void SelectAll();
  // Scrolls the view back to the first character (the caret goes to the start). An edit keeps
  // its horizontal scroll position after typing until told so.
  void ShowFromStart();

  // The inner margins, in pixels, kept across font changes (which reset them to the font's own,
  // 2 to 3 pixels a side). None: "999" in Arial 8 pt needs 18 of the 21 pixels inside a 25-pixel
  // counter, and Wine keeps one pixel a side of its own inside the client edge.
  static constexpr int kMargin = 0;

  std::function<void(Edit& sender)> OnChange;
  std::function<void(Edit& sender)> OnEnter;
  std::function<void(Edit& sender)> OnExit;

  bool OnParentCommand(WORD code) override;
  bool OnParentColor(HDC dc, LRESULT& result) override;

 protected:
  // Messages to the edit window, before the system edit handles them.
  virtual LRESULT OnEditMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultEdit(msg, wp, lp); }
  LRESULT DefaultEdit(UINT msg, WPARAM wp, LPARAM lp) { return DefaultChild(msg, wp, lp); }
  LRESULT OnChildMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void DoChange();
  virtual void DoEnter();
  virtual void DoExit();

 private:
  COLORREF color_ = GetSysColor(COLOR_WINDOW);
  Brush brush_;
};

}  // namespace win
