// The ClassicUO macros on real files and windows: the system's XML parser and writer against the
// client's own format, and the dialog writing a character's macros.xml in a folder named in
// letters outside the ANSI code page: the merge, a second write, the question on a chord of the
// player's, and every refusal leaving the file as it was. Then the Macro page's button, which
// hands the folder back to the configuration.
#include "dialogs/classicuo_macros.h"

#include <gtest/gtest.h>

#include <deque>

#include "dialogs/form_config.h"
#include "tests/harness/folder_test.h"
#include "tests/harness/harness.h"
#include "win/handles.h"
#include "win/xml_lite.h"

namespace quillorb {
namespace {

// A list as the client writes it: a byte-order mark, tabs, CR LF, markup characters escaped.
const std::string kClientFile =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\r\n"
    "<macros>\r\n"
    "\t<macro name=\"Paperdoll &amp; &lt;me&gt; &quot;\xD0\x96&quot;\" key=\"112\" "
    "mousebutton=\"0\" wheelscroll=\"False\" wheelup=\"False\" alt=\"True\" ctrl=\"False\" "
    "shift=\"False\">\r\n"
    "\t\t<actions>\r\n"
    "\t\t\t<action code=\"1\" subcode=\"0\" submenutype=\"2\" text=\"it's &amp; more\" />\r\n"
    "\t\t</actions>\r\n"
    "\t</macro>\r\n"
    "\t<macro name=\"big heal\" key=\"52\" mousebutton=\"0\" wheelscroll=\"False\" "
    "wheelup=\"False\" alt=\"False\" ctrl=\"True\" shift=\"True\">\r\n"
    "\t\t<actions>\r\n"
    "\t\t\t<action code=\"7\" subcode=\"0\" submenutype=\"0\" />\r\n"
    "\t\t</actions>\r\n"
    "\t</macro>\r\n"
    "</macros>";
const std::string kClientMacros = kClientFile.substr(0, kClientFile.size() - 9);  // to </macros>

TEST(XmlLite, ReadsAndWritesTheClientsFormatByteForByte) {
  XmlElement root;
  std::string error;
  ASSERT_TRUE(win::ParseXml(kClientFile, root, error)) << error;
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(*root.children[0].Attribute("name"), "Paperdoll & <me> \"\xD0\x96\"");
  EXPECT_EQ(*root.children[0].children[0].children[0].Attribute("text"), "it's & more");
  std::string bytes;
  ASSERT_TRUE(win::SerializeXml(root, bytes, error)) << error;
  EXPECT_EQ(bytes, kClientFile);

  // An empty list closes itself.
  XmlElement odd{"macros", {{"a", "x > y"}}, {}, {}};
  ASSERT_TRUE(win::SerializeXml(odd, bytes, error)) << error;
  XmlElement back;
  ASSERT_TRUE(win::ParseXml(bytes, back, error)) << error;
  EXPECT_EQ(back, odd);
  EXPECT_NE(bytes.find("<macros a=\""), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 3), " />");

  EXPECT_FALSE(win::ParseXml("<macros>\r\n<macro></macros>", root, error));
  EXPECT_NE(error.find("line 2"), std::string::npos) << error;
  EXPECT_FALSE(win::ParseXml("", root, error));
}

CuoSpells TestSpells() {
  CuoSpells spells;
  const auto bind = [&](int i, const char* name, char key) {
    spells[static_cast<size_t>(i)] = {
        name, std::string(1, key), static_cast<uint16_t>(key), false, true, true};
  };
  bind(0, "Clumsy", '1');
  bind(3, "Heal", '4');  // the player's "big heal" is on Ctrl+Shift+4
  bind(4, "Magic Arrow", '5');
  return spells;
}

class CuoMacrosDialog : public harness::FolderTest {
 protected:
  // "cuo-Жук": in ANSI, the folder's name would be "cuo-???".
  CuoMacrosDialog() : FolderTest("cuo-\xD0\x96\xD1\x83\xD0\xBA") {}

