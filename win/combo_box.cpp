#include "win/combo_box.h"

#include <algorithm>

#include "win/app.h"

namespace win {
ComboBox::ComboBox(HWND parent, int id, int left, int top, int width, DWORD style, int listHeight)
    : listHeight_(listHeight) {
  CreateChild("COMBOBOX", "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | style, 0,
              left, top, width, listHeight, parent, id);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(hwnd(), &info) && info.hwndItem && info.hwndItem != hwnd()) {
    field_ = info.hwndItem;
    list_ = info.hwndList;
    fieldLink_.Install(field_);
  }
}

void ComboBox::SelectItemOfText() {
  if (!list_) return;
  const int length = GetWindowTextLengthW(hwnd());
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), length + 1)));
  // The system's search ignores case: it is asked again after each item that differs in case
  // only, until it comes round.
  LRESULT exact = CB_ERR;
  for (LRESULT after = -1;;) {
    const LRESULT found = SendMessageW(hwnd(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(after),
                                       reinterpret_cast<LPARAM>(text.c_str()));
    if (found == CB_ERR || found <= after) break;
    if (SendMessageW(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(found), 0) == length) {
      std::wstring item(static_cast<size_t>(length) + 1, L'\0');
      const LRESULT copied = SendMessageW(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(found),
                                          reinterpret_cast<LPARAM>(item.data()));
      item.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
      if (item == text) {
        exact = found;
        break;
      }
    }
    after = found;
  }
  SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(exact), 0);
}

int ComboBox::Count() const {
  return static_cast<int>(SendMessageA(hwnd(), CB_GETCOUNT, 0, 0));
}

