// quillorb.exe started for real in a fresh folder: its window, and the files it reads at start and
// leaves behind when it is closed, good and bad ones alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <sstream>
#include <utility>
#include <string>
#include <vector>

#include "tests/harness/folder_test.h"
#include "tests/harness/harness.h"

namespace {

using harness::Quillorb;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
    lines.push_back(text.substr(start, at - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// Section names, and the keys of one section, in file order.
std::vector<std::string> Sections(const std::string& ini) {
  std::vector<std::string> names;
  for (const std::string& line : Lines(ini)) {
    if (!line.empty() && line.front() == '[') names.push_back(line.substr(1, line.size() - 2));
  }
  return names;
}
std::vector<std::string> KeysOf(const std::string& ini, const std::string& section) {
  std::vector<std::string> keys;
  bool inside = false;
  for (const std::string& line : Lines(ini)) {
    if (!line.empty() && line.front() == '[') {
      inside = line == "[" + section + "]";
    } else if (inside) {
      keys.push_back(line.substr(0, line.find('=')));
    }
  }
  return keys;
}

std::string CounterText(const Quillorb& app, int reagent) {
  return harness::WindowText(app.Control(110 + reagent));
}

// Holds a file open the way another program might: readable, but not to be replaced.
class FileLock {
 public:
  FileLock(const std::string& path, DWORD share)
      : h_(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~FileLock() { Release(); }
  bool Held() const { return h_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

class Startup : public harness::FolderTest {
 protected:
  Startup() : FolderTest("startup") {}
  std::string Path(const std::string& name) const { return folder_ + name; }
  std::vector<std::string> FolderFiles() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder_ + "*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      std::string n = fd.cFileName;
      if (n != "." && n != "..") names.push_back(n);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    return names;
  }
  // Closes Quillorb while another program keeps `file` from being replaced: the question after the
  // failed save names the file, it is answered with Close anyway, and the program ends.
  void CloseWhileLocked(Quillorb& app, const std::string& file) {
    FileLock lock(Path(file), FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(lock.Held());
    PostMessageA(app.Window(), WM_CLOSE, 0, 0);
    HWND question = app.Proc().WaitForWindow("TSaveQuestion");
    ASSERT_NE(question, nullptr);
    const std::wstring wide(file.begin(), file.end());
    EXPECT_NE(harness::DialogItemText(question, 10).find(L"\\" + wide + L"\": "),
              std::wstring::npos);
    PostMessageA(GetDlgItem(question, IDCONTINUE), BM_CLICK, 0, 0);
    ASSERT_TRUE(app.Proc().WaitForExit(15000));
  }
};

TEST_F(Startup, FirstStartInAnEmptyFolderShowsTheStripAndWritesAllThreeFiles) {
  Quillorb app(folder_);
  HWND w = app.Window();
  EXPECT_EQ(harness::WindowText(w), "Quillorb");
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 60);
  EXPECT_TRUE(harness::IsTopmost(w));
  RECT outer = harness::WindowRectOf(w);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  EXPECT_EQ(harness::WindowText(app.Control(100)), " Spell Information...");
  for (int r = 0; r < 8; ++r) EXPECT_EQ(CounterText(app, r), "0");
  ASSERT_TRUE(app.Close());

  EXPECT_EQ(harness::ReadFile(Path("users.ini")), "[User]\r\nLast=\r\n");

  const std::string profile = harness::ReadFile(Path("quillorb.ini"));
  const std::vector<std::string> sections = {
      "Reagent", "BankReagent", "ReagentCost", "ReagentUsed", "Config", "UserSpell",
      "Cast",    "SpellBook",   "DangerSpell", "SpellCount",  "Macro"};
  EXPECT_EQ(Sections(profile), sections);
  const std::vector<std::string> config = {"AdjustRegsInBackpack",
                                           "AlwaysOnTop",
                                           "EnableSpellCasting",
                                           "Inscription",
                                           "Top",
                                           "Left",
                                           "Caption",
                                           "Captions0",
                                           "Captions1",
                                           "Captions2",
                                           "Captions3",
                                           "Captions4",
                                           "ClientProgram",
                                           "ClassicUOFolder",
                                           "WarnCasts"};
  EXPECT_EQ(KeysOf(profile, "Config"), config);
  EXPECT_EQ(KeysOf(profile, "UserSpell").size(), 32u);
  EXPECT_EQ(KeysOf(profile, "UserSpell").back(), "Spell37");
  EXPECT_EQ(KeysOf(profile, "Macro").size(), 256u);
  for (const char* line : {"ReagentCost0=6.5", "ReagentCost1=8.5", "ReagentCost6=2.5",
                           "AlwaysOnTop=1", "EnableSpellCasting=1", "Inscription=0", "Top=0",
                           "Left=0", "Caption=\"Ultima Online - \"", "WarnCasts=5", "KEY63=49"}) {
    EXPECT_NE(profile.find(std::string("\r\n") + line + "\r\n"), std::string::npos) << line;
  }

  const std::string spells = harness::ReadFile(Path("spells.txt"));
  const std::vector<std::string> lines = Lines(spells);
  ASSERT_EQ(lines.size(), 65u);
  EXPECT_EQ(spells.size() - spells.find_last_of('\n'), 1u);  // the last line ends with CR LF too
  EXPECT_EQ(lines[0], "Spell\tRune\tALT\tCTRL\tSHIFT\tKEY\tBP\tBM\tGL\tGS\tMR\tNS\tSA\tSS\tmana");
  EXPECT_EQ(lines[64], "\t\t1\t1\t1\t49\t0\t0\t0\t0\t0\t0\t0\t0\t10");
}

TEST_F(Startup, TheLastCharacterNamedInUsersIniIsLoadedAndSaved) {
  harness::WriteFile(Path("users.ini"), "[User]\r\nLast=Bob\r\n");
  harness::WriteFile(Path("quillorb - Bob.ini"), "[Reagent]\r\nReagent3=42\r\n");
  Quillorb app(folder_, true);
  EXPECT_EQ(harness::WindowText(app.Window()), "Quillorb - Bob");
  EXPECT_EQ(CounterText(app, 3), "42");
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(harness::ReadFile(Path("users.ini")), "[User]\r\nLast=Bob\r\n");
  EXPECT_FALSE(harness::FileExists(Path("quillorb.ini")));
  const std::string profile = harness::ReadFile(Path("quillorb - Bob.ini"));
  EXPECT_EQ(profile.rfind("[Reagent]\r\nReagent3=42\r\nReagent0=0\r\n", 0), 0u) << profile;
}

TEST_F(Startup, ProfileSettingsApplyAndUnknownContentSurvivesTheSave) {
  harness::WriteFile(Path("quillorb.ini"),
                     "; kept by hand\r\n"
                     "[Reagent]\r\nReagent0=12\r\nReagent7=1500\r\n"
                     "[Config]\r\nAlwaysOnTop=0\r\nLeft=100\r\nTop=50\r\n"
                     "Caption=\"My Client - \"\r\nMyOwnKey=yes\r\n"
                     "[Extra]\r\nSomething=else\r\n");
  Quillorb app(folder_, true);
  EXPECT_EQ(CounterText(app, 0), "12");
  EXPECT_EQ(CounterText(app, 7), "999");  // a counter holds 0..999
  RECT outer = harness::WindowRectOf(app.Window());
  EXPECT_EQ(outer.left, 100);
  EXPECT_EQ(outer.top, 50);
  // The window shows topmost as designed, then takes the setting.
  EXPECT_TRUE(harness::WaitUntil([&] { return !harness::IsTopmost(app.Window()); }));
  ASSERT_TRUE(app.Close());

  const std::string profile = harness::ReadFile(Path("quillorb.ini"));
  for (const char* kept :
       {"; kept by hand\r\n", "\r\nReagent0=12\r\n", "\r\nReagent7=999\r\n", "\r\nMyOwnKey=yes\r\n",
        "[Extra]\r\nSomething=else\r\n", "\r\nCaption=\"My Client - \"\r\n", "\r\nLeft=100\r\n",
        "\r\nTop=50\r\n", "\r\nAlwaysOnTop=0\r\n"}) {
    EXPECT_NE(profile.find(kept), std::string::npos) << kept;
  }
  // Written into the file as it stood: the reagent keys it lacked follow the ones it had.
  EXPECT_NE(profile.find("[Reagent]\r\nReagent0=12\r\nReagent7=999\r\nReagent1=0\r\n"),
            std::string::npos);
}

TEST_F(Startup, AProfileThatCannotBeReplacedIsReportedAndKeptIntact) {
  const std::string before = "[Reagent]\r\nReagent0=7\r\n";
  harness::WriteFile(Path("quillorb.ini"), before);
  Quillorb app(folder_, true);
  CloseWhileLocked(app, "quillorb.ini");
  EXPECT_EQ(harness::ReadFile(Path("quillorb.ini")), before);
  // No temporary file is left behind.
  for (const std::string& name : FolderFiles()) {
    EXPECT_TRUE(name == "quillorb.exe" || name == "spells.txt" || name == "users.ini" ||
                name == "quillorb.ini")
        << name;
  }
}

TEST_F(Startup, ARefusedUsersIniIsReportedButTheProfileIsStillSaved) {
  harness::WriteFile(Path("users.ini"), "[User]\r\nLast=\r\n");
  Quillorb app(folder_, true);
  CloseWhileLocked(app, "users.ini");
  EXPECT_TRUE(harness::FileExists(Path("quillorb.ini")));
  EXPECT_EQ(Lines(harness::ReadFile(Path("spells.txt"))).size(), 65u);
}

TEST_F(Startup, AFailedSaveAtTheEndAsksRetryCloseAnywayOrCancel) {
  harness::WriteFile(Path("quillorb.ini"), "[Reagent]\r\nReagent0=7\r\n");
  Quillorb app(folder_, true);
  FileLock lock(Path("quillorb.ini"), FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_TRUE(lock.Held());
  PostMessageA(app.Window(), WM_CLOSE, 0, 0);
  HWND question = app.Proc().WaitForWindow("TSaveQuestion");
  ASSERT_NE(question, nullptr);
  const std::wstring text = harness::DialogItemText(question, 10);
  EXPECT_EQ(
      text.rfind(L"The profile of the default character could not be saved.\nCannot replace \"", 0),
      0u)
      << text;
  EXPECT_NE(text.find(L"\n\nClose anyway: what changed for the default character since the last "
                      L"save is lost"),
            std::wstring::npos);
  EXPECT_NE(text.find(L"\nCancel: Quillorb keeps running; nothing is lost."), std::wstring::npos);
  EXPECT_EQ(harness::WindowText(GetDlgItem(question, IDCONTINUE)), "&Close anyway");
  PostMessageA(GetDlgItem(question, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindow(question); }));
  // Still running, and a close asks again; the file let go, Retry saves and the program ends.
  EXPECT_TRUE(IsWindowEnabled(app.Window()));
  PostMessageA(app.Window(), WM_CLOSE, 0, 0);
  question = app.Proc().WaitForWindow("TSaveQuestion");
  ASSERT_NE(question, nullptr);
  lock.Release();
  PostMessageA(GetDlgItem(question, IDRETRY), BM_CLICK, 0, 0);
  ASSERT_TRUE(app.Proc().WaitForExit(15000));
  const std::string profile = harness::ReadFile(Path("quillorb.ini"));
  EXPECT_EQ(profile.rfind("[Reagent]\r\nReagent0=7\r\nReagent1=0\r\n", 0), 0u) << profile;
  EXPECT_EQ(Sections(profile).back(), "Macro");
}

TEST_F(Startup, AnUnreadableCatalogueIsReportedWithItsReasonAndNotOverwritten) {
  harness::WriteFile(Path("quillorb.ini"), "[Reagent]\r\nReagent2=5\r\n");
  CopyFileA((harness::BinDir() + "spells.txt").c_str(), Path("spells.txt").c_str(), FALSE);
  const std::string catalogue = harness::ReadFile(Path("spells.txt"));
  FileLock lock(Path("spells.txt"), 0);  // nobody else may even read it
  ASSERT_TRUE(lock.Held());
  Quillorb app(folder_, false, false);
  HWND box = harness::WaitForMessageBox(app.Proc());
  ASSERT_NE(box, nullptr);
  const std::wstring text = harness::MessageBoxText(box);
  const std::wstring file(folder_.begin(), folder_.end());
  const std::wstring expected =
      L"The spell catalogue cannot be read: the spells keep the values "
      L"they have, and the file is not overwritten.\n\nCannot open \"" +
      file + L"spells.txt\": ";
  EXPECT_EQ(text.rfind(expected, 0), 0u) << text;
  EXPECT_GT(text.size(), expected.size());  // the system's reason
  harness::DismissMessageBox(box);
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  EXPECT_EQ(CounterText(app, 2), "5");  // the profile was still loaded
  lock.Release();
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(harness::ReadFile(Path("spells.txt")), catalogue);
  EXPECT_NE(harness::ReadFile(Path("quillorb.ini")).find("Reagent2=5\r\n"), std::string::npos);
}

TEST_F(Startup, DamagedFilesGiveDefaultsWithoutACrash) {
  std::string binary;
  // Every byte but NUL, which no 8-bit text holds (such a file is unreadable, below).
  for (unsigned i = 0; i < 300000; ++i) binary += static_cast<char>((i * 7919u) % 255u + 1u);
  std::string huge(4 << 20, 'x');
  huge += "\r\n[Reagent]\r\nReagent0=abc\r\nReagent1=0x10\r\n[UserSpell]\r\nSpell00=99\r\n";
  huge += std::string(5000, '=') + "\n\r\r" + std::string(2000, '[');
  harness::WriteFile(Path("users.ini"), binary);
  harness::WriteFile(Path("quillorb.ini"), huge);
  harness::WriteFile(Path("spells.txt"), binary.substr(0, 70000));
  Quillorb app(folder_);
  EXPECT_EQ(harness::WindowText(app.Window()), "Quillorb");
  EXPECT_EQ(CounterText(app, 0), "0");
  EXPECT_EQ(CounterText(app, 1), "16");
  ASSERT_TRUE(app.Close());
  // The rewrite keeps what it did not understand and still has the usual shape.
  const std::string profile = harness::ReadFile(Path("quillorb.ini"));
  EXPECT_EQ(profile.rfind(std::string(4 << 20, 'x'), 0), 0u);
  EXPECT_NE(profile.find("\r\nSpell00=0\r\n"), std::string::npos);
  EXPECT_EQ(Lines(harness::ReadFile(Path("spells.txt"))).size(), 65u);
}

// Text saved as UTF-16 (a text editor offers it), in either byte order, with or without its
// byte-order mark: each file is reported by name and left byte for byte, never written over.
TEST_F(Startup, Utf16FilesAreReportedAndKeptByteForByte) {
  auto utf16 = [](const std::string& text, bool bigEndian, bool mark) {
    std::string bytes = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (char c : text) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return bytes;
  };
  const std::string catalogueText = harness::ReadFile(harness::BinDir() + "spells.txt");
  for (const bool mark : {true, false}) {
    SCOPED_TRACE(mark ? "with mark" : "without mark");
    const std::pair<std::string, std::string> files[] = {
        {"users.ini", utf16("[User]\r\nLast=\r\n", false, mark)},
        {"spells.txt", utf16(catalogueText, false, mark)},
        {"quillorb.ini", utf16("[Reagent]\r\nReagent0=7\r\n", true, mark)}};
    for (const auto& [name, bytes] : files) harness::WriteFile(Path(name), bytes);
    Quillorb app(folder_, false, false);
    for (const auto& [name, bytes] : files) {
      HWND box = harness::WaitForMessageBox(app.Proc());
      ASSERT_NE(box, nullptr);
      EXPECT_NE(harness::MessageBoxText(box).find(harness::Wide(name)), std::wstring::npos);
      harness::DismissMessageBox(box);
      ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindow(box); }));
    }
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    EXPECT_EQ(CounterText(app, 0), "0");
    ASSERT_TRUE(app.Close());
    for (const auto& [name, bytes] : files) EXPECT_EQ(harness::ReadFile(Path(name)), bytes) << name;
  }
}

// ------------------------------------------------------------------ files that must cost nothing

// Every file of the folder with its bytes.
std::vector<std::pair<std::string, std::string>> Snapshot(const std::string& folder) {
  std::vector<std::pair<std::string, std::string>> files;
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    const std::string n = fd.cFileName;
    if (n != "." && n != "..") files.push_back({n, harness::ReadFile(folder + n)});
  } while (FindNextFileA(find, &fd));
  FindClose(find);
  std::sort(files.begin(), files.end());
  return files;
}

TEST_F(Startup, AProfileLockedAtStartIsReportedAndLeftByteForByte) {
  const std::string before = "[Reagent]\r\nReagent0=77\r\n[SpellCount]\r\nSpellCount3=12\r\n";
  harness::WriteFile(Path("quillorb.ini"), before);
  FileLock lock(Path("quillorb.ini"), 0);  // not even readable
  ASSERT_TRUE(lock.Held());
  Quillorb app(folder_, true, false);
  HWND box = harness::WaitForMessageBox(app.Proc());
  ASSERT_NE(box, nullptr);
  EXPECT_NE(harness::MessageBoxText(box).find(L"quillorb.ini"), std::wstring::npos);
  harness::DismissMessageBox(box);
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  EXPECT_EQ(CounterText(app, 0), "0");  // the defaults, for this run
  lock.Release();
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(harness::ReadFile(Path("quillorb.ini")), before);
  EXPECT_EQ(harness::ReadFile(Path("users.ini")), "[User]\r\nLast=\r\n");
}

TEST_F(Startup, ACharacterNameThatIsNoFileNameIsRefusedAndUsersIniKept) {
  // Outside the folder, where a name full of "..\" would lead.
  const std::string outside = harness::NewTempFolder("outside");
  harness::WriteFile(outside + "quillorb - x.ini", "[Reagent]\r\nReagent0=5\r\n");
  for (const std::string last : {R"(..\..\..\..\x)", "../../x", "a:b", "x|y"}) {
    SCOPED_TRACE(last);
    const std::string users = "[User]\r\nLast=" + last + "\r\n";
    harness::WriteFile(Path("users.ini"), users);
    Quillorb app(folder_, true, false);
    HWND box = harness::WaitForMessageBox(app.Proc());
    ASSERT_NE(box, nullptr);
    const std::wstring wide(last.begin(), last.end());
    EXPECT_NE(harness::MessageBoxText(box).find(L"\"" + wide + L"\""), std::wstring::npos);
    harness::DismissMessageBox(box);
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    EXPECT_EQ(harness::WindowText(app.Window()), "Quillorb");
    EXPECT_EQ(CounterText(app, 0), "0");
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(harness::ReadFile(Path("users.ini")), users);
    EXPECT_TRUE(harness::FileExists(Path("quillorb.ini")));
  }
  EXPECT_EQ(Snapshot(outside).size(), 1u);
  EXPECT_EQ(harness::ReadFile(outside + "quillorb - x.ini"), "[Reagent]\r\nReagent0=5\r\n");
  harness::RemoveFolder(outside);
}

TEST_F(Startup, AnUnreadableUsersIniIsReportedAndNotOverwritten) {
  const std::string users = "[User]\r\nLast=Bob\r\n";
  harness::WriteFile(Path("users.ini"), users);
  FileLock lock(Path("users.ini"), 0);
  ASSERT_TRUE(lock.Held());
  Quillorb app(folder_, true, false);
  HWND box = harness::WaitForMessageBox(app.Proc());
  ASSERT_NE(box, nullptr);
  EXPECT_NE(harness::MessageBoxText(box).find(L"users.ini"), std::wstring::npos);
  harness::DismissMessageBox(box);
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  lock.Release();
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(harness::ReadFile(Path("users.ini")), users);
}

TEST_F(Startup, ASecondCloseDuringTheShutdownIsIgnored) {
  harness::WriteFile(Path("quillorb.ini"), "[Config]\r\nLeft=120\r\nTop=70\r\n");
  Quillorb app(folder_, true);
  {
    // users.ini cannot be replaced: the shutdown stops at its question.
    harness::WriteFile(Path("users.ini"), "[User]\r\nLast=\r\n");
    FileLock lock(Path("users.ini"), FILE_SHARE_READ | FILE_SHARE_WRITE);
    PostMessageA(app.Window(), WM_CLOSE, 0, 0);
    HWND question = app.Proc().WaitForWindow("TSaveQuestion");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(harness::DialogItemText(question, 10).rfind(L"users.ini could not be saved.\n", 0),
              0u);
    SendMessageTimeoutA(app.Window(), WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr);
    EXPECT_TRUE(IsWindow(app.Window()));
    EXPECT_TRUE(IsWindow(question));
    PostMessageA(GetDlgItem(question, IDCONTINUE), BM_CLICK, 0, 0);
  }
  ASSERT_TRUE(app.Proc().WaitForExit(15000));
  const std::string profile = harness::ReadFile(Path("quillorb.ini"));
  EXPECT_NE(profile.find("\r\nLeft=120\r\n"), std::string::npos) << profile;
  EXPECT_NE(profile.find("\r\nTop=70\r\n"), std::string::npos);
}

TEST_F(Startup, StaleTemporaryFilesOfOurSavesAreRemovedOthersKept) {
  for (const char* name :
       {"quillorb.ini.4242-0.tmp", "users.ini.17-3.tmp", "quillorb - Bob.ini.9-1.tmp",
        "spells.txt.5-2.tmp", "notes.tmp", "quillorb.ini.tmp"}) {
    harness::WriteFile(Path(name), std::string(1000, 'x'));
  }
  Quillorb app(folder_, true);
  EXPECT_FALSE(harness::FileExists(Path("quillorb.ini.4242-0.tmp")));
  EXPECT_FALSE(harness::FileExists(Path("users.ini.17-3.tmp")));
  EXPECT_FALSE(harness::FileExists(Path("quillorb - Bob.ini.9-1.tmp")));
  EXPECT_FALSE(harness::FileExists(Path("spells.txt.5-2.tmp")));
  EXPECT_TRUE(harness::FileExists(Path("notes.tmp")));
  EXPECT_TRUE(harness::FileExists(Path("quillorb.ini.tmp")));
  ASSERT_TRUE(app.Close());
}

// ------------------------------------------------------------------ one strip per folder

TEST_F(Startup, ASecondStartInTheSameFolderBringsTheFirstBackAndEnds) {
  Quillorb first(folder_, true);
  ShowWindow(first.Window(), SW_MINIMIZE);
  ASSERT_TRUE(harness::WaitUntil([&] { return IsIconic(first.Window()) != FALSE; }));
  const auto files = Snapshot(folder_);
  // Started again under another spelling of the same folder.
  std::string upper = folder_;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  const DWORD t0 = GetTickCount();
  harness::Process second = harness::Process::Start(upper + "QUILLORB.EXE", "", upper);
  ASSERT_TRUE(second.WaitForExit(5000));
  const DWORD took = GetTickCount() - t0;
  EXPECT_EQ(second.ExitCode(), 0u);
  std::printf("second start ended after %lu ms\n", static_cast<unsigned long>(took));
  EXPECT_TRUE(harness::WaitUntil(
      [&] { return !IsIconic(first.Window()) && GetForegroundWindow() == first.Window(); }));
  EXPECT_EQ(Snapshot(folder_), files);
  int windows = 0;
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        if (harness::ClassName(w) == "TForm_Main") ++*reinterpret_cast<int*>(lp);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  EXPECT_EQ(windows, 1);

  // A copy in another folder runs on its own.
  const std::string other = harness::NewTempFolder("other");
  {
    Quillorb elsewhere(other, true);
    EXPECT_NE(elsewhere.Window(), first.Window());
    EXPECT_TRUE(IsWindow(first.Window()));
    ASSERT_TRUE(elsewhere.Close());
  }
  harness::RemoveFolder(other);

  // Started through another path to the folder: under Wine its Unix path on drive Z:, which no
  // rewriting of the path text makes equal to the first (a link, a junction or a subst drive on
  // Windows). The folder's identity is the same.
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (unixName) {
    std::string viaZ = std::string("Z:") + unixName(harness::Wide(folder_).c_str());
    std::replace(viaZ.begin(), viaZ.end(), '/', '\\');
    harness::Process third = harness::Process::Start(viaZ + "quillorb.exe", "", viaZ);
    EXPECT_TRUE(third.WaitForExit(5000)) << viaZ;
  }
  ASSERT_TRUE(first.Close());
}

// ------------------------------------------------------------------ folders and names

TEST_F(Startup, ALongFolderNamedInLettersOutsideTheCodePageKeepsTheProfile) {
  // Cyrillic, under the Western code page the tests run with: in ANSI the folder is "???". Below
  // it, folders up to 246 characters, the most that the program file (and the current folder)
  // can have: every file's temporary name passes MAX_PATH, and the profile's name comes near it.
  const std::string top = harness::NewTempFolder("\xD0\x96\xD1\x83\xD0\xBA");
  std::string folder = top + std::string(100, 'a') + "\\";
  ASSERT_TRUE(CreateDirectoryW(harness::Wide(folder).c_str(), nullptr));
  folder += std::string(246 - 1 - harness::Wide(folder).size(), 'b') + "\\";
  ASSERT_TRUE(CreateDirectoryW(harness::Wide(folder).c_str(), nullptr));
  ASSERT_EQ(harness::Wide(folder).size(), 246u);
  {
    Quillorb app(folder);
    const POINT bp = app.ScreenPoint(4 + 12, 5);
    for (int i = 0; i < 3; ++i) harness::Click(bp);
    ASSERT_TRUE(harness::WaitUntil([&] { return CounterText(app, 0) == "3"; }, 5000));
    ASSERT_TRUE(app.Close());  // a failed save would wait in a message box
  }
  EXPECT_NE(harness::ReadFile(folder + "quillorb.ini").find("\r\nReagent0=3\r\n"),
            std::string::npos);
  EXPECT_EQ(harness::ReadFile(folder + "users.ini"), "[User]\r\nLast=\r\n");
  {
    Quillorb again(folder);
    EXPECT_EQ(CounterText(again, 0), "3");
    ASSERT_TRUE(again.Close());
  }
  harness::RemoveFolder(top);
}

// A strip saved where no monitor is comes back inside the primary monitor's work area, as near to
// the saved place as it fits, and is saved there; one partly on a monitor stays where it was.
TEST_F(Startup, AStripSavedOffEveryScreenComesBack) {
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  struct Case {
    int left, top;
    LONG shownLeft, shownTop;  // INT_MIN: the work area's right or bottom edge, less the size
  } cases[] = {
      {-32000, -32000, work.left, work.top},
      {99999, 50, INT_MIN, 50},
      {60, 2147483000, 60, INT_MIN},
      {-100, 20, -100, 20},
  };
  for (const Case& c : cases) {
    harness::WriteFile(Path("quillorb.ini"), "[Config]\r\nLeft=" + std::to_string(c.left) +
                                                 "\r\nTop=" + std::to_string(c.top) + "\r\n");
    Quillorb app(folder_, true);
    const RECT outer = harness::WindowRectOf(app.Window());
    const LONG left =
        c.shownLeft == INT_MIN ? work.right - (outer.right - outer.left) : c.shownLeft;
    const LONG top = c.shownTop == INT_MIN ? work.bottom - (outer.bottom - outer.top) : c.shownTop;
    EXPECT_EQ(outer.left, left) << c.left;
    EXPECT_EQ(outer.top, top) << c.top;
    ASSERT_TRUE(app.Close());
    const std::string profile = harness::ReadFile(Path("quillorb.ini"));
    EXPECT_NE(profile.find("\r\nLeft=" + std::to_string(left) + "\r\n"), std::string::npos)
        << profile;
    EXPECT_NE(profile.find("\r\nTop=" + std::to_string(top) + "\r\n"), std::string::npos);
  }
}

}  // namespace
