#include "controls/num_edit.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quillorb {

void TCustomEditEx::DoEnter() {
  win::Edit::DoEnter();
  EntryText = Text();
  Modified = false;
}

void TCustomEditEx::DoChange() {
  win::Edit::DoChange();
  Modified = true;
}

TNumEdit::TNumEdit(HWND parent, int id, int left, int top, int width, int height)
    : TCustomEditEx(parent, id, left, top, width, height) {
  RefreshText();
}

void TNumEdit::SetInteger(int32_t value) {
  double v = value < 0 ? 0.0 : static_cast<double>(value);
  if (v > Max) v = std::trunc(Max);
  integer_ = static_cast<int32_t>(v);
  real_ = v;
  RefreshText();
}

void TNumEdit::SetReal(double value) {
  double v = value < 0.0 ? 0.0 : value;
  if (v > Max) v = Max;
  integer_ = static_cast<int32_t>(std::trunc(v));
  real_ = v;
  RefreshText();
}

void TNumEdit::RefreshText() {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.0f", real_);
  SetText(buf);
}

void TNumEdit::ParseText() {
  if (!editing_) return;
  std::string text = Text();
  double v = std::strtod(text.c_str(), nullptr);
  if (v < Min) {
    v = Min;
  } else if (v > Max) {
    v = Max;
  }
  real_ = v;
  integer_ = static_cast<int32_t>(std::trunc(v));
}

void TNumEdit::DoEnter() {
  editing_ = true;
  RefreshText();
  TCustomEditEx::DoEnter();
  SendMessageA(hwnd(), EM_SETSEL, 0, -1);
}

void TNumEdit::DoExit() {
  TCustomEditEx::DoExit();
  editing_ = false;
  RefreshText();
}

void TNumEdit::DoChange() {
  ParseText();
  TCustomEditEx::DoChange();
}

}  // namespace quillorb
