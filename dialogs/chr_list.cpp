#include "dialogs/chr_list.h"

#include <algorithm>
#include <memory>

#include "dialogs/messages.h"
#include "model/characters.h"
#include "model/file_io.h"
#include "model/profile.h"
#include "win/app.h"
#include "win/dialog_util.h"
#include "win/input_box.h"

namespace quillorb {
namespace {

constexpr char kForbiddenMessage[] = "You can't use these letters.\n\\ / : , ; * ? \" < > |";
constexpr char kOuterBlankMessage[] =
    "A character's name cannot begin or end with a blank: it would not be found again at the next "
    "start.";
constexpr char kQuotesMessage[] =
    "A character's name cannot begin and end with the same quote mark: it would not be found again "
    "at the next start.";
constexpr char kCodePageMessage[] =
    "This name has letters that this system's code page cannot store. Please choose a name "
    "without them.";
constexpr char kTooLongMessage[] =
    "This name is too long: the name of its file would pass the 255 characters a file name may "
    "have.";

// A name a profile file name or users.ini could not hold, and what the player is told.
struct NameRule {
  bool (*breaks)(const Path& name);
  const char* message;
};
constexpr NameRule kNameRules[] = {
    {HasForbiddenCharacter, kForbiddenMessage},
    {HasOuterBlank, kOuterBlankMessage},
    {HasEnclosingQuotes, kQuotesMessage},
    {IsTooLongForFileName, kTooLongMessage},
};

}  // namespace

CharacterFiles ListCharacters(const Path& folder) {
  CharacterFiles files;
  for (const Path& file : FileNamesIn(folder)) {
    const std::optional<Path> name = CharacterFromFileName(file);
    if (!name) continue;
    // Names are kept in the ANSI code page (users.ini, the window titles): a file whose name has
    // no exact form there cannot be one of ours.
    std::optional<std::string> ansi = win::WideToAnsi(win::Wide(*name));
    if (ansi) {
      files.names.push_back(std::move(*ansi));
    } else {
      files.unusable.push_back(file);
    }
  }
  std::stable_sort(files.names.begin(), files.names.end(),
                   [](const std::string& a, const std::string& b) {
                     return lstrcmpiA(a.c_str(), b.c_str()) < 0;
                   });
  std::sort(files.unusable.begin(), files.unusable.end());
  return files;
}

TForm_ChrList::TForm_ChrList(HWND owner, HFONT font, Path programDir,
                             const CharacterChoice& current)
    : CurChr(current.name.empty() ? std::string(kDefaultCharacterEntry) : current.name),
      programDir_(std::move(programDir)) {
  CreateModalForm(kChrListClass, "Change Characters", owner, kClientWidth, kClientHeight,
                  WS_EX_TOPMOST);
  SetFont(win::DescribeFont(font, win::WindowDpi(owner)));
  AskName = [this] {
    return win::InputQuery(hwnd(), "Add a character", "Input a character name", "", Font());
  };
  Message = [this](const Utf8& text, UINT flags) { return win::ShowMessage(hwnd(), text, flags); };

  Bevel1 = std::make_unique<win::Bevel>(*this, 8, 8, 273, 201);
  Label_Cur = std::make_unique<win::Label>(*this, 16, 16, 0, 14, "Current Character : ");
  Label_Cur->SetAutoSize(true);
  Label_CurChr = std::make_unique<win::Label>(*this, 32, 32, 0, 14, "");
  Label_CurChr->SetAutoSize(true);
  Bevel2 = std::make_unique<win::Bevel>(*this, 16, 52, 257, 9, win::Bevel::Shape::TopLine);

  // Windowed controls in tab order; the static label stands right before the list it names.
  Label1 = std::make_unique<win::StaticText>(hwnd(), kIdLabel1, 16, 64, 100, 14, "&Characters");
  ListBox_Chr = std::make_unique<win::ListBox>(hwnd(), kIdList, 16, 80, 161, 121);
  ListBox_Chr->OnDblClick = [this](win::ListBox&) { ListBox_ChrDblClick(); };
  Button_Add = std::make_unique<win::Button>(hwnd(), kIdAdd, 192, 80, 75, 25, "&Add...");
  Button_Add->OnClick = [this](win::Button&) { Button_AddClick(); };
  Button_Del = std::make_unique<win::Button>(hwnd(), kIdDel, 192, 112, 75, 25, "&Delete...");
  Button_Del->OnClick = [this](win::Button&) { Button_DelClick(); };
  OKBtn = std::make_unique<win::Button>(hwnd(), IDOK, 64, 220, 75, 25, "OK");
  OKBtn->Default = true;
  OKBtn->ModalResult = win::kModalOk;
  OKBtn->OnClick = [this](win::Button&) { OKBtnClick(); };
  CancelBtn = std::make_unique<win::Button>(hwnd(), IDCANCEL, 152, 220, 75, 25, "Cancel");
  CancelBtn->Cancel = true;
  CancelBtn->ModalResult = win::kModalCancel;
  win::CenterWindow(hwnd());
  FormCreate();
}

std::optional<CharacterChoice> TForm_ChrList::Execute() {
  if (ShowModal() != win::kModalOk) return std::nullopt;
  return CharacterChoice{CurChr == kDefaultCharacterEntry ? std::string() : CurChr};
}

void TForm_ChrList::FormCreate() {
  ListBox_Chr->Add(kDefaultCharacterEntry);
  CharacterFiles files = ListCharacters(programDir_);
  for (const std::string& name : files.names) ListBox_Chr->Add(name);
  Unusable = std::move(files.unusable);
}

void TForm_ChrList::FormShow() {
  Label_CurChr->SetCaption(CurChr);
  ListBox_Chr->SetItemIndex(ListBox_Chr->IndexOf(CurChr));
  if (!Unusable.empty()) PostMessageW(hwnd(), kTellUnusable, 0, 0);
}

LRESULT TForm_ChrList::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != kTellUnusable) return Dialog::OnMessage(msg, wp, lp);
  TellUnusable();
  return 0;
}

