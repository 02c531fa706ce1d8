// The character list and the input box on real windows: the list read from a folder (named in
// letters outside the ANSI code page), the checks of Add in their order, Delete's refusals and the
// selection after it, OK, double click and Cancel.
#include "dialogs/chr_list.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "model/characters.h"
#include "tests/harness/folder_test.h"
#include "tests/harness/harness.h"
#include "tests/win/dialog_script.h"
#include "win/app.h"
#include "win/input_box.h"

namespace quillorb {
namespace {

class ChrList : public harness::FolderTest {
 protected:
  // "chr-Жук": in ANSI, the folder's name would be "chr-???".
  ChrList() : FolderTest("chr-\xD0\x96\xD1\x83\xD0\xBA") {}
  void Profile(const std::string& name, const std::string& text = "[Reagent]\r\nReagent0=5\r\n") {
    harness::WriteFile(folder_ + (name.empty() ? "quillorb.ini" : "quillorb - " + name + ".ini"),
                       text);
  }
  // Opens the dialog (without running it) as the main window does.
  TForm_ChrList& Open(const std::string& current) {
    dialog_ = std::make_unique<TForm_ChrList>(
        nullptr, nullptr, harness::AsPath(folder_),
        CharacterChoice{current == kDefaultCharacterEntry ? std::string() : current});
    dialog_->AskName = [this] {
      std::optional<Utf8> name;
      if (names_.front()) name = Utf8(*names_.front());
      names_.pop_front();
      return name;
    };
    dialog_->Message = [this](const Utf8& text, UINT flags) {
      messages_.push_back({text.str(), flags});
      return answer_;
    };
    dialog_->Told = &told_;
    dialog_->FormShow();
    harness::Pump(dialog_->hwnd());  // what the dialog has to say once it shows
    return *dialog_;
  }
  std::vector<std::string> Items() const {
    std::vector<std::string> items;
    for (int i = 0; i < dialog_->ListBox_Chr->Count(); ++i) {
      items.push_back(dialog_->ListBox_Chr->Item(i));
    }
    return items;
  }
  std::string Selected() const {
    const int i = dialog_->ListBox_Chr->ItemIndex();
    return i < 0 ? "<none>" : dialog_->ListBox_Chr->Item(i);
  }

