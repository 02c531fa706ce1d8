#include "dialogs/save_question.h"

#include <algorithm>

#include "win/dialog_util.h"
#include "win/handles.h"

namespace quillorb {
namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kTextLeft = kMargin + kIconSize + 12;
constexpr int kTextWidth = TSaveQuestion::kClientWidth - kTextLeft - kMargin;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;

class MessageText : public win::ChildWindow {
 public:
  MessageText(HWND parent, int id, int left, int top, int width, const std::wstring& text) {
    CreateChild("EDIT", "", WS_VISIBLE | ES_MULTILINE | ES_READONLY, 0, left, top, width, 16,
                parent, id);
    SendMessageA(hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    std::wstring lines;
    for (wchar_t c : text) {
      if (c == L'\n') lines += L'\r';
      lines += c;
    }
    SetWindowTextW(hwnd(), lines.c_str());
  }
  // The height of the text as the edit has broken it into lines.
  int TextHeight() const {
    const auto lines = static_cast<int>(SendMessageA(hwnd(), EM_GETLINECOUNT, 0, 0));
    const win::WindowDc dc(hwnd());
    const win::SelectScope font(dc.get(),
                                reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    return lines * metrics.tmHeight;
  }
};

}  // namespace

TSaveQuestion::TSaveQuestion(HWND owner, HFONT font, const SaveQuestion& question) {
  const std::wstring& text = question.text;
  const std::string& goOnCaption = question.goOnCaption;
  CreateModalForm(kSaveQuestionClass, "Quillorb", owner, kClientWidth, 100, WS_EX_TOPMOST);
  SetFont(win::DescribeFont(font, win::WindowDpi(owner)));

  Icon = std::make_unique<win::PaintBox>(*this, kMargin, kMargin, kIconSize, kIconSize);
  Icon->OnPaint = [](win::PaintBox& box, HDC dc) {
    DrawIconEx(dc, 0, 0, LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING)), box.Width(),
               box.Height(), 0, nullptr, DI_NORMAL);
  };
  Text = std::make_unique<MessageText>(hwnd(), kIdText, kTextLeft, kMargin, kTextWidth, text);

  // Right-aligned, in tab order: Retry, the go-on button, Cancel; placed by Layout.
  auto button = [&](int id, const std::string& caption, int result) {
    auto b = std::make_unique<win::Button>(hwnd(), id, 0, 0, kButtonWidth, kButtonHeight, caption);
    b->ModalResult = result;
    return b;
  };
  RetryBtn = button(kIdRetry, "&Retry", kRetry);
  RetryBtn->Default = true;
  if (!goOnCaption.empty()) GoOnBtn = button(kIdGoOn, goOnCaption, kGoOn);
  CancelBtn = button(IDCANCEL, "Cancel", kCancel);
  CancelBtn->Cancel = true;
  Layout();
  win::CenterWindow(hwnd());
}

void TSaveQuestion::Layout() {
  // The text as the edit breaks it at this scale, in 96-DPI pixels (rounded up: nothing cut).
  const int textPixels = static_cast<MessageText&>(*Text).TextHeight();
  const int dpi = Scaling().Value();
  const int textHeight = (textPixels * win::Dpi::kDesign + dpi - 1) / dpi;
  Text->SetBounds(kTextLeft, kMargin, kTextWidth, textHeight);
  const int buttonsTop = kMargin + std::max(kIconSize, textHeight) + 16;
  SetClientSize(kClientWidth, buttonsTop + kButtonHeight + kMargin);
  const int count = GoOnBtn ? 3 : 2;
  int left = kClientWidth - kMargin - count * kButtonWidth - (count - 1) * kButtonGap;
  for (win::Button* b : {RetryBtn.get(), GoOnBtn.get(), CancelBtn.get()}) {
    if (!b) continue;
    b->SetBounds(left, buttonsTop, kButtonWidth, kButtonHeight);
    left += kButtonWidth + kButtonGap;
  }
}

SaveAnswer TSaveQuestion::Execute() {
  switch (ShowModal()) {
    case kRetry:
      return SaveAnswer::Retry;
    case kGoOn:
      return SaveAnswer::GoOn;
    default:
      return SaveAnswer::Cancel;
  }
}

SaveAnswer AskAfterFailedSave(HWND owner, HFONT font, const SaveQuestion& question) {
  TSaveQuestion dialog(owner, font, question);
  MessageBeep(MB_ICONWARNING);
  return dialog.Execute();
}

}  // namespace quillorb
