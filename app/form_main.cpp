#include "app/form_main.h"

#include <algorithm>
#include <optional>

#include "app/art.h"
#include "app/spell_art.h"
#include "client/assistant_session.h"
#include "client/window_link.h"
#include "dialogs/bank_dialog.h"
#include "dialogs/chr_list.h"
#include "dialogs/messages.h"
#include "dialogs/statistic.h"
#include "dialogs/form_config.h"
#include "model/catalogue.h"
#include "model/characters.h"
#include "model/file_io.h"
#include "model/text.h"
#include "win/app.h"
#include "win/bitmap.h"
#include "win/dialog_util.h"
#include "win/file_error.h"
#include "win/screen_place.h"

namespace quillorb {

TForm_Main* Form_Main = nullptr;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kLime = RGB(0, 255, 0);
constexpr COLORREF kAqua = RGB(0, 255, 255);
// Posted to itself behind a burst of the assistant's reports: the counters show their values.
constexpr UINT kRefreshCountersMessage = WM_APP + 1;

struct Place {
  int left;
  int top;
};
// Reagent pictures and counters, in reagent order BP BM GL GS MR NS SA SS.
constexpr std::array<Place, kReagentCount> kImagePlaces = {
    {{4, -4}, {2, 18}, {64, -4}, {64, 18}, {126, -2}, {126, 18}, {188, -4}, {188, 18}}};
constexpr std::array<Place, kReagentCount> kCounterPlaces = {
    {{30, 0}, {30, 20}, {92, 0}, {92, 20}, {154, 0}, {154, 20}, {216, 0}, {216, 20}}};
constexpr int kCell = 40;  // a spell icon is 40 x 40

// `path` in UTF-8, as the file layer takes it.
void ShowFileError(const wchar_t* pattern, const std::string& path) {
  win::ShowErrorBox(FormatWithFile(pattern, win::FileText(path)));
}

}  // namespace

TForm_Main::TForm_Main() = default;

TForm_Main::~TForm_Main() {
  if (Form_Main == this) Form_Main = nullptr;
  if (hostInstalled_) InstallCastHost(nullptr);
}

void TForm_Main::Create() {
  programDir_ = win::ProgramDirectory();
  decimalSeparator_ = win::UserDecimalSeparator();
  icon_ = MakeWindowIcon();
  CreateForm("TForm_Main", "Quillorb",
             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
             WS_EX_TOPMOST | WS_EX_CONTROLPARENT, CW_USEDEFAULT, CW_USEDEFAULT, kClientWidth,
             kClientHeight, icon_.get());
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
  SetFont(win::ArialFont(-11));
  CreateControls();
  InstallCastHost(this);
  hostInstalled_ = true;
  FormCreate();
}

