// The bank dialog on real windows: clicks on its arrows, icons and the adjustment button as mouse
// messages, Enter and Escape in its fields as keystrokes inside its modal loop.
#include "dialogs/bank_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/harness/harness.h"
#include "tests/win/dialog_script.h"
#include "win/bitmap.h"

namespace quillorb {
namespace {

class Bank : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (int r = 0; r < kReagentCount; ++r) {
      icons_[static_cast<size_t>(r)] = win::CreateFilledBitmap(25, 23, RGB(30 * r, 0, 0));
    }
  }
  void SetUp() override {
    std::array<HBITMAP, kReagentCount> icons{};
    for (size_t r = 0; r < icons.size(); ++r) icons[r] = icons_[r].get();
    dialog_ = std::make_unique<TBankReagentDialog>(nullptr, icons);
  }
  HWND Form() const { return dialog_->hwnd(); }
  // Sets backpack and bank of reagent r.
  void Set(int r, int backpack, int bank) {
    dialog_->BackpackCount(r).SetInteger(backpack);
    dialog_->BankCount(r).SetInteger(bank);
  }
  std::pair<int, int> Counts(int r) {
    return {dialog_->BackpackCount(r).Integer(), dialog_->BankCount(r).Integer()};
  }
  void ClickControl(const win::GraphicControl& c, bool right = false) {
    ClickAt(Form(), c.Left() + c.Width() / 2, c.Top() + c.Height() / 2, right);
  }

  static std::array<win::Bitmap, kReagentCount> icons_;
  std::unique_ptr<TBankReagentDialog> dialog_;
};
std::array<win::Bitmap, kReagentCount> Bank::icons_;

TEST_F(Bank, ArrowsMoveOnlyWhatThereIsAndTheAdjustmentKeepsEverySum) {
  TBankReagentDialog& d = *dialog_;
  for (int r = 0; r < kReagentCount; ++r) EXPECT_EQ(d.ExchangeAmount(r).Integer(), 1);
  d.ExchangeAmount(0).SetInteger(10);
  Set(0, 5, 3);
  ClickControl(*d.SpeedButtons[0]);  // bank to backpack: only the 3 the bank holds
  EXPECT_EQ(Counts(0), std::make_pair(8, 0));
  ClickControl(*d.SpeedButtons[8]);  // backpack to bank: 8 of 10
  EXPECT_EQ(Counts(0), std::make_pair(0, 8));
  Set(1, 50, 9995);
  d.ExchangeAmount(1).SetInteger(10);
  ClickControl(*d.SpeedButtons[9]);  // the bank takes 4 more
  EXPECT_EQ(Counts(1), std::make_pair(46, 9999));

  const std::vector<std::array<int, 2>> before = {{10, 50}, {40, 5}, {3, 4}, {9999, 9999}};
  for (int r = 0; r < 4; ++r) Set(r, before[r][0], before[r][1]);
  for (int r = 4; r < 8; ++r) Set(r, 0, 0);
  d.NumEdit_Backpack->SetInteger(30);
  ClickControl(*d.SpeedButton_Backpack);
  EXPECT_EQ(Counts(0), std::make_pair(30, 30));
  EXPECT_EQ(Counts(1), std::make_pair(30, 15));
  EXPECT_EQ(Counts(2), std::make_pair(7, 0));
  EXPECT_EQ(Counts(3), std::make_pair(999, 9999));  // the backpack holds no more than 999
  EXPECT_EQ(Counts(4), std::make_pair(0, 0));
  d.NumEdit_Backpack->SetInteger(0);
  ClickControl(*d.SpeedButton_Backpack);
  EXPECT_EQ(Counts(0), std::make_pair(0, 60));
  EXPECT_EQ(Counts(1), std::make_pair(0, 45));
  EXPECT_EQ(Counts(2), std::make_pair(0, 7));
}

// The bold "Exchange" header shows whole, centred over its column as before.
TEST_F(Bank, ExchangeHeaderHoldsItsBoldText) {
  const win::Label& header = *dialog_->Label1;
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, header.Font());
  SIZE text{};
  GetTextExtentPoint32A(screen, "Exchange", 8, &text);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  EXPECT_GE(header.Width(), text.cx);
  EXPECT_NEAR(header.Left() + header.Width() / 2.0, 112 + 53 / 2.0, 1.0);
}

