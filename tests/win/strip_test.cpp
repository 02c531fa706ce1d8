// The counter strip in-process, as the player meets it: what a counter really draws after typing,
// where the keyboard focus goes, and child windows that go while a notification is on its way.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/form_main.h"
#include "tests/harness/harness.h"
#include "tests/win/main_window_fixture.h"
#include "win/edit.h"
#include "win/form.h"

namespace quillorb {
namespace {

class Strip : public MainWindowFixture {
 protected:
  static void SetUpTestSuite() { CreateMainWindow(SW_SHOWNORMAL); }
};

// The client area of `window` as the screen shows it, one COLORREF per pixel.
std::vector<COLORREF> ScreenPixels(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) {
      pixels.push_back(harness::ScreenPixel({origin.x + x, origin.y + y}));
    }
  }
  return pixels;
}

// `text` drawn by `font` from the edit's formatting rectangle on, into a bitmap of the edit's
// client size: what the edit shows when its view starts at the first character.
std::vector<COLORREF> DrawnLikeAnEdit(HWND edit, HFONT font, const std::string& text,
                                      COLORREF background) {
  RECT client{};
  GetClientRect(edit, &client);
  RECT format{};
  SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  FillRect(dc, &client, brush);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkColor(dc, background);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  ExtTextOutA(dc, format.left, format.top, ETO_CLIPPED | ETO_OPAQUE, &format, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc, x, y) & 0xFFFFFF);
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(brush);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Typed into a counter (characters as the keyboard sends them) and left with Tab's focus move.
void TypeAndLeave(TNumEdit& counter, TNumEdit& next, const std::string& digits) {
  counter.SetFocus();
  for (char c : digits) SendMessageA(counter.hwnd(), WM_CHAR, static_cast<WPARAM>(c), 1);
  next.SetFocus();
}

