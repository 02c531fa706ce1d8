#include "dialogs/bank_dialog.h"

#include <string_view>

#include "model/bank_moves.h"
#include "win/bitmap.h"
#include "win/dialog_util.h"

namespace quillorb {
namespace {

// The arrow pointing right, one character per pixel: k black, g green, l light green, '.' clear.
constexpr std::array<std::string_view, 9> kArrowRight = {
    "......k.....",  //
    "......kk....",  //
    "kkkkkkklk...",  //
    "klllllllgk..",  //
    "kggggggggGk.",  //
    "kgggggggGk..",  //
    "kkkkkkkGk...",  //
    "......kk....",  //
    "......k.....",
};

// Anything else is the glyph's transparent colour, as its lower-left pixel.
constexpr win::PaletteEntry kArrowPalette[] = {
    {'k', RGB(0, 0, 0)},
    {'g', RGB(0, 160, 0)},
    {'G', RGB(0, 96, 0)},
    {'l', RGB(128, 224, 128)},
};

constexpr int kRows = 8;
constexpr int kRowStep = 24;

}  // namespace

win::Bitmap MakeArrowGlyph(TBankReagentDialog::Arrow arrow) {
  return win::CreatePixelArt(kArrowRight, kArrowPalette, RGB(255, 0, 255),
                             arrow == TBankReagentDialog::Arrow::Left);
}

TBankReagentDialog::TBankReagentDialog(HWND owner, const std::array<HBITMAP, kReagentCount>& icons,
                                       const BankVisit& visit) {
  CreateModalForm(kBankDialogClass, "Bank Reagents", owner, kClientWidth, kClientHeight,
                  WS_EX_TOPMOST);
  SetFont(win::Arial(-12));
  boldFont_ = AddFont(win::Arial(-12, FW_BOLD));

  Backpack = std::make_unique<win::Label>(*this, 8, 8, 0, 15, "Backpack");
  Label1 = std::make_unique<win::Label>(*this, 112, 8, 53, 15, "Exchange");
  Label1->SetAlignment(win::Label::Align::Center);
  Label2 = std::make_unique<win::Label>(*this, 244, 8, 0, 15, "Bank");
  // Each header as wide as its bold text; "Exchange" keeps its centre over its column.
  for (win::Label* label : {Backpack.get(), Label1.get(), Label2.get()}) {
    label->SetFont(boldFont_);
    label->SetAutoSize(true);
  }
  Bevel1 = std::make_unique<win::Bevel>(*this, 8, 224, 265, 9, win::Bevel::Shape::TopLine);
  Label3 = std::make_unique<win::Label>(*this, 8, 234, 0, 15, "Adjust all reagents in a backpack");
  Label3->SetAutoSize(true);
  Bevel2 = std::make_unique<win::Bevel>(*this, 8, 256, 265, 9, win::Bevel::Shape::TopLine);

  // Windowed controls in tab order: OK, Cancel, the backpack column, the bank column, the
  // exchange column, the target.
  OKBtn = std::make_unique<win::Button>(hwnd(), IDOK, 119, 268, 75, 25, "OK");
  OKBtn->Default = true;
  OKBtn->ModalResult = win::kModalOk;
  CancelBtn = std::make_unique<win::Button>(hwnd(), IDCANCEL, 199, 268, 75, 25, "Cancel");
  CancelBtn->Cancel = true;
  CancelBtn->ModalResult = win::kModalCancel;
  // Each field is made with its value: every replacement of an edit's text costs.
  for (int r = 0; r < kRows; ++r) {
    NumEdits[static_cast<size_t>(r)] =
        Field(kIdNumEditFirst + r, 36, 32 + kRowStep * r, 45,
              visit.sides.backpack[static_cast<size_t>(r)], kBackpackMax);
  }
  for (int r = 0; r < kRows; ++r) {
    NumEdits[static_cast<size_t>(r) + 8] =
        Field(kIdNumEditFirst + 8 + r, 196, 32 + kRowStep * r, 45,
              visit.sides.bank[static_cast<size_t>(r)], kBankFieldMax);
  }
  for (int r = 0; r < kRows; ++r) {
    NumEdits[static_cast<size_t>(r) + 16] =
        Field(kIdNumEditFirst + 16 + r, 116, 32 + kRowStep * r, 45, 1, kBankFieldMax);
  }
  NumEdit_Backpack = Field(kIdTarget, 232, 232, 41, visit.target, kBackpackMax);

  for (int r = 0; r < kRows; ++r) {
    const int top = 32 + kRowStep * r;
    auto toBackpack = std::make_unique<win::SpeedButton>(*this, 88, top, 23, 20);
    toBackpack->SetGlyph(MakeArrowGlyph(Arrow::Left));
    toBackpack->OnClick = [this, r](win::GraphicControl&) {
      MoveReagents(BankCount(r), BackpackCount(r), ExchangeAmount(r), kBackpackMax);
    };
    auto toBank = std::make_unique<win::SpeedButton>(*this, 168, top, 23, 20);
    toBank->SetGlyph(MakeArrowGlyph(Arrow::Right));
    toBank->OnClick = [this, r](win::GraphicControl&) {
      MoveReagents(BackpackCount(r), BankCount(r), ExchangeAmount(r), kBankFieldMax);
    };
    SpeedButtons[static_cast<size_t>(r)] = std::move(toBackpack);
    SpeedButtons[static_cast<size_t>(r) + 8] = std::move(toBank);
  }
  SpeedButton_Backpack = std::make_unique<win::SpeedButton>(*this, 202, 232, 23, 20);
  SpeedButton_Backpack->SetGlyph(MakeArrowGlyph(Arrow::Right));
  SpeedButton_Backpack->OnClick = [this](win::GraphicControl&) { SpeedButton_BackpackClick(); };

  for (int k = 0; k < 16; ++k) {
    const int r = k % 8;
    auto image = std::make_unique<win::Image>(*this, k < 8 ? 6 : 246, 28 + kRowStep * r, 25, 23);
    TNumEdit* field = NumEdits[static_cast<size_t>(k)].get();
    image->OnMouseDown = [this, field](win::GraphicControl&, const win::MouseEvent& e) {
      StepCount(*field, e.button);
    };
    Images[static_cast<size_t>(k)] = std::move(image);
  }
  win::CenterWindow(hwnd());
  FormCreate(icons);
  opened_ = Visit();
}

std::optional<BankVisit> TBankReagentDialog::Execute() {
  if (ShowModal() != win::kModalOk) return std::nullopt;
  return Visit();
}

std::unique_ptr<TNumEdit> TBankReagentDialog::Field(int id, int left, int top, int width, int value,
                                                    int32_t max) {
  auto field = std::make_unique<TNumEdit>(hwnd(), id, left, top, width, 19);
  field->Max = max;
  field->EnableNegative = false;
  field->EnterKeyToExit = true;
  // The field shows 0 from its start.
  if (value != 0) field->SetInteger(value);
  return field;
}

void TBankReagentDialog::FormCreate(const std::array<HBITMAP, kReagentCount>& icons) {
  for (int k = 0; k < 16; ++k) {
    Images[static_cast<size_t>(k)]->SetBitmap(win::CopyBitmap(icons[static_cast<size_t>(k % 8)]),
                                              false);
  }
}

BankVisit TBankReagentDialog::Visit() const {
  BankVisit visit;
  for (int r = 0; r < kRows; ++r) {
    visit.sides.backpack[static_cast<size_t>(r)] = NumEdits[static_cast<size_t>(r)]->Integer();
    visit.sides.bank[static_cast<size_t>(r)] = NumEdits[static_cast<size_t>(r) + 8]->Integer();
  }
  visit.target = NumEdit_Backpack->Integer();
  return visit;
}

void TBankReagentDialog::StepCount(TNumEdit& field, win::MouseButton button) {
  field.SetInteger(field.Integer() + (button == win::MouseButton::Left ? 1 : -1));
}

void TBankReagentDialog::MoveReagents(TNumEdit& from, TNumEdit& to, TNumEdit& amount,
                                      int32_t limit) {
  int32_t source = from.Integer();
  int32_t destination = to.Integer();
  quillorb::MoveReagents(source, destination, amount.Integer(), limit);
  from.SetInteger(source);
  to.SetInteger(destination);
}

void TBankReagentDialog::SpeedButton_BackpackClick() {
  const int32_t target = NumEdit_Backpack->Integer();
  for (int r = 0; r < kRows; ++r) {
    int32_t backpack = BackpackCount(r).Integer();
    int32_t bank = BankCount(r).Integer();
    AdjustBackpack(backpack, bank, target);
    BankCount(r).SetInteger(bank);
    BackpackCount(r).SetInteger(backpack);
  }
}

}  // namespace quillorb
