#include "dialogs/classicuo_macros.h"

#include <commctrl.h>

#include "client/classicuo_profiles.h"
#include "model/config_pages.h"
#include "model/file_io.h"
#include "win/app.h"
#include "win/dialog_util.h"
#include "win/folder_dialog.h"
#include "win/library.h"
#include "win/xml_lite.h"

namespace quillorb {
namespace {

constexpr char kCaption[] = "Quillorb - ClassicUO macros";
constexpr int kKeepMine = 1001;
constexpr int kUseOurs = 1002;

// The question after a write met the player's own macros on spells' chords: the system's task
// dialog with buttons that say what they do, or a Yes/No/Cancel box where there is none.
std::optional<CuoConflictChoice> AskConflictQuestion(HWND owner, const Utf8& question) {
  using TaskDialogFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
  static const auto taskDialog =
      win::LibraryFunction<TaskDialogFn>("comctl32.dll", "TaskDialogIndirect");
  const std::wstring text = win::Wide(question);
  const std::wstring title = win::Utf8ToWide(kCaption);
  const std::wstring headline = win::Utf8ToWide(kCuoConflictHeadline);
  int pressed = IDCANCEL;
  if (taskDialog) {
    const TASKDIALOG_BUTTON buttons[] = {{kKeepMine, L"&Keep mine"},
                                         {kUseOurs, L"&Use Quillorb's"}};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
    config.pszWindowTitle = title.c_str();
    config.pszMainIcon = TD_WARNING_ICON;
    config.pszMainInstruction = headline.c_str();
    config.pszContent = text.c_str();
    config.cButtons = static_cast<UINT>(std::size(buttons));
    config.pButtons = buttons;
    config.nDefaultButton = kKeepMine;
    if (FAILED(taskDialog(&config, &pressed, nullptr, nullptr))) pressed = IDCANCEL;
  } else {
    const std::wstring box =
        headline + L".\n\n" + text + L"\n\n(Yes: Keep mine. No: Use Quillorb's.)";
    switch (win::ShowMessage(owner, box.c_str(), MB_YESNOCANCEL | MB_ICONWARNING, title.c_str())) {
      case IDYES:
        pressed = kKeepMine;
        break;
      case IDNO:
        pressed = kUseOurs;
        break;
      default:
        break;
    }
  }
  if (pressed == kKeepMine) return CuoConflictChoice::KeepTheirs;
  if (pressed == kUseOurs) return CuoConflictChoice::TakeOurs;
  return std::nullopt;
}

// A folder as typed or pasted: no blanks around, no quotes around (Explorer's "Copy as path").
Path PlainFolder(const Utf8& typed) {
  std::string text = typed.str();
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  while (!text.empty() && blank(text.front())) text.erase(text.begin());
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return Path::FromUtf8(std::move(text));
}

}  // namespace

CuoSpells CuoSpellsOf(const SpellTable& spells) {
  CuoSpells out;
  for (size_t i = 0; i < out.size(); ++i) {
    const TSpell& s = spells[i];
    out[i] = {win::AnsiToUtf8(s.Name).str(),
              win::AnsiToUtf8(KeyText(s.Key)).str(),
              s.Key,
              s.Alt,
              s.Ctrl,
              s.Shift};
  }
  return out;
}

TForm_CuoMacros::TForm_CuoMacros(HWND owner, HFONT font, CuoMacrosRequest request)
    : request_(std::move(request)) {
  CreateModalForm(kCuoMacrosClass, kCaption, owner, kClientWidth, kClientHeight, WS_EX_TOPMOST);
  SetFont(win::DescribeFont(font, win::WindowDpi(owner)));
  Message = [this](const Utf8& text, UINT flags) { return win::ShowMessage(hwnd(), text, flags); };
  AskConflicts = [this](const Utf8& question) { return AskConflictQuestion(hwnd(), question); };
  AskFolder = [this] {
    return win::AskFolder(hwnd(), "The folder of ClassicUO (it holds Data\\Profiles)", Folder());
  };

  // In tab order; each label right before the control it names.
  Label_Folder =
      std::make_unique<win::StaticText>(hwnd(), kIdFolderLabel, 12, 12, 356, 14,
                                        "ClassicUO &folder (the one that holds Data\\Profiles):");
  Edit_Folder = std::make_unique<win::Edit>(hwnd(), kIdFolder, 12, 28, 272, 21, ES_AUTOHSCROLL);
  Button_Browse = std::make_unique<win::Button>(hwnd(), kIdBrowse, 292, 27, 76, 23, "&Browse...");
  Button_Browse->OnClick = [this](win::Button&) { Button_BrowseClick(); };
  Label_List = std::make_unique<win::StaticText>(hwnd(), kIdListLabel, 12, 60, 356, 14,
                                                 "&Character (account / server / character):");
  ListBox_Characters = std::make_unique<win::ListBox>(hwnd(), kIdList, 12, 76, 356, 121);
  Label_Status = std::make_unique<win::StaticText>(hwnd(), kIdStatus, 12, 203, 356, 14, "");
  Button_Write =
      std::make_unique<win::Button>(hwnd(), kIdWrite, 180, 229, 104, 25, "&Write macros");
  Button_Write->Default = true;
  Button_Write->OnClick = [this](win::Button&) { Button_WriteClick(); };
  Button_Close = std::make_unique<win::Button>(hwnd(), IDCANCEL, 292, 229, 76, 25, "Close");
  Button_Close->Cancel = true;
  Button_Close->ModalResult = win::kModalCancel;

  const Path folder = request_.folder.empty() ? RunningClassicUoFolder() : request_.folder;
  Edit_Folder->SetUtf8Text(folder.Text());
  FillCharacters();
  Edit_Folder->OnChange = [this](win::Edit&) { FillCharacters(); };
  win::CenterWindow(hwnd());
}

Path TForm_CuoMacros::Execute() {
  ShowModal();
  return PlainFolder(Edit_Folder->Utf8Text());
}

Path TForm_CuoMacros::Folder() const {
  return PlainFolder(Edit_Folder->Utf8Text()).WithSeparator();
}

void TForm_CuoMacros::FillCharacters() {
  const Path folder = Folder();
  characters_ = folder.empty() ? std::vector<CuoCharacter>{} : ListCuoCharacters(folder);
  OrderCuoCharacters(characters_, request_.character.str());
  ListBox_Characters->Clear();
  for (const CuoCharacter& c : characters_) ListBox_Characters->AddUtf8(Utf8(c.Line()));
  ListBox_Characters->SetItemIndex(characters_.empty() ? -1 : 0);
  Utf8 status;
  if (folder.empty()) {
    status = "Choose the folder of ClassicUO.";
  } else if (!HasCuoProfiles(folder)) {
    status = "This folder holds no Data\\Profiles: choose the folder of ClassicUO.";
  } else if (characters_.empty()) {
    status = "No character has played here yet: log in with it once, then come back.";
  } else {
    status = "The macros go into the chosen character's macros.xml.";
  }
  Label_Status->SetUtf8Text(status);
}

void TForm_CuoMacros::Button_BrowseClick() {
  if (const std::optional<Path> folder = AskFolder()) Edit_Folder->SetUtf8Text(folder->Text());
}

std::optional<Utf8> TForm_CuoMacros::Refusal(const CuoCharacter& character) const {
  const Utf8 name(character.Name());
  if (!IsLoggedInToClassicUo(name)) return std::nullopt;
  return name +
         " is logged in to ClassicUO. ClassicUO writes its own list of macros over the "
         "file when " +
         name +
         " logs out, so anything written now would be lost. Log out (or close "
         "ClassicUO), then write the macros.";
}

void TForm_CuoMacros::Button_WriteClick() {
  const int index = ListBox_Characters->ItemIndex();
  if (index < 0 || static_cast<size_t>(index) >= characters_.size()) {
    Message("Choose the character whose macros are to be written.", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const CuoCharacter character = characters_[static_cast<size_t>(index)];
  const Path path = CuoMacrosPath(Folder(), character);
  const auto refuse = [&](const Utf8& why) {
    Message(why + "\n\nNothing was written.", MB_OK | MB_ICONEXCLAMATION);
  };
  if (const std::optional<Utf8> why = Refusal(character)) return refuse(*why);

  std::string bytes;
  Utf8 error;
  const ReadStatus status = ReadWholeFileRaw(path, bytes, &error);
  if (status == ReadStatus::Failed) return refuse(error);
  const bool exists = status == ReadStatus::Ok;
  const Utf8 unreadable = path.Text() +
                          " cannot be read as ClassicUO reads its macros, so Quillorb leaves it "
                          "as it is.\n";
  XmlElement existing;
  std::string xmlError;  // UTF-8 (win/xml_lite.h)
  if (exists && !win::ParseXml(bytes, existing, xmlError)) {
    return refuse(unreadable + Utf8(xmlError));
  }
  const XmlElement* before = exists ? &existing : nullptr;
  CuoMerge merge = MergeCuoMacros(before, request_.spells, CuoConflictChoice::KeepTheirs);
  if (!merge.error.empty()) return refuse(unreadable + Utf8(merge.error));
  if (!merge.conflicts.empty()) {
    const std::optional<CuoConflictChoice> choice =
        AskConflicts(Utf8(CuoConflictQuestion(merge, request_.spells)));
    if (!choice) return;
    if (*choice == CuoConflictChoice::TakeOurs) {
      merge = MergeCuoMacros(before, request_.spells, CuoConflictChoice::TakeOurs);
    }
  }
  if (merge.changed) {
    win::HourglassScope hourglass;
    std::string written;
    if (!win::SerializeXml(merge.document, written, xmlError)) return refuse(Utf8(xmlError));
    // The question may have taken a while: the client may have logged the character in since.
    if (const std::optional<Utf8> why = Refusal(character)) return refuse(*why);
    // The old file is kept beside the new one; without that copy nothing is replaced, and when
    // the new one cannot be written the copy goes back to what it was.
    const Path backup = CuoMacrosPath(Folder(), character, kCuoMacrosBackupName);
    std::string oldBackup;
    const bool hadBackup = ReadWholeFileRaw(backup, oldBackup) == ReadStatus::Ok;
    if (exists && !ReplaceFileContents(backup, bytes, &error)) {
      return refuse("The macros as they are cannot be kept as " + Utf8(kCuoMacrosBackupName) +
                    ".\n" + error);
    }
    if (!ReplaceFileContents(path, written, &error)) {
      if (exists && hadBackup) ReplaceFileContents(backup, oldBackup);
      if (exists && !hadBackup) RemoveFile(backup);
      return refuse(error);
    }
  }
  Utf8 summary = "The macros of " + Utf8(character.Line()) + ":\n\n" +
                 Utf8(CuoMergeSummary(merge, request_.spells));
  if (merge.changed && exists) {
    summary += "\n\nThe previous file is kept as " + Utf8(kCuoMacrosBackupName) + ".";
  }
  Message(summary, MB_OK | MB_ICONINFORMATION);
}

}  // namespace quillorb