  // A character folder of the client, with a macros.xml when `macros` is given.
  std::string Character(const std::string& account, const std::string& server,
                        const std::string& name, const std::string* macros = nullptr) {
    std::string path = folder_;
    for (const std::string& part :
         {std::string("Data"), std::string("Profiles"), account, server, name}) {
      path += part + "\\";
      CreateDirectoryW(harness::Wide(path).c_str(), nullptr);
    }
    if (macros) harness::WriteFile(path + kCuoMacrosFileName, *macros);
    return path + kCuoMacrosFileName;
  }

  TForm_CuoMacros& Open(const std::string& folder, const std::string& character) {
    dialog_ = std::make_unique<TForm_CuoMacros>(
        nullptr, nullptr, CuoMacrosRequest{harness::AsPath(folder), Utf8(character), TestSpells()});
    dialog_->Message = [this](const Utf8& text, UINT) {
      messages_.push_back(text.str());
      return IDOK;
    };
    dialog_->AskConflicts = [this](const Utf8& question) {
      questions_.push_back(question.str());
      const std::optional<CuoConflictChoice> choice = choices_.front();
      choices_.pop_front();
      return choice;
    };
    return *dialog_;
  }
  // Writes for the `index`-th character listed; what the player was told.
  std::string Write(int index) {
    messages_.clear();
    dialog_->ListBox_Characters->SetItemIndex(index);
    dialog_->Button_Write->Press();
    EXPECT_EQ(messages_.size(), 1u);
    return messages_.empty() ? std::string() : messages_.back();
  }
  std::vector<std::string> Names(const std::string& path) {
    XmlElement root;
    std::string error;
    EXPECT_TRUE(win::ParseXml(harness::ReadFile(path), root, error)) << error;
    std::vector<std::string> names;
    for (const XmlElement& macro : root.children) names.push_back(*macro.Attribute("name"));
    return names;
  }

