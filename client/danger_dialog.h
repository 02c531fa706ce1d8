// Unit_Danger: the small modal Yes/No question before a dangerous spell is cast. It sits over the
// game client's window, stays on top, and answers No unless the player clicks Yes (or moves the
// focus to Yes and presses Enter or Space).
#pragma once

#include <windows.h>

#include <memory>

#include "win/bevel.h"
#include "win/button.h"
#include "win/dialog.h"
#include "win/graphic.h"
#include "win/handles.h"

namespace quillorb {

inline constexpr char kDangerDialogClass[] = "TOKBottomDlg";

class TOKBottomDlg : public win::Dialog {
 public:
  static constexpr int kYes = 1;
  static constexpr int kNo = 2;
  static constexpr int kClientWidth = 313;
  static constexpr int kClientHeight = 109;

  // Builds the hidden dialog; the caller destroys it after use.
  explicit TOKBottomDlg(HWND owner);

  // Centres the dialog (its outer size) on `window`, or on the screen when the window's
  // rectangle cannot be read. Nothing keeps it inside the screen.
  void PlaceOver(HWND window);
  // Makes the dialog a topmost window (the z-order only).
  void FormShow();

  std::unique_ptr<win::Bevel> Bevel1;
  std::unique_ptr<win::Label> Label1;
  std::unique_ptr<win::Label> Label_Spell;
  std::unique_ptr<win::Button> CancelBtn;  // first in the tab order
  std::unique_ptr<win::Button> OKBtn;

 protected:
  void DoShow() override { FormShow(); }

 private:
  // The form's.
  HFONT labelFont_ = nullptr;   // Arial 13 px
  HFONT spellFont_ = nullptr;   // Arial 21 px bold italic
  HFONT buttonFont_ = nullptr;  // Arial 13 px bold
};

}  // namespace quillorb
