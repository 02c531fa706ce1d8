// The string grid's in-place editor: a borderless system EDIT, a child of the grid, laid over the
// cell being edited. It takes Enter, Escape and (with GridTabs) Tab from the dialog, and hands the
// keys that leave a cell to the grid.
#pragma once

#include <windows.h>

#include "win/edit.h"
#include "win/string_grid.h"

namespace win {

class GridEditor : public Edit {
 public:
  explicit GridEditor(StringGrid& grid) : Edit(grid.hwnd(), 0, 0, 0, 0, 0), grid_(grid) {
    SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, 0);
    SetWindowLongPtrA(hwnd(), GWL_STYLE, GetWindowLongPtrA(hwnd(), GWL_STYLE) & ~WS_TABSTOP);
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                     SWP_NOACTIVATE);
  }

 protected:
  LRESULT OnEditMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_GETDLGCODE: {
        const auto* key = reinterpret_cast<const MSG*>(lp);
        LRESULT code = DefaultEdit(msg, wp, lp) | DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (key && key->message == WM_KEYDOWN &&
            (key->wParam == VK_RETURN || key->wParam == VK_ESCAPE ||
             (key->wParam == VK_TAB && (grid_.Options() & GridTabs)))) {
          code |= DLGC_WANTALLKEYS;
        }
        return code;
      }
      case WM_KEYDOWN:
        if (HandleKey(static_cast<WORD>(wp))) return 0;
        break;
      case WM_CHAR:
        // Their key-downs did the work; the edit would only beep.
        if (wp == VK_RETURN || wp == VK_ESCAPE || (wp == VK_TAB && (grid_.Options() & GridTabs))) {
          return 0;
        }
        break;
      case WM_KILLFOCUS: {
        const LRESULT result = DefaultEdit(msg, wp, lp);
        HWND next = reinterpret_cast<HWND>(wp);
        // Leaving the grid altogether keeps what was typed; the focus is already on its way.
        if (next != grid_.hwnd()) {
          grid_.CloseEditor(true, false);
          grid_.DoExit(next);
        }
        return result;
      }
      default:
        break;
    }
    return DefaultEdit(msg, wp, lp);
  }

 private:
  bool HandleKey(WORD key) {
    const unsigned shift = CurrentShiftState();
    switch (key) {
      case VK_RETURN:
        grid_.HideEditor();
        return true;
      case VK_ESCAPE:
        grid_.CancelEditor();
        return true;
      case VK_TAB:
        if (!(grid_.Options() & GridTabs)) return false;
        break;
      case VK_UP:
      case VK_DOWN:
      case VK_PRIOR:
      case VK_NEXT:
        break;
      default:
        return false;
    }
    // Keys that leave the cell: commit, then the grid moves on.
    grid_.HideEditor();
    WORD k = key;
    grid_.KeyDown(k, shift);
    return true;
  }

  StringGrid& grid_;
};

}  // namespace win