void TForm_Main::CreateControls() {
  // Graphic controls, bottom to top: the icon strip, the casts-left labels over it, and the eight
  // slot areas over both, which take the mouse (a click on a label is a click on its slot).
  PaintBox1 = std::make_unique<win::PaintBox>(*this, 270, 0, 320, 40);
  PaintBox1->OnPaint = [this](win::PaintBox&, HDC dc) { PaintBox1Paint(dc); };
  for (int tag = 0; tag < 8; ++tag) {
    auto label = std::make_unique<win::Label>(*this, 295 + kCell * tag, 25, 12, 14, "25");
    label->Tag = tag;
    label->SetColor(kLime);
    label->SetAlignment(win::Label::Align::Right);
    label->SetAutoSize(true);
    SlotLabels[static_cast<size_t>(tag)] = std::move(label);
  }
  for (int tag = 0; tag < 8; ++tag) {
    auto box = std::make_unique<win::PaintBox>(*this, 270 + kCell * tag, 0, kCell, kCell);
    box->Tag = tag;
    box->OnClick = [this](win::GraphicControl& sender) { PaintBox2Click(sender); };
    box->OnDblClick = [this](win::GraphicControl& sender) { PaintBox2DblClick(sender); };
    box->OnMouseDown = [this](win::GraphicControl& sender, const win::MouseEvent& e) {
      PaintBox2MouseDown(sender, e);
    };
    box->OnMouseMove = [this](win::GraphicControl& sender, int, int, WPARAM) {
      PaintBox2MouseMove(sender);
    };
    SlotBoxes[static_cast<size_t>(tag)] = std::move(box);
  }
  for (int r = 0; r < kReagentCount; ++r) {
    const Place& at = kImagePlaces[static_cast<size_t>(r)];
    auto image = std::make_unique<win::Image>(*this, at.left, at.top, ReagentIconList::kWidth,
                                              ReagentIconList::kHeight);
    image->Tag = r;
    image->OnMouseDown = [this](win::GraphicControl& sender, const win::MouseEvent& e) {
      ReagentImageMouseDown(sender, e);
    };
    ReagentImages[static_cast<size_t>(r)] = std::move(image);
  }

  auto button = [this](int left, int top, const char* hint, Glyph glyph) {
    auto b = std::make_unique<win::SpeedButton>(*this, left, top, 22, 20);
    b->SetGlyph(MakeGlyph(glyph));
    b->SetHint(hint);
    return b;
  };
  SpeedButton_Count = button(244, 0, "Count", Glyph::Count);
  SpeedButton_Count->OnClick = [this](win::GraphicControl&) { SpeedButton_CountClick(); };
  SpeedButton_bank = button(244, 20, "Bank", Glyph::Bank);
  SpeedButton_Config = button(594, 0, "Configuration", Glyph::Config);
  SpeedButton_Config->OnClick = [this](win::GraphicControl&) { SpeedButton_ConfigClick(); };
  SpeedButton_Undo = button(594, 20, "Undo", Glyph::Undo);
  SpeedButton_Undo->OnClick = [this](win::GraphicControl&) { SpeedButton_UndoClick(); };
  SpeedButton_Inscription = button(594, 40, "Inscription", Glyph::Inscription);
  SpeedButton_Inscription->SetGroupIndex(1, true);
  SpeedButton_Save = button(616, 0, "Select Character", Glyph::SelectCharacter);
  SpeedButton_Graph = button(616, 20, "Analysis", Glyph::Analysis);
  SpeedButton_bank->OnClick = [this](win::GraphicControl&) { SpeedButton_bankClick(); };
  SpeedButton_Save->OnClick = [this](win::GraphicControl&) { SpeedButton_SaveClick(); };
  SpeedButton_Graph->OnClick = [this](win::GraphicControl&) { SpeedButton_GraphClick(); };
  SpeedButton_Casting = button(616, 40, "Original Rune Casting", Glyph::RuneCasting);
  SpeedButton_Casting->SetGroupIndex(2, true);

  Label_ConfigDialogFont = std::make_unique<win::Label>(*this, 280, 16, 0, 0, "");
  Label_ConfigDialogFont->SetVisible(false);

  // Windowed controls, in tab order.
  Panel1 = std::make_unique<win::Panel>(hwnd(), kIdPanel1, 0, 42, 267, 18, " Spell Information...");
  Panel1->SetOuterBevel(win::Panel::Bevel::Lowered);
  TabSet1 = std::make_unique<win::TabSet>(hwnd(), kIdTabSet1, 270, 40, 320, 19);
  SendMessageA(TabSet1->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  SendMessageA(Panel1->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  TabSet1->SetMetrics(18, 2, 0);
  TabSet1->SetTabs({"  A  ", "  B  ", "  C  ", "  D  ", "  1 ", "  2 ", "  3 ", "  4 ", "  5 ",
                    "  6 ", "  7 ", "  8 "});
  TabSet1->SetTabIndex(0);
  TabSet1->OnClick = [this](win::TabSet&) { TabSet1Click(); };
  for (int r = 0; r < kReagentCount; ++r) {
    const Place& at = kCounterPlaces[static_cast<size_t>(r)];
    auto edit = std::make_unique<TNumEdit>(hwnd(), kIdNumEditFirst + r, at.left, at.top, 25, 19);
    edit->Max = 999;
    edit->Min = -TNumEdit::kDefaultMax;
    edit->EnableNegative = false;
    edit->EnterKeyToExit = true;
    edit->OnChange = [this](win::Edit&) { NumEdit_GLChange(); };
    edit->OnEnter = [this](win::Edit&) { NumEdit_BPEnter(); };
    Counters[static_cast<size_t>(r)] = std::move(edit);
  }

  // The atlases start empty: each icon is drawn when a page that shows it is first composed, so
  // that the window shows after drawing the eight icons of its first page, not all 64.
  ImageSrc1 = win::CreateDib32(kSpellAtlasSize, kSpellAtlasSize);
  ImageSrc2 = win::CreateDib32(kSpellAtlasSize, kSpellAtlasSize);
  ImageSrcDrawn.reset();
  ImageList_Reagent = std::make_unique<ReagentIconList>();

  Timer1 = std::make_unique<win::Timer>(*this, 5000, true);
  Timer1->OnTimer = [this](win::Timer&) { Timer1Timer(); };
  Timer_CountReagent = std::make_unique<win::Timer>(*this, 5000, false);
  Timer_CountReagent->OnTimer = [this](win::Timer&) { Timer_CountReagentTimer(); };
}

// ------------------------------------------------------------------ start-up and shutdown

void TForm_Main::FormCreate() {
  CountersUpdating = false;
  SpeedButton_Casting->SetDown(true);
  AdjustRegsInBackpack = 30;
  if ((GetUserDefaultLangID() & 0x3FF) == LANG_JAPANESE) {
    // The Shift-JIS face "MS P Gothic" at 9 point, for the dialogs that show Japanese text.
    configDialogFont_ = win::MakeFont({.face = L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF",
                                       .height = -MulDiv(9, 96, 72),
                                       .charset = SHIFTJIS_CHARSET});
    Label_ConfigDialogFont->SetFont(configDialogFont_.get());
  }
  ClientCaptions.assign(kCaptionSlots, std::string());
  ReagentUsed.fill(0);
  for (int p = kUserPages; p < kTabPages; ++p) {
    for (int s = 0; s < kSlotsPerPage; ++s) {
      SpellSlot[static_cast<size_t>(p)][static_cast<size_t>(s)] = (p - kUserPages) * 8 + s;
    }
  }
  UndoSpell = -1;
  UndoLastWasCast = false;

  // A save killed mid-write leaves its temporary file; nobody else saves in this folder now.
  RemoveStaleTemporaryFiles(programDir_);
  {
    // A users.ini that exists but cannot be read, or that names a character whose name cannot be
    // part of a file name, is reported once and left as it is at shutdown (a refused name only
    // until the player chooses a character).
    const std::string usersFile = UsersFileName(programDir_);
    IniDocument users;
    std::string bytes;
    std::string error;
    const ReadStatus status = ReadWholeFile(usersFile, bytes, &error);
    if (status == ReadStatus::Ok) users = IniDocument(bytes);
    if (status == ReadStatus::Failed) {
      keepUsersFile_ = true;
      win::ShowFileError(kUsersReadError, error);
    }
    CurrentUser = ReadLastUser(users);
    if (!IsPlainCharacterName(CurrentUser,
                              [](unsigned char c) { return IsDBCSLeadByte(c) != FALSE; })) {
      lastUserRefused_ = true;
      ShowFileError(kRefusedNameError, win::AnsiToUtf8(CurrentUser));
      CurrentUser.clear();
    }
  }
  SetUser(CurrentUser);
  // Left untouched until a page is composed into it: no memory is taken for pages never shown.
  BarBitmap = win::CreateDib32(320, 40 * kTabPages);
  for (int i = 0; i < kReagentCount; ++i) DrawReagentIcon(ReagentImage(i), i);
  LinkAssistant();
  LoadProfile();
  BuildSpellBar();
  WriteCounters();
}

void TForm_Main::Show(int showCommand) {
  ShowWindow(hwnd(), showCommand);
  UpdateWindow(hwnd());
  FormShow();
}

void TForm_Main::FormShow() {
  ApplyTopmost();
}

void TForm_Main::ApplyTopmost() {
  SetWindowPos(hwnd(), AlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE);
}

void TForm_Main::SetUser(const std::string& name) {
  CurrentUser = name;
  ProfileFileName = quillorb::ProfileFileName(programDir_, win::AnsiToUtf8(name));
  SpellFileName = quillorb::SpellFileName(programDir_);
  const std::string title = name.empty() ? "Quillorb" : "Quillorb - " + name;
  SetText(title);
  win::SetApplicationTitle(title);
}

void TForm_Main::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  UnlinkAssistant();
  SaveAtShutdown();
  BarBitmap.reset();
  ClientCaptions.clear();
}

// ------------------------------------------------------------------ profile

void TForm_Main::LoadProfile() {
  std::string error;
  // Spells that could not be saved are kept: the file holds an older state of them.
  if (!catalogueUnsaved_) {
    catalogueUnreadable_ =
        ReadCatalogue(SpellFileName, Spells, &error) == CatalogueRead::Unreadable;
    // Reported; the profile itself is still loaded, so nothing of it is lost at the next save.
    if (catalogueUnreadable_) win::ShowFileError(kCatalogueReadError, error);
  }
  IniDocument ini;
  std::string bytes;
  const ReadStatus status = ReadWholeFile(ProfileFileName, bytes, &error);
  if (status == ReadStatus::Ok) ini = IniDocument(bytes);
  // A profile that exists but cannot be read (locked by another program, say) is reported; the
  // defaults are used, and the file is not overwritten with them at the next save.
  profileUnreadable_ = status == ReadStatus::Failed;
  if (profileUnreadable_) win::ShowFileError(kProfileReadError, error);

  ProfileSettings s;
  ReadProfile(ini, s, Spells, decimalSeparator_);
  BackpackReagent = s.BackpackReagent;
  BankReagent = s.BankReagent;
  ReagentUsed = s.ReagentUsed;
  ReagentCost = s.ReagentCost;
  AdjustRegsInBackpack = s.AdjustRegsInBackpack;
  SpeedButton_Casting->SetDown(s.EnableSpellCasting);
  for (int p = 0; p < kUserPages; ++p)
    SpellSlot[static_cast<size_t>(p)] = s.UserSpell[static_cast<size_t>(p)];
  AlwaysOnTop = s.AlwaysOnTop;
  SpeedButton_Inscription->SetDown(s.Inscription);
  const POINT at = win::TopLeftOnAMonitor(hwnd(), s.Left, s.Top);
  SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ClientCaption = s.ClientCaption;
  ClientCaptions.assign(s.ClientCaptions.begin(), s.ClientCaptions.end());
}

POINT TForm_Main::WindowTopLeft() const {
  // A minimized window reports a parking position far off the screen: keep the normal one.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (IsIconic(hwnd()) && GetWindowPlacement(hwnd(), &placement)) {
    return POINT{placement.rcNormalPosition.left, placement.rcNormalPosition.top};
  }
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return POINT{r.left, r.top};
}

