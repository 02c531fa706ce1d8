// The configuration dialog of a running quillorb.exe, opened from the strip's button and driven
// with real input: edits on four pages reach the strip after OK and the files after closing; the
// macro file is written whole, or not at all.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/spell_art.h"
#include "dialogs/form_config.h"
#include "model/catalogue.h"
#include "model/config_pages.h"
#include "tests/win/grid_input.h"
#include "tests/harness/folder_test.h"
#include "tests/harness/harness.h"
#include "win/handles.h"

namespace {

using harness::Quillorb;
using namespace quillorb;

HWND FindById(HWND root, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      root,
      [](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (GetDlgCtrlID(w) != s->id) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A string of the version resource of the program file `exe`.
std::string VersionResource(const std::string& exe, const wchar_t* name) {
  const std::wstring path = harness::Wide(exe);
  std::vector<char> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
  if (block.empty() ||
      !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
    return "<none>";
  }
  void* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(block.data(), key.c_str(), &value, &length) || length == 0) return "<none>";
  return harness::Utf8(std::wstring(static_cast<const wchar_t*>(value), length - 1));
}

class Config : public harness::FolderTest {
 protected:
  Config() : FolderTest("config") {}

  // Starts Quillorb and opens the dialog with the strip's Configuration button.
  void StartAndOpen() {
    harness::WriteFile(folder_ + "quillorb.ini", "[UserSpell]\r\nSpell00=0\r\n");
    app_ = std::make_unique<Quillorb>(folder_, true);
    harness::Click(app_->ScreenPoint(594 + 11, 10));
    dialog_ = app_->Proc().WaitForWindow(kConfigDialogClass);
    ASSERT_NE(dialog_, nullptr);
  }
  HWND Control(int id) const {
    HWND direct = GetDlgItem(dialog_, id);  // OK and Cancel
    return direct ? direct : FindById(dialog_, id);
  }

  // Moves the tabs with the arrow keys, as the player does with the focus on them.
  void SelectPage(int page) {
    HWND tabs = Control(kIdPageControl1);
    while (true) {
      const auto current = static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
      if (current == page) return;
      SendMessageA(tabs, WM_KEYDOWN, current < page ? VK_RIGHT : VK_LEFT, 1);
      ASSERT_TRUE(harness::WaitUntil(
          [&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != current; }, 5000));
    }
  }

  // The screen point in the middle of a cell of a grid whose column widths are `widths` (one
  // pixel of grid line after each column and row of 16).
  static POINT CellPoint(HWND grid, const std::vector<int>& widths, int col, int row) {
    POINT pt{0, row * 17 + 8};
    for (int c = 0; c < col; ++c) pt.x += widths[static_cast<size_t>(c)] + 1;
    pt.x += widths[static_cast<size_t>(col)] / 2;
    ClientToScreen(grid, &pt);
    return pt;
  }
  // Clicks `target` (the press gives it, or a child of it, the focus) and waits until the dialog's
  // thread has handled the whole click. A message sent to a control jumps ahead of queued input:
  // sent before the release and a mouse move were handled, it could be overtaken by them (a move
  // under the capture extends an edit's selection).
  void Click(POINT screen, HWND target) const {
    harness::Click(screen);
    ASSERT_TRUE(harness::WaitForQueueHandled(dialog_));
    const HWND focus = harness::FocusOf(dialog_);
    ASSERT_TRUE(focus == target || IsChild(target, focus)) << harness::ClassName(focus);
  }
  // Selects the focused field's whole text with keys, which queue behind the click's input.
  static void SelectAllByKeys() {
    harness::PressKey(VK_END);
    INPUT shift[2] = {};
    shift[0].type = shift[1].type = INPUT_KEYBOARD;
    shift[0].ki.wVk = shift[1].ki.wVk = VK_SHIFT;
    shift[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &shift[0], sizeof(INPUT));
    harness::PressKey(VK_HOME);
    SendInput(1, &shift[1], sizeof(INPUT));
  }
  static POINT Middle(HWND window) {
    RECT r = harness::WindowRectOf(window);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  // Presses Button3 and answers the question with `answer` (IDOK or IDCANCEL). A posted press is
  // handled before any input the dialog has not read yet; `behindInput` presses the button with
  // the mouse instead, so that every key and click sent before is handled first.
  HWND GenerateMacroFile(int answer, bool behindInput = false) {
    if (behindInput) {
      harness::Click(Middle(Control(kIdButton3)));
    } else {
      PostMessageA(Control(kIdButton3), BM_CLICK, 0, 0);
    }
    HWND question = harness::WaitForMessageBox(app_->Proc());
    EXPECT_EQ(harness::MessageBoxText(question), L"Generate Macro file from current settings?");
    EXPECT_EQ(harness::WindowText(question), "Quillorb");
    PostMessageA(question, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindow(question); }));
    if (answer != IDOK) return nullptr;
    return harness::WaitForMessageBox(app_->Proc());
  }

  // Typed keys go to the foreground window: make sure that is the dialog.
  bool DialogInFront() const {
    if (GetForegroundWindow() != dialog_) SetForegroundWindow(dialog_);
    return harness::WaitUntil([&] { return GetForegroundWindow() == dialog_; }, 5000);
  }

  std::unique_ptr<Quillorb> app_;
  HWND dialog_ = nullptr;
};

TEST_F(Config, EditsReachTheStripAndTheFiles) {
  StartAndOpen();
  // General: a price typed into the first field.
  HWND price = Control(kIdNumEditPriceFirst);
  Click(Middle(price), price);
  ASSERT_TRUE(DialogInFront());
  SelectAllByKeys();
  harness::TypeText("7.25");
  // Input arrives in its own time: each step waits until it has landed.
  ASSERT_TRUE(harness::WaitUntil([&] { return harness::WindowText(price) == "7.25"; }));

  // User List: slot A-1 gets spell 19 typed into the chooser laid over the cell.
  SelectPage(kPageUserList);
  Click(CellPoint(Control(kIdCtrlGridUser), {40, 336}, 1, 1), Control(kIdCtrlGridUser));
  HWND chooser = Control(kIdComboBoxSpell);
  ASSERT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(chooser) != FALSE; }));
  RECT box = harness::WindowRectOf(chooser);
  Click(POINT{box.left + 20, (box.top + box.bottom) / 2}, chooser);
  ASSERT_TRUE(DialogInFront());
  SelectAllByKeys();
  harness::TypeText("3-4 Poison");
  ASSERT_TRUE(harness::WaitUntil([&] { return harness::WindowText(chooser) == "3-4 Poison"; }));
  harness::PressKey(VK_RETURN);  // the text goes into the cell, the focus back to the grid
  HWND users = Control(kIdCtrlGridUser);
  ASSERT_TRUE(harness::WaitUntil([&] { return harness::FocusOf(dialog_) == users; }));

  // Macro: F5 pressed on the KEY cell of spell 0.
  SelectPage(kPageMacro);
  HWND macro = Control(kIdStringGridMacro);
  Click(CellPoint(macro, {177, 40, 40, 40, 40}, 4, 1), macro);
  // The key as the grid receives it (a message answered before the next step).
  SendMessageA(macro, WM_KEYDOWN, VK_F5, 1);
  SendMessageA(macro, WM_KEYUP, VK_F5, static_cast<LPARAM>(0xC0000001u));

  // Spell Casting: the words of spell 0 typed into its cell.
  SelectPage(kPageCasting);
  HWND casting = Control(kIdStringGridCasting);
  Click(CellPoint(casting, {155, 211}, 1, 1), casting);
  ASSERT_TRUE(DialogInFront());
  harness::TypeText("Kal Ort");
  ASSERT_TRUE(harness::WaitUntil([&] {
    HWND editor = harness::FocusOf(dialog_);
    return IsChild(casting, editor) && harness::WindowText(editor) == "Kal Ort";
  }));
  harness::PressKey(VK_RETURN);
  ASSERT_TRUE(harness::WaitUntil([&] { return harness::FocusOf(dialog_) == casting; }));

  harness::Click(Middle(Control(IDOK)));
  ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindow(dialog_); }));

  // The strip: slot 1 of page A shows spell 19's icon and its information.
  harness::MoveMouse(app_->ScreenPoint(270 + 20, 12));
  const std::string panel = harness::WaitForValue(
      [&] { return harness::WindowText(app_->Control(100)); },
      [](const std::string& t) { return t.starts_with(" Poison (In Nox) "); });
  EXPECT_TRUE(panel.starts_with(" Poison (In Nox) ")) << panel;
  win::Bitmap atlas = MakeSpellAtlas(false);
  win::MemoryDc dc(CreateCompatibleDC(nullptr));
  win::SelectScope select(dc.get(), atlas.get());
  int same = 0;
  for (int y = 2; y < 40; y += 6) {
    for (int x = 2; x < 40; x += 6) {
      same += harness::ScreenPixel(app_->ScreenPoint(270 + x, y)) ==
              GetPixel(dc.get(), 40 * 3 + x, 40 * 2 + y);
    }
  }
  EXPECT_GE(same, 40) << "of 49 pixels";  // the casts-left label covers a few

  ASSERT_TRUE(app_->Close());
  const std::string profile = harness::ReadFile(folder_ + "quillorb.ini");
  for (const char* line : {"ReagentCost0=7.25", "Spell00=19", "KEY0=116", "Spell0=\"Kal Ort\""}) {
    EXPECT_NE(profile.find(std::string("\r\n") + line + "\r\n"), std::string::npos) << line;
  }
  SpellTable spells;
  ASSERT_EQ(ReadCatalogue(harness::AsPath(folder_ + "spells.txt"), spells), CatalogueRead::Ok);
  EXPECT_EQ(spells[0].Key, 0x74);
}

