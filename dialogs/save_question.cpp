#include "dialogs/save_question.h"

#include <algorithm>

#include "dialogs/dialog_util.h"

namespace quillorb {
namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kTextLeft = kMargin + kIconSize + 12;
constexpr int kTextWidth = TSaveQuestion::kClientWidth - kTextLeft - kMargin;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;

// The height `text` takes when it is broken into lines of kTextWidth pixels in `font`.
int TextHeight(HFONT font, const std::wstring& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, kTextWidth, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return r.bottom - r.top;
}

}  // namespace

TSaveQuestion::TSaveQuestion(HWND owner, HFONT font, const std::wstring& text,
                             const std::string& goOnCaption) {
  win::Font copy = CopyFont(font);
  const int textHeight = TextHeight(copy.get(), text);
  const int buttonsTop = kMargin + std::max(kIconSize, textHeight) + 16;
  const int height = buttonsTop + kButtonHeight + kMargin;
  CreateModalForm(kSaveQuestionClass, "Quillorb", owner, kClientWidth, height, WS_EX_TOPMOST);
  SetFont(std::move(copy));

  Icon = std::make_unique<win::PaintBox>(*this, kMargin, kMargin, kIconSize, kIconSize);
  Icon->OnPaint = [](win::PaintBox&, HDC dc) {
    DrawIconEx(dc, 0, 0, LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING)), kIconSize,
               kIconSize, 0, nullptr, DI_NORMAL);
  };
  Text = std::make_unique<win::StaticText>(hwnd(), kIdText, kTextLeft, kMargin, kTextWidth,
                                           textHeight, "");
  // File names may hold "&": shown as it is, never as a mnemonic.
  SetWindowLongPtrA(Text->hwnd(), GWL_STYLE,
                    GetWindowLongPtrA(Text->hwnd(), GWL_STYLE) | SS_NOPREFIX);
  SetWindowTextW(Text->hwnd(), text.c_str());

  // Right-aligned, in tab order: Retry, the go-on button, Cancel.
  const int count = goOnCaption.empty() ? 2 : 3;
  int left = kClientWidth - kMargin - count * kButtonWidth - (count - 1) * kButtonGap;
  auto button = [&](int id, const std::string& caption, int result) {
    auto b = std::make_unique<win::Button>(hwnd(), id, left, buttonsTop, kButtonWidth,
                                           kButtonHeight, caption);
    b->ModalResult = result;
    left += kButtonWidth + kButtonGap;
    return b;
  };
  RetryBtn = button(kIdRetry, "&Retry", kRetry);
  RetryBtn->Default = true;
  if (!goOnCaption.empty()) GoOnBtn = button(kIdGoOn, goOnCaption, kGoOn);
  CancelBtn = button(IDCANCEL, "Cancel", kCancel);
  CancelBtn->Cancel = true;
  CenterOnScreen(hwnd());
}

int AskAfterFailedSave(HWND owner, HFONT font, const std::wstring& text,
                       const std::string& goOnCaption) {
  TSaveQuestion question(owner, font, text, goOnCaption);
  MessageBeep(MB_ICONWARNING);
  return question.ShowModal();
}

}  // namespace quillorb
