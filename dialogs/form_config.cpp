#include "dialogs/form_config.h"

#include <functional>

#include "dialogs/classicuo_macros.h"
#include "dialogs/messages.h"
#include "model/client_caption.h"
#include "quillorb_version.h"
#include "model/file_io.h"
#include "win/app.h"
#include "win/dialog_util.h"
#include "win/file_error.h"
#include "win/utf8.h"

namespace quillorb {
namespace {

constexpr int kGridLeft = 4;
constexpr int kGridTop = 28;
constexpr int kGridWidth = 397;
constexpr int kGridHeight = 173;
constexpr int kGridRowHeight = 16;
constexpr int kSpellRows = kSpellCount + 1;

struct Place {
  int left;
  int top;
};
// Price fields and reagent pictures, in reagent order: four columns of two.
constexpr std::array<Place, kReagentCount> kPricePlaces = {
    {{56, 24}, {56, 56}, {144, 24}, {144, 56}, {236, 24}, {236, 56}, {328, 24}, {328, 56}}};
constexpr std::array<Place, kReagentCount> kPicturePlaces = {
    {{18, 24}, {18, 54}, {114, 24}, {114, 54}, {200, 24}, {202, 54}, {294, 24}, {294, 54}}};

std::unique_ptr<win::StringGrid> MakeGrid(std::unique_ptr<win::StringGrid> grid, int rows,
                                          const std::vector<int>& widths, unsigned options,
                                          win::GridScrollBars bars) {
  grid->SetColCount(static_cast<int>(widths.size()));
  grid->SetRowCount(rows);
  grid->SetFixedCols(1);
  grid->SetFixedRows(1);
  grid->SetDefaultRowHeight(kGridRowHeight);
  for (size_t c = 0; c < widths.size(); ++c) grid->SetColWidth(static_cast<int>(c), widths[c]);
  grid->SetOptions(options);
  grid->SetScrollBars(bars);
  return grid;
}

std::unique_ptr<win::StringGrid> NewGrid(win::TabSheet& page, int id) {
  return std::make_unique<win::StringGrid>(page.hwnd(), id, kGridLeft, kGridTop, kGridWidth,
                                           kGridHeight);
}

void WriteGrid(win::StringGrid& grid, const CellTable& cells) {
  for (size_t row = 0; row < cells.size(); ++row) {
    for (size_t col = 0; col < cells[row].size(); ++col) {
      grid.SetCell(static_cast<int>(col), static_cast<int>(row), cells[row][col]);
    }
  }
}

CellTable ReadGrid(const win::StringGrid& grid) {
  CellTable cells(static_cast<size_t>(grid.RowCount()));
  for (int row = 0; row < grid.RowCount(); ++row) {
    auto& line = cells[static_cast<size_t>(row)];
    line.reserve(static_cast<size_t>(grid.ColCount()));
    for (int col = 0; col < grid.ColCount(); ++col) line.push_back(grid.Cell(col, row));
  }
  return cells;
}

// A toggle cell of the current cell: its `on` text when empty, empty otherwise.
void ToggleCurrent(win::StringGrid& grid, const std::string& on) {
  const int col = grid.Col();
  const int row = grid.Row();
  grid.SetCell(col, row, ToggledCell(grid.Cell(col, row), on));
}

// A toggle grid: a double click toggles the data cell under the pointer only (on a header, a
// spell's label or the blank area it does nothing); `keyDown` sees every key.
void WireToggleGrid(win::StringGrid& grid, std::function<void()> toggle,
                    std::function<void(WORD&)> keyDown) {
  grid.OnDblClick = [toggle = std::move(toggle)](win::StringGrid& g) {
    if (g.PressedCurrentCell()) toggle();
  };
  grid.OnKeyDown = [keyDown = std::move(keyDown)](win::StringGrid&, WORD& key, unsigned) {
    keyDown(key);
  };
}

// Return and Space toggle the current cell as a double click does: whether `key` is one of them
// (then it is taken).
bool TakeToggleKey(WORD& key) {
  if (key != VK_RETURN && key != VK_SPACE) return false;
  key = 0;
  return true;
}

// An open in-place editor keeps its text only in itself: close it into its cell first.
void CommitEditor(win::StringGrid& grid) {
  if (grid.EditorMode()) grid.HideEditor();
}

}  // namespace

TForm_Config::TForm_Config(HWND owner, const Resources& resources, const ConfigData& data)
    : ConfigData(data), MacroFolder(win::ProgramDirectory()) {
  CreateModalForm(kConfigDialogClass, "Quillorb - Config", owner, kClientWidth, kClientHeight,
                  WS_EX_TOPMOST);
  SetFont(win::Arial(-11));
  CreateControls();
  win::CenterWindow(hwnd());
  FormCreate(resources);
}

std::optional<ConfigData> TForm_Config::Execute() {
  if (ShowModal() != win::kModalOk) return std::nullopt;
  return static_cast<const ConfigData&>(*this);
}

void TForm_Config::CreateControls() {
  // Windowed controls in tab order: the pages, then OK and Cancel.
  PageControl1 = std::make_unique<win::PageControl>(hwnd(), kIdPageControl1, 4, 8, 413, 253);
  const char* captions[kConfigPageCount] = {"General",           "User List", "Spellbook && Danger",
                                            "Spell Casting",     "Reagents",  "Macro",
                                            "Spell Information", "About"};
  for (int p = 0; p < kConfigPageCount; ++p) {
    TabSheets[static_cast<size_t>(p)] = &PageControl1->AddPage(captions[p]);
  }
  Button1 = std::make_unique<win::Button>(hwnd(), IDOK, 256, 268, 75, 25, "OK");
  // Button1Click ends the dialog, unless it refuses what was typed.
  Button1->OnClick = [this](win::Button&) { Button1Click(); };
  Button2 = std::make_unique<win::Button>(hwnd(), IDCANCEL, 340, 268, 75, 25, "Cancel");
  Button2->ModalResult = win::kModalCancel;
  Button2->Cancel = true;

  // General.
  win::TabSheet& general = *TabSheets[kPageGeneral];
  GroupBox1 = std::make_unique<win::GroupBox>(general, 8, 12, 385, 93, "&Reagent Cost");
  for (int r = 0; r < kReagentCount; ++r) {
    const auto i = static_cast<size_t>(r);
    ReagentImages[i] = std::make_unique<win::Image>(general, kPicturePlaces[i].left,
                                                    kPicturePlaces[i].top, 25, 23);
    auto edit = std::make_unique<TNumEdit>(general.hwnd(), kIdNumEditPriceFirst + r,
                                           kPricePlaces[i].left, kPricePlaces[i].top, 40, 22);
    edit->Max = 20.0;
    // No negative price and none above 20: the field refuses what it would not keep.
    edit->Min = 0.0;
    edit->RefuseAboveMax = true;
    edit->SetNumDecimals(2);
    PriceEdits[i] = std::move(edit);
  }
  CheckBox_OnTop = std::make_unique<win::CheckBox>(general.hwnd(), kIdCheckBoxOnTop, 12, 120, 150,
                                                   17, "&Always On Top");
  // A cast that leaves its spell with fewer casts is told in the game; 0 tells nothing.
  Label_WarnCasts =
      std::make_unique<win::Label>(general, 196, 122, 124, 13, "Warn in the game below");
  NumEdit_WarnCasts =
      std::make_unique<TNumEdit>(general.hwnd(), kIdNumEditWarnCasts, 320, 118, 32, 22);
  NumEdit_WarnCasts->Min = 0;
  NumEdit_WarnCasts->Max = kMaxWarnCasts;
  NumEdit_WarnCasts->RefuseAboveMax = true;
  Label_WarnCastsUnit = std::make_unique<win::Label>(general, 358, 122, 30, 13, "casts");
  // For a client that is neither the classic one nor the open-source one found by its caption.
  Label1 =
      std::make_unique<win::Label>(general, 12, 156, 300, 13, "&Game window caption starts with");
  ComboBox_Caption =
      std::make_unique<win::ComboBox>(general.hwnd(), kIdComboBoxCaption, 12, 172, 385);
  Label1->SetFocusControl(ComboBox_Caption->hwnd());

  PageControl1->OnPageShowing = [this](win::PageControl&, int page) { CreatePage(page); };
}

void TForm_Config::CreatePage(int page) {
  if (page <= kPageGeneral || page >= kConfigPageCount || created_[static_cast<size_t>(page)]) {
    return;
  }
  created_[static_cast<size_t>(page)] = true;
  const unsigned toggles = win::kDefaultGridOptions;
  const unsigned editing = win::kDefaultGridOptions | win::GridEditing;
  switch (page) {
    case kPageUserList: {
      // User List: the spell chooser shares the grid's parent, as the grid lays it over its cells.
      win::TabSheet& user = *TabSheets[kPageUserList];
      Label7 = std::make_unique<win::Label>(user, 8, 8, 380, 13, "Select spells in UserTab.");
      CtrlGrid_User = std::make_unique<TCtrlGrid>(user.hwnd(), kIdCtrlGridUser, kGridLeft, kGridTop,
                                                  kGridWidth, kGridHeight);
      CtrlGrid_User->SetColCount(2);
      CtrlGrid_User->SetRowCount(kUserSlots + 1);
      CtrlGrid_User->SetFixedCols(1);
      CtrlGrid_User->SetFixedRows(1);
      CtrlGrid_User->SetDefaultRowHeight(kGridRowHeight);
      CtrlGrid_User->SetColWidth(0, 40);
      CtrlGrid_User->SetColWidth(1, 336);
      CtrlGrid_User->SetOptions(win::kDefaultGridOptions | win::GridEditing);
      CtrlGrid_User->SetScrollBars(win::GridScrollBars::Vertical);
      ComboBox_Spell = std::make_unique<win::ComboBox>(user.hwnd(), kIdComboBoxSpell, 0, 0, 100,
                                                       CBS_DROPDOWN, 200);
      ComboBox_Spell->SetVisible(false);
      break;
    }
    case kPageSpellbook: {
      // Spellbook && Danger.
      win::TabSheet& book = *TabSheets[kPageSpellbook];
      Label2 = std::make_unique<win::Label>(
          book, 8, 8, 395, 13,
          "Check spells in your spellbook and \"dangerous spells\" (need yes/no dialog)");
      StringGrid_Spellbook = MakeGrid(NewGrid(book, kIdStringGridSpellbook), kSpellRows,
                                      {182, 80, 80}, toggles, win::GridScrollBars::Vertical);
      WireToggleGrid(
          *StringGrid_Spellbook, [this] { StringGrid_SpellbookDblClick(); },
          [this](WORD& key) { StringGrid_SpellbookKeyDown(key); });
      break;
    }
    case kPageCasting: {
      // Spell Casting.
      win::TabSheet& casting = *TabSheets[kPageCasting];
      Label5 = std::make_unique<win::Label>(casting, 8, 8, 150, 13, "Input your own spellcasting");
      CheckBoxEnableSpellCast = std::make_unique<win::CheckBox>(
          casting.hwnd(), kIdCheckBoxEnableSpellCast, 160, 8, 209, 17, "&Enable Spellcasting");
      StringGrid_Casting = MakeGrid(NewGrid(casting, kIdStringGridCasting), kSpellRows, {155, 211},
                                    editing | win::GridTabs, win::GridScrollBars::Both);
      if (castingFont_) StringGrid_Casting->SetFont(castingFont_);
      break;
    }
    case kPageReagents: {
      // Reagents.
      win::TabSheet& reagents = *TabSheets[kPageReagents];
      Label3 = std::make_unique<win::Label>(reagents, 8, 8, 200, 13, "Input reagents of spells");
      StringGrid_Reagent =
          MakeGrid(NewGrid(reagents, kIdStringGridReagent), kSpellRows,
                   {163, 25, 25, 25, 25, 25, 25, 25, 25}, toggles, win::GridScrollBars::Vertical);
      WireToggleGrid(
          *StringGrid_Reagent, [this] { StringGrid_ReagentDblClick(); },
          [this](WORD& key) { StringGrid_ReagentKeyDown(key); });
      break;
    }
    case kPageMacro: {
      // Macro.
      win::TabSheet& macro = *TabSheets[kPageMacro];
      Label4 = std::make_unique<win::Label>(macro, 8, 8, 150, 13, "Input Macro Key of spells");
      StringGrid_Macro = MakeGrid(NewGrid(macro, kIdStringGridMacro), kSpellRows,
                                  {177, 40, 40, 40, 40}, toggles, win::GridScrollBars::Vertical);
      WireToggleGrid(
          *StringGrid_Macro, [this] { StringGrid_MacroDblClick(); },
          [this](WORD& key) { StringGrid_MacroKeyDown(key); });
      Button_ClassicUo = std::make_unique<win::Button>(macro.hwnd(), kIdButtonClassicUo, 164, 4, 84,
                                                       19, "&ClassicUO...");
      Button_ClassicUo->OnClick = [this](win::Button&) { Button_ClassicUoClick(); };
      Button3 = std::make_unique<win::Button>(macro.hwnd(), kIdButton3, 252, 4, 149, 19,
                                              "Generate macro file...");
      Button3->OnClick = [this](win::Button&) { Button3Click(); };
      break;
    }
    case kPageInfo: {
      // Spell Information.
      win::TabSheet& info = *TabSheets[kPageInfo];
      Label6 = std::make_unique<win::Label>(info, 8, 8, 250, 13,
                                            "Input spell information when changed.");
      StringGrid_Info = MakeGrid(NewGrid(info, kIdStringGridInfo), kSpellRows, {32, 146, 132, 55},
                                 editing, win::GridScrollBars::Both);
      break;
    }
    default: {
      // About.
      win::TabSheet& about = *TabSheets[kPageAbout];
      Image1 = std::make_unique<win::Image>(about, 4, 8, 237, 197);
      Memo1 = std::make_unique<win::Edit>(about.hwnd(), kIdMemo1, 248, 8, 153, 197,
                                          ES_MULTILINE | ES_READONLY);
      Memo1->SetColor(GetSysColor(COLOR_BTNFACE));
      Memo1->SetText(
          "Quillorb\r\nversion " QUILLORB_VERSION
          "\r\n\r\nReagent ledger and spell\r\nbar for mages.\r\n\r\n"
          "Written by the Quillorb\r\ndevelopers; pictures by\r\nour own art code.\r\n\r\n"
          "May your reagents never\r\nrun dry!");
      Image1->SetBitmap(MakeAboutPicture(spellAtlas_, 237, 197, Scaling()), false);
      break;
    }
  }
  if (filled_) FillPage(page);
}

void TForm_Config::FormCreate(const Resources& resources) {
  castingFont_ = resources.castingFont;
  // The owner's font, made for the owner's scale, which the dialog opens at.
  if (castingFont_) castingDesc_ = win::DescribeFont(castingFont_, Scaling());
  spellAtlas_ = resources.spellAtlas;
  PageControl1->SetActivePage(kPageGeneral);
  for (int r = 0; r < kReagentCount; ++r) {
    ReagentImages[static_cast<size_t>(r)]->SetBitmap(
        win::CopyBitmap(resources.reagentPictures[static_cast<size_t>(r)]), false);
  }
}

void TForm_Config::DpiChanged() {
  if (castingDesc_) {
    // The owner's font was made for the scale before: the form makes its own, remade from now on.
    castingFont_ = AddFont(*castingDesc_);
    castingDesc_.reset();
    if (StringGrid_Casting) StringGrid_Casting->SetFont(castingFont_);
  }
  if (Image1) Image1->SetBitmap(MakeAboutPicture(spellAtlas_, 237, 197, Scaling()), false);
}

std::vector<std::string> TForm_Config::CaptionList() const {
  std::vector<std::string> items;
  for (int i = 0; i < ComboBox_Caption->Count(); ++i) items.push_back(ComboBox_Caption->Item(i));
  return items;
}

void TForm_Config::SetCaptionList(const std::vector<std::string>& items) {
  const std::string text = ComboBox_Caption->Text();
  ComboBox_Caption->Clear();
  for (const std::string& item : items) ComboBox_Caption->Add(item);
  ComboBox_Caption->SetText(text);
}

void TForm_Config::FillPages() {
  win::HourglassScope hourglass;
  ClientCaptions = DistinctCaptions(ClientCaptions);
  SetCaptionList(ClientCaptions);
  ComboBox_Caption->SetText(ClientCaption);
  CheckBox_OnTop->SetChecked(AlwaysOnTop);
  NumEdit_WarnCasts->SetInteger(WarnCasts);
  for (int k = 0; k < kReagentCount; ++k) {
    PriceEdit(k).SetReal(static_cast<double>(ReagentCost[static_cast<size_t>(k)]));
  }
  texts_ = FillPageTexts(*this);
  filled_ = true;
  for (int page = kPageGeneral + 1; page < kConfigPageCount; ++page) {
    if (created_[static_cast<size_t>(page)]) FillPage(page);
  }
}

void TForm_Config::FillPage(int page) {
  switch (page) {
    case kPageUserList:
      ComboBox_Spell->Clear();
      for (const std::string& label : texts_.SpellLabels) ComboBox_Spell->Add(label);
      CtrlGrid_User->AddControl(1, -1, ComboBox_Spell.get(), "");
      WriteGrid(*CtrlGrid_User, texts_.User);
      break;
    case kPageSpellbook:
      WriteGrid(*StringGrid_Spellbook, texts_.Spellbook);
      break;
    case kPageCasting:
      CheckBoxEnableSpellCast->SetChecked(EnableSpellCasting);
      WriteGrid(*StringGrid_Casting, texts_.Casting);
      break;
    case kPageReagents:
      WriteGrid(*StringGrid_Reagent, texts_.Reagent);
      break;
    case kPageMacro:
      WriteGrid(*StringGrid_Macro, texts_.Macro);
      break;
    case kPageInfo:
      WriteGrid(*StringGrid_Info, texts_.Info);
      break;
    default:
      break;
  }
}

ConfigPageTexts TForm_Config::PageTexts() const {
  // A page never shown holds the texts it was filled with.
  ConfigPageTexts texts = texts_;
  if (CtrlGrid_User) texts.User = ReadGrid(*CtrlGrid_User);
  if (StringGrid_Spellbook) texts.Spellbook = ReadGrid(*StringGrid_Spellbook);
  if (StringGrid_Casting) texts.Casting = ReadGrid(*StringGrid_Casting);
  if (StringGrid_Reagent) texts.Reagent = ReadGrid(*StringGrid_Reagent);
  if (StringGrid_Macro) texts.Macro = ReadGrid(*StringGrid_Macro);
  if (StringGrid_Info) texts.Info = ReadGrid(*StringGrid_Info);
  return texts;
}

void TForm_Config::ApplyPages() {
  // The hourglass stays: the callers restore the cursor.
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  if (StringGrid_Info) CommitEditor(*StringGrid_Info);
  if (StringGrid_Casting) CommitEditor(*StringGrid_Casting);
  ClientCaption = ComboBox_Caption->Text();
  AlwaysOnTop = CheckBox_OnTop->Checked();
  WarnCasts = NumEdit_WarnCasts->Integer();
  if (CheckBoxEnableSpellCast) EnableSpellCasting = CheckBoxEnableSpellCast->Checked();
  for (int k = 0; k < kReagentCount; ++k) {
    ReagentCost[static_cast<size_t>(k)] = static_cast<float>(PriceEdit(k).Real());
  }
  ApplyPageTexts(PageTexts(), *this);
}

Utf8 TForm_Config::CaptionRefusal() const {
  const std::wstring typed = win::WindowTextW(ComboBox_Caption->hwnd());
  const Utf8 quoted = "\"" + win::Utf8FromWide(typed) + "\"";
  const std::optional<std::string> caption = win::WideToAnsi(typed);
  if (!caption) {
    return quoted +
           " has letters outside the system's code page, which the character's profile cannot "
           "hold. Type the start of the game window's caption without them.";
  }
  switch (JudgeClientCaption(*caption)) {
    case ClientCaptionUse::TooShort:
      return quoted + " is too short to name a game client: the spells' keys go to the window " +
             "whose caption starts with it, and so short a start is shared by the windows of " +
             "other programs. Type at least " + Utf8(std::to_string(kMinClientCaptionLetters)) +
             " letters or digits of your client's caption.";
    case ClientCaptionUse::ClassicStart:
      return quoted + " is how the classic client's caption starts, and a web page about the " +
             "game can start the same way. The classic client is found without a caption; for " +
             "another client, type the start of its own caption.";
    case ClientCaptionUse::Assistant:
      return quoted + " is the assistant program's caption, and the assistant is never the " +
             "game. Type the start of your game client's caption.";
    case ClientCaptionUse::None:
    case ClientCaptionUse::Searched:
      break;
  }
  return {};
}

void TForm_Config::Button1Click() {
  if (const Utf8 refusal = CaptionRefusal(); !refusal.empty()) {
    PageControl1->SetActivePage(kPageGeneral);
    win::ShowMessage(hwnd(), refusal, MB_OK | MB_ICONWARNING);
    ComboBox_Caption->SetFocus();
    SendMessageA(ComboBox_Caption->hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    return;
  }
  {
    win::HourglassScope hourglass;
    ApplyPages();
  }
  const std::vector<std::string> before = ClientCaptions;
  UpdateCaptionList(ClientCaptions, ClientCaption);
  if (ClientCaptions != before) SetCaptionList(ClientCaptions);
  SetModalResult(win::kModalOk);
}

void TForm_Config::Button3Click() {
  if (win::ShowMessage(hwnd(), "Generate Macro file from current settings?", MB_OKCANCEL) != IDOK) {
    return;
  }
  const Path path = MacroFilePath();
  {
    win::HourglassScope hourglass;
    ApplyPages();
    // A file the player made read-only is refused by ReplaceFileContents and stays as it is.
    Utf8 error;
    if (!ReplaceFileContents(path, MacroFileText(Spells), &error)) {
      // Nothing was written: the old file (if any) stands as it was.
      win::ShowFileError(kMacroFileError, error);
      return;
    }
  }
  win::ShowMessage(hwnd(), path.Text(), MB_ICONINFORMATION | MB_OK, "Macro file is created.");
}

void TForm_Config::Button_ClassicUoClick() {
  CuoMacrosRequest request;
  {
    win::HourglassScope hourglass;
    ApplyPages();
    request = {PathFromAnsi(ClassicUOFolder), win::AnsiToUtf8(Character), CuoSpellsOf(Spells)};
  }
  TForm_CuoMacros dialog(hwnd(), Font(), std::move(request));
  const Path folder = dialog.Execute();
  // The profile holds the folder in the ANSI code page: one it cannot spell is not kept.
  if (const std::optional<std::string> ansi = win::WideToAnsi(win::Wide(folder))) {
    ClassicUOFolder = *ansi;
  } else {
    win::ShowMessage(hwnd(), kClassicUoFolderNotKept + folder.Text(), MB_OK | MB_ICONINFORMATION);
  }
}

void TForm_Config::StringGrid_SpellbookDblClick() {
  win::StringGrid& grid = *StringGrid_Spellbook;
  if (grid.Col() == 1) ToggleCurrent(grid, "BOOK");
  if (grid.Col() == 2) ToggleCurrent(grid, "DANGER");
}

void TForm_Config::StringGrid_SpellbookKeyDown(WORD& key) {
  if (TakeToggleKey(key)) StringGrid_SpellbookDblClick();
}

void TForm_Config::StringGrid_ReagentDblClick() {
  win::StringGrid& grid = *StringGrid_Reagent;
  if (grid.Col() < 1) return;
  ToggleCurrent(grid, grid.Cell(grid.Col(), 0));
}

void TForm_Config::StringGrid_ReagentKeyDown(WORD& key) {
  if (TakeToggleKey(key)) StringGrid_ReagentDblClick();
}

void TForm_Config::StringGrid_MacroDblClick() {
  win::StringGrid& grid = *StringGrid_Macro;
  if (grid.Col() < 1 || grid.Col() > 3) return;  // the KEY column captures keys instead
  ToggleCurrent(grid, grid.Cell(grid.Col(), 0));
}

void TForm_Config::StringGrid_MacroKeyDown(WORD& key) {
  win::StringGrid& grid = *StringGrid_Macro;
  if (TakeToggleKey(key)) {
    StringGrid_MacroDblClick();
    return;
  }
  if (grid.Col() != 4) return;
  const unsigned mapped = MapVirtualKeyA(key, MAPVK_VK_TO_CHAR);
  // A key that writes the cell is taken (with Alt held, its character would ask for a menu);
  // any other key still moves the selection as usual.
  if (const std::optional<std::string> text = CapturedKeyText(key, mapped)) {
    grid.SetCell(grid.Col(), grid.Row(), *text);
    key = 0;
  }
}

}  // namespace quillorb