using grid_test::Chord;

// The keys whose way through the system matters: Alt+R (the group box's accelerator), Ctrl+Tab
// and Ctrl+Shift+Tab, F10 and Alt+Q on a KEY cell (no menu mode after F10), Alt+F4.
TEST_F(Config, AcceleratorPagesAndSystemKeys) {
  StartAndOpen();
  HWND second = Control(kIdNumEditPriceFirst + 1);
  Click(Middle(second), second);
  ASSERT_TRUE(DialogInFront());
  Chord({VK_MENU}, 'R');
  EXPECT_TRUE(harness::WaitUntil(
      [&] { return harness::FocusOf(dialog_) == Control(kIdNumEditPriceFirst); }, 5000));

  HWND tabs = Control(kIdPageControl1);
  auto page = [&] { return static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0)); };
  for (const auto& [shift, expected] : {std::pair{false, 1}, {true, 0}, {true, 7}, {false, 0}}) {
    if (shift) {
      Chord({VK_CONTROL, VK_SHIFT}, VK_TAB);
    } else {
      Chord({VK_CONTROL}, VK_TAB);
    }
    EXPECT_TRUE(harness::WaitUntil([&] { return page() == expected; }, 5000)) << expected;
    // The About page shows the version that quillorb.exe carries in its version resource.
    if (expected != kPageAbout) continue;
    const std::string version = VersionResource(folder_ + "quillorb.exe", L"ProductVersion");
    EXPECT_EQ(VersionResource(folder_ + "quillorb.exe", L"FileVersion"), version);
    EXPECT_EQ(
        harness::WindowText(Control(kIdMemo1)).rfind("Quillorb\r\nversion " + version + "\r\n", 0),
        0u)
        << version;
  }

  SelectPage(kPageMacro);
  HWND macro = Control(kIdStringGridMacro);
  const std::vector<int> widths{177, 40, 40, 40, 40};
  Click(CellPoint(macro, widths, 4, 1), macro);
  ASSERT_TRUE(DialogInFront());
  harness::PressKey(VK_F10);
  harness::PressKey(VK_DOWN);  // in a menu mode it would walk a menu instead
  Chord({VK_MENU}, 'Q');
  // The file is made from what the keys did: the button's press queues behind them.
  HWND done = GenerateMacroFile(IDOK, true);
  ASSERT_NE(done, nullptr);
  harness::DismissMessageBox(done);
  const std::string bytes = harness::ReadFile(folder_ + "spellmacro.txt");
  // Spell 0's key line, then spell 1's (the fourth line).
  size_t fourth = 0;
  for (int n = 0; n < 3; ++n) fourth = bytes.find("\r\n", fourth) + 2;
  EXPECT_EQ(bytes.substr(0, 4), "F10 ") << bytes.substr(0, 60);
  EXPECT_EQ(bytes.substr(fourth, 2), "Q ") << bytes.substr(0, 60);

  ASSERT_TRUE(DialogInFront());
  Chord({VK_MENU}, VK_F4);
  EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindow(dialog_); }));
}

