#include "client/danger_dialog.h"

namespace quillorb {
namespace {

win::Font ArialFont(int pixelHeight, int weight, bool italic) {
  return win::Font(CreateFontA(-pixelHeight, 0, 0, 0, weight, italic ? TRUE : FALSE, FALSE, FALSE,
                               ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial"));
}

}  // namespace

TOKBottomDlg::TOKBottomDlg(HWND owner) {
  CreateModalForm(kDangerDialogClass, "You are about to cast Dangerous Spell!!", owner,
                  kClientWidth, kClientHeight, WS_EX_TOPMOST);
  SetFont(ArialFont(11, FW_NORMAL, false));
  labelFont_ = ArialFont(13, FW_NORMAL, false);
  spellFont_ = ArialFont(21, FW_BOLD, true);
  buttonFont_ = ArialFont(13, FW_BOLD, false);

  Bevel1 = std::make_unique<win::Bevel>(*this, 8, 8, 297, 65, win::Bevel::Shape::Box,
                                        win::Bevel::Style::Lowered);
  Label1 =
      std::make_unique<win::Label>(*this, 20, 16, 0, 16, "Do you really want to cast this spell?");
  Label1->SetFont(labelFont_.get());
  Label1->SetAutoSize(true);
  Label_Spell = std::make_unique<win::Label>(*this, 20, 40, 277, 24, "");
  Label_Spell->SetFont(spellFont_.get());
  Label_Spell->SetAlignment(win::Label::Align::Center);

  // The tab order is the creation order: No first, so that it has the focus at the start.
  CancelBtn = std::make_unique<win::Button>(hwnd(), IDCANCEL, 220, 80, 86, 25, "No");
  CancelBtn->SetFont(buttonFont_.get());
  CancelBtn->ModalResult = kNo;
  CancelBtn->Default = true;
  CancelBtn->Cancel = true;
  OKBtn = std::make_unique<win::Button>(hwnd(), IDOK, 11, 80, 86, 25, "Yes");
  OKBtn->SetFont(buttonFont_.get());
  OKBtn->ModalResult = kYes;
}

void TOKBottomDlg::PlaceOver(HWND window) {
  RECT dialog{};
  GetWindowRect(hwnd(), &dialog);
  const int width = dialog.right - dialog.left;
  const int height = dialog.bottom - dialog.top;
  RECT r{};
  int left = 0;
  int top = 0;
  if (window && GetWindowRect(window, &r)) {
    left = r.left + (r.right - r.left) / 2 - width / 2;
    top = r.top + (r.bottom - r.top) / 2 - height / 2;
  } else {
    left = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
    top = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
  }
  SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TOKBottomDlg::FormShow() {
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace quillorb
