// A single-selection list box (the system LISTBOX class), unsorted: items stay in the order they
// were added.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/child_window.h"

namespace win {

class ListBox : public ChildWindow {
 public:
  ListBox(HWND parent, int id, int left, int top, int width, int height);

  int Count() const;
  std::string Item(int index) const;
  // Appends an item; returns its index.
  int Add(const std::string& text);
  // The same for text with letters outside the ANSI code page included.
  int AddUtf8(const quillorb::Utf8& text);
  quillorb::Utf8 ItemUtf8(int index) const;
  void Clear();
  void Delete(int index);
  // The selected item, or -1.
  int ItemIndex() const;
  // -1 selects nothing.
  void SetItemIndex(int index);
  // The first item equal to `text` (exact comparison), or -1.
  int IndexOf(const std::string& text) const;

  std::function<void(ListBox& sender)> OnDblClick;

  bool OnParentCommand(WORD code) override;
};

}  // namespace win
