// A page control: the system tab control with one page per tab. Each page (TabSheet) is a child
// window of the tab control that fills its display area and hosts controls like a form (graphic
// controls, child windows, their notifications); only the page of the selected tab is shown.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win/child_window.h"
#include "win/form.h"

namespace win {

class TabSheet : public Form {
 public:
  // A hidden page inside `tabControl`, with a copy of `font`.
  TabSheet(HWND tabControl, HFONT font, const std::string& caption);
  const std::string& Caption() const { return caption_; }

 private:
  std::string caption_;
};

class PageControl : public ChildWindow {
 public:
  // Tabs on several rows when one row does not hold them. The pages take the parent's font.
  PageControl(HWND parent, int id, int left, int top, int width, int height);

  // Adds a hidden page with a tab; "&&" in the caption shows one ampersand. Call SetActivePage
  // once the pages are added.
  TabSheet& AddPage(const std::string& caption);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TabSheet& Page(int index) const { return *pages_[static_cast<size_t>(index)]; }
  int ActivePageIndex() const;
  // Shows page `index` and selects its tab (OnChange does not fire).
  void SetActivePage(int index);
  // Ctrl+Tab (forward) and Ctrl+Shift+Tab: the next or previous page, wrapping, as if the player
  // had chosen its tab (OnChange fires).
  void SelectNextPage(bool forward);
  // The area the pages fill, in the tab control's client coordinates.
  RECT DisplayRect() const;

  // The player chose another tab; the new page is already shown.
  std::function<void(PageControl& sender)> OnChange;
  // A page is about to show (also the first time): the owner may create its controls here.
  std::function<void(PageControl& sender, int index)> OnPageShowing;

  bool OnParentNotify(NMHDR& header, LRESULT& result) override;
  void Rescale(Dpi dpi) override;

 private:
  void LayoutPages() const;
  void ShowActivePage();
  std::vector<std::unique_ptr<TabSheet>> pages_;
};

}  // namespace win
