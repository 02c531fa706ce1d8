// A combo box (the system COMBOBOX class): an edit field with a drop-down list (CBS_DROPDOWN)
// or a pick list (CBS_DROPDOWNLIST). Characters typed into its field reach OnKeyPress first;
// OnExit fires when the focus leaves the control. A text set into the field selects the item
// that is exactly that text (none when no item is), so that Up and Down go on from it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/hosted_control.h"
#include "win/subclass.h"

namespace win {

class ComboBox : public HostedControl {
 public:
  // `style`: CBS_DROPDOWN (typing allowed) or CBS_DROPDOWNLIST. `listHeight`: the height of the
  // dropped-down list in pixels at 96 DPI.
  ComboBox(HWND parent, int id, int left, int top, int width, DWORD style = CBS_DROPDOWN,
           int listHeight = 200);

  // The items of the list.
  int Count() const;
  std::string Item(int index) const;  // empty outside 0 .. Count() - 1
  int Add(const std::string& text);   // returns the index
  void Insert(int index, const std::string& text);
  void Delete(int index);
  void Clear();
  // The item shown in the field; -1 when the field's text is not a chosen item.
  int ItemIndex() const;
  void SetItemIndex(int index);
  // Limits what can be typed into the field (0: no limit).
  void SetMaxLength(int length);

  bool DroppedDown() const;
  void SetDroppedDown(bool dropped);
  // The height of the field (without the list).
  int FieldHeight() const;

  std::function<void(ComboBox& sender)> OnChange;  // text typed or item chosen
  std::function<void(ComboBox& sender)> OnEnter;   // the focus arrived

  void PlaceOver(const RECT& area) override;
  void CloseUp() override { SetDroppedDown(false); }
  bool OnParentCommand(WORD code) override;

 protected:
  LRESULT OnChildMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // The subclass of the edit field: typed characters, Enter and the focus leaving.
  class FieldLink : public Subclass {
   public:
    explicit FieldLink(ComboBox& box) : box_(box) {}

   protected:
    LRESULT OnSubclassMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;
    void OnWindowGone() override { box_.field_ = nullptr; }

   private:
    ComboBox& box_;
  };
  // A WM_CHAR for the field or the list-only box: OnKeyPress first. Returns false when the
  // character was swallowed.
  bool FilterChar(WPARAM& wp);
  // Selects in the list the item that is exactly the field's text, or none; the field keeps its
  // text and caret. (The system's box leaves the list as it was when its text is set.)
  void SelectItemOfText();
  HWND field_ = nullptr;  // the edit field of a CBS_DROPDOWN box
  HWND list_ = nullptr;   // its list
  int listHeight_;
  FieldLink fieldLink_{*this};
};

}  // namespace win
