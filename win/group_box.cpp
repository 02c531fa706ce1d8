#include "win/group_box.h"

#include "win/form.h"
#include "win/handles.h"

namespace win {

GroupBox::GroupBox(Form& parent, int left, int top, int width, int height, std::string caption)
    : GraphicControl(parent, left, top, width, height), caption_(std::move(caption)) {}

void GroupBox::Paint(HDC dc) {
  SelectObject(dc, FormFont());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  // The frame's top edge runs through the middle of the caption.
  RECT frame{0, tm.tmHeight / 2, Width(), Height()};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (caption_.empty()) return;
  const Dpi dpi = Parent().Scaling();
  RECT text{dpi.Scale(8), 0, Width() - dpi.Scale(8), tm.tmHeight};
  DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text,
            DT_SINGLELINE | DT_CALCRECT);
  text.left -= dpi.Scale(2);
  text.right += dpi.Scale(2);
  FillRect(dc, &text, GetSysColorBrush(COLOR_BTNFACE));
  text.left += dpi.Scale(2);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text, DT_SINGLELINE);
}

}  // namespace win
