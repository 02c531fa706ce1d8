#include "win/list_box.h"

#include "win/utf8.h"

namespace win {

ListBox::ListBox(HWND parent, int id, int left, int top, int width, int height) {
  CreateChild("LISTBOX", "",
              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
              WS_EX_CLIENTEDGE, left, top, width, height, parent, id);
}

int ListBox::Count() const {
  return static_cast<int>(SendMessageA(hwnd(), LB_GETCOUNT, 0, 0));
}

std::string ListBox::Item(int index) const {
  const LRESULT length = SendMessageA(hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(hwnd(), LB_GETTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
  return text;
}

int ListBox::Add(const std::string& text) {
  return static_cast<int>(
      SendMessageA(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int ListBox::AddUtf8(const quillorb::Utf8& text) {
  return static_cast<int>(
      SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str())));
}

quillorb::Utf8 ListBox::ItemUtf8(int index) const {
  const LRESULT length = SendMessageW(hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(hwnd(), LB_GETTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
  return Utf8FromWide(text);
}

void ListBox::Clear() {
  SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
}

void ListBox::Delete(int index) {
  SendMessageA(hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

int ListBox::ItemIndex() const {
  const LRESULT index = SendMessageA(hwnd(), LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void ListBox::SetItemIndex(int index) {
  SendMessageA(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ListBox::IndexOf(const std::string& text) const {
  const int count = Count();
  for (int i = 0; i < count; ++i) {
    if (Item(i) == text) return i;
  }
  return -1;
}

bool ListBox::OnParentCommand(WORD code) {
  if (code != LBN_DBLCLK) return false;
  if (OnDblClick) OnDblClick(*this);
  return true;
}

}  // namespace win
