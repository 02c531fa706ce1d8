// The strip's dialogs in quillorb.exe, driven as a player would: switching characters (and finding
// both again after a restart), a bank visit with OK and with Cancel, and the analysis after casts
// from the bar, exported through the Save As dialog and cleared; and Quillorb killed during a
// change of character and right after the configuration's OK.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "tests/harness/folder_test.h"
#include "tests/harness/harness.h"

namespace {

using harness::Quillorb;

constexpr char kProfile[] =
    "[Reagent]\r\nReagent0=5\r\nReagent1=20\r\nReagent5=20\r\nReagent6=10\r\n"
    "[BankReagent]\r\nBankReagent0=100\r\n"
    "[UserSpell]\r\nSpell00=4\r\nSpell01=4\r\nSpell02=0\r\n"
    "[Config]\r\nEnableSpellCasting=0\r\nInscription=1\r\n";

class Dialogs : public harness::FolderTest {
 protected:
  Dialogs() : FolderTest("dialogs") {}
  void SetUp() override { harness::WriteFile(folder_ + "quillorb.ini", kProfile); }
  Quillorb& Start() {
    app_ = std::make_unique<Quillorb>(folder_, true);
    return *app_;
  }
  std::string Counter(int r) const { return harness::WindowText(app_->Control(110 + r)); }
  bool WaitForCounter(int r, const std::string& text) const {
    return harness::WaitUntil([&] { return Counter(r) == text; }, 5000);
  }
  // Clicks a strip button and waits for its dialog.
  HWND Open(int x, int y, const char* dialogClass) {
    harness::Click(app_->ScreenPoint(x, y));
    // Off the strip, so that no button's hint pops up (and has to be hidden again) meanwhile.
    harness::MoveMouse(app_->ScreenPoint(300, 400));
    return app_->Proc().WaitForWindow(dialogClass);
  }
  HWND OpenCharacters() { return Open(627, 10, "TForm_ChrList"); }
  static void Press(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
  // Chooses entry `index` of the character list with OK.
  void SwitchInList(int index) {
    HWND list = OpenCharacters();
    ASSERT_NE(list, nullptr);
    SendMessageA(GetDlgItem(list, 10), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Press(list, IDOK);
  }
  // Opens the character list and adds `name` with Add...; returns the list once the new
  // character is its current entry (nullptr when the list or the name's box did not come).
  HWND AddCharacter(const char* name) {
    HWND list = OpenCharacters();
    if (!list) return nullptr;
    Press(list, 11);  // Add...
    HWND input = app_->Proc().WaitForWindow("QuillorbInputBox");
    if (!input) return nullptr;
    SendMessageA(GetDlgItem(input, 10), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
    Press(input, IDOK);
    HWND box = GetDlgItem(list, 10);
    const bool added =
        harness::WaitUntil([&] { return SendMessageA(box, LB_GETCURSEL, 0, 0) == 1; });
    return added ? list : nullptr;
  }
  // The same, when the save before the switch fails: the question that follows.
  HWND ChooseCharacter(int index) {
    SwitchInList(index);
    return app_->Proc().WaitForWindow("TSaveQuestion");
  }
  bool WaitClosed(HWND dialog) const {
    return harness::WaitUntil([&] { return !IsWindowVisible(dialog); });
  }
  bool WaitForCaption(const std::string& caption) const {
    return harness::WaitUntil([&] { return harness::WindowText(app_->Window()) == caption; });
  }
  // The dialog's point x, y on the screen.
  static POINT At(HWND dialog, int x, int y) { return harness::ClientPoint(dialog, x, y); }
  std::string File(const std::string& name) const { return harness::ReadFile(folder_ + name); }
  static bool Has(const std::string& text, const std::string& line) {
    return text.find("\r\n" + line + "\r\n") != std::string::npos;
  }

  std::unique_ptr<Quillorb> app_;
};

TEST_F(Dialogs, AddSwitchAndSwitchBackKeepBothCharactersAcrossARestart) {
  Start();
  HWND list = AddCharacter("Hero");
  ASSERT_NE(list, nullptr);
  Press(list, IDOK);
  ASSERT_TRUE(WaitForCaption("Quillorb - Hero"));
  EXPECT_EQ(Counter(0), "5");                // a copy of the default character
  harness::Click(app_->ScreenPoint(16, 8));  // the BP picture: one more
  ASSERT_TRUE(WaitForCounter(0, "6"));

  list = OpenCharacters();
  SendMessageA(GetDlgItem(list, 10), LB_SETCURSEL, 0, 0);  // (default)
  Press(list, IDOK);
  ASSERT_TRUE(WaitForCaption("Quillorb"));
  EXPECT_TRUE(WaitForCounter(0, "5"));
  EXPECT_TRUE(Has(File("quillorb - Hero.ini"), "Reagent0=6"));
  ASSERT_TRUE(app_->Close());

  Start();
  EXPECT_EQ(harness::WindowText(app_->Window()), "Quillorb");
  EXPECT_EQ(Counter(0), "5");
  list = OpenCharacters();
  SendMessageA(GetDlgItem(list, 10), LB_SETCURSEL, 1, 0);  // Hero
  Press(list, IDOK);
  ASSERT_TRUE(WaitForCaption("Quillorb - Hero"));
  EXPECT_TRUE(WaitForCounter(0, "6"));
  ASSERT_TRUE(app_->Close());
  EXPECT_TRUE(Has(File("users.ini"), "Last=Hero"));
}

// Another program holds a file open: it can be read, but not replaced.
HANDLE HoldOpen(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, 0, nullptr);
}

TEST_F(Dialogs, AFailedSaveBeforeASwitchAsksRetrySwitchAnywayOrCancel) {
  harness::WriteFile(folder_ + "quillorb - Hero.ini", "[Reagent]\r\nReagent0=9\r\n");
  Start();
  harness::Click(app_->ScreenPoint(16, 8));  // the BP picture: 5 -> 6
  ASSERT_TRUE(WaitForCounter(0, "6"));
  HANDLE lock = HoldOpen(folder_ + "quillorb.ini");
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);

  // The question names the file and the system's reason, and says what switching anyway loses.
  HWND question = ChooseCharacter(1);  // Hero
  ASSERT_NE(question, nullptr);
  const std::wstring text = harness::DialogItemText(question, 10);
  const std::wstring file(folder_.begin(), folder_.end());
  const std::wstring failed =
      L"The profile of the default character could not be saved.\n"
      L"Cannot replace \"" +
      file + L"quillorb.ini\": ";
  ASSERT_EQ(text.rfind(failed, 0), 0u) << text;
  EXPECT_NE(text[failed.size()], L'\n');  // the reason follows
  EXPECT_NE(text.find(L"\n\nSwitch anyway: what changed for the default character since the last "
                      L"save is lost: reagents, bank, used reagents and casts, spell pages and "
                      L"settings.\nRetry: "),
            std::wstring::npos);
  EXPECT_NE(text.find(L"\nCancel: stay with the default character; nothing is lost."),
            std::wstring::npos);
  EXPECT_EQ(harness::WindowText(GetDlgItem(question, IDRETRY)), "&Retry");
  EXPECT_EQ(harness::WindowText(GetDlgItem(question, IDCONTINUE)), "&Switch anyway");
  EXPECT_EQ(harness::WindowText(GetDlgItem(question, IDCANCEL)), "Cancel");
  Press(question, IDCANCEL);
  ASSERT_TRUE(WaitClosed(question));
  EXPECT_EQ(harness::WindowText(app_->Window()), "Quillorb");
  EXPECT_EQ(Counter(0), "6");

  // Retry once the other program has let the file go: saved, then switched.
  question = ChooseCharacter(1);
  ASSERT_NE(question, nullptr);
  CloseHandle(lock);
  Press(question, IDRETRY);
  ASSERT_TRUE(WaitForCaption("Quillorb - Hero"));
  EXPECT_TRUE(WaitForCounter(0, "9"));
  EXPECT_TRUE(Has(File("quillorb.ini"), "Reagent0=6"));

  // Switch anyway: Hero's unsaved change is given up, its file stays as it was.
  harness::Click(app_->ScreenPoint(16, 8));
  ASSERT_TRUE(WaitForCounter(0, "10"));
  lock = HoldOpen(folder_ + "quillorb - Hero.ini");
  question = ChooseCharacter(0);
  ASSERT_NE(question, nullptr);
  EXPECT_NE(harness::DialogItemText(question, 10).find(L"what changed for Hero since"),
            std::wstring::npos);
  Press(question, IDCONTINUE);
  ASSERT_TRUE(WaitForCaption("Quillorb"));
  EXPECT_TRUE(WaitForCounter(0, "6"));
  CloseHandle(lock);
  EXPECT_EQ(File("quillorb - Hero.ini"), "[Reagent]\r\nReagent0=9\r\n");
}

TEST_F(Dialogs, ASpellCatalogueThatCannotBeSavedIsReportedAndTheSwitchGoesOn) {
  harness::WriteFile(folder_ + "quillorb - Hero.ini", "[Reagent]\r\nReagent0=9\r\n");
  Start();
  HANDLE lock = HoldOpen(folder_ + "spells.txt");
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  SwitchInList(1);
  HWND box = harness::WaitForMessageBox(app_->Proc());
  ASSERT_NE(box, nullptr);
  const std::wstring file(folder_.begin(), folder_.end());
  EXPECT_NE(harness::MessageBoxText(box).find(L"\n\nCannot replace \"" + file + L"spells.txt\": "),
            std::wstring::npos)
      << harness::MessageBoxText(box);
  harness::DismissMessageBox(box);
  EXPECT_TRUE(WaitForCaption("Quillorb - Hero"));
  EXPECT_TRUE(WaitForCounter(0, "9"));
  CloseHandle(lock);
}

TEST_F(Dialogs, OnAFirstRunAddCopiesTheCurrentCharacterAtOnce) {
  DeleteFileA((folder_ + "quillorb.ini").c_str());
  Start();
  HWND list = AddCharacter("Dave");
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(harness::FileExists(folder_ + "quillorb.ini"));
  EXPECT_TRUE(harness::FileExists(folder_ + "quillorb - Dave.ini"));
  Press(list, IDOK);
  EXPECT_TRUE(WaitForCaption("Quillorb - Dave"));
}

TEST_F(Dialogs, ARefusedCharacterInUsersIniIsReplacedOnceOneIsChosen) {
  harness::WriteFile(folder_ + "users.ini", "[User]\r\nLast=..\\x\r\n");
  harness::WriteFile(folder_ + "quillorb - Bob.ini", "[Reagent]\r\nReagent0=9\r\n");
  app_ = std::make_unique<Quillorb>(folder_, true, false);
  HWND box = harness::WaitForMessageBox(app_->Proc());
  ASSERT_NE(box, nullptr);
  harness::DismissMessageBox(box);
  ASSERT_NE(app_->WaitForMainWindow(), nullptr);
  SwitchInList(1);  // Bob
  ASSERT_TRUE(WaitForCaption("Quillorb - Bob"));
  ASSERT_TRUE(app_->Close());
  EXPECT_EQ(File("users.ini"), "[User]\r\nLast=Bob\r\n");
}

TEST_F(Dialogs, ABankVisitReachesTheLedgerOnOkOnly) {
  Start();
  HWND bank = Open(255, 30, "TBankReagentDialog");
  ASSERT_NE(bank, nullptr);
  EXPECT_EQ(harness::WindowText(GetDlgItem(bank, 101)), "5");
  EXPECT_EQ(harness::WindowText(GetDlgItem(bank, 109)), "100");
  EXPECT_EQ(harness::WindowText(GetDlgItem(bank, 125)), "30");
  harness::Click(At(bank, 213, 242));  // adjust every backpack count to 30
  ASSERT_TRUE(
      harness::WaitUntil([&] { return harness::WindowText(GetDlgItem(bank, 109)) == "75"; }, 5000));
  Press(bank, IDOK);
  ASSERT_TRUE(WaitClosed(bank));
  EXPECT_TRUE(WaitForCounter(0, "30"));
  EXPECT_EQ(Counter(1), "20");  // no bank stock: stays

  bank = Open(255, 30, "TBankReagentDialog");
  harness::Click(At(bank, 99, 42));  // bank to backpack, one BP
  ASSERT_TRUE(
      harness::WaitUntil([&] { return harness::WindowText(GetDlgItem(bank, 101)) == "31"; }, 5000));
  Press(bank, IDCANCEL);
  ASSERT_TRUE(WaitClosed(bank));
  ASSERT_TRUE(app_->Close());
  const std::string profile = File("quillorb.ini");
  EXPECT_TRUE(Has(profile, "Reagent0=30")) << profile;
  EXPECT_TRUE(Has(profile, "BankReagent0=75"));
}

// A full bank and a target above what the backpack's counter shows: the backpack takes 999, the
// rest stays in the bank, on screen and in the profile.
TEST_F(Dialogs, ABankVisitNeitherCreatesNorDestroysReagents) {
  harness::WriteFile(folder_ + "quillorb.ini", "[BankReagent]\r\nBankReagent2=9999\r\n");
  Start();
  HWND bank = Open(255, 30, "TBankReagentDialog");
  ASSERT_NE(bank, nullptr);
  harness::Click(At(bank, 252, 241));  // the target, typed over
  harness::PressKey(VK_END);
  for (int i = 0; i < 3; ++i) harness::PressKey(VK_BACK);
  harness::TypeText("1500");
  harness::Click(At(bank, 213, 242));  // adjust every backpack count to the target
  ASSERT_TRUE(
      harness::WaitUntil([&] { return harness::WindowText(GetDlgItem(bank, 111)) != "9999"; }));
  EXPECT_EQ(harness::WindowText(GetDlgItem(bank, 103)), "999");
  EXPECT_EQ(harness::WindowText(GetDlgItem(bank, 111)), "9000");
  Press(bank, IDOK);
  ASSERT_TRUE(WaitClosed(bank));
  EXPECT_TRUE(WaitForCounter(2, "999"));
  ASSERT_TRUE(app_->Close());
  const std::string profile = File("quillorb.ini");
  EXPECT_TRUE(Has(profile, "Reagent2=999")) << profile;
  EXPECT_TRUE(Has(profile, "BankReagent2=9000")) << profile;
}

// ------------------------------------------------------------------ killed mid-way

// The name of a temporary file in `folder`, or "" when there is none.
std::string TemporaryFile(const std::string& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileW(harness::Wide(folder + "*.tmp").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return "";
  FindClose(find);
  return harness::Utf8(found.cFileName);
}

size_t LineCount(const std::string& text) {
  size_t lines = 0;
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  return lines;
}

// Quillorb killed while it saves and loads: whenever the kill comes, each file is whole, the old
// one or the new one; the next start clears the temporary files and loads what is there.
class Killed : public Dialogs {
 protected:
  // Lines the program does not know, kept by every save: enough to make a save take a while.
  const std::string bulk_ = "[Notes]\r\n" + std::string(4 << 20, 'n') + "\r\n";
  const std::string profile_ = kProfile + bulk_;
  const std::string hero_ = "[Reagent]\r\nReagent0=9\r\n";
  std::string spells_;

  void StartWithFiles() {
    harness::WriteFile(folder_ + "quillorb.ini", profile_);
    harness::WriteFile(folder_ + "quillorb - Hero.ini", hero_);
    harness::WriteFile(folder_ + "users.ini", "[User]\r\nLast=\r\n");
    Start();
    spells_ = File("spells.txt");
  }
  // Waits for `done` while watching the folder without a pause, and kills Quillorb as soon as a
  // save's temporary file shows or the profile changes (or once `done` holds, if neither was
  // seen). Returns what it saw ("" when nothing).
  std::string KillMidSave(const std::function<bool()>& done) {
    const std::wstring profile = harness::Wide(folder_ + "quillorb.ini");
    auto changed = [&] {
      WIN32_FILE_ATTRIBUTE_DATA data{};
      return !GetFileAttributesExW(profile.c_str(), GetFileExInfoStandard, &data) ||
             data.nFileSizeLow != profile_.size();
    };
    std::string seen;
    const ULONGLONG deadline = GetTickCount64() + 15000;
    while ((seen = TemporaryFile(folder_)).empty() && !changed() && !done() &&
           GetTickCount64() < deadline) {
    }
    app_->Proc().Kill();
    return seen;
  }
  // Every file whole, then a fresh start: no temporary file left, the default character's
  // backpack as one of the two saves had it.
  void ExpectWholeFilesAndRestart(const std::string& savedBackpack) {
    const std::string profile = File("quillorb.ini");
    if (profile != profile_) {
      EXPECT_NE(profile.find(bulk_), std::string::npos);
      EXPECT_TRUE(Has(profile, "Reagent0=" + savedBackpack));
      const size_t last = profile.rfind("\r\n", profile.size() - 3);
      EXPECT_EQ(profile.compare(last, 8, "\r\nKEY63="), 0) << profile.substr(last);
    }
    const std::string spells = File("spells.txt");
    if (spells != spells_) {
      EXPECT_EQ(LineCount(spells), 65u);
    }
    EXPECT_EQ(File("quillorb - Hero.ini"), hero_);
    EXPECT_EQ(File("users.ini"), "[User]\r\nLast=\r\n");

    Start();
    EXPECT_EQ(TemporaryFile(folder_), "");
    EXPECT_EQ(Counter(0), profile == profile_ ? "5" : savedBackpack);
    ASSERT_TRUE(app_->Close());
  }
};

TEST_F(Killed, DuringAChangeOfCharacter) {
  const struct {
    const char* moment;
    bool atOnce, whileSaving;
  } moments[] = {{"right after OK", true, false},
                 {"while a file is saved", false, true},
                 {"once the new character shows", false, false}};
  for (const auto& m : moments) {
    SCOPED_TRACE(m.moment);
    StartWithFiles();
    harness::Click(app_->ScreenPoint(16, 8));  // the BP picture: 5 -> 6
    ASSERT_TRUE(WaitForCounter(0, "6"));
    SwitchInList(1);  // Hero
    auto switched = [&] { return harness::WindowText(app_->Window()) == "Quillorb - Hero"; };
    if (m.whileSaving) {
      const std::string temp = KillMidSave(switched);
      std::printf("killed while writing \"%s\"\n", temp.c_str());
      SCOPED_TRACE("killed while " + temp + " was written");
      ExpectWholeFilesAndRestart("6");
      continue;
    }
    if (!m.atOnce) {
      ASSERT_TRUE(WaitForCaption("Quillorb - Hero"));
    }
    app_->Proc().Kill();
    ExpectWholeFilesAndRestart("6");
  }
}

// The configuration's OK hands the edits to the strip; they reach the files with the next save.
TEST_F(Killed, RightAfterConfigurationOk) {
  StartWithFiles();
  HWND config = Open(594 + 11, 10, "TForm_Config");
  ASSERT_NE(config, nullptr);
  Press(config, IDOK);
  KillMidSave([&] { return !IsWindow(config); });
  ExpectWholeFilesAndRestart("5");
}

// The first edit control among the children of a window, at any depth.
HWND FindEdit(HWND parent) {
  HWND found = nullptr;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM result) -> BOOL {
        if (_stricmp(harness::ClassName(child).c_str(), "Edit") != 0 || !IsWindowVisible(child)) {
          return TRUE;
        }
        *reinterpret_cast<HWND*>(result) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(Dialogs, AnalysisAfterCastsExportsAndClears) {
  Start();
  for (int slot : {0, 1, 2}) harness::Click(app_->ScreenPoint(270 + 40 * slot + 12, 12));
  ASSERT_TRUE(WaitForCounter(1, "19"));  // the third cast, Clumsy, took one Blood Moss
  ASSERT_TRUE(WaitForCounter(6, "8"));   // two Magic Arrows

  HWND analysis = Open(627, 30, "TForm_Statistical");
  ASSERT_NE(analysis, nullptr);
  Press(analysis, 12);  // Export...
  HWND save = nullptr;
  ASSERT_TRUE(harness::WaitUntil([&] {
    save = FindWindowA("#32770", nullptr);
    return save && IsWindowVisible(save) && FindEdit(save);
  }));
  const std::string csv = folder_ + "figures.csv";
  SendMessageA(FindEdit(save), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(csv.c_str()));
  PostMessageA(save, WM_COMMAND, IDOK, 0);
  // The file dialog itself may create and delete an empty file of that name to test the name
  // before it closes: wait for the whole text.
  const std::string expected =
      "\xEF\xBB\xBFReagent,Used,Price,Cost\r\n"
      "BP,0,6.5,0\r\nBM,1,8.5,8\r\nGL,0,3.5,0\r\nGS,0,3.5,0\r\nMR,0,6.5,0\r\n"
      "NS,1,3.5,3\r\nSA,2,2.5,5\r\nSS,0,4.5,0\r\nSum,,,16\r\n\r\n"
      "Rank,Spell,Casts,Cost\r\n1,Magic Arrow,2,5\r\n2,Clumsy,1,12\r\n";
  EXPECT_EQ(harness::WaitForValue([&] { return File("figures.csv"); },
                                  [&](const std::string& bytes) { return bytes == expected; }),
            expected);

  Press(analysis, 11);  // Clear Data...
  HWND box = nullptr;
  ASSERT_TRUE(harness::WaitUntil([&] {
    box = FindWindowA("#32770", "Quillorb");
    return box && IsWindowVisible(box);
  }));
  EXPECT_EQ(harness::MessageBoxText(box), L"Clear All Data?");
  harness::DismissMessageBox(box);
  ASSERT_TRUE(WaitClosed(analysis));
  ASSERT_TRUE(app_->Close());
  const std::string profile = File("quillorb.ini");
  EXPECT_TRUE(Has(profile, "ReagentUsed6=0")) << profile;
  EXPECT_TRUE(Has(profile, "SpellCount4=0"));
  EXPECT_TRUE(Has(profile, "Reagent6=8"));
}

}  // namespace