ProfileSettings TForm_Main::CurrentSettings() const {
  ProfileSettings s;
  s.BackpackReagent = BackpackReagent;
  s.BankReagent = BankReagent;
  s.ReagentCost = ReagentCost;
  s.ReagentUsed = ReagentUsed;
  s.AdjustRegsInBackpack = AdjustRegsInBackpack;
  for (int p = 0; p < kUserPages; ++p)
    s.UserSpell[static_cast<size_t>(p)] = SpellSlot[static_cast<size_t>(p)];
  s.AlwaysOnTop = AlwaysOnTop;
  s.EnableSpellCasting = SpeedButton_Casting->Down();
  s.Inscription = SpeedButton_Inscription->Down();
  POINT topLeft = WindowTopLeft();
  s.Top = topLeft.y;
  s.Left = topLeft.x;
  s.ClientCaption = ClientCaption;
  for (size_t k = 0; k < s.ClientCaptions.size(); ++k) {
    s.ClientCaptions[k] = k < ClientCaptions.size() ? ClientCaptions[k] : std::string();
  }
  return s;
}

// ------------------------------------------------------------------ focus timer

void TForm_Main::Timer1Timer() {
  HWND focused = GetFocus();
  if (focused && IsChild(hwnd(), focused)) {
    DWORD start = 0;
    SendMessageA(focused, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    SendMessageA(focused, EM_SETSEL, start, static_cast<LPARAM>(start));
  }
  Timer1->SetEnabled(false);
}

void TForm_Main::NumEdit_BPEnter() {
  Timer1->SetEnabled(false);
  Timer1->SetEnabled(true);
}

// ------------------------------------------------------------------ ledger on screen

void TForm_Main::ReadCounters() {
  for (int r = 0; r < kReagentCount; ++r) {
    BackpackReagent[static_cast<size_t>(r)] = NumEdit(r).Integer();
  }
}

namespace {

// Whether the counter's value is `value` as the counter clamps it.
bool Holds(const TNumEdit& counter, int32_t value) {
  return counter.Integer() == std::clamp(value, 0, static_cast<int32_t>(counter.Max));
}

}  // namespace

void TForm_Main::WriteCounters() {
  CountersUpdating = true;
  for (int r = 0; r < kReagentCount; ++r) {
    TNumEdit& counter = NumEdit(r);
    const int32_t value = BackpackReagent[static_cast<size_t>(r)];
    // A counter that shows the number already keeps its text: each replacement costs several
    // messages to the edit, and an assistant's report changes one counter of the eight.
    if (!counter.Editing() && Holds(counter, value)) {
      counter.FlushText();
      continue;
    }
    counter.SetInteger(value);
  }
  CountersUpdating = false;
  RefreshSlotLabels();
}

void TForm_Main::WriteReportedCounters() {
  // A burst of reports (a recount, or anything flooding the window) would replace texts and
  // labels for every report, a few hundred microseconds each under Wine; they are replaced once
  // after the burst instead, by a message queued behind it. A full queue refuses that message:
  // then they are replaced now.
  if (!CountersRefreshPosted && (HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE)) {
    CountersRefreshPosted = PostMessageA(hwnd(), kRefreshCountersMessage, 0, 0) != FALSE;
  }
  if (!CountersRefreshPosted) {
    WriteCounters();
    return;
  }
  for (int r = 0; r < kReagentCount; ++r) {
    TNumEdit& counter = NumEdit(r);
    const int32_t value = BackpackReagent[static_cast<size_t>(r)];
    if (counter.Editing()) {
      counter.SetInteger(value);  // the player sees what is typed over
    } else if (!Holds(counter, value)) {
      counter.SetIntegerLater(value);
    }
  }
}

void TForm_Main::RefreshSlotLabels() {
  if (CountersUpdating) return;
  ReadCounters();
  for (int slot = 0; slot < 8; ++slot) UpdateSlotLabel(Label(slot), slot);
  SpeedButton_Undo->SetEnabled(UndoSpell != -1);
}

void TForm_Main::UpdateSlotLabel(win::Label& label, int slot) {
  const int32_t index = SpellSlot[static_cast<size_t>(CurrentPage())][static_cast<size_t>(slot)];
  const TSpell& spell = Spells[static_cast<size_t>(index)];
  const int32_t n = spell.CastsLeft(BackpackReagent);
  if (ParseInt(label.Caption()) == n) return;
  label.SetCaption(" " + std::to_string(n));
  label.SetColor(n == 0 ? kRed : n <= 5 ? kYellow : kLime);
}

void TForm_Main::NumEdit_GLChange() {
  RefreshSlotLabels();
}

// ------------------------------------------------------------------ spell bar and strip

// The bar is composed page by page: BuildSpellBar composes the page shown and leaves the others
// to their first showing (PaintBox1Paint). Each page comes out as if all twelve were composed at
// once: a circle page is the atlas row with the spells not in the book greyed, a user page shows
// each of its spells as the spell's circle page does.
void TForm_Main::BuildSpellBar() {
  BarPagesComposed.reset();
  ComposeBarPage(CurrentPage());
}

void TForm_Main::ComposeBarPage(int page) {
  if (!BarBitmap || !ImageSrc1 || !ImageSrc2 || page < 0 || page >= kTabPages) return;
  if (BarPagesComposed[static_cast<size_t>(page)]) return;
  std::array<int32_t, kSlotsPerPage> spells{};
  for (int s = 0; s < kSlotsPerPage; ++s) {
    spells[static_cast<size_t>(s)] =
        page < kUserPages ? SpellSlot[static_cast<size_t>(page)][static_cast<size_t>(s)]
                          : (page - kUserPages) * 8 + s;
  }
  for (int32_t i : spells) {
    if (i < 0 || i >= kSpellCount || ImageSrcDrawn[static_cast<size_t>(i)]) continue;
    if (DrawSpellIconInto(ImageSrc1.get(), ImageSrc2.get(), i)) {
      ImageSrcDrawn.set(static_cast<size_t>(i));
    }
  }
  win::MemoryDc bar(CreateCompatibleDC(nullptr));
  win::MemoryDc normal(CreateCompatibleDC(nullptr));
  win::MemoryDc greyed(CreateCompatibleDC(nullptr));
  win::SelectScope selectBar(bar.get(), BarBitmap.get());
  win::SelectScope selectNormal(normal.get(), ImageSrc1.get());
  win::SelectScope selectGreyed(greyed.get(), ImageSrc2.get());
  for (int s = 0; s < kSlotsPerPage; ++s) {
    const int32_t i = spells[static_cast<size_t>(s)];
    if (i < 0 || i >= kSpellCount) {
      const RECT cell{kCell * s, kCell * page, kCell * (s + 1), kCell * (page + 1)};
      FillRect(bar.get(), &cell, GetSysColorBrush(COLOR_BTNSHADOW));
      continue;
    }
    HDC source = Spells[static_cast<size_t>(i)].InSpellBook ? normal.get() : greyed.get();
    BitBlt(bar.get(), kCell * s, kCell * page, kCell, kCell, source, kCell * (i % 8),
           kCell * (i / 8), SRCCOPY);
  }
  BarPagesComposed.set(static_cast<size_t>(page));
}

int32_t TForm_Main::SlotSpell(int slot) const {
  return SpellSlot[static_cast<size_t>(CurrentPage())][static_cast<size_t>(slot)];
}

void TForm_Main::CastSlot(int slot) {
  const int32_t i = SlotSpell(slot);
  TSpell& spell = Spells[static_cast<size_t>(i)];
  if (!spell.InSpellBook) return;
  ReadCounters();
  const CastMode mode = SpeedButton_Inscription->Down() ? CastMode::BookOnly : CastMode::IntoGame;
  if (!spell.Cast(mode, BackpackReagent, ReagentUsed)) return;
  UndoSpell = i;
  UndoLastWasCast = true;
  WriteCounters();
}

void TForm_Main::PaintBox2Click(win::GraphicControl& sender) {
  CastSlot(sender.Tag);
}

void TForm_Main::PaintBox2MouseDown(win::GraphicControl& sender, const win::MouseEvent& e) {
  if (e.button != win::MouseButton::Right) return;
  ReadCounters();
  const int32_t i = SlotSpell(sender.Tag);
  TSpell& spell = Spells[static_cast<size_t>(i)];
  if (spell.InSpellBook) {
    spell.Undo(BackpackReagent, ReagentUsed);
    UndoSpell = i;
    UndoLastWasCast = false;
  }
  WriteCounters();
}

void TForm_Main::PaintBox2MouseMove(win::GraphicControl& sender) {
  if (panelNoticeAt_) {
    // A mouse-move message without a move (after an activation, say) keeps the notice.
    POINT at{};
    GetCursorPos(&at);
    if (at.x == panelNoticeAt_->x && at.y == panelNoticeAt_->y) return;
    panelNoticeAt_.reset();
  }
  ShowSpellInfo(sender.Tag);
}

void TForm_Main::PaintBox2DblClick(win::GraphicControl&) {
  if (HWND client = FindClientWindow(GameWindowSearch())) SetForegroundWindow(client);
}

void TForm_Main::ShowSpellInfo(int slot) {
  const TSpell& spell = Spells[static_cast<size_t>(SlotSpell(slot))];
  Panel1->SetCaption(" " + spell.GetInfo(ReagentCost, decimalSeparator_));
  for (int r = 0; r < kReagentCount; ++r) {
    const bool needed = spell.Reagent[static_cast<size_t>(r)] != 0;
    NumEdit(r).SetColor(needed ? kAqua : GetSysColor(COLOR_WINDOW));
  }
}

void TForm_Main::SpeedButton_UndoClick() {
  if (UndoSpell == -1) return;
  ReadCounters();
  TSpell& spell = Spells[static_cast<size_t>(UndoSpell)];
  if (UndoLastWasCast) {
    spell.Undo(BackpackReagent, ReagentUsed);
  } else {
    spell.Cast(CastMode::BookOnly, BackpackReagent, ReagentUsed);
  }
  UndoLastWasCast = !UndoLastWasCast;
  WriteCounters();
}

void TForm_Main::SpeedButton_ConfigClick() {
  std::optional<win::HourglassScope> hourglass(std::in_place);
  {
    TForm_Config::Resources resources;
    resources.castingFont = ConfigDialogFont();
    for (int r = 0; r < kReagentCount; ++r) {
      resources.reagentPictures[static_cast<size_t>(r)] = ReagentImage(r).BitmapHandle();
    }
    // The icons are drawn as pages first show them: the About picture's may not be yet.
    for (int i : kAboutSpells) {
      if (!ImageSrcDrawn[static_cast<size_t>(i)] &&
          DrawSpellIconInto(ImageSrc1.get(), ImageSrc2.get(), i)) {
        ImageSrcDrawn.set(static_cast<size_t>(i));
      }
    }
    resources.spellAtlas = ImageSrc1.get();
    ConfigData data;
    data.ReagentCost = ReagentCost;
    std::copy_n(SpellSlot.begin(), kUserPages, data.UserSlot.begin());
    data.Spells = Spells;
    data.ClientCaption = ClientCaption;
    data.ClientCaptions = ClientCaptions;
    data.AlwaysOnTop = AlwaysOnTop;
    data.EnableSpellCasting = SpeedButton_Casting->Down();
    TForm_Config dialog(hwnd(), resources, data);
    hourglass.reset();
    if (const std::optional<ConfigData> result = dialog.Execute()) {
      hourglass.emplace();
      ReagentCost = result->ReagentCost;
      std::copy(result->UserSlot.begin(), result->UserSlot.end(), SpellSlot.begin());
      // The cast counts stay the ledger's: casts booked while the dialog was open stay booked.
      for (int i = 0; i < kSpellCount; ++i) {
        Spells[static_cast<size_t>(i)].AssignSettings(result->Spells[static_cast<size_t>(i)]);
      }
      ClientCaption = result->ClientCaption;
      ClientCaptions = result->ClientCaptions;
      AlwaysOnTop = result->AlwaysOnTop;
      SpeedButton_Casting->SetDown(result->EnableSpellCasting);
      BuildSpellBar();
      PaintBox1->Repaint();
      RefreshSlotLabels();
      Panel1->SetCaption(" Spell Information...");
    }
  }  // the dialog is destroyed, whatever its result
  hourglass.reset();
  ApplyTopmost();
}

void TForm_Main::ReagentImageMouseDown(win::GraphicControl& sender, const win::MouseEvent& e) {
  TNumEdit& counter = NumEdit(sender.Tag);
  const int32_t step = e.button == win::MouseButton::Left ? 1 : -1;
  // The counter clamps to 0..999; its change handler refreshes the ledger.
  counter.SetInteger(counter.Integer() + step);
}

void TForm_Main::PaintBox1Paint(HDC dc) {
  if (!BarBitmap) return;
  ComposeBarPage(CurrentPage());
  win::MemoryDc source(CreateCompatibleDC(dc));
  win::SelectScope select(source.get(), BarBitmap.get());
  BitBlt(dc, 0, 0, 320, kCell, source.get(), 0, kCell * CurrentPage(), SRCCOPY);
}

void TForm_Main::TabSet1Click() {
  PaintBox1->Repaint();
  RefreshSlotLabels();
}

void TForm_Main::DrawReagentIcon(win::Image& image, int index) {
  // The button face, with icon `index` of the image list drawn transparently on it.
  win::Bitmap picture = win::CreateFilledBitmap(ReagentIconList::kWidth, ReagentIconList::kHeight,
                                                GetSysColor(COLOR_BTNFACE));
  {
    win::MemoryDc dc(CreateCompatibleDC(nullptr));
    win::SelectScope select(dc.get(), picture.get());
    ImageList_Reagent->Draw(dc.get(), index, 0, 0);
  }
  image.SetBitmap(std::move(picture), true);
}

// ------------------------------------------------------------------ the casting pipeline's host

bool TForm_Main::RuneCastingDown() const {
  return SpeedButton_Casting && SpeedButton_Casting->Down();
}

HWND TForm_Main::AssistantHandle() {
  return LiveAssistantWindow(AssistantWindow);
}

ClientSearch TForm_Main::GameWindowSearch() const {
  return ClientSearch{ClientCaption, &clientHistory_};
}

HWND TForm_Main::QuestionOwner() const {
  return hwnd();
}

void TForm_Main::CastNotDelivered(CastFailure why) {
  if (!Panel1) return;
  switch (why) {
    case CastFailure::NoClientWindow:
      Panel1->SetCaption(" No game window: " + DescribeClientSearch(GameWindowSearch()));
      break;
    case CastFailure::NotInFront:
      Panel1->SetCaption(" Game window not in front - nothing cast");
      break;
    case CastFailure::NoMacroKey:
      Panel1->SetCaption(" No macro key for this spell - nothing cast");
      break;
  }
  POINT at{};
  GetCursorPos(&at);
  panelNoticeAt_ = at;
}

// ------------------------------------------------------------------ dialogs of the strip

void TForm_Main::SpeedButton_bankClick() {
  {
    std::array<HBITMAP, kReagentCount> icons{};
    for (int r = 0; r < kReagentCount; ++r) {
      icons[static_cast<size_t>(r)] = ReagentImage(r).BitmapHandle();
    }
    ReadCounters();
    TBankReagentDialog dialog(hwnd(), icons,
                              {{BackpackReagent, BankReagent}, AdjustRegsInBackpack});
    if (const std::optional<BankVisit> visit = dialog.Execute()) {
      // Only what the player changed: reports booked meanwhile stay booked.
      ReadCounters();
      BankSides ledger{BackpackReagent, BankReagent};
      ApplyBankVisit(ledger, dialog.Opened().sides, visit->sides);
      BackpackReagent = ledger.backpack;
      BankReagent = ledger.bank;
      AdjustRegsInBackpack = visit->target;
      WriteCounters();
    }
  }
  ApplyTopmost();
}

void TForm_Main::SpeedButton_SaveClick() {
  {
    TForm_ChrList dialog(hwnd(), ConfigDialogFont(), programDir_, {CurrentUser});
    dialog.SaveCurrentProfile = [this] { return SaveCopySource(); };
    if (const std::optional<CharacterChoice> choice = dialog.Execute()) {
      const std::string& name = choice->name;
      win::HourglassScope hourglass;
      // After a failed save the player decides: the character stays current unless they switch
      // anyway.
      if (SaveBeforeSwitch(name) && name != CurrentUser) {
        SetUser(name);
        LoadProfile();
        BuildSpellBar();
        WriteCounters();
        PaintBox1->Repaint();
      }
    }
  }
  ApplyTopmost();
}

void TForm_Main::SpeedButton_GraphClick() {
  {
    std::array<HBITMAP, kReagentCount> icons{};
    for (int r = 0; r < kReagentCount; ++r) {
      icons[static_cast<size_t>(r)] = ReagentImage(r).BitmapHandle();
    }
    TForm_Statistical dialog(hwnd(), icons, {ReagentUsed, ReagentCost, Spells});
    const std::optional<AnalysisOutcome> outcome = dialog.Execute();
    if (outcome && outcome->clearData) {
      ReagentUsed.fill(0);
      for (TSpell& spell : Spells) spell.CastCount = 0;
    }
  }
  ApplyTopmost();
}

// ------------------------------------------------------------------ assistant program

void TForm_Main::LinkAssistant() {
  AssistantWindow = FindWindowByCaptionPrefix(kAssistantCaptionPrefix);
  // The published API is used only when no assistant speaks our own protocol.
  if (!AssistantWindow && AssistantApi.Register(FindAssistantApiWindow(), hwnd())) {
    Panel1->SetCaption(" Assistant linked");
  }
  SpeedButton_Count->SetEnabled(AssistantWindow != nullptr || AssistantApi.Linked());
}

void TForm_Main::UnlinkAssistant() {
  AssistantApi.Unregister();
}

void TForm_Main::SpeedButton_CountClick() {
  if (AssistantApi.Linked()) {
    AssistantApi.RequestRecount();  // the counts arrive one by one as counter changes
    return;
  }
  HWND assistant = LiveAssistantWindow(AssistantWindow);
  if (!assistant) return;
  SpeedButton_Count->SetEnabled(false);
  // Every request gets the whole time-out, however early the previous one was answered.
  CountReagentTicks = 0;
  Timer_CountReagent->SetEnabled(true);
  // Said before asking: an assistant that answers inside the request has finished by its return.
  Panel1->SetCaption(" Reagent Count... Working");
  RequestReagentCount(assistant);
}

void TForm_Main::Timer_CountReagentTimer() {
  if (++CountReagentTicks < kCountTimeoutTicks) return;
  Timer_CountReagent->SetEnabled(false);
  SpeedButton_Count->SetEnabled(true);
  CountReagentTicks = 0;
}

void TForm_Main::OnAssistReagentCount(WPARAM wp, LPARAM lp) {
  if (!AssistantWindow) return;
  ReadCounters();
  const int r = ReagentOfCountCode(wp);
  if (r >= 0) BackpackReagent[static_cast<size_t>(r)] = CountOfParam(lp);
  WriteReportedCounters();  // the counter clamps to 0..999
  if (Timer_CountReagent->Enabled()) Timer_CountReagent->SetEnabled(false);
  SpeedButton_Count->SetEnabled(true);
  Panel1->SetCaption(" Reagent Count... Finished");
}

void TForm_Main::OnAssistSpellCast(WPARAM wp, LPARAM) {
  const int i = SpellOfCastNumber(wp);
  // Booked only while an assistant window is there: without one a cast from the bar is booked
  // by Quillorb itself (AssistantHandle), and booking a report as well would count it twice.
  if (i < 0 || !LiveAssistantWindow(AssistantWindow)) return;
  ReadCounters();
  // Booked only; the undo record stays with the player's own last action.
  Spells[static_cast<size_t>(i)].Cast(CastMode::BookOnly, BackpackReagent, ReagentUsed);
  WriteReportedCounters();
}

void TForm_Main::OnAssistCounterChanged(WPARAM wp, LPARAM lp) {
  const int r = ReagentOfApiCounter(wp);
  if (!AssistantApi.Linked() || r < 0) return;
  ReadCounters();
  BackpackReagent[static_cast<size_t>(r)] = CountOfParam(lp);
  WriteReportedCounters();
}

// ------------------------------------------------------------------ message dispatch

LRESULT TForm_Main::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kAssistReagentCountMessage:
      OnAssistReagentCount(wp, lp);
      return 0;
    case kAssistSpellCastMessage:
      OnAssistSpellCast(wp, lp);
      return 0;
    case kApiCounterMessage:
      OnAssistCounterChanged(wp, lp);
      return 0;
    case kRefreshCountersMessage:
      CountersRefreshPosted = false;
      WriteCounters();
      return 0;
    case WM_CLOSE:
      // A close that arrives while the shutdown runs (its error box is open, say) is ignored:
      // the window must outlive the save that reads its position.
      if (closing_ || saveQuestionOpen_) return 0;
      closing_ = true;
      if (!FormCloseQuery()) {
        closing_ = false;  // the player keeps Quillorb running
        return 0;
      }
      FormDestroy();
      DestroyWindow(hwnd());
      return 0;
    case WM_MOUSEMOVE:
    case WM_MOUSEACTIVATE:
      // The pointer comes over the strip, or a click is about to take the activation: the window
      // in front is the one the player used last, the game client a cast should go to. (Under
      // Wine a click into another program does not always tell the strip that it lost the
      // activation, and a click on the strip then takes it back at once: the move on the way
      // here is the moment the player's window is still seen in front.)
      clientHistory_.Note(GetForegroundWindow());
      return Form::OnMessage(msg, wp, lp);
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) clientHistory_.Note(GetForegroundWindow());
      return Form::OnMessage(msg, wp, lp);
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wp) FormDestroy();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return Form::OnMessage(msg, wp, lp);
  }
}

}  // namespace quillorb