  struct Shown {
    std::string text;
    UINT flags;
  };
  std::unique_ptr<TForm_ChrList> dialog_;
  std::deque<std::optional<std::string>> names_;
  std::vector<Shown> messages_;
  std::set<Path> told_;
  int answer_ = IDOK;
};

TEST_F(ChrList, ListsProfilesWithoutRegardToCaseAndSelectsTheCurrentOne) {
  EXPECT_EQ(Open("(default)").ListBox_Chr->Count(), 1);
  EXPECT_EQ(Selected(), "(default)");

  for (const char* name : {"zed", "Anna", "bob", "Carl"}) Profile(name);
  Profile("");
  harness::WriteFile(folder_ + "quillorb - x.ini.bak", "");
  CreateDirectoryW(harness::Wide(folder_ + "quillorb - folder.ini").c_str(), nullptr);
  // Names the ANSI code page cannot hold: not listed, and the player is told why, once.
  Profile("\xD0\x96uk");
  Profile("\xD0\x81\xD0\xB6");
  Open("bob");
  EXPECT_EQ(Items(), (std::vector<std::string>{"(default)", "Anna", "bob", "Carl", "zed"}));
  EXPECT_EQ(Selected(), "bob");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(
      messages_[0].text.rfind("These profiles are not in the list:\n\n"
                              "quillorb - \xD0\x81\xD0\xB6.ini\nquillorb - \xD0\x96uk.ini\n\n"
                              "Their characters' names have letters that this system's code page "
                              "cannot store",
                              0),
      0u)
      << messages_[0].text;
  EXPECT_EQ(messages_[0].flags, UINT{MB_OK | MB_ICONINFORMATION});
  messages_.clear();

  // A current character without a file: nothing selected; OK and Delete then change nothing.
  Open("Bob");
  EXPECT_EQ(Selected(), "<none>");
  dialog_->OKBtn->Press();
  EXPECT_EQ(dialog_->ModalResult(), win::kModalOk);
  EXPECT_EQ(dialog_->CurChr, "Bob");
  dialog_->Button_Del->Press();
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Items().size(), 5u);
}

TEST_F(ChrList, AddChecksInOrderAndCopiesTheCurrentProfile) {
  Profile("", "[Reagent]\r\nReagent0=42\r\n");
  Profile("Anna");
  Open("(default)");
  constexpr UINT kWarn = MB_OK | MB_ICONEXCLAMATION;
  const struct {
    std::optional<std::string> input;
    std::string text;  // empty: no message
    UINT flags;
  } cases[] = {
      {std::nullopt, "", 0},  // Cancel
      {"", "", 0},
      {"(default)", "(default) already exists.", MB_OK},
      {"Anna", "Anna already exists.", MB_OK},
      // The file exists in another letter case; the system's reason follows the names.
      {"anna",
       "anna cannot be created.\nCannot copy \"" + folder_ + "quillorb.ini\" to \"" + folder_ +
           "quillorb - anna.ini\": ",
       kWarn},
      {"Mr. X", "You can't use these letters.\n\\ / : , ; * ? \" < > |", kWarn},
      {"a|b", "You can't use these letters.\n\\ / : , ; * ? \" < > |", kWarn},
      {" Bob",
       "A character's name cannot begin or end with a blank: it would not be found again "
       "at the next start.",
       kWarn},
      {"'Al'",
       "A character's name cannot begin and end with the same quote mark: it would not be found "
       "again at the next start.",
       kWarn},
      {"\xD0\x96uk",  // "Жuk", typed: Cyrillic has no place in the Western code page
       "This name has letters that this system's code page cannot store. Please choose a name "
       "without them.",
       kWarn},
      {std::string(215, 'a'),
       "This name is too long: the name of its file would pass the 255 characters a file name "
       "may have.",
       kWarn},
  };
  for (const auto& c : cases) {
    messages_.clear();
    names_ = {c.input};
    dialog_->Button_Add->Press();
    if (c.text.empty()) {
      EXPECT_TRUE(messages_.empty()) << c.input.value_or("<cancel>");
    } else {
      ASSERT_EQ(messages_.size(), 1u) << *c.input;
      const std::string& shown = messages_[0].text;
      if (c.text.back() == ' ') {
        EXPECT_EQ(shown.rfind(c.text, 0), 0u) << shown;
        EXPECT_GT(shown.size(), c.text.size());
      } else {
        EXPECT_EQ(shown, c.text);
      }
      EXPECT_EQ(messages_[0].flags, c.flags) << *c.input;
    }
    EXPECT_EQ(Items(), (std::vector<std::string>{"(default)", "Anna"}));
  }

  messages_.clear();
  names_ = {"Bob"};
  dialog_->Button_Add->Press();
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Items(), (std::vector<std::string>{"(default)", "Anna", "Bob"}));
  EXPECT_EQ(Selected(), "Bob");
  EXPECT_EQ(harness::ReadFile(folder_ + "quillorb - Bob.ini"), "[Reagent]\r\nReagent0=42\r\n");
  EXPECT_EQ(dialog_->CurChr, "(default)");  // added, not made current

  // A letter of the code page outside ASCII: typed (UTF-8), listed in ANSI, its file named right;
  // the longest name that fits works too.
  const std::optional<std::string> bjorn = win::WideToAnsi(L"Bj\xF6rn");
  ASSERT_TRUE(bjorn.has_value());
  const std::string longest(214, 'a');
  names_ = {"Bj\xC3\xB6rn", longest};
  dialog_->Button_Add->Press();
  dialog_->Button_Add->Press();
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Items(), (std::vector<std::string>{"(default)", "Anna", "Bob", *bjorn, longest}));
  EXPECT_TRUE(harness::FileExists(folder_ + "quillorb - Bj\xC3\xB6rn.ini"));
  EXPECT_EQ(ListCharacters(harness::AsPath(folder_)).names,
            (std::vector<std::string>{longest, "Anna", *bjorn, "Bob"}));

  // A current character whose profile was never saved has nothing to copy.
  Open("Ghost");
  names_ = {"Carl"};
  dialog_->Button_Add->Press();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(
      messages_[0].text.rfind(
          "Carl cannot be created.\nCannot copy \"" + folder_ + "quillorb - Ghost.ini\" to \"", 0),
      0u);
  EXPECT_FALSE(harness::FileExists(folder_ + "quillorb - Carl.ini"));
}