TEST_F(Config, MacroFileIsWrittenWholeOrNotAtAll) {
  StartAndOpen();
  SelectPage(kPageMacro);
  const std::string path = folder_ + "spellmacro.txt";

  // A read-only file refuses the write: an error box naming it, the old bytes, no stray file.
  harness::WriteFile(path, "old");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  HWND error = GenerateMacroFile(IDOK);
  ASSERT_NE(error, nullptr);
  const std::wstring text = harness::MessageBoxText(error);
  EXPECT_EQ(text.rfind(L"The macro file cannot be written; an old one is left as it was.\n\n"
                       L"Cannot replace \"",
                       0),
            0u)
      << text;
  EXPECT_NE(text.find(L"spellmacro.txt\": "), std::wstring::npos);
  harness::DismissMessageBox(error);
  ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindow(error); }));
  EXPECT_EQ(harness::ReadFile(path), "old");
  WIN32_FIND_DATAA found{};
  win::FileHandle find(FindFirstFileA((folder_ + "*.tmp").c_str(), &found));
  EXPECT_FALSE(find) << found.cFileName;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

  // Cancel in the question writes nothing.
  GenerateMacroFile(IDCANCEL);
  EXPECT_EQ(harness::ReadFile(path), "old");

  // The export: the success box shows the full path; the file holds the 195 lines.
  HWND done = GenerateMacroFile(IDOK);
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(harness::WindowText(done), "Macro file is created.");
  const std::wstring shown = harness::MessageBoxText(done);
  EXPECT_EQ(shown.substr(shown.size() - 15), L"\\spellmacro.txt");
  harness::DismissMessageBox(done);

  SpellTable spells;
  ASSERT_EQ(ReadCatalogue(harness::AsPath(folder_ + "spells.txt"), spells), CatalogueRead::Ok);
  const std::string bytes = harness::ReadFile(path);
  EXPECT_EQ(bytes, MacroFileText(spells));
  size_t lines = 0;
  for (size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 195u);
  // Clumsy: the key 1 with Ctrl and Shift (the line's order is Ctrl, Alt, Shift).
  EXPECT_EQ(bytes.rfind("1 1 0 1\r\nCastSpell Clumsy\r\n########\r\n", 0), 0u);
  EXPECT_EQ(bytes.substr(bytes.size() - 26), "V 1 1 1\r\nPaste\r\n########\r\n");

  harness::Click(Middle(Control(IDCANCEL)));
  ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindow(dialog_); }));
  EXPECT_EQ(harness::ReadFile(path), bytes);  // the file stays after Cancel
}

}  // namespace
