// The string grid's in-place editor: opening it over the current cell, committing or restoring
// the cell's text, closing it.
#include <algorithm>
#include <memory>
#include <string>

#include "win/grid_editor.h"
#include "win/string_grid.h"

namespace win {

bool StringGrid::EditorMode() const {
  return editorOpen_;
}

HWND StringGrid::EditorHandle() const {
  return editor_ ? editor_->hwnd() : nullptr;
}

void StringGrid::ShowEditor() {
  if (editorOpen_ || !CanEditShow() || !hwnd()) return;
  Laid();
  if (!model_.WhollyVisible(Col(), Row()) && model_.CellRect(Col(), Row()).Empty()) return;
  if (!editor_) {
    editor_ = std::make_unique<GridEditor>(*this);
    SendMessageA(editor_->hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
  }
  editor_->SetFont(font_, false);
  editorCell_ = model_.Current();
  editorOriginal_ = Cell(Col(), Row());
  editorOpen_ = true;
  SetWindowTextA(editor_->hwnd(), editorOriginal_.c_str());
  PlaceEditor();
  ShowWindow(editor_->hwnd(), SW_SHOW);
  ::SetFocus(editor_->hwnd());
  editor_->SelectAll();
  InvalidateCell(Col(), Row());
}

void StringGrid::PlaceEditor() {
  if (!editorOpen_ || !editor_) return;
  const RECT r = CellRect(editorCell_.col, editorCell_.row);
  // Inside the cell, clear of its lines; the text stands where the grid paints it.
  const int m = dpi_.Multiple();
  SetWindowPos(editor_->hwnd(), nullptr, r.left + m, r.top + m,
               std::max<int>(r.right - r.left - m, 0), std::max<int>(r.bottom - r.top - m, 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void StringGrid::CommitEditor() {
  if (!editor_) return;
  const std::string text = editor_->Text();
  if (text == Cell(editorCell_.col, editorCell_.row)) return;
  model_.SetCell(editorCell_.col, editorCell_.row, text);
  InvalidateCell(editorCell_.col, editorCell_.row);
  if (OnSetEditText) OnSetEditText(*this, editorCell_.col, editorCell_.row, text);
}

void StringGrid::HideEditor() {
  CloseEditor(true, true);
}

void StringGrid::CancelEditor() {
  CloseEditor(false, true);
}

void StringGrid::CloseEditor(bool commit, bool refocus) {
  if (!editorOpen_) return;
  if (commit) CommitEditor();
  editorOpen_ = false;
  const bool hadFocus = GetFocus() == editor_->hwnd();
  ShowWindow(editor_->hwnd(), SW_HIDE);
  if (hadFocus && refocus) ::SetFocus(hwnd());
  InvalidateCell(editorCell_.col, editorCell_.row);
}

}  // namespace win