TEST_F(ChrList, DeleteRefusesCurrentAndDefaultAsksWithNoAsDefaultAndSelectsTheNextEntry) {
  for (const char* name : {"Anna", "Bob", "Carl"}) Profile(name);
  TForm_ChrList& d = Open("Anna");
  auto select = [&](int i) { d.ListBox_Chr->SetItemIndex(i); };
  select(1);
  d.Button_Del->Press();
  select(0);
  d.Button_Del->Press();
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0].text, "You can't delete a current character");
  EXPECT_EQ(messages_[1].text, "You can't delete a default setting");
  EXPECT_EQ(messages_[1].flags, UINT{MB_OK | MB_ICONEXCLAMATION});

  messages_.clear();
  answer_ = IDNO;
  select(2);
  d.Button_Del->Press();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "Delete Character? - Bob");
  EXPECT_EQ(messages_[0].flags, UINT{MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2});
  EXPECT_TRUE(harness::FileExists(folder_ + "quillorb - Bob.ini"));

  answer_ = IDYES;
  d.Button_Del->Press();  // Bob, in the middle: Carl takes its place and is selected
  EXPECT_FALSE(harness::FileExists(folder_ + "quillorb - Bob.ini"));
  EXPECT_EQ(Items(), (std::vector<std::string>{"(default)", "Anna", "Carl"}));
  EXPECT_EQ(Selected(), "Carl");
  // A file already gone: still removed from the list.
  DeleteFileW(harness::Wide(folder_ + "quillorb - Carl.ini").c_str());
  d.Button_Del->Press();
  EXPECT_EQ(Items(), (std::vector<std::string>{"(default)", "Anna"}));
  EXPECT_EQ(Selected(), "(default)");
}

TEST_F(ChrList, DoubleClickClosesWithOkAndCancelKeepsTheCurrentCharacter) {
  Profile("Anna");
  Profile("Bob");
  TForm_ChrList& d = Open("Anna");
  HWND list = d.ListBox_Chr->hwnd();
  DialogScript script({[&] {
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
  }});
  EXPECT_EQ(d.Execute(), CharacterChoice{"Bob"});

  TForm_ChrList& again = Open("Anna");
  again.ListBox_Chr->SetItemIndex(2);
  DialogScript cancel({[&] { harness::PressKey(VK_ESCAPE); }});
  EXPECT_EQ(again.Execute(), std::nullopt);
  EXPECT_EQ(again.CurChr, "Anna");

  // The default profile is handed back as the empty name.
  TForm_ChrList& byDefault = Open("Anna");
  DialogScript ok({[&] {
    byDefault.ListBox_Chr->SetItemIndex(0);
    harness::PressKey(VK_RETURN);
  }});
  EXPECT_EQ(byDefault.Execute(), CharacterChoice{""});
}

TEST(InputBox, TypedTextOnOkNothingOnCancel) {
  auto field = [] {
    HWND box = FindWindowA(win::kInputBoxClass, "Add a character");
    return GetDlgItem(box, win::InputBox::kEditId);
  };
  DialogScript typed({[&] { ASSERT_EQ(GetFocus(), field()); },
                      [&] { harness::TypeText("Sir Bob"); },
                      [&] { harness::PressKey(VK_RETURN); }});
  EXPECT_EQ(win::InputQuery(nullptr, "Add a character", "Input a character name"), "Sir Bob");
  // Letters outside the ANSI code page reach the field through the dialog's message loop and
  // come back as typed (UTF-8).
  DialogScript unicode({[&] { harness::TypeUnicode(L"\x0416\x0443\x043A \x0151\x20AC"); },
                        [&] { harness::PressKey(VK_RETURN); }});
  EXPECT_EQ(win::InputQuery(nullptr, "Add a character", "Input a character name"),
            "\xD0\x96\xD1\x83\xD0\xBA \xC5\x91\xE2\x82\xAC");
  DialogScript cancelled({[&] { harness::TypeText("x"); }, [&] { harness::PressKey(VK_ESCAPE); }});
  EXPECT_EQ(win::InputQuery(nullptr, "Add a character", "Input a character name"), std::nullopt);
}

}  // namespace
}  // namespace quillorb