  std::unique_ptr<TForm_CuoMacros> dialog_;
  std::vector<std::string> messages_;
  std::vector<std::string> questions_;
  std::deque<std::optional<CuoConflictChoice>> choices_;
};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(CuoMacrosDialog, WritesOnceKeepsThePlayersMacrosAndRefusesWithoutTouchingTheFile) {
  const std::string bob = Character("acc", "Shard", "Bob", &kClientFile);
  // An account in Cyrillic and a newer client's character folder ("0x<serial>_<name>").
  const std::string other = Character("\xD0\x90\xD0\xBA\xD0\xBA", "Shard", "0x1A_Bob");
  const std::string broken = "<macros><macro></macros>";
  const std::string anna = Character("acc", "Shard", "Anna", &broken);
  Open(folder_, "bob");
  std::vector<std::string> lines;
  for (int i = 0; i < dialog_->ListBox_Characters->Count(); ++i) {
    lines.push_back(dialog_->ListBox_Characters->ItemUtf8(i).str());
  }
  EXPECT_EQ(lines,
            (std::vector<std::string>{"acc / Shard / Bob", "\xD0\x90\xD0\xBA\xD0\xBA / Shard / Bob",
                                      "acc / Shard / Anna"}));
  EXPECT_EQ(dialog_->ListBox_Characters->ItemIndex(), 0);

  // Heal's chord is the player's: kept. Their macros stay byte for byte; the old file is kept.
  choices_ = {CuoConflictChoice::KeepTheirs};
  EXPECT_TRUE(
      Has(Write(0), "Kept yours, no macro for: Heal (Ctrl+Shift+4 starts your \"big heal\")"));
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_TRUE(
      Has(questions_[0], "Ctrl+Shift+4 starts your \"big heal\"; Quillorb wants it for Heal."));
  const std::string written = harness::ReadFile(bob);
  EXPECT_EQ(written.substr(0, kClientMacros.size()), kClientMacros);
  EXPECT_EQ(Names(bob), (std::vector<std::string>{"Paperdoll & <me> \"\xD0\x96\"", "big heal",
                                                  "Clumsy [Quillorb]", "Magic Arrow [Quillorb]"}));
  EXPECT_EQ(harness::ReadFile(bob + ".bak"), kClientFile);

  // Again: nothing to write, the file stays as it is.
  choices_ = {CuoConflictChoice::KeepTheirs};
  EXPECT_TRUE(Has(Write(0), "nothing was written"));
  EXPECT_EQ(harness::ReadFile(bob), written);

  // A character without macros.xml gets one, with nothing to keep as .bak.
  EXPECT_TRUE(Has(Write(1), "Written: 3 macros (3 new, 0 changed)."));
  EXPECT_EQ(Names(other).size(), 3u);
  EXPECT_FALSE(harness::FileExists(other + ".bak"));

  // Refusals: the file stays byte for byte.
  {
    const win::OwnedWindow client(CreateWindowW(L"STATIC", L"Bob - ClassicUO - 1.0.5",
                                                WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                                nullptr, nullptr));
    EXPECT_TRUE(Has(Write(0), "Bob is logged in to ClassicUO."));
    EXPECT_TRUE(Has(messages_.back(), "Nothing was written."));
  }
  EXPECT_TRUE(Has(Write(2), "line 1"));
  EXPECT_EQ(harness::ReadFile(anna), broken);
  choices_ = {CuoConflictChoice::TakeOurs};
  SetFileAttributesW(harness::Wide(bob).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(Has(Write(0), "Nothing was written."));
  EXPECT_EQ(harness::ReadFile(bob), written);
  EXPECT_EQ(harness::ReadFile(bob + ".bak"), kClientFile);

  // Taking the chord: the player's macro stays, without its key.
  SetFileAttributesW(harness::Wide(bob).c_str(), FILE_ATTRIBUTE_NORMAL);
  choices_ = {CuoConflictChoice::TakeOurs};
  EXPECT_TRUE(Has(Write(0), "Yours now without a key: \"big heal\" (Ctrl+Shift+4, now Heal)."));
  EXPECT_TRUE(Has(harness::ReadFile(bob), "<macro name=\"big heal\" key=\"0\""));
  EXPECT_EQ(Names(bob).back(), "Heal [Quillorb]");
  EXPECT_EQ(harness::ReadFile(bob + ".bak"), written);
}

LRESULT CALLBACK PlainWindow(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(w, msg, wp, lp);
}

TEST_F(CuoMacrosDialog, OffersTheRunningClientsFolderAndTheConfigurationKeepsWhatItCan) {
  WNDCLASSW sdl{};
  sdl.lpfnWndProc = PlainWindow;
  sdl.lpszClassName = L"SDL_app";
  RegisterClassW(&sdl);
  {
    const win::OwnedWindow client(CreateWindowW(L"SDL_app", L"ClassicUO - 1.0.5",
                                                WS_OVERLAPPED | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                                nullptr, nullptr, nullptr));
    EXPECT_EQ(Open("", "").Folder(), harness::AsPath(harness::BinDir()));
    EXPECT_EQ(dialog_->ListBox_Characters->Count(), 0);
    EXPECT_EQ(Open("C:\\Other", "").Folder(), harness::AsPath("C:\\Other\\"));
  }

  // The Macro page's button: the folder the dialog ends with comes back into the working copy,
  // unless the profile's code page cannot spell it.
  ConfigData data;
  data.ClassicUOFolder = "C:\\Old";
  TForm_Config config(nullptr, TForm_Config::Resources{}, data);
  config.CreatePage(kPageMacro);
  const struct {
    std::string typed;
    std::string kept;
    bool told;
  } cases[] = {{folder_, "C:\\Old", true}, {" \"C:\\Games\\CUO\" ", "C:\\Games\\CUO", false}};
  for (const auto& c : cases) {
    static std::string typed;
    static bool told;
    typed = c.typed;
    told = false;
    // Types the folder into the dialog and closes it; answers the box that may follow.
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
      if (HWND box = FindWindowW(L"#32770", L"Quillorb")) {
        told = true;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
      HWND dialog = FindWindowA(kCuoMacrosClass, nullptr);
      if (!dialog || !IsWindowVisible(dialog)) return;
      SetDlgItemTextW(dialog, TForm_CuoMacros::kIdFolder, harness::Wide(typed).c_str());
      PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    config.Button_ClassicUo->Press();
    KillTimer(nullptr, timer);
    EXPECT_EQ(config.ClassicUOFolder, c.kept);
    EXPECT_EQ(told, c.told) << c.typed;
  }
}

}  // namespace
}  // namespace quillorb
