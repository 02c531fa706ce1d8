#include "win/input_box.h"

#include "win/app.h"
#include "win/dialog_util.h"

namespace win {
namespace {

constexpr int kWidth = 280;
constexpr int kHeight = 96;

}  // namespace

InputBox::InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                   const std::string& text, HFONT font) {
  CreateModalForm(kInputBoxClass, caption, owner, kWidth, kHeight, WS_EX_TOPMOST);
  if (!font && owner) font = reinterpret_cast<HFONT>(SendMessageA(owner, WM_GETFONT, 0, 0));
  SetFont(DescribeFont(font, WindowDpi(owner)));
  Prompt = std::make_unique<Label>(*this, 8, 8, kWidth - 16, 14, prompt);
  // The tab order is the creation order: the field first, so that it has the focus.
  Field = std::make_unique<Edit>(hwnd(), kEditId, 8, 26, kWidth - 16, 21);
  Field->SetText(text);
  OKBtn = std::make_unique<Button>(hwnd(), IDOK, kWidth / 2 - 80, 62, 75, 25, "OK");
  OKBtn->ModalResult = kModalOk;
  OKBtn->Default = true;
  CancelBtn = std::make_unique<Button>(hwnd(), IDCANCEL, kWidth / 2 + 5, 62, 75, 25, "Cancel");
  CancelBtn->ModalResult = kModalCancel;
  CancelBtn->Cancel = true;
}

void InputBox::DoShow() {
  // Centred on the owner, or on the screen without one.
  CenterWindow(hwnd(), GetWindow(hwnd(), GW_OWNER));
  Field->SelectAll();
}

std::optional<quillorb::Utf8> InputQuery(HWND owner, const std::string& caption,
                                         const std::string& prompt, const std::string& text,
                                         HFONT font) {
  InputBox box(owner, caption, prompt, text, font);
  if (box.ShowModal() != kModalOk) return std::nullopt;
  // As typed: the field is a Unicode window and keeps letters the ANSI code page lacks.
  return Utf8FromWide(WindowTextW(box.Field->hwnd()));
}

}  // namespace win
