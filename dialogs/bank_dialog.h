// Unit_Bank: the bank visit. Per reagent the backpack count, an exchange amount and the bank count;
// arrow buttons move the amount between backpack and bank, a click on an icon steps its count, and
// one button brings every backpack count to a common target. The backpack side holds no more than
// the strip's counters (kBackpackMax): what does not fit stays in the bank. The caller hands in a
// BankVisit and takes one back on OK; the dialog touches nothing else.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "controls/num_edit.h"
#include "model/bank_moves.h"
#include "model/spell.h"
#include "win/bevel.h"
#include "win/button.h"
#include "win/dialog.h"
#include "win/graphic.h"

namespace quillorb {

inline constexpr char kBankDialogClass[] = "TBankReagentDialog";

// What the bank visit shows and hands back: the backpack and bank columns and the target of the
// adjustment button (NumEdit_Backpack).
struct BankVisit {
  BankSides sides;
  int32_t target = 0;
};

class TBankReagentDialog : public win::Dialog {
 public:
  static constexpr int kClientWidth = 282;
  static constexpr int kClientHeight = 299;
  // NumEdit1..NumEdit24 have the identifiers 101..124, NumEdit_Backpack 125.
  static constexpr int kIdNumEditFirst = 101;
  static constexpr int kIdTarget = 125;
  enum class Arrow { Left, Right };

  // Builds the hidden dialog over `visit`; `icons` are the main window's reagent pictures
  // (BP..SS), copied.
  TBankReagentDialog(HWND owner, const std::array<HBITMAP, kReagentCount>& icons,
                     const BankVisit& visit = {});
  // Runs the dialog: the visit as the player left it on OK, nothing on Cancel.
  std::optional<BankVisit> Execute();

  void FormCreate(const std::array<HBITMAP, kReagentCount>& icons);
  void StepCount(TNumEdit& field, win::MouseButton button);
  // Moves the amount, but no more than `from` holds and `to` can take below `limit`.
  void MoveReagents(TNumEdit& from, TNumEdit& to, TNumEdit& amount, int32_t limit);
  void SpeedButton_BackpackClick();

  // The visit as the fields show it now.
  BankVisit Visit() const;
  // The visit as the fields took it at the start (each clamps to its limit).
  const BankVisit& Opened() const { return opened_; }

  TNumEdit& BackpackCount(int r) { return *NumEdits[static_cast<size_t>(r)]; }  // NumEdit1..8
  TNumEdit& BankCount(int r) { return *NumEdits[static_cast<size_t>(r) + 8]; }  // NumEdit9..16
  TNumEdit& ExchangeAmount(int r) { return *NumEdits[static_cast<size_t>(r) + 16]; }  // 17..24

  std::unique_ptr<win::Label> Backpack;
  std::unique_ptr<win::Label> Label1;
  std::unique_ptr<win::Label> Label2;
  std::unique_ptr<win::Label> Label3;
  std::unique_ptr<win::Bevel> Bevel1;
  std::unique_ptr<win::Bevel> Bevel2;
  std::array<std::unique_ptr<win::Image>, 16> Images;              // Image1..Image16
  std::array<std::unique_ptr<win::SpeedButton>, 16> SpeedButtons;  // SpeedButton1..16
  std::unique_ptr<win::SpeedButton> SpeedButton_Backpack;
  std::unique_ptr<win::Button> OKBtn;
  std::unique_ptr<win::Button> CancelBtn;
  std::array<std::unique_ptr<TNumEdit>, 24> NumEdits;  // NumEdit1..NumEdit24
  std::unique_ptr<TNumEdit> NumEdit_Backpack;

 private:
  std::unique_ptr<TNumEdit> Field(int id, int left, int top, int width, int value, int32_t max);
  HFONT boldFont_ = nullptr;  // the form's
  BankVisit opened_;
};

// The arrow glyph of the bank dialog's buttons, pointing left or right.
win::Bitmap MakeArrowGlyph(TBankReagentDialog::Arrow arrow);

}  // namespace quillorb