std::string ComboBox::Item(int index) const {
  if (index < 0 || index >= Count()) return {};
  const LRESULT length = SendMessageA(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

int ComboBox::Add(const std::string& text) {
  return static_cast<int>(
      SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void ComboBox::Insert(int index, const std::string& text) {
  SendMessageA(hwnd(), CB_INSERTSTRING, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.c_str()));
}

void ComboBox::Delete(int index) {
  SendMessageA(hwnd(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void ComboBox::Clear() {
  SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
}

int ComboBox::ItemIndex() const {
  return static_cast<int>(SendMessageA(hwnd(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int index) {
  SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ComboBox::SetMaxLength(int length) {
  SendMessageA(hwnd(), CB_LIMITTEXT, static_cast<WPARAM>(std::max(length, 0)), 0);
}

bool ComboBox::DroppedDown() const {
  return SendMessageA(hwnd(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void ComboBox::SetDroppedDown(bool dropped) {
  if (DroppedDown() != dropped) SendMessageA(hwnd(), CB_SHOWDROPDOWN, dropped ? TRUE : FALSE, 0);
}

int ComboBox::FieldHeight() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.bottom - r.top;
}

namespace {
RECT WindowRectIn(HWND window, HWND parent) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}
}  // namespace

void ComboBox::PlaceOver(const RECT& area) {
  // The window's height is that of the field and the dropped-down list together: placed first,
  // since Wine takes a new window height for the font's field height again.
  const int height = area.bottom - area.top;
  PlaceAt(RECT{area.left, area.top, area.right,
               area.top + FieldHeight() + WindowDpi(hwnd()).Scale(listHeight_)});
  // Then the field is made exactly as high as the area, so that it covers no neighbour (a grid's
  // next row). Wine reads back 2 more than it was given: the field is measured and corrected.
  int itemHeight =
      static_cast<int>(SendMessageA(hwnd(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int over = FieldHeight() - height;
    if (over == 0 || itemHeight - over <= 0) break;
    itemHeight -= over;
    SendMessageA(hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight);
  }
  // A field lower than the font: the edit takes the whole height inside the frame's outer line,
  // so that the letters' feet are not cut (their cell's blank top goes instead).
  if (field_) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    RECT edit = WindowRectIn(field_, hwnd());
    const int fontHeight = static_cast<int>(SendMessageA(hwnd(), CB_GETITEMHEIGHT, 0, 0));
    if (edit.bottom - edit.top < fontHeight) {
      SetWindowPos(field_, nullptr, edit.left, 1, edit.right - edit.left, client.bottom - 2,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

bool ComboBox::OnParentCommand(WORD code) {
  switch (code) {
    case CBN_EDITCHANGE:
    case CBN_SELCHANGE:
      if (OnChange) OnChange(*this);
      return true;
    case CBN_SETFOCUS:
      if (OnEnter) OnEnter(*this);
      return true;
    default:
      return false;
  }
}

bool ComboBox::FilterChar(WPARAM& wp) {
  // The field and the box are Unicode windows (created with the wide function, subclassed so):
  // `wp` is a UTF-16 unit. OnKeyPress sees it as an ANSI character; one that the code page lacks
  // (or half of a surrogate pair) goes on unseen and unchanged, as a plain combo box keeps it.
  const auto typed = static_cast<wchar_t>(wp);
  const std::optional<std::string> ansi = WideToAnsi(std::wstring_view(&typed, 1));
  if (!ansi || ansi->size() != 1) return true;
  char key = (*ansi)[0];
  DoKeyPress(key);
  if (key == 0) return false;
  if (key != (*ansi)[0]) {
    const std::wstring changed = AnsiToWide(std::string(1, key));
    if (changed.size() == 1) wp = changed[0];
  }
  return true;
}

LRESULT ComboBox::OnChildMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CHAR:
      // A pick-list box has no field: the characters come to the box itself.
      if (!field_ && !FilterChar(wp)) return 0;
      break;
    case WM_GETDLGCODE:
      if (!field_) {
        const auto* key = reinterpret_cast<const MSG*>(lp);
        LRESULT code = DefaultChild(msg, wp, lp);
        if (key && key->message == WM_KEYDOWN &&
            ((key->wParam == VK_RETURN && OnKeyPress) ||
             ((key->wParam == VK_RETURN || key->wParam == VK_ESCAPE) && DroppedDown()))) {
          code |= DLGC_WANTALLKEYS;
        }
        return code;
      }
      break;
    case WM_KILLFOCUS: {
      const LRESULT result = DefaultChild(msg, wp, lp);
      HWND next = reinterpret_cast<HWND>(wp);
      if (!field_ && !(next && (next == hwnd() || IsChild(hwnd(), next)))) DoExit();
      return result;
    }
    case WM_SETTEXT: {
      const LRESULT result = DefaultChild(msg, wp, lp);
      if (field_) SelectItemOfText();
      return result;
    }
    default:
      break;
  }
  return DefaultChild(msg, wp, lp);
}

LRESULT ComboBox::FieldLink::OnSubclassMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CHAR:
      if (!box_.FilterChar(wp)) return 0;
      break;
    case WM_GETDLGCODE: {
      // Enter is the field's when someone listens to the typed characters (or the list is
      // down); otherwise it is the dialog's.
      const auto* key = reinterpret_cast<const MSG*>(lp);
      LRESULT code = CallNext(hwnd, msg, wp, lp);
      if (key && key->message == WM_KEYDOWN &&
          ((key->wParam == VK_RETURN && box_.OnKeyPress) ||
           ((key->wParam == VK_RETURN || key->wParam == VK_ESCAPE) && box_.DroppedDown()))) {
        code |= DLGC_WANTALLKEYS;
      }
      return code;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = CallNext(hwnd, msg, wp, lp);
      HWND next = reinterpret_cast<HWND>(wp);
      const HWND box = box_.hwnd();
      if (box && !(next && (next == box || IsChild(box, next)))) box_.DoExit();
      return result;
    }
    default:
      break;
  }
  return CallNext(hwnd, msg, wp, lp);
}

}  // namespace win
