// The form's tooltip: made on the first hover with every hint registered, kept in step with the
// hints, and destroyed with the form.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "win/form.h"
#include "win/graphic.h"

namespace {

class HintForm : public win::Form {
 public:
  HintForm() {
    CreateForm("QuillorbHintForm", "Hints", WS_POPUP, 0, 0, 0, 200, 40, nullptr);
    for (int i = 0; i < 3; ++i) {
      buttons.push_back(std::make_unique<win::SpeedButton>(*this, 30 * i, 0, 22, 20));
    }
    buttons[0]->SetHint("Count");
    buttons[2]->SetHint("Bank");
  }
  std::vector<std::unique_ptr<win::SpeedButton>> buttons;
};

// The tooltip windows of this thread.
std::vector<HWND> Tooltips() {
  std::vector<HWND> found;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM lp) -> BOOL {
        char name[64] = {};
        GetClassNameA(w, name, sizeof name);
        if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0) {
          reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string ToolText(HWND tip, const win::Form& form, const win::GraphicControl& control) {
  char text[80] = {};
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = form.hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(&control);
  ti.lpszText = text;
  SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
  return text;
}

TEST(FormTooltip, MadeOnTheFirstHoverFollowsTheHintsAndGoesWithTheForm) {
  HWND tip = nullptr;
  {
    HintForm form;
    EXPECT_TRUE(Tooltips().empty()) << "no tooltip before the mouse comes";
    SendMessageA(form.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(Tooltips().size(), 1u);
    tip = Tooltips()[0];
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    EXPECT_EQ(ToolText(tip, form, *form.buttons[0]), "Count");
    EXPECT_EQ(ToolText(tip, form, *form.buttons[2]), "Bank");

    // A later hint joins, a cleared one leaves, a removed control takes its hint along; more
    // moves make no second tooltip.
    form.buttons[1]->SetHint("Config");
    form.buttons[0]->SetHint("");
    form.buttons[2].reset();
    SendMessageA(form.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(35, 5));
    EXPECT_EQ(Tooltips().size(), 1u);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(ToolText(tip, form, *form.buttons[1]), "Config");
  }
  EXPECT_FALSE(IsWindow(tip));
}

}  // namespace
