#include "win/page_control.h"

#include <commctrl.h>

#include <algorithm>

#include "win/dialog_util.h"
#include "win/library.h"

namespace win {

TabSheet::TabSheet(HWND tabControl, HFONT font, const std::string& caption) : caption_(caption) {
  CreateInnerForm("QuillorbTabSheet", caption, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                  WS_EX_CONTROLPARENT, tabControl);
  if (font) SetFont(DescribeFont(font, Scaling()));
}

PageControl::PageControl(HWND parent, int id, int left, int top, int width, int height) {
  InitCommonControlClasses(ICC_TAB_CLASSES);
  CreateChild(WC_TABCONTROLA, "",
              WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TCS_MULTILINE,
              WS_EX_CONTROLPARENT, left, top, width, height, parent, id);
}

void PageControl::Rescale(Dpi dpi) {
  ChildWindow::Rescale(dpi);
  // The tabs were measured with the new font already: the pages fill what they leave.
  LayoutPages();
}

TabSheet& PageControl::AddPage(const std::string& caption) {
  auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
  pages_.push_back(std::make_unique<TabSheet>(hwnd(), font, caption));
  std::string text = caption;
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  const int index = PageCount() - 1;
  SendMessageA(hwnd(), TCM_INSERTITEMA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
  // A new tab may start another row of tabs and shrink the display area: the pages are laid out
  // when one is shown (SetActivePage, a tab chosen), not once per tab added.
  return *pages_.back();
}

int PageControl::ActivePageIndex() const {
  return static_cast<int>(SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0));
}

void PageControl::SetActivePage(int index) {
  if (index < 0 || index >= PageCount()) return;
  SendMessageA(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  // With multi-line tabs the selected row moves next to the pages: the area may change.
  LayoutPages();
  ShowActivePage();
}

void PageControl::SelectNextPage(bool forward) {
  if (PageCount() == 0) return;
  const int active = std::max(ActivePageIndex(), 0);
  SetActivePage((active + (forward ? 1 : PageCount() - 1)) % PageCount());
  if (OnChange) OnChange(*this);
}

RECT PageControl::DisplayRect() const {
  RECT r{};
  GetClientRect(hwnd(), &r);
  SendMessageA(hwnd(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void PageControl::LayoutPages() const {
  const RECT r = DisplayRect();
  for (const auto& page : pages_) {
    SetWindowPos(page->hwnd(), HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE);
  }
}

void PageControl::ShowActivePage() {
  const int active = ActivePageIndex();
  // Show the new page before hiding the old one, so that nothing behind them flashes.
  if (active >= 0 && active < PageCount()) {
    if (OnPageShowing) OnPageShowing(*this, active);
    ShowWindow(Page(active).hwnd(), SW_SHOWNA);
  }
  for (int i = 0; i < PageCount(); ++i) {
    if (i == active) continue;
    HWND page = Page(i).hwnd();
    // The focus inside a page that goes away moves to the tabs.
    HWND focus = GetFocus();
    if (focus && (focus == page || IsChild(page, focus))) ::SetFocus(hwnd());
    ShowWindow(page, SW_HIDE);
  }
}

bool PageControl::OnParentNotify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case TCN_SELCHANGE:
      LayoutPages();
      ShowActivePage();
      if (OnChange) OnChange(*this);
      result = 0;
      return true;
    case TCN_SELCHANGING:
      result = FALSE;  // allow the change
      return true;
    default:
      return false;
  }
}

}  // namespace win