TEST_F(Strip, CountersDrawTheWholeNumberInTheFormsFont) {
  TNumEdit& counter = form_->NumEdit(0);
  TNumEdit& other = form_->NumEdit(2);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(counter.hwnd(), WM_GETFONT, 0, 0)), form_->Font());
  LOGFONTA font{};
  GetObjectA(form_->Font(), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "Arial");
  EXPECT_EQ(font.lfHeight, -11);

  // Typed and left, assigned, and assigned over a scrolled view: each shows its whole number
  // from the first character, exactly as the font draws it.
  struct Step {
    const char* typed;  // nullptr: assigned
    int32_t assigned;
    const char* shown;
  };
  for (const Step& step :
       {Step{"100", 0, "100"}, Step{"42", 0, "42"}, Step{"7", 0, "7"}, Step{"999", 0, "999"},
        Step{nullptr, 888, "888"}, Step{"12345", 0, "999"}, Step{nullptr, 5, "5"}}) {
    SCOPED_TRACE(step.shown);
    if (step.typed) {
      counter.SelectAll();
      TypeAndLeave(counter, other, step.typed);
    } else {
      counter.SetInteger(step.assigned);
    }
    ASSERT_EQ(counter.Text(), step.shown);
    RedrawWindow(counter.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(ScreenPixels(counter.hwnd()),
              DrawnLikeAnEdit(counter.hwnd(), form_->Font(), step.shown, counter.Color()));
  }
  // "999" fits between the margins.
  HDC dc = GetDC(counter.hwnd());
  HGDIOBJ old = SelectObject(dc, form_->Font());
  SIZE extent{};
  GetTextExtentPoint32A(dc, "999", 3, &extent);
  SelectObject(dc, old);
  ReleaseDC(counter.hwnd(), dc);
  RECT format{};
  SendMessageA(counter.hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  RECT clientRect{};
  GetClientRect(counter.hwnd(), &clientRect);
  const LRESULT margins = SendMessageA(counter.hwnd(), EM_GETMARGINS, 0, 0);
  EXPECT_LE(extent.cx, format.right - format.left)
      << "client " << clientRect.right << " format " << format.left << ".." << format.right
      << " margins " << LOWORD(margins) << "," << HIWORD(margins);
}

TEST_F(Strip, TheFocusSurvivesASwitchToAnotherProgramAndEnterSkipsThePanel) {
  HWND other = CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE, 700, 300, 100,
                               50, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(form_->hwnd());
  form_->NumEdit(5).SetFocus();
  SetForegroundWindow(other);
  Pump();
  EXPECT_EQ(GetFocus(), other);
  SetForegroundWindow(form_->hwnd());
  Pump();
  EXPECT_EQ(GetFocus(), form_->NumEdit(5).hwnd());
  DestroyWindow(other);

  // Enter in the last counter goes round to the first one: Panel1 and TabSet1 take no keys.
  form_->NumEdit(7).SetFocus();
  SendMessageA(form_->NumEdit(7).hwnd(), WM_CHAR, VK_RETURN, 1);
  EXPECT_EQ(GetFocus(), form_->NumEdit(0).hwnd());
  SendMessageA(form_->NumEdit(0).hwnd(), WM_CHAR, VK_RETURN, 1);
  EXPECT_EQ(GetFocus(), form_->NumEdit(1).hwnd());
}

// ------------------------------------------------------------------ child window lifetime

class TestForm : public win::Form {
 public:
  TestForm() {
    CreateForm("QuillorbLifetimeForm", "lifetime", WS_POPUP | WS_VISIBLE, 0, 10, 10, 200, 60,
               nullptr);
  }
};

// An edit that counts the notifications routed to it; once its destruction has begun the count
// is set far below zero, so that a notification that reaches it later shows.
class CountingEdit : public win::Edit {
 public:
  CountingEdit(HWND parent, int* notices) : win::Edit(parent, 7, 4, 4, 60, 19), notices_(notices) {
    OnChange = [this](win::Edit&) { ++*notices_; };
    OnExit = [this](win::Edit&) { ++*notices_; };
  }
  ~CountingEdit() override { *notices_ = -1000; }

 private:
  int* notices_;
};

TEST(ChildWindows, NoNotificationReachesAnObjectThatIsGoingOrGone) {
  // Run under Wine's heap checks (see tests/CMakeLists.txt): a freed object that is still used
  // shows as a crash there.
  int notices = 0;
  {
    TestForm form;
    auto* edit = new CountingEdit(form.hwnd(), &notices);
    HWND handle = edit->hwnd();
    SetForegroundWindow(form.hwnd());
    edit->SetFocus();
    ASSERT_EQ(GetFocus(), handle);
    // A change notification waits in the queue while the focused edit goes: its EN_KILLFOCUS
    // comes during DestroyWindow, the queued EN_CHANGE after it.
    PostMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(7, EN_CHANGE),
                 reinterpret_cast<LPARAM>(handle));
    delete edit;
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(win::ChildWindow::FromHandle(handle), nullptr);
    harness::Pump();
    EXPECT_EQ(notices, -1000);
  }
  // The window goes first (its parent is destroyed): the object forgets its handle and routes
  // nothing more; its own destruction later touches no window.
  notices = 0;
  auto form = std::make_unique<TestForm>();
  CountingEdit edit(form->hwnd(), &notices);
  edit.SetFocus();
  HWND handle = edit.hwnd();
  PostMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(7, EN_CHANGE),
               reinterpret_cast<LPARAM>(handle));
  form.reset();
  EXPECT_EQ(edit.hwnd(), nullptr);
  EXPECT_EQ(win::ChildWindow::FromHandle(handle), nullptr);
  harness::Pump();
  EXPECT_EQ(notices, 0);
}

// Someone else's subclass above ours: our procedure stays in the chain below it; when our object
// goes, the window's last messages (WM_DESTROY, WM_NCDESTROY) pass through it to the edit's own
// and reach no object (under the heap checks).
WNDPROC g_above = nullptr;
LRESULT CALLBACK AboveProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return CallWindowProcW(g_above, hwnd, msg, wp, lp);
}

TEST(ChildWindows, OurProcedureLeavesTheChainIntact) {
  int notices = 0;
  TestForm form;
  auto* edit = new CountingEdit(form.hwnd(), &notices);
  const HWND handle = edit->hwnd();
  g_above = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AboveProc)));
  SetWindowTextA(handle, "still an edit");
  EXPECT_EQ(win::WindowText(handle), "still an edit");
  EXPECT_EQ(notices, 1);  // the change, through both procedures
  delete edit;
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(notices, -1000);
}

}  // namespace
}  // namespace quillorb
