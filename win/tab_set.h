// A tab set: a row of tabs hanging from a line at its top, one of them selected. Its metrics are
// at 96 DPI; it draws them at its form's DPI, lines as whole pixels of that scale.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win/window.h"

namespace win {

class TabSet : public Window {
 public:
  TabSet(HWND parent, int id, int left, int top, int width, int height);

  void SetTabs(std::vector<std::string> tabs);
  const std::vector<std::string>& Tabs() const { return tabs_; }
  int TabIndex() const { return index_; }
  // Selects a tab without firing OnClick.
  void SetTabIndex(int index);
  void SetMetrics(int tabHeight, int startMargin, int endMargin);

  // The horizontal extent of tab i (pixels of the window): where a click selects it.
  RECT TabRect(int i) const;
  int TabAt(POINT client) const;

  // A tab was clicked; the new tab is already selected.
  std::function<void(TabSet& sender)> OnClick;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Rescale(Dpi dpi) override;

 private:
  static constexpr int kEdge = 9;  // width of a tab's slanted side at 96 DPI
  void Layout();
  void Paint(HDC dc);
  void DrawTab(HDC dc, int i, bool selected) const;

  std::vector<std::string> tabs_;
  std::vector<int> textWidth_;
  std::vector<int> start_;
  int index_ = 0;
  int tabHeight_ = 18;
  int startMargin_ = 2;
  int endMargin_ = 0;
  HFONT font_ = nullptr;
  Dpi dpi_;
};

}  // namespace win
