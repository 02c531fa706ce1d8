// A single-line edit control (the system EDIT class), subclassed so that derived controls see
// its messages first.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/control.h"
#include "win/handles.h"

namespace win {

class Edit : public ChildControl {
 public:
  Edit(HWND parent, int id, int left, int top, int width, int height, DWORD extraStyle = 0);
  ~Edit() override;

  HWND hwnd() const { return hwnd_; }
  std::string Text() const;
  // Replaces the text only when it differs (each replacement is a change).
  void SetText(const std::string& text);
  void SetColor(COLORREF color);
  COLORREF Color() const { return color_; }
  bool Focused() const { return GetFocus() == hwnd_; }
  // The caret position and the selection, in characters.
  struct Selection {
    size_t start = 0;
    size_t length = 0;
  };
  Selection GetSelection() const;
  void SetSelection(size_t start, size_t length);
  void SelectAll();
  void SetTabOrderAfter(HWND previous) const;

  std::function<void(Edit& sender)> OnChange;
  std::function<void(Edit& sender)> OnEnter;
  std::function<void(Edit& sender)> OnExit;

  bool OnParentCommand(WORD code) override;
  bool OnParentColor(HDC dc, LRESULT& result) override;

 protected:
  // Messages to the edit window, before the system edit handles them.
  virtual LRESULT OnEditMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultEdit(UINT msg, WPARAM wp, LPARAM lp);
  virtual void DoChange();
  virtual void DoEnter();
  virtual void DoExit();

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR ref);
  HWND hwnd_ = nullptr;
  COLORREF color_ = GetSysColor(COLOR_WINDOW);
  Brush brush_;
};

}  // namespace win