void TForm_ChrList::TellUnusable() {
  std::vector<Path> untold;
  for (const Path& file : Unusable) {
    if (!Told || Told->insert(file).second) untold.push_back(file);
  }
  if (untold.empty()) return;
  const bool one = untold.size() == 1;
  Utf8 text(one ? "This profile is not in the list:\n\n"
                : "These profiles are not in the list:\n\n");
  for (const Path& file : untold) text += file.Text() + "\n";
  text += Utf8(
      one ? "\nIts character's name has letters that this system's code page cannot store, so "
            "Quillorb cannot use it. To use it, rename the file with letters the code page has."
          : "\nTheir characters' names have letters that this system's code page cannot store, "
            "so Quillorb cannot use them. To use one, rename its file with letters the code "
            "page has.");
  Message(text, MB_OK | MB_ICONINFORMATION);
}

void TForm_ChrList::TakeSelection() {
  const int index = ListBox_Chr->ItemIndex();
  if (index >= 0) CurChr = ListBox_Chr->Item(index);
}

void TForm_ChrList::OKBtnClick() {
  TakeSelection();
}

void TForm_ChrList::ListBox_ChrDblClick() {
  TakeSelection();
  SetModalResult(win::kModalOk);
}

Path TForm_ChrList::ProfileOf(const std::string& entry) const {
  return ProfileFileName(programDir_, entry == kDefaultCharacterEntry ? std::string() : entry);
}

void TForm_ChrList::Button_AddClick() {
  const Utf8 typed = AskName ? AskName().value_or(Utf8()) : Utf8();
  if (typed.empty()) return;
  // Every check before anything is created. The letters are checked in the name's file name form
  // (model/characters.h).
  const std::optional<std::string> ansi = win::WideToAnsi(win::Wide(typed));
  if (!ansi) {
    Message(kCodePageMessage, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const std::string& name = *ansi;
  if (ListBox_Chr->IndexOf(name) >= 0) {
    Message(typed + " already exists.", MB_OK);
    return;
  }
  for (const NameRule& rule : kNameRules) {
    if (rule.breaks(PathFromAnsi(name))) {
      Message(Utf8(rule.message), MB_OK | MB_ICONEXCLAMATION);
      return;
    }
  }
  // On a first run the current character has no file yet: it is saved first, so that there is
  // something to copy.
  const Path source = ProfileOf(CurChr);
  if (SaveCurrentProfile && !FileExists(source) && !SaveCurrentProfile()) return;
  Utf8 error;
  if (!CopyToNewFile(source, ProfileFileName(programDir_, name), &error)) {
    Message(NewCharacterFileError(typed) + "\n" + error, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  ListBox_Chr->SetItemIndex(ListBox_Chr->Add(name));
}

void TForm_ChrList::Button_DelClick() {
  const int index = ListBox_Chr->ItemIndex();
  if (index < 0) return;
  const std::string name = ListBox_Chr->Item(index);
  if (name == CurChr) {
    Message("You can't delete a current character", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (name == kDefaultCharacterEntry) {
    Message("You can't delete a default setting", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (Message("Delete Character? - " + win::AnsiToUtf8(name),
              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
    return;
  }
  win::HourglassScope hourglass;
  RemoveFile(ProfileOf(name));
  ListBox_Chr->Delete(index);
  ListBox_Chr->SetItemIndex(index < ListBox_Chr->Count() ? index : 0);
}

}  // namespace quillorb
