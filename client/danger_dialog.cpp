#include "client/danger_dialog.h"

#include "win/dialog_util.h"

namespace quillorb {
TOKBottomDlg::TOKBottomDlg(HWND owner) {
  CreateModalForm(kDangerDialogClass, "You are about to cast Dangerous Spell!!", owner,
                  kClientWidth, kClientHeight, WS_EX_TOPMOST);
  SetFont(win::Arial(-11));
  labelFont_ = AddFont(win::Arial(-13));
  spellFont_ = AddFont(win::Arial(-21, FW_BOLD, true));
  buttonFont_ = AddFont(win::Arial(-13, FW_BOLD));

  Bevel1 = std::make_unique<win::Bevel>(*this, 8, 8, 297, 65, win::Bevel::Shape::Box,
                                        win::Bevel::Style::Lowered);
  Label1 =
      std::make_unique<win::Label>(*this, 20, 16, 0, 16, "Do you really want to cast this spell?");
  Label1->SetFont(labelFont_);
  Label1->SetAutoSize(true);
  Label_Spell = std::make_unique<win::Label>(*this, 20, 40, 277, 24, "");
  Label_Spell->SetFont(spellFont_);
  Label_Spell->SetAlignment(win::Label::Align::Center);

  // The tab order is the creation order: No first, so that it has the focus at the start.
  CancelBtn = std::make_unique<win::Button>(hwnd(), IDCANCEL, 220, 80, 86, 25, "No");
  CancelBtn->SetFont(buttonFont_);
  CancelBtn->ModalResult = kNo;
  CancelBtn->Default = true;
  CancelBtn->Cancel = true;
  OKBtn = std::make_unique<win::Button>(hwnd(), IDOK, 11, 80, 86, 25, "Yes");
  OKBtn->SetFont(buttonFont_);
  OKBtn->ModalResult = kYes;
}

void TOKBottomDlg::PlaceOver(HWND window) {
  win::CenterWindow(hwnd(), window);
}

void TOKBottomDlg::FormShow() {
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace quillorb