TEST_F(Bank, IconClicksStepTheirCountWithinTheBounds) {
  TBankReagentDialog& d = *dialog_;
  Set(2, 0, 9999);
  ClickControl(*d.Images[2], true);  // right click at 0
  EXPECT_EQ(d.BackpackCount(2).Integer(), 0);
  ClickControl(*d.Images[2]);
  ClickControl(*d.Images[2]);
  EXPECT_EQ(d.BackpackCount(2).Integer(), 2);
  ClickControl(*d.Images[10]);  // left click at 9999
  EXPECT_EQ(d.BankCount(2).Integer(), 9999);
  ClickControl(*d.Images[10], true);
  EXPECT_EQ(d.BankCount(2).Integer(), 9998);
  EXPECT_EQ(d.BackpackCount(3).Integer(), 0);  // nothing else moved
}

TEST_F(Bank, EnterWalksTheColumnsAndNeitherEnterNorEscapeInAFieldCloses) {
  TBankReagentDialog& d = *dialog_;
  std::vector<HWND> expected;
  for (int r = 0; r < 8; ++r) expected.push_back(d.BackpackCount(r).hwnd());
  for (int r = 0; r < 8; ++r) expected.push_back(d.BankCount(r).hwnd());
  for (int r = 0; r < 8; ++r) expected.push_back(d.ExchangeAmount(r).hwnd());
  expected.push_back(d.NumEdit_Backpack->hwnd());
  expected.push_back(d.OKBtn->hwnd());
  std::vector<HWND> visited;
  std::vector<std::function<void()>> steps = {[&] { d.BackpackCount(0).SetFocus(); }};
  for (size_t i = 1; i < expected.size(); ++i) {
    steps.push_back([&] { harness::PressKey(VK_RETURN); });
    steps.push_back([&] { visited.push_back(GetFocus()); });
  }
  steps.push_back([&] { d.BankCount(4).SetFocus(); });
  steps.push_back([&] { harness::PressKey(VK_ESCAPE); });
  steps.push_back([&] {
    EXPECT_TRUE(d.Running());
    EXPECT_EQ(GetFocus(), d.BankCount(4).hwnd());
    d.OKBtn->SetFocus();
  });
  steps.push_back([&] { harness::PressKey(VK_ESCAPE); });  // on a button: Cancel
  DialogScript script(std::move(steps));
  EXPECT_EQ(d.ShowModal(), win::kModalCancel);
  EXPECT_TRUE(script.Finished());
  expected.erase(expected.begin());
  EXPECT_EQ(visited, expected);
}

// The visit handed in shows as the fields take it; OK hands the fields back, Cancel nothing.
TEST_F(Bank, VisitInOnOkVisitOut) {
  std::array<HBITMAP, kReagentCount> icons{};
  BankVisit in;
  in.sides.backpack[0] = 1200;  // more than the backpack counter holds
  in.sides.bank[7] = 40;
  in.target = 25;
  TBankReagentDialog d(nullptr, icons, in);
  EXPECT_EQ(d.Opened().sides.backpack[0], kBackpackMax);
  EXPECT_EQ(d.Opened().sides.bank[7], 40);
  EXPECT_EQ(d.Opened().target, 25);
  DialogScript ok({[&] {
    d.BankCount(7).SetInteger(12);
    d.NumEdit_Backpack->SetInteger(31);
    d.OKBtn->SetFocus();
    harness::PressKey(VK_RETURN);
  }});
  const std::optional<BankVisit> out = d.Execute();
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(out->sides.bank[7], 12);
  EXPECT_EQ(out->sides.backpack[0], kBackpackMax);
  EXPECT_EQ(out->target, 31);
  DialogScript cancel({[&] { harness::PressKey(VK_ESCAPE); }});
  EXPECT_EQ(d.Execute(), std::nullopt);
}

}  // namespace
}  // namespace quillorb
